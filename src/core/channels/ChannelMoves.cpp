#include "core/channels/ChannelMoves.h"

#include <algorithm>

namespace saroko {
namespace {

// Steps 2 and 3 of the move: from row t forward to the first free row or the source; a ninth
// row that is always free ends that walk. When it runs off the end, backward instead, which
// stops at the source at the latest. Returns the stop and the direction the rows shift in.
struct Walk {
    int stop;
    int step; // -1 after the forward walk, +1 after the backward one
};
template <class Occupied> Walk WalkFrom(int f, int t, Occupied occupied) {
    int k = t;
    while (k < kChannelCount && occupied(k) && k != f)
        ++k;
    if (k < kChannelCount)
        return {k, -1};
    k = t;
    while (k > 0 && occupied(k) && k != f)
        --k;
    return {k, 1};
}

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

bool InRow(int n) {
    return n >= 1 && n <= kChannelCount;
}

} // namespace

void MoveChannel(ChannelOrder& order, ChannelPresence& present, int from, int to) {
    if (!InRow(from) || !InRow(to) || from == to)
        return;
    const int f = from - 1, t = to - 1;
    const int s = order[At(f)];
    const uint32_t p = present[At(f)];
    const Walk w = WalkFrom(f, t, [&](int k) { return present[At(k)] != 0; });
    const int e = order[At(w.stop)];
    const uint32_t q = present[At(w.stop)];
    for (int k = w.stop; k != t; k += w.step) {
        order[At(k)] = order[At(k + w.step)];
        present[At(k)] = present[At(k + w.step)];
    }
    order[At(t)] = s;
    present[At(t)] = p;
    if (w.stop != f) { // the source row becomes the free one
        order[At(f)] = e;
        present[At(f)] = q;
    }
}

bool RenumberChannels(CZorvicDoc& doc, const ChannelOrder& newOrder) {
    ChannelOrder sorted = newOrder;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < kChannelCount; ++i)
        if (sorted[At(i)] != i + 1)
            return false; // a duplicate number would hide one record for good
    std::array<ChannelRecord*, kChannelCount> byOldNumber{};
    for (int n = 1; n <= kChannelCount; ++n) {
        byOldNumber[At(n - 1)] = doc.GetChannel(n);
        if (!byOldNumber[At(n - 1)])
            return false;
    }
    for (int i = 0; i < kChannelCount; ++i)
        byOldNumber[At(newOrder[At(i)] - 1)]->number = static_cast<uint32_t>(i + 1);
    return true;
}

ChannelOrder LegendDragOrder(const ChannelPresence& present, int source, int target) {
    ChannelOrder a{};
    std::array<int, kChannelCount> empty{};
    int emptyCount = 0;
    for (int i = 0; i < kChannelCount; ++i) {
        if (present[At(i)] != 0)
            a[At(i)] = i + 1;
        else
            empty[At(emptyCount++)] = i + 1;
    }
    if (InRow(source) && InRow(target)) {
        const int f = source - 1, t = target - 1;
        const int s = a[At(f)];
        a[At(f)] = 0; // the source row counts as free from here on
        const Walk w = WalkFrom(f, t, [&](int k) { return a[At(k)] != 0; });
        for (int k = w.stop; k != t; k += w.step)
            a[At(k)] = a[At(k + w.step)];
        a[At(t)] = s;
    }
    int next = 0;
    for (int& n : a)
        if (n == 0)
            n = empty[At(next++)];
    return a;
}

bool ApplyLegendDrag(CZorvicDoc& doc, uint32_t param) {
    const int source = static_cast<int>(param / 10);
    const int target = static_cast<int>(param % 10);
    if (!InRow(source) || !InRow(target))
        return false;
    ChannelPresence present{};
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = doc.GetChannel(n);
        present[At(n - 1)] = ch ? ch->present : 0;
    }
    return RenumberChannels(doc, LegendDragOrder(present, source, target));
}

bool ToggleChannelShow(CZorvicDoc& doc, int channel) {
    if (!InRow(channel))
        return false;
    const ChannelRecord* ch = doc.GetChannel(channel);
    if (!ch || ch->present == 0)
        return false;
    uint32_t& show = doc.m_bShow[At(channel - 1)];
    show = show == 1 ? 0 : 1;
    return true;
}

} // namespace saroko
