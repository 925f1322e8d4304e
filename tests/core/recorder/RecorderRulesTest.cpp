// The rules of the record-start and download dialogs: proposed start, date checks with message
// and focus, expected end, the block built from the fields, the exchanges of the three start
// buttons and the command test's parsing; download targets, the overwrite question, the start
// time of the data, filling the two channels from whole presses of the download button on a
// scripted recorder, the kept copy and the time left.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

#include "core/TestSupport.h"
#include "core/messages/Translate.h"
#include "core/recorder/CommRig.h"
#include "core/recorder/CommandTest.h"
#include "core/recorder/Download.h"
#include "core/recorder/PortDiagnosis.h"
#include "core/recorder/RecordStart.h"

namespace saroko::test {
namespace {

// The USB ids of a port from the hardware ids Windows gives its device.
TEST(PortRules, UsbIdsFromAHardwareId) {
    const std::tuple<const char*, bool, uint16_t, uint16_t> cases[] = {
        {"USB\\VID_0403&PID_6001&REV_0600", true, 0x0403, 0x6001},
        {"FTDIBUS\\VID_0403+PID_6015+DN04ABCD\\0000", true, 0x0403, 0x6015},
        {"usb\\vid_067b&pid_2303", true, 0x067B, 0x2303}, // either case, at the end
        {"USB\\VID_FFFF&PID_0000", true, 0xFFFF, 0x0000},
        {"USB\\VID_10C4", false, 0, 0},           // no product
        {"USB\\VID_04x3&PID_6001", false, 0, 0},  // not hexadecimal
        {"USB\\VID_040&PID_6001", false, 0, 0},   // three digits
        {"USB\\VID_04030&PID_6001", false, 0, 0}, // five digits
        {"ACPI\\PNP0501", false, 0, 0},           // a port on the board
        {"", false, 0, 0},
    };
    for (const auto& [id, ok, vendor, product] : cases) {
        uint16_t v = 1, p = 1;
        EXPECT_EQ(ParseUsbIds(id, v, p), ok) << id;
        if (ok)
            EXPECT_EQ(std::pair(v, p), std::pair(vendor, product)) << id;
        else
            EXPECT_EQ(std::pair(v, p), std::pair(uint16_t{1}, uint16_t{1})) << id << ": untouched";
    }
}

TEST(RecordStartRules, ProposedStart) {
    EXPECT_EQ(ProposedStartTime(Local(2008, 5, 1, 10, 7, 0)), Local(2008, 5, 1, 10, 20, 0));
    EXPECT_EQ(ProposedStartTime(Local(2008, 5, 1, 10, 0, 0)), Local(2008, 5, 1, 10, 10, 0));
    EXPECT_EQ(ProposedStartTime(Local(2008, 5, 1, 10, 4, 59)), Local(2008, 5, 1, 10, 10, 0));
    EXPECT_EQ(ProposedStartTime(0x80000000u - 901), (0x80000000u - 1) / 600 * 600);
    EXPECT_EQ(ProposedStartTime(0x80000000u - 900), 0x80000000u - 900);
}

// Each field's message and focus; the ranges themselves are CheckDateFields' and ParseInteger's.
TEST(RecordStartRules, DateChecks) {
    // clang-format off
    struct Case { DateFields f; int message; int focus; } cases[] = {
        {DateFields{"2008", "05", "01", "12", "00", "00"}, 0, 0},
        {DateFields{" 2008", "5", "1 ", " 12 ", "0", "0"}, 0, 0},
        {DateFields{"2008 ", "02", "29", "00", "00", "00"}, 0, 0},
        {DateFields{"２００８", "05", "01", "12", "00", "00"}, 57713, 101},
        {DateFields{"2008", "-5", "01", "12", "00", "00"}, 57714, 171},
        {DateFields{"2008", "05", "x", "12", "00", "00"}, 57715, 103},
        {DateFields{"2008", "05", "01", "1.2", "00", "00"}, 57716, 172},
        {DateFields{"2008", "05", "01", "12", "  ", "00"}, 57717, 105},
        {DateFields{"2008", "05", "01", "12", "00", "0 0"}, 57718, 104},
        {DateFields{"abc", "13", "01", "12", "00", "00"}, 57713, 101}, // characters before ranges
        {DateFields{"2036", "05", "01", "12", "00", "00"}, 57719, 101},
        {DateFields{"2008", "13", "32", "12", "00", "00"}, 57720, 171}, // first range counts
        {DateFields{"2008", "05", "32", "12", "00", "00"}, 57721, 103},
        {DateFields{"2008", "04", "31", "12", "00", "00"}, 57721, 103},
        {DateFields{"2008", "05", "01", "24", "00", "00"}, 57722, 172},
        {DateFields{"2008", "05", "01", "12", "60", "00"}, 57723, 105},
        {DateFields{"2008", "05", "01", "12", "00", "60"}, 57724, 104},
    };
    // clang-format on
    for (const Case& c : cases) {
        const DateCheck r = CheckStartDate(c.f);
        EXPECT_EQ(std::pair(r.messageId, r.focusId), std::pair(c.message, c.focus))
            << c.f.year << "/" << c.f.month << "/" << c.f.day;
    }
    // Midnight of 1 January 1970 lies before 1970 UTC east of Greenwich.
    const bool east = Local(1970, 1, 2, 0, 0, 0) < 86400;
    const DateCheck epoch = CheckStartDate(DateFields{"1970", "01", "01", "00", "00", "00"});
    EXPECT_EQ(std::pair(epoch.messageId, epoch.focusId),
              east ? std::pair(57744, 101) : std::pair(0, 0));
    EXPECT_EQ(CheckStartDate(DateFields{"2008", "05", "01", "12", "00", "00"}).time,
              Local(2008, 5, 1, 12, 0, 0));
}

// Names, interval index, one-time (0) or endless, degF, JPt100, start method and date.
RecordStartForm Form(int method, int mode = 0, int interval = 3) {
    return {"ROOM", "HALL", interval, mode, 1, 1, method, {"2008", "05", "01", "12", "00", "00"}};
}

TEST(RecordStartRules, ExpectedEnd) {
    const uint32_t now = Local(2008, 4, 30, 8, 1, 2);
    int index = 0;
    ClockTexts c = RecordStartClock(Form(kStartScheduled), now, index);
    using V = std::vector<std::string>;
    EXPECT_EQ((V{c.nowDate, c.nowTime, c.endDate, c.endTime}),
              (V{"2008年  4月 30日", "   8時  1分  2秒", "2008年  5月  2日", "  10時 13分 10秒"}));
    EXPECT_EQ(index, 3);

    RecordStartForm bad = Form(kStartScheduled);
    bad.date.day = "31x";
    for (const RecordStartForm& f :
         {Form(kStartScheduled, 1), Form(kStartImmediate, 1), Form(-1), bad}) {
        c = RecordStartClock(f, now, index);
        EXPECT_EQ((V{c.endDate, c.endTime}), (V{"????年 ??月 ??日", "  ??時 ??分 ??秒"}));
    }
    // Immediate: from now; no list selection keeps the previous interval index.
    index = 0;
    c = RecordStartClock(Form(kStartImmediate, 0, -1), now, index);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(c.endTime, FormatClockTime(now + 7999));
}

TEST(RecordStartRules, BlockFromTheFields) {
    const uint32_t now = Local(2008, 5, 1, 11, 59, 57);
    RecorderSettings block;
    StartPlan plan = BuildStartSettings(Form(kStartScheduled, 1), now, block);
    // Bit 0 of the flags, the unit, is never sent.
    EXPECT_EQ(std::tuple(plan.messageId, plan.delay, block.flags, block.intervalSec,
                         std::string(block.chanName1, 8), block.startMode, block.startTime),
              std::tuple(0, 1u, uint16_t{6}, uint16_t{10}, std::string("ROOM\0\0\0\0", 8),
                         uint16_t{0x31}, Local(2008, 5, 1, 12, 0, 0)));

    plan = BuildStartSettings(Form(kStartScheduled), now + 1, block);
    // The block is written before the last check.
    EXPECT_EQ(std::tuple(plan.messageId, plan.focusId, block.startMode),
              std::tuple(57745, 101, uint16_t{0x31}));

    // No interval selected (a stored value outside the table): the 10 s entry, never a read
    // outside the table.
    plan = BuildStartSettings(Form(kStartImmediate, 0, -1), now, block);
    EXPECT_EQ(plan.messageId, 0);
    EXPECT_EQ(block.intervalSec, 10);

    plan = BuildStartSettings(Form(kStartImmediate, 0, 14), now, block);
    EXPECT_EQ(std::tuple(plan.messageId, block.startMode, block.startTime, block.intervalSec,
                         block.flags),
              std::tuple(0, uint16_t{0x30}, now, uint16_t{3600}, uint16_t{4}));

    // The names' length in bytes; a date error comes before a name error.
    // clang-format off
    struct NameCase { std::string n1, n2; int method; const char* month; int message, focus; } names[] = {
        {"\x83\x65\x83\x58\x83\x67\x82\x50", "A", kStartImmediate, "05", 0, 0}, // four double-byte characters
        {"\x83\x65\x83\x58\x83\x67\x82\x50\x82\x51", "A", kStartImmediate, "05", 57712, 107},
        {"A", "123456789", kStartImmediate, "05", 57712, 108},
        {"123456789", "123456789", kStartImmediate, "05", 57712, 107},
        {"123456789", "A", kStartScheduled, "13", 57720, 171},
    };
    // clang-format on
    for (const NameCase& n : names) {
        RecordStartForm f = Form(n.method);
        f.name1 = n.n1;
        f.name2 = n.n2;
        f.date.month = n.month;
        plan = BuildStartSettings(f, now, block);
        EXPECT_EQ(std::pair(plan.messageId, plan.focusId), std::pair(n.message, n.focus)) << n.n1;
    }
}

TEST(RecordStartRules, FormFromSettings) {
    RecorderSettings s{5, 120, "", "", 0x31, Local(2008, 5, 1, 9, 8, 7)};
    std::memcpy(s.chanName1, "12345678", 8);
    RecordStartForm f = FormFromSettings(s);
    const DateFields& d = f.date;
    EXPECT_EQ(std::tuple(f.name1, f.name2, d.year, d.month, d.second, f.startMethod, f.unit,
                         f.recordMode, f.sensor, f.intervalIndex),
              std::tuple("12345678", "", "2008", "05", "07", kStartScheduled, 1, 0, 1, 8));
    s.startMode = 0x00;
    s.intervalSec = 7;
    f = FormFromSettings(s);
    EXPECT_EQ(std::pair(f.startMethod, f.intervalIndex), std::pair(-1, kDefaultIntervalIndex));
}

// The exchanges at a fixed "now".
class RecordStartExchange : public DocTest {
protected:
    CommServices Services(CommRig& rig) {
        CommServices s = rig.Services();
        clock.Set(now);
        s.clock = &clock;
        return s;
    }
    const uint32_t now = Local(2008, 5, 1, 11, 0, 0);
};

// Stop, begin, the block (begin, block, end), start, end: each answered in turn; the first
// failure ends the sequence and nothing is saved; a failed check comes before any of it.
TEST_F(RecordStartExchange, SequenceOnTheWireAndWhatIsSaved) {
    const Bytes ok = Reply(6);
    // clang-format off
    struct Case { const char* name; int method; std::vector<Bytes> replies; int result; std::vector<int> shown; } cases[] = {
        {"silent", kStartImmediate, {}, -101, {57705}},
        {"stop refused", kStartImmediate, {Reply(9)}, -102, {57708}},
        {"begin refused", kStartImmediate, {ok, Reply(9)}, -101, {57705}},
        {"start refused", kStartImmediate, {ok, ok, ok, ok, ok, Reply(9)}, -101, {57705}},
        {"end broken", kStartImmediate, {ok, ok, ok, ok, ok, ok, Bytes{1, 2}}, -102, {57708}},
        {"immediate", kStartImmediate, {ok, ok, ok, ok, ok, ok, ok}, 0, {57696}},
        {"scheduled", kStartScheduled, {ok, ok, ok, ok, ok, ok, ok}, 0, {57696}},
    };
    // clang-format on
    for (const Case& c : cases) {
        CommRig rig;
        RecorderSettings expectBlock;
        const RecordStartForm form = Form(c.method);
        const StartPlan plan = BuildStartSettings(form, now, expectBlock);
        ASSERT_EQ(plan.messageId, 0);
        const BlockWriteFrame bw = MakeBlockWrite(expectBlock.ToBytes());
        const Bytes start = c.method == kStartImmediate
                                ? Frame(0x30)
                                : Frame(0x31, static_cast<uint8_t>(plan.delay),
                                        static_cast<uint8_t>(plan.delay >> 8));
        const Bytes frames[] = {Frame(0x32), Frame(0x20), Frame(0x20), Bytes(bw.begin(), bw.end()),
                                Frame(0x21), start,       Frame(0x21)};
        rig.Sent({0});
        Bytes wire{0};
        for (std::size_t i = 0; i < c.replies.size(); ++i) {
            rig.After(frames[i], c.replies[i]);
            wire = Cat({wire, frames[i]});
        }
        const std::size_t writesBefore = store.WriteCount();
        const RecordStartResult r = RunRecordStart(Services(rig), doc, form);
        EXPECT_EQ(r.result, c.result) << c.name;
        EXPECT_EQ(rig.sink.ids, c.shown) << c.name;
        if (c.result != 0) {
            EXPECT_EQ(store.WriteCount(), writesBefore) << c.name;
            EXPECT_EQ(doc.m_recSettings.startMode, 0x30) << c.name;
            continue;
        }
        EXPECT_EQ(rig.line.Written(), wire) << c.name;
        EXPECT_EQ(doc.m_recSettings.ToBytes(), expectBlock.ToBytes()) << c.name;
        const bool immediate = c.method == kStartImmediate;
        std::vector<std::string> saved;
        for (const char* key : {"StartMode", "DateTime", "ChanName1", "SensorType", "TempUnit"})
            saved.push_back(store.GetString("KM4x Communication Section", key, "-"));
        EXPECT_EQ(saved, (std::vector<std::string>{immediate ? "0x30" : "0x31",
                                                   immediate ? "20080501110000" : "20080501120000",
                                                   "ROOM", "1", "0"}));
    }
    // A failed check touches no port.
    CommRig rig;
    RecordStartForm f = Form(kStartScheduled);
    f.date.day = "32";
    const RecordStartResult r = RunRecordStart(Services(rig), doc, f);
    EXPECT_EQ(std::tuple(r.result, r.focusId, rig.sink.ids, rig.line.OpenCount()),
              std::tuple(1, 103, std::vector<int>{57721}, 0));
}

TEST_F(RecordStartExchange, StopAndReadBack) {
    CommRig stop;
    stop.After({0x00, 0x32, 0, 0, 0, 0, 0x4A}, Reply(6));
    EXPECT_EQ(RunRecordStop(Services(stop)), 0);
    EXPECT_EQ(stop.sink.ids, std::vector<int>{57696});

    // clang-format off
    struct Case { uint16_t startMode; std::vector<int> shown; bool dateKnown; } cases[] = {{0x31, {57696}, true}, {0x30, {57696}, true}, {0x00, {57696, 57750}, false}};
    // clang-format on
    for (const Case& c : cases) {
        const RecorderSettings s{2, 900, "IN", "", c.startMode, Local(2008, 6, 2, 3, 4, 5)};
        const BlockReadReply block = MakeBlockReadReply(0x25, s.ToBytes());
        CommRig rig;
        rig.After({0x00, 0x25, 0, 0, 0, 0, 0x3D}, Bytes(block.begin(), block.end()));
        RecordStartForm form = Form(kStartImmediate, 0, 0);
        const RecorderSettings docBlock = doc.m_recSettings;
        EXPECT_EQ(RunReadSettings(Services(rig), form), 0);
        EXPECT_EQ(rig.sink.ids, c.shown);
        EXPECT_EQ(std::tuple(form.name1, form.recordMode, form.intervalIndex),
                  std::tuple("IN", 1, 11));
        EXPECT_EQ(form.date.year + form.date.second, c.dateKnown ? "200805" : "");
        EXPECT_EQ(doc.m_recSettings.ToBytes(), docBlock.ToBytes())
            << "the document keeps its block";
    }
}

TEST(CommandTestFields, Parsing) {
    // clang-format off
    struct Case { const char* prc; std::array<std::string, 4> prm; const char* msg; int command; std::array<uint8_t, 4> params; int mode; } cases[] = {
        {"15", {"00", "00", "00", "00"}, "1", 15, {0, 0, 0, 0}, 1},
        {"14", {"1FF", "a", "0x12", "zz"}, "2", 14, {0xFF, 0x0A, 0x12, 0x00}, 2},
        {"12abc", {"7g", " 3", "", "-1"}, "x", 12, {0x07, 0x03, 0x00, 0xFF}, 0},
        {"99999999999999", {"FFFFFFFFFFFFFFFFFFFF", "0", "0", "0"}, "0", INT_MAX, {0xFF, 0, 0, 0}, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        const CommandTestInput in = ParseCommandTestFields(c.prc, c.prm, c.msg);
        EXPECT_EQ(std::tuple(in.command, in.params, in.messageMode),
                  std::tuple(c.command, c.params, c.mode))
            << c.prc;
    }
}

TEST(CommandTestFields, EveryCommandRunsSafely) {
    // Commands needing storage get scratch storage: on a silent line every one times out.
    for (int command = 0; command <= 15; ++command) {
        CommRig rig;
        std::array<uint8_t, 4> result{1, 1, 1, 1};
        const CommandTestInput in{.command = command, .messageMode = 2};
        EXPECT_EQ(RunCommandTest(rig.Services(), in, result), -101) << command;
        EXPECT_EQ(result, (std::array<uint8_t, 4>{})) << command;
    }
    CommRig rig;
    rig.After({0x00, 0x35, 0, 0, 0, 0, 0x4D}, Reply(4, 20, 1, 0));
    std::array<uint8_t, 4> result{};
    EXPECT_EQ(RunCommandTest(rig.Services(), {.command = 15}, result), 0);
    EXPECT_EQ(std::pair(result, rig.sink.ids),
              std::pair(std::array<uint8_t, 4>{4, 20, 1, 0}, std::vector<int>{57696}));
}

class DownloadTest : public DocTest {
protected:
    void Present(const std::vector<int>& numbers) {
        for (int n : numbers)
            Fill(*doc.GetChannel(n), 1000, 10, {C(20)}, "OLD");
    }
};

TEST_F(DownloadTest, DefaultTargetsAreTheFirstTwoFreeChannelsAndOverwritesAreAsked) {
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
        Present(c.present);
        int t1 = -1, t2 = -1;
        DefaultTargets(doc, t1, t2);
        EXPECT_EQ(std::pair(t1, t2), std::pair(c.t1, c.t2));
    }

    // The question comes unless the targets are two different empty channels.
    doc.ClearAllChannels();
    Present({1});
    Fill(*doc.GetChannel(2), 1000, 10, {C(20)}, " lead"); // a leading space counts as empty
    // clang-format off
    struct Ask { int t1, t2; bool ask; } asks[] = {{3, 4, false}, {3, 3, true}, {1, 3, true}, {3, 1, true}, {2, 3, false}};
    // clang-format on
    for (const Ask& c : asks)
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
        const RecorderSettings s{c.flags, 60, "", "", c.startMode, recStart};
        EXPECT_EQ(DownloadStartTime(s, DownloadHeader{c.age, c.n}, dl), c.expect)
            << c.flags << " " << c.startMode << " " << c.n;
    }
}

TEST(DownloadStart, StatusTexts) {
    RecorderSettings s{7, 1800, "", "", 0, 0};
    std::memcpy(s.chanName1, "ABCDEFGH", 8);
    const DownloadStatusTexts t = FormatDownloadStatus(s, 129, Local(2008, 5, 1, 9, 5, 7));
    using V = std::vector<std::string>;
    EXPECT_EQ((V{t.model, t.name1, t.name2, t.unit, t.start, t.startMode, t.recordMode, t.sensor,
                 t.interval}),
              (V{"KM-41", "ABCDEFGH", "ch.2", "ﾟF ", "2008/ 5/ 1  9: 5' 7", "ﾏﾆｭｱﾙｽﾀｰﾄ", "ｴﾝﾄﾞﾚｽ",
                 "JPt100", "30 min."}));
}

// One press of the download button against a saved exchange: identify, settings, count and
// the paced download; what goes on the wire is the exchange's, whatever the outcome.
struct ScriptedDownload {
    explicit ScriptedDownload(const char* fixture) : sent(rig.Play(fixture)), name(fixture) {}
    int Run(CZorvicDoc& doc, int t1, int t2) {
        const int result = CRecorderDownload(rig.Services(), doc, owner).Run(t1, t2);
        EXPECT_EQ(rig.line.Written(), sent) << name;
        return result;
    }
    CommRig rig;
    Bytes sent;
    const char* name;
    CRecordingOwner owner;
};

// The same three records after a scheduled start and after an immediate one (code 0).
TEST_F(DownloadTest, FillsBothTargetsAndRecalculates) {
    for (const auto& [fixture, startMode] :
         {std::pair{"press-fills.txt", 1u}, std::pair{"press-immediate.txt", 0u}}) {
        SCOPED_TRACE(fixture);
        doc.ClearAllChannels();
        Present({1, 2});
        doc.m_bShow[2] = doc.m_bShow[3] = 0;
        doc.RecalcRanges(RecalcMode::NewData);
        ScriptedDownload sd(fixture);
        int t1, t2;
        DefaultTargets(doc, t1, t2);
        ASSERT_EQ(sd.Run(doc, t1, t2), 0);
        EXPECT_EQ(sd.rig.sink.ids, std::vector<int>{57696});

        const ChannelRecord& a = *doc.GetChannel(3);
        const ChannelRecord& b = *doc.GetChannel(4);
        EXPECT_EQ(std::tuple(a.present, std::string(a.name), std::string(b.name)),
                  std::tuple(3u, "OVEN", "ch.2"));
        for (const ChannelRecord* ch : {&a, &b}) {
            EXPECT_EQ((std::vector<uint32_t>{ch->startTime, ch->measureType, ch->modelCode,
                                             ch->unitFlag, ch->recModeCode, ch->sensorCode,
                                             ch->startKnown, ch->startModeCode, ch->interval,
                                             ch->sampleCount, ch->samples[3], ch->samples[15999]}),
                      (std::vector<uint32_t>{1209990000u, 13, 129, 0, 128, 1, 1, startMode, 30, 3,
                                             kCodeEnd, kCodeEnd}));
        }
        EXPECT_EQ((std::vector<uint32_t>{a.samples[0], a.samples[2], b.samples[1], doc.m_bShow[2],
                                         doc.m_bShow[3], doc.m_bDataModified}),
                  (std::vector<uint32_t>{32768 + 200, 32768 + 202, 32768 + 101, 1, 1, 1}));
        EXPECT_GE(doc.GetRange()->dataEnd, 1209990000u + 2 * 30) << "ranges take in the new data";
    }
}

TEST_F(DownloadTest, ManualStartAndTheSameTargetForBoth) {
    ScriptedDownload sd("press-manual.txt"); // endless, degF, the second channel "PIPE"
    sd.rig.sink.answer = kIdYes;
    ASSERT_EQ(sd.Run(doc, 5, 5), 0);
    EXPECT_EQ(sd.rig.sink.ids, (std::vector<int>{57760, 57696}));
    const ChannelRecord& ch = *doc.GetChannel(5);
    EXPECT_EQ(std::tuple(std::string(ch.name), ch.samples[0]), std::tuple("PIPE", 32768 + 100));
    EXPECT_EQ((std::array<int, 4>{ch.startKnown, ch.startModeCode, ch.recModeCode, ch.unitFlag}),
              (std::array<int, 4>{0, 0xFF, 0, 1}));
    EXPECT_EQ(ch.startTime, sd.owner.downloadTime - 2 * 30 - 12);
    EXPECT_EQ(doc.GetChannel(6)->present, 0u);
}

// Refused targets, a No to the overwrite question and a port that does not open stop before
// any exchange; another model, no data and a broken check after it: each shows its one message
// and leaves the document as it was.
TEST_F(DownloadTest, ChecksAndFailuresLeaveTheDocumentAlone) {
    Present({1});
    doc.RecalcRanges(RecalcMode::NewData);
    const int stopped = CRecorderDownload::kDownloadStopped;
    // clang-format off
    struct Case { const char* fixture; int t1, t2, answer, openResult, result, shown, opens; } cases[] = {
        {"", 0, 2, kIdYes, 0, stopped, 57747, 0},
        {"", 2, 0, kIdYes, 0, stopped, 57747, 0},
        {"", 1, 2, kIdNo, 0, stopped, 57760, 0},
        {"", 2, 3, kIdYes, -1, -1, 57697, 1},
        {"press-other-model.txt", 2, 3, kIdYes, 0, COMM_UNKNOWN_MODEL, 57784, 1},
        {"press-no-data.txt", 2, 3, kIdYes, 0, -103, 57709, 1},
        {"press-bad-check.txt", 2, 3, kIdYes, 0, -104, 57710, 1}, // every attempt gets the same broken answer
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fixture << " " << c.t1 << "," << c.t2);
        std::vector<ChannelRecord> before;
        for (int n = 1; n <= 8; ++n)
            before.push_back(*doc.GetChannel(n));
        const GraphRange range = *doc.GetRange();
        doc.m_bDataModified = 0;

        CommRig rig;
        const Bytes sent = *c.fixture ? rig.Play(c.fixture) : Bytes{};
        rig.sink.answer = c.answer;
        rig.line.SetOpenResult(c.openResult);
        CRecordingOwner owner;
        EXPECT_EQ(CRecorderDownload(rig.Services(), doc, owner).Run(c.t1, c.t2), c.result);
        EXPECT_EQ(std::tuple(rig.sink.ids, rig.line.Written(), rig.line.OpenCount()),
                  std::tuple(std::vector<int>{c.shown}, sent, c.opens));
        for (int n = 1; n <= 8; ++n)
            EXPECT_EQ(std::memcmp(&before[n - 1], doc.GetChannel(n), sizeof(ChannelRecord)), 0)
                << "channel " << n;
        EXPECT_EQ(std::pair(*doc.GetRange(), doc.m_bDataModified), std::pair(range, 0u));
    }
}

TEST_F(DownloadTest, KeptCopyNamedByLocalTimeAndNeverOverwritten) {
    namespace fs = std::filesystem;
    const uint32_t t = Local(2026, 12, 6, 14, 30, 5);
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
    EXPECT_EQ(ReadAll((fs::path(folder) / keeps[0].second).string()), "first");
    // A folder that cannot be made keeps nothing.
    EXPECT_EQ(KeepDownloadImage((fs::path(folder) / keeps[0].second / "x").string(), t, "y"), "");
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

TEST(ProgressRedraw, FirstBarMovesLastAndEveryHundredMilliseconds) {
    CProgressRedraw redraw;
    const uint32_t t0 = 0xFFFFFFC0u; // the tick count wraps on the way
    const struct {
        uint32_t ms;
        int bar;
        bool last, due;
    } steps[] = {{t0, 0, false, true},        {t0 + 99, 0, false, false},
                 {t0 + 100, 0, false, true},  {t0 + 101, 1, false, true},
                 {t0 + 199, 1, false, false}, {t0 + 150, 1, true, true}};
    for (const auto& s : steps) {
        EXPECT_EQ(redraw.Due(s.ms, s.bar, s.last), s.due) << s.ms - t0;
        EXPECT_EQ(redraw.Held(), !s.due) << s.ms - t0;
    }
}

// Off a terminal: a line when the header has come, then one at each tenth of the records,
// the record just before a tenth writing none and the one reaching it its line.
TEST(ProgressTenths, ALineAtTheStartAndAtEachTenth) {
    const auto written = [](uint32_t total) {
        CProgressTenths tenths;
        std::vector<uint32_t> at;
        for (uint32_t k = 0; k <= total; ++k)
            if (tenths.Due(k, total))
                at.push_back(k);
        return at;
    };
    EXPECT_EQ(written(300),
              (std::vector<uint32_t>{0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300}));
    // Counts that a tenth does not divide: the first record at or past each tenth.
    EXPECT_EQ(written(25), (std::vector<uint32_t>{0, 3, 5, 8, 10, 13, 15, 18, 20, 23, 25}));
    // Fewer records than tenths: each record is a line of its own.
    EXPECT_EQ(written(3), (std::vector<uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(written(0), (std::vector<uint32_t>{0}));
    // A record repeated, or a count back on an earlier tenth, writes nothing; a new attempt
    // starts again from its first line.
    CProgressTenths tenths;
    std::vector<bool> due;
    for (uint32_t k : {0u, 0u, 9u, 10u, 10u, 5u})
        due.push_back(tenths.Due(k, 100));
    EXPECT_EQ(due, (std::vector<bool>{true, false, false, true, false, false}));
    EXPECT_TRUE(tenths.Due(100000, 100)); // past the total counts as the last tenth
    EXPECT_FALSE(tenths.Due(100, 100));
    tenths.Reset();
    EXPECT_TRUE(tenths.Due(0, 100));
}

// The line's words come from the translation, so the Japanese line holds no English word.
TEST(ProgressTenths, CountsAndAttemptInOneLanguage) {
    EXPECT_EQ(FormatRecordCounts(120, 300), "120 / 300 件");
    EXPECT_EQ(FormatAttempt(2, 3), "試行 2/3");
    SetTranslateFn([](const char*, const char* text) {
        const std::string s = text;
        return s == "%u / %u 件"   ? std::string("%u / %u records")
               : s == "試行 %d/%d" ? std::string("attempt %d/%d")
                                   : s;
    });
    EXPECT_EQ(FormatRecordCounts(4294967295u, 4294967295u), "4294967295 / 4294967295 records");
    EXPECT_EQ(FormatAttempt(3, 3), "attempt 3/3");
    SetTranslateFn(nullptr);
}

} // namespace
} // namespace saroko::test
