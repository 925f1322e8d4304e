// The transcript kept of every exchange: written only once a byte went over the line, so an
// exchange that never began leaves no file and names none.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>

#include "core/TestSupport.h"
#include "core/recorder/CommRig.h"

namespace saroko::test {
namespace {

namespace fs = std::filesystem;
using KeptTranscriptTest = DocTest;

TEST_F(KeptTranscriptTest, KeptOnlyOnceAByteWentOverTheLine) {
    // clang-format off
    struct Case { const char* name; int openResult; std::size_t writable; bool write, peerSends, kept; } cases[] = {
        {"the port does not open",    -1, SIZE_MAX, true,  true,  false},
        {"opened, nothing went over",  0, SIZE_MAX, false, false, false},
        {"the only write failed",      0, 0,        true,  false, false},
        {"one byte written",           0, 1,        true,  false, true},
        {"one byte read",              0, SIZE_MAX, false, true,  true},
    };
    // clang-format on
    const std::string last = Path(kLastTranscript), previous = Path(kPreviousTranscript);
    for (const Case& c : cases) {
        fs::remove(previous);
        WriteAll(last, "the exchange before\n");
        CTimedPeer peer(c.peerSends ? std::vector<std::pair<uint64_t, uint8_t>>{{0, 0x41}}
                                    : std::vector<std::pair<uint64_t, uint8_t>>{});
        CMemoryLine line(peer);
        line.SetOpenResult(c.openResult);
        line.FailWritesAfter(c.writable);
        CKeptTranscriptLine kept(line, dir.string());
        if (kept.Open("/dev/ttyTEST", 9600) == 0) {
            if (c.write)
                kept.WriteByte(0x35);
            uint8_t b = 0;
            kept.ReadByte(b, 10);
            kept.Close();
        }
        EXPECT_EQ(kept.Path(), c.kept ? last : std::string()) << c.name;
        EXPECT_EQ(ReadAll(previous), c.kept ? "the exchange before\n" : "") << c.name;
        const std::vector<TranscriptEntry> t = ParseTranscript(ReadAll(last));
        const Bytes sent{c.write ? uint8_t{0x35} : uint8_t{0x41}};
        if (c.kept) {
            EXPECT_EQ(t.size() == 1 ? t[0].bytes : Bytes{}, sent) << c.name;
        } else {
            EXPECT_EQ(ReadAll(last), "the exchange before\n") << c.name;
        }
    }

    // A failure's message names the file only of an exchange that began.
    for (const int openResult : {COMM_OPEN_FAILED, COMM_OK}) {
        CommRig rig; // a recorder that does not answer
        rig.line.SetOpenResult(openResult);
        CKeptTranscriptLine kept(rig.line, Path("comm"));
        CommServices services = rig.Services();
        services.line = &kept;
        services.transcript = &kept;
        CRecorderComm comm(services, 9600);
        if (const int r = comm.Open(); r < 0)
            comm.ShowCommResult(r);
        else
            comm.Execute(kExecBegin, {}, Wake::First, ShowResult::OnFailure);
        ASSERT_EQ(rig.sink.extras.size(), 1u);
        const bool named = rig.sink.extras[0].ends_with(
            "\n" + (fs::path(Path("comm")) / kLastTranscript).string());
        EXPECT_EQ(named, openResult == COMM_OK) << rig.sink.extras[0];
        EXPECT_EQ(fs::exists(Path("comm")), openResult == COMM_OK);
    }
}

// A transcript line holds one direction's bytes, 16 at most, until a pause of 20 ms; notes
// have lines of their own. Every line starts with its time since the first.
TEST(TranscriptLines, SixteenBytesOneDirectionUntilAPause) {
    CTimedPeer peer({{1'234'000, 0x41}, {1'253'000, 0x42}, {1'273'000, 0x43}});
    CMemoryLine line(peer);
    std::ostringstream text;
    {
        CTranscriptLine t(line, text);
        t.Open("/dev/ttyTEST", 9600);
        for (uint8_t i = 0; i < 17; ++i)
            t.WriteByte(i);
        uint8_t b = 0;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(t.ReadByte(b, 2000), 0);
        t.Close();
    }
    EXPECT_EQ(text.str(), "      0.000 # open /dev/ttyTEST 9600 baud: 0\n"
                          "      0.000 > 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n"
                          "      0.000 > 10\n"
                          "      1.234 < 41 42\n"
                          "      1.273 < 43\n"
                          "      1.273 # close\n");
}

} // namespace
} // namespace saroko::test
