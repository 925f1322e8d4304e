#pragma once
// "シリアルポートの選択" (dialog 2400): COM1..COM9, each with the device it opens, and the
// binding of the chosen number to any serial device the system lists.
#include <vector>

#include "core/recorder/PortSelect.h"
#include "platform/SerialPorts.h"
#include "ui/recorder/RecorderDialog.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;

namespace saroko {
class CZorvicDoc;
}

namespace saroko::ui {

class CPortSelectDlg final : public CRecorderDialog {
    Q_OBJECT
public:
    enum : int {
        kIdd = 2400,
        kHelpTopic = 2631690,
        kIdcCom1 = 1000, // ..1008
        kIdcOk = 1,
        kIdcCancel = 2,
        kIdcHelp = 186,
        // The device beside each button and the binding controls.
        kIdcDevice1 = 1020, // ..1028
        kIdcBindDevice = 1010,
        kIdcBindDefault = 1011,
        kIdcBindNote = 1012,
    };

    // `ports` is what the system lists (ListSerialPorts).
    CPortSelectDlg(CZorvicDoc& doc, std::vector<SerialPortEntry> ports, QWidget* parent = nullptr);

    const CPortSelection& Selection() const { return m_sel; }
    // Binds the chosen number to `device` (as choosing it in the list does).
    void BindChosen(const QString& device);

protected:
    void accept() override;

private:
    void OnChosen();
    void ShowDevices();

    CZorvicDoc& m_doc;
    CPortSelection m_sel;
    std::vector<SerialPortEntry> m_ports;
    QButtonGroup* m_pRadios = nullptr;
    QLabel* m_pDevices[kPortChoices] = {};
    QGroupBox* m_pBinding = nullptr;
    QComboBox* m_pBindDevice = nullptr;
    QLabel* m_pNote = nullptr;
};

// The list entry of a device: its path and, when the system names it, what it is.
QString PortEntryText(const SerialPortEntry& e);
// Why this user may not be able to open the device, empty when nothing stands in the way.
QString PortAccessNote(const SerialPortEntry& e);

} // namespace saroko::ui
