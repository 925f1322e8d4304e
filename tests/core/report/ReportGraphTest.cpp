// The report graph's rules: the value window over measured values and limits, the traces
// reduced per device column with Over and Under on the edges, and limit labels that never
// overlap.
#include <gtest/gtest.h>

#include <random>

#include "core/TestSupport.h"
#include "core/report/ReportGraph.h"

namespace saroko::test {
namespace {

constexpr uint32_t kT0 = 1200000000;
constexpr uint16_t O = kCodeOver, U = kCodeUnder, M = kCodeMissing;

class ReportGraphTest : public DocTest {};

TEST_F(ReportGraphTest, ValueWindowTakesMeasuredValuesAndLimitsNeverOverOrUnder) {
    const auto window = [&](std::vector<uint16_t> codes, ReportOptions o) {
        Fill(*doc.GetChannel(1), kT0, 10, codes);
        doc.RecalcRanges(RecalcMode::NewData);
        return ReportValueWindow(ComputeReportFigures(doc, o));
    };
    ReportOptions none, limits;
    limits.low = 2;
    limits.high = 40;
    struct Case {
        const char* name;
        std::vector<uint16_t> codes;
        ReportOptions options;
        double lower, upper;
    };
    // A span of 10 takes exactly the least margin; just above it, 5 % of the span.
    const Case cases[] = {
        {"Over and Under leave the window alone", {C(20), O, C(30), U}, none, 19.5, 30.5},
        {"span of 10: the least margin", {C(10), C(20)}, none, 9.5, 20.5},
        {"span of 10.2: 5 %", {C(10), C(20.2)}, none, 9.49, 20.71},
        {"span of 9.8: the least margin", {C(10), C(19.8)}, none, 9.5, 20.3},
        {"limits widen it", {C(20), O, C(30)}, limits, 2 - 1.9, 40 + 1.9},
        {"one value", {C(25)}, none, 24.5, 25.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto w = window(c.codes, c.options);
        ASSERT_TRUE(w);
        EXPECT_NEAR(w->lower, c.lower, 1e-4);
        EXPECT_NEAR(w->upper, c.upper, 1e-4);
    }
    EXPECT_FALSE(window({O, U, M}, none)) << "no value and no limit";
    EXPECT_TRUE(window({O, U, M}, limits)) << "the limits alone";
}

// A plot 10 units wide, 100 high; one unit a second and a degree.
ReportPlot Plot(int columns) {
    ReportPlot p;
    p.right = 10;
    p.bottom = 100;
    p.from = kT0;
    p.columns = columns;
    return p;
}

TEST_F(ReportGraphTest, TraceKeepsFirstExtremesAndLastOfEachColumn) {
    ChannelRecord& ch = *doc.GetChannel(1);
    using Run = std::vector<TracePoint>;
    struct Case {
        const char* name;
        int columns;
        std::vector<uint16_t> codes;
        uint32_t from, to;
        std::vector<Run> runs;
        std::vector<EdgeMark> marks;
    };
    // clang-format off
    const Case cases[] = {
        {"a column a sample", 10, {C(10), C(20)}, kT0, kT0 + 9, {{{0.5, 90}, {1.5, 80}}}, {}},
        {"five samples a column: first, highest, lowest, last", 2,
         {C(10), C(30), C(5), C(20), C(15), C(12)}, kT0, kT0 + 9,
         {{{2.5, 90}, {2.5, 70}, {2.5, 95}, {2.5, 85}, {7.5, 88}}}, {}},
        {"lowest before highest keeps that order; sample 5 opens column 1", 2,
         {C(10), C(5), C(30), C(10), C(10), C(12)}, kT0, kT0 + 9,
         {{{2.5, 90}, {2.5, 95}, {2.5, 70}, {2.5, 90}, {7.5, 88}}}, {}},
        {"a flat stretch keeps its ends; a turn on it stays", 10,
         {C(10), C(10), C(10), C(20), C(20), C(10)}, kT0, kT0 + 9,
         {{{0.5, 90}, {2.5, 90}, {3.5, 80}, {4.5, 80}, {5.5, 90}}}, {}},
        {"a column's straight rise keeps its ends", 2,
         {C(10), C(20), C(30), C(30), C(30)}, kT0, kT0 + 9,
         {{{2.5, 90}, {2.5, 70}}}, {}},
        {"a missing sample breaks the line", 10, {C(10), M, C(20)}, kT0, kT0 + 9,
         {{{0.5, 90}}, {{2.5, 80}}}, {}},
        {"Over on the top edge, Under on the bottom, once per column and kind", 2,
         {C(10), O, O, U, C(20), O}, kT0, kT0 + 9,
         {{{2.5, 90}}, {{2.5, 80}}}, {{2.5, true}, {2.5, false}, {7.5, true}}},
        {"the window's edges belong to it", 10, {C(1), C(2), C(3), C(4)}, kT0 + 1, kT0 + 2,
         {{{1.5, 98}, {2.5, 97}}}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(ch, kT0, 1, c.codes);
        const ReportTrace t = BuildReportTrace(doc, ch, Plot(c.columns), c.from, c.to);
        ASSERT_EQ(t.runs.size(), c.runs.size());
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            ASSERT_EQ(t.runs[i].size(), c.runs[i].size()) << "run " << i;
            for (std::size_t k = 0; k < c.runs[i].size(); ++k) {
                EXPECT_NEAR(t.runs[i][k].x, c.runs[i][k].x, 1e-9) << i << "/" << k;
                EXPECT_NEAR(t.runs[i][k].y, c.runs[i][k].y, 1e-3) << i << "/" << k;
            }
        }
        EXPECT_EQ(t.marks, c.marks);
    }
    // A sample beyond the value window stays on the plot; one beyond the right edge too.
    Fill(ch, kT0, 5, {C(150), C(-20), C(50), C(50), C(50)});
    const ReportTrace t = BuildReportTrace(doc, ch, Plot(10), kT0, kT0 + 100);
    ASSERT_EQ(t.runs.size(), 1u);
    EXPECT_EQ(t.runs[0].front(), (TracePoint{0.5, 0}));
    EXPECT_NEAR(t.runs[0][1].y, 100, 1e-9);
    EXPECT_EQ(t.runs[0].back().x, 9.5);
}

TEST_F(ReportGraphTest, FullDocumentTraceHasAtMostFourPointsAColumn) {
    ChannelRecord& ch = *doc.GetChannel(1);
    std::vector<uint16_t> codes;
    for (int i = 0; i < kMaxSamples; ++i)
        codes.push_back(C(20 + 5 * std::sin(i / 7.0)));
    Fill(ch, kT0, 1, codes);
    ReportPlot p = Plot(1000);
    p.secondsPerUnit = kMaxSamples / 10.0;
    const ReportTrace t = BuildReportTrace(doc, ch, p, kT0, kT0 + kMaxSamples);
    ASSERT_EQ(t.runs.size(), 1u);
    EXPECT_LE(t.runs[0].size(), 4000u);
    EXPECT_GE(t.runs[0].size(), 2000u) << "each column's extremes are kept";
}

TEST_F(ReportGraphTest, LimitLabelsShareOrMoveApartAndNeverOverlap) {
    using Groups = std::vector<std::vector<int>>;
    struct Case {
        const char* name;
        std::vector<double> ys;
        Groups lines;
        std::vector<double> tops;
    };
    // Labels 10 high on a plot from 0 to 100.
    const Case cases[] = {
        {"apart: each above its line", {80, 50}, {{1}, {0}}, {40, 70}},
        {"a text's height apart: two labels", {50, 60}, {{0}, {1}}, {40, 50}},
        {"just closer: one label", {50, 59.9}, {{0, 1}}, {40}},
        {"a line at the top: its label below the edge", {3, 40}, {{0}, {1}}, {0, 30}},
        {"pushed down by the one above", {5, 16, 100}, {{0}, {1}, {2}}, {0, 10, 90}},
        {"a line at the bottom", {100}, {{0}}, {90}},
        {"three close ones wider together than the plot: the third moves apart",
         {50, 52, 54},
         {{0, 1}, {2}},
         {40, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each text 30 wide, joined by 5; a label at most 65 wide: two texts, not three.
        const auto labels =
            PlaceLimitLabels(c.ys, std::vector<double>(c.ys.size(), 30), {10, 5, 65}, 0, 100);
        ASSERT_EQ(labels.size(), c.lines.size());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].lines, c.lines[i]);
            EXPECT_DOUBLE_EQ(labels[i].top, c.tops[i]);
        }
    }
    // Any lines: every line named once, labels inside the plot and apart, in the lines' order;
    // eleven labels never fit into 100, so neighbours join.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> y(0, 100);
    for (int round = 0; round < 200; ++round) {
        std::vector<double> ys(1 + round % 16);
        for (double& v : ys)
            v = y(random);
        const auto labels =
            PlaceLimitLabels(ys, std::vector<double>(ys.size(), 30), {10, 5, 65}, 0, 100);
        std::vector<int> named;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_GE(labels[i].top, 0);
            EXPECT_LE(labels[i].top, 90);
            if (i > 0) {
                EXPECT_GE(labels[i].top, labels[i - 1].top + 10 - 1e-9) << "overlap";
            }
            named.insert(named.end(), labels[i].lines.begin(), labels[i].lines.end());
        }
        EXPECT_LE(labels.size(), 10u);
        ASSERT_EQ(named.size(), ys.size());
        for (std::size_t i = 1; i < named.size(); ++i)
            EXPECT_LE(ys[named[i - 1]], ys[named[i]]);
    }
}

TEST_F(ReportGraphTest, MissingTimesListedUpToTheLimitThenCountFirstLast) {
    for (const int missing : {kListedMissing, kListedMissing + 1}) {
        SCOPED_TRACE(missing);
        std::vector<uint16_t> codes{C(1)};
        codes.insert(codes.end(), static_cast<std::size_t>(missing), M);
        codes.push_back(C(2));
        Fill(*doc.GetChannel(1), kT0, 10, codes);
        doc.RecalcRanges(RecalcMode::NewData);
        const ChannelFigures f = ComputeReportFigures(doc, {}).channels.at(0);
        EXPECT_EQ(f.missing, missing);
        EXPECT_EQ(ListsEveryMissing(f), missing <= kListedMissing);
        EXPECT_EQ(f.missingTimes.size(), static_cast<std::size_t>(kListedMissing));
        EXPECT_EQ(f.missingTimes.front(), kT0 + 10);
        EXPECT_EQ(std::pair(f.firstMissing, f.lastMissing),
                  std::pair(kT0 + 10, kT0 + 10u * static_cast<uint32_t>(missing)));
    }
}

} // namespace
} // namespace saroko::test
