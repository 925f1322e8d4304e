// Arbitrary bytes through the file readers alone (native and older series, new and appended),
// without writing anything back: the fast target that goes deep into the parsing.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    if (size < 1)
        return 0;
    fuzz::FuzzDoc& f = fuzz::FuzzDoc::Get();
    if (fuzz::LoadFuzzImage(f, data[0], std::span<const uint8_t>(data + 1, size - 1)) != kFileOk)
        return 0;
    // Whatever was loaded must be a channel every later walk can trust.
    for (int n = 1; n <= 8; ++n) {
        const ChannelRecord* ch = f.doc.GetChannel(n);
        if (!ch->present)
            continue;
        if (ch->sampleCount > kMaxSamples || ch->terminator != kCodeEnd || ch->interval == 0 ||
            ch->CountSamples() > ch->sampleCount)
            __builtin_trap();
    }
    return 0;
}
