// The port selection (the chosen number, the device beside each button, binding a number to a
// listed or typed device) and the command test (the bytes sent and the result bytes shown).
#include <QComboBox>
#include <QRadioButton>

#include "RecorderDlgTest.h"
#include "recorder/CommandTestDlg.h"
#include "recorder/PortSelectDlg.h"
#include "recorder/SerialLine.h"

namespace saroko::test {
namespace {

using ui::CCommandTestDlg;
using ui::CPortSelectDlg;

std::vector<SerialPortEntry> FakePorts() {
    SerialPortEntry usb;
    usb.device = "/dev/ttyUSB0";
    usb.description = "FT232R USB UART";
    usb.findings = {{PortCause::kNotInGroup, "dialout", "someone", {}}};
    SerialPortEntry acm;
    acm.device = "/dev/ttyACM0";
    return {acm, usb};
}

class PortSelectDlgTest : public ::testing::Test {
protected:
    void Open(uint32_t portNo) {
        doc.m_nPortNo = portNo;
        dlg = std::make_unique<CPortSelectDlg>(doc, FakePorts());
    }
    QRadioButton* Radio(int n) {
        return Item<QRadioButton>(*dlg, CPortSelectDlg::kIdcCom1 + n - 1);
    }
    QString Device(int n) { return Label(*dlg, CPortSelectDlg::kIdcDevice1 + n - 1); }
    QComboBox* Bind() { return Item<QComboBox>(*dlg, CPortSelectDlg::kIdcBindDevice); }

    MessageLog log;
    CMemorySettingsStore store;
    FixedClock clock{kSimEpoch};
    CZorvicDoc doc{store, clock};
    std::unique_ptr<CPortSelectDlg> dlg;
};

TEST_F(PortSelectDlgTest, OpensOnTheStoredNumberWithTheDevicesAndCancelChangesNothing) {
    store.WriteString(kRecorderCommSection, "COM4", "/dev/ttyACM0");
    Open(3);
    EXPECT_TRUE(Radio(3)->isChecked());
    EXPECT_EQ(Device(3), "/dev/ttyS2");
    EXPECT_EQ(Device(4), "/dev/ttyACM0");
    EXPECT_EQ(Bind()->currentText(), "/dev/ttyS2");
    ASSERT_EQ(Bind()->count(), 2);
    EXPECT_EQ(Bind()->itemText(1), "/dev/ttyUSB0  FT232R USB UART");

    const std::size_t writes = store.WriteCount();
    Radio(7)->click();
    Bind()->setEditText("/dev/ttyUSB3");
    emit Bind()->lineEdit()->editingFinished();
    Press(*dlg, CPortSelectDlg::kIdcCancel);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(doc.m_nPortNo, 3u);
    EXPECT_EQ(store.WriteCount(), writes);
}

TEST_F(PortSelectDlgTest, BindListedOrTypedDevicesAndConfirm) {
    store.WriteString(kRecorderCommSection, "COM6", "/dev/ttyACM0");
    Open(1);
    Radio(2)->click();
    EXPECT_EQ(Bind()->currentText(), "/dev/ttyS1");
    Bind()->setCurrentIndex(1);
    emit Bind()->activated(1);
    EXPECT_EQ(Device(2), "/dev/ttyUSB0");
    // The user learns why the device may not open.
    const QString note = Label(*dlg, CPortSelectDlg::kIdcBindNote);
    EXPECT_TRUE(note.contains("dialout")) << note.toStdString();
    // A typed path, then the usual device again for COM6.
    Radio(5)->click();
    Bind()->setEditText("/dev/pts/7 ");
    emit Bind()->lineEdit()->editingFinished();
    EXPECT_EQ(Device(5), "/dev/pts/7");
    Radio(6)->click();
    Press(*dlg, CPortSelectDlg::kIdcBindDefault);
    EXPECT_EQ(Device(6), "/dev/ttyS5");

    Radio(2)->click();
    Press(*dlg, CPortSelectDlg::kIdcOk);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(doc.m_nPortNo, 2u);
    EXPECT_EQ(PortDeviceName(2, &store), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceName(5, &store), "/dev/pts/7");
    EXPECT_EQ(PortDeviceName(6, &store), "/dev/ttyS5");
    EXPECT_TRUE(log.ids.empty());
}

// --- Command test ---

QString Result(const CCommandTestDlg& dlg, int i) {
    return Label(dlg, CCommandTestDlg::kIdcResult1 + i);
}
void Fill(CCommandTestDlg& dlg, const char* prcNo, std::array<const char*, 4> prm) {
    static const int ids[4] = {CCommandTestDlg::kIdcPrm1, CCommandTestDlg::kIdcPrm2,
                               CCommandTestDlg::kIdcPrm3, CCommandTestDlg::kIdcPrm4};
    Edit(dlg, CCommandTestDlg::kIdcPrcNo)->setText(prcNo);
    for (int i = 0; i < 4; ++i)
        Edit(dlg, ids[i])->setText(prm[static_cast<std::size_t>(i)]);
}

TEST(CommandTestDlg, ParameterBytesOnTheWireAndResultBytesShown) {
    MessageLog log;
    sim::SimOptions o;
    o.fault = sim::FaultKind::Silence; // to the query only
    o.faultCommand = CMD_QUERY_33;
    SimRig rig(o);
    CCommandTestDlg dlg(rig.doc, rig.Services());
    Fill(dlg, "15", {"00", "00", "00", "00"}); // identify
    Press(dlg, CCommandTestDlg::kIdcSend);
    EXPECT_EQ((QStringList{Result(dlg, 0), Result(dlg, 1), Result(dlg, 2), Result(dlg, 3)}),
              (QStringList{"04", "14", "01", "00"}));
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});

    // Query 0x33 with "1FF", "a", "7g", "" : the low byte of each leading hex number.
    const std::size_t before = rig.line.Written().size();
    Fill(dlg, "13", {"1FF", "a", "7g", ""});
    Press(dlg, CCommandTestDlg::kIdcSend);
    const uint8_t p[4] = {0xFF, 0x0A, 0x07, 0x00};
    const ShortFrame f = MakeShortRequest(CMD_QUERY_33, std::span<const uint8_t, 4>(p));
    const std::vector<uint8_t> written = rig.line.Written();
    ASSERT_GE(written.size(), before + 7);
    EXPECT_EQ(written[before], kWakeByte);
    EXPECT_EQ(std::vector<uint8_t>(written.begin() + before + 1, written.begin() + before + 7),
              std::vector<uint8_t>(f.begin(), f.end()));
    // No answer: the message of a missing reply, results 00.
    EXPECT_EQ(log.ids, (std::vector<int>{msg::kCommOk, msg::kNoResponse}));
    EXPECT_EQ(Result(dlg, 0), "00");
}

} // namespace
} // namespace saroko::test
