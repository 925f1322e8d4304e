#pragma once
// The recordings list (記録ﾃﾞｰﾀ一覧): every recording of the archive with when it was first
// seen, its recorder, channels, samples and state; filtered by date and name, sorted by any
// column, opened (several overlaid), its history shown, every kept file checked again.
#include <QString>
#include <functional>
#include <vector>

#include "core/archive/ArchiveSession.h"
#include "core/archive/AuditTrail.h"
#include "core/archive/Units.h"
#include "ui/base/DialogBase.h"
#include "ui/document/AuditTrailDlg.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace saroko::ui {

class CRecordingsDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 0x12CA00A;
    enum Column {
        kFile,
        kSource,
        kSeen,
        kRecorder,
        kChannels,
        kFirst,
        kLast,
        kSamples,
        kStatus,
        kChecked,
        kColumns
    };

    explicit CRecordingsDlg(archive::CArchiveSession& session, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_pList; }
    QLineEdit* NameFilter() const { return m_pName; }
    // The storage unit shown: the first entry all recordings, then each unit by id.
    QComboBox* UnitFilter() const { return m_pUnit; }
    QCheckBox* FromCheck() const { return m_pUseFrom; }
    QCheckBox* ToCheck() const { return m_pUseTo; }
    QDateEdit* FromDate() const { return m_pFrom; }
    QDateEdit* ToDate() const { return m_pTo; }
    QPushButton* OpenButton() const { return m_pOpen; }
    QPushButton* HistoryButton() const { return m_pHistory; }
    QPushButton* VerifyButton() const { return m_pVerify; }
    // The whole archive's or a unit's trail over a period, in a window of its own.
    QPushButton* TrailButton() const { return m_pTrail; }
    QLabel* Summary() const { return m_pSummary; }
    // What waits on this computer for a site archive's server; hidden when nothing does.
    QLabel* WaitingLine() const { return m_pWaiting; }

    // The filter as the controls set it.
    archive::RecordingFilter Filter() const;
    // Reads the archive again and shows what the filter lets through.
    void Refill();
    // Hashes every kept file again, with a progress box that can be cancelled, and walks the
    // chain of events. False when cancelled.
    bool VerifyAll();

signals:
    // The chosen recordings' files, to be opened: the first as a file is, the others added.
    void openRequested(const QStringList& paths);

private:
    void BuildControls();
    void LayOut();
    void Connect();
    void OpenChosen();
    void ShowHistory();
    void ReadArchive();
    std::vector<const archive::ListedFile*> Chosen() const;

    archive::CArchiveSession& m_session;
    std::vector<archive::Recording> m_recordings;
    archive::UnitsState m_units;
    std::vector<archive::ListedFile> m_files; // the rows: each kept file, or a recording's path
    std::size_t m_nHeld = 0;                  // the rows the archive holds; those after wait
    std::vector<std::string> m_status;        // by file
    std::vector<std::string> m_checkedAt;     // by file: the last check's time, "" without one
    bool m_bRead = false;
    QCheckBox* m_pUseFrom = nullptr;
    QDateEdit* m_pFrom = nullptr;
    QCheckBox* m_pUseTo = nullptr;
    QDateEdit* m_pTo = nullptr;
    QLineEdit* m_pName = nullptr;
    QComboBox* m_pUnit = nullptr;
    QTreeWidget* m_pList = nullptr;
    QPushButton* m_pOpen = nullptr;
    QPushButton* m_pHistory = nullptr;
    QPushButton* m_pVerify = nullptr;
    QPushButton* m_pTrail = nullptr;
    QPushButton* m_pClose = nullptr;
    QPushButton* m_pHelp = nullptr;
    QLabel* m_pSummary = nullptr;
    QLabel* m_pWaiting = nullptr;
};

// A recording's events, oldest first, in a window of their own; written out as the audit
// trail's PDF or CSV file.
class CRecordingHistoryDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 0xF0A00A;
    CRecordingHistoryDlg(archive::CArchiveSession& session, const archive::Recording& recording,
                         QWidget* parent = nullptr);
    QTreeWidget* List() const { return m_pList; }
    QPushButton* PdfButton() const { return m_pPdf; }
    QPushButton* CsvButton() const { return m_pCsv; }

    // Writes the recording's trail to a file the user names; false when nothing was written.
    bool WriteTrail(bool pdf);

private:
    archive::CArchiveSession& m_session;
    archive::Recording m_recording;
    QTreeWidget* m_pList;
    QPushButton* m_pPdf;
    QPushButton* m_pCsv;
};

} // namespace saroko::ui
