#pragma once
// "記録データ吸い上げ" (dialog 1600): the two target channels, "吸い上げ" running the
// download into the document, the recording conditions and the progress while data arrive.
#include <functional>
#include <memory>

#include "core/recorder/Download.h"
#include "ui/recorder/RecorderDialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QVBoxLayout;

namespace saroko {
class CChannelPalette;
class CZorvicDoc;
} // namespace saroko

namespace saroko::ui {

class CDownloadProgress;

class CDownloadDlg final : public CRecorderDialog, public IDownloadOwner {
    Q_OBJECT
public:
    enum : int {
        kIdd = 1600,
        kHelpTopic = 1341450,
        kIdcTarget1 = 112,
        kIdcTarget2 = 111,
        kIdcDownload = 253,
        kIdcEnd = 251,
        kIdcHelp = 189,
        kIdcModel = 225,
        kIdcName1 = 107,
        kIdcName2 = 108,
        kIdcUnit1 = 228,
        kIdcUnit2 = 229,
        kIdcStart = 192,
        kIdcStartMode = 252,
        kIdcRecordMode = 227,
        kIdcSensor = 271,
        kIdcInterval = 193,
        kIdcReceived = 194,
        kIdcTotal = 195,
        kIdcTimeLeft = 1901,    // the program's own: the time left beside the counters
        kIdcKept = 1902,        // the program's own: where the last download's copy was kept
        kIdcStorageUnit = 1903, // the program's own: the storage unit the download goes to
    };

    CDownloadDlg(CZorvicDoc& doc, const CChannelPalette& palette, const CommServices& services,
                 QWidget* parent = nullptr);
    ~CDownloadDlg() override;

    int Target1() const { return m_nTarget1; }
    int Target2() const { return m_nTarget2; }
    // The result of the last "吸い上げ" (see CRecorderDownload::Run); 1 before any.
    int LastResult() const { return m_nLastResult; }
    // True once a download has changed the document.
    bool ChangedDocument() const { return m_bChanged; }
    // The file the last successful download was kept in; empty when none was kept.
    const QString& KeptPath() const { return m_szKept; }
    // Told of each download kept while the dialog is open, with the storage unit chosen for it.
    void SetKeptHook(std::function<void(const QString&, int unit)> hook) {
        m_keptHook = std::move(hook);
    }
    // The units to choose from, the offered one chosen; none hides the choice.
    void OfferUnits(const UnitOffer& offer);
    // The unit chosen for the next download; 0 for none.
    int ChosenUnit() const;
    CDownloadProgress* ProgressBar() const { return m_pProgress; }

    // IDownloadOwner
    void ResetStatus() override;
    void ShowHeader() override;
    void SetTotalText(const std::string& text) override;
    void SetReceivedText(const std::string& text) override;
    void PaintProgress() override;

private:
    void OnDownload();
    QGroupBox* BuildTargets();
    QVBoxLayout* BuildButtons();
    QGroupBox* BuildStatus();
    void LayOut(QGroupBox* targets, QVBoxLayout* buttons, QGroupBox* status);
    void ConnectButtons();
    void ProposeTargets();
    QLabel* StatusLabel(int id);

    CZorvicDoc& m_doc;
    const CChannelPalette& m_palette;
    int m_nTarget1 = 0;
    int m_nTarget2 = 0;
    int m_nLastResult = CRecorderDownload::kDownloadStopped;
    bool m_bChanged = false;
    QString m_szKept;
    std::function<void(const QString&, int)> m_keptHook;
    // Only while "吸い上げ" runs: the header's texts come from it.
    const CRecorderDownload* m_pRunning = nullptr;
    CDownloadPace m_pace;
    QComboBox* m_pList1 = nullptr;
    QComboBox* m_pList2 = nullptr;
    QLabel* m_pUnitLabel = nullptr;
    QComboBox* m_pUnit = nullptr;
    CDownloadProgress* m_pProgress = nullptr;
};

// The painted bar of dialog 1600: frame, quarter marks and the filled part, in the colours of
// the program's palette.
class CDownloadProgress final : public QWidget {
    Q_OBJECT
public:
    CDownloadProgress(const CChannelPalette& palette, const IDownloadOwner& owner, QWidget* parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The bar inside the widget, below the scale labels.
    QRect BarRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CChannelPalette& m_palette;
    const IDownloadOwner& m_owner;
};

} // namespace saroko::ui
