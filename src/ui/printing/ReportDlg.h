#pragma once
// The report command (レポート出力): a small dialog for the window, the limits and the
// activation energy, then the PDF file to write.
#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

#include "core/report/ReportProvenance.h"
#include "core/report/ReportSettings.h"
#include "ui/base/DialogBase.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFormLayout;
class QLineEdit;
class QTableWidget;

namespace saroko {

class CZorvicView;
namespace archive {
class CDocumentArchive;
}

namespace ui {

class CReportDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 0x104A00A;
    // One row of the per-channel limits: the channel's number and name.
    struct ChannelRow {
        int number;
        QString name;
    };
    // The window starts as [from, to]; the limits and the energy as remembered. `unit` is the
    // limits' unit, shown beside their labels.
    CReportDlg(uint32_t from, uint32_t to, const ReportDialogSettings& settings,
               const std::vector<ChannelRow>& channels = {}, const QString& unit = {},
               QWidget* parent = nullptr);
    QTableWidget* ChannelTable() const { return m_pChannels; }
    // The storage units the channels belong to, a line each, and the choice of raw or
    // corrected values (offered only when a calibration has a correction).
    void ShowUnits(const QStringList& lines, bool canCorrect);
    QComboBox* CorrectionChoice() const { return m_pCorrection; }
    // True when the figures are to come from values corrected by the units' calibrations.
    bool Corrected() const;

    ReportOptions Options() const { return m_options; }
    ReportDialogSettings Settings() const { return m_settings; }

    void accept() override;

private:
    QFormLayout* m_pForm;
    QComboBox* m_pCorrection = nullptr;
    QDateTimeEdit* m_pFrom;
    QDateTimeEdit* m_pTo;
    QCheckBox* m_pUseLow;
    QLineEdit* m_pLow;
    QCheckBox* m_pUseHigh;
    QLineEdit* m_pHigh;
    QLineEdit* m_pEnergy;
    QTableWidget* m_pChannels; // Ch., name, low, high; an empty cell takes the common limit
    ReportOptions m_options;
    ReportDialogSettings m_settings;
    std::vector<ChannelRow> m_channels;
};

// The command: dialog, file, report. True when a report was written.
// `written` gets the report's path; the report names `sources`, and `archive`, when there is
// one, adds the archive ids still missing and its chain head; its excursions can be commented
// first, and the storage units of its recordings give their limits, state their calibrations
// and may correct the values, as saroko-cli's report does.
bool RunReport(CZorvicView& view, QWidget* parent, QString* written = nullptr,
               const std::vector<ReportSource>& sources = {},
               archive::CDocumentArchive* archive = nullptr);
// Answers the report's file question in tests ("" is Cancel); an empty hook restores it.
void SetReportPathHook(std::function<QString(const QString& proposed)> hook);

} // namespace ui
} // namespace saroko
