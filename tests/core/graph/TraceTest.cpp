#include <gtest/gtest.h>

#include "core/graph/GraphTestSupport.h"

namespace saroko::test {
namespace {

// 640 x 480 with 2 s per column from t = 10000; the plot is (46, 25) .. (614, 269).
class TraceTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        Show({0, 100000, kT0, kT0 + 1138, 700, -300, 700, -300});
        ASSERT_FLOAT_EQ(model.m_fSecPerPixel, 2.0f);
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
    EXPECT_TRUE(model.MarkersOn(60));
    EXPECT_EQ(Trace(kT0 + 100, 60, {C(10.0), C(20.0)}), want);
    for (auto [interval, markers] : {std::pair{8u, true}, {6u, false}, {1u, false}}) {
        EXPECT_EQ(model.MarkersOn(interval), markers) << interval;
        const auto segs = Trace(kT0 + 100, interval, {C(10.0), C(20.0)});
        EXPECT_EQ(segs.size(), markers ? 6u : 2u) << interval;
    }
}

TEST_F(TraceTest, MissingSamplesBreakTheLine) {
    const GraphPoint a = At(kT0 + 100, C(10.0)), c = At(kT0 + 112, C(30.0)),
                     d = At(kT0 + 116, C(40.0));
    const auto segs = Trace(kT0 + 100, 4, {C(10.0), kCodeMissing, kCodeMissing, C(30.0), C(40.0)});
    EXPECT_EQ(segs, (std::vector<GraphSegment>{Dot(a), Dot(c), {c.x, c.y, d.x, d.y}}));
    EXPECT_TRUE(Trace(kT0, 4, {kCodeMissing, kCodeMissing}).empty());
    EXPECT_TRUE(Trace(kT0, 4, {}).empty());
}

TEST_F(TraceTest, LoneSampleIsOnePixelWithItsMarker) {
    const GraphPoint p = At(kT0 + 160, C(0.0));
    const auto segs = Trace(kT0 + 100, 60, {kCodeMissing, C(0.0), kCodeMissing});
    EXPECT_EQ(segs, Marked(p));
}

TEST_F(TraceTest, SegmentLeavingThePlotIsCutWithoutMarker) {
    // The second sample lies far right of the window: the line ends on the plot's right edge.
    const auto segs = Trace(kT0 + 1000, 3000, {C(0.0), C(0.0)});
    const GraphPoint a = At(kT0 + 1000, C(0.0));
    EXPECT_EQ(segs, Marked(a, {{a.x, a.y, 614, a.y}}));
}

TEST_F(TraceTest, OverAndUnderRunToThePlotEdgeWhenOutsideTheWindow) {
    Show({0, 100000, kT0, kT0 + 1138, 100, 0, 100, 0});
    const auto segs = Trace(kT0 + 100, 4, {C(50.0), kCodeOver, C(50.0), kCodeUnder});
    ASSERT_EQ(segs.size(), 4u);
    EXPECT_EQ(segs[1].y2, 25) << "Over ends on the top edge";
    EXPECT_EQ(segs[2].y1, 25);
    EXPECT_EQ(segs[3].y2, 269) << "Under ends on the bottom edge";
}

TEST_F(TraceTest, WalkStopsAtTheTerminatorAfterTheLastSlot) {
    const auto segs = Trace(kT0, 1, std::vector<uint16_t>(kMaxSamples, C(0.0)));
    EXPECT_FALSE(segs.empty());
    EXPECT_LE(segs.size(), static_cast<std::size_t>(kMaxSamples));
}

} // namespace
} // namespace saroko::test
