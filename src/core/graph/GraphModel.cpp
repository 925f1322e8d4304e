#include "core/graph/GraphModel.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace saroko {
namespace {

// The plot sits this far inside the client area; the strips and the legend pane hang on it.
constexpr int kPlotTopGap = 25;
constexpr int kPlotBottomGap = 211;
constexpr int kPlotLeftGap = 10;
constexpr int kPlotRightGap = 26;
constexpr int kPaneHeightGap = 168;
constexpr int kPanePlotGap = 107;

int ClampToInt(double v) {
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

} // namespace

LayoutResult CGraphModel::Layout(const GraphRect& window, const GraphRect& client,
                                 const TextMetrics& tm) {
    m_rcClient = client;
    m_tm = tm;
    if (window.bottom < kMinViewBottom) {
        m_nResizeWidth = window.right - window.left;
        m_nResizeHeight = kMinViewBottom - window.top;
        return LayoutResult::kResize;
    }
    // A window without width would divide by zero below; it has nothing to show anyway.
    if (client.right <= 0 || client.bottom <= 0)
        return LayoutResult::kEmpty;

    m_nMarkerHalf = window.right / client.right + 1;
    m_rcPane = {window.left + 2, window.top + client.bottom - kPaneHeightGap,
                window.left + client.right - 3, window.top + client.bottom - 1};
    m_rcPlot.top = client.top + kPlotTopGap;
    m_rcPlot.bottom = client.bottom - kPlotBottomGap;

    GraphRange& r = Range();
    m_fValueSpan = EnforceMinValueWindow(r);
    m_fValuePerPixel =
        m_fValueSpan / static_cast<float>(std::abs(m_rcPlot.top - m_rcPlot.bottom) + 1);
    const ValueGrid grid = ChooseValueGrid(m_fValueSpan, r.viewLower, r.viewUpper);
    m_fValueStep = grid.step;
    m_nValueDecimals = grid.decimals;
    std::snprintf(m_szValueFormat, sizeof m_szValueFormat, "%s", grid.format);
    m_nValueLabelWidth = grid.labelChars * tm.aveCharWidth;

    m_rcPlot.left = m_nValueLabelWidth + client.left + kPlotLeftGap;
    m_rcPlot.right = client.right - kPlotRightGap;

    m_fTimeSpan = EnforceMinTimeWindow(r);
    m_fSecPerPixel = m_fTimeSpan / static_cast<float>(std::abs(m_rcPlot.left - m_rcPlot.right) + 1);
    m_nTimeStep = ChooseTimeStep(r.viewEnd - r.viewStart);
    m_tFirstTick = FirstTimeTick(r.viewStart, m_nTimeStep);

    if (m_rcPane.top < kMinPaneTop) {
        m_rcPane.top = kMinPaneTop;
        m_rcPlot.bottom = client.bottom - m_rcPane.bottom + kPanePlotGap;
    }

    const GraphRect& p = m_rcPlot;
    m_rcTimeBar = {p.left - 1, client.top + 9, p.right + 1, client.top + 23};
    m_rcValueBar = {p.right + 2, p.top - 1, p.right + 16, p.bottom + 1};
    m_rcCursorBar = {p.left - 16, p.bottom + 2, p.right + 16, p.bottom + 12};
    return LayoutResult::kDrawn;
}

int CGraphModel::TimeToX(uint32_t t) const {
    if (m_fSecPerPixel == 0)
        return m_rcPlot.left;
    const int64_t d = static_cast<int64_t>(t) - static_cast<int64_t>(Range().viewStart);
    return ClampToInt(m_rcPlot.left + std::trunc(static_cast<double>(d) / m_fSecPerPixel));
}

int CGraphModel::ValueToY(uint16_t code, int measureType, int sensorCode) const {
    if (code == kCodeOver)
        code = sensorCode != 0 ? kCodeOverOther : kCodeOverPt100;
    else if (code == kCodeUnder)
        code = kCodeUnderValue;
    const double v = m_doc.ToValue(code, measureType, 1);
    if (m_fValuePerPixel == 0)
        return m_rcPlot.bottom;
    return ClampToInt(m_rcPlot.bottom - std::trunc((v - Range().viewLower) / m_fValuePerPixel));
}

std::vector<TimeTick> CGraphModel::TimeTicks() const {
    std::vector<TimeTick> ticks;
    const GraphRange& r = Range();
    if (m_nTimeStep == 0)
        return ticks;
    const int half = 4 * m_tm.aveCharWidth;
    const int rightLimit = m_rcClient.right - 10;
    // 64-bit, so that a window ending at the top of the time range does not loop forever.
    for (uint64_t t = m_tFirstTick; t <= r.viewEnd; t += m_nTimeStep) {
        if (t <= r.viewStart)
            continue;
        TimeTick tick;
        tick.t = static_cast<uint32_t>(t);
        tick.x = TimeToX(tick.t);
        tick.labelX = tick.x + half > rightLimit ? m_rcClient.right - 8 * m_tm.aveCharWidth - 10
                                                 : tick.x - half;
        tick.date = FormatTickDate(tick.t);
        tick.time = FormatTickTime(tick.t);
        ticks.push_back(std::move(tick));
    }
    return ticks;
}

std::vector<ValueTick> CGraphModel::ValueTicks() const {
    std::vector<ValueTick> ticks;
    const GraphRange& r = Range();
    if (m_fValueStep <= 0)
        return ticks;
    char text[64];
    for (int64_t k = FirstValueIndex(r.viewLower, m_fValueStep);; ++k) {
        const float v = static_cast<float>(k) * m_fValueStep;
        if (!(v <= r.viewUpper))
            break;
        ValueTick tick;
        tick.value = v;
        tick.y =
            m_fValuePerPixel == 0
                ? m_rcPlot.bottom
                : ClampToInt(m_rcPlot.bottom -
                             std::trunc((static_cast<double>(v) - r.viewLower) / m_fValuePerPixel));
        tick.labelY = tick.y + m_tm.height / 2 > m_rcPlot.bottom
                          ? m_rcPlot.bottom - m_tm.height
                          : tick.y - static_cast<int>(m_tm.height * 0.5 + 0.5);
        std::snprintf(text, sizeof text, m_szValueFormat, static_cast<double>(v));
        tick.label = text;
        ticks.push_back(std::move(tick));
    }
    return ticks;
}

void CGraphModel::PlaceCursors() {
    // A cursor outside the window would land on a wrapped pixel; keep it at the window's edge,
    // as the legend pane does with the cursor times it shows.
    GraphRange& r = Range();
    for (uint32_t* c : {&r.cursorA, &r.cursorB}) {
        if (*c < r.viewStart)
            *c = r.viewStart;
        else if (*c > r.viewEnd)
            *c = r.viewEnd;
    }
    m_xCursorA = TimeToX(r.cursorA);
    m_xCursorB = TimeToX(r.cursorB);
}

int CGraphModel::CursorLineX(int x) const {
    return x >= m_rcPlot.right ? m_rcPlot.right - 1 : x;
}

int CGraphModel::FlagLeft(int x) const {
    int left = x - 5;
    if (left < m_rcPlot.left)
        left = m_rcPlot.left;
    if (left + kFlagSize > m_rcPlot.right)
        left = m_rcPlot.right - kFlagSize;
    return left;
}

GraphRect CGraphModel::FlagRect(int x) const {
    const int left = FlagLeft(x);
    const int top = m_rcPlot.bottom + 2;
    return {left, top, left + kFlagSize, top + kFlagSize};
}

std::array<GraphRect, 2> CGraphModel::CursorMarks(int x) const {
    const int lx = CursorLineX(x);
    return {GraphRect{lx, m_rcPlot.top, lx + 1, m_rcPlot.bottom + 1}, FlagRect(x)};
}

bool CGraphModel::MarkersOn(uint32_t interval) const {
    if (m_fSecPerPixel == 0)
        return true;
    return static_cast<double>(interval) / m_fSecPerPixel > 3.0;
}

void CGraphModel::ClippedLine(int x1, int y1, int x2, int y2, bool marker,
                              std::vector<GraphSegment>& out) const {
    const GraphRect& p = m_rcPlot;
    ClippedSegment c{x1, y1, x2, y2, false};
    const bool inside = x1 >= p.left && x1 <= p.right && x2 >= p.left && x2 <= p.right &&
                        y1 >= p.top && y1 <= p.bottom && y2 >= p.top && y2 <= p.bottom;
    if (!inside && !ClipSegment(m_rcPlot, x1, y1, x2, y2, c))
        return;
    if (c.x1 == c.x2 && c.y1 == c.y2)
        out.push_back({c.x1, c.y1, c.x1 + 1, c.y1 + 1}); // shows as one pixel
    else
        out.push_back({c.x1, c.y1, c.x2, c.y2});
    if (marker && !c.endMoved) {
        const int h = m_nMarkerHalf;
        out.push_back({c.x2 - h, c.y2, c.x2 + h + 1, c.y2});
        out.push_back({c.x2, c.y2 - h, c.x2, c.y2 + h + 1});
    }
}

void CGraphModel::BuildTrace(const ChannelRecord& ch, std::vector<GraphSegment>& out,
                             TraceDetail detail) const {
    out.clear();
    const bool marker = MarkersOn(ch.interval);
    const bool pixels = detail == TraceDetail::kPixels;
    const bool columns = !marker;
    const GraphRect& p = m_rcPlot;
    auto inside = [&p](int x, int y) {
        return x >= p.left && x <= p.right && y >= p.top && y <= p.bottom;
    };
    // A trace's codes lie close together: each code's place is computed once, in a small
    // cache keyed by the code's low bits.
    std::array<uint32_t, 256> cachedCode;
    std::array<int, 256> cachedY{};
    cachedCode.fill(0x10000);
    auto yOf = [&](uint16_t code) {
        const std::size_t slot = code & 0xFF;
        if (cachedCode[slot] != code) {
            cachedCode[slot] = code;
            cachedY[slot] = ValueToY(code, ch.measureType, ch.sensorCode);
        }
        return cachedY[slot];
    };
    // A run of lines inside one column lights the pixels between its lines' starts, and
    // towards its last point short of that point: one vertical line gives the same pixels.
    // As lines, the run covers its points' extremes: one vertical line from the lowest to the
    // highest, beside the dots that a repeated point draws (each once).
    bool open = false, run = false;
    int px = 0, py = 0, lo = 0, hi = 0, dotY = INT_MIN;
    auto flush = [&] {
        dotY = INT_MIN;
        if (!run)
            return;
        run = false;
        if (!pixels) {
            if (std::min(lo, py) != std::max(hi, py))
                out.push_back({px, std::min(lo, py), px, std::max(hi, py)});
            return;
        }
        const int a = py < lo ? py + 1 : lo, b = py > hi ? py - 1 : hi;
        out.push_back(a == b ? GraphSegment{px, a, px + 1, a + 1} : GraphSegment{px, a, px, b + 1});
    };
    for (int i = 0; i < kMaxSampleWalk; ++i) {
        const uint16_t code = SampleAt(ch, i);
        if (code == kCodeEnd)
            break;
        if (code == kCodeMissing) {
            flush();
            open = false;
            continue;
        }
        const uint32_t t = ch.startTime + static_cast<uint32_t>(i) * ch.interval;
        const int x = TimeToX(t);
        const int y = yOf(code);
        if (columns && open && x == px && inside(x, y) && inside(px, py)) {
            lo = run ? std::min(lo, py) : py;
            hi = run ? std::max(hi, py) : py;
            run = true;
            if (!pixels && y == py && y != dotY) {
                dotY = y;
                out.push_back({x, y, x + 1, y + 1});
            }
            py = y;
            continue;
        }
        flush();
        if (open)
            ClippedLine(px, py, x, y, marker, out);
        else
            ClippedLine(x, y, x, y, marker, out);
        open = true;
        px = x;
        py = y;
    }
    flush();
}

void CGraphModel::PrepareThumbs() {
    const GraphRange& r = Range();
    if (m_nDragMode != kDragTimeThumb) {
        const GraphRect& s = m_rcTimeBar;
        const int track = s.right - s.left - 31;
        const uint32_t data = r.dataEnd - r.dataStart;
        if (track <= 0 || data == 0) {
            m_rcTimeThumb = {};
        } else {
            const double k = static_cast<double>(data) / track;
            const auto at = [&](uint32_t t) {
                const double d = std::fabs(static_cast<double>(t) - r.dataStart);
                return ClampToInt(std::trunc(d / k) + s.left + 16);
            };
            m_rcTimeThumb = {at(r.viewStart), s.top + 1, at(r.viewEnd), s.bottom - 1};
        }
    }
    if (m_nDragMode != kDragValueThumb) {
        m_fDragUpper = r.viewUpper;
        m_fDragLower = r.viewLower;
        PlaceValueThumb();
    }
}

void CGraphModel::PlaceValueThumb() {
    const GraphRange& r = Range();
    const GraphRect& s = m_rcValueBar;
    const int track = s.bottom - s.top - 31;
    const float full = r.fullUpper - r.fullLower;
    if (track <= 0 || full == 0) {
        m_rcValueThumb = {};
        return;
    }
    const double k = static_cast<double>(full) / track;
    const int top = ClampToInt(
        std::trunc(std::fabs(static_cast<double>(r.fullUpper) - m_fDragUpper) / k) + s.top + 16);
    const int bottom =
        ClampToInt(std::trunc((static_cast<double>(r.fullUpper) - m_fDragLower) / k) + s.top + 16);
    m_rcValueThumb = {s.left + 1, top, s.right - 1, bottom};
}

GraphRect CGraphModel::TimeThumbFill() const {
    const GraphRect& t = m_rcTimeThumb;
    return {t.left, t.top, t.right + 1, t.bottom + 1};
}

GraphRect CGraphModel::ValueThumbFill() const {
    const GraphRect& t = m_rcValueThumb;
    return {t.left, t.top, t.right + 1, t.bottom + 1};
}

std::array<GraphRect, 6> CGraphModel::RefreshRects() const {
    const GraphRect& c = m_rcClient;
    const GraphRect& t = m_rcTimeBar;
    const GraphRect& v = m_rcValueBar;
    const GraphRect& k = m_rcCursorBar;
    return {{
        {c.left, c.top, m_rcPlot.right + 1, c.bottom},
        {t.left + kArrowButton, t.top, t.right - kArrowButton, t.bottom},
        {v.left, v.top + kArrowButton, v.right, v.bottom - kArrowButton},
        {k.left + kArrowButton, k.top, k.right - kArrowButton, k.bottom + 2},
        {c.left, k.bottom, c.right - 4, c.bottom},
        {4, 4, m_rcPlot.left, m_rcPlot.bottom},
    }};
}

bool CGraphModel::ShowsEverything() const {
    const GraphRange& r = Range();
    return r.viewStart == r.dataStart && r.viewEnd == r.dataEnd && r.viewUpper == r.fullUpper &&
           r.viewLower == r.fullLower;
}

} // namespace saroko
