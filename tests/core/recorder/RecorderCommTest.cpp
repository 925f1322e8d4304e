// The sixteen commands on the wire, byte for byte, with their check, status, time-out and
// retry rules, against a scripted recorder on an in-memory line; the port each number opens,
// its bindings kept until "OK", and why a serial device will not open.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>

#include "core/TestSupport.h"
#include "core/document/RecorderSettings.h"
#include "core/recorder/CommRig.h"
#include "core/recorder/PortDiagnosis.h"
#include "core/recorder/PortSelect.h"

namespace saroko::test {
namespace {

constexpr uint8_t kWake = 0x00;

TEST(RecorderPort, DeviceNamesAndOpenFailures) {
#ifdef _WIN32
    const char* const usual[] = {"COM9", "\\\\.\\COM10"};
#else
    const char* const usual[] = {"/dev/ttyS8", "/dev/ttyS9"};
#endif
    EXPECT_EQ(PortDeviceName(9, nullptr), usual[0]);
    EXPECT_EQ(PortDeviceName(10, nullptr), usual[1]);

    // Each way a port can fail to open, and the message the user then sees; the exchanges'
    // own failures are shown by the command tests.
    // clang-format off
    const std::pair<int, int> opens[] = {
        {COMM_OPEN_FAILED, 57697},  {COMM_ALREADY_OPEN, 57704}, {COMM_NOT_OPEN, 57703},
        {COMM_NO_QUEUES, 57702},    {COMM_BAD_SETTINGS, 57700}, {COMM_NO_HARDWARE, 57701},
        {COMM_BAD_BYTE_SIZE, 57699}, {COMM_BAD_BAUD, 57698},    {COMM_FAILED, 57711}, {COMM_OK, 0}};
    // clang-format on
    for (auto [code, id] : opens) {
        CommRig rig;
        rig.line.SetOpenResult(code);
        CRecorderComm comm(rig.Services(), 9600);
        EXPECT_EQ(comm.Open(), code);
        EXPECT_TRUE(rig.sink.ids.empty()) << "opening shows nothing";
        if (code) {
            EXPECT_EQ(comm.ShowCommResult(code), code);
        }
        EXPECT_EQ(rig.sink.ids, code ? std::vector<int>{id} : std::vector<int>{}) << code;
        EXPECT_EQ(rig.line.Device(), "/dev/ttyTEST");
        EXPECT_EQ(comm.ShowCommResult(-200), -200);
        EXPECT_EQ(rig.sink.ids.size(), code ? 1u : 0u) << "a code without a message shows none";
    }
}

TEST(RecorderPort, ReadByteTimeOutEdges) {
    constexpr uint64_t kWrap = (uint64_t{1} << 32) * 1000 - 100000; // the tick count wraps
    // A byte at -1 ms never comes; the end is the clock after the call, from the start. A
    // gathering read looks every `gather` ms, and still once just after the time-out.
    // clang-format off
    struct Case { uint64_t startUs; int64_t byteAtMs; int result; uint64_t endMs; uint32_t gather = 0; } cases[] = {
        {0, 0, 0, 0},    {0, 499, 0, 499},    {0, 500, 0, 500},     {0, 502, 1, 501},
        {0, -1, 1, 501}, {kWrap, -1, 1, 501}, {kWrap, 300, 0, 300},
        {0, 491, 0, 500, 10}, {0, 501, 0, 501, 10}, {0, 502, 1, 501, 10}, {0, 498, 0, 501, 7},
    };
    // clang-format on
    for (const Case& c : cases) {
        CTimedPeer peer;
        if (c.byteAtMs >= 0)
            peer.At(c.startUs + static_cast<uint64_t>(c.byteAtMs) * 1000, 0x5A);
        CMemoryLine line(peer, c.startUs);
        line.Open("x", 9600);
        uint8_t b = 0;
        EXPECT_EQ(line.ReadByte(b, 500, c.gather), c.result) << c.byteAtMs << " " << c.gather;
        EXPECT_EQ((line.NowUs() - c.startUs) / 1000, c.endMs) << c.byteAtMs << " " << c.gather;
        EXPECT_EQ(b, c.result == 0 ? 0x5A : 0) << "a time-out leaves the byte alone";
    }
}

TEST(RecorderPort, GatherForTheWireTimeOfTheBytesComingAtMostTenMilliseconds) {
    for (auto [n, baud, ms] : {std::tuple<size_t, uint32_t, uint32_t>{1, 9600, 0},
                               {2, 9600, 3},
                               {9, 9600, 10},
                               {10, 9600, 10},
                               {2, 0, 0},
                               {100, 115200, 9}})
        EXPECT_EQ(GatherMs(n, baud), ms) << n << " at " << baud;
}

TEST(RecorderPort, DrainWaitsForFiftyQuietMillisecondsAndWakePauses) {
    CTimedPeer quiet, chatty;
    for (uint64_t t = 0; t <= 300; t += 30)
        chatty.At(t * 1000, 0x11);
    CMemoryLine q(quiet), c(chatty);
    CommServices s;
    s.line = &q;
    auto drain = [&s] {
        CRecorderComm comm(s, 9600);
        comm.Open();
        comm.DrainInput();
    };
    drain();
    EXPECT_EQ(q.NowUs(), 51000u);
    s.line = &c;
    drain();
    EXPECT_EQ(c.NowUs(), (300u + 51u) * 1000);
    EXPECT_EQ(c.Read().size(), 10u) << "the byte waiting at open is purged";

    CommRig rig;
    CRecorderComm comm(rig.Services(), 9600);
    comm.Open();
    comm.WakeRecorder();
    EXPECT_EQ(rig.line.Written(), Bytes{kWake});
    EXPECT_EQ(rig.line.NowUs(), 550000u);
    rig.line.FailWritesAfter(1); // a failed write skips the pause
    comm.WakeRecorder();
    EXPECT_EQ(rig.line.NowUs(), 550000u);
}

// Commands 6..15: one frame out, one reply in.
TEST(RecorderCommands, ShortFramesOnTheWire) {
    // clang-format off
    struct Case { int command; std::array<uint8_t, 4> params; Bytes wire; } cases[] = {
        {6, {0, 0, 0, 0}, {0x20, 0, 0, 0, 0, 0x38}},
        {7, {0, 0, 0, 0}, {0x21, 0, 0, 0, 0, 0x39}},
        {8, {0x03, 0x00, 0x34, 0x12}, {0x22, 0x03, 0x00, 0x34, 0x12, 0x83}},
        {9, {0x05, 0, 0, 0}, {0x23, 0x05, 0, 0, 0, 0x40}},
        {10, {0, 0, 0, 0}, {0x30, 0, 0, 0, 0, 0x48}},
        {11, {0x01, 0, 0, 0}, {0x31, 0x01, 0, 0, 0, 0x4A}},
        {11, {0x58, 0x02, 0, 0}, {0x31, 0x58, 0x02, 0, 0, 0xA3}},
        {12, {0, 0, 0, 0}, {0x32, 0, 0, 0, 0, 0x4A}},
        {13, {0xAA, 0xBB, 0xCC, 0xDD}, {0x33, 0xAA, 0xBB, 0xCC, 0xDD, 0x59}},
        {14, {0, 0, 0, 0}, {0x34, 0, 0, 0, 0, 0x4C}},
        {15, {0, 0, 0, 0}, {0x35, 0, 0, 0, 0, 0x4D}},
    };
    // clang-format on
    for (Case c : cases) {
        CommRig rig;
        rig.After(Cat({{kWake}, c.wire}), Reply(0x06, 0x14, 0x01, 0x02, 0x99));
        uint8_t reply[4] = {};
        EXPECT_EQ(rig.Exec(c.command, {c.params.data(), reply}, 1), 0) << c.command;
        EXPECT_EQ(rig.line.Written(), Cat({{kWake}, c.wire})) << c.command;
        EXPECT_EQ(Bytes(reply, reply + 4), (Bytes{0x06, 0x14, 0x01, 0x02})) << c.command;
    }
}

// One attempt only, whatever comes back: the status rules, the check byte, silence, a cut.
TEST(RecorderCommands, StatusCheckByteNoReplyAndBrokenReply) {
    // clang-format off
    struct Case { int command; Bytes reply; int result; } cases[] = {
        {6, Reply(0x06), 0},      {6, Reply(0x09), -101},  {6, Reply(0x15), -102},  {10, Reply(0x06), 0},
        {10, Reply(0x09), -101},  {10, Reply(0x00), -102}, {11, Reply(0x09), -101}, {11, Reply(0x07), -102},
        {7, Reply(0x06), 0},      {7, Reply(0x09), -102},  {8, Reply(0x09), -102},  {12, Reply(0x09), -102},
        {12, Reply(0x06), 0},     {9, Reply(0x09), 0},     {13, Reply(0x09), 0},    {14, Reply(0x09), 0},
        {15, Reply(0x00), 0},
        {kExecEnd, {0x00, 0x06, 0x00, 0x00, 0x00, 0x06}, 0},
        {kExecEnd, {0x00, 0x06, 0x00, 0x00, 0x00, 0x07}, -104},
        {kExecBegin, {}, -101},
        {kExecBegin, {0x20}, -102},
        {kExecBegin, {0x20, 0x06, 0, 0, 0}, -102},
    };
    // clang-format on
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Frame(0), c.reply);
        uint8_t params[4] = {}, reply[4] = {};
        EXPECT_EQ(rig.Exec(c.command, {params, reply}, 0, 2), c.result)
            << c.command << " " << testing::PrintToString(c.reply);
        EXPECT_EQ(rig.line.Written().size(), 6u) << "short frames are not retried";
        const std::map<int, std::vector<int>> shown = {{0, {}},
                                                       {COMM_NO_RESPONSE, {msg::kNoResponse}},
                                                       {COMM_BROKEN, {msg::kCommBroken}},
                                                       {COMM_CHECKSUM, {msg::kChecksum}}};
        EXPECT_EQ(rig.sink.ids, shown.at(c.result)) << c.command;
    }
}

TEST(RecorderCommands, MessageModesAndCommandsWithoutStorage) {
    // clang-format off
    struct Case { int command; int mode; std::vector<int> shown; } cases[] = {
        {16, 2, {57711}}, {16, 1, {57711}}, {16, 0, {}}, {-1, 2, {57711}},
        {15, 1, {57696}}, {15, 2, {}},      {15, 0, {}}, {15, 3, {}},
        {0, 0, {}}, {1, 0, {}}, {2, 0, {}}, {3, 0, {}}, {4, 0, {}}, {5, 0, {}}, // no storage given
    };
    // clang-format on
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Frame(CMD_IDENTIFY), Reply(4, 20));
        EXPECT_EQ(rig.Exec(c.command, {}, 0, c.mode), c.command == 15 ? 0 : -999);
        EXPECT_EQ(std::pair(rig.sink.ids, rig.line.Written().empty()),
                  std::pair(c.shown, c.command != 15))
            << c.command << "/" << c.mode;
    }
}

RecorderSettings SampleSettings() {
    RecorderSettings s{6, 60, "OVEN", "", 0x31, 1210000000};
    std::memcpy(s.chanName2, "12345678", 8);
    return s;
}

// The block both ways, byte for byte: retries after silence or a cut, none after a wrong check.
TEST(RecorderCommands, SettingsBlockBothWaysAndItsRetries) {
    // clang-format off
    struct Case { int command; const char* fixture; int result; } cases[] = {
        {kExecReadSettings, "read-settings.txt", 0},
        {kExecReadSettings, "read-settings-bad-check.txt", -104},
        {kExecReadSettings, "read-settings-silent.txt", -101},
        {kExecReadSettings, "read-settings-cut.txt", -102},
        {kExecWriteSettings, "write-settings-accepted.txt", 0},
        {kExecWriteSettings, "write-settings-refused.txt", -102},
        {kExecWriteSettings, "write-settings-bad-check.txt", -104},
        {kExecWriteSettings, "write-settings-silent-twice.txt", 0},
        {kExecWriteSettings, "write-settings-silent.txt", -101},
        {kExecWriteSettings, "write-settings-cut.txt", -102},
    };
    // clang-format on
    for (const Case& c : cases) {
        CommRig rig;
        const Bytes sent = rig.Play(c.fixture);
        const bool read = c.command == kExecReadSettings;
        RecorderSettings data = read ? RecorderSettings{} : SampleSettings();
        uint8_t params[4] = {1, 2, 3, 4}, reply[4] = {};
        EXPECT_EQ(rig.Exec(c.command, {params, reply, &data}), c.result) << c.fixture;
        EXPECT_EQ(rig.line.Written(), sent) << c.fixture;
        if (read && c.result == 0) {
            EXPECT_EQ(data.ToBytes(), SampleSettings().ToBytes());
        }
        if (read && sent.size() > 6) {
            // Each wake-up is followed by its pause and a drain before the request.
            std::vector<uint64_t> writes;
            for (const auto& e : rig.line.Events())
                if (e.written)
                    writes.push_back(e.us);
            EXPECT_EQ(writes[7] - writes[6], (550u + 51u) * 1000) << c.fixture;
            EXPECT_EQ(writes[14] - writes[13], (550u + 51u) * 1000) << c.fixture;
        }
    }
}

TEST(RecorderCommands, SixteenWordsBothWays) {
    std::array<uint32_t, 16> words{};
    for (uint32_t i = 0; i < 16; ++i)
        words[i] = 0xABCD0000u + i * 0x111u; // only the low 16 bits travel
    CommRig w;
    const Bytes sent = w.Play("write-words.txt");
    EXPECT_EQ(w.Exec(kExecWriteWords, {.words = &words}), 0);
    EXPECT_EQ(w.line.Written(), sent);

    // The eleventh word breaks off: the command stops there.
    CommRig rd;
    const Bytes asked = rd.Play("read-words.txt");
    std::array<uint32_t, 16> got{};
    EXPECT_EQ(rd.Exec(kExecReadWords, {.words = &got}), -102);
    EXPECT_EQ(rd.line.Written(), asked);
    EXPECT_EQ(std::pair(got[9], got[11]), std::pair(0x09000007u, 0u));
}

struct DownloadRun {
    explicit DownloadRun(uint64_t byteUs) : rig(0, byteUs) {}
    int result = 0;
    CommRig rig;
    Bytes sent; // what the saved exchange has the PC write
    CRecordingOwner owner;
    std::vector<uint8_t> buffer;
};

// A paced download as the recorder sends it: the count (at least 1), then lead, header and n
// records (Ch.1 32968 + i, Ch.2 32868 + i) with their sum; the PC ends with its pacing bytes.
std::vector<TranscriptEntry> PacedDownload(uint16_t n, size_t pacing) {
    Bytes data = {0x11, 0, 0, 0, 0, uint8_t(n), uint8_t(n >> 8)};
    for (uint32_t i = 0; i < n; ++i)
        for (uint32_t code : {32968 + i, 32868 + i})
            data.insert(data.end(), {uint8_t(code), uint8_t(code >> 8)});
    const uint16_t sum = Sum16(data);
    data.insert(data.end(), {uint8_t(sum), uint8_t(sum >> 8)});
    const uint16_t count = n ? n : 1;
    return {{0, '>', Frame(0x34)},
            {0, '<', Reply(uint8_t(count), uint8_t(count >> 8))},
            {0, '>', Frame(0x11)},
            {0, '<', data},
            {0, '>', Bytes(pacing, 0x1B)}};
}

// The data count, then the download replies of up to three attempts.
std::unique_ptr<DownloadRun> RunDownload(const std::vector<TranscriptEntry>& exchange,
                                         bool paced = true, int wake = 0, uint64_t byteUs = 0) {
    auto run = std::make_unique<DownloadRun>(byteUs);
    run->sent = run->rig.Play(exchange);
    run->buffer.assign(kDownloadBufferSize + 64, 0xCC); // guard bytes behind the buffer
    CRecorderComm comm(run->rig.Services(), 9600);
    comm.Open();
    comm.SetOwner(&run->owner);
    run->result =
        comm.Execute(paced ? kExecDownloadPaced : kExecDownload, {.buffer = run->buffer.data()},
                     wake ? Wake::First : Wake::No, ShowResult::OnFailure);
    return run;
}

// A pacing byte before each block of 1024 records; silence, a cut and a wrong sum are tried
// three times.
TEST(RecorderDownload, ExchangesAndRetries) {
    // clang-format off
    struct Case { std::string name; std::vector<TranscriptEntry> exchange; int result, attempts; bool pacing; } cases[] = {
        {"0 records", PacedDownload(0, 0), 0, 1, true},
        {"1 record", PacedDownload(1, 1), 0, 1, true},
        {"1024 records", PacedDownload(1024, 1), 0, 1, true},
        {"1025 records", PacedDownload(1025, 2), 0, 1, true},
        {"8000 records", PacedDownload(8000, 8), 0, 1, true},
        {"download-cut.txt", SavedExchange("download-cut.txt"), -102, 3, false},
        {"download-silent.txt", SavedExchange("download-silent.txt"), -101, 3, false},
        {"download-cut-then-silent.txt", SavedExchange("download-cut-then-silent.txt"), -101, 3, false},
        {"download-bad-check-twice.txt", SavedExchange("download-bad-check-twice.txt"), 0, 3, false},
        {"download-bad-check.txt", SavedExchange("download-bad-check.txt"), -104, 3, false},
        {"download-records-cut.txt", SavedExchange("download-records-cut.txt"), -102, 3, false},
        {"download-check-cut.txt", SavedExchange("download-check-cut.txt"), -102, 3, false},
        {"download-no-records.txt", SavedExchange("download-no-records.txt"), 0, 1, false},
        {"download-no-count.txt", SavedExchange("download-no-count.txt"), -101, 0, true}, // one attempt only
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto run = RunDownload(c.exchange);
        EXPECT_EQ(run->result, c.result) << c.name;
        Bytes written = run->rig.line.Written();
        if (!c.pacing)
            std::erase(written, 0x1B);
        EXPECT_EQ(written, run->sent) << c.name;
        EXPECT_EQ(run->owner.resets, c.attempts) << c.name;
    }
}

TEST(RecorderDownload, PausesAndTheRecordsInTheBuffer) {
    const auto run = RunDownload(SavedExchange("download-unpaced.txt"), false);
    EXPECT_EQ(run->result, 0);
    EXPECT_EQ(run->rig.line.Written(), run->sent);
    EXPECT_EQ(run->rig.line.Events().front().us, (500u + 51u) * 1000)
        << "pause, then the drain of the count";
    EXPECT_EQ(GetU16(&run->buffer[6]), 32768 + 200);
    EXPECT_EQ(GetU16(&run->buffer[12]), 32768 + 101);

    // wake 550 + pause 500 + drain 51 + count + drain 51: the time is taken at the request
    EXPECT_EQ(RunDownload(SavedExchange("download-paced-1-wake.txt"), true, 1)->owner.downloadTime,
              1210000000u + 1);
}

TEST(RecorderDownload, PacingByteAfterTheBlockBeforeIt) {
    const auto run = RunDownload(PacedDownload(1025, 2));
    std::vector<size_t> readBefore;
    size_t reads = 0;
    bool afterRequest = false;
    for (const auto& e : run->rig.line.Events()) {
        if (!e.written)
            ++reads;
        else if (e.byte == 0x1B && afterRequest)
            readBefore.push_back(reads);
        if (e.written && e.byte == 0x29) {
            afterRequest = true;
            reads = 0;
        }
    }
    EXPECT_EQ(readBefore, (std::vector<size_t>{7, 7 + 4096}));
}

// Records at the wire's pace are taken a few at a time, each at most 10 ms after it came.
TEST(RecorderDownload, RecordsGatherAtMostTenMilliseconds) {
    const auto run = RunDownload(PacedDownload(1025, 2), true, 0, 1042);
    ASSERT_EQ(std::pair(run->result, run->rig.line.Written()), std::pair(0, run->sent));
    uint64_t start = 0, m = 0, wakes = 0, last = 0; // the reply follows the request's check byte
    for (const auto& e : run->rig.line.Events()) {
        if (e.written && e.byte == 0x29)
            start = e.us;
        if (e.written || !start)
            continue;
        const uint64_t came = start + ++m * 1042;
        ASSERT_TRUE(e.us >= came && e.us - came <= kMaxGatherMs * 1000) << m;
        wakes += std::exchange(last, e.us) != e.us;
    }
    EXPECT_EQ(std::pair(m, wakes < m / 8), std::pair(uint64_t{7 + 4100 + 2}, true));
}

// Records that stop coming: the paced download waits longer for each than the unpaced one.
TEST(RecorderDownload, EachModeWaitsItsOwnTimeForARecord) {
    std::vector<uint64_t> waited;
    for (const bool paced : {false, true}) {
        const uint8_t code = paced ? 0x11 : 0x10;
        const Bytes data = {code, 0, 0, 0, 0, 3, 0, 0xC8, 0x80, 0x64, 0x80};
        const auto run = RunDownload(
            {{0, '>', Frame(0x34)}, {0, '<', Reply(3)}, {0, '>', Frame(code)}, {0, '<', data}},
            paced);
        EXPECT_EQ(run->result, COMM_NO_RESPONSE) << "the next attempts hear nothing";
        // The longest silence: from the last record byte read to the next attempt.
        const auto& events = run->rig.line.Events();
        uint64_t longest = 0;
        for (std::size_t i = 1; i < events.size(); ++i)
            if (!events[i - 1].written && events[i].written)
                longest = std::max(longest, events[i].us - events[i - 1].us);
        waited.push_back(longest);
    }
    // Half a second unpaced, two seconds paced (and the one millisecond that ends the wait).
    EXPECT_EQ(waited, (std::vector<uint64_t>{501000, 2001000}));
}

TEST(RecorderDownload, OversizedHeader) {
    Bytes huge = {0x11, 0, 0, 0, 0, 0x41, 0x1F}; // n = 8001, more than a channel holds
    huge.resize(huge.size() + 8001 * 4 + 2, 0x55);
    std::vector<TranscriptEntry> exchange = {{0, '>', Frame(0x34)}, {0, '<', Reply(0x41, 0x1F)}};
    for (const Bytes& request :
         {Frame(0x11), Cat({{kWake}, Frame(0x11)}), Cat({{kWake}, Frame(0x11)})}) {
        exchange.push_back({0, '>', request});
        exchange.push_back({0, '<', huge});
    }
    const auto run = RunDownload(exchange);
    EXPECT_EQ(std::tuple(run->result, run->rig.sink.ids, run->owner.headers),
              std::tuple(-102, std::vector<int>{57708}, 3));
    EXPECT_EQ(run->rig.line.Written(), run->sent) << "no record is asked for";
    // Nothing past the header was written, inside the buffer or behind it.
    for (size_t i = kDownloadHeaderSize; i < run->buffer.size(); ++i)
        ASSERT_EQ(run->buffer[i], 0xCC) << i;
}

class PortSelectTest : public DocTest {};

TEST_F(PortSelectTest, RadioIndexFromTheStoredNumberAndOkWithoutAChoiceKeepsIt) {
    // clang-format off
    struct Case { int portNo, index; } cases[] = {{1, 0}, {3, 2}, {9, 8}, {10, -1}, {0, -1}, {-4, -1}, {12, -1}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(CPortSelection(store, c.portNo).Index(), c.index) << c.portNo;
    // COM12 can be bound to a device here, so a stored 12 works and must survive an "OK" on a
    // dialog that shows no button for it.
    doc.m_nPortNo = 12;
    CPortSelection(store, 12).Apply(doc);
    EXPECT_EQ(std::pair(doc.m_nPortNo, store.GetInt(kRecorderCommSection, "PortNo", 0)),
              std::pair(12u, 12));
}

TEST_F(PortSelectTest, BindingsShowAtOnceAndReachTheStoreOnlyOnApply) {
    store.WriteString(kRecorderCommSection, "COM4", "/dev/ttyACM0");
    CPortSelection sel(store, 1);
    EXPECT_EQ(sel.DeviceOf(1), DefaultPortDevice(1));
    EXPECT_EQ(sel.DeviceOf(4), "/dev/ttyACM0");
    EXPECT_TRUE(sel.IsBound(4));

    sel.Bind(2, "/dev/ttyUSB0");
    sel.Bind(4, "");                   // back to the usual device
    sel.Bind(5, DefaultPortDevice(5)); // the usual device itself is no binding
    sel.SetIndex(1);
    EXPECT_EQ(sel.DeviceOf(2), "/dev/ttyUSB0");
    EXPECT_EQ(sel.DeviceOf(4), DefaultPortDevice(4));
    EXPECT_FALSE(sel.IsBound(5));
    // Nothing written yet: a cancelled dialog leaves the store as it was.
    EXPECT_EQ(store.GetString(kRecorderCommSection, "COM2", ""), "");
    EXPECT_EQ(PortDeviceName(4, &store), "/dev/ttyACM0");

    sel.Apply(doc);
    EXPECT_EQ(doc.m_nPortNo, 2u);
    EXPECT_EQ(store.GetInt(kRecorderCommSection, "PortNo", 0), 2);
    EXPECT_EQ(PortDeviceName(2, &store), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceName(4, &store), DefaultPortDevice(4));
    EXPECT_FALSE(store.Has(kRecorderCommSection, "COM5"));
}

// The system lists a port by one name and a binding may hold another: on Windows "COM3",
// "com3" and "\\.\COM3" open one port, elsewhere only the same path is the same device.
TEST_F(PortSelectTest, OnePortUnderEachOfItsNames) {
#ifdef _WIN32
    const bool win = true;
#else
    const bool win = false;
#endif
    struct Case {
        const char *a, *b;
        bool same;
    } cases[] = {
        {"COM3", "\\\\.\\COM3", win},
        {"com3", "\\\\.\\COM3", win},
        {"\\\\.\\COM10", "COM10", win},
        {"COM1", "\\\\.\\COM10", false},
        {"COM3", "COM4", false},
        {"", "COM1", false},
        {"/dev/ttyUSB0", "/dev/ttyUSB0", true},
        {"/dev/ttyUSB0", "/dev/ttyusb0", win},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::pair(SameSerialDevice(c.a, c.b), SameSerialDevice(c.b, c.a)),
                  std::pair(c.same, c.same))
            << c.a << " " << c.b;
    // Binding a number to the name the listing gives its own default is no binding.
    CPortSelection sel(store, 3);
    sel.Bind(3, win ? "\\\\.\\COM3" : "/dev/ttyS2");
    EXPECT_FALSE(sel.IsBound(3));
}

using C = PortCause;

DeviceFacts Usb() {
    DeviceFacts d;
    d.path = "/dev/ttyUSB0";
    d.exists = d.accessible = d.usb = d.groupReadWrite = true;
    d.group = "dialout";
    return d;
}

TEST(PortDiagnosis, CausesForTheFacts) {
    // The USB adapter with some of its facts changed; a busy system runs brltty and
    // ModemManager.
    // clang-format off
    struct Case { const char* what; bool exists, accessible, usb, inGroupList, owner, groupReadWrite, busySystem; const char* holder; std::vector<C> causes; } cases[] = {
        {"works", true, true, true, false, false, true, true, nullptr, {}},
        {"not in the group", true, false, true, false, false, true, false, nullptr, {C::kNotInGroup}},
        {"joined, not logged in again", true, false, true, true, false, true, false, nullptr, {C::kGroupNotActive}},
        {"the owner's own bits", true, false, true, true, true, true, false, nullptr, {C::kNoPermission}},
        {"the group may not open it either", true, false, true, true, false, false, false, nullptr, {C::kNoPermission}},
        {"unplugged, brltty installed", false, true, true, false, false, true, true, nullptr, {C::kMissing, C::kBrltty, C::kModemManager}},
        {"no such ttyS", false, true, false, false, false, true, true, nullptr, {C::kMissing}},
        {"probed", true, true, true, false, false, true, false, "ModemManager", {C::kBusy, C::kModemManager}},
    };
    // clang-format on
    for (const Case& c : cases) {
        DeviceFacts d = Usb();
        d.exists = c.exists;
        d.accessible = c.accessible;
        d.usb = c.usb;
        d.inGroupList = c.inGroupList;
        d.owner = c.owner;
        d.groupReadWrite = c.groupReadWrite;
        if (c.holder)
            d.holders = {{812, c.holder}};
        std::vector<C> got;
        for (const PortFinding& f : DiagnosePort(d, {"ken", c.busySystem, false, c.busySystem}))
            got.push_back(f.cause);
        EXPECT_EQ(got, c.causes) << c.what;
    }
    // In the group, the group active, and still refused: joining it again helps nothing.
    DeviceFacts in = Usb();
    in.accessible = false;
    in.inGroup = in.inGroupList = true;
    const std::vector<PortFinding> f = DiagnosePort(in, {"ken", false, false, false});
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].cause, C::kNoPermission);
}

TEST(PortDiagnosis, FindingsCarryWhatTheTextsName) {
    DeviceFacts d = Usb();
    d.accessible = false;
    d.holders = {{4711, "minicom"}};
    const auto f = DiagnosePort(d, {"ken", false, false, false});
    ASSERT_EQ(f.size(), 2u);
    ASSERT_EQ(f[1].holders.size(), 1u);
    EXPECT_EQ(std::tuple(f[0].group, f[0].user, f[1].holders[0].command),
              std::tuple("dialout", "ken", "minicom"));
    EXPECT_EQ(BindingPathOf(d), "/dev/ttyUSB0");
    d.byIdPath = "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0";
    EXPECT_EQ(BindingPathOf(d), d.byIdPath);
    // brltty leaves no adapter to look at: named for the list when no USB adapter shows.
    EXPECT_EQ(DiagnoseSystem({"ken", true, false, false}, false).size(), 1u);
    EXPECT_TRUE(DiagnoseSystem({"ken", true, false, false}, true).empty());
}

TEST(PortDiagnosis, WindowsCausesForTheOpenError) {
    // clang-format off
    struct Case { const char* what; bool listed; unsigned long error; bool driverless; std::vector<C> causes; } cases[] = {
        {"opened", true, 0, false, {}},
        {"opened, some other adapter driverless", true, 0, true, {}},
        {"held by another program", true, kWinAccessDenied, false, {C::kInUse}},
        {"shared open refused", true, kWinSharingViolation, true, {C::kInUse}},
        {"no such port", false, kWinFileNotFound, false, {C::kNoSuchPort}},
        {"listed, gone when opened", true, kWinPathNotFound, false, {C::kNoSuchPort}},
        {"the adapter has no driver", false, kWinFileNotFound, true, {C::kNoSuchPort, C::kNoDriver}},
        {"not listed, some other error", false, 31, true, {C::kNoSuchPort, C::kNoDriver}},
        {"listed, some other error", true, 31, true, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<C> got;
        for (const PortFinding& f : DiagnoseWindowsPort({c.listed, c.error, c.driverless}))
            got.push_back(f.cause);
        EXPECT_EQ(got, c.causes) << c.what;
    }
}

} // namespace
} // namespace saroko::test
