#pragma once
// "記録スタート" (dialog 1500): the recording conditions and the start, scheduled or at
// once; "停止" and "設定値受信" on the same recorder; clocks refreshed every 500 ms.
#include "core/recorder/RecordStart.h"
#include "ui/recorder/RecorderDialog.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
class QVBoxLayout;

namespace saroko {
class CZorvicDoc;
}

namespace saroko::ui {

class CRecordStartDlg final : public CRecorderDialog {
    Q_OBJECT
public:
    enum : int {
        kIdd = 1500,
        kHelpTopic = 1331210,
        kIdcName1 = idc::kName1,
        kIdcName2 = idc::kName2,
        kIdcInterval = 176,
        kIdcScheduled = 239,
        kIdcImmediate = 240,
        kIdcYear = idc::kYear,
        kIdcMonth = idc::kMonth,
        kIdcDay = idc::kDay,
        kIdcHour = idc::kHour,
        kIdcMinute = idc::kMinute,
        kIdcSecond = idc::kSecond,
        kIdcOneTime = 1000,
        kIdcEndless = 1001,
        kIdcCelsius = 1002,
        kIdcFahrenheit = 1003,
        kIdcPt100 = 237,
        kIdcJPt100 = 238,
        kIdcNowDate = 177,
        kIdcNowTime = 178,
        kIdcEndDate = 179,
        kIdcEndTime = 180,
        kIdcSet = 249,
        kIdcStop = 250,
        kIdcEnd = 251,
        kIdcHelp = 174,
        kIdcReceive = 232,
    };
    static constexpr int kTimerMs = 500;

    CRecordStartDlg(CZorvicDoc& doc, const CommServices& services, QWidget* parent = nullptr);

    // The fields as the dialog holds them after the last read of the controls.
    const RecordStartForm& Form() const { return m_form; }
    int IntervalIndex() const { return m_nIntervalIndex; }
    // One tick of the 500 ms timer (tests call it instead of waiting).
    void OnTimer();

private:
    struct Boxes;
    void BuildNamesAndStart(Boxes& boxes);
    void BuildChoicesAndClocks(Boxes& boxes);
    QVBoxLayout* BuildButtons();
    void LayOut(const Boxes& boxes, QVBoxLayout* buttons);
    void ConnectControls();
    void LoadDocumentBlock();
    void ReadControls();
    void WriteControls();
    void EnableDateFields(bool enable);
    void UpdateClocks();
    void OnIntervalChosen();
    void OnSet();
    void OnStop();
    void OnReceive();

    CZorvicDoc& m_doc;
    RecordStartForm m_form;
    int m_nIntervalIndex = kDefaultIntervalIndex;
    int m_nPrevStartMethod = -1;

    QLineEdit* m_pName1 = nullptr;
    QLineEdit* m_pName2 = nullptr;
    QComboBox* m_pInterval = nullptr;
    QLineEdit* m_pDate[6] = {};
    QButtonGroup* m_pStart = nullptr;
    QButtonGroup* m_pMode = nullptr;
    QButtonGroup* m_pUnit = nullptr;
    QButtonGroup* m_pSensor = nullptr;
    QLabel* m_pClock[4] = {};
    QTimer* m_pTimer = nullptr;
};

} // namespace saroko::ui
