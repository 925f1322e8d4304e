#pragma once
// Moving a channel to another row number: the move rule shared by the reorder dialog and the
// legend drag, the renumbering that applies a new order to the document, and the legend's
// display toggle. Colours and display flags belong to the row number, not to the data.
#include <array>
#include <cstdint>

#include "core/document/ZorvicDoc.h"

namespace saroko {

using ChannelOrder = std::array<int, kChannelCount>;
using ChannelPresence = std::array<uint32_t, kChannelCount>;

// Moves the element at row `from` to row `to` (both 1..8). The rows from `to` on shift towards
// the first empty row or the source; only when every row from `to` to the last is occupied do
// they shift the other way. Rows outside 1..8 or equal rows change nothing.
void MoveChannel(ChannelOrder& order, ChannelPresence& present, int from, int to);

// Gives row i + 1 to the record whose number is newOrder[i]. The records keep their contents;
// nothing happens unless newOrder holds each of 1..8 once.
bool RenumberChannels(CZorvicDoc& doc, const ChannelOrder& newOrder);

// The row order after dragging the channel of row `source` onto row `target` in the legend:
// rows without data count as free, and the numbers of empty channels fill the free rows in
// ascending order.
ChannelOrder LegendDragOrder(const ChannelPresence& present, int source, int target);

// The legend's drag message: target + 10 x source. Ignored unless both digits are 1..8.
// Returns true when the channels were renumbered.
bool ApplyLegendDrag(CZorvicDoc& doc, uint32_t param);

// The legend's single click: flips the display flag of a channel that holds data.
bool ToggleChannelShow(CZorvicDoc& doc, int channel);

} // namespace saroko
