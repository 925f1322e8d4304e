#include <gtest/gtest.h>

#include "core/graph/GraphTestSupport.h"

namespace saroko::test {
namespace {

using Op = bool (*)(CGraphModel&);
constexpr uint32_t kTop = 0xFFFFFFFFu;
constexpr Op Left = [](CGraphModel& m) { return m.ScrollTime(true); };
constexpr Op Right = [](CGraphModel& m) { return m.ScrollTime(false); };
constexpr Op Up = [](CGraphModel& m) { return m.ScrollValue(true); };
constexpr Op Down = [](CGraphModel& m) { return m.ScrollValue(false); };
constexpr Op In = [](CGraphModel& m) { return m.ZoomIn(); };
constexpr Op Out = [](CGraphModel& m) { return m.ZoomOut(); };

TEST_F(GraphTest, RangeOperationsAtTheDataEdges) {
    constexpr Window kMid{1000, 11000, 5000, 7000, 640, -240, 640, -240};
    constexpr Window kAll{1000, 11000, 1000, 11000, 640, -240, 640, -240};
    constexpr Window kValueMid{1000, 11000, 1000, 11000, 640, -240, 300, 100};
    constexpr Window kValueHalf{1000, 11000, 1000, 11000, 640, -240, 420, -20};
    // clang-format off
    const struct { const char* what; Window in; Op op; uint32_t viewStart, viewEnd; float viewUpper, viewLower; } cases[] = {
        // Scrolling in time by half a window.
        {"left in the middle", kMid, Left, 4000, 6000, 640, -240},
        {"left at dataStart: unchanged", {1000, 11000, 1000, 3000, 640, -240, 640, -240}, Left, 1000, 3000, 640, -240},
        {"left past dataStart: stops there", {1000, 11000, 1500, 3500, 640, -240, 640, -240}, Left, 1000, 3000, 640, -240},
        {"left near time 0: no wrap", {0, 11000, 400, 2400, 640, -240, 640, -240}, Left, 0, 2000, 640, -240},
        {"left with an odd width loses a second", {1000, 11000, 1000, 3001, 640, -240, 640, -240}, Left, 1000, 3000, 640, -240},
        {"right in the middle", kMid, Right, 6000, 8000, 640, -240},
        {"right at dataEnd: unchanged", {1000, 11000, 9000, 11000, 640, -240, 640, -240}, Right, 9000, 11000, 640, -240},
        {"right at the top of the time range: no wrap", {0xFFFF0000u, kTop, 0xFFFFF000u, kTop, 640, -240, 640, -240}, Right, 0xFFFFF000u, kTop, 640, -240},
        // Scrolling in value by half a window.
        {"up in the middle", kValueMid, Up, 1000, 11000, 400, 200},
        {"up to the full scale", kValueHalf, Up, 1000, 11000, 640, 200},
        {"down to the full scale", kValueHalf, Down, 1000, 11000, 200, -240},
        {"down in the middle", kValueMid, Down, 1000, 11000, 200, 0},
        // Zoom.
        {"zoom in halves around the centre", kAll, In, 3500, 8500, 420, -20},
        {"zoom in near the top of the time range", {0xFFFF0000u, kTop, 0xFFFF0000u, 0xFFFFFFF0u, 640, -240, 640, -240}, In, 0xFFFF3FFCu, 0xFFFFBFF4u, 420, -20},
        {"zoom out from a quarter gives everything", {1000, 11000, 4750, 7250, 640, -240, 420, -20}, Out, 1000, 11000, 640, -240},
        {"zoom out is cut at the data, not shifted", {1000, 11000, 1000, 3500, 640, -240, 420, -20}, Out, 1000, 7250, 640, -240},
        {"zoom out doubles a small window", {1000, 11000, 5000, 5100, 640, -240, 30, 20}, Out, 4894, 5206, 38.75f, 11.25f},
        {"zoom out at the top of the time range", {0x10000000u, kTop, 0xFFFFF000u, kTop, 640, -240, 640, -240}, Out, 0xFFFFDA00u, kTop, 640, -240},
        {"zoom out with an empty value window ends", {1000, 11000, 1000, 11000, 640, -240, 50, 50}, Out, 1000, 11000, 640, -240},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetWindow(c.in);
        EXPECT_TRUE(c.op(model));
        ExpectView(c.viewStart, c.viewEnd, c.viewUpper, c.viewLower);
    }
}

TEST_F(GraphTest, ShowsEverythingOnlyWithTheWholeDataAndFullScale) {
    SetWindow({1000, 11000, 1000, 11000, 640, -240, 640, -240});
    EXPECT_TRUE(model.ShowsEverything());
    for (const Window& w : {Window{1000, 11000, 1001, 11000, 640, -240, 640, -240},
                            Window{1000, 11000, 1000, 10999, 640, -240, 640, -240},
                            Window{1000, 11000, 1000, 11000, 640, -240, 639, -240},
                            Window{1000, 11000, 1000, 11000, 640, -240, 640, -239}}) {
        SetWindow(w);
        EXPECT_FALSE(model.ShowsEverything()) << w.viewStart << " " << w.viewEnd;
    }
}

TEST_F(GraphTest, TimeThumbDrag) {
    // 640 x 480: the time strip is 570 wide, 540 pixels of travel.
    constexpr Window kW{1000, 11000, 3000, 5000, 640, -240, 640, -240};
    // clang-format off
    const struct { const char* what; Window in; int pressX, lastX; bool changed; uint32_t viewStart, viewEnd; } cases[] = {
        {"right by 54 pixels: a tenth of the data", kW, 300, 354, true, 4000, 6000},
        {"left by 27", kW, 300, 273, true, 2500, 4500},
        {"left past dataStart", kW, 300, 100, true, 1000, 3000},
        {"right past dataEnd", kW, 100, 600, true, 9000, 11000},
        {"release where pressed", kW, 300, 300, false, 3000, 5000},
        {"left past time 0 does not wrap to the end", {0, 10000, 100, 2100, 640, -240, 640, -240}, 300, 246, true, 0, 2000},
        {"large data: no overflow of the product", {0, 2000000000, 0, 100000000, 640, -240, 640, -240}, 100, 370, true, 1000000000, 1100000000},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show(c.in);
        ASSERT_EQ(model.m_rcTimeBar.Width(), 570);
        EXPECT_EQ(model.DragTimeThumb(c.pressX, c.lastX), c.changed);
        EXPECT_EQ(std::pair(Range().viewStart, Range().viewEnd), std::pair(c.viewStart, c.viewEnd));
    }
}

TEST_F(GraphTest, ValueThumbDragAndCommit) {
    // 640 x 480: the value strip is 246 high, 216 pixels of travel for 880 units.
    // clang-format off
    const struct { const char* what; int pressY, y; float dragUpper, dragLower; } cases[] = {
        {"down by 54: a quarter", 100, 154, 200, -240}, {"down past the bottom", 100, 200, 200, -240},
        {"up by 27", 100, 73, 530, 90}, {"up past the top", 100, 0, 640, 200}, {"not moved", 100, 100, 420, -20},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show({1000, 11000, 1000, 11000, 640, -240, 420, -20});
        ASSERT_EQ(model.m_rcValueBar.Height(), 246);
        model.DragValueThumb(c.pressY, c.y, 440);
        EXPECT_FLOAT_EQ(model.m_fDragUpper, c.dragUpper);
        EXPECT_FLOAT_EQ(model.m_fDragLower, c.dragLower);
        EXPECT_FLOAT_EQ(Range().viewUpper, 420) << "the document waits for the release";
        model.CommitValueDrag();
        EXPECT_FLOAT_EQ(Range().viewUpper, c.dragUpper);
        EXPECT_FLOAT_EQ(Range().viewLower, c.dragLower);
    }
    // A dragged window below the full scale is lifted onto it at the release.
    SetWindow({1000, 11000, 1000, 11000, 640, -240, 420, -20});
    model.m_fDragUpper = 100;
    model.m_fDragLower = -300;
    model.CommitValueDrag();
    EXPECT_FLOAT_EQ(Range().viewUpper, 160);
    EXPECT_FLOAT_EQ(Range().viewLower, -240);
}

TEST_F(GraphTest, ZoomToRect) {
    Show({0, 20000, 1000, 2138, 700, -300, 700, -300}); // 2 s per column; 1000 units on 245 rows
    const float vpp = 1000.0f / 245;
    EXPECT_TRUE(model.ZoomToRect({346, 150}, {146, 50})); // any corner order
    ExpectView(1200u, 1600u, static_cast<float>(700 - 25 * static_cast<double>(vpp)),
               static_cast<float>(-300 + 119 * static_cast<double>(vpp)));

    const GraphRange before = Range();
    ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
    EXPECT_TRUE(model.ZoomToRect({100, 100}, {200, 100})) << "no height: refresh only";
    EXPECT_TRUE(model.ZoomToRect({100, 100}, {100, 200})) << "no width: refresh only";
    EXPECT_TRUE(model.ZoomToRect({100, 100}, {620, 200})) << "released right of the plot";
    EXPECT_EQ(Range(), before);
}

class JumpTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        // 1000 samples of 10 s from t = 1000; the peak of 80.0 at the given index.
        std::vector<uint16_t> codes(1000, C(20.0));
        codes[peak] = C(80.0);
        codes[dip] = C(-10.0);
        Fill(*doc.GetChannel(2), 1000, 10, codes);
        SetWindow({1000, 10990, 1000, 3000, 640, -240, 120, 20});
        doc.CalcStatistics();
    }
    int peak = 500;
    int dip = 1;
};

TEST_F(JumpTest, JumpCentresTheExtremeAndStaysOnTheDataAndFullScale) {
    EXPECT_TRUE(model.JumpToExtreme(2, true));
    ExpectView(5000u, 7000u, 130, 30);
    EXPECT_TRUE(model.JumpToExtreme(2, false)); // -10.0 at t = 1010: near the start
    ExpectView(1000u, 3000u, 40, -60);

    ChannelRecord& ch = *doc.GetChannel(2);
    ch.samples[500] = C(20.0);
    ch.samples[998] = C(630.0);
    doc.CalcStatistics();
    EXPECT_TRUE(model.JumpToExtreme(2, true)); // t = 10980: near the end and the full scale
    ExpectView(8990u, 10990u, 640, 540);

    ch.startTime = 10;
    SetWindow({0, 9990, 0, 2000, 640, -240, 120, 20});
    doc.CalcStatistics();
    EXPECT_TRUE(model.JumpToExtreme(2, false)); // t = 20 < half of 2000
    EXPECT_EQ(Range().viewStart, 0u);
    EXPECT_EQ(Range().viewEnd, 2000u);
}

TEST_F(JumpTest, NothingToDo) {
    const GraphRange before = Range();
    EXPECT_FALSE(model.JumpToExtreme(3, true)) << "channel without data";
    Range().calcStart = 6010; // the peak (t = 6000) lies before the calculation range
    EXPECT_FALSE(model.JumpToExtreme(2, true));
    Range().calcStart = 1000;
    Range().viewStart = Range().dataStart;
    Range().viewEnd = Range().dataEnd;
    EXPECT_FALSE(model.JumpToExtreme(2, true)) << "already showing all data";
    Range().viewEnd = before.viewEnd;
    EXPECT_EQ(Range(), before);
}

TEST_F(GraphTest, FollowListRange) {
    // clang-format off
    const struct { const char* what; uint32_t start, span; bool changed; uint32_t viewStart, viewEnd; } cases[] = {
        {"list starts before the window", 2000, 500, true, 2000, 4000},
        {"list ends after the window", 4800, 600, true, 3400, 5400},
        {"list inside the window", 3500, 500, false, 3000, 5000},
        {"list past the top of the time range", 0xFFFFFF00u, 0x1000, true, kTop - 2000, kTop},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetWindow({1000, 11000, 3000, 5000, 640, -240, 640, -240});
        EXPECT_EQ(model.FollowListRange(c.start, c.span), c.changed);
        EXPECT_EQ(std::pair(Range().viewStart, Range().viewEnd), std::pair(c.viewStart, c.viewEnd));
    }
}

TEST_F(GraphTest, ApplyCalcRangeView) {
    // Channel 1: -20.0 .. -5.0 from 1000 to 1990; channel 4: 30.0 from 5000 to 5990.
    std::vector<uint16_t> cold;
    for (int i = 0; i < 100; ++i)
        cold.push_back(C(-20.0 + 15.0 * i / 99));
    Fill(*doc.GetChannel(1), 1000, 10, cold);
    Fill(*doc.GetChannel(4), 5000, 10, std::vector<uint16_t>(100, C(30.0)));
    // clang-format off
    const struct { const char* what; uint32_t start, end, calcStart, calcEnd; float viewUpper, viewLower; } cases[] = {
        {"only values below zero: fitted up to 0.0", 1000, 1990, 1000, 1990, 1.0f, -21.0f},
        {"one flat value: +-1 then 5 %", 5000, 5990, 5000, 5990, 31.1f, 28.9f},
        {"wholly before the data: everything", 10, 20, 500, 8000, 32.5f, -22.5f},
        {"wholly after the data", 9000, 9999, 500, 8000, 32.5f, -22.5f},
        {"overlapping: clipped", 100, 1500, 500, 1500, 1.0f, -21.0f},
        {"no sample inside: value window kept", 3000, 4000, 3000, 4000, 640, -240},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetWindow({500, 8000, 500, 8000, 640, -240, 640, -240});
        EXPECT_TRUE(model.ApplyCalcRangeView(c.start, c.end));
        EXPECT_EQ(std::pair(Range().calcStart, Range().calcEnd), std::pair(c.calcStart, c.calcEnd));
        ExpectView(c.calcStart, c.calcEnd, c.viewUpper, c.viewLower);
        EXPECT_FLOAT_EQ(Range().fullUpper, 640);
    }
    model.ApplyCalcRangeView(5000, 5990);
    EXPECT_EQ(doc.GetChannel(1)->statMax, kCodeMissing) << "statistics follow the new range";
    EXPECT_EQ(doc.GetChannel(4)->statMax, C(30.0));
}

} // namespace
} // namespace saroko::test
