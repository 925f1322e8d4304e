// The graph model: layout, the value and time scales, the trace, the range operations, the
// cursors and presses on the strips, and the legend pane's content and clicks.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <set>

#include "core/TestSupport.h"
#include "core/graph/GraphModel.h"
#include "core/graph/Legend.h"
#include "core/graph/LineRaster.h"

namespace saroko::test {
namespace {

struct Window {
    uint32_t dataStart, dataEnd, viewStart, viewEnd;
    float fullUpper, fullLower, viewUpper, viewLower;
};

// A document with a graph model on it; the view at the screen's top-left corner.
class GraphTest : public DocTest {
protected:
    void SetWindow(const Window& w) {
        GraphRange& r = *doc.GetRange();
        r.dataStart = r.calcStart = w.dataStart;
        r.dataEnd = r.calcEnd = w.dataEnd;
        r.viewStart = r.cursorA = w.viewStart;
        r.viewEnd = r.cursorB = w.viewEnd;
        r.fullUpper = w.fullUpper;
        r.fullLower = w.fullLower;
        r.viewUpper = w.viewUpper;
        r.viewLower = w.viewLower;
    }
    LayoutResult LayOut(int width, int height) {
        return model.Layout({0, 0, width, height}, {0, 0, width, height}, kMetrics);
    }
    // SetWindow, then the layout on 640 x 480: the plot is (46, 25) .. (614, 269).
    void Show(const Window& w) {
        SetWindow(w);
        ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
    }
    GraphRange& Range() { return *doc.GetRange(); }
    // The view window against what a case expects (the caller's SCOPED_TRACE names the case).
    void ExpectView(uint32_t start, uint32_t end, float upper, float lower) {
        EXPECT_EQ(std::pair(Range().viewStart, Range().viewEnd), std::pair(start, end));
        EXPECT_FLOAT_EQ(Range().viewUpper, upper);
        EXPECT_FLOAT_EQ(Range().viewLower, lower);
    }

    static constexpr TextMetrics kMetrics{6, 13};
    CGraphModel model{doc};
};

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
    }
}

TEST_F(GraphTest, TimeToXAndValueToYWithTheirClamps) {
    Show({0, 0xFFFFFFFFu, 1000, 2138, 700, -300, 700, -300}); // 2 s a column, 1000 units on 245
    // clang-format off
    const struct { const char* what; uint32_t t; int x; } cases[] = {
        {"window start", 1000, 46}, {"half a pixel is cut", 1001, 46}, {"one pixel", 1002, 47},
        {"window end: one past the last column", 2138, 615}, {"before the window, signed", 0, 46 - 500},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(model.TimeToX(c.t), c.x) << c.what;
    const float vpp = 1000.0f / 245;
    const auto y = [&](double v) { return 269 - static_cast<int>((v + 300) / vpp); };
    const auto at = [&](uint16_t code, int sensor) {
        return model.ValueToY(code, kTypeTemp13, sensor);
    };
    // Over is 600.0 on Pt100 and 500.0 on JPt100; Under is -200.0 on both.
    EXPECT_EQ((std::array{at(C(-300.0), 0), at(C(25.0), 0), at(kCodeOver, 0), at(kCodeOver, 1),
                          at(kCodeUnder, 0), at(kCodeUnder, 1)}),
              (std::array{269, y(25.0), y(600.0), y(500.0), y(-200.0), y(-200.0)}));

    model.m_fValuePerPixel = 1e-9f;
    EXPECT_EQ(std::pair(at(C(600.0), 0), at(C(-1000.0), 0)), std::pair(INT_MIN, INT_MAX));
    model.m_fValuePerPixel = 0;
    EXPECT_EQ(at(C(25.0), 0), 269);
    Show({0, 0xFFFFFFFFu, 0, 10, 640, -240, 640, -240});
    EXPECT_EQ(model.TimeToX(0xFFFFFFFFu), INT_MAX);
    Show({0, 0xFFFFFFFFu, 0xFFFFFF00u, 0xFFFFFF0Au, 640, -240, 640, -240});
    EXPECT_EQ(model.TimeToX(0), INT_MIN);
    model.m_fSecPerPixel = 0;
    EXPECT_EQ(model.TimeToX(123), 46);
}

TEST_F(GraphTest, CursorsStayInTheWindowAndLandOnThePlot) {
    SetWindow({0, 20000, 1000, 2138, 640, -240, 640, -240});
    Range().cursorA = 500;  // left of the window
    Range().cursorB = 9000; // right of it
    ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
    model.PlaceCursors();
    EXPECT_EQ(std::tuple(Range().cursorA, Range().cursorB, model.m_xCursorA, model.m_xCursorB),
              std::tuple(1000u, 2138u, 46, 615));
    // The cursor at the window's end is drawn on the column left of the plot's right edge.
    EXPECT_EQ((std::array{model.CursorLineX(615), model.CursorLineX(614), model.CursorLineX(613),
                          model.CursorLineX(300)}),
              (std::array{613, 613, 613, 300}));
    // Flags: 5 left of the line, never left of the plot, never past its right edge.
    EXPECT_EQ((std::array{model.FlagLeft(48), model.FlagLeft(610), model.FlagLeft(615)}),
              (std::array{46, 603, 603}));
    // What a cursor covers: its column down to the plot's last row, and the flag under it.
    const GraphRect& p = model.m_rcPlot;
    EXPECT_EQ(model.CursorMarks(615),
              (std::array{GraphRect{613, p.top, 614, p.bottom + 1},
                          GraphRect{603, p.bottom + 2, 614, p.bottom + 13}}));
}

TEST(ValueGridTest, StepDecimalsFormatAndFirstIndex) {
    // clang-format off
    const struct { float span, lower, upper; float step; int decimals; const char* format; } cases[] = {
        {880, -240, 640, 100, 1, "%6.1f"}, // labels -200.0 .. 600.0
        {2.0f, 20, 22, 0.2f, 1, "%4.1f"},  // a span of exactly 2 takes the x2 candidate
        {6000, -1000, 5000, 1000, 1, "%7.1f"}, // past 5000: fixed step 1000
        {2, 100.1f, 100.15f, 0.2f, 1, "%0.1f"}, // no grid value inside: no label
    };
    const std::tuple<float, float, int> first[] = {
        {-240, 100, -2}, {-200, 100, -2}, {-0.1f, 0.2f, 0}, {0, 0.2f, 0}, {0.4f, 0.2f, 2},
        {0.41f, 0.2f, 3}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.span);
        const ValueGrid g = ChooseValueGrid(c.span, c.lower, c.upper);
        EXPECT_FLOAT_EQ(g.step, c.step);
        EXPECT_EQ(g.decimals, c.decimals);
        EXPECT_STREQ(g.format, c.format);
    }
    for (auto [lower, step, index] : first)
        EXPECT_EQ(FirstValueIndex(lower, step), index) << lower << " " << step;
}

TEST(TimeGridTest, StepLadder) {
    // clang-format off
    const std::pair<uint32_t, uint32_t> cases[] = {
        {0, 1}, {6, 1}, {7, 2}, {69, 10}, {70, 20}, {25199, 3600}, {25200, 7200}, {2207519999u, 315360000},
        {2207520000u, 315360000}, {0xFFFFFFFFu, 613566756}, // past the ladder: width / 7
    };
    // clang-format on
    for (auto [width, step] : cases)
        EXPECT_EQ(ChooseTimeStep(width), step) << width;
}

TEST_F(GraphTest, FirstTickInLocalCalendarTime) {
    const uint32_t t = Local(2008, 3, 5, 11, 58, 20);
    const struct {
        const char* what;
        uint32_t viewStart, step, tick;
    } cases[] = {
        {"300 s: seconds cut, minutes kept", t, 300, Local(2008, 3, 5, 12, 3, 0)},
        {"20 s: seconds to a multiple of the step", t + 1, 20, Local(2008, 3, 5, 11, 58, 40)},
        {"1 h: minutes and seconds cut", t, 3600, Local(2008, 3, 5, 12, 0, 0)},
        {"1 day: midnight", t, 86400, Local(2008, 3, 6, 0, 0, 0)},
        {"30 days: first of the month", t, 2592000, Local(2008, 4, 1, 0, 0, 0)},
        {"365 days: first of January", t, 31536000, Local(2009, 1, 1, 0, 0, 0)},
        {"before 1970 counts as 0", 0, 2592000, 0},
        // Without the 64-bit sum this would wrap to a tick in 1970.
        {"at the top of the time range", 0xFFFFFFF0u, 300, 0xFFFFFFF0u},
        // 2008-10-26 01:10:00 UTC: 02:10 local in the repeated hour where daylight saving ends.
        {"in the repeated hour", 1224983400u, 1200, 1224983400u + 1200},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstTimeTick(c.viewStart, c.step), c.tick) << c.what;
}

TEST_F(GraphTest, TimeTicksEndAtTheTopOfTheRange) {
    Show({0xFFFF0000u, 0xFFFFFFFFu, 0xFFFFFF00u, 0xFFFFFFFFu, 640, -240, 640, -240});
    const std::vector<TimeTick> top = model.TimeTicks(); // must not loop forever
    ASSERT_FALSE(top.empty());
    EXPECT_LE(top.size(), 8u);
    EXPECT_GT(top.front().t, 0xFFFFFF00u);
}

TEST(ClipTest, EdgesInOrder) {
    const GraphRect plot{10, 10, 100, 50};
    // clang-format off
    const struct { const char* what; int64_t x1, y1, x2, y2; bool drawn; ClippedSegment out; } cases[] = {
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
        {"from far left, clamped coordinates", INT_MIN, INT_MIN, 20, 20, true, {10, 10, 20, 20, false}},
        {"to far right", 20, 20, INT_MAX, 20, true, {20, 20, 100, 20, true}},
        {"steep to far below", 20, 20, 21, INT_MAX, true, {20, 20, 20, 50, true}},
        {"on the edges", 10, 10, 100, 50, true, {10, 10, 100, 50, false}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClippedSegment out{};
        ASSERT_EQ(ClipSegment(plot, c.x1, c.y1, c.x2, c.y2, out), c.drawn);
        if (c.drawn) {
            EXPECT_EQ(std::tuple(out.x1, out.y1, out.x2, out.y2, out.endMoved),
                      std::tuple(c.out.x1, c.out.y1, c.out.x2, c.out.y2, c.out.endMoved));
        }
    }
}

TEST(LineRasterTest, FromTheFirstPointUpToTheSecond) {
    // clang-format off
    const struct { const char* what; GraphSegment s; std::vector<GraphPoint> pixels; } cases[] = {
        {"empty", {5, 5, 5, 5}, {}},
        {"one pixel", {5, 5, 6, 6}, {{5, 5}}},
        {"right", {2, 1, 6, 1}, {{2, 1}, {3, 1}, {4, 1}, {5, 1}}},
        {"left leaves out the left end", {6, 1, 2, 1}, {{6, 1}, {5, 1}, {4, 1}, {3, 1}}},
        {"up leaves out the top end", {0, 9, 0, 6}, {{0, 9}, {0, 8}, {0, 7}}},
        {"shallow: halves round away from the start", {0, 0, 4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        {"shallow downwards to the left", {4, 2, 0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {"steep", {0, 0, 1, 3}, {{0, 0}, {0, 1}, {1, 2}}},
        {"steep with negative offsets", {0, 0, -1, -3}, {{0, 0}, {0, -1}, {-1, -2}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<GraphPoint> got;
        ForEachLinePixel(c.s, [&](int x, int y) { got.push_back({x, y}); });
        EXPECT_EQ(got, c.pixels) << c.what;
    }
}

// 640 x 480 with 2 s per column from t = 10000.
class TraceTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        Show({0, 100000, kT0, kT0 + 1138, 700, -300, 700, -300});
    }
    std::vector<GraphSegment> Trace(uint32_t start, uint32_t interval,
                                    const std::vector<uint16_t>& codes) {
        ChannelRecord& ch = *doc.GetChannel(1);
        Fill(ch, start, interval, codes);
        std::vector<GraphSegment> out;
        model.BuildTrace(ch, out);
        return out;
    }
    GraphPoint At(uint32_t t, uint16_t code) const {
        return {model.TimeToX(t), model.ValueToY(code, kTypeTemp13, 0)};
    }
    static GraphSegment Dot(GraphPoint p) { return {p.x, p.y, p.x + 1, p.y + 1}; }
    // A sample's dot and its plus-shaped marker, then what follows.
    static std::vector<GraphSegment> Marked(GraphPoint p, std::vector<GraphSegment> then = {}) {
        std::vector<GraphSegment> v = {
            Dot(p), {p.x - 2, p.y, p.x + 3, p.y}, {p.x, p.y - 2, p.x, p.y + 3}};
        v.insert(v.end(), then.begin(), then.end());
        return v;
    }
    static constexpr uint32_t kT0 = 10000;
};

TEST_F(TraceTest, LinesJoinSamplesAndMarkersSitOnTheSecondEndWhenMoreThanThreePixelsApart) {
    const GraphPoint a = At(kT0 + 100, C(10.0)), b = At(kT0 + 160, C(20.0));
    std::vector<GraphSegment> want = Marked(a, {{a.x, a.y, b.x, b.y}});
    want.insert(want.end(), {{b.x - 2, b.y, b.x + 3, b.y}, {b.x, b.y - 2, b.x, b.y + 3}});
    EXPECT_EQ(Trace(kT0 + 100, 60, {C(10.0), C(20.0)}), want);
    for (auto [interval, markers] : {std::pair{8u, true}, {6u, false}}) {
        const auto segs = Trace(kT0 + 100, interval, {C(10.0), C(20.0)});
        EXPECT_EQ(segs.size(), markers ? 6u : 2u) << interval;
    }
}

TEST_F(TraceTest, MissingSamplesBreakTheLineAndALoneSampleIsOnePixelWithItsMarker) {
    const GraphPoint a = At(kT0 + 100, C(10.0)), c = At(kT0 + 112, C(30.0)),
                     d = At(kT0 + 116, C(40.0));
    const auto segs = Trace(kT0 + 100, 4, {C(10.0), kCodeMissing, kCodeMissing, C(30.0), C(40.0)});
    EXPECT_EQ(segs, (std::vector<GraphSegment>{Dot(a), Dot(c), {c.x, c.y, d.x, d.y}}));
    EXPECT_TRUE(Trace(kT0, 4, {kCodeMissing, kCodeMissing}).empty());
    EXPECT_TRUE(Trace(kT0, 4, {}).empty());
    EXPECT_EQ(Trace(kT0 + 100, 60, {kCodeMissing, C(0.0), kCodeMissing}),
              Marked(At(kT0 + 160, C(0.0))));
}

TEST_F(TraceTest, SegmentsLeavingThePlotAreCutAtItsEdges) {
    // The second sample lies far right of the window: the line ends on the plot's right edge.
    const GraphPoint a = At(kT0 + 1000, C(0.0));
    EXPECT_EQ(Trace(kT0 + 1000, 3000, {C(0.0), C(0.0)}), Marked(a, {{a.x, a.y, 614, a.y}}));
    // Over and Under outside the value window run to the top and bottom edges.
    Show({0, 100000, kT0, kT0 + 1138, 100, 0, 100, 0});
    const auto segs = Trace(kT0 + 100, 4, {C(50.0), kCodeOver, C(50.0), kCodeUnder});
    ASSERT_EQ(segs.size(), 4u);
    EXPECT_EQ(std::tuple(segs[1].y2, segs[2].y1, segs[3].y2), std::tuple(25, 25, 269));
}

TEST_F(TraceTest, WalkStopsAtTheTerminatorAfterTheLastSlot) {
    const auto segs = Trace(kT0, 1, std::vector<uint16_t>(kMaxSamples, C(0.0)));
    EXPECT_FALSE(segs.empty());
    EXPECT_LE(segs.size(), static_cast<std::size_t>(kMaxSamples));
}

using Op = bool (*)(CGraphModel&);
constexpr uint32_t kTop = 0xFFFFFFFFu;
constexpr Op Left = [](CGraphModel& m) { return m.ScrollTime(true); };
constexpr Op Right = [](CGraphModel& m) { return m.ScrollTime(false); };
constexpr Op Up = [](CGraphModel& m) { return m.ScrollValue(true); };
constexpr Op Down = [](CGraphModel& m) { return m.ScrollValue(false); };
constexpr Op In = [](CGraphModel& m) { return m.ZoomIn(); };
constexpr Op Out = [](CGraphModel& m) { return m.ZoomOut(); };

// Both traces merge the lines inside a column. Against a line per pair of samples, the pixel
// trace must light exactly the same pixels and the line trace cover the same points with the
// same slanted lines, for noisy data that leaves the plot at its four edges, with missing
// samples, a column of one repeated value, 2 and 20 samples a column, 1.5 pixels apart, and
// sparse data whose markers turn the merging off.
TEST_F(TraceTest, MergedTracesDrawWhatALinePerPairDraws) {
    using Pixels = std::set<std::pair<int, int>>;
    auto ink = [](const std::vector<GraphSegment>& segments, bool ends) {
        Pixels lit;
        std::set<std::array<int, 4>> slanted;
        for (const GraphSegment& s : segments) {
            ForEachLinePixel(s, [&](int x, int y) { lit.insert({x, y}); });
            if (ends)
                lit.insert({s.x2, s.y2});
            if (ends && s.x1 != s.x2)
                slanted.insert({s.x1, s.y1, s.x2, s.y2});
        }
        return std::pair(lit, slanted);
    };
    struct Case {
        uint32_t interval, span;
    } const cases[] = {{1, 1138}, {1, 11380}, {3, 1138}, {40, 1138}};
    uint32_t seed = 3;
    for (const Case& c : cases) {
        Show({0, 100000, kT0, kT0 + c.span, 700, -300, 700, -300});
        std::vector<uint16_t> codes;
        for (int i = 0; i < 2000; ++i) {
            seed = seed * 1664525u + 1013904223u;
            codes.push_back(seed % 97 == 0 ? kCodeMissing
                            : i >= 1000 && i < 1040
                                ? C(100.0)
                                : C(600.0 * std::sin(i / 150.0) + (seed >> 24) * 0.9));
        }
        ChannelRecord& ch = *doc.GetChannel(1);
        Fill(ch, kT0 - 400, c.interval, codes);
        std::vector<GraphSegment> pairs, pixels, lines;
        const bool marker = model.MarkersOn(c.interval);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (codes[i] == kCodeMissing)
                continue;
            const GraphPoint p = At(ch.startTime + static_cast<uint32_t>(i) * c.interval, codes[i]);
            const GraphPoint q =
                i > 0 && codes[i - 1] != kCodeMissing
                    ? At(ch.startTime + static_cast<uint32_t>(i - 1) * c.interval, codes[i - 1])
                    : p;
            model.ClippedLine(q.x, q.y, p.x, p.y, marker, pairs);
        }
        model.BuildTrace(ch, pixels, CGraphModel::TraceDetail::kPixels);
        model.BuildTrace(ch, lines, CGraphModel::TraceDetail::kLines);
        EXPECT_EQ(ink(pixels, false).first, ink(pairs, false).first) << c.interval << " " << c.span;
        EXPECT_EQ(ink(lines, true), ink(pairs, true)) << c.interval << " " << c.span;
        const std::size_t fewer = c.span > 1138 ? pairs.size() / 2 : pairs.size();
        EXPECT_LE(pixels.size(), fewer) << c.interval << " " << c.span;
        EXPECT_LE(lines.size(), fewer) << c.interval << " " << c.span;
        if (marker) {
            EXPECT_EQ(lines, pairs) << c.interval;
        }
    }
}

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
    // clang-format off
    const std::pair<Window, bool> cases[] = {
        {{1000, 11000, 1000, 11000, 640, -240, 640, -240}, true},
        {{1000, 11000, 1001, 11000, 640, -240, 640, -240}, false}, {{1000, 11000, 1000, 10999, 640, -240, 640, -240}, false},
        {{1000, 11000, 1000, 11000, 640, -240, 639, -240}, false}, {{1000, 11000, 1000, 11000, 640, -240, 640, -239}, false},
    };
    // clang-format on
    for (const auto& [w, all] : cases) {
        SetWindow(w);
        EXPECT_EQ(model.ShowsEverything(), all) << w.viewStart << " " << w.viewEnd;
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
        model.DragValueThumb(c.pressY, c.y, 440);
        EXPECT_FLOAT_EQ(Range().viewUpper, 420) << "the document waits for the release";
        model.CommitValueDrag();
        ExpectView(1000, 11000, c.dragUpper, c.dragLower);
    }
    // A dragged window below the full scale is lifted onto it at the release.
    SetWindow({1000, 11000, 1000, 11000, 640, -240, 420, -20});
    model.m_fDragUpper = 100;
    model.m_fDragLower = -300;
    model.CommitValueDrag();
    ExpectView(1000, 11000, 160, -240);
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
        // 1000 samples of 10 s from t = 1000: 80.0 at t = 6000, -10.0 at t = 1010.
        std::vector<uint16_t> codes(1000, C(20.0));
        codes[500] = C(80.0);
        codes[1] = C(-10.0);
        Fill(*doc.GetChannel(2), 1000, 10, codes);
        SetWindow({1000, 10990, 1000, 3000, 640, -240, 120, 20});
        doc.CalcStatistics();
    }
};

TEST_F(JumpTest, JumpCentresTheExtremeAndStaysOnTheDataAndFullScale) {
    EXPECT_TRUE(model.JumpToExtreme(2, true));
    ExpectView(5000u, 7000u, 130, 30);
    EXPECT_TRUE(model.JumpToExtreme(2, false)); // near the start
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
    EXPECT_EQ(std::pair(Range().viewStart, Range().viewEnd), std::pair(0u, 2000u));
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
    }
    model.ApplyCalcRangeView(5000, 5990);
    EXPECT_EQ(doc.GetChannel(1)->statMax, kCodeMissing) << "statistics follow the new range";
    EXPECT_EQ(doc.GetChannel(4)->statMax, C(30.0));
}

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
        doc.RecalcRanges(RecalcMode::NewData);
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
    doc.GetChannel(1)->present = 0;
    EXPECT_EQ(model.SnapCursorTime(S + 50), S + 70) << "only the pixel's end is left";
    doc.GetChannel(2)->interval = 0; // no grid to snap to, and no division by zero
    EXPECT_EQ(model.SnapCursorTime(S + 50), S + 70);
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

// Where a press lands, relative to the laid-out strips.
class PressTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        Fill(*doc.GetChannel(1), 1000000, 10, std::vector<uint16_t>(400, C(20.0)));
        doc.RecalcRanges(RecalcMode::NewData);
        model.ZoomIn(); // thumbs in the middle of their tracks
        ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
        model.PrepareThumbs();
        model.PlaceCursors();
        model.m_rcFlagA = model.FlagRect(model.m_xCursorA);
        model.m_rcFlagB = model.FlagRect(model.m_xCursorB);
        ky = model.m_rcCursorBar.top + 3;
    }
    int ky = 0;
};

TEST_F(PressTest, EachAreaStartsItsOwnGesture) {
    const GraphRect& t = model.m_rcTimeBar;
    const GraphRect& v = model.m_rcValueBar;
    const GraphRect& k = model.m_rcCursorBar;
    const GraphRect& p = model.m_rcPlot;
    const GraphRect& tt = model.m_rcTimeThumb;
    const GraphRect& vt = model.m_rcValueThumb;
    const int ty = t.top + 5, vx = v.left + 5;
    // clang-format off
    const struct { const char* what; GraphPoint pt; PressAction action; int mode, repeat; } cases[] = {
        {"time strip, left arrow", {t.left, ty}, PressAction::kScrollTimeLeft, kDragNone, 0},
        {"time strip, left arrow's last column", {t.left + 15, ty}, PressAction::kScrollTimeLeft, kDragNone, 0},
        {"time strip, track", {t.left + 17, ty}, PressAction::kNone, kDragNone, 0},
        {"time thumb", {(tt.left + tt.right) / 2, ty}, PressAction::kNone, kDragTimeThumb, 0},
        {"value strip, up arrow", {vx, v.top}, PressAction::kScrollValueUp, kDragNone, 0},
        {"value thumb", {vx, (vt.top + vt.bottom) / 2}, PressAction::kNone, kDragValueThumb, 0},
        {"cursor strip, left button", {k.left + 2, ky}, PressAction::kStepLeft, kDragNone, 1},
        {"flag B", {model.m_rcFlagB.left + 3, ky}, PressAction::kNone, kDragFlagB, 0},
        {"inside the plot", {p.left + 40, p.top + 40}, PressAction::kNone, kDragZoom, 0},
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

TEST_F(PressTest, FlagClickWithoutMovingTogglesAndSnaps) {
    const int x = model.m_xCursorA;
    model.LeftButtonDown({model.m_rcFlagA.left + 3, ky});
    const CGraphModel::ReleaseOutcome out = model.LeftButtonUp({x + 2, ky});
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    EXPECT_EQ(store.GetInt("CursorAB Section", "CursorASelect", 1), 0) << "saved at once";
    EXPECT_EQ(Range().cursorA, model.DropCursorTime(x + 2));
    EXPECT_TRUE(out.redrawCursors && out.refreshPane);

    // Dragged away: no toggle.
    model.LeftButtonDown({model.FlagRect(model.m_xCursorA).left + 3, ky});
    EXPECT_EQ(model.MouseMove({x + 100, ky}), DragFeedback::kCursors);
    model.LeftButtonUp({x + 100, ky});
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    EXPECT_EQ(Range().cursorA, model.DropCursorTime(x + 100));
}

TEST_F(PressTest, ValueThumbDraggedPastTheEndLandsOnTheFullScale) {
    const GraphRect& v = model.m_rcValueBar;
    const GraphRect vthumb = model.m_rcValueThumb;
    model.LeftButtonDown({v.left + 5, (vthumb.top + vthumb.bottom) / 2});
    ASSERT_EQ(model.m_nDragMode, kDragValueThumb);
    model.MouseMove({v.left + 5, 5000});
    model.LeftButtonUp({v.left + 5, 5000});
    EXPECT_EQ(Range().viewLower, Range().fullLower);
}

constexpr uint32_t kStart = 1200000000;

TEST(ValueAtCursorTest, InterpolatesTowardsTheEarlierSampleAndPassesSpecialCodes) {
    // clang-format off
    // The samples at kStart and kStart + 30, the cursor as an offset from kStart, the value.
    const struct { const char* what; uint16_t p, c; int64_t cursor; uint16_t expected; } cases[] = {
        {"on the first sample", C(25.0), C(26.0), 0, C(25.0)},
        {"25.0 to 26.0, one third: rounded down", C(25.0), C(26.0), 10, C(25.3)},
        {"26.0 to 25.0, one third: rounded up", C(26.0), C(25.0), 10, C(25.7)},
        {"falling, exactly between two codes: no extra step", C(26.0), C(25.0), 15, C(25.5)},
        {"after an Under sample", kCodeUnder, C(25.0), 10, kCodeUnder},
        {"missing beats Over", kCodeOver, kCodeMissing, 10, kCodeMissing},
        {"Over beats Under", kCodeUnder, kCodeOver, 10, kCodeOver},
        {"before the first sample", C(25.0), C(26.0), -1, kCodeEnd},
        {"after the last sample", C(25.0), C(26.0), 31, kCodeEnd},
        {"far after the data", C(25.0), C(26.0), 1000000, kCodeEnd},
    };
    // clang-format on
    for (const auto& c : cases) {
        ChannelRecord ch;
        Fill(ch, kStart, 30, {c.p, c.c});
        EXPECT_EQ(ValueAtCursor(ch, static_cast<uint32_t>(kStart + c.cursor)), c.expected)
            << c.what;
    }
    ChannelRecord ch;
    Fill(ch, kStart, 1, {C(1.0), kCodeEnd, C(3.0), C(4.0)});
    EXPECT_EQ(ValueAtCursor(ch, kStart + 3), kCodeEnd) << "an end code reached before";
    Fill(ch, 0, 2, std::vector<uint16_t>(kMaxSamples, C(7.0)));
    EXPECT_EQ(ValueAtCursor(ch, 2 * (kMaxSamples - 1)), C(7.0)) << "the last slot";
    EXPECT_EQ(ValueAtCursor(ch, 2 * (kMaxSamples - 1) + 1), kCodeEnd) << "towards the terminator";
}

TEST(LegendTextTest, FixedFormatsAndTimesInLocalCalendarTime) {
    for (auto [s, text] :
         {std::pair{90u, " 1min"}, {60u, " 1min"}, {30u, "30sec"}, {3600u, "60min"}})
        EXPECT_EQ(LegendInterval(s), text) << s;
    EXPECT_EQ(LegendSamples(16000), "16000");
    const uint32_t a = Local(2008, 3, 5, 10, 0, 0);
    const uint32_t b = Local(2008, 3, 6, 11, 30, 5);
    EXPECT_EQ(LegendDistance(a, b), "A   B 1 01:30'05");
    EXPECT_EQ(LegendDistance(b, a), "A   B 1 01:30'05");
    EXPECT_EQ(LegendDistance(0, 40 * 86400 + 59), "A   B 40 00:00'59");
    EXPECT_EQ(LegendCursorLine('B', Local(2010, 12, 31, 9, 5, 3)), "Cursor B 10/12/31  9:05'03");
    EXPECT_EQ(LegendRangeTime(b), " 8/03/06 11:30'05");
}

class LegendDocTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        Fill(*doc.GetChannel(1), kStart, 30, {C(25.0), C(26.0), C(27.0)}, "room");
        Fill(*doc.GetChannel(2), kStart, 30, {C(25.0), kCodeOver, C(20.0)}, "oven");
        doc.RecalcRanges(RecalcMode::NewData);
        Range().cursorA = kStart + 10;
        Range().cursorB = kStart + 60;
    }
    // The text of a row's cell at x, empty when there is none.
    static std::string Cell(const LegendPicture& p, int x, int row) {
        for (const LegendText& t : p.texts)
            if (t.x == x && t.y == LegendRowY(row))
                return t.text;
        return {};
    }
    LegendPicture Picture() {
        return BuildLegendPicture(doc, FillLegend(doc), kMetrics, 640, 167, 0);
    }
};

TEST_F(LegendDocTest, ValueColumnsFollowTheRulesAndHiddenChannelsShowNone) {
    Fill(*doc.GetChannel(3), kStart + 50, 30, {C(1.0), C(2.0)}, "late");
    Fill(*doc.GetChannel(4), kStart, 30, {C(1.0), C(2.0)}, "hidden");
    doc.m_bShow[3] = 0;
    const LegendPicture p = Picture();
    // clang-format off
    const std::tuple<int, int, const char*> cells[] = {
        {239, 1, "  25.3"}, {307, 1, "  27.0"}, {373, 1, "   1.7"}, {434, 1, "  27.0"},
        {488, 1, "  25.0"}, {543, 1, "  26.0"}, {127, 1, "30sec"}, {182, 1, "    3"},
        // Next to an Over sample: Over at A, no difference; the maximum is Over too.
        {239, 2, "  Over"}, {373, 2, "  --- "}, {434, 2, "  Over"},
        // The cursor before the first sample: no value, no difference.
        {239, 3, "  --- "}, {373, 3, "  --- "},
        // A hidden channel keeps its name but shows no values.
        {54, 4, "hidden"}, {239, 4, "      "}, {434, 4, "      "},
    };
    // clang-format on
    for (auto [x, row, text] : cells)
        EXPECT_EQ(Cell(p, x, row), text) << x << "," << row;
}

// On paper the cursor group is blank: no cursor lines, headings or columns ("---" included),
// its inner rules gone; the rest of the row as on the screen.
TEST_F(LegendDocTest, PaperLeavesTheCursorsOut) {
    const LegendData d = FillLegend(doc);
    const LegendPicture screen = BuildLegendPicture(doc, d, kMetrics, 640, 167, 0);
    const LegendPicture paper = BuildLegendPicture(doc, d, kMetrics, 640, 167, 0, true);
    for (const int x : {239, 307, 373})
        EXPECT_NE(Cell(screen, x, 2), "") << x;
    for (const LegendText& t : paper.texts) {
        EXPECT_FALSE(t.x > 222 && t.x < 424 && t.text != "Calculation Range") << t.x << t.text;
        for (const char* cursor : {"---", "Cursor", "A   B"})
            EXPECT_EQ(t.text.find(cursor), std::string::npos) << t.text;
    }
    EXPECT_EQ(Cell(paper, 434, 1), Cell(screen, 434, 1));
    EXPECT_EQ(Cell(paper, 54, 2), "oven");
    EXPECT_LT(paper.lines.size(), screen.lines.size());
}

TEST_F(LegendDocTest, CursorsOutsideTheWindowAreBroughtInAndWrittenBack) {
    Range().viewStart = kStart + 20;
    Range().cursorA = kStart;
    Range().cursorB = Range().viewEnd + 100;
    const LegendData d = FillLegend(doc);
    EXPECT_EQ(std::tuple(d.cursorA, Range().cursorA, Range().cursorB),
              std::tuple(kStart + 20, kStart + 20, Range().viewEnd));
    EXPECT_EQ(d.rows[0].valueA, C(25.6)) << "the value at the moved cursor";
}

// The click rules, as sequences of events on the pane.
// A repaint after a refresh covers each changed item where it was and where it is now.
TEST(LegendChangesTest, EveryChangedItemInBothPlacesAndAllWhenTheyDoNotCorrespond) {
    const auto width = [](const std::string& s) { return 6 * static_cast<int>(s.size()); };
    const LegendPicture was{{{1, {0, 10, 100, 10}}}, {{300, 51, 2, "x"}}, {{10, 51, 30, 65}}, {}};
    LegendPicture text = was, line = was, box = was, more = was, arrow = was;
    text.texts[0].text = "xxx";
    line.lines[0].line.y2 = 12;
    box.boxes[0].bottom = 64;
    more.arrows.push_back({1, {5, 5, 9, 5}});
    arrow.arrows = {{1, {5, 5, 9, 5}}};
    LegendPicture arrowMoved = arrow;
    arrowMoved.arrows[0].line.x2 = 7;
    const std::pair<LegendPicture, std::vector<GraphRect>> cases[] = {
        {was, {}},
        {text, {{298, 49, 308, 65}, {298, 49, 320, 65}}}, // the cell and 2 pixels round it
        {line, {{0, 10, 101, 11}, {0, 10, 101, 13}}},
        {box, {{10, 51, 30, 65}, {10, 51, 30, 64}}},
        {more, {{0, 0, 640, 167}}}};
    EXPECT_EQ(LegendChangedAreas(arrow, arrowMoved, width, 12, 640, 167),
              (std::vector<GraphRect>{{5, 5, 10, 6}, {5, 5, 8, 6}}));
    for (const auto& [now, areas] : cases) {
        EXPECT_EQ(LegendChangedAreas(was, now, width, 12, 640, 167), areas);
        std::vector<GraphRect> back = LegendChangedAreas(now, was, width, 12, 640, 167);
        for (std::size_t i = 0; i + 1 < back.size(); i += 2)
            std::swap(back[i], back[i + 1]);
        EXPECT_EQ(back, areas) << "the other way round";
    }
}

class LegendClickTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n : {1, 2, 4}) {
            data.rows[static_cast<std::size_t>(n - 1)].present = static_cast<uint32_t>(n);
            data.rows[static_cast<std::size_t>(n - 1)].avg = C(20.0);
        }
    }
    static int Y(int row) { return LegendRowY(row) + 5; }
    using Posts = std::vector<ViewMessage>;
    LegendData data;
    CLegendClicks clicks;
    static constexpr int kBox = 22;
};

TEST_F(LegendClickTest, SingleClickTogglesWhenTheTimerFires) {
    EXPECT_TRUE(clicks.ButtonDown(data, kBox, Y(2)).busyPointer);
    const auto up = clicks.ButtonUp(kBox, Y(2));
    EXPECT_EQ(std::pair(up.startTimer, up.post), std::pair(true, Posts{}))
        << "nothing before the timer";
    const auto tick = clicks.Timer();
    EXPECT_EQ(tick.post, (Posts{{UM_TOGGLE_SHOW, 2, 0}}));
    EXPECT_TRUE(tick.killTimer);
    EXPECT_TRUE(clicks.Timer().post.empty()) << "one click, one toggle";
}

TEST_F(LegendClickTest, DoubleClickAsksForTheConditionsAndDropsTheToggle) {
    clicks.ButtonDown(data, kBox, Y(4));
    clicks.ButtonUp(kBox, Y(4));
    EXPECT_EQ(clicks.DoubleClick(data, kBox, Y(4)).post, (Posts{{UM_EDIT_CONDITIONS, 0, 0}}));
    // The release of the second click moves the channel onto itself, which changes nothing.
    EXPECT_EQ(clicks.ButtonUp(kBox, Y(4)).post, (Posts{{UM_MOVE_CHANNEL, 44, 0}}));
    EXPECT_TRUE(clicks.Timer().post.empty());
}

TEST_F(LegendClickTest, DragToAnotherRowMovesTheChannel) {
    clicks.ButtonDown(data, kBox, Y(2));
    EXPECT_TRUE(clicks.MouseMove(kBox, Y(4), true).busyPointer);
    EXPECT_EQ(clicks.ButtonUp(kBox + 3, Y(5)).post, (Posts{{UM_MOVE_CHANNEL, 5 + 10 * 2, 0}}));
}

TEST_F(LegendClickTest, PressesOutsideTheNumberBoxesStartNoMove) {
    clicks.ButtonDown(data, kBox, Y(2));
    clicks.ButtonUp(kBox, Y(2));
    clicks.Timer();
    // A press on a name, released on a number box: not a drag of the earlier row.
    clicks.ButtonDown(data, 60, Y(1));
    EXPECT_TRUE(clicks.ButtonUp(kBox, Y(3)).post.empty());
    // Above the first row the number column is no box (its row would compute as 1).
    clicks.ButtonDown(data, kBox, 40);
    EXPECT_EQ(clicks.PressRow(), 0);
    EXPECT_TRUE(clicks.ButtonUp(kBox, Y(1)).post.empty());
    // Released elsewhere: only a repaint.
    clicks.ButtonDown(data, kBox, Y(1));
    const auto up = clicks.ButtonUp(300, Y(1));
    EXPECT_TRUE(up.post.empty());
    EXPECT_TRUE(up.repaint);
    // A click on an empty channel sends nothing.
    EXPECT_FALSE(clicks.ButtonDown(data, kBox, Y(3)).busyPointer);
    EXPECT_FALSE(clicks.ButtonUp(kBox, Y(3)).startTimer);
    EXPECT_TRUE(clicks.Timer().post.empty());
}

TEST(LegendHitTest, TheRowsEndWithTheEighth) {
    using Col = LegendColumn;
    // clang-format off
    const struct { int x, y, row; Col column; } cases[] = {
        {22, 50, 0, Col::kNone}, {22, 51, 1, Col::kNumber}, {22, 64, 1, Col::kNumber}, {22, 65, 2, Col::kNumber},
        {22, 162, 8, Col::kNumber}, {450, 162, 8, Col::kMax}, {22, 163, 0, Col::kNone}, {500, 163, 0, Col::kNone},
    };
    // clang-format on
    for (const auto& c : cases) {
        const LegendHit hit = LegendHitTest(c.x, c.y);
        EXPECT_EQ(std::make_pair(hit.row, hit.column), std::make_pair(c.row, c.column))
            << c.x << "," << c.y;
    }
}

TEST_F(LegendClickTest, DoubleClickOnMaxOrMinJumpsOnlyForShownChannelsWithStatistics) {
    EXPECT_EQ(clicks.DoubleClick(data, 450, Y(1)).post, (Posts{{UM_JUMP_TO_MAX, 1, 0}}));
    EXPECT_EQ(clicks.DoubleClick(data, 522, Y(2)).post, (Posts{{UM_JUMP_TO_MIN, 2, 0}}));
    EXPECT_TRUE(clicks.DoubleClick(data, 470, Y(1)).post.empty()) << "between the cells";
    EXPECT_TRUE(clicks.DoubleClick(data, 450, Y(3)).post.empty()) << "no data";
    data.rows[3].show = 0;
    EXPECT_TRUE(clicks.DoubleClick(data, 450, Y(4)).post.empty()) << "hidden";
    data.rows[0].avg = kCodeMissing;
    EXPECT_TRUE(clicks.DoubleClick(data, 450, Y(1)).post.empty()) << "no statistics";
}

} // namespace
} // namespace saroko::test
