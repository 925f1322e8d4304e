#pragma once
// The audit trail on paper from the window: of the whole archive or of one storage unit, over
// a period (from a time, to a time, or both), as the PDF and the CSV file `saroko-cli archive
// log` writes; and the file writing the history window shares with it.
#include <QString>
#include <functional>

#include "core/archive/AuditTrail.h"
#include "core/archive/Units.h"
#include "ui/base/DialogBase.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QPushButton;
class QRadioButton;

namespace saroko::ui {

namespace help {
inline constexpr int kAuditTrail = 0x12CA00B;
}

class CAuditTrailDlg final : public CDialogBase {
    Q_OBJECT
public:
    CAuditTrailDlg(archive::CArchiveSession& session, QWidget* parent = nullptr);

    QRadioButton* WholeChoice() const { return m_pWhole; }
    QRadioButton* UnitChoice() const { return m_pUseUnit; }
    QComboBox* UnitList() const { return m_pUnit; }
    QCheckBox* FromCheck() const { return m_pUseFrom; }
    QCheckBox* ToCheck() const { return m_pUseTo; }
    QDateTimeEdit* FromTime() const { return m_pFrom; }
    QDateTimeEdit* ToTime() const { return m_pTo; }
    QPushButton* PdfButton() const { return m_pPdf; }
    QPushButton* CsvButton() const { return m_pCsv; }

    // Which events the controls choose.
    archive::AuditScope Scope() const;
    // Writes that trail to a file the user names; false when nothing was written.
    bool WriteTrail(bool pdf);

private:
    archive::CArchiveSession& m_session;
    archive::UnitsState m_units;
    QRadioButton* m_pWhole = nullptr;
    QRadioButton* m_pUseUnit = nullptr;
    QComboBox* m_pUnit = nullptr;
    QCheckBox* m_pUseFrom = nullptr;
    QDateTimeEdit* m_pFrom = nullptr;
    QCheckBox* m_pUseTo = nullptr;
    QDateTimeEdit* m_pTo = nullptr;
    QPushButton* m_pPdf = nullptr;
    QPushButton* m_pCsv = nullptr;
};

// Writes the trail of `scope` as PDF or CSV to a file the user names, proposed as
// `baseName`-audit.pdf/.csv in the home folder; says so over `parent` when it cannot. False
// when nothing was written.
bool WriteAuditTrailFile(archive::CArchiveSession& session, const archive::AuditScope& scope,
                         const QString& baseName, bool pdf, QWidget* parent);

// The audit trail's PDF as the report's pages have it; the main frame installs the printing's
// writer (the document windows draw no pages themselves). Without one the PDF buttons are
// greyed.
using AuditPdfWriter = std::function<bool(const QString& path, const archive::AuditTrail& trail)>;
void SetAuditPdfWriter(AuditPdfWriter writer);
bool HasAuditPdfWriter();
// Answers the trail's file question in tests ("" is Cancel); an empty hook restores it.
void SetAuditPathHook(std::function<QString(const QString& proposed)> hook);

} // namespace saroko::ui
