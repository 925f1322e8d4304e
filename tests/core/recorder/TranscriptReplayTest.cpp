// A saved transcript of a real download replays as the recorder's side: the program must
// send exactly the bytes it sent then, and fill the channels from what came back.
#include <gtest/gtest.h>

#include "CommRig.h"
#include "core/TestSupport.h"
#include "recorder/Download.h"

namespace saroko::test {
namespace {

class TranscriptReplay : public DocTest {};

TEST_F(TranscriptReplay, SavedDownloadReplaysByteForByte) {
    CommRig rig;
    const Bytes sent = rig.Play("download-3-records.txt");
    CRecordingOwner owner;
    CRecorderDownload dl(rig.Services(), doc, owner);
    ASSERT_EQ(dl.Run(1, 2), 0);
    EXPECT_EQ(rig.line.Written(), sent);

    const ChannelRecord& a = *doc.GetChannel(1);
    const ChannelRecord& b = *doc.GetChannel(2);
    EXPECT_STREQ(a.name, "OVEN");
    EXPECT_STREQ(b.name, "DUCT");
    EXPECT_EQ(a.interval, 60u);
    EXPECT_EQ(a.startTime, 0x6B15719Au);
    EXPECT_EQ(std::vector<uint16_t>(a.samples, a.samples + 4),
              (std::vector<uint16_t>{0x80DA, 0x80DB, 0x80DF, kCodeEnd}));
    EXPECT_EQ(std::vector<uint16_t>(b.samples, b.samples + 3),
              (std::vector<uint16_t>{0x80BA, 0x80BE, 0x80BD}));
}

} // namespace
} // namespace saroko::test
