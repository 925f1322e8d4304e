// The recorder dialogs against the simulated KM-41, and the menu's entry point through a real
// serial device.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <atomic>
#include <cstring>
#include <functional>
#include <thread>
#include <tuple>
#include <vector>

#include "core/TestSupport.h"
#include "core/channels/ChannelPalette.h"
#include "core/document/CommandState.h"
#include "core/recorder/SerialLine.h"
#ifndef _WIN32
#include "platform/PtyHost.h"
#endif
#include "platform/Translations.h"
#include "platform/UserFolders.h"
#include "support/QtApp.h"
#include "support/SimRig.h"
#include "ui/app/MainFrame.h"
#include "ui/base/MessageSink.h"
#include "ui/recorder/CommandTestDlg.h"
#include "ui/recorder/DownloadDlg.h"
#include "ui/recorder/PortSelectDlg.h"
#include "ui/recorder/RecordStartDlg.h"
#include "ui/recorder/RecorderCommands.h"
#include "ui/recorder/RecorderDialog.h"

namespace saroko::test {
namespace {

using ui::CCommandTestDlg;
using ui::CDownloadDlg;
using ui::CPortSelectDlg;
using ui::CRecordStartDlg;

// Records every message box and answers it; `onShow` runs while the box would be open.
class MessageLog {
public:
    MessageLog() {
        App();
        ui::SetMessageHandler([this](int id, const QString&) {
            ids.push_back(id);
            if (onShow)
                onShow(id);
            return answer;
        });
    }
    ~MessageLog() { ui::SetMessageHandler({}); }
    std::vector<int> ids;
    int answer = kIdOk;
    std::function<void(int)> onShow;
};

template <class W> W* Item(const ui::CRecorderDialog& dlg, int id) {
    return static_cast<W*>(dlg.GetDlgItem(id));
}
void Press(const ui::CRecorderDialog& dlg, int id) {
    Item<QAbstractButton>(dlg, id)->click();
}
QString Label(const ui::CRecorderDialog& dlg, int id) {
    return Item<QLabel>(dlg, id)->text();
}
QLineEdit* Edit(const ui::CRecorderDialog& dlg, int id) {
    return Item<QLineEdit>(dlg, id);
}

// --- Download ---

void Occupy(CZorvicDoc& doc, int number) {
    Fill(*doc.GetChannel(number), 1000, 10, {C(20)}, "OLD");
}

sim::SimOptions Recording(uint32_t records) {
    sim::SimOptions o;
    o.preload = records;
    o.settings.intervalSec = 30;
    std::memcpy(o.settings.chanName1, "OVEN\0\0\0\0", 8);
    std::memcpy(o.settings.chanName2, "DUCT\0\0\0\0", 8);
    return o;
}

QComboBox* List(const CDownloadDlg& dlg, int id) {
    return Item<QComboBox>(dlg, id);
}

// The simulator, watched: `onPop` runs as the line takes each byte from it.
class CWatchedPeer final : public ILinePeer {
public:
    explicit CWatchedPeer(ILinePeer& inner) : m_inner(inner) {}
    void OnHostByte(uint8_t b, uint64_t us) override { m_inner.OnHostByte(b, us); }
    bool NextOutputTime(uint64_t& us) override { return m_inner.NextOutputTime(us); }
    uint8_t PopOutput() override {
        onPop(++popped);
        return m_inner.PopOutput();
    }
    std::function<void(std::size_t)> onPop;
    std::size_t popped = 0;

private:
    ILinePeer& m_inner;
};

// A box shown during an exchange takes the ordinary cursor; the wait cursor comes back after it
// and goes with the exchange.
TEST(WindowSink, ArrowCursorForABoxDuringAnExchange) {
    MessageLog log;
    std::vector<int> shapes;
    log.onShow = [&](int) { shapes.push_back(QApplication::overrideCursor()->shape()); };
    ui::CWindowSink sink(nullptr);
    {
        const ui::CWaitCursor wait;
        sink.ShowMessage(msg::kNoResponse);
        shapes.push_back(QApplication::overrideCursor()->shape());
    }
    EXPECT_EQ(shapes, (std::vector<int>{Qt::ArrowCursor, Qt::WaitCursor}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DownloadDlg, WholeDownloadIntoTheProposedChannels) {
    MessageLog log;
    SimRig rig(Recording(300));
    Occupy(rig.doc, 1);
    Occupy(rig.doc, 2);
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, rig.Services());

    // The success box comes while the dialog still shows what arrived.
    dlg.show();
    std::vector<QString> shown;
    int progressAtEnd = -1;
    bool closedMidway = false;
    bool startClipped = true;
    QImage bar;
    log.onShow = [&](int) {
        for (int id : {CDownloadDlg::kIdcReceived, CDownloadDlg::kIdcTotal})
            shown.push_back(Label(dlg, id));
        progressAtEnd = dlg.progress;
        // The start time has room for its whole text.
        const auto* start = Item<QLabel>(dlg, CDownloadDlg::kIdcStart);
        startClipped = start->width() < start->fontMetrics().horizontalAdvance(start->text());
        // The window cannot go while the download is still on the stack.
        static_cast<QDialog&>(dlg).reject();
        closedMidway = !dlg.isVisible();
        bar = dlg.ProgressBar()->grab().toImage();
    };
    Press(dlg, CDownloadDlg::kIdcDownload);

    EXPECT_EQ(std::tuple(log.ids, dlg.LastResult(), dlg.ChangedDocument(), shown, progressAtEnd,
                         closedMidway, startClipped),
              std::tuple(std::vector<int>{msg::kCommOk}, COMM_OK, true,
                         std::vector<QString>{" 300", "/  300"}, 20, false, false));
    // At 100 % the bar is filled to its right end.
    ASSERT_FALSE(bar.isNull());
    const QRect r = dlg.ProgressBar()->BarRect();
    const PaletteEntry& fill = palette.Entry(kPalProgress);
    EXPECT_EQ(bar.pixelColor(r.right() - 1, r.top() + 2), QColor(fill.red, fill.green, fill.blue));
    // The recorder's two channels in Ch.3 and Ch.4 (how they are filled is the core's).
    EXPECT_STREQ(rig.doc.GetChannel(4)->name, "DUCT");

    // Back to idle: the next free channels proposed.
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentText(), "  Ch.5");
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentText(), "  Ch.6");
}

// The offered unit is chosen and goes with the download kept, unless the user picks another
// or none; an offer of a unit not listed is none; without units there is no choice to see.
TEST(DownloadDlg, TheOfferedUnitGoesWithTheDownloadUnlessAnotherIsChosen) {
    MessageLog log;
    SimRig rig(Recording(20));
    QTemporaryDir keep;
    CommServices services = rig.Services();
    services.keepFolder = keep.path().toStdString();
    CChannelPalette palette;
    for (const bool english : {true, false}) {
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        CDownloadDlg dlg(rig.doc, palette, services);
        dlg.show();
        QComboBox* unit = List(dlg, CDownloadDlg::kIdcStorageUnit);
        EXPECT_FALSE(unit->isVisible());
        dlg.OfferUnits({{{1, "A"}, {2, QStringLiteral("薬局冷蔵庫 2")}}, 2});
        EXPECT_EQ(std::tuple(unit->isVisible(), unit->currentText(), dlg.ChosenUnit()),
                  std::tuple(true, QStringLiteral("薬局冷蔵庫 2"), 2));
        const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
        if (!dir.isEmpty())
            dlg.grab().save(QString::fromLocal8Bit(dir) +
                            (english ? "/download-unit-en.png" : "/download-unit-ja.png"));
        if (english)
            continue;
        std::vector<int> kept;
        dlg.SetKeptHook([&](const QString&, int u) { kept.push_back(u); });
        Press(dlg, CDownloadDlg::kIdcDownload);
        unit->setCurrentIndex(0);
        Press(dlg, CDownloadDlg::kIdcDownload);
        EXPECT_EQ(kept, (std::vector<int>{2, 0}));
        dlg.OfferUnits({{{1, "A"}}, 7});
        EXPECT_EQ(std::tuple(unit->count(), dlg.ChosenUnit()), std::tuple(2, 0));
    }
}

TEST(DownloadDlg, TimeLeftAndProgressAtTheLinesRate) {
    MessageLog log;
    sim::SimOptions o = Recording(4000);
    o.paced = true; // 960 bytes a second: 4000 records take 16.7 s
    SimRig rig(o);
    CWatchedPeer peer(rig.sim);
    CMemoryLine line(peer);
    CMemoryLineClock clock(line, kSimEpoch);
    CommServices services = rig.Services();
    services.line = &line;
    services.clock = &clock;
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, services);
    dlg.show();
    // Bytes before the records: identify, settings block, data count, lead and header; the dialog
    // has counted a byte when the next one is taken.
    const std::size_t head = 6 + 35 + 6 + 7 + 1;
    std::vector<std::tuple<QString, QString, int>> seen;
    peer.onPop = [&](std::size_t n) {
        if (n == head + 4 * 2000 || n == head + 4 * 3000)
            seen.emplace_back(Label(dlg, CDownloadDlg::kIdcReceived),
                              Label(dlg, CDownloadDlg::kIdcTimeLeft), dlg.progress);
    };
    Press(dlg, CDownloadDlg::kIdcDownload);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    // 2000 and 1000 records to go at 240 a second; the bar in twentieths.
    const std::vector<std::tuple<QString, QString, int>> expect = {{"2000", "残り 0:09", 10},
                                                                   {"3000", "残り 0:05", 15}};
    EXPECT_EQ(seen, expect);
    EXPECT_EQ(Label(dlg, CDownloadDlg::kIdcTimeLeft), "");
}

TEST(DownloadDlg, FailureLeavesTheDocumentAndReturnsToIdle) {
    // Which reply fails how is the core's table; here the dialog's way back to idle.
    sim::SimOptions o = Recording(50);
    o.fault = sim::FaultKind::CutOff;
    o.faultCommand = CMD_DOWNLOAD_PACED;
    o.cutAfter = 4;
    MessageLog log;
    SimRig rig(o);
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, rig.Services());
    Press(dlg, CDownloadDlg::kIdcDownload);
    EXPECT_EQ(std::tuple(log.ids, dlg.ChangedDocument(), rig.doc.GetChannel(1)->present,
                         Label(dlg, CDownloadDlg::kIdcModel),
                         Label(dlg, CDownloadDlg::kIdcReceived), dlg.progress, rig.line.IsOpen()),
              std::tuple(std::vector<int>{msg::kCommBroken}, false, 0u, QString(), QString("    0"),
                         0, false));
}

TEST(DownloadDlg, ChecksAndTheOverwriteQuestion) {
    // Which choice is refused or asked about is the core's table; here the lists' choice and the
    // user's answer reach it.
    MessageLog log;
    SimRig rig(Recording(20));
    for (int n = 1; n <= kChannelCount; ++n)
        Occupy(rig.doc, n);
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, rig.Services());
    const auto press = [&](int answer) {
        log.ids.clear();
        log.answer = answer;
        Press(dlg, CDownloadDlg::kIdcDownload);
        return std::pair(log.ids, rig.line.OpenCount());
    };
    EXPECT_EQ(press(kIdOk), std::pair(std::vector<int>{msg::kNoChannelChosen}, 0));
    List(dlg, CDownloadDlg::kIdcTarget1)->setCurrentIndex(6);
    List(dlg, CDownloadDlg::kIdcTarget2)->setCurrentIndex(7);
    EXPECT_EQ(press(kIdNo), std::pair(std::vector<int>{msg::kOverwriteConfirm}, 0));
    rig.line.SetOpenResult(COMM_OPEN_FAILED);
    EXPECT_EQ(press(kIdYes),
              std::pair(std::vector<int>{msg::kOverwriteConfirm, msg::kPortOpenError}, 1));
    EXPECT_STREQ(rig.doc.GetChannel(7)->name, "OLD");
}

// --- Record start ---

class RecordStartDlgTest : public ::testing::Test {
protected:
    RecordStartDlgTest() {
        // The dialog opens on a scheduled start one day ahead, one-time, 10 s.
        RecorderSettings& s = rig.doc.m_recSettings;
        s.startMode = 0x31;
        s.startTime = rig.clock.Now() + 86400;
        s.intervalSec = 10;
        s.flags = 0;
        std::memcpy(s.chanName1, "OVEN\0\0\0\0", 8);
        std::memcpy(s.chanName2, "DUCT\0\0\0\0", 8);
        dlg = std::make_unique<CRecordStartDlg>(rig.doc, rig.Services());
        dlg->show();
        dlg->activateWindow();
    }
    QLineEdit* Edit(int id) { return test::Edit(*dlg, id); }
    QString Label(int id) { return test::Label(*dlg, id); }
    void Click(int id) { Press(*dlg, id); }
    QComboBox* Interval() { return Item<QComboBox>(*dlg, CRecordStartDlg::kIdcInterval); }
    void Date(int y, int mo, int d, int h, int mi, int s) {
        const int ids[6] = {CRecordStartDlg::kIdcYear,   CRecordStartDlg::kIdcMonth,
                            CRecordStartDlg::kIdcDay,    CRecordStartDlg::kIdcHour,
                            CRecordStartDlg::kIdcMinute, CRecordStartDlg::kIdcSecond};
        const int v[6] = {y, mo, d, h, mi, s};
        for (int i = 0; i < 6; ++i)
            Edit(ids[i])->setText(QString::number(v[i]));
    }

    static sim::SimOptions HandStarted() {
        sim::SimOptions o; // the recorder holds a recording started by hand, every minute
        o.preload = 10;
        o.preloadStartMode = 0;
        o.settings.intervalSec = 60;
        return o;
    }

    MessageLog log;
    SimRig rig{HandStarted()};
    std::unique_ptr<CRecordStartDlg> dlg;
};

TEST_F(RecordStartDlgTest, ChecksShowTheirMessageAndFocusTheField) {
    // clang-format off
    struct Case { const char* what; int field; const char* text; int message, focus; } cases[] = {
        // Which text fails which rule is the core's table; here that the message shows and the
        // focus lands on the control the core names: a date field, a name field.
        {"full-width year", CRecordStartDlg::kIdcYear, "２００８", 57713, 101},
        {"second letters", CRecordStartDlg::kIdcSecond, "5s", 57718, 104},
        {"Ch.2 name of five double-byte characters", CRecordStartDlg::kIdcName2, "温度温度温", 57712, 108},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Date(2009, 3, 1, 12, 0, 0);
        Edit(CRecordStartDlg::kIdcName1)->setText("OVEN");
        Edit(CRecordStartDlg::kIdcName2)->setText("DUCT");
        Edit(c.field)->setText(QString::fromUtf8(c.text));
        dlg->GetDlgItem(CRecordStartDlg::kIdcSet)->setFocus();
        log.ids.clear();
        Click(CRecordStartDlg::kIdcSet);
        EXPECT_EQ(log.ids, std::vector<int>{c.message});
        EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(c.focus));
        EXPECT_TRUE(dlg->isVisible());
    }
    // A recording started by hand reads back without a date or start method; then nothing else
    // is looked at: not a name too long.
    log.ids.clear();
    Click(CRecordStartDlg::kIdcReceive);
    EXPECT_EQ(log.ids, (std::vector<int>{msg::kCommOk, msg::kManualStartUnknown}));
    auto checked = [&](int id) { return Item<QRadioButton>(*dlg, id)->isChecked(); };
    EXPECT_EQ(std::tuple(Edit(CRecordStartDlg::kIdcYear)->text(), Interval()->currentText(),
                         checked(CRecordStartDlg::kIdcScheduled) ||
                             checked(CRecordStartDlg::kIdcImmediate)),
              std::tuple(QString(), QString("   1 min."), false));
    Edit(CRecordStartDlg::kIdcName2)->setText(QString::fromUtf8("温度温度温"));
    const int opens = rig.line.OpenCount();
    log.ids.clear();
    Click(CRecordStartDlg::kIdcSet);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kNoStartMethod});
    EXPECT_EQ(rig.line.OpenCount(), opens);
}

TEST_F(RecordStartDlgTest, EndDateFromTheFieldsOrNow) {
    // The end as the core reckons it from the fields; a new interval counts as soon as chosen.
    Date(2008, 5, 1, 12, 0, 0);
    Interval()->setCurrentIndex(7); // 1 min.
    emit Interval()->activated(7);
    EXPECT_EQ(Label(CRecordStartDlg::kIdcEndDate).toStdString(),
              FormatClockDate(Local(2008, 5, 1, 12, 0, 0) + 60u * 7999u));

    Click(CRecordStartDlg::kIdcImmediate);
    rig.line.Advance(3'000'000);
    dlg->OnTimer();
    EXPECT_EQ(Label(CRecordStartDlg::kIdcEndDate).toStdString(),
              FormatClockDate(rig.clock.Now() + 60u * 7999u));
}

TEST_F(RecordStartDlgTest, StartsStopAndReadBack) {
    // Scheduled an hour ahead: the block the dialog opened on, with that date.
    const uint32_t start = rig.clock.Now() + 3600;
    std::tm tm{};
    ASSERT_TRUE(ToLocalTime(start, tm));
    Date(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    Click(CRecordStartDlg::kIdcSet);
    EXPECT_EQ(std::tuple(rig.sim.Settings().startMode, rig.sim.Settings().startTime,
                         rig.sim.Settings().intervalSec,
                         std::string(rig.sim.Settings().chanName1, 8)),
              std::tuple(0x31, start, 10, std::string("OVEN\0\0\0\0", 8)));

    // At once, with the fields changed; the wire and the save that follow are the core's.
    Edit(CRecordStartDlg::kIdcName1)->setText("温度温度"); // four double-byte characters: 8 bytes
    Edit(CRecordStartDlg::kIdcName2)->setText("B");
    Interval()->setCurrentIndex(6); // 30 sec.
    Click(CRecordStartDlg::kIdcImmediate);
    Click(CRecordStartDlg::kIdcEndless);
    Click(CRecordStartDlg::kIdcJPt100);
    Click(CRecordStartDlg::kIdcSet);
    EXPECT_EQ(log.ids, (std::vector<int>{msg::kCommOk, msg::kCommOk}));
    const RecorderSettings& s = rig.sim.Settings();
    EXPECT_EQ(std::tuple(s.flags, s.intervalSec, s.startMode, std::string(s.chanName1, 8),
                         std::string(s.chanName2, 2)),
              std::tuple(RecorderSettings::kFlagEndless | RecorderSettings::kFlagJPt100, 30, 0x30,
                         "\x89\xb7\x93\x78\x89\xb7\x93\x78", std::string("B\0", 2)));
    rig.line.Advance(31'000'000);
    ASSERT_TRUE(rig.sim.IsRecording(rig.line.NowUs()));

    log.ids.clear();
    Click(CRecordStartDlg::kIdcStop);
    EXPECT_EQ(std::pair(log.ids, rig.sim.IsRecording(rig.line.NowUs())),
              std::pair(std::vector<int>{msg::kCommOk}, false));

    // What the recorder holds comes back into the fields before the box shows.
    Edit(CRecordStartDlg::kIdcName1)->setText("X");
    Click(CRecordStartDlg::kIdcScheduled);
    QString nameWhenShown;
    log.onShow = [&](int) { nameWhenShown = Edit(CRecordStartDlg::kIdcName1)->text(); };
    log.ids.clear();
    Click(CRecordStartDlg::kIdcReceive);
    EXPECT_EQ(std::tuple(log.ids, nameWhenShown,
                         Item<QRadioButton>(*dlg, CRecordStartDlg::kIdcImmediate)->isChecked()),
              std::tuple(std::vector<int>{msg::kCommOk}, QString("温度温度"), true));
    // The document's block changes only through "設定".
    rig.doc.m_recSettings.chanName1[0] = 'Z';
    Click(CRecordStartDlg::kIdcReceive);
    EXPECT_EQ(rig.doc.m_recSettings.chanName1[0], 'Z');
}

// --- Port selection and command test ---

// Binding a COM number to a device path is Linux's: on Windows COM N is the device itself.
#ifndef _WIN32
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
    QComboBox* Bind() { return Item<QComboBox>(*dlg, CPortSelectDlg::kIdcBindDevice); }

    MessageLog log;
    CMemorySettingsStore store;
    FixedClock clock{kSimEpoch};
    CZorvicDoc doc{store, clock};
    std::unique_ptr<CPortSelectDlg> dlg;
};

TEST_F(PortSelectDlgTest, CancelChangesNothingAndOkBindsListedOrTypedDevices) {
    store.WriteString(kRecorderCommSection, "COM6", "/dev/ttyACM0");
    Open(3);
    EXPECT_TRUE(Radio(3)->isChecked());
    const std::size_t writes = store.WriteCount();
    Radio(7)->click();
    Bind()->setEditText("/dev/ttyUSB3");
    emit Bind()->lineEdit()->editingFinished();
    Press(*dlg, CPortSelectDlg::kIdcCancel);
    EXPECT_EQ(std::tuple(dlg->result(), doc.m_nPortNo, store.WriteCount()),
              std::tuple(QDialog::Rejected, 3u, writes));

    Open(1);
    Radio(2)->click();
    EXPECT_EQ(Bind()->currentText(), "/dev/ttyS1");
    Bind()->setCurrentIndex(1);
    emit Bind()->activated(1);
    // The user learns why the device may not open.
    const QString note = Label(*dlg, CPortSelectDlg::kIdcBindNote);
    EXPECT_TRUE(note.contains("dialout")) << note.toStdString();
    // A typed path, then the usual device again for COM6.
    Radio(5)->click();
    Bind()->setEditText("/dev/pts/7 ");
    emit Bind()->lineEdit()->editingFinished();
    Radio(6)->click();
    Press(*dlg, CPortSelectDlg::kIdcBindDefault);
    Radio(2)->click();
    Press(*dlg, CPortSelectDlg::kIdcOk);
    EXPECT_EQ(std::pair(dlg->result(), doc.m_nPortNo), std::pair(int{QDialog::Accepted}, 2u));
    EXPECT_EQ((std::vector{PortDeviceName(2, &store), PortDeviceName(5, &store),
                           PortDeviceName(6, &store)}),
              (std::vector<std::string>{"/dev/ttyUSB0", "/dev/pts/7", "/dev/ttyS5"}));
    EXPECT_TRUE(log.ids.empty());
}

// A by-id name fits the device field whole; a longer one keeps its both ends, and its
// tooltip gives it whole. A picture of the dialog in each language when SAROKO_PICTURE_DIR
// names a folder.
TEST_F(PortSelectDlgTest, DeviceFieldsHoldAByIdName) {
    const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10KXYZ9-if00-port0";
    const std::string longer = "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_"
                               "Controller_D_ABCDEF0123456789-if00-port0";
    store.WriteString(kRecorderCommSection, "COM1", byId);
    store.WriteString(kRecorderCommSection, "COM2", longer);
    for (const bool english : {false, true}) {
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        Open(1);
        dlg->show();
        const auto* one = Item<QLabel>(*dlg, CPortSelectDlg::kIdcDevice1);
        const auto* two = Item<QLabel>(*dlg, CPortSelectDlg::kIdcDevice1 + 1);
        EXPECT_EQ(std::tuple(one->text().toStdString(), one->toolTip()),
                  std::tuple(byId, QString()));
        EXPECT_TRUE(two->text().startsWith("/dev/serial/by-id/usb-Pro"))
            << two->text().toStdString();
        EXPECT_TRUE(two->text().endsWith("-if00-port0")) << two->text().toStdString();
        EXPECT_TRUE(two->text().contains(QChar(0x2026)));
        EXPECT_EQ(two->toolTip().toStdString(), longer);
        EXPECT_LE(two->fontMetrics().horizontalAdvance(two->text()), two->width());
        // The binding's field shows the chosen by-id name whole.
        EXPECT_GE(Bind()->lineEdit()->width(),
                  Bind()->fontMetrics().horizontalAdvance(QString::fromStdString(byId)));
        const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
        if (!dir.isEmpty())
            dlg->grab().save(QString::fromLocal8Bit(dir) + (english
                                                                ? QStringLiteral("/port-en.png")
                                                                : QStringLiteral("/port-ja.png")));
    }
    InstallTranslations(Language::kJapanese);
}
#endif

QString Result(const CCommandTestDlg& dlg, int i) {
    return Label(dlg, CCommandTestDlg::kIdcResult1 + i);
}
void Enter(CCommandTestDlg& dlg, const char* prcNo, std::array<const char*, 4> prm) {
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
    Enter(dlg, "15", {"00", "00", "00", "00"}); // identify
    Press(dlg, CCommandTestDlg::kIdcSend);
    EXPECT_EQ((QStringList{Result(dlg, 0), Result(dlg, 1), Result(dlg, 2), Result(dlg, 3)}),
              (QStringList{"04", "14", "01", "00"}));
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});

    // Query 0x33 with "1FF", "a", "7g", "" : the low byte of each leading hex number.
    const std::size_t before = rig.line.Written().size();
    Enter(dlg, "13", {"1FF", "a", "7g", ""});
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

// --- The menu's entry point ---

// Runs `step` on the dialog once it is up; the entry point runs it modally.
template <class Dlg> void WhenOpen(std::function<void(Dlg&)> step) {
    QTimer::singleShot(0, [step] {
        auto* dlg = dynamic_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        step(*dlg);
    });
}

#ifndef _WIN32 // a pseudo-terminal: on Windows the line's own tests download from a port
TEST(RecorderCommands, DownloadThroughARealSerialDevice) {
    sim::SimOptions o;
    o.preload = 12;
    o.epoch = static_cast<uint32_t>(std::time(nullptr));
    sim::CKm41Simulator recorder(o);
    CPtyHost host;
    std::string error;
    ASSERT_TRUE(host.Open(error)) << error;
    std::atomic<bool> stop{false};
    std::thread serve([&] { host.Serve(recorder, stop); });

    // The program keeps the download and the exchange's transcript in the user's folders.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    qputenv("LOCALAPPDATA", home.filePath("data").toUtf8()); // where Windows keeps them
    qputenv("XDG_CACHE_HOME", home.filePath("cache").toUtf8());

    MessageLog log;
    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    doc.m_nPortNo = 1;
    store.WriteString(kRecorderCommSection, "COM1", host.DevicePath());
    CMainFrame frame(doc, store);
    frame.show();
    frame.resize(420, frame.height());

    QString keptShown;
    log.onShow = [&](int id) {
        if (id != msg::kCommOk)
            return;
        // Close once the download is over and the dialog idle again.
        WhenOpen<CDownloadDlg>([&](CDownloadDlg& dlg) {
            keptShown = Item<QLabel>(dlg, CDownloadDlg::kIdcKept)->toolTip();
            Press(dlg, CDownloadDlg::kIdcEnd);
        });
    };
    WhenOpen<CDownloadDlg>([](CDownloadDlg& dlg) { Press(dlg, CDownloadDlg::kIdcDownload); });
    EXPECT_TRUE(frame.ExecuteCommand(cmd::kDownload));
    stop = true;
    serve.join();

    // What arrives and what the kept file holds are the core's and the end-to-end tests'; here that
    // it came through the port, and that the kept file and transcript are made, and that the
    // dialog and the status bar name the kept file.
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    EXPECT_EQ(doc.GetChannel(2)->sampleCount, 12);
    const QDir keptFolder(QString::fromStdString(KeptDownloadsFolder()));
    const QStringList kept = keptFolder.entryList({"*.klg"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(keptShown, keptFolder.filePath(kept.front()));
    // The note is shortened in its middle to the narrow window, keeping the file's name.
    const QStatusBar* bar = frame.statusBar();
    const QString note =
        QStringLiteral("吸い上げたデータの控え: ") + keptFolder.filePath(kept.front());
    EXPECT_EQ(std::tuple(bar->toolTip(), bar->isVisible()), std::tuple(note, true));
    const QString shown = bar->currentMessage();
    EXPECT_TRUE(shown.startsWith(note.left(14)) && shown.endsWith(kept.front()))
        << qPrintable(shown);
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->currentMessage()), frame.width());
    QFile transcript(QString::fromStdString(TranscriptFolder()) + "/last-exchange.txt");
    ASSERT_TRUE(transcript.open(QIODevice::ReadOnly));
    EXPECT_TRUE(transcript.readAll().contains("> 11 00 00 00 00 29"));
}
#endif

TEST(RecorderCommands, EachCommandOpensItsDialog) {
    MessageLog log;
    SimRig rig;
    CChannelPalette palette;
    const uint32_t now = rig.clock.Now();

    WhenOpen<CRecordStartDlg>([](CRecordStartDlg& dlg) { Press(dlg, CRecordStartDlg::kIdcEnd); });
    EXPECT_TRUE(
        ui::RunRecorderCommand(cmd::kRecordStart, rig.doc, palette, rig.Services(), nullptr));
    // The proposed scheduled start: now + 15 minutes, down to a multiple of 10 minutes.
    EXPECT_EQ(rig.doc.m_recSettings.startTime, (now + 900) / 600 * 600);

    WhenOpen<CCommandTestDlg>([](CCommandTestDlg& dlg) { Press(dlg, CCommandTestDlg::kIdcEnd); });
    EXPECT_TRUE(
        ui::RunRecorderCommand(cmd::kCommandTest, rig.doc, palette, rig.Services(), nullptr));

    WhenOpen<CPortSelectDlg>([](CPortSelectDlg& dlg) {
        Press(dlg, CPortSelectDlg::kIdcCom1 + 1);
        Press(dlg, CPortSelectDlg::kIdcOk);
    });
    EXPECT_TRUE(
        ui::RunRecorderCommand(cmd::kSelectPort, rig.doc, palette, rig.Services(), nullptr));
    EXPECT_EQ(rig.doc.m_nPortNo, 2u);

    EXPECT_FALSE(ui::RunRecorderCommand(cmd::kZoomIn, rig.doc, palette, rig.Services(), nullptr));
    EXPECT_TRUE(log.ids.empty());
}

} // namespace
} // namespace saroko::test
