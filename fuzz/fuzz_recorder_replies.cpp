// Arbitrary recorder replies against the protocol and the download: the line is in memory,
// the replies arrive in chunks after the PC has written a chosen number of bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzDoc.h"
#include "core/document/ZorvicDoc.h"
#include "core/recorder/CommandTest.h"
#include "core/recorder/Download.h"
#include "core/recorder/MemoryLine.h"
#include "core/settings/SettingsStore.h"

namespace {

class CQuietSink final : public saroko::IMessageSink {
public:
    int ShowMessage(int, std::string_view) override { return saroko::kIdYes; }
};

class CQuietOwner final : public saroko::IDownloadOwner {
public:
    void ResetStatus() override {}
    void ShowHeader() override {}
    void SetTotalText(const std::string&) override {}
    void SetReceivedText(const std::string&) override {}
    void PaintProgress() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    if (size < 3)
        return 0;
    const uint8_t mode = data[0];
    CScriptedPeer peer(uint64_t{data[1]} * 50); // byte spacing up to 12.75 ms
    const uint8_t firstParam = data[2];
    // Chunks: [bytes the PC must have written first][length][bytes]; length 255 takes the rest.
    std::size_t pos = 3, after = 0;
    while (pos + 2 <= size) {
        after += data[pos];
        std::size_t len = data[pos + 1];
        pos += 2;
        if (len == 255 || pos + len > size)
            len = size - pos;
        peer.AddReply(after, std::vector<uint8_t>(data + pos, data + pos + len));
        pos += len;
    }

    CMemoryLine line(peer);
    CMemoryLineClock clock(line, 1210000000u);
    CQuietSink sink;
    CommServices services{&line, &sink, &clock, {1, "/dev/fuzz"}};

    if (mode < 64) {
        // One document for the run, on this input's empty store and line clock.
        static fuzz::CForwardStore forward;
        static fuzz::CForwardClock forwardClock;
        static CZorvicDoc doc(forward, forwardClock);
        CMemorySettingsStore store;
        forward.target = &store;
        forwardClock.target = &clock;
        doc.OnNewDocument();
        CQuietOwner owner;
        CRecorderDownload download(services, doc, owner);
        const int t1 = 1 + (mode & 7), t2 = 1 + ((mode >> 3) & 7);
        if (download.Run(t1, t2) == 0) {
            for (int t : {t1, t2})
                if (doc.GetChannel(t)->sampleCount > 8000 ||
                    doc.GetChannel(t)->terminator != kCodeEnd)
                    std::abort();
        }
    } else {
        CommandTestInput in;
        in.command = mode % 18 - 1; // -1 and 16 are outside the table
        in.params = {firstParam, static_cast<uint8_t>(firstParam * 3), 0, 0};
        in.messageMode = mode % 3;
        std::array<uint8_t, 4> result{};
        RunCommandTest(services, in, result);
    }
    return 0;
}
