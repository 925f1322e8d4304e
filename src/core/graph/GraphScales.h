#pragma once
// Scale, grid and clipping arithmetic of the graph: pure functions on the range block and the
// plot rectangle, so that their edges can be tested without a window.
#include <cstdint>
#include <string>
#include <vector>

#include "core/document/ChannelRecord.h"
#include "core/graph/GraphRect.h"

namespace saroko {

inline constexpr uint32_t kMinTimeWindow = 10; // seconds
inline constexpr float kMinValueWindow = 2.0f; // display units

// Widens a time window narrower than 10 s around its centre (writing the range back) and
// returns the span used for scaling.
float EnforceMinTimeWindow(GraphRange& r);
// Widens a value window lower than 2 units inside the full scale and returns the span used.
float EnforceMinValueWindow(GraphRange& r);

struct ValueGrid {
    float step = 0;
    int decimals = 1;
    int labelChars = 0; // length of the longest label
    char format[10] = {};
};
// About ten horizontal grid lines in steps of 1, 2 or 5 times a power of ten, and the printf
// format that fits every label of the window.
ValueGrid ChooseValueGrid(float span, float lower, float upper);
// Index k of the first grid value k * step at or above `lower`.
int64_t FirstValueIndex(float lower, float step);

// Distance of the vertical grid lines for a window of `width` seconds.
uint32_t ChooseTimeStep(uint32_t width);
// The first vertical grid line: viewStart + step rounded down in local calendar time to a
// boundary that suits the step. 0 when that lies before 1970.
uint32_t FirstTimeTick(uint32_t viewStart, uint32_t step);

// Cuts a segment at the plot's edges (left, right, bottom, top in this order), each edge
// included. False when nothing of it is left. `endMoved` tells whether the second end was cut.
struct ClippedSegment {
    int x1, y1, x2, y2;
    bool endMoved;
};
bool ClipSegment(const GraphRect& plot, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                 ClippedSegment& out);

// Run lengths (on, off) of the cursor pen styles; a solid pen has no gaps.
struct DashPattern {
    int on;
    int off;
};
inline constexpr int kCursorSolid = 0;
inline constexpr int kCursorDash = 1;
inline constexpr int kCursorDot = 2;
DashPattern CursorDashPattern(int style);

// "%2d/%02d/%02d" and "%2d:%02d'%02d" of a time in local calendar time.
std::string FormatTickDate(uint32_t t);
std::string FormatTickTime(uint32_t t);

} // namespace saroko
