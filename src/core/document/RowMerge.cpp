#include "core/document/RowMerge.h"

#include <algorithm>

namespace saroko {
namespace {

// Every walk stops at the terminator after the last slot.
uint16_t SampleAt(const ChannelRecord& ch, int index) {
    return index < kMaxSamples ? ch.samples[index] : kCodeEnd;
}

} // namespace

ListChannels ChannelsOf(const CZorvicDoc& doc) {
    ListChannels out{};
    for (int n = 1; n <= kChannelCount; ++n)
        out[static_cast<std::size_t>(n - 1)] = doc.GetChannel(n);
    return out;
}

CDataListMerge::CDataListMerge(const ListChannels& channels, uint32_t first, uint32_t last,
                               uint32_t step)
    : m_channels(channels), m_last(last), m_step(step == 0 ? 1 : step) {
    // A zero step would never leave a row without samples.
    uint64_t base = kEnded;
    for (std::size_t i = 0; i < m_channels.size(); ++i) {
        const ChannelRecord* ch = m_channels[i];
        m_next[i] = kEnded;
        m_index[i] = 0;
        if (ch == nullptr || ch->present == 0)
            continue;
        uint64_t t = ch->startTime;
        int j = 0;
        while (SampleAt(*ch, j) != kCodeEnd && t < first) {
            t += ch->interval;
            ++j;
        }
        if (SampleAt(*ch, j) == kCodeEnd)
            continue;
        m_next[i] = t;
        m_index[i] = j;
        base = std::min(base, t);
    }
    m_base = base;
}

bool CDataListMerge::Next(DataListRow& row) {
    for (;;) {
        uint64_t r = m_base;
        bool below = false;
        for (uint64_t t : m_next) {
            if (t < r) {
                r = t;
                below = true;
            }
        }
        // The row's own time decides the end: a channel off the base grid still has its
        // samples between the last grid time and the end of the window listed.
        if (r > m_last)
            return false;
        row.time = static_cast<uint32_t>(r);
        row.codes.fill(kNoSample);
        bool any = false;
        for (std::size_t i = 0; i < m_next.size(); ++i) {
            if (m_next[i] != r)
                continue;
            const ChannelRecord& ch = *m_channels[i];
            const uint16_t code = SampleAt(ch, m_index[i]);
            if (code == kCodeEnd) {
                m_next[i] = kEnded;
                continue;
            }
            row.codes[i] = code;
            any = true;
            ++m_index[i];
            m_next[i] += ch.interval;
            if (SampleAt(ch, m_index[i]) == kCodeEnd)
                m_next[i] = kEnded;
        }
        if (!below)
            m_base += m_step;
        if (any)
            return true;
        if (!below) {
            // Rows between here and the next sample would all be empty: step over them at
            // once, on the same grid, so that a sparse channel does not cost a row per step.
            const uint64_t soonest = *std::min_element(m_next.begin(), m_next.end());
            if (soonest == kEnded)
                m_base = m_last + 1;
            else if (soonest > m_base)
                m_base += (soonest - m_base + m_step - 1) / m_step * m_step;
        }
    }
}

} // namespace saroko
