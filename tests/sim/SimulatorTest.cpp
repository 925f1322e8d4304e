// The protocol against the simulated KM-41 on an in-memory line with a fake clock: whole
// exchanges, recordings over simulated hours, the paced wire, and the injected faults.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "core/document/ZorvicDoc.h"
#include "sim/Km41Simulator.h"
#include "sim/SimOptionsParse.h"
#if !defined(_WIN32)
#include "platform/QtSettingsStore.h" // the Qt codec knows kanji; the Windows build has no Qt
#endif
#include "core/recorder/Download.h"
#include "core/recorder/RecordStart.h"
#include "core/recorder/RecorderComm.h"
#include "core/recorder/TranscriptLine.h"
#include "support/SimRig.h"

namespace saroko::sim {
namespace {

constexpr uint32_t kEpoch = 1210000000; // 2008-05-05

using test::CRecordingOwner;

// The shared rig at this file's epoch, with a command and a download (on another line if given).
struct SimRig : test::SimRig {
    explicit SimRig(SimOptions o = {}) : test::SimRig(o, kEpoch) { sink.answer = kIdYes; }
    int Execute(int command, CommandBlock block, int wake = 1) {
        CRecorderComm comm(Services(), 9600);
        const int r = comm.Open();
        return r < 0 ? comm.ShowCommResult(r)
                     : comm.Execute(command, block, wake ? Wake::First : Wake::No,
                                    ShowResult::OnFailure);
    }
    int Download(ISerialLine* line = nullptr) {
        CommServices s = Services();
        if (line)
            s.line = line;
        CRecordingOwner owner;
        return CRecorderDownload(s, doc, owner).Run(1, 2);
    }
};

SimOptions Preloaded(uint32_t n, uint16_t interval = 10, bool endless = false) {
    SimOptions o;
    o.preload = n;
    o.settings.intervalSec = interval;
    if (endless)
        o.settings.flags |= RecorderSettings::kFlagEndless;
    return o;
}

// The memory keeps the newest 8000 records; the start counts back from the newest's age.
TEST(Simulator, WrappedEndlessMemoryKeepsTheNewest) {
    SimRig rig(Preloaded(9000, 60, true));
    rig.line.Advance(12'500'000); // the newest record is 12 s old... and more by the end
    ASSERT_EQ(rig.Download(), 0);
    const ChannelRecord& a = *rig.doc.GetChannel(1);
    EXPECT_EQ(std::tuple(a.sampleCount, a.startTime, a.samples[0], a.samples[7999]),
              std::tuple(8000u, kEpoch - 7999 * 60, SimSampleCode(0, 1000, 60),
                         SimSampleCode(0, 8999, 60)));
}

// Whether it records after the start and after the stop is checked through the dialog.
TEST(Simulator, StartNowOrAtItsTimeAndStop) {
    using testing::AllOf, testing::Ge, testing::Le;
    SimRig now;
    RecordStartForm form = FormFromSettings(now.doc.m_recSettings);
    form.startMethod = kStartImmediate;
    form.intervalIndex = 2; // 5 s
    ASSERT_EQ(RunRecordStart(now.Services(), now.doc, form).result, 0);
    now.line.Advance(100'000'000); // 100 s
    ASSERT_EQ(RunRecordStop(now.Services()), 0);
    const uint32_t count = now.sim.RecordCount(now.line.NowUs());
    EXPECT_THAT(count, AllOf(Ge(20u), Le(21u)));
    now.line.Advance(3600'000'000ULL);
    EXPECT_EQ(now.sim.RecordCount(now.line.NowUs()), count) << "stopped means stopped";

    SimRig later;
    const uint32_t at = kEpoch + 600;
    form.startMethod = kStartScheduled;
    form.date = DateFieldsFromTime(at);
    form.intervalIndex = 0; // 1 s
    ASSERT_EQ(RunRecordStart(later.Services(), later.doc, form).result, 0);
    EXPECT_EQ(later.sim.RecordCount(later.line.NowUs()), 0u);
    // The delay is counted from two seconds after the PC's "now"; the exchange itself takes
    // a second or two of that.
    EXPECT_THAT(later.sim.FirstRecordTime(), AllOf(Ge(at - 2), Le(at)));
    later.line.Advance(uint64_t{700} * 1'000'000);
    EXPECT_GT(later.sim.RecordCount(later.line.NowUs()), 90u);
    EXPECT_TRUE(later.sim.IsRecording(later.line.NowUs()));
}

TEST(Simulator, PacedWireTakesItsTime) {
    SimOptions o = Preloaded(8000);
    o.paced = true;
    SimRig rig(o);
    ASSERT_EQ(rig.Download(), 0);
    EXPECT_EQ(rig.sim.PacingBytesSeen(), 8u);
    // Bytes both ways at 960 per second, plus wake 550, the pause 500 and four drains.
    const double bytes = 7 + 6 + 6 + 35 + 6 + 6 + 6 + 8 + 32009;
    const double expectMs = bytes / 0.96 + 550 + 500 + 4 * 51;
    const double tookMs = static_cast<double>(rig.line.NowUs()) / 1000;
    EXPECT_NEAR(tookMs, expectMs, expectMs * 0.005);
}

// Silence and a download cut at every attempt are checked end to end.
TEST(Simulator, FaultsAsTheUserSeesThem) {
    // The download requests the recorder saw end each case.
    // clang-format off
    struct Case { const char* name; FaultKind fault; uint8_t command; uint32_t times, cutAfter; int result; std::vector<int> shown; int downloads; } cases[] = {
        {"cut once", FaultKind::CutOff, 0x11, 1, 20, 0, {57696}, 2},
        {"bad check twice", FaultKind::BadCheck, 0x11, 2, 0, 0, {57696}, 3},
        {"bad check always", FaultKind::BadCheck, 0x11, 0, 0, -104, {57710}, 3},
        {"bad settings check", FaultKind::BadCheck, 0x25, 1, 0, -104, {57710}, 0},
        {"cut identify", FaultKind::CutOff, 0x35, 0, 3, -102, {57708}, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SimOptions o = Preloaded(50);
        o.fault = c.fault;
        o.faultCommand = c.command;
        o.faultTimes = c.times;
        o.cutAfter = c.cutAfter;
        SimRig rig(o);
        EXPECT_EQ(rig.Download(), c.result) << c.name;
        EXPECT_EQ(rig.sink.ids, c.shown) << c.name;
        const auto& cmds = rig.sim.Commands();
        EXPECT_EQ(std::count(cmds.begin(), cmds.end(), 0x11), c.downloads) << c.name;
    }
}

TEST(Simulator, Refusal) {
    SimOptions o;
    o.fault = FaultKind::Refuse;
    SimRig rig(o);
    RecordStartForm form = FormFromSettings(rig.doc.m_recSettings);
    form.startMethod = kStartImmediate;
    EXPECT_EQ(RunRecordStart(rig.Services(), rig.doc, form).result, -102); // stop refused
    uint8_t params[4] = {}, reply[4] = {};
    EXPECT_EQ(rig.Execute(kExecBegin, {params, reply}), -101);
    EXPECT_EQ(rig.sink.ids, (std::vector<int>{57708, 57705}));
}

TEST(Simulator, WordsQueryAndTheFramesItDrops) {
    SimRig rig;
    uint8_t params[4] = {}, reply[4] = {};
    std::array<uint32_t, 16> words{}, back{};
    for (uint32_t i = 0; i < 16; ++i)
        words[i] = 0x10000u + i * 7;
    ASSERT_EQ(rig.Execute(kExecWriteWords, {.words = &words}), 0);
    ASSERT_EQ(rig.Execute(kExecReadWords, {.words = &back}), 0);
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(back[i], i * 7) << "only the low 16 bits are kept";
    ASSERT_EQ(rig.Execute(kExecQuery33, {params, reply}), 0);
    EXPECT_EQ(GetU32(reply), rig.clock.Now());

    // Half a frame and a frame with a bad check are dropped.
    CRecorderComm comm(rig.Services(), 9600);
    ASSERT_EQ(comm.Open(), 0);
    comm.WriteByte(0x35);
    comm.WriteByte(0x00);
    rig.line.Advance(200'000); // the rest never comes
    for (uint8_t b : ShortFrame{0x35, 0, 0, 0, 0, 0x4E})
        comm.WriteByte(b);
    uint8_t b = 0;
    EXPECT_EQ((std::pair{comm.ReadByte(b, 500), rig.sim.BadFrames()}), std::pair(1, 1u));
    EXPECT_EQ(comm.Execute(kExecIdentify, {params, reply}, Wake::No, ShowResult::Never), 0);
    EXPECT_EQ(std::pair(reply[0], reply[1]), std::pair(uint8_t{4}, uint8_t{20}));
}

// The bytes a transcript logs are checked end to end; here their directions and times.
TEST(Simulator, TranscriptDirectionsAndTimes) {
    SimRig rig(Preloaded(3));
    std::ostringstream text;
    CTranscriptLine logged(rig.line, text);
    ASSERT_EQ(rig.Download(&logged), 0);
    const std::vector<TranscriptEntry> entries = ParseTranscript(text.str());
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ((std::string{entries[0].direction, entries[1].direction, entries[2].direction}),
              ">><");
    EXPECT_EQ(entries[1].ms, 601u) << "wake pause and drain";
}

#if !defined(_WIN32)
// The help text gives every option a line of its own.
TEST(SimCommandLine, UsageNamesOneOptionPerLine) {
    std::istringstream usage(kSimUsage);
    int options = 0;
    for (std::string line; std::getline(usage, line);) {
        std::size_t n = 0;
        for (std::size_t at = line.find(" --"); at != std::string::npos;
             at = line.find(" --", at + 1))
            ++n;
        EXPECT_LE(n, 1u) << line;
        options += static_cast<int>(n);
    }
    EXPECT_EQ(options, 19);
}

TEST(SimCommandLine, Options) {
    const CQtCp932Codec codec;
    SimCommandLine cl;
    std::string error;
    // clang-format off
    ASSERT_TRUE(ParseSimCommandLine({"--paced", "--preload", "9000", "--endless", "--interval", "60",
                                     "--names", "温度,ﾃｽﾄ", "--cut-after", "7", "--fault-cmd", "0x11",
                                     "--fault-times", "2", "--model", "4,21", "--start-mode", "manual",
                                     "--link", "/tmp/x", "--port", "COM7"}, cl, error, &codec)) << error;
    // clang-format on
    const SimOptions& o = cl.options;
    EXPECT_EQ(std::tuple(std::string(o.settings.chanName1, 4), std::string(o.settings.chanName2, 4),
                         o.fault, cl.link, cl.port),
              std::tuple("\x89\xB7\x93\x78", std::string("\xC3\xBD\xC4\0", 4), FaultKind::CutOff,
                         "/tmp/x", "COM7"));
    EXPECT_EQ((std::vector<uint32_t>{o.paced, o.preload, o.settings.intervalSec, o.cutAfter,
                                     o.faultCommand, o.faultTimes, o.identD1, o.preloadStartMode}),
              (std::vector<uint32_t>{1, 9000, 60, 7, 0x11, 2, 21, 0}));
    // A later fault overrides an earlier one; 8000 records fit one-time mode, 8001 do not.
    SimCommandLine later;
    ASSERT_TRUE(ParseSimCommandLine(
        {"--silent", "--cut-after", "3", "--bad-check", "--preload", "8000"}, later, error));
    EXPECT_EQ(std::pair(later.options.fault, later.options.cutAfter),
              std::pair(FaultKind::BadCheck, 3u));
    // clang-format off
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"--interval", "7"},      "--interval: not one of the recorder's intervals"},
        {{"--preload", "8001"},    "--preload: at most 8000 records in one-time mode"},
        {{"--preload", "x"},       "--preload: not a number: x"},
        {{"--names", "123456789"}, "--names: at most 8 bytes each"},
        {{"--model", "4"},         "--model: two bytes, e.g. 4,21"},
        {{"--fault-cmd", "256"},   "--fault-cmd: a byte"},
        {{"--bogus"},              "unknown option --bogus"},
        {{"stray"},                "unknown option stray"},
        {{"--preload"},            "option --preload needs a value"},
        {{"--paced=1"},            "option --paced takes no value"},
    };
    // clang-format on
    for (const auto& [args, message] : bad) {
        SimCommandLine x;
        std::string e;
        EXPECT_FALSE(ParseSimCommandLine(args, x, e)) << args[0];
        EXPECT_EQ(e, message);
    }
    SimCommandLine asked;
    EXPECT_TRUE(ParseSimCommandLine({"--bogus", "-h"}, asked, error) && asked.help);
    EXPECT_TRUE(ParseSimCommandLine({"--version"}, asked, error) && asked.version);
}
#endif

} // namespace
} // namespace saroko::sim
