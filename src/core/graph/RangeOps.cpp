// The operations that move or resize the time and value windows. Times are unsigned 32-bit
// seconds; where a sum or difference could run past either end of that range it is taken in
// 64 bits and kept inside, so that a window near 1970 or near the end of the range never
// wraps around to the other end.
#include <cmath>
#include <cstdlib>

#include "core/graph/GraphModel.h"

namespace saroko {
namespace {

constexpr uint32_t kMaxTime = 0xFFFFFFFFu;

uint32_t ClampTime(int64_t t) {
    if (t < 0)
        return 0;
    if (t > static_cast<int64_t>(kMaxTime))
        return kMaxTime;
    return static_cast<uint32_t>(t);
}

uint32_t Mid(uint32_t a, uint32_t b) {
    return static_cast<uint32_t>((static_cast<uint64_t>(a) + b) / 2);
}

// A window of width w placed at `start` (may lie outside the u32 range), pushed back inside
// the data range.
void PlaceWindow(GraphRange& r, int64_t start, uint32_t w) {
    if (start < static_cast<int64_t>(r.dataStart)) {
        r.viewStart = r.dataStart;
        r.viewEnd = ClampTime(static_cast<int64_t>(r.dataStart) + w);
    } else if (start + w > static_cast<int64_t>(r.dataEnd)) {
        r.viewStart = ClampTime(static_cast<int64_t>(r.dataEnd) - w);
        r.viewEnd = r.dataEnd;
    } else {
        r.viewStart = static_cast<uint32_t>(start);
        r.viewEnd = static_cast<uint32_t>(start + w);
    }
}

} // namespace

bool CGraphModel::ZoomIn() {
    GraphRange& r = Range();
    const uint32_t w = r.viewEnd - r.viewStart;
    const uint32_t c = Mid(r.viewStart, r.viewEnd);
    const uint32_t q = w >> 2;
    r.viewStart = c - q;
    r.viewEnd = c + q;
    const double m = (r.viewUpper + r.viewLower) * 0.5;
    const double d = (r.viewUpper - r.viewLower) * 0.25;
    r.viewUpper = static_cast<float>(m + d);
    r.viewLower = static_cast<float>(m - d);
    return true;
}

bool CGraphModel::ZoomOut() {
    GraphRange& r = Range();
    const uint64_t w = r.viewEnd - r.viewStart;
    const uint32_t c = Mid(r.viewStart, r.viewEnd);
    uint32_t d = r.dataEnd - r.dataStart;
    while (d > 2 * w)
        d >>= 1;
    const uint32_t start = c <= d ? r.dataStart : std::max(r.dataStart, c - d);
    const uint32_t end =
        static_cast<uint32_t>(std::min<uint64_t>(r.dataEnd, static_cast<uint64_t>(c) + d));
    r.viewStart = start;
    r.viewEnd = end;

    const double m = (r.viewUpper + r.viewLower) * 0.5;
    const float height = r.viewUpper - r.viewLower;
    float f = r.fullUpper - r.fullLower;
    // An empty or inverted window would halve the span down to nothing forever.
    while (height > 0 && f >= 2 * height)
        f *= 0.5f;
    r.viewUpper = static_cast<float>(std::min<double>(m + f, r.fullUpper));
    r.viewLower = static_cast<float>(std::max<double>(m - f, r.fullLower));
    return true;
}

bool CGraphModel::ScrollTime(bool left) {
    GraphRange& r = Range();
    const uint32_t w = r.viewEnd - r.viewStart;
    const uint32_t h = w >> 1;
    if (left) {
        const uint32_t start = r.viewStart <= h ? r.dataStart : r.viewStart - h;
        if (start < r.dataStart) {
            r.viewStart = r.dataStart;
            r.viewEnd = ClampTime(static_cast<int64_t>(r.dataStart) + 2 * static_cast<int64_t>(h));
        } else {
            r.viewStart = start;
            r.viewEnd = ClampTime(static_cast<int64_t>(start) + 2 * static_cast<int64_t>(h));
        }
    } else {
        const int64_t end = static_cast<int64_t>(r.viewEnd) + h;
        if (end > static_cast<int64_t>(r.dataEnd)) {
            r.viewStart = ClampTime(static_cast<int64_t>(r.dataEnd) - w);
            r.viewEnd = r.dataEnd;
        } else {
            r.viewStart += h;
            r.viewEnd = static_cast<uint32_t>(end);
        }
    }
    return true;
}

bool CGraphModel::ScrollValue(bool up) {
    GraphRange& r = Range();
    const double d = (r.viewUpper - r.viewLower) * 0.5;
    if (up) {
        const float upper = static_cast<float>(r.viewUpper + d);
        const float lower = static_cast<float>(r.viewLower + d);
        if (upper >= r.fullUpper) {
            r.viewLower = r.fullUpper - (upper - lower);
            r.viewUpper = r.fullUpper;
        } else {
            r.viewUpper = upper;
            r.viewLower = lower;
        }
    } else {
        const float upper = static_cast<float>(r.viewUpper - d);
        const float lower = static_cast<float>(r.viewLower - d);
        if (lower <= r.fullLower) {
            r.viewUpper = r.fullLower + (upper - lower);
            r.viewLower = r.fullLower;
        } else {
            r.viewUpper = upper;
            r.viewLower = lower;
        }
    }
    return true;
}

bool CGraphModel::ZoomToRect(GraphPoint press, GraphPoint release) {
    if (!m_rcPlot.Contains(release.x, release.y) || release.x == press.x || release.y == press.y)
        return true; // nothing to zoom to, but the drag frame is painted away
    GraphRange& r = Range();
    const GraphRect z = NormalizedRect(press.x, press.y, release.x, release.y);
    const uint32_t s = r.viewStart;
    const auto at = [&](int x) {
        return ClampTime(static_cast<int64_t>(s) +
                         static_cast<int64_t>(std::trunc((x - m_rcPlot.left) *
                                                         static_cast<double>(m_fSecPerPixel))));
    };
    r.viewEnd = at(z.right);
    r.viewStart = at(z.left);
    r.viewLower = static_cast<float>(r.viewLower + (m_rcPlot.bottom - z.bottom) *
                                                       static_cast<double>(m_fValuePerPixel));
    r.viewUpper = static_cast<float>(r.viewUpper - (z.top - m_rcPlot.top) *
                                                       static_cast<double>(m_fValuePerPixel));
    return true;
}

bool CGraphModel::DragTimeThumb(int pressX, int lastX) {
    if (pressX == lastX)
        return false;
    const int track = m_rcTimeBar.Width() - 30;
    if (track <= 0)
        return false;
    GraphRange& r = Range();
    const uint32_t w = r.viewEnd - r.viewStart;
    const int64_t moved = std::llabs(static_cast<int64_t>(pressX) - lastX);
    const int64_t shift = moved * static_cast<int64_t>(r.dataEnd - r.dataStart) / track;
    const int64_t start = lastX < pressX ? static_cast<int64_t>(r.viewStart) - shift
                                         : static_cast<int64_t>(r.viewStart) + shift;
    PlaceWindow(r, start, w);
    return true;
}

void CGraphModel::DragValueThumb(int pressY, int y, float heightAtPress) {
    const GraphRange& r = Range();
    const int track = m_rcValueBar.Height() - 30;
    const double delta =
        track <= 0 ? 0.0
                   : static_cast<double>(r.fullUpper - r.fullLower) / track * std::abs(y - pressY);
    if (y > pressY) {
        m_fDragUpper = static_cast<float>(r.viewUpper - delta);
        m_fDragLower = static_cast<float>(r.viewLower - delta);
    } else {
        m_fDragUpper = static_cast<float>(r.viewUpper + delta);
        m_fDragLower = static_cast<float>(r.viewLower + delta);
    }
    if (m_fDragUpper >= r.fullUpper) {
        m_fDragUpper = r.fullUpper;
        m_fDragLower = r.fullUpper - heightAtPress;
    }
    if (m_fDragLower < r.fullLower) {
        m_fDragUpper = r.fullLower + heightAtPress;
        m_fDragLower = r.fullLower;
    }
}

bool CGraphModel::CommitValueDrag() {
    GraphRange& r = Range();
    if (m_fDragLower < r.fullLower) {
        r.viewUpper = m_fDragUpper - m_fDragLower + r.fullLower;
        r.viewLower = r.fullLower;
    } else {
        r.viewUpper = m_fDragUpper;
        r.viewLower = m_fDragLower;
    }
    return true;
}

bool CGraphModel::JumpToExtreme(int channel, bool max) {
    GraphRange& r = Range();
    const ChannelRecord* ch = m_doc.GetChannel(channel);
    if ((r.viewStart == r.dataStart && r.viewEnd == r.dataEnd) || !ch || ch->present == 0)
        return false;
    const uint16_t wanted = max ? ch->statMax : ch->statMin;
    bool found = false;
    uint32_t t = 0;
    for (int i = 0; i < kMaxSampleWalk; ++i) {
        const uint16_t code = SampleAt(*ch, i);
        if (code == kCodeEnd)
            break;
        const uint32_t ti = ch->startTime + static_cast<uint32_t>(i) * ch->interval;
        if (code == wanted && ti >= r.calcStart && ti <= r.calcEnd) {
            t = ti;
            found = true;
            break;
        }
    }
    if (!found)
        return false;

    const uint32_t h = (r.viewEnd - r.viewStart) >> 1;
    const int64_t start = t < h ? static_cast<int64_t>(r.dataStart) : static_cast<int64_t>(t) - h;
    PlaceWindow(r, start, 2 * h);

    const double v = m_doc.ToValue(wanted, ch->measureType, 1);
    const float height = r.viewUpper - r.viewLower;
    const float half = height / 2;
    const float upper = static_cast<float>(v + half);
    const float lower = static_cast<float>(v - half);
    if (lower < r.fullLower) {
        r.viewUpper = r.fullLower + height;
        r.viewLower = r.fullLower;
    } else if (upper > r.fullUpper) {
        r.viewUpper = r.fullUpper;
        r.viewLower = r.fullUpper - height;
    } else {
        r.viewUpper = upper;
        r.viewLower = lower;
    }
    return true;
}

bool CGraphModel::FollowListRange(uint32_t start, uint32_t span) {
    GraphRange& r = Range();
    const uint32_t w = r.viewEnd - r.viewStart;
    if (start < r.viewStart) {
        r.viewStart = start;
        r.viewEnd = ClampTime(static_cast<int64_t>(start) + w);
        return true;
    }
    const int64_t end = static_cast<int64_t>(start) + span;
    if (end > static_cast<int64_t>(r.viewEnd)) {
        r.viewEnd = ClampTime(end);
        r.viewStart = ClampTime(static_cast<int64_t>(r.viewEnd) - w);
        return true;
    }
    return false;
}

bool CGraphModel::ApplyCalcRangeView(uint32_t start, uint32_t end) {
    GraphRange& r = Range();
    r.calcStart = start;
    r.calcEnd = end;
    if ((start < r.dataStart && end < r.dataStart) || (start > r.dataEnd && end > r.dataEnd)) {
        r.calcStart = r.dataStart;
        r.calcEnd = r.dataEnd;
    } else {
        if (start < r.dataStart)
            r.calcStart = r.dataStart;
        if (end > r.dataEnd)
            r.calcEnd = r.dataEnd;
    }
    m_doc.CalcStatistics();
    r.viewStart = r.calcStart;
    r.viewEnd = r.calcEnd;

    double vmax = 0.0, vmin = 65535.0;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = m_doc.GetChannel(n);
        if (!ch || ch->present == 0)
            continue;
        for (int i = 0; i < kMaxSampleWalk; ++i) {
            const uint16_t code = SampleAt(*ch, i);
            if (code == kCodeEnd)
                break;
            const uint32_t t = ch->startTime + static_cast<uint32_t>(i) * ch->interval;
            if (t < r.viewStart || t > r.viewEnd || code == kCodeMissing)
                continue;
            const double v = m_doc.ToValue(ch->ValueCode(code), ch->measureType, 1);
            if (v > vmax)
                vmax = v;
            if (v < vmin)
                vmin = v;
        }
    }
    if (!(vmax == 0.0 && vmin == 65535.0)) {
        if (std::fabs(vmax - vmin) < 2.0) {
            const double mid = (vmax + vmin) / 2.0;
            vmax = mid + 1.0;
            vmin = mid - 1.0;
        }
        const double margin = std::fabs(vmax - vmin) * 0.05;
        r.viewUpper = static_cast<float>(vmax + margin);
        r.viewLower = static_cast<float>(vmin - margin);
    }
    return true;
}

} // namespace saroko
