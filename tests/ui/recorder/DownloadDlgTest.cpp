// The download dialog against the simulated recorder: a whole download into the proposed
// channels, what the dialog shows while data arrive, the failures that leave the document
// alone, and the checks before the port opens.
#include <QComboBox>
#include <QImage>

#include <cstring>
#include <functional>
#include <tuple>

#include "RecorderDlgTest.h"
#include "channels/ChannelPalette.h"
#include "core/TestSupport.h"
#include "recorder/DownloadDlg.h"

namespace saroko::test {
namespace {

using ui::CDownloadDlg;

class CountingObserver final : public IDocumentObserver {
public:
    void UpdateAllViews() override { ++updates; }
    int updates = 0;
};

void Occupy(CZorvicDoc& doc, int number) {
    Fill(*doc.GetChannel(number), 1000, 10, {C(20)}, "OLD");
}

sim::SimOptions Recording(uint32_t records, uint16_t interval = 30) {
    sim::SimOptions o;
    o.preload = records;
    o.settings.intervalSec = interval;
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

TEST(DownloadDlg, WholeDownloadIntoTheProposedChannels) {
    MessageLog log;
    SimRig rig(Recording(300));
    Occupy(rig.doc, 1);
    Occupy(rig.doc, 2);
    CountingObserver views;
    rig.doc.SetObserver(&views);
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, rig.Services());

    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentText(), "  Ch.3");
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentText(), "  Ch.4");

    // The success box comes while the dialog still shows what arrived.
    dlg.show();
    std::vector<QString> shown;
    int progressAtEnd = -1;
    bool closedMidway = false;
    QImage bar;
    log.onShow = [&](int) {
        for (int id :
             {CDownloadDlg::kIdcModel, CDownloadDlg::kIdcName1, CDownloadDlg::kIdcName2,
              CDownloadDlg::kIdcUnit1, CDownloadDlg::kIdcStartMode, CDownloadDlg::kIdcRecordMode,
              CDownloadDlg::kIdcSensor, CDownloadDlg::kIdcInterval, CDownloadDlg::kIdcReceived,
              CDownloadDlg::kIdcTotal})
            shown.push_back(Label(dlg, id));
        progressAtEnd = dlg.progress;
        // The window cannot go while the download is still on the stack.
        static_cast<QDialog&>(dlg).reject();
        closedMidway = !dlg.isVisible();
        bar = dlg.ProgressBar()->grab().toImage();
    };
    Press(dlg, CDownloadDlg::kIdcDownload);

    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    EXPECT_EQ(dlg.LastResult(), COMM_OK);
    EXPECT_TRUE(dlg.ChangedDocument());
    const std::vector<QString> expect = {"KM-41", "OVEN",  "DUCT",    "ﾟC ",  "即時ｽﾀｰﾄ",
                                         "ﾜﾝﾀｲﾑ", "Pt100", "30 sec.", " 300", "/  300"};
    EXPECT_EQ(shown, expect);
    EXPECT_EQ(progressAtEnd, 20);
    EXPECT_FALSE(closedMidway);
    // At 100 % the bar is filled to its right end.
    ASSERT_FALSE(bar.isNull());
    const QRect r = dlg.ProgressBar()->BarRect();
    const PaletteEntry& fill = palette.Entry(kPalProgress);
    EXPECT_EQ(bar.pixelColor(r.right() - 1, r.top() + 2), QColor(fill.red, fill.green, fill.blue));

    // The recorder's two channels in Ch.3 and Ch.4 (how they are filled is the core's).
    EXPECT_STREQ(rig.doc.GetChannel(4)->name, "DUCT");
    EXPECT_GE(views.updates, 1);

    // Back to idle: the next free channels proposed, the status cleared.
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentText(), "  Ch.5");
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentText(), "  Ch.6");
    EXPECT_EQ(Label(dlg, CDownloadDlg::kIdcName1), "");

    rig.doc.SetObserver(nullptr);
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
    // Bytes before the records: identify, settings block, data count, lead and header; the
    // dialog has counted a byte when the next one is taken.
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
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommBroken});
    EXPECT_LT(dlg.LastResult(), 0);
    EXPECT_FALSE(dlg.ChangedDocument());
    EXPECT_EQ(rig.doc.GetChannel(1)->present, 0u);
    EXPECT_EQ(Label(dlg, CDownloadDlg::kIdcModel), "");
    EXPECT_EQ(Label(dlg, CDownloadDlg::kIdcReceived), "    0");
    EXPECT_EQ(dlg.progress, 0);
    EXPECT_FALSE(rig.line.IsOpen());
}

TEST(DownloadDlg, ChecksAndTheOverwriteQuestion) {
    // Which choice is refused or asked about is the core's table; here the lists' choice and
    // the user's answer reach it, and a full document keeps the lists as the user left them.
    MessageLog log;
    SimRig rig(Recording(20));
    for (int n = 1; n <= kChannelCount; ++n)
        Occupy(rig.doc, n);
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, rig.Services());
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentIndex(), -1);
    Press(dlg, CDownloadDlg::kIdcDownload);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kNoChannelChosen});

    List(dlg, CDownloadDlg::kIdcTarget1)->setCurrentIndex(6);
    List(dlg, CDownloadDlg::kIdcTarget2)->setCurrentIndex(7);
    log.ids.clear();
    log.answer = kIdNo;
    Press(dlg, CDownloadDlg::kIdcDownload);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kOverwriteConfirm});
    EXPECT_EQ(rig.line.OpenCount(), 0);

    rig.line.SetOpenResult(COMM_OPEN_FAILED);
    log.ids.clear();
    log.answer = kIdYes;
    Press(dlg, CDownloadDlg::kIdcDownload);
    EXPECT_EQ(log.ids, (std::vector<int>{msg::kOverwriteConfirm, msg::kPortOpenError}));
    EXPECT_EQ(rig.line.OpenCount(), 1);
    EXPECT_STREQ(rig.doc.GetChannel(7)->name, "OLD");
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentIndex(), 6);
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentIndex(), 7);
}

} // namespace
} // namespace saroko::test
