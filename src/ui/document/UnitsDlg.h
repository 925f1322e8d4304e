#pragma once
// The storage units window (保管場所と校正): the archive's units on the left, the chosen
// one's fields and each channel's calibration on the right. Saving writes one event for each
// thing changed (the unit, each channel's calibration), with the reason given.
#include <array>

#include "core/archive/Units.h"
#include "ui/base/DialogBase.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace saroko::ui {

class CUnitsDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 0x150A00A;

    struct CalibrationFields {
        QLineEdit* certificate = nullptr;
        QLineEdit* calibrated = nullptr;
        QLineEdit* due = nullptr;
        QComboBox* kind = nullptr; // なし, ｵﾌｾｯﾄ, 2点
        QLineEdit* offset = nullptr;
        QLineEdit* raw1 = nullptr;
        QLineEdit* true1 = nullptr;
        QLineEdit* raw2 = nullptr;
        QLineEdit* true2 = nullptr;
        QStackedWidget* pages = nullptr;
    };

    explicit CUnitsDlg(archive::CArchiveSession& session, QWidget* parent = nullptr);

    QListWidget* List() const { return m_pList; }
    QLineEdit* NameEdit() const { return m_pName; }
    QLineEdit* LocationEdit() const { return m_pLocation; }
    QLineEdit* LowEdit(int channel) const { return m_low[static_cast<std::size_t>(channel - 1)]; }
    QLineEdit* HighEdit(int channel) const { return m_high[static_cast<std::size_t>(channel - 1)]; }
    const CalibrationFields& Calibration(int channel) const {
        return m_cal[static_cast<std::size_t>(channel - 1)];
    }
    QLineEdit* ReasonEdit() const { return m_pReason; }
    QPushButton* NewButton() const { return m_pNew; }
    QPushButton* SaveButton() const { return m_pSave; }
    const archive::UnitsState& State() const { return m_state; }

    // Writes what changed of the unit shown (a new one: creates it). False, with its message
    // shown, when a field is refused.
    bool Save();

private:
    void Reload(int select);
    void Show(int row);
    void StartNew();

    archive::CArchiveSession& m_session;
    archive::UnitsState m_state;
    int m_nShown = 0; // the unit in the fields, 0 for a new one
    QListWidget* m_pList = nullptr;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pLocation = nullptr;
    QLineEdit* m_pRecorder = nullptr;
    QLineEdit* m_pEnergy = nullptr;
    QLineEdit* m_pNote = nullptr;
    std::array<QLineEdit*, archive::kUnitChannels> m_low{}, m_high{};
    std::array<CalibrationFields, archive::kUnitChannels> m_cal{};
    QLineEdit* m_pReason = nullptr;
    QPushButton* m_pNew = nullptr;
    QPushButton* m_pSave = nullptr;
};

} // namespace saroko::ui
