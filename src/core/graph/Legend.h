#pragma once
// The legend pane under the graph: what it shows (cursor times and distance, the calculation
// range, one row per channel with the values at both cursors and the statistics), where each
// text and rule stands, and how its clicks become messages to the view. The pane window only
// paints this picture and forwards its mouse events.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/channels/ChannelPalette.h"
#include "core/document/ZorvicDoc.h"
#include "core/graph/GraphModel.h"
#include "core/graph/GraphRect.h"
#include "core/graph/ViewMessages.h"

namespace saroko {

// The value of a channel at a cursor time, as a sample code: the sample at that time, else the
// interpolation between its neighbours rounded towards the earlier one; 0xFFFF before the
// first sample and after the last, and the special code of either neighbour when one has it.
uint16_t ValueAtCursor(const ChannelRecord& ch, uint32_t cursor);

// The pane's copy of one channel.
struct LegendRow {
    uint32_t present = 0;
    char name[9] = {};
    uint32_t interval = 0;
    uint16_t samples = 0;
    uint16_t valueA = kCodeEnd;
    uint16_t valueB = kCodeEnd;
    uint16_t max = kCodeMissing;
    uint16_t min = kCodeMissing;
    uint16_t avg = kCodeMissing;
    uint32_t type = kTypeTemp13;
    uint32_t model = 0;
    uint32_t show = 1;
};

struct LegendData {
    uint32_t cursorA = 0;
    uint32_t cursorB = 0;
    uint32_t calcStart = 0;
    uint32_t calcEnd = 0;
    std::array<LegendRow, kChannelCount> rows{};
};

// Copies what the pane shows from the document. The cursors are first kept inside the time
// window, and that is written back.
LegendData FillLegend(CZorvicDoc& doc);

// Texts of the pane (CP932 bytes).
std::string LegendCursorLine(char letter, uint32_t t);
std::string LegendDistance(uint32_t a, uint32_t b);
std::string LegendRangeTime(uint32_t t);
std::string LegendInterval(uint32_t seconds);
std::string LegendSamples(uint16_t count);
// A value, maximum or minimum cell (average: only end and missing codes have a text).
std::string LegendValueCell(const CZorvicDoc& doc, const LegendRow& row, uint16_t code,
                            bool average = false);
std::string LegendDifference(const CZorvicDoc& doc, const LegendRow& row);
std::string LegendUnit(const CZorvicDoc& doc, const LegendRow& row);

// Fixed layout of the pane, in its client pixels.
inline constexpr int kLegendFirstRowY = 51;
inline constexpr int kLegendRowHeight = 14;
// Eight rows of 14 pixels from y 51: the last pixel of row 8 is y 162.
inline constexpr int kLegendLastRowY = 162;
inline constexpr int kLegendNumberLeft = 15;
inline constexpr int kLegendNumberRight = 30;
inline constexpr int kLegendMaxLeft = 434;
inline constexpr int kLegendMaxRight = 468;
inline constexpr int kLegendMinLeft = 488;
inline constexpr int kLegendMinRight = 522;
inline constexpr int kLegendClickMilliseconds = 500;

constexpr int LegendRowY(int row) {
    return kLegendFirstRowY + kLegendRowHeight * (row - 1);
}

struct LegendText {
    int x = 0;
    int y = 0;
    int colour = 0; // palette entry
    std::string text;
    bool operator==(const LegendText&) const = default;
};
struct LegendLine {
    int colour = 0;
    GraphSegment line; // from the first point up to, not including, the second
    bool operator==(const LegendLine&) const = default;
};
struct LegendPicture {
    std::vector<LegendLine> lines;  // rules and arrows, drawn first
    std::vector<LegendText> texts;  // opaque, on the background entry
    std::vector<GraphRect> boxes;   // outlines in the frame entry: number boxes, pressed name
    std::vector<LegendLine> arrows; // in the gaps of the texts, drawn last
};

// Everything the pane draws over its background, for a pane of `width` x `height`.
// `frameRow` 1..8 adds the frame around that row's name cell (a press on its number box).
// On `paper` the cursors are left out: their lines, headings and columns stay blank, one group.
LegendPicture BuildLegendPicture(const CZorvicDoc& doc, const LegendData& data,
                                 const TextMetrics& tm, int width, int height, int frameRow,
                                 bool paper = false);

// The pixels an item of the picture may touch: a text's cell of `textWidth` x `textHeight`
// with a margin for glyphs that overhang it, a line with both its ends.
GraphRect LegendTextArea(const LegendText& t, int textWidth, int textHeight);
GraphRect LegendLineArea(const LegendLine& l);

// What a repaint from `was` to `now` has to cover: the areas of every item that differs, in
// either picture (a cursor drag changes a few cells). Texts are measured by `width`. Empty
// when both are the same; the whole pane (`width` x `height`) when the pictures do not
// correspond item by item.
std::vector<GraphRect> LegendChangedAreas(const LegendPicture& was, const LegendPicture& now,
                                          const std::function<int(const std::string&)>& width,
                                          int textHeight, int paneWidth, int paneHeight);

// Where a point of the pane lies.
enum class LegendColumn { kNone, kNumber, kMax, kMin };
struct LegendHit {
    int row = 0; // 1..8, 0 outside the rows
    LegendColumn column = LegendColumn::kNone;
};
LegendHit LegendHitTest(int x, int y);

// The pane's mouse rules: a single click on a number box toggles the channel's display once
// the double-click time has passed, a double click asks for the recording conditions, a drag
// to another row moves the channel, a double click on a maximum or minimum jumps to it.
class CLegendClicks {
public:
    struct Outcome {
        std::vector<ViewMessage> post;
        bool repaint = false;
        bool startTimer = false;
        bool killTimer = false;
        bool busyPointer = false;
    };

    Outcome ButtonDown(const LegendData& data, int x, int y);
    Outcome MouseMove(int x, int y, bool buttonDown) const;
    Outcome ButtonUp(int x, int y);
    Outcome Timer();
    Outcome DoubleClick(const LegendData& data, int x, int y);

    int FrameRow() const { return m_nFrameRow; }
    int PressRow() const { return m_nPressRow; }
    bool ClickPending() const { return m_bClickPending != 0; }

private:
    int m_nPressRow = 0;
    int m_nReleaseRow = 0;
    int m_bClickPending = 0;
    GraphPoint m_ptRelease;
    int m_nFrameRow = 0; // the name frame drawn by the press, until the next repaint
};

} // namespace saroko
