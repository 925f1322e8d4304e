#include "core/document/ChannelRecord.h"

namespace saroko {

int ChannelRecord::CountSamples() const {
    // Sixteen codes at a time (a loop the compiler turns into vector compares), then the
    // last block code by code; the terminator ends every walk at kMaxSamples.
    int n = 0;
    for (; n + 16 <= kMaxSamples; n += 16) {
        unsigned end = 0;
        for (int k = 0; k < 16; ++k)
            end |= samples[n + k] == kCodeEnd;
        if (end)
            break;
    }
    while (n < kMaxSamples && samples[n] != kCodeEnd)
        ++n;
    return n;
}

int IntervalIndex(uint32_t seconds) {
    for (std::size_t i = 0; i < kIntervalTable.size(); ++i)
        if (kIntervalTable[i].seconds == seconds)
            return static_cast<int>(i);
    return -1;
}

const char* IntervalLabel(uint32_t seconds) {
    const int i = IntervalIndex(seconds);
    return i < 0 ? nullptr : kIntervalTable[static_cast<std::size_t>(i)].label;
}

} // namespace saroko
