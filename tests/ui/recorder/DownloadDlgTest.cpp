// The download dialog against the simulated recorder: a whole download into the proposed
// channels, what the dialog shows while data arrive, the failures that leave the document
// alone, and the checks before the port opens.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "RecorderDlgTest.h"
#include "channels/ChannelPalette.h"
#include "recorder/DownloadDlg.h"

namespace saroko::test {
namespace {

using ui::CDownloadDlg;

class CountingObserver final : public IDocumentObserver {
public:
    void UpdateAllViews() override { ++updates; }
    int updates = 0;
};

void Occupy(CZorvicDoc& doc, int number, const char* name = "OLD") {
    ChannelRecord& ch = *doc.GetChannel(number);
    ch.present = ch.number;
    std::memset(ch.name, 0, sizeof ch.name);
    std::memcpy(ch.name, name, std::strlen(name));
    ch.interval = 10;
    ch.samples[0] = 32968;
    ch.samples[1] = kCodeEnd;
    ch.sampleCount = 1;
}

sim::SimOptions Recording(uint32_t records, uint16_t interval = 30) {
    sim::SimOptions o;
    o.preload = records;
    o.settings.intervalSec = interval;
    std::memset(o.settings.chanName1, 0, 8);
    std::memset(o.settings.chanName2, 0, 8);
    std::memcpy(o.settings.chanName1, "OVEN", 4);
    std::memcpy(o.settings.chanName2, "DUCT", 4);
    return o;
}

QString Text(const CDownloadDlg& dlg, int id) {
    return static_cast<QLabel*>(dlg.GetDlgItem(id))->text();
}
QComboBox* List(const CDownloadDlg& dlg, int id) {
    return static_cast<QComboBox*>(dlg.GetDlgItem(id));
}
void Press(const CDownloadDlg& dlg) {
    static_cast<QPushButton*>(dlg.GetDlgItem(CDownloadDlg::kIdcDownload))->click();
}

TEST(DownloadDlg, WholeDownloadIntoTheProposedChannels) {
    MessageLog log;
    SimRig rig(Recording(300));
    Occupy(rig.doc, 1);
    Occupy(rig.doc, 2);
    rig.doc.m_bShow[2] = 0;
    CountingObserver views;
    rig.doc.SetObserver(&views);
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, rig.Services());

    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentText(), "  Ch.3");
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentText(), "  Ch.4");
    EXPECT_EQ(Text(dlg, CDownloadDlg::kIdcReceived), "     0");
    EXPECT_EQ(Text(dlg, CDownloadDlg::kIdcTotal), "/     0");

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
            shown.push_back(Text(dlg, id));
        progressAtEnd = dlg.progress;
        // The window cannot go while the download is still on the stack.
        static_cast<QDialog&>(dlg).reject();
        closedMidway = !dlg.isVisible();
        bar = dlg.ProgressBar()->grab().toImage();
        if (const char* dir = std::getenv("SAROKO_SCREENSHOTS"))
            dlg.grab().save(QString::fromUtf8(dir) + "/download-done.png");
    };
    Press(dlg);

    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    EXPECT_EQ(dlg.LastResult(), COMM_OK);
    EXPECT_TRUE(dlg.ChangedDocument());
    const std::vector<QString> expect = {"KM-41", "OVEN",  "DUCT",    "ﾟC ",  "即時ｽﾀｰﾄ",
                                         "ﾜﾝﾀｲﾑ", "Pt100", "30 sec.", " 300", "/  300"};
    EXPECT_EQ(shown, expect);
    EXPECT_EQ(progressAtEnd, 20);
    EXPECT_FALSE(closedMidway);
    // At 100 % the whole bar is in the progress colour, but for the marks drawn under it.
    ASSERT_FALSE(bar.isNull());
    const QRect r = dlg.ProgressBar()->BarRect();
    const PaletteEntry& fill = palette.Entry(kPalProgress);
    EXPECT_EQ(bar.pixelColor(r.right() - 1, r.top() + 2), QColor(fill.red, fill.green, fill.blue));
    EXPECT_EQ(bar.pixelColor(r.center().x() - 5, r.top() + 2),
              QColor(fill.red, fill.green, fill.blue));

    // The recorder's two channels in Ch.3 and Ch.4 (how they are filled is the core's).
    EXPECT_STREQ(rig.doc.GetChannel(4)->name, "DUCT");
    EXPECT_EQ(rig.doc.m_bShow[3], 1u);
    EXPECT_GE(views.updates, 1);

    // Back to idle: the next free channels proposed, the status cleared.
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentText(), "  Ch.5");
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentText(), "  Ch.6");
    EXPECT_EQ(Text(dlg, CDownloadDlg::kIdcName1), "");
    EXPECT_EQ(dlg.steps, 20);

    rig.doc.SetObserver(nullptr);
}

// The memory line, watched: `onRead` runs after every byte the dialog reads.
class CWatchedLine final : public ISerialLine {
public:
    explicit CWatchedLine(CMemoryLine& inner) : m_inner(inner) {}
    int Open(const std::string& d, uint32_t baud) override { return m_inner.Open(d, baud); }
    void Close() override { m_inner.Close(); }
    bool IsOpen() const override { return m_inner.IsOpen(); }
    void Purge() override { m_inner.Purge(); }
    int WriteByte(uint8_t b) override { return m_inner.WriteByte(b); }
    bool TryReadByte(uint8_t& b) override {
        if (!m_inner.TryReadByte(b))
            return false;
        if (onRead)
            onRead(++read);
        return true;
    }
    void WaitForInput(uint32_t ms) override { m_inner.WaitForInput(ms); }
    uint32_t TickCount() const override { return m_inner.TickCount(); }
    void Sleep(uint32_t ms) override { m_inner.Sleep(ms); }
    std::function<void(std::size_t)> onRead;
    std::size_t read = 0;

private:
    CMemoryLine& m_inner;
};

TEST(DownloadDlg, TimeLeftAtTheLinesRate) {
    MessageLog log;
    sim::SimOptions o = Recording(4000);
    o.paced = true; // 960 bytes a second: 4000 records take 16.7 s
    SimRig rig(o);
    CWatchedLine line(rig.line);
    CommServices services = rig.Services();
    services.line = &line;
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, services);
    dlg.show();
    // Bytes before the records: identify, settings block, data count, lead and header; the
    // dialog has counted a byte when the next one is read.
    const std::size_t head = 6 + 35 + 6 + 7 + 1;
    std::vector<std::pair<QString, QString>> seen;
    line.onRead = [&](std::size_t n) {
        if (n != head + 4 * 2000 && n != head + 4 * 3000)
            return;
        seen.emplace_back(Text(dlg, CDownloadDlg::kIdcReceived),
                          Text(dlg, CDownloadDlg::kIdcTimeLeft));
        if (const char* dir = std::getenv("SAROKO_SCREENSHOTS"); dir && n == head + 4 * 2000)
            dlg.grab().save(QString::fromUtf8(dir) + "/download-halfway.png");
    };
    Press(dlg);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    // 2000 and 1000 records to go at 240 a second.
    const std::vector<std::pair<QString, QString>> expect = {{"2000", "残り 0:09"},
                                                             {"3000", "残り 0:05"}};
    EXPECT_EQ(seen, expect);
    EXPECT_EQ(Text(dlg, CDownloadDlg::kIdcTimeLeft), "");
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
    Press(dlg);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommBroken});
    EXPECT_LT(dlg.LastResult(), 0);
    EXPECT_FALSE(dlg.ChangedDocument());
    EXPECT_EQ(rig.doc.GetChannel(1)->present, 0u);
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentText(), "  Ch.1");
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentText(), "  Ch.2");
    EXPECT_EQ(Text(dlg, CDownloadDlg::kIdcModel), "");
    EXPECT_EQ(Text(dlg, CDownloadDlg::kIdcReceived), "    0");
    EXPECT_EQ(dlg.progress, 0);
    EXPECT_FALSE(rig.line.IsOpen());
}

TEST(DownloadDlg, ChecksAndTheOverwriteQuestion) {
    struct Case {
        const char* what;
        int list1, list2; // indexes, -1 none
        int answer;
        std::vector<int> ids;
        int opens;
    } cases[] = {
        {"no channel for recorder Ch.2", 2, -1, kIdYes, {msg::kNoChannelChosen}, 0},
        {"same empty channel, No", 2, 2, kIdNo, {msg::kOverwriteConfirm}, 0},
        {"same empty channel, Yes", 2, 2, kIdYes, {msg::kOverwriteConfirm, msg::kCommOk}, 1},
        {"two different empty channels", 4, 5, kIdNo, {msg::kCommOk}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageLog log;
        log.answer = c.answer;
        SimRig rig(Recording(20));
        Occupy(rig.doc, 1);
        Occupy(rig.doc, 2);
        CChannelPalette palette;
        CDownloadDlg dlg(rig.doc, palette, rig.Services());
        List(dlg, CDownloadDlg::kIdcTarget1)->setCurrentIndex(c.list1);
        List(dlg, CDownloadDlg::kIdcTarget2)->setCurrentIndex(c.list2);
        Press(dlg);
        EXPECT_EQ(log.ids, c.ids);
        EXPECT_EQ(rig.line.OpenCount(), c.opens);
        if (c.list1 == 2 && c.list2 == 2 && c.answer == kIdYes) {
            // Recorder channel 2 is written last and wins.
            EXPECT_STREQ(rig.doc.GetChannel(3)->name, "DUCT");
            EXPECT_EQ(rig.doc.GetChannel(3)->samples[0], sim::SimSampleCode(1, 0, 30));
        }
        if (c.opens == 0) {
            EXPECT_EQ(rig.doc.GetChannel(3)->present, 0u);
        }
    }
}

TEST(DownloadDlg, PortThatDoesNotOpenAndFullDocument) {
    MessageLog log;
    SimRig rig(Recording(20));
    for (int n = 1; n <= kChannelCount; ++n)
        Occupy(rig.doc, n);
    rig.line.SetOpenResult(COMM_OPEN_FAILED);
    CChannelPalette palette;
    CDownloadDlg dlg(rig.doc, palette, rig.Services());
    // No free channel (the core's rule): nothing chosen in the lists.
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentIndex(), -1);
    Press(dlg);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kNoChannelChosen});

    List(dlg, CDownloadDlg::kIdcTarget1)->setCurrentIndex(6);
    List(dlg, CDownloadDlg::kIdcTarget2)->setCurrentIndex(7);
    log.answer = kIdYes;
    Press(dlg);
    EXPECT_EQ(log.ids, (std::vector<int>{msg::kNoChannelChosen, msg::kOverwriteConfirm,
                                         msg::kPortOpenError}));
    EXPECT_STREQ(rig.doc.GetChannel(7)->name, "OLD");
    // With nothing new to propose the lists keep the user's choice.
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget1)->currentIndex(), 6);
    EXPECT_EQ(List(dlg, CDownloadDlg::kIdcTarget2)->currentIndex(), 7);
}

} // namespace
} // namespace saroko::test
