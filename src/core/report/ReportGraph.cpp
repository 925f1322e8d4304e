#include "core/report/ReportGraph.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace saroko {

std::optional<ValueWindow> ReportValueWindow(const ReportFigures& r) {
    std::optional<ValueWindow> w;
    const auto take = [&w](const std::optional<double>& v) {
        if (!v)
            return;
        if (!w)
            w = ValueWindow{*v, *v};
        w->lower = std::min(w->lower, *v);
        w->upper = std::max(w->upper, *v);
    };
    // The figures' extremes are over the real values only: Over and Under never widen it.
    for (const ChannelFigures& f : r.channels)
        for (const auto* v : {&f.min, &f.max, &f.low, &f.high})
            take(*v);
    if (!w)
        return w;
    const double margin = std::max(kMinValueMargin, (w->upper - w->lower) * kValueMarginShare);
    w->lower -= margin;
    w->upper += margin;
    return w;
}

namespace {

bool Between(double a, double b, double c) {
    return (a <= b && b <= c) || (a >= b && b >= c);
}

// Appends a point to a polyline; a point that only lengthens the last straight piece along an
// axis (a flat stretch, a column's rise) moves that piece's end instead: the same line drawn.
void AddPoint(std::vector<TracePoint>& run, const TracePoint& q) {
    const std::size_t n = run.size();
    if (n > 0 && run.back() == q)
        return;
    if (n >= 2) {
        const TracePoint& a = run[n - 2];
        const TracePoint& b = run[n - 1];
        if ((a.y == b.y && b.y == q.y && Between(a.x, b.x, q.x)) ||
            (a.x == b.x && b.x == q.x && Between(a.y, b.y, q.y))) {
            run.back() = q;
            return;
        }
    }
    run.push_back(q);
}

// The points of one line inside one device column.
class CColumn {
public:
    bool Open() const { return m_nCount > 0; }
    int Index() const { return m_nColumn; }
    void Start(int column, double x) {
        m_nColumn = column;
        m_x = x;
        m_nCount = 0;
    }
    void Add(double y) {
        if (m_nCount == 0) {
            m_first = m_last = m_low = m_high = y;
            m_nLowAt = m_nHighAt = 0;
        }
        if (y > m_low) { // y grows downwards: the lowest value has the largest y
            m_low = y;
            m_nLowAt = m_nCount;
        }
        if (y < m_high) {
            m_high = y;
            m_nHighAt = m_nCount;
        }
        m_last = y;
        ++m_nCount;
    }
    // Appends first, the extremes in the order they came, and last, each once in a row.
    void Flush(std::vector<TracePoint>& run) {
        if (m_nCount == 0)
            return;
        const auto put = [&](double y) { AddPoint(run, {m_x, y}); };
        put(m_first);
        if (m_nLowAt <= m_nHighAt) {
            put(m_low);
            put(m_high);
        } else {
            put(m_high);
            put(m_low);
        }
        put(m_last);
        m_nCount = 0;
    }

private:
    int m_nColumn = 0;
    double m_x = 0;
    int m_nCount = 0;
    double m_first = 0, m_last = 0, m_low = 0, m_high = 0;
    int m_nLowAt = 0, m_nHighAt = 0;
};

} // namespace

ReportTrace BuildReportTrace(const CZorvicDoc& doc, const ChannelRecord& ch, const ReportPlot& plot,
                             uint32_t from, uint32_t to) {
    ReportTrace trace;
    const int columns = std::max(1, plot.columns);
    const double width = (plot.right - plot.left) / columns;
    if (!(width > 0) || !(plot.secondsPerUnit > 0) || !(plot.valuesPerUnit > 0))
        return trace;
    const auto columnOf = [&](uint32_t t) {
        const double x = (static_cast<double>(t) - plot.from) / plot.secondsPerUnit;
        return std::clamp(static_cast<int>(std::floor(x / width)), 0, columns - 1);
    };
    const auto centre = [&](int c) { return plot.left + (c + 0.5) * width; };
    std::vector<TracePoint> run;
    CColumn column;
    const auto endRun = [&] {
        column.Flush(run);
        if (!run.empty())
            trace.runs.push_back(std::move(run));
        run.clear();
    };
    for (int i = 0; i < kMaxSamples && ch.samples[i] != kCodeEnd; ++i) {
        const uint64_t t = ch.startTime + static_cast<uint64_t>(i) * ch.interval;
        if (t < from)
            continue;
        if (t > to)
            break;
        const uint16_t code = ch.samples[i];
        if (code == kCodeMissing) {
            endRun();
            continue;
        }
        const int c = columnOf(static_cast<uint32_t>(t));
        if (code == kCodeOver || code == kCodeUnder) {
            endRun();
            const EdgeMark mark{centre(c), code == kCodeOver};
            // Columns come in time order: a mark of this column and kind is among the last two.
            const std::size_t n = trace.marks.size();
            if (std::find(trace.marks.begin() +
                              static_cast<std::ptrdiff_t>(n - std::min(n, std::size_t{2})),
                          trace.marks.end(), mark) == trace.marks.end())
                trace.marks.push_back(mark);
            continue;
        }
        if (column.Open() && column.Index() != c)
            column.Flush(run);
        if (!column.Open())
            column.Start(c, centre(c));
        const double v = doc.ToValue(code, ch.measureType, 1);
        column.Add(
            std::clamp(plot.bottom - (v - plot.lower) / plot.valuesPerUnit, plot.top, plot.bottom));
    }
    endRun();
    return trace;
}

std::vector<LimitLabelPlace> PlaceLimitLabels(const std::vector<double>& ys,
                                              const std::vector<double>& widths,
                                              const LabelText& text, double top, double bottom) {
    const double height = text.height;
    std::vector<int> order(ys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&ys](int a, int b) { return ys[a] < ys[b]; });
    const auto width = [&widths](int i) {
        return static_cast<std::size_t>(i) < widths.size() ? widths[static_cast<std::size_t>(i)]
                                                           : 0.0;
    };
    std::vector<LimitLabelPlace> labels;
    double joined = 0; // the width of the last label so far
    for (const int i : order) {
        if (!labels.empty() && ys[i] - ys[labels.back().lines.back()] < height &&
            joined + text.separator + width(i) <= text.maxWidth) {
            labels.back().lines.push_back(i);
            joined += text.separator + width(i);
        } else {
            labels.push_back({{i}, 0});
            joined = width(i);
        }
    }
    const auto fits = [&] { return static_cast<double>(labels.size()) * height <= bottom - top; };
    // More labels than the plot has room for: the closest neighbours share one.
    while (labels.size() > 1 && !fits()) {
        std::size_t closest = 0;
        double gap = INFINITY;
        for (std::size_t k = 0; k + 1 < labels.size(); ++k) {
            const double g = ys[labels[k + 1].lines.front()] - ys[labels[k].lines.back()];
            if (g < gap) {
                gap = g;
                closest = k;
            }
        }
        auto& into = labels[closest].lines;
        const auto& from = labels[closest + 1].lines;
        into.insert(into.end(), from.begin(), from.end());
        labels.erase(labels.begin() + static_cast<std::ptrdiff_t>(closest) + 1);
    }
    const double last = std::max(top, bottom - height);
    for (LimitLabelPlace& l : labels)
        l.top = std::clamp(ys[l.lines.front()] - height, top, last);
    for (std::size_t k = 1; k < labels.size(); ++k)
        labels[k].top = std::max(labels[k].top, labels[k - 1].top + height);
    if (!labels.empty())
        labels.back().top = std::min(labels.back().top, last);
    for (std::size_t k = labels.size(); k-- > 1;)
        labels[k - 1].top = std::min(labels[k - 1].top, labels[k].top - height);
    return labels;
}

} // namespace saroko
