#include <gtest/gtest.h>

#include <climits>

#include "core/graph/GraphTestSupport.h"

namespace saroko::test {
namespace {

// clang-format off
struct ValueGridCase { float span, lower, upper; float step; int decimals; const char* format; };
// clang-format on

TEST(ValueGridTest, StepDecimalsAndFormat) {
    const ValueGridCase cases[] = {
        {880, -240, 640, 100, 1, "%6.1f"}, // labels -200.0 .. 600.0
        {2.0f, 20, 22, 0.2f, 1, "%4.1f"},  // a span of exactly 2 takes the x2 candidate
        {2.01f, 20, 22.01f, 0.5f, 1, "%4.1f"},
        {10, -5, 5, 1, 1, "%4.1f"},
        {1000.5f, 0, 1000.5f, 200, 1, "%6.1f"},
        {6000, -1000, 5000, 1000, 1, "%7.1f"}, // past 5000: fixed step 1000
        {0.04f, 0, 0.04f, 0.005f, 3, "%5.3f"},
        {0.0011f, 1, 1.0011f, 0.0002f, 4, "%6.4f"},
        {2.2f, -7.3f, -5.1f, 0.5f, 1, "%4.1f"}, // -7.0 .. -5.5
        {2, 100.1f, 100.15f, 0.2f, 1, "%0.1f"}, // no grid value inside: no label
    };
    for (const ValueGridCase& c : cases) {
        SCOPED_TRACE(c.span);
        const ValueGrid g = ChooseValueGrid(c.span, c.lower, c.upper);
        EXPECT_FLOAT_EQ(g.step, c.step);
        EXPECT_EQ(g.decimals, c.decimals);
        EXPECT_STREQ(g.format, c.format);
    }
}

TEST(ValueGridTest, FirstIndexRoundsUpBothSidesOfZero) {
    // clang-format off
    const std::tuple<float, float, int> cases[] = {
        {-240, 100, -2}, {-200, 100, -2}, {-0.1f, 0.2f, 0}, {0, 0.2f, 0}, {0.4f, 0.2f, 2},
        {0.41f, 0.2f, 3}, {20, 0.2f, 100}};
    // clang-format on
    for (auto [lower, step, index] : cases)
        EXPECT_EQ(FirstValueIndex(lower, step), index) << lower << " " << step;
}

TEST_F(GraphTest, ValueTicksAndLabels) {
    Show({1000, 4600, 1000, 4600, 640, -240, 640, -240});
    const std::vector<ValueTick> ticks = model.ValueTicks();
    ASSERT_EQ(ticks.size(), 9u);
    const float vpp = 880.0f / 245;
    EXPECT_EQ(ticks[0].label, "-200.0");
    EXPECT_EQ(ticks[0].y, 269 - static_cast<int>(40 / vpp));
    EXPECT_EQ(ticks[0].labelY, ticks[0].y - 7); // half of 13, rounded
    EXPECT_EQ(ticks[2].label, "   0.0");
    EXPECT_EQ(ticks[8].label, " 600.0");
    EXPECT_EQ(ticks[8].y, 269 - static_cast<int>(840 / vpp));
    EXPECT_EQ(model.ValueLabelX(), 46 - 36 - 3);

    // A label that would hang below the plot sits on its bottom instead.
    Show({1000, 4600, 1000, 4600, 640, -240, 640, -200});
    const std::vector<ValueTick> low = model.ValueTicks();
    ASSERT_FALSE(low.empty());
    EXPECT_EQ(low[0].y, 269);
    EXPECT_EQ(low[0].labelY, 269 - 13);
}

// clang-format off
struct TimeStepCase { uint32_t width; uint32_t step; };
// clang-format on

TEST(TimeGridTest, StepLadder) {
    // clang-format off
    const TimeStepCase cases[] = {
        {0, 1}, {6, 1}, {7, 2}, {69, 10}, {70, 20}, {3600, 600}, {25199, 3600}, {25200, 7200},
        {604799, 86400}, {604800, 172800}, {2207519999u, 315360000},
        {2207520000u, 315360000}, // past the ladder: width / 7
        {0xFFFFFFFFu, 613566756},
    };
    // clang-format on
    for (const TimeStepCase& c : cases)
        EXPECT_EQ(ChooseTimeStep(c.width), c.step) << c.width;
}

// clang-format off
struct FirstTickCase { const char* what; uint32_t viewStart; uint32_t step; uint32_t tick; };
// clang-format on

TEST_F(GraphTest, FirstTickInLocalCalendarTime) {
    const uint32_t t = Local(2008, 3, 5, 11, 58, 20);
    const FirstTickCase cases[] = {
        // clang-format off
        {"300 s: seconds cut, minutes kept", t, 300, Local(2008, 3, 5, 12, 3, 0)},
        {"20 s: seconds to a multiple of the step", t + 1, 20, Local(2008, 3, 5, 11, 58, 40)},
        {"1 s", t + 1, 1, Local(2008, 3, 5, 11, 58, 22)},
        {"1 h: minutes and seconds cut", t, 3600, Local(2008, 3, 5, 12, 0, 0)},
        {"12 h", t, 43200, Local(2008, 3, 5, 23, 0, 0)},
        {"1 day: midnight", t, 86400, Local(2008, 3, 6, 0, 0, 0)},
        {"15 days", t, 1296000, Local(2008, 3, 20, 0, 0, 0)},
        {"30 days: first of the month", t, 2592000, Local(2008, 4, 1, 0, 0, 0)},
        {"180 days", t, 15552000, Local(2008, 9, 1, 0, 0, 0)},
        {"365 days: first of January", t, 31536000, Local(2009, 1, 1, 0, 0, 0)},
        {"before 1970 counts as 0", 0, 2592000, 0},
        // Without the 64-bit sum this would wrap to a tick in 1970.
        {"at the top of the time range", 0xFFFFFFF0u, 300, 0xFFFFFFF0u},
        // 2008-10-26 01:10:00 UTC: 02:10 local in the repeated hour where daylight saving ends.
        {"in the repeated hour", 1224983400u, 1200, 1224983400u + 1200},
        // clang-format on
    };
    for (const FirstTickCase& c : cases)
        EXPECT_EQ(FirstTimeTick(c.viewStart, c.step), c.tick) << c.what;
}

TEST_F(GraphTest, TimeTicksAndLabels) {
    const uint32_t t0 = Local(2008, 3, 5, 11, 58, 20);
    Show({t0, t0 + 7200, t0, t0 + 3600, 640, -240, 640, -240});
    EXPECT_EQ(model.m_nTimeStep, 600u);
    EXPECT_EQ(model.m_tFirstTick, Local(2008, 3, 5, 12, 8, 0));
    const std::vector<TimeTick> ticks = model.TimeTicks();
    ASSERT_EQ(ticks.size(), 6u); // 12:08 .. 12:58; 13:08 is past the window
    EXPECT_EQ(ticks[0].date, " 8/03/05");
    EXPECT_EQ(ticks[0].time, "12:08'00");
    EXPECT_EQ(ticks[0].x, model.TimeToX(ticks[0].t));
    EXPECT_EQ(ticks[0].labelX, ticks[0].x - 24);
    EXPECT_EQ(ticks[5].time, "12:58'00");
    EXPECT_EQ(model.TimeLabelY(), 269 + 14);

    // A label that would pass 10 pixels inside the right edge ends there instead.
    const uint32_t noon = Local(2008, 3, 5, 12, 0, 0);
    Show({t0, t0 + 7200, noon, noon + 600, 640, -240, 640, -240}); // last tick at the end
    const std::vector<TimeTick> right = model.TimeTicks();
    ASSERT_FALSE(right.empty());
    const TimeTick& last = right.back();
    ASSERT_GT(last.x + 24, 630);
    EXPECT_EQ(last.labelX, 640 - 48 - 10);
}

TEST_F(GraphTest, TimeTicksEndAtTheTopOfTheRange) {
    Show({0xFFFF0000u, 0xFFFFFFFFu, 0xFFFFFF00u, 0xFFFFFFFFu, 640, -240, 640, -240});
    const std::vector<TimeTick> ticks = model.TimeTicks(); // must not loop forever
    ASSERT_FALSE(ticks.empty());
    EXPECT_LE(ticks.size(), 8u);
    EXPECT_GT(ticks.front().t, 0xFFFFFF00u);
}

// clang-format off
struct ClipCase { const char* what; int64_t x1, y1, x2, y2; bool drawn; ClippedSegment out; };
// clang-format on

TEST(ClipTest, EdgesInOrder) {
    const GraphRect plot{10, 10, 100, 50};
    const ClipCase cases[] = {
        {"inside", 20, 20, 30, 30, true, {20, 20, 30, 30, false}},
        {"second end past the right edge", 90, 20, 110, 40, true, {90, 20, 100, 30, true}},
        {"first end left of the plot", 0, 20, 20, 20, true, {10, 20, 20, 20, false}},
        {"wholly left", 0, 0, 5, 60, false, {}},
        {"wholly right", 101, 20, 200, 30, false, {}},
        {"wholly above", 20, 0, 30, 5, false, {}},
        {"wholly below", 20, 51, 30, 70, false, {}},
        {"vertical through the bottom", 20, 40, 20, 80, true, {20, 40, 20, 50, true}},
        {"diagonal through the bottom", 20, 40, 40, 60, true, {20, 40, 30, 50, true}},
        {"through the top", 20, 20, 30, 0, true, {20, 20, 25, 10, true}},
        // clang-format off
        {"from far left, clamped coordinates", INT_MIN, INT_MIN, 20, 20, true, {10, 10, 20, 20, false}},
        // clang-format on
        {"to far right", 20, 20, INT_MAX, 20, true, {20, 20, 100, 20, true}},
        {"steep to far below", 20, 20, 21, INT_MAX, true, {20, 20, 20, 50, true}},
        {"on the edges", 10, 10, 100, 50, true, {10, 10, 100, 50, false}},
    };
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.what);
        ClippedSegment out{};
        ASSERT_EQ(ClipSegment(plot, c.x1, c.y1, c.x2, c.y2, out), c.drawn);
        if (c.drawn) {
            EXPECT_EQ(std::tuple(out.x1, out.y1, out.x2, out.y2, out.endMoved),
                      std::tuple(c.out.x1, c.out.y1, c.out.x2, c.out.y2, c.out.endMoved));
        }
    }
}

TEST(CursorPenTest, Patterns) {
    const auto pen = [](int style) {
        return std::pair(CursorDashPattern(style).on, CursorDashPattern(style).off);
    };
    EXPECT_EQ(CursorDashPattern(kCursorSolid).off, 0);
    EXPECT_EQ(pen(kCursorDash), std::pair(18, 6));
    EXPECT_EQ(pen(kCursorDot), std::pair(3, 3));
    EXPECT_EQ(CursorDashPattern(7).off, 0); // unknown stored styles draw solid
}

} // namespace
} // namespace saroko::test
