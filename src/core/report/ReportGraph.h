#pragma once
// The report's graph as data: its value window (the measured values and the limits, never Over
// or Under), each trace reduced to what one column of the output device shows, the Over and
// Under samples as marks on the plot's edges, and the places of the limit labels.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/document/ZorvicDoc.h"
#include "core/report/ReportFigures.h"

namespace saroko {

// Each side of the value window lies this share of its span beyond the outermost value or
// limit, and at least kMinValueMargin in the shown unit.
inline constexpr double kValueMarginShare = 0.05;
inline constexpr double kMinValueMargin = 0.5;

struct ValueWindow {
    double lower = 0;
    double upper = 0;
    bool operator==(const ValueWindow&) const = default;
};

// The window over the real values of the figures' channels and their limits, with its margins;
// nullopt when there is neither a value nor a limit.
std::optional<ValueWindow> ReportValueWindow(const ReportFigures& r);

// Where the plot lies on the page (any unit, y growing downwards), the times and values at its
// edges, and how many device columns its width covers.
struct ReportPlot {
    double left = 0, top = 0, right = 0, bottom = 0;
    uint32_t from = 0; // the time at `left`
    double secondsPerUnit = 1;
    double lower = 0; // the value at `bottom`
    double valuesPerUnit = 1;
    int columns = 1;
};

struct TracePoint {
    double x = 0, y = 0;
    bool operator==(const TracePoint&) const = default;
};

// An Over (at the top edge) or Under (at the bottom edge) sample, one per column and kind.
struct EdgeMark {
    double x = 0;
    bool over = true;
    bool operator==(const EdgeMark&) const = default;
};

struct ReportTrace {
    // Polylines, each broken where a sample is missing, Over or Under. Inside one column a
    // line keeps only its first, lowest, highest and last point, in the order they came; a
    // point inside a flat stretch or inside a column's straight rise is left out.
    std::vector<std::vector<TracePoint>> runs;
    std::vector<EdgeMark> marks;
};

// The trace of one channel's samples from `from` to `to` on the plot.
ReportTrace BuildReportTrace(const CZorvicDoc& doc, const ChannelRecord& ch, const ReportPlot& plot,
                             uint32_t from, uint32_t to);

// A label for one limit line or for several lying closer together than the text's height.
struct LimitLabelPlace {
    std::vector<int> lines; // indices into the lines given, from the top
    double top = 0;         // the label's top edge; it is `height` tall
};

// Places the labels of lines at `ys` beside the plot's right edge, each just above its
// (topmost) line where there is room: lines closer than `height` share a label (their texts,
// `widths` wide, joined by `separator`) as long as it stays within `maxWidth`, and labels move
// apart until none overlaps another, staying between `top` and `bottom`. When even that does
// not fit, neighbouring labels are joined whatever their width.
struct LabelText {
    double height = 0;
    double separator = 0;
    double maxWidth = 0;
};
std::vector<LimitLabelPlace> PlaceLimitLabels(const std::vector<double>& ys,
                                              const std::vector<double>& widths,
                                              const LabelText& text, double top, double bottom);

} // namespace saroko
