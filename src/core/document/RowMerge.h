#pragma once
// Samples of several channels interleaved by time: the rows of the data list and of the text
// export. Samples of several channels that share a time share one row.
#include <array>
#include <cstdint>

#include "core/document/ZorvicDoc.h"

namespace saroko {

// The channels by number 1..8 (index 0..7).
using ListChannels = std::array<const ChannelRecord*, kChannelCount>;
ListChannels ChannelsOf(const CZorvicDoc& doc);

// A column in a row that has no sample of its channel.
inline constexpr int32_t kNoSample = -1;

struct DataListRow {
    uint32_t time = 0;
    std::array<int32_t, kChannelCount> codes{}; // the sample code, or kNoSample
};

// Interleaves the channels by time from `first` on: samples of several channels that share a
// time share one row. The base time steps by `step` (the shortest interval); the list ends
// when it passes `last`. A hidden channel still takes part; its cells are blanked when texted.
class CDataListMerge {
public:
    CDataListMerge(const ListChannels& channels, uint32_t first, uint32_t last, uint32_t step);

    // The next row with at least one sample; false when the list has ended.
    bool Next(DataListRow& row);

private:
    static constexpr uint64_t kEnded = UINT64_MAX;

    ListChannels m_channels;
    std::array<uint64_t, kChannelCount> m_next{};
    std::array<int, kChannelCount> m_index{};
    uint64_t m_base = 0;
    uint64_t m_last = 0;
    uint64_t m_step = 1;
};

} // namespace saroko
