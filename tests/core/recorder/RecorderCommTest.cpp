// The sixteen commands on the wire, byte for byte, with their check, status, time-out and
// retry rules, against a scripted recorder on an in-memory line.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "CommRig.h"
#include "recorder/RecorderSettings.h"
#include "settings/SettingsStore.h"

namespace saroko::test {
namespace {

constexpr uint8_t kWake = 0x00;

TEST(RecorderFrames, ShortRequestsByteForByte) {
    struct Case {
        uint8_t code;
        std::array<uint8_t, 4> p;
        std::array<uint8_t, 6> wire;
    } cases[] = {
        {0x35, {0, 0, 0, 0}, {0x35, 0, 0, 0, 0, 0x4D}},
        {0x25, {0, 0, 0, 0}, {0x25, 0, 0, 0, 0, 0x3D}},
        {0x10, {0, 0, 0, 0}, {0x10, 0, 0, 0, 0, 0x28}},
        {0x11, {0, 0, 0, 0}, {0x11, 0, 0, 0, 0, 0x29}},
        {0x34, {0, 0, 0, 0}, {0x34, 0, 0, 0, 0, 0x4C}},
        {0x31, {0x58, 0x02, 0, 0}, {0x31, 0x58, 0x02, 0, 0, 0xA3}},
        {0x22, {0x03, 0x00, 0x34, 0x12}, {0x22, 0x03, 0x00, 0x34, 0x12, 0x83}},
        {0xFF, {0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x13}}, // sum wraps
    };
    for (const Case& c : cases) {
        const ShortFrame f = MakeShortRequest(c.code, std::span<const uint8_t, 4>(c.p));
        EXPECT_EQ(f, c.wire) << std::hex << int(c.code);
    }
}

TEST(RecorderFrames, BlockWriteCarriesSixteenBitSumWithBias) {
    RecorderSettings s;
    s.flags = 2;
    s.intervalSec = 10;
    s.chanName1[0] = 'A';
    s.chanName2[0] = 'B';
    s.startMode = 0x30;
    s.startTime = 0x12345678;
    const BlockWriteFrame f = MakeBlockWrite(s.ToBytes());
    EXPECT_EQ(f[0], 0x24);
    EXPECT_EQ(f[1], 0x02);
    EXPECT_EQ(f[3], 0x0A);
    // 0x24 + 467 + 0x18 = 0x020F
    EXPECT_EQ(f[33], 0x0F);
    EXPECT_EQ(f[34], 0x02);
}

TEST(RecorderFrames, ResultCodesShowTheirMessages) {
    const std::pair<int, int> table[] = {
        {0, 57696},    {-1, 57697},   {-2, 57704},  {-3, 57703},   {-4, 57702},   {-5, 57700},
        {-10, 57701},  {-11, 57699},  {-12, 57698}, {-101, 57705}, {-102, 57708}, {-103, 57709},
        {-104, 57710}, {-999, 57711}, {-200, 0},    {-6, 0},       {1, 0},
    };
    for (auto [code, id] : table)
        EXPECT_EQ(CommResultMessageId(code), id) << code;
}

TEST(RecorderPort, DeviceNamesForComNumbers) {
    CMemorySettingsStore store;
    store.WriteString("KM4x Communication Section", "COM3", "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceName(1, nullptr), "/dev/ttyS0");
    EXPECT_EQ(PortDeviceName(9, &store), "/dev/ttyS8");
    EXPECT_EQ(PortDeviceName(10, &store), "/dev/ttyS9");
    EXPECT_EQ(PortDeviceName(3, &store), "/dev/ttyUSB0");
}

TEST(RecorderPort, OpenFailuresShowTheirMessageOnce) {
    for (auto [code, id] : {std::pair{-1, 57697}, {-5, 57700}, {-999, 57711}}) {
        CommRig rig;
        rig.line.SetOpenResult(code);
        int r = 0;
        CRecorderComm comm(rig.Services(), 4, 9600, r);
        EXPECT_EQ(r, code);
        EXPECT_EQ(rig.sink.ids, std::vector<int>{id});
        EXPECT_EQ(rig.line.Device(), "/dev/ttyTEST");
    }
    CommRig rig;
    int r = 0;
    CRecorderComm comm(rig.Services(), 1, 9600, r);
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(rig.sink.ids.empty());
    EXPECT_EQ(comm.ShowCommResult(-200), -200);
    EXPECT_TRUE(rig.sink.ids.empty());
}

TEST(RecorderPort, ReadByteTimeOutEdges) {
    struct Case {
        uint64_t startUs;
        int64_t byteAtMs; // -1: nothing comes
        int result;
        uint64_t endMs; // clock after the call, relative to the start
    } cases[] = {
        {0, 0, 0, 0},
        {0, 499, 0, 499},
        {0, 500, 0, 500},
        {0, 502, 1, 501},
        {0, -1, 1, 501},
        // The tick count wraps during the wait.
        {(uint64_t{1} << 32) * 1000 - 100000, -1, 1, 501},
        {(uint64_t{1} << 32) * 1000 - 100000, 300, 0, 300},
    };
    for (const Case& c : cases) {
        CTimedPeer peer;
        if (c.byteAtMs >= 0) peer.At(c.startUs + static_cast<uint64_t>(c.byteAtMs) * 1000, 0x5A);
        CMemoryLine line(peer, c.startUs);
        line.Open("x", 9600);
        uint8_t b = 0;
        EXPECT_EQ(line.ReadByte(b, 500), c.result) << c.byteAtMs;
        EXPECT_EQ((line.NowUs() - c.startUs) / 1000, c.endMs) << c.byteAtMs;
        if (c.result == 0) {
            EXPECT_EQ(b, 0x5A);
        }
    }
}

TEST(RecorderPort, DrainWaitsForFiftyQuietMilliseconds) {
    CTimedPeer quiet;
    CMemoryLine q(quiet);
    CommServices s;
    s.line = &q;
    int r = 0;
    CRecorderComm a(s, 1, 9600, r);
    a.DrainInput();
    EXPECT_EQ(q.NowUs(), 51000u);

    CTimedPeer chatty;
    for (uint64_t t = 0; t <= 300; t += 30)
        chatty.At(t * 1000, 0x11);
    CMemoryLine c(chatty);
    s.line = &c;
    CRecorderComm b(s, 1, 9600, r);
    b.DrainInput();
    EXPECT_EQ(c.NowUs(), (300u + 51u) * 1000);
    EXPECT_EQ(c.Read().size(), 10u) << "the byte waiting at open is purged";
}

TEST(RecorderPort, WakeWritesZeroThenPauses) {
    CommRig rig;
    int r = 0;
    CRecorderComm comm(rig.Services(), 1, 9600, r);
    comm.WakeRecorder();
    EXPECT_EQ(rig.line.Written(), Bytes{kWake});
    EXPECT_EQ(rig.line.NowUs(), 550000u);
    // A failed write skips the pause.
    rig.line.FailWritesAfter(1);
    comm.WakeRecorder();
    EXPECT_EQ(rig.line.NowUs(), 550000u);
}

// Commands 6..15: one frame out, one reply in.
TEST(RecorderCommands, ShortFramesOnTheWire) {
    struct Case {
        int command;
        std::array<uint8_t, 4> params;
        Bytes wire;
    } cases[] = {
        {6, {0, 0, 0, 0}, {0x20, 0, 0, 0, 0, 0x38}},
        {7, {0, 0, 0, 0}, {0x21, 0, 0, 0, 0, 0x39}},
        {8, {0x03, 0x00, 0x34, 0x12}, {0x22, 0x03, 0x00, 0x34, 0x12, 0x83}},
        {9, {0x05, 0, 0, 0}, {0x23, 0x05, 0, 0, 0, 0x40}},
        {10, {0, 0, 0, 0}, {0x30, 0, 0, 0, 0, 0x48}},
        {11, {0x01, 0, 0, 0}, {0x31, 0x01, 0, 0, 0, 0x4A}},
        {12, {0, 0, 0, 0}, {0x32, 0, 0, 0, 0, 0x4A}},
        {13, {0xAA, 0xBB, 0xCC, 0xDD}, {0x33, 0xAA, 0xBB, 0xCC, 0xDD, 0x59}},
        {14, {0, 0, 0, 0}, {0x34, 0, 0, 0, 0, 0x4C}},
        {15, {0, 0, 0, 0}, {0x35, 0, 0, 0, 0, 0x4D}},
    };
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Cat({{kWake}, c.wire}), Reply(0x06, 0x14, 0x01, 0x02, 0x99));
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        uint8_t params[4], reply[4] = {};
        std::memcpy(params, c.params.data(), 4);
        CommandBlock block;
        block.params = params;
        block.reply = reply;
        EXPECT_EQ(comm.Execute(c.command, block, 1, 0), 0) << c.command;
        EXPECT_EQ(rig.line.Written(), Cat({{kWake}, c.wire})) << c.command;
        EXPECT_EQ(Bytes(reply, reply + 4), (Bytes{0x06, 0x14, 0x01, 0x02})) << c.command;
    }
}

TEST(RecorderCommands, StatusRules) {
    struct Case {
        int command;
        uint8_t d0;
        int result;
    } cases[] = {
        {6, 0x06, 0},     {6, 0x09, -101},  {6, 0x15, -102},  {10, 0x06, 0}, {10, 0x09, -101},
        {10, 0x00, -102}, {11, 0x09, -101}, {11, 0x07, -102}, {7, 0x06, 0},  {7, 0x09, -102},
        {8, 0x09, -102},  {12, 0x09, -102}, {12, 0x06, 0},    {9, 0x09, 0},  {13, 0x09, 0},
        {14, 0x09, 0},    {15, 0x00, 0},
    };
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Frame(0), Reply(c.d0));
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        uint8_t params[4] = {}, reply[4] = {};
        CommandBlock block{params, reply};
        EXPECT_EQ(comm.Execute(c.command, block, 0, 2), c.result) << c.command << " " << int(c.d0);
        const std::vector<int> shown =
            c.result == 0 ? std::vector<int>{} : std::vector<int>{CommResultMessageId(c.result)};
        EXPECT_EQ(rig.sink.ids, shown) << c.command;
    }
}

TEST(RecorderCommands, ShortReplyCheckByte) {
    for (auto [check, result] : {std::pair{0x06, 0}, {0x07, -104}}) {
        CommRig rig;
        rig.After(Frame(CMD_END), Bytes{0x00, 0x06, 0x00, 0x00, 0x00, static_cast<uint8_t>(check)});
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        CommandBlock block;
        EXPECT_EQ(comm.Execute(kExecEnd, block, 0, 0), result);
        EXPECT_EQ(rig.line.Written(), Frame(CMD_END)); // no retry
    }
}

TEST(RecorderCommands, NoReplyVersusBrokenReplyAndOneAttempt) {
    struct Case {
        Bytes reply;
        int result;
    } cases[] = {{{}, -101}, {{0x20}, -102}, {{0x20, 0x06, 0, 0, 0}, -102}};
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Frame(CMD_BEGIN), c.reply);
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        CommandBlock block;
        EXPECT_EQ(comm.Execute(kExecBegin, block, 0, 2), c.result);
        EXPECT_EQ(rig.line.Written(), Frame(CMD_BEGIN)) << "short frames are not retried";
        EXPECT_EQ(rig.sink.ids, std::vector<int>{CommResultMessageId(c.result)});
    }
}

TEST(RecorderCommands, MessageModes) {
    struct Case {
        int command;
        int mode;
        std::vector<int> shown;
    } cases[] = {
        {16, 2, {57711}}, {16, 1, {57711}}, {16, 0, {}}, {-1, 2, {57711}},
        {15, 1, {57696}}, {15, 2, {}},      {15, 0, {}}, {15, 3, {}},
    };
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Frame(CMD_IDENTIFY), Reply(4, 20));
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        CommandBlock block;
        const int result = comm.Execute(c.command, block, 0, c.mode);
        EXPECT_EQ(result, c.command == 15 ? 0 : -999);
        EXPECT_EQ(rig.sink.ids, c.shown) << c.command << "/" << c.mode;
    }
}

TEST(RecorderCommands, CommandsWithoutTheirStorageFail) {
    for (int command : {0, 1, 2, 3, 4, 5}) {
        CommRig rig;
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        CommandBlock block;
        EXPECT_EQ(comm.Execute(command, block, 0, 0), -999) << command;
        EXPECT_TRUE(rig.line.Written().empty()) << command;
    }
}

RecorderSettings SampleSettings() {
    RecorderSettings s;
    s.flags = 6;
    s.intervalSec = 60;
    std::memcpy(s.chanName1, "OVEN", 4);
    std::memcpy(s.chanName2, "12345678", 8);
    s.startMode = 0x31;
    s.startTime = 1210000000;
    return s;
}

TEST(RecorderCommands, ReadSettingsBlock) {
    const RecorderSettings s = SampleSettings();
    const BlockReadReply good = MakeBlockReadReply(0x25, s.ToBytes());
    Bytes bad(good.begin(), good.end());
    bad[34] ^= 1;
    struct Case {
        Bytes reply;
        int result;
        Bytes written;
    } cases[] = {
        {Bytes(good.begin(), good.end()), 0, Frame(CMD_READ_BLOCK)},
        {bad, -104, Frame(CMD_READ_BLOCK)}, // no retry on a wrong check
    };
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Frame(CMD_READ_BLOCK), c.reply);
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        RecorderSettings got;
        CommandBlock block;
        block.data = &got;
        EXPECT_EQ(comm.Execute(kExecReadSettings, block, 0, 0), c.result);
        EXPECT_EQ(rig.line.Written(), c.written);
        if (c.result == 0) {
            EXPECT_EQ(got.ToBytes(), s.ToBytes());
        }
    }
}

TEST(RecorderCommands, BlockReadRetriesThreeTimesWithWakeUps) {
    struct Case {
        Bytes lastReply;
        int result;
    } cases[] = {{{}, -101}, {{0x25, 1, 2}, -102}};
    for (const Case& c : cases) {
        CommRig rig;
        const Bytes req = Frame(CMD_READ_BLOCK);
        rig.Sent(req);
        rig.Sent({kWake});
        rig.Sent(req);
        rig.Sent({kWake});
        rig.After(req, c.lastReply);
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        RecorderSettings got;
        CommandBlock block;
        block.data = &got;
        EXPECT_EQ(comm.Execute(kExecReadSettings, block, 0, 0), c.result);
        EXPECT_EQ(rig.line.Written(), Cat({req, {kWake}, req, {kWake}, req}));
        // Each wake-up is followed by its pause and a drain before the request.
        std::vector<uint64_t> writes;
        for (const auto& e : rig.line.Events())
            if (e.written) writes.push_back(e.us);
        EXPECT_EQ(writes[7] - writes[6], (550u + 51u) * 1000);
        EXPECT_EQ(writes[14] - writes[13], (550u + 51u) * 1000);
    }
}

TEST(RecorderCommands, WriteSettingsSequenceAndRules) {
    const RecorderSettings s = SampleSettings();
    const BlockWriteFrame bw = MakeBlockWrite(s.ToBytes());
    const Bytes block(bw.begin(), bw.end());
    struct Case {
        const char* name;
        std::vector<Bytes> blockReplies; // one per attempt
        int result;
        Bytes written;
    } cases[] = {
        {"accepted", {Reply(6)}, 0, Cat({Frame(0x20), block, Frame(0x21)})},
        {"refused", {Reply(9)}, -102, Cat({Frame(0x20), block})},
        {"bad check", {Cat({Bytes{0, 6, 0, 0, 0, 7}})}, -104, Cat({Frame(0x20), block})},
        {"silent twice",
         {{}, {}, Reply(6)},
         0,
         Cat({Frame(0x20), block, {kWake}, block, {kWake}, block, Frame(0x21)})},
        {"silent", {{}, {}, {}}, -101, Cat({Frame(0x20), block, {kWake}, block, {kWake}, block})},
        {"cut",
         {{}, {}, {0x24, 0x06}},
         -102,
         Cat({Frame(0x20), block, {kWake}, block, {kWake}, block})},
    };
    for (const Case& c : cases) {
        CommRig rig;
        rig.After(Frame(0x20), Reply(6));
        for (std::size_t i = 0; i < c.blockReplies.size(); ++i) {
            if (i > 0) rig.Sent({kWake});
            rig.After(block, c.blockReplies[i]);
        }
        rig.After(Frame(0x21), Reply(6));
        int r = 0;
        CRecorderComm comm(rig.Services(), 1, 9600, r);
        RecorderSettings data = s;
        uint8_t params[4] = {1, 2, 3, 4}, reply[4] = {};
        CommandBlock cb{params, reply, &data};
        EXPECT_EQ(comm.Execute(kExecWriteSettings, cb, 0, 0), c.result) << c.name;
        EXPECT_EQ(rig.line.Written(), c.written) << c.name;
    }
}

TEST(RecorderCommands, SixteenWordsBothWays) {
    std::array<uint32_t, 16> words{};
    Bytes expect = Frame(0x20);
    CommRig w;
    w.After(Frame(0x20), Reply(6));
    for (uint8_t i = 0; i < 16; ++i) {
        words[i] = 0xABCD0000u + i * 0x111u; // only the low 16 bits travel
        const Bytes f =
            Frame(0x22, i, 0, static_cast<uint8_t>(words[i]), static_cast<uint8_t>(words[i] >> 8));
        w.After(f, Reply(6));
        expect = Cat({expect, f});
    }
    w.After(Frame(0x21), Reply(6));
    expect = Cat({expect, Frame(0x21)});
    int r = 0;
    {
        CRecorderComm comm(w.Services(), 1, 9600, r);
        CommandBlock cb;
        cb.words = &words;
        EXPECT_EQ(comm.Execute(kExecWriteWords, cb, 0, 0), 0);
        EXPECT_EQ(w.line.Written(), expect);
    }

    CommRig rd;
    Bytes expectRead;
    for (uint8_t i = 0; i < 16; ++i) {
        const Bytes f = Frame(0x23, i);
        // The eleventh word breaks off: the command stops there.
        rd.After(f, i == 10 ? Bytes{0x23, 1} : ReplyU32(0x01000000u * i + 7));
        if (i <= 10) expectRead = Cat({expectRead, f});
    }
    std::array<uint32_t, 16> got{};
    CRecorderComm comm(rd.Services(), 1, 9600, r);
    CommandBlock cb;
    cb.words = &got;
    EXPECT_EQ(comm.Execute(kExecReadWords, cb, 0, 0), -102);
    EXPECT_EQ(rd.line.Written(), expectRead);
    EXPECT_EQ(got[9], 0x09000007u);
    EXPECT_EQ(got[11], 0u);
}

struct DownloadRun {
    int result = 0;
    Bytes written;
    CRecordingOwner owner;
    std::vector<uint8_t> buffer;
    std::vector<int> shown;
    uint64_t firstWriteUs = 0;
};

// Data count n, then the download replies of up to three attempts.
DownloadRun RunDownload(bool paced, uint32_t count, const std::vector<Bytes>& attempts) {
    CommRig rig;
    const Bytes req = Frame(paced ? 0x11 : 0x10);
    rig.After(Frame(0x34), ReplyU32(count));
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        if (i > 0) rig.Sent({kWake});
        rig.After(req, attempts[i]);
    }
    DownloadRun run;
    run.buffer.assign(kDownloadBufferSize + 64, 0xCC); // guard bytes behind the buffer
    int r = 0;
    CRecorderComm comm(rig.Services(), 1, 9600, r);
    comm.SetOwner(&run.owner);
    CommandBlock cb;
    cb.buffer = run.buffer.data();
    run.result = comm.Execute(paced ? kExecDownloadPaced : kExecDownload, cb, 0, 2);
    run.written = rig.line.Written();
    run.shown = rig.sink.ids;
    run.firstWriteUs = rig.line.Events().empty() ? 0 : rig.line.Events().front().us;
    return run;
}

size_t CountByte(const Bytes& b, uint8_t v) {
    return static_cast<size_t>(std::count(b.begin(), b.end(), v));
}

TEST(RecorderDownload, RequestsAndPauses) {
    const DownloadRun run = RunDownload(false, 2, {DownloadReply(5, 2, 0, 0x10)});
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.written, Cat({Frame(0x34), Frame(0x10)}));
    EXPECT_EQ(run.firstWriteUs, (500u + 51u) * 1000) << "pause, then the drain of the count";
    EXPECT_EQ(run.owner.total, "/    2");
    EXPECT_EQ(run.owner.received, "   2");
    EXPECT_EQ(run.owner.resets, 1);
    EXPECT_EQ(run.owner.headers, 1);
    EXPECT_EQ(GetU16(&run.buffer[6]), 32768 + 200);
    EXPECT_EQ(GetU16(&run.buffer[12]), 32768 + 101);
}

TEST(RecorderDownload, PacingBytesPerFourKilobytes) {
    struct Case {
        uint16_t n;
        size_t pacing;
    } cases[] = {{0, 0}, {1, 1}, {1024, 1}, {1025, 2}, {2048, 2}, {2049, 3}, {8000, 8}};
    for (const Case& c : cases) {
        const DownloadRun run = RunDownload(true, c.n ? c.n : 1, {DownloadReply(0, c.n)});
        EXPECT_EQ(run.result, 0) << c.n;
        const Bytes tail(run.written.begin() + 12, run.written.end());
        EXPECT_EQ(Bytes(run.written.begin(), run.written.begin() + 12),
                  Cat({Frame(0x34), Frame(0x11)}));
        EXPECT_EQ(tail, Bytes(c.pacing, 0x1B)) << c.n;
    }
}

TEST(RecorderDownload, PacingByteGoesBeforeEachBlock) {
    CommRig rig;
    rig.After(Frame(0x34), ReplyU32(1025));
    rig.After(Frame(0x11), DownloadReply(0, 1025));
    std::vector<uint8_t> buffer(kDownloadBufferSize);
    int r = 0;
    CRecorderComm comm(rig.Services(), 1, 9600, r);
    CommandBlock cb;
    cb.buffer = buffer.data();
    ASSERT_EQ(comm.Execute(kExecDownloadPaced, cb, 0, 0), 0);
    std::vector<size_t> readBefore;
    size_t reads = 0;
    bool afterRequest = false;
    for (const auto& e : rig.line.Events()) {
        if (!e.written)
            ++reads;
        else if (e.byte == 0x1B && afterRequest)
            readBefore.push_back(reads);
        if (e.written && e.byte == 0x29) afterRequest = true, reads = 0;
    }
    EXPECT_EQ(readBefore, (std::vector<size_t>{7, 7 + 4096}));
}

TEST(RecorderDownload, FailuresAndRetries) {
    const Bytes req = Frame(0x11);
    const Bytes cut = {0x11, 0x00, 0x00, 0x00}; // lead and part of the header
    const Bytes full = DownloadReply(0, 3);
    const Bytes recordsCut(full.begin(), full.begin() + 12), checkCut(full.begin(), full.end() - 1);
    struct Case {
        const char* name;
        std::vector<Bytes> attempts;
        int result;
        int requests;
    } cases[] = {
        {"cut off, repeated twice", {cut, cut, cut}, -102, 3},
        {"silent", {{}, {}, {}}, -101, 3},
        {"cut, then silent", {cut, cut, {}}, -101, 3},
        {"check twice wrong",
         {DownloadReply(0, 3, 1), DownloadReply(0, 3, -1), DownloadReply(0, 3)},
         0,
         3},
        {"check always wrong",
         {DownloadReply(0, 3, 1), DownloadReply(0, 3, 1), DownloadReply(0, 3, 1)},
         -104,
         3},
        {"records cut", {recordsCut, recordsCut, recordsCut}, -102, 3},
        {"check cut", {checkCut, checkCut, checkCut}, -102, 3},
        {"n = 0", {DownloadReply(0, 0)}, 0, 1},
    };
    for (const Case& c : cases) {
        const DownloadRun run = RunDownload(true, 3, c.attempts);
        EXPECT_EQ(run.result, c.result) << c.name;
        Bytes requests;
        for (int i = 0; i < c.requests; ++i)
            requests = Cat({requests, i ? Bytes{kWake} : Bytes{}, req});
        Bytes written;
        for (uint8_t b : run.written)
            if (b != 0x1B) written.push_back(b);
        EXPECT_EQ(written, Cat({Frame(0x34), requests})) << c.name;
        EXPECT_EQ(run.owner.resets, c.requests) << c.name;
    }
}

TEST(RecorderDownload, NoDataAndFailedCount) {
    DownloadRun run = RunDownload(true, 0, {});
    EXPECT_EQ(run.result, -103);
    EXPECT_EQ(run.written, Frame(0x34));
    EXPECT_EQ(run.shown, std::vector<int>{57709});
    EXPECT_EQ(run.owner.resets, 0);

    CommRig rig; // no answer to the count: one attempt only
    std::vector<uint8_t> buffer(kDownloadBufferSize);
    int r = 0;
    CRecorderComm comm(rig.Services(), 1, 9600, r);
    CommandBlock cb;
    cb.buffer = buffer.data();
    EXPECT_EQ(comm.Execute(kExecDownloadPaced, cb, 0, 0), -101);
    EXPECT_EQ(rig.line.Written(), Frame(0x34));
}

TEST(RecorderDownload, OversizedHeaderIsABrokenReplyAndStaysInTheBuffer) {
    Bytes huge = {0x11, 0, 0, 0, 0, 0x41, 0x1F}; // n = 8001
    huge.resize(huge.size() + 8001 * 4 + 2, 0x55);
    const DownloadRun run = RunDownload(true, 8001, {huge, huge, huge});
    EXPECT_EQ(run.result, -102);
    EXPECT_EQ(run.shown, std::vector<int>{57708});
    EXPECT_EQ(run.owner.headers, 3);
    EXPECT_EQ(CountByte(run.written, 0x1B), 0u) << "no record is asked for";
    // Nothing past the header was written, inside the buffer or behind it.
    for (size_t i = kDownloadHeaderSize; i < run.buffer.size(); ++i)
        ASSERT_EQ(run.buffer[i], 0xCC) << i;
}

TEST(RecorderDownload, ProgressInTwentySteps) {
    const DownloadRun run = RunDownload(false, 40, {DownloadReply(0, 40, 0, 0x10)});
    ASSERT_EQ(run.result, 0);
    std::vector<int> steps;
    for (int i = 1; i <= 20; ++i)
        steps.push_back(i);
    EXPECT_EQ(run.owner.painted, steps);
    EXPECT_EQ(run.owner.received, "  40");
    EXPECT_EQ(run.owner.total, "/   40");
}

TEST(RecorderDownload, DownloadTimeIsTakenAtTheRequest) {
    CommRig rig;
    rig.After(Frame(0x34), ReplyU32(1));
    rig.After(Frame(0x11), DownloadReply(0, 1));
    std::vector<uint8_t> buffer(kDownloadBufferSize);
    CRecordingOwner owner;
    int r = 0;
    CRecorderComm comm(rig.Services(), 1, 9600, r);
    comm.SetOwner(&owner);
    CommandBlock cb;
    cb.buffer = buffer.data();
    ASSERT_EQ(comm.Execute(kExecDownloadPaced, cb, 1, 0), 0);
    // wake 550 + pause 500 + drain 51 + count + drain 51
    EXPECT_EQ(owner.downloadTime, 1210000000u + 1);
}

} // namespace
} // namespace saroko::test
