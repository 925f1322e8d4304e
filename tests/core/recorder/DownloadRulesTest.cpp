// Download rules: targets, overwrite question, start time of the data, filling the two
// channels, and one whole press of the download button on a scripted recorder.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "CommRig.h"
#include "core/TestSupport.h"
#include "recorder/Download.h"

namespace saroko::test {
namespace {

class DownloadTest : public DocTest {
protected:
    void Present(std::initializer_list<int> numbers) {
        for (int n : numbers)
            Fill(*doc.GetChannel(n), 1000, 10, {C(20)}, "OLD");
    }
};

TEST_F(DownloadTest, DefaultTargetsAreTheFirstTwoFreeChannels) {
    // clang-format off
    struct Case { std::vector<int> present; int t1, t2; } cases[] = {
        {{}, 1, 2},
        {{1, 2}, 3, 4},
        {{1, 3, 5}, 2, 4},
        {{1, 2, 3, 4, 5, 6, 7}, 8, 0},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        doc.ClearAllChannels();
        for (int n : c.present)
            Fill(*doc.GetChannel(n), 1000, 10, {C(20)}, "X");
        int t1 = -1, t2 = -1;
        DefaultTargets(doc, t1, t2);
        EXPECT_EQ(std::pair(t1, t2), std::pair(c.t1, c.t2));
    }
}

TEST_F(DownloadTest, OverwriteQuestionUnlessTwoDifferentEmptyTargets) {
    Fill(*doc.GetChannel(1), 1000, 10, {C(20)}, "OLD");
    Fill(*doc.GetChannel(2), 1000, 10, {C(20)}, " lead"); // a leading space counts as empty
    struct Case {
        int t1, t2;
        bool ask;
    } cases[] = {{3, 4, false}, {3, 3, true}, {1, 3, true}, {3, 1, true}, {2, 3, false}};
    for (const Case& c : cases)
        EXPECT_EQ(NeedsOverwriteConfirm(doc, c.t1, c.t2), c.ask) << c.t1 << "," << c.t2;
}

TEST(DownloadStart, StartTimeRule) {
    const uint32_t dl = 1210000000, recStart = 1200000000;
    // clang-format off
    struct Case { uint16_t flags, startMode, n; uint32_t age; uint32_t expect; } cases[] = {
        {0, 0x30, 100, 7, recStart},
        {0, 0x31, 8000, 7, recStart},
        {0, 0, 100, 7, dl - 99 * 60 - 7},       // started by hand
        {2, 0x30, 8000, 7, dl - 7999 * 60 - 7}, // endless and wrapped
        {2, 0x30, 7999, 7, recStart},           // endless, not yet wrapped
        {2, 0, 1, 0, dl},
    };
    // clang-format on
    for (const Case& c : cases) {
        RecorderSettings s;
        s.flags = c.flags;
        s.startMode = c.startMode;
        s.intervalSec = 60;
        s.startTime = recStart;
        EXPECT_EQ(DownloadStartTime(s, DownloadHeader{c.age, c.n}, dl), c.expect)
            << c.flags << " " << c.startMode << " " << c.n;
    }
}

TEST(DownloadStart, StatusTexts) {
    RecorderSettings s;
    s.flags = 7;
    s.intervalSec = 1800;
    std::memcpy(s.chanName1, "ABCDEFGH", 8);
    s.startMode = 0;
    const DownloadStatusTexts t = FormatDownloadStatus(s, 129, Local(2008, 5, 1, 9, 5, 7));
    using V = std::vector<std::string>;
    EXPECT_EQ((V{t.model, t.name1, t.name2, t.unit, t.start, t.startMode, t.recordMode, t.sensor,
                 t.interval}),
              (V{"KM-41", "ABCDEFGH", "ch.2", "ﾟF ", "2008/ 5/ 1  9: 5' 7", "ﾏﾆｭｱﾙｽﾀｰﾄ", "ｴﾝﾄﾞﾚｽ",
                 "JPt100", "30 min."}));
}

// One press of the download button against a saved exchange: identify, settings, count and
// the paced download.
struct ScriptedDownload {
    explicit ScriptedDownload(const char* fixture) : sent(rig.Play(fixture)) {}
    CommRig rig;
    Bytes sent;
    CRecordingOwner owner;
};

TEST_F(DownloadTest, FillsBothTargetsAndRecalculates) {
    Present({1, 2});
    doc.m_bShow[2] = doc.m_bShow[3] = 0;
    doc.RecalcRanges(1);
    ScriptedDownload sd("press-fills.txt");
    CRecorderDownload dl(sd.rig.Services(), doc, sd.owner);
    int t1, t2;
    DefaultTargets(doc, t1, t2);
    ASSERT_EQ(dl.Run(t1, t2), 0);
    EXPECT_EQ(sd.rig.sink.ids, std::vector<int>{57696});
    EXPECT_EQ(sd.rig.line.Written(), sd.sent);

    const ChannelRecord& a = *doc.GetChannel(3);
    const ChannelRecord& b = *doc.GetChannel(4);
    EXPECT_EQ(a.present, 3u);
    EXPECT_STREQ(a.name, "OVEN");
    EXPECT_STREQ(b.name, "ch.2");
    for (const ChannelRecord* ch : {&a, &b}) {
        EXPECT_EQ((std::vector<uint32_t>{ch->startTime, ch->measureType, ch->modelCode,
                                         ch->unitFlag, ch->recModeCode, ch->sensorCode,
                                         ch->startKnown, ch->startModeCode, ch->interval,
                                         ch->sampleCount, ch->samples[3], ch->samples[15999]}),
                  (std::vector<uint32_t>{1209990000u, 13, 129, 0, 128, 1, 1, 1, 30, 3, kCodeEnd,
                                         kCodeEnd}));
    }
    EXPECT_EQ((std::vector<uint32_t>{a.samples[0], a.samples[2], b.samples[1], doc.m_bShow[2],
                                     doc.m_bShow[3], doc.m_bDataModified}),
              (std::vector<uint32_t>{32768 + 200, 32768 + 202, 32768 + 101, 1, 1, 1}));
    EXPECT_GE(doc.GetRange()->dataEnd, 1209990000u + 2 * 30) << "ranges take in the new data";
}

TEST_F(DownloadTest, ManualStartAndSameTargetForBoth) {
    ScriptedDownload sd("press-manual.txt"); // endless, degF, the second channel "PIPE"
    sd.rig.sink.answer = kIdYes;
    CRecorderDownload dl(sd.rig.Services(), doc, sd.owner);
    ASSERT_EQ(dl.Run(5, 5), 0);
    EXPECT_EQ(sd.rig.line.Written(), sd.sent);
    EXPECT_EQ(sd.rig.sink.ids, (std::vector<int>{57760, 57696}));
    const ChannelRecord& ch = *doc.GetChannel(5);
    EXPECT_STREQ(ch.name, "PIPE");
    EXPECT_EQ(ch.samples[0], 32768 + 100);
    EXPECT_EQ((std::array<int, 4>{ch.startKnown, ch.startModeCode, ch.recModeCode, ch.unitFlag}),
              (std::array<int, 4>{0, 0xFF, 0, 1}));
    EXPECT_EQ(ch.startTime, sd.owner.downloadTime - 2 * 30 - 12);
    EXPECT_EQ(doc.GetChannel(6)->present, 0u);
}

TEST_F(DownloadTest, FailuresLeaveTheDocumentAlone) {
    Present({1});
    doc.RecalcRanges(1);
    struct Case {
        const char* fixture;
        int result;
        int shown;
    } cases[] = {
        {"press-other-model.txt", COMM_UNKNOWN_MODEL, 57784},
        {"press-no-data.txt", -103, 57709},
        {"press-bad-check.txt", -104, 57710}, // every attempt gets the same broken answer
    };
    for (const Case& c : cases) {
        std::vector<ChannelRecord> before;
        for (int n = 1; n <= 8; ++n)
            before.push_back(*doc.GetChannel(n));
        const GraphRange range = *doc.GetRange();
        doc.m_bDataModified = 0;

        ScriptedDownload sd(c.fixture);
        CRecorderDownload dl(sd.rig.Services(), doc, sd.owner);
        EXPECT_EQ(dl.Run(2, 3), c.result) << c.fixture;
        EXPECT_EQ(sd.rig.sink.ids, std::vector<int>{c.shown}) << c.fixture;
        EXPECT_EQ(sd.rig.line.Written(), sd.sent) << c.fixture;
        for (int n = 1; n <= 8; ++n)
            EXPECT_EQ(std::memcmp(&before[n - 1], doc.GetChannel(n), sizeof(ChannelRecord)), 0)
                << c.fixture << " channel " << n;
        EXPECT_EQ(*doc.GetRange(), range) << c.fixture;
        EXPECT_EQ(doc.m_bDataModified, 0u) << c.fixture;
    }
}

TEST_F(DownloadTest, ChecksBeforeThePortOpens) {
    Present({1});
    struct Case {
        int t1, t2;
        int answer;
        std::vector<int> shown;
        int openResult = 0;
    } cases[] = {{0, 2, kIdYes, {57747}},
                 {2, 0, kIdYes, {57747}},
                 {1, 2, kIdNo, {57760}},
                 {2, 3, kIdYes, {57697}, -1}}; // the port that does not open
    for (const Case& c : cases) {
        CommRig rig;
        rig.sink.answer = c.answer;
        rig.line.SetOpenResult(c.openResult);
        CRecordingOwner owner;
        CRecorderDownload dl(rig.Services(), doc, owner);
        EXPECT_EQ(dl.Run(c.t1, c.t2), c.openResult ? -1 : CRecorderDownload::kDownloadStopped);
        EXPECT_EQ(rig.sink.ids, c.shown);
        EXPECT_EQ(rig.line.OpenCount(), c.openResult ? 1 : 0);
    }
}

TEST(DownloadKeep, NamedByLocalTimeAndNeverOverwritten) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("saroko-keep-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    uint32_t t = 0;
    ASSERT_TRUE(FromLocalFields(2026, 12, 6, 14, 30, 5, t));
    const std::string folder = (dir / "data" / "downloads").string();
    // clang-format off
    const std::pair<const char*, const char*> keeps[] = {
        {"first",  "20261206-143005.klg"},
        {"second", "20261206-143005-2.klg"},
        {"third",  "20261206-143005-3.klg"},
    };
    // clang-format on
    for (const auto& [image, name] : keeps)
        EXPECT_EQ(KeepDownloadImage(folder, t, image), (fs::path(folder) / name).string());
    std::ifstream first(fs::path(folder) / keeps[0].second);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(first), {}), "first");
    // A folder that cannot be made keeps nothing.
    EXPECT_EQ(KeepDownloadImage((fs::path(folder) / keeps[0].second / "x").string(), t, "y"), "");
    first.close(); // Windows removes no file that is still open
    fs::remove_all(dir);
}

TEST(DownloadPace, TimeLeftAtTheRateSinceTheHeader) {
    CDownloadPace pace;
    const uint32_t t0 = 0xFFFFFF00u; // the tick count wraps on the way
    pace.Start(t0, 1000);
    // clang-format off
    const struct { uint32_t ms, received; const char* text; } steps[] = {
        {t0 + 300,    60, ""},          // too early to tell
        {t0 + 2000,  250, "残り 0:06"},  // 750 records at 8 ms
        {t0 + 2500,  251, "残り 0:08"},  // the line slowed down
        {t0 + 4000, 1000, "残り 0:00"},
    };
    // clang-format on
    for (const auto& s : steps) {
        pace.Update(s.ms, s.received);
        EXPECT_EQ(FormatTimeLeft(pace.SecondsLeft()), s.text) << s.received;
    }
    EXPECT_EQ(FormatTimeLeft(27), "残り 0:27");
    EXPECT_EQ(FormatTimeLeft(3725), "残り 1:02:05");
}

} // namespace
} // namespace saroko::test
