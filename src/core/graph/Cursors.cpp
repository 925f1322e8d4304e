// The two cursors and the mouse gestures of the graph view: stepping, snapping a dropped
// cursor to a sample, and what a press, a drag step and a release do in each drag mode.
#include <algorithm>
#include <cmath>

#include "core/graph/GraphModel.h"

namespace saroko {
namespace {

constexpr uint32_t kMaxTime = 0xFFFFFFFFu;

uint32_t ClampTime(int64_t t) {
    return static_cast<uint32_t>(std::clamp<int64_t>(t, 0, kMaxTime));
}

bool Between(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

} // namespace

void CGraphModel::StepCursors(bool left) {
    GraphRange& r = Range();
    const CZorvicDoc& doc = m_doc;
    const bool selA = doc.m_nCursorASelect == 1, selB = doc.m_nCursorBSelect == 1;
    const uint32_t a = r.cursorA, b = r.cursorB;
    const uint32_t g = a > b ? a - b : b - a;
    const uint32_t m = r.minInterval;
    const auto step = [&](uint32_t c) -> uint32_t {
        if (left)
            return std::max(c <= m ? r.viewStart : c - m, r.viewStart);
        return std::min(ClampTime(static_cast<int64_t>(c) + m), r.viewEnd);
    };
    uint32_t a2 = selA ? step(a) : a;
    uint32_t b2 = selB ? step(b) : b;
    const uint32_t g2 = a2 > b2 ? a2 - b2 : b2 - a2;
    if (selA && selB && (g2 == 0 || g2 != g)) {
        // One of them stopped at the edge: the other keeps the distance from it.
        if (left) {
            const uint32_t restored = ClampTime(static_cast<int64_t>(r.viewStart) + g);
            if (b > r.viewStart && a2 == r.viewStart)
                b2 = restored;
            else if (b2 == r.viewStart)
                a2 = restored;
        } else {
            const uint32_t restored = ClampTime(static_cast<int64_t>(r.viewEnd) - g);
            if (b < r.viewEnd && a2 == r.viewEnd)
                b2 = restored;
            else if (b2 == r.viewEnd)
                a2 = restored;
        }
    }
    // A distance wider than the window (a cursor that was outside it) must not push the other
    // one out: the cursors never leave the time window.
    r.cursorA = std::clamp(a2, r.viewStart, std::max(r.viewStart, r.viewEnd));
    r.cursorB = std::clamp(b2, r.viewStart, std::max(r.viewStart, r.viewEnd));
    m_xCursorA = TimeToX(r.cursorA);
    m_xCursorB = TimeToX(r.cursorB);
}

uint32_t CGraphModel::SnapCursorTime(uint32_t t) const {
    const int64_t lim = static_cast<int64_t>(t) + static_cast<int64_t>(std::trunc(m_fSecPerPixel));
    int64_t best = lim;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = m_doc.GetChannel(n);
        // An interval of 0 has no sample grid to snap to (and would divide by zero).
        if (!ch || ch->present == 0 || ch->interval == 0 || ch->startTime > t)
            continue;
        const int64_t start = ch->startTime;
        const int64_t interval = ch->interval;
        if (start + static_cast<int64_t>(ch->sampleCount) * interval < lim)
            continue;
        const int64_t k = (static_cast<int64_t>(t) - start + interval - 1) / interval;
        best = std::min(best, start + k * interval);
    }
    return ClampTime(best);
}

uint32_t CGraphModel::DropCursorTime(int x) const {
    const int d = std::clamp(x - m_rcPlot.left, 0, std::max(0, m_rcPlot.right - m_rcPlot.left));
    // Single-precision product, as the pixel scale is kept.
    const float product = static_cast<float>(d) * m_fSecPerPixel;
    const double offset = std::trunc(static_cast<double>(product) + 0.99);
    return SnapCursorTime(
        ClampTime(static_cast<int64_t>(Range().viewStart) + static_cast<int64_t>(offset)));
}

void CGraphModel::ToggleCursorSelect(bool b) {
    uint32_t& sel = b ? m_doc.m_nCursorBSelect : m_doc.m_nCursorASelect;
    sel = sel == 1 ? 0 : 1;
    m_doc.SaveCursorSettings();
}

void CGraphModel::SetCursorStyle(int style) {
    m_doc.m_nCursorStyle = static_cast<uint32_t>(style);
    m_doc.SaveCursorSettings();
}

int CGraphModel::ClampToPlotX(int x) const {
    return std::clamp(x, m_rcPlot.left, std::max(m_rcPlot.left, m_rcPlot.right));
}

PressAction CGraphModel::LeftButtonDown(GraphPoint pt) {
    m_ptPress = pt;
    m_ptLast = pt;
    PressAction action = PressAction::kNone;
    if (m_rcPlot.Contains(pt.x, pt.y)) {
        m_nDragMode = kDragZoom;
        m_rcZoom = {};
        return action;
    }

    const GraphRect& tb = m_rcTimeBar;
    if (Between(pt.y, tb.top, tb.bottom)) {
        if (Between(pt.x, tb.left, tb.left + kArrowButton))
            action = PressAction::kScrollTimeLeft;
        else if (Between(pt.x, tb.right - kArrowButton, tb.right))
            action = PressAction::kScrollTimeRight;
        if (m_rcTimeThumb != GraphRect{} &&
            Between(pt.x, m_rcTimeThumb.left, m_rcTimeThumb.right)) {
            m_nDragMode = kDragTimeThumb;
            m_rcPressThumb = m_rcTimeThumb;
        }
    }

    const GraphRect& vb = m_rcValueBar;
    if (Between(pt.x, vb.left, vb.right)) {
        if (Between(pt.y, vb.top, vb.top + kArrowButton))
            action = PressAction::kScrollValueUp;
        else if (Between(pt.y, vb.bottom - kArrowButton, vb.bottom))
            action = PressAction::kScrollValueDown;
        if (m_rcValueThumb != GraphRect{} &&
            Between(pt.y, m_rcValueThumb.top, m_rcValueThumb.bottom)) {
            m_nDragMode = kDragValueThumb;
            m_fHeightAtPress = Range().viewUpper - Range().viewLower;
        }
    }

    const GraphRect& cb = m_rcCursorBar;
    if (Between(pt.y, cb.top, cb.bottom)) {
        if (Between(pt.x, cb.left, cb.left + kArrowButton)) {
            action = PressAction::kStepLeft;
            m_nRepeatMode = kRepeatLeft;
        } else if (Between(pt.x, cb.right - kArrowButton, cb.right)) {
            action = PressAction::kStepRight;
            m_nRepeatMode = kRepeatRight;
        }
        // The cursor on top is tested last, so it wins where the flags overlap.
        const auto tryFlag = [&](bool b) {
            const GraphRect& flag = b ? m_rcFlagB : m_rcFlagA;
            if (flag == GraphRect{} || !Between(pt.x, flag.left, flag.right))
                return;
            m_bBOnTop = b ? 1 : 0;
            m_nDragMode = b ? kDragFlagB : kDragFlagA;
            m_ptPress.x = b ? m_xCursorB : m_xCursorA;
        };
        const bool bOnTop = m_bBOnTop == 1;
        tryFlag(!bOnTop);
        tryFlag(bOnTop);
    }
    return action;
}

DragFeedback CGraphModel::MouseMove(GraphPoint pt) {
    switch (m_nDragMode) {
    case kDragZoom:
        if (!m_rcPlot.Contains(pt.x, pt.y) || pt.x == m_ptPress.x || pt.y == m_ptPress.y)
            return DragFeedback::kNone;
        m_ptLast = pt;
        m_rcZoom = NormalizedRect(m_ptPress.x, m_ptPress.y, pt.x, pt.y);
        return DragFeedback::kZoomRect;
    case kDragTimeThumb: {
        m_ptLast = pt;
        const GraphRect& s = m_rcTimeBar;
        const int width = m_rcPressThumb.right - m_rcPressThumb.left;
        int left = m_rcPressThumb.left + (pt.x - m_ptPress.x);
        left = std::min(left, s.right - kArrowButton - width);
        left = std::max(left, s.left + kArrowButton);
        m_rcTimeThumb = {left, m_rcPressThumb.top, left + width, m_rcPressThumb.bottom};
        return DragFeedback::kTimeThumb;
    }
    case kDragValueThumb: {
        m_ptLast = pt;
        DragValueThumb(m_ptPress.y, pt.y, m_fHeightAtPress);
        PlaceValueThumb();
        const GraphRect& s = m_rcValueBar;
        GraphRect& t = m_rcValueThumb;
        const int height = t.bottom - t.top;
        if (t.top < s.top + kArrowButton)
            t = {t.left, s.top + kArrowButton, t.right, s.top + kArrowButton + height};
        if (t.bottom > s.bottom - kArrowButton)
            t = {t.left, s.bottom - kArrowButton - height, t.right, s.bottom - kArrowButton};
        return DragFeedback::kValueThumb;
    }
    case kDragFlagA:
    case kDragFlagB:
        m_ptLast = pt;
        (m_nDragMode == kDragFlagA ? m_xCursorA : m_xCursorB) = ClampToPlotX(pt.x);
        return DragFeedback::kCursors;
    default:
        return DragFeedback::kNone;
    }
}

CGraphModel::ReleaseOutcome CGraphModel::LeftButtonUp(GraphPoint pt) {
    ReleaseOutcome out;
    m_nRepeatMode = kRepeatNone;
    const int mode = m_nDragMode;
    // Off before anything is repainted, so that the thumbs follow the range again.
    m_nDragMode = kDragNone;
    switch (mode) {
    case kDragZoom:
        ZoomToRect(m_ptPress, pt);
        m_rcZoom = {};
        out.refreshGraph = true;
        out.arrowPointer = true;
        break;
    case kDragTimeThumb:
        DragTimeThumb(m_ptPress.x, m_ptLast.x);
        out.refreshGraph = true;
        break;
    case kDragValueThumb:
        CommitValueDrag();
        out.refreshGraph = true;
        break;
    case kDragFlagA:
    case kDragFlagB: {
        const bool b = mode == kDragFlagB;
        int& x = b ? m_xCursorB : m_xCursorA;
        if (x == m_ptPress.x) // a click on the flag without moving
            ToggleCursorSelect(b);
        uint32_t& cursor = b ? Range().cursorB : Range().cursorA;
        cursor = DropCursorTime(pt.x);
        x = TimeToX(cursor);
        out.redrawCursors = true;
        out.refreshPane = true;
        break;
    }
    default:
        break;
    }
    return out;
}

} // namespace saroko
