#include "core/document/ChannelRecord.h"

namespace saroko {

int ChannelRecord::CountSamples() const {
    int n = 0;
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
