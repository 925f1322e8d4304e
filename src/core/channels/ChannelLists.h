#pragma once
// The channel-list dialogs' work copies and what their OK does to the document: the display
// switch, the deletion of chosen channels and the reordering. Each copy is taken from the
// document when the dialog opens; the document changes only when the result is applied.
#include <array>
#include <cstdint>
#include <string>

#include "core/channels/ChannelMoves.h"
#include "core/document/ZorvicDoc.h"

namespace saroko {

using ChannelName = std::array<char, 9>; // up to 8 CP932 bytes and a terminating zero

// A channel's data cleared: name, presence, type, interval, statistics and samples. Number,
// start time, model and recording conditions stay (ClearAllChannels resets those as well).
void ClearChannel(ChannelRecord& record);

// One row of the display and delete dialogs.
struct ChannelFlagRow {
    ChannelName name{};
    uint32_t present = 0;
    uint32_t flag = 0; // display: 1 shown; delete: 1 kept
};

// The display dialog (on/off per channel) and the delete dialog (kept or deleted).
class CChannelFlagWork {
public:
    enum class Kind { kShow, kDelete };
    CChannelFlagWork(const CZorvicDoc& doc, Kind kind);

    // A button 1..8: flips the flag of a channel that holds data. False when nothing changed.
    bool Toggle(int channel);
    // The dialog's column: six spaces without data, else " ＯＮ "/"ＯＦＦ" or "しない"/" する ".
    const char* Label(int channel) const;
    const ChannelFlagRow& Row(int channel) const;

    // The display flags back into the document (all eight).
    void ApplyShow(CZorvicDoc& doc) const;
    // Clears every channel not kept; the ranges are rebuilt from the rest, or the document
    // returns to the empty state when nothing holds data any more.
    void ApplyDelete(CZorvicDoc& doc) const;

private:
    Kind m_kind;
    std::array<ChannelFlagRow, kChannelCount> m_rows{};
};

// The row 1..8 whose cell holds a point of a column of eight cells of `cellWidth` x
// `cellHeight` stacked from the column's top left; 0 beside, above or below them. Only the
// cells are drag targets: a release beside a cell at its height moves nothing.
int ChannelCellAt(int x, int y, int cellWidth, int cellHeight);

// The reorder dialog.
class CChannelOrderWork {
public:
    explicit CChannelOrderWork(const CZorvicDoc& doc);

    // Back to the order at opening (creation and "元に戻す").
    void Reset();
    // "並替" with the two lists' items (0-based, -1 without a selection). Moves only when the
    // From row holds data.
    void Sort(int fromItem, int toItem);
    // Moves row `from` to row `to` (1..8) with the names following their channels.
    void Move(int from, int to);
    // A mouse drag in the number column: rows 1..8, 0 elsewhere.
    void BeginDrag(int row);
    void EndDrag(int row);
    int DragRow() const { return m_nDragRow; }
    // OK: the order shown becomes the result.
    void Accept() { m_nOrigNumber = m_nOrder; }
    // The records take the numbers of their new rows; data, colour and display flag stay
    // with the row number.
    bool Apply(CZorvicDoc& doc) const { return RenumberChannels(doc, m_nOrigNumber); }

    int From() const { return m_nFrom; }
    int To() const { return m_nTo; }
    const ChannelOrder& Order() const { return m_nOrder; }
    const ChannelOrder& Result() const { return m_nOrigNumber; }
    bool Present(int row) const;
    // The name shown at row 1..8 (empty for a row without data).
    std::string Name(int row) const;

private:
    ChannelOrder m_nOrigNumber{};
    ChannelOrder m_nOrder{};
    ChannelPresence m_bOrigPresent{};
    ChannelPresence m_bPresent{};
    std::array<ChannelName, kChannelCount> m_szOrigName{};
    std::array<ChannelName, kChannelCount> m_szName{};
    int m_nFrom = 1;
    int m_nTo = 1;
    int m_nDragRow = 0;
};

} // namespace saroko
