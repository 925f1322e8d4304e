// Cursor arithmetic: the step rule at the window's edges, snapping a dropped cursor to a
// sample, where a flag release lands, and what a left-button press starts where.
#include <gtest/gtest.h>

#include "core/graph/GraphTestSupport.h"

namespace saroko::test {
namespace {

constexpr uint32_t V = 1000000; // viewStart of the step cases; the window is one hour

class CursorTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        Show({V - 7200, V + 7200, V, V + 3600, 100, 0, 100, 0});
    }
};

TEST_F(CursorTest, StepKeepsTheCursorsInTheWindowAndTheirDistance) {
    // clang-format off
    // Selections of A and B, the cursors as offsets from viewStart, the step, the direction.
    const struct { const char* what; uint32_t selA, selB; int64_t a, b; uint32_t m; bool left; int64_t a2, b2; } cases[] = {
        {"both, left: A clamps, B keeps the distance", 1, 1, 10, 70, 60, true, 0, 60},
        {"both, left: plain step", 1, 1, 100, 200, 60, true, 40, 140},
        {"both, left: B clamps, A keeps the distance", 1, 1, 70, 10, 60, true, 60, 0},
        {"both, right: A clamps, B keeps the distance", 1, 1, 3590, 3500, 60, false, 3600, 3510},
        {"both, right: B clamps, A keeps the distance", 1, 1, 3500, 3590, 60, false, 3510, 3600},
        {"both at one time stay together at the edge", 1, 1, 5, 5, 60, true, 0, 0},
        {"both at the edge already: nothing moves", 1, 1, 0, 3600, 60, true, 0, 3600},
        {"only B selected: A stays", 0, 1, 100, 200, 60, false, 100, 260},
        {"only A selected, left", 1, 0, 100, 200, 60, true, 40, 200},
        {"only B selected: no distance rule at the edge", 0, 1, 100, 30, 60, true, 100, 0},
        {"none selected: nothing moves", 0, 0, 100, 200, 60, false, 100, 200},
        {"a selection value other than 1 is off", 2, 1, 100, 200, 60, false, 100, 260},
        {"a distance wider than the window stays inside it", 1, 1, -5000, 100, 60, true, 0, 3600},
    };
    // clang-format on
    for (const auto& c : cases) {
        doc.m_nCursorASelect = c.selA;
        doc.m_nCursorBSelect = c.selB;
        Range().minInterval = c.m;
        Range().cursorA = static_cast<uint32_t>(V + c.a);
        Range().cursorB = static_cast<uint32_t>(V + c.b);
        model.StepCursors(c.left);
        EXPECT_EQ(std::pair(Range().cursorA, Range().cursorB),
                  (std::pair<uint32_t, uint32_t>(V + c.a2, V + c.b2)))
            << c.what;
        EXPECT_EQ(std::pair(model.m_xCursorA, model.m_xCursorB),
                  std::pair(model.TimeToX(Range().cursorA), model.TimeToX(Range().cursorB)))
            << c.what;
    }
}

TEST_F(CursorTest, StepLeftNearTimeZeroStopsAtTheWindowStart) {
    SetWindow({0, 7200, 30, 3630, 100, 0, 100, 0});
    Range().minInterval = 60;
    doc.m_nCursorBSelect = 0;
    Range().cursorA = 40; // A <= m: the window's start, not a wrapped time
    model.StepCursors(true);
    EXPECT_EQ(Range().cursorA, 30u);
    Range().viewEnd = 0xFFFFFFFFu;
    Range().cursorA = 0xFFFFFFF0u;
    model.StepCursors(false);
    EXPECT_EQ(Range().cursorA, 0xFFFFFFFFu) << "no wrap past the end of time";
}

class SnapTest : public GraphTest {
protected:
    static constexpr uint32_t S = 2000000;
    void SetUp() override {
        GraphTest::SetUp();
        std::vector<uint16_t> codes(100, C(20.0));
        Fill(*doc.GetChannel(1), S, 60, codes);
        Fill(*doc.GetChannel(2), S + 25, 60, codes);
        // Present but without samples: must not attract the cursor.
        Fill(*doc.GetChannel(3), S + 3, 1, codes);
        doc.GetChannel(3)->sampleCount = 0;
        doc.RecalcRanges(1);
        ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
        model.m_fSecPerPixel = 20.5f; // the pixel under the pointer covers 20 s
    }
};

TEST_F(SnapTest, LandsOnTheEarliestSampleInsideThePixelElseAtItsEnd) {
    // clang-format off
    const struct { const char* what; int64_t t, expected; } cases[] = {
        {"a sample of Ch.1 inside the pixel", 50, 60},
        {"exactly on a sample", 60, 60},
        {"none inside: the pixel's end", 61, 81},
        {"Ch.2's sample is the earliest inside", 70, 85},
        {"before every channel's start", -10, 10},
        {"past the end of Ch.1: only Ch.2 counts, none inside", 5990, 6010},
        {"past the end of both", 7000, 7020},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(model.SnapCursorTime(static_cast<uint32_t>(S + c.t)), S + c.expected) << c.what;
}

TEST_F(SnapTest, FlagReleaseLandsOnTheSnappedTimeOfItsPixel) {
    const GraphRect& p = model.m_rcPlot;
    const uint32_t vs = Range().viewStart;
    EXPECT_EQ(model.DropCursorTime(p.left - 30), model.SnapCursorTime(vs)) << "left of the plot";
    EXPECT_EQ(model.DropCursorTime(p.left), model.SnapCursorTime(vs));
    // 10 pixels of 20.5 s: 205 s, rounded up by 0.99 -> 205.99 -> 205.
    EXPECT_EQ(model.DropCursorTime(p.left + 10), model.SnapCursorTime(vs + 205));
    const uint32_t plotEnd = vs + static_cast<uint32_t>((p.right - p.left) * 20.5f + 0.99);
    EXPECT_EQ(model.DropCursorTime(p.right + 50), model.SnapCursorTime(plotEnd))
        << "right of the plot: the plot's width";
}

TEST_F(SnapTest, ChannelsWithoutDataOrIntervalAreLeftAlone) {
    doc.GetChannel(1)->present = 0;
    EXPECT_EQ(model.SnapCursorTime(S + 50), S + 70) << "only the pixel's end is left";
    doc.GetChannel(2)->interval = 0; // no grid to snap to, and no division by zero
    EXPECT_EQ(model.SnapCursorTime(S + 50), S + 70);
}

// Where a press lands, relative to the laid-out strips.
class PressTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        std::vector<uint16_t> codes(400, C(20.0));
        Fill(*doc.GetChannel(1), 1000000, 10, codes);
        doc.RecalcRanges(1);
        model.ZoomIn(); // thumbs in the middle of their tracks
        ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
        model.PrepareThumbs();
        model.PlaceCursors();
        model.m_rcFlagA = model.FlagRect(model.m_xCursorA);
        model.m_rcFlagB = model.FlagRect(model.m_xCursorB);
    }
};

TEST_F(PressTest, EachAreaStartsItsOwnGesture) {
    const GraphRect& t = model.m_rcTimeBar;
    const GraphRect& v = model.m_rcValueBar;
    const GraphRect& k = model.m_rcCursorBar;
    const GraphRect& p = model.m_rcPlot;
    const GraphRect& tt = model.m_rcTimeThumb;
    const GraphRect& vt = model.m_rcValueThumb;
    const int ty = t.top + 5, vx = v.left + 5, ky = k.top + 3;
    // clang-format off
    const struct { const char* what; GraphPoint pt; PressAction action; int mode, repeat; } cases[] = {
        {"time strip, left arrow", {t.left, ty}, PressAction::kScrollTimeLeft, kDragNone, 0},
        {"time strip, left arrow's last column", {t.left + 15, ty}, PressAction::kScrollTimeLeft, kDragNone, 0},
        {"time strip, right arrow", {t.right, ty}, PressAction::kScrollTimeRight, kDragNone, 0},
        {"time strip, track", {t.left + 17, ty}, PressAction::kNone, kDragNone, 0},
        {"time thumb", {(tt.left + tt.right) / 2, ty}, PressAction::kNone, kDragTimeThumb, 0},
        {"value strip, up arrow", {vx, v.top}, PressAction::kScrollValueUp, kDragNone, 0},
        {"value strip, down arrow", {vx, v.bottom}, PressAction::kScrollValueDown, kDragNone, 0},
        {"value thumb", {vx, (vt.top + vt.bottom) / 2}, PressAction::kNone, kDragValueThumb, 0},
        {"cursor strip, left button", {k.left + 2, ky}, PressAction::kStepLeft, kDragNone, 1},
        {"cursor strip, right button", {k.right - 2, ky}, PressAction::kStepRight, kDragNone, 2},
        {"flag A", {model.m_rcFlagA.left + 3, ky}, PressAction::kNone, kDragFlagA, 0},
        {"flag B", {model.m_rcFlagB.left + 3, ky}, PressAction::kNone, kDragFlagB, 0},
        {"inside the plot", {p.left + 40, p.top + 40}, PressAction::kNone, kDragZoom, 0},
        {"left of everything", {2, p.top + 40}, PressAction::kNone, kDragNone, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        model.m_nDragMode = kDragNone;
        model.m_nRepeatMode = kRepeatNone;
        EXPECT_EQ(model.LeftButtonDown(c.pt), c.action) << c.what;
        EXPECT_EQ(std::pair(model.m_nDragMode, model.m_nRepeatMode), std::pair(c.mode, c.repeat))
            << c.what;
    }
}

TEST_F(PressTest, WhereFlagsOverlapTheCursorOnTopIsTaken) {
    const int ky = model.m_rcCursorBar.top + 3;
    model.m_xCursorA = 300;
    model.m_xCursorB = 304;
    model.m_rcFlagA = model.FlagRect(300);
    model.m_rcFlagB = model.FlagRect(304);
    for (int onTop : {0, 1}) {
        model.m_bBOnTop = onTop;
        model.m_nDragMode = kDragNone;
        model.LeftButtonDown({302, ky});
        EXPECT_EQ(model.m_nDragMode, onTop ? kDragFlagB : kDragFlagA) << onTop;
        EXPECT_EQ(model.m_bBOnTop, onTop) << "the cursor on top stays on top";
        EXPECT_EQ(model.m_ptPress.x, onTop ? 304 : 300) << "the press x is the cursor's x";
    }
    // Only B's flag under the pointer: B comes on top.
    model.m_bBOnTop = 0;
    model.LeftButtonDown({308, ky});
    EXPECT_EQ(model.m_nDragMode, kDragFlagB);
    EXPECT_EQ(model.m_bBOnTop, 1);
}

TEST_F(PressTest, FlagClickWithoutMovingTogglesAndSnaps) {
    const int ky = model.m_rcCursorBar.top + 3;
    const int x = model.m_xCursorA;
    model.LeftButtonDown({model.m_rcFlagA.left + 3, ky});
    const CGraphModel::ReleaseOutcome out = model.LeftButtonUp({x + 2, ky});
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    EXPECT_EQ(store.GetInt("CursorAB Section", "CursorASelect", 1), 0) << "saved at once";
    EXPECT_EQ(Range().cursorA, model.DropCursorTime(x + 2));
    EXPECT_TRUE(out.redrawCursors && out.refreshPane);
    EXPECT_EQ(model.m_nDragMode, kDragNone);

    // Dragged away: no toggle.
    model.LeftButtonDown({model.FlagRect(model.m_xCursorA).left + 3, ky});
    EXPECT_EQ(model.MouseMove({x + 100, ky}), DragFeedback::kCursors);
    EXPECT_EQ(model.m_xCursorA, x + 100);
    model.LeftButtonUp({x + 100, ky});
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    EXPECT_EQ(Range().cursorA, model.DropCursorTime(x + 100));
}

TEST_F(PressTest, DraggedThumbsStayInsideTheirTracks) {
    const GraphRect& t = model.m_rcTimeBar;
    const GraphRect thumb = model.m_rcTimeThumb;
    const GraphRange before = Range();
    model.LeftButtonDown({(thumb.left + thumb.right) / 2, t.top + 5});
    ASSERT_EQ(model.m_nDragMode, kDragTimeThumb);
    model.MouseMove({-5000, t.top + 5});
    EXPECT_EQ(model.m_rcTimeThumb.left, t.left + 15);
    EXPECT_EQ(model.m_rcTimeThumb.Width(), thumb.Width());
    model.MouseMove({5000, t.top + 5});
    EXPECT_EQ(model.m_rcTimeThumb.right, t.right - 15);
    EXPECT_EQ(Range(), before) << "nothing committed while dragging";

    const GraphRect& v = model.m_rcValueBar;
    const GraphRect vthumb = model.m_rcValueThumb;
    model.m_nDragMode = kDragNone;
    model.LeftButtonDown({v.left + 5, (vthumb.top + vthumb.bottom) / 2});
    ASSERT_EQ(model.m_nDragMode, kDragValueThumb);
    model.MouseMove({v.left + 5, 5000});
    EXPECT_LE(model.m_rcValueThumb.bottom, v.bottom - 15);
    EXPECT_EQ(model.m_fDragLower, Range().fullLower);
    model.LeftButtonUp({v.left + 5, 5000});
    EXPECT_EQ(Range().viewLower, Range().fullLower);
}

TEST_F(PressTest, ZoomRectangleFollowsOnlyInsideThePlot) {
    const GraphRect& p = model.m_rcPlot;
    model.LeftButtonDown({p.left + 10, p.top + 10});
    EXPECT_EQ(model.MouseMove({p.left + 50, p.top + 10}), DragFeedback::kNone) << "same y";
    EXPECT_EQ(model.MouseMove({p.left + 50, p.top + 60}), DragFeedback::kZoomRect);
    EXPECT_EQ(model.m_rcZoom, (GraphRect{p.left + 10, p.top + 10, p.left + 50, p.top + 60}));
    EXPECT_EQ(model.MouseMove({p.right + 40, p.top + 60}), DragFeedback::kNone);
    EXPECT_EQ(model.m_rcZoom.right, p.left + 50) << "kept while the pointer is outside";
}

} // namespace
} // namespace saroko::test
