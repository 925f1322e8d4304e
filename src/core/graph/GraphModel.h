#pragma once
// The graph view's geometry and arithmetic: the layout of the client area, the two scales and
// grids, the mapping of times and values to pixels, the trace geometry and every operation
// that moves the time or value window. Everything is recomputed from the document at each
// paint; the range block is the only state shared with the rest of the program.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/document/ZorvicDoc.h"
#include "core/graph/GraphRect.h"
#include "core/graph/GraphScales.h"

namespace saroko {

// Metrics of the view's font that the layout uses.
struct TextMetrics {
    int aveCharWidth = 6;
    int height = 12;
};

// The view is never laid out with its window's bottom edge above this screen y.
inline constexpr int kMinViewBottom = 225;
// The legend pane's top never goes above this screen y.
inline constexpr int kMinPaneTop = 150;

enum class LayoutResult {
    kDrawn,  // geometry ready, paint everything
    kResize, // the window must grow first (see ResizeWidth/ResizeHeight); draw nothing
    kEmpty,  // no client area to draw into
};

struct ValueTick {
    float value;
    int y;
    int labelY;
    std::string label;
};

struct TimeTick {
    uint32_t t;
    int x;
    int labelX;
    std::string date;
    std::string time;
};

// Mouse drag modes of the view.
enum DragMode : int {
    kDragNone = 0,
    kDragZoom = 1,
    kDragTimeThumb = 2,
    kDragValueThumb = 3,
    kDragFlagA = 4,
    kDragFlagB = 5,
};

inline constexpr int kFlagSize = 11;
inline constexpr int kArrowButton = 15;

// Auto-repeat of the cursor strip's buttons.
enum RepeatMode : int {
    kRepeatNone = 0,
    kRepeatLeft = 1,
    kRepeatRight = 2,
};
// The repeat timer of the cursor strip's buttons.
inline constexpr int kRepeatMilliseconds = 500;

// What a left-button press outside the plot asks the view to do before any drag starts.
enum class PressAction {
    kNone,
    kScrollTimeLeft,
    kScrollTimeRight,
    kScrollValueUp,
    kScrollValueDown,
    kStepLeft,
    kStepRight,
};

// What a drag step changed, so that the view redraws only that.
enum class DragFeedback {
    kNone,
    kZoomRect,   // the rectangle over the plot, cursors over it
    kTimeThumb,  // the time strip
    kValueThumb, // the value strip
    kCursors,    // the cursor lines and flags
};

class CGraphModel {
public:
    explicit CGraphModel(CZorvicDoc& doc) : m_doc(doc) {}

    CZorvicDoc& Doc() { return m_doc; }
    const CZorvicDoc& Doc() const { return m_doc; }
    GraphRange& Range() { return *m_doc.GetRange(); }
    const GraphRange& Range() const { return *m_doc.GetRange(); }

    // The layout step at the start of every paint. `window` is the view's window rectangle in
    // screen coordinates, `client` its client rectangle. May widen the document's windows to
    // their minimum sizes.
    LayoutResult Layout(const GraphRect& window, const GraphRect& client, const TextMetrics& tm);
    int ResizeWidth() const { return m_nResizeWidth; }
    int ResizeHeight() const { return m_nResizeHeight; }

    // Mapping; both clamp to the 32-bit range.
    int TimeToX(uint32_t t) const;
    int ValueToY(uint16_t code, int measureType, int sensorCode) const;

    // Grid lines and their labels, as DrawBase places them.
    std::vector<TimeTick> TimeTicks() const;
    std::vector<ValueTick> ValueTicks() const;
    int ValueLabelX() const { return m_rcPlot.left - m_nValueLabelWidth - 3; }
    int TimeLabelY() const { return m_rcPlot.bottom + 14; }

    // Cursors: first kept inside the time window (written back), then placed.
    void PlaceCursors();
    // The column a cursor line is drawn in, and the left edge of its flag.
    int CursorLineX(int x) const;
    int FlagLeft(int x) const;
    GraphRect FlagRect(int x) const;
    // The pixels a cursor at x covers: its line down the plot and its flag. A cursor move
    // redraws only these, before and after.
    std::array<GraphRect, 2> CursorMarks(int x) const;

    // The trace of one channel as the painter draws it: clipped lines and plus-sign markers.
    // `out` is cleared first (its capacity is kept between paints). The lines inside one pixel
    // column are merged: kPixels into one that lights the same pixels, for surfaces painted
    // pixel by pixel; kLines into one that covers the same points, for printers and PDF.
    enum class TraceDetail { kLines, kPixels };
    void BuildTrace(const ChannelRecord& ch, std::vector<GraphSegment>& out,
                    TraceDetail detail = TraceDetail::kLines) const;
    bool MarkersOn(uint32_t interval) const;
    // One segment from a point to the next, clipped to the plot; adds the marker when asked.
    void ClippedLine(int x1, int y1, int x2, int y2, bool marker,
                     std::vector<GraphSegment>& out) const;

    // Copies the value window into the drag fields (unless a thumb is being dragged) and
    // computes both thumbs.
    void PrepareThumbs();
    // The value thumb from m_fDragUpper/m_fDragLower.
    void PlaceValueThumb();
    // The rectangle filled for a thumb (right and bottom exclusive).
    GraphRect TimeThumbFill() const;
    GraphRect ValueThumbFill() const;

    // The areas a range change makes the view repaint, in order.
    std::array<GraphRect, 6> RefreshRects() const;

    // True when the window shows the whole data and value range.
    bool ShowsEverything() const;

    // Range operations. Each returns true when the view is to be refreshed.
    bool ZoomIn();
    bool ZoomOut();
    bool ScrollTime(bool left);
    bool ScrollValue(bool up);
    bool ZoomToRect(GraphPoint press, GraphPoint release);
    bool DragTimeThumb(int pressX, int lastX);
    // During a value-thumb drag: the dragged window into m_fDragUpper/m_fDragLower.
    void DragValueThumb(int pressY, int y, float heightAtPress);
    // On release of the value thumb: the dragged window becomes the document's.
    bool CommitValueDrag();
    bool JumpToExtreme(int channel, bool max);
    bool FollowListRange(uint32_t start, uint32_t span);
    // The calculation range dialog's result: clip it to the data, recompute the statistics,
    // show exactly that span and fit the value window to it.
    bool ApplyCalcRangeView(uint32_t start, uint32_t end);

    // Cursors. StepCursors moves the selected cursors by the shortest recording interval,
    // never out of the time window, and keeps their distance when one stops at an edge.
    void StepCursors(bool left);
    // The earliest sample time of any channel within the pixel that starts at t; the pixel's
    // end when no sample lies in it.
    uint32_t SnapCursorTime(uint32_t t) const;
    // The time a cursor flag released at x lands on.
    uint32_t DropCursorTime(int x) const;
    // Flips a cursor's selection (Ctrl+A, Ctrl+B, a click on its flag) and saves the section.
    void ToggleCursorSelect(bool b);
    // 0 solid, 1 dashed, 2 dotted; saved at once.
    void SetCursorStyle(int style);

    // Mouse gestures of the view, by drag mode. The press classifies the point and starts a
    // drag; the move updates the feedback; the release says what the view commits.
    PressAction LeftButtonDown(GraphPoint pt);
    DragFeedback MouseMove(GraphPoint pt);
    struct ReleaseOutcome {
        bool refreshGraph = false;  // the range changed or a thumb is to be put back
        bool redrawCursors = false; // a cursor was dropped or its selection flipped
        bool refreshPane = false;
        bool arrowPointer = false;
    };
    ReleaseOutcome LeftButtonUp(GraphPoint pt);
    // The x a dragged cursor is shown at while its flag is held.
    int ClampToPlotX(int x) const;

    // Layout results, named as the view keeps them.
    GraphRect m_rcClient;
    GraphRect m_rcPlot;
    GraphRect m_rcTimeBar;
    GraphRect m_rcValueBar;
    GraphRect m_rcCursorBar;
    GraphRect m_rcPane; // screen coordinates
    float m_fTimeSpan = 0;
    float m_fSecPerPixel = 0;
    float m_fValueSpan = 0;
    float m_fValuePerPixel = 0;
    uint32_t m_nTimeStep = 0;
    uint32_t m_tFirstTick = 0;
    float m_fValueStep = 0;
    int m_nValueDecimals = 1;
    char m_szValueFormat[10] = {};
    int m_nValueLabelWidth = 0;
    int m_nMarkerHalf = 1;
    TextMetrics m_tm;

    // Thumbs (as computed: right and bottom are the last pixel) and the dragged value window.
    GraphRect m_rcTimeThumb;
    GraphRect m_rcValueThumb;
    float m_fDragUpper = 0;
    float m_fDragLower = 0;

    // Cursors and mouse state.
    int m_xCursorA = 0;
    int m_xCursorB = 0;
    GraphRect m_rcFlagA;
    GraphRect m_rcFlagB;
    int m_bBOnTop = 0;
    int m_nDragMode = kDragNone;
    int m_nRepeatMode = kRepeatNone;
    GraphPoint m_ptPress;       // for a flag: the cursor's x at the press
    GraphPoint m_ptLast;        // the last pointer position seen during a drag
    GraphRect m_rcZoom;         // the zoom rectangle while it is dragged (empty: none yet)
    GraphRect m_rcPressThumb;   // the time thumb as it was at the press
    float m_fHeightAtPress = 0; // the value window's height at the press on its thumb

private:
    CZorvicDoc& m_doc;
    int m_nResizeWidth = 0;
    int m_nResizeHeight = 0;
};

// Sample i of a channel, the terminator after the last slot.
inline uint16_t SampleAt(const ChannelRecord& ch, int i) {
    return i < kMaxSamples ? ch.samples[i] : kCodeEnd;
}
// A walk visits at most this many samples: every slot and the terminator.
inline constexpr int kMaxSampleWalk = kMaxSamples + 1;

} // namespace saroko
