#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "core/graph/GraphTestSupport.h"

namespace saroko::test {
namespace {

// The default value window (640 .. -240) gives labels "-200.0" .. "600.0": 6 characters of 6
// pixels, so the plot starts at 36 + 10.
TEST_F(GraphTest, LayoutNumbers) {
    // clang-format off
    // The window in screen coordinates, its client size, then what the layout gives; the value
    // scale is made for the plot's rows before the pane rule moves its bottom.
    const struct { const char* what; GraphRect window; int width, height; int markerHalf; GraphRect plot, pane, timeBar, valueBar, cursorBar; int valueRows; } cases[] = {
        {"640 x 480 at the screen's corner", {0, 0, 640, 480}, 640, 480, 2, {46, 25, 614, 269}, {2, 312, 637, 479}, {45, 9, 615, 23}, {616, 24, 630, 270}, {30, 271, 630, 281}, 245},
        {"1280 x 800 inside a frame", {100, 50, 1380, 850}, 1280, 800, 2, {46, 25, 1254, 589}, {102, 682, 1377, 849}, {45, 9, 1255, 23}, {1256, 24, 1270, 590}, {30, 591, 1270, 601}, 565},
        {"window right of its own width: larger markers", {700, 0, 1340, 480}, 640, 480, 3, {46, 25, 614, 269}, {702, 312, 1337, 479}, {45, 9, 615, 23}, {616, 24, 630, 270}, {30, 271, 630, 281}, 245},
        // 300 - 211 = 89 was the plot bottom when the value scale was made: 65 rows.
        {"pane kept below y 150: the plot ends 107 above the pane's bottom", {0, 0, 640, 300}, 640, 300, 2, {46, 25, 614, 108}, {2, 150, 637, 299}, {45, 9, 615, 23}, {616, 24, 630, 109}, {30, 110, 630, 120}, 65},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetWindow({1000, 4600, 1000, 4600, 640, -240, 640, -240});
        ASSERT_EQ(model.Layout(c.window, {0, 0, c.width, c.height}, kMetrics),
                  LayoutResult::kDrawn);
        EXPECT_EQ(model.m_nMarkerHalf, c.markerHalf);
        EXPECT_EQ((std::array{model.m_rcPlot, model.m_rcPane, model.m_rcTimeBar, model.m_rcValueBar,
                              model.m_rcCursorBar}),
                  (std::array{c.plot, c.pane, c.timeBar, c.valueBar, c.cursorBar}));
        EXPECT_EQ(model.m_nValueLabelWidth, 36);
        EXPECT_STREQ(model.m_szValueFormat, "%6.1f");
        EXPECT_FLOAT_EQ(model.m_fValuePerPixel, 880.0f / static_cast<float>(c.valueRows));
    }
}

TEST_F(GraphTest, ShortWindowIsResizedInsteadOfDrawn) {
    SetWindow({1000, 4600, 1000, 4600, 640, -240, 640, -240});
    EXPECT_EQ(model.Layout({10, 20, 650, 224}, {0, 0, 640, 204}, kMetrics), LayoutResult::kResize);
    EXPECT_EQ(model.ResizeWidth(), 640);
    EXPECT_EQ(model.ResizeHeight(), 205);
    EXPECT_EQ(model.Layout({10, 20, 650, 225}, {0, 0, 640, 205}, kMetrics), LayoutResult::kDrawn);
    EXPECT_EQ(model.Layout({0, 300, 0, 600}, {0, 0, 0, 300}, kMetrics), LayoutResult::kEmpty);
}

TEST_F(GraphTest, MinimumWindowsAreWrittenBackAtLayout) {
    // clang-format off
    const struct { const char* what; Window in; uint32_t viewStart, viewEnd; float viewUpper, viewLower; } cases[] = {
        {"4 s widened around its centre", {1000, 9000, 5000, 5004, 640, -240, 20.5f, 20.0f}, 4997, 5007, 21.25f, 19.25f},
        {"at the data start", {5000, 9000, 5000, 5004, 640, -240, 640, 639.5f}, 5000, 5010, 640, 638},
        {"at the data end", {1000, 5004, 5000, 5004, 640, -240, -239.5f, -240}, 4994, 5004, -238, -240},
        {"inverted time window counts by its size", {1000, 9000, 5004, 5000, 30, 10, 22, 20}, 4997, 5007, 22, 20},
        {"wide enough stays", {1000, 9000, 5000, 5010, 640, -240, 22, 20}, 5000, 5010, 22, 20},
        {"data end below 10 s stays at 0", {0, 4, 0, 4, 640, -240, 22, 20}, 0, 4 + 6, 22, 20},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show(c.in);
        ExpectView(c.viewStart, c.viewEnd, c.viewUpper, c.viewLower);
        EXPECT_FLOAT_EQ(model.m_fTimeSpan,
                        static_cast<float>(std::max<uint32_t>(10, c.viewEnd - c.viewStart)));
    }
}

TEST_F(GraphTest, RefreshRectangles) {
    Show({1000, 4600, 1000, 4600, 640, -240, 640, -240});
    const std::array<GraphRect, 6> want = {{
        {0, 0, 615, 480},    // value labels and plot
        {60, 9, 600, 23},    // time strip between its buttons
        {616, 39, 630, 255}, // value strip between its buttons
        {45, 271, 615, 283}, // cursor strip between its buttons
        {0, 281, 636, 480},  // the time labels under the cursor strip
        {4, 4, 46, 269},     // left of the plot
    }};
    EXPECT_EQ(model.RefreshRects(), want);
}

TEST_F(GraphTest, TimeToXAndItsClamps) {
    Show({0, 0xFFFFFFFFu, 1000, 2138, 640, -240, 640, -240}); // 1138 s over 569 columns: 2 s each
    // clang-format off
    const struct { const char* what; uint32_t t; int x; } cases[] = {
        {"window start", 1000, 46}, {"half a pixel is cut", 1001, 46}, {"one pixel", 1002, 47},
        {"window end: one past the last column", 2138, 615}, {"before the window, signed", 0, 46 - 500},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(model.TimeToX(c.t), c.x) << c.what;

    Show({0, 0xFFFFFFFFu, 0, 10, 640, -240, 640, -240});
    EXPECT_EQ(model.TimeToX(0xFFFFFFFFu), INT_MAX);
    Show({0, 0xFFFFFFFFu, 0xFFFFFF00u, 0xFFFFFF0Au, 640, -240, 640, -240});
    EXPECT_EQ(model.TimeToX(0), INT_MIN);
    model.m_fSecPerPixel = 0;
    EXPECT_EQ(model.TimeToX(123), 46);
}

TEST_F(GraphTest, ValueToYOverUnderAndClamps) {
    Show({1000, 4600, 1000, 4600, 700, -300, 700, -300}); // 1000 units over 245 rows
    const float vpp = 1000.0f / 245;
    const auto y = [&](double v) { return 269 - static_cast<int>((v + 300) / vpp); };
    EXPECT_EQ(model.ValueToY(C(-300.0), kTypeTemp13, 0), 269);
    EXPECT_EQ(model.ValueToY(C(25.0), kTypeTemp13, 0), y(25.0));
    EXPECT_EQ(model.ValueToY(kCodeOver, kTypeTemp13, 0), y(600.0)) << "Pt100";
    EXPECT_EQ(model.ValueToY(kCodeOver, kTypeTemp13, 1), y(500.0)) << "JPt100";
    EXPECT_EQ(model.ValueToY(kCodeUnder, kTypeTemp13, 1), y(-200.0));
    EXPECT_EQ(model.ValueToY(kCodeUnder, kTypeTemp13, 0), y(-200.0));

    model.m_fValuePerPixel = 1e-9f;
    EXPECT_EQ(model.ValueToY(C(600.0), kTypeTemp13, 0), INT_MIN);
    EXPECT_EQ(model.ValueToY(C(-1000.0), kTypeTemp13, 0), INT_MAX);
    model.m_fValuePerPixel = 0;
    EXPECT_EQ(model.ValueToY(C(25.0), kTypeTemp13, 0), 269);
}

TEST_F(GraphTest, CursorsStayInTheWindowAndLandOnThePlot) {
    SetWindow({0, 20000, 1000, 2138, 640, -240, 640, -240});
    Range().cursorA = 500;  // left of the window
    Range().cursorB = 9000; // right of it
    ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
    model.PlaceCursors();
    EXPECT_EQ(Range().cursorA, 1000u);
    EXPECT_EQ(Range().cursorB, 2138u);
    EXPECT_EQ(model.m_xCursorA, 46);
    EXPECT_EQ(model.m_xCursorB, 615);
    // The cursor at the window's end is drawn on the column left of the plot's right edge.
    EXPECT_EQ((std::array{model.CursorLineX(615), model.CursorLineX(614), model.CursorLineX(613),
                          model.CursorLineX(300)}),
              (std::array{613, 613, 613, 300}));
    // Flags: 5 left of the line, never left of the plot, never past its right edge.
    EXPECT_EQ(model.FlagRect(300), (GraphRect{295, 271, 306, 282}));
    EXPECT_EQ((std::array{model.FlagLeft(48), model.FlagLeft(610), model.FlagLeft(615)}),
              (std::array{46, 603, 603}));
}

TEST_F(GraphTest, Thumbs) {
    Show({1000, 11000, 3000, 5000, 640, -240, 420, -120}); // labels of 6 characters
    model.PrepareThumbs();
    // Time strip 45..615: 539 pixels of track for 10000 s.
    const double k = 10000.0 / 539;
    EXPECT_EQ(model.m_rcTimeThumb, (GraphRect{static_cast<int>(2000 / k) + 61, 10,
                                              static_cast<int>(4000 / k) + 61, 22}));
    EXPECT_EQ(model.TimeThumbFill(),
              (GraphRect{model.m_rcTimeThumb.left, 10, model.m_rcTimeThumb.right + 1, 23}));
    // Value strip 24..270: 215 pixels of track for 880 units.
    const double kv = 880.0 / 215;
    EXPECT_EQ(model.m_rcValueThumb, (GraphRect{617, static_cast<int>(220 / kv) + 40, 629,
                                               static_cast<int>(760 / kv) + 40}));
    EXPECT_FLOAT_EQ(model.m_fDragUpper, 420);
    EXPECT_FLOAT_EQ(model.m_fDragLower, -120);
    // While the value thumb is dragged its window is not reset from the document.
    model.m_nDragMode = kDragValueThumb;
    model.m_fDragUpper = 100;
    model.PrepareThumbs();
    EXPECT_FLOAT_EQ(model.m_fDragUpper, 100);
}

} // namespace
} // namespace saroko::test
