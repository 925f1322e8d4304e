// The report's figures on hand-made channels: counts, extremes, average and mean kinetic
// temperature, and the runs outside the limits at the window's edges.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <optional>

#include "core/TestSupport.h"
#include "core/report/ReportFigures.h"
#include "core/report/ReportSettings.h"

namespace saroko::test {
namespace {

constexpr uint32_t kT0 = 1200000000;
constexpr uint16_t O = kCodeOver, U = kCodeUnder, M = kCodeMissing;
constexpr double kNone = NAN;     // the figure must be absent
constexpr double kAny = INFINITY; // not checked here

class ReportFiguresTest : public DocTest {
protected:
    ReportFigures Compute(const std::vector<std::pair<uint32_t, std::vector<uint16_t>>>& channels,
                          const ReportOptions& options, bool fahrenheit = false,
                          uint8_t type = kTypeTemp13) {
        doc.m_nUnitCF = fahrenheit ? 1 : 0;
        for (std::size_t i = 0; i < channels.size(); ++i)
            Fill(*doc.GetChannel(static_cast<int>(i) + 1), kT0, channels[i].first,
                 channels[i].second, "", type);
        doc.RecalcRanges(RecalcMode::NewData);
        return ComputeReportFigures(doc, options);
    }
};

void ExpectValue(const std::optional<double>& got, double want, double tolerance,
                 const char* what) {
    if (std::isnan(want))
        EXPECT_FALSE(got.has_value()) << what;
    else
        EXPECT_NEAR(got.value_or(NAN), want, tolerance) << what;
}

TEST_F(ReportFiguresTest, CountsExtremesAverageAndMkt) {
    // Samples every 10 s from kT0; maxAt and minAt: the sample index of the first extreme.
    // clang-format off
    struct Case { const char* name; std::vector<uint16_t> codes; bool fahrenheit; int samples, missing, over, under; double max; int maxAt; double min; int minAt; double average, mkt; };
    const Case cases[] = {
        {"Over and Under count but stay out of max/min/avg", {C(25), O, C(35), C(10), U, C(2), C(35)}, false, 7, 0, 1, 1, 35, 2, 2, 5, 21.4, kAny},
        {"missing samples are only counted", {M, C(-5), M, C(5)}, false, 2, 2, 0, 0, 5, 3, -5, 1, 0, kAny},
        {"degF values", {C(20), C(30), C(-10)}, true, 3, 0, 0, 0, 86, 1, 14, 2, 56, kAny},
        {"constant series: MKT is that value", {C(25), C(25), C(25)}, false, 3, 0, 0, 0, 25, 0, 25, 0, 25, 25},
        {"MKT of 0 and 20 degC", {C(0), C(20)}, false, 2, 0, 0, 0, 20, 1, 0, 0, 10, 14.8},
        {"MKT in degF", {C(0), C(20)}, true, 2, 0, 0, 0, 68, 1, 32, 0, 50, 58.68},
        {"one real value among the specials", {O, C(12), M}, false, 2, 1, 1, 0, 12, 1, 12, 1, 12, 12},
        {"no real value: no figures", {O, U, M}, false, 2, 1, 1, 1, kNone, 0, kNone, 0, kNone, kNone},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportFigures r = Compute({{10, c.codes}}, {}, c.fahrenheit);
        ASSERT_EQ(r.channels.size(), 1u);
        const ChannelFigures& f = r.channels[0];
        EXPECT_EQ(std::tuple(f.samples, f.missing, f.over, f.under),
                  std::tuple(c.samples, c.missing, c.over, c.under));
        ExpectValue(f.max, c.max, 1e-4, "max");
        ExpectValue(f.min, c.min, 1e-4, "min");
        ExpectValue(f.average, c.average, 1e-4, "average");
        if (c.mkt != kAny)
            ExpectValue(f.mkt, c.mkt, c.mkt == 25 ? 1e-9 : 0.05, "mkt");
        if (f.max) {
            EXPECT_EQ(std::pair(f.maxTime, f.minTime),
                      std::pair(kT0 + 10u * c.maxAt, kT0 + 10u * c.minAt));
        }
    }
    // Humidity has no MKT; a hidden channel is left out.
    EXPECT_FALSE(Compute({{10, {C(25)}}}, {}, false, kTypeHumidity).channels[0].mkt);
    doc.m_bShow[0] = 0;
    EXPECT_TRUE(ComputeReportFigures(doc, {}).channels.empty());
}

// The report takes each code's exp() once; the figure must be the direct formula's to the bit:
// for every code alone, beside a code 40 degrees warmer (its term far below the largest), and
// for all codes at once in a scrambled order, at two activation energies.
// Hours have no limit; minutes and seconds wrap at 60.
TEST(ReportDurationTest, HoursMinutesAndSecondsWrapAtTheirLimits) {
    const std::pair<uint64_t, const char*> rows[] = {
        {0, "0:00:00"},    {59, "0:00:59"},   {60, "0:01:00"},     {3599, "0:59:59"},
        {3600, "1:00:00"}, {3661, "1:01:01"}, {86399, "23:59:59"}, {360000, "100:00:00"}};
    for (const auto& [seconds, text] : rows)
        EXPECT_EQ(FormatDuration(seconds), text) << seconds;
}

TEST(MeanKineticTest, CodeTableGivesTheDirectFigureToTheBit) {
    auto direct = [](const std::vector<uint16_t>& codes, double ea) {
        std::vector<double> kelvin;
        for (const uint16_t c : codes)
            kelvin.push_back((c - 32768) / 10.0 + 273.15);
        return MeanKineticKelvin(kelvin, ea);
    };
    auto bits = [](double v) { return std::isnan(v) ? 0 : std::bit_cast<uint64_t>(v); };
    for (const double ea : {kDefaultActivationEnergy, 150.0}) {
        std::vector<uint16_t> all;
        for (uint32_t i = 0; i < 0x10000; ++i) {
            const auto code = static_cast<uint16_t>(i);
            for (const auto& codes :
                 {std::vector{code},
                  std::vector<uint16_t>{code, static_cast<uint16_t>(code + 400), code}})
                ASSERT_EQ(bits(MeanKineticOfCodes(codes, ea)), bits(direct(codes, ea))) << i;
            const auto scrambled = static_cast<uint16_t>(i * 40503u); // odd factor: a permutation
            if (scrambled > 32768 - 2731)                             // above absolute zero
                all.push_back(scrambled);
        }
        const double figure = MeanKineticOfCodes(all, ea);
        EXPECT_TRUE(std::isfinite(figure));
        EXPECT_EQ(bits(figure), bits(direct(all, ea)));
    }
}

TEST_F(ReportFiguresTest, ExcursionsAtTheirEdges) {
    // Times in seconds after kT0; the runs per channel.
    const auto H = Excursion::kHigh, L = Excursion::kLow;
    // clang-format off
    struct Run { Excursion::Kind kind; int first, last; uint64_t seconds; };
    struct Case { const char* name; std::vector<std::pair<uint32_t, std::vector<uint16_t>>> channels; std::optional<double> low, high; std::optional<int> from, to; bool fahrenheit; std::vector<std::vector<Run>> runs; std::vector<ChannelLimits> own = {}; };
    const Case cases[] = {
        {"runs cut at both edges of the window; a value at the limit is inside", {{10, {C(31), C(32), C(33), C(30), C(33), C(34)}}}, {}, 30.0, 10, 40, false, {{{H, 10, 20, 20}, {H, 40, 40, 10}}}},
        {"a missing sample splits a run", {{10, {C(31), M, C(32), C(33)}}}, {}, 30.0, {}, {}, false, {{{H, 0, 0, 10}, {H, 20, 30, 20}}}},
        {"Over and Under belong to runs", {{10, {C(25), O, C(35), C(10), U, C(2), O}}}, 5.0, 30.0, {}, {}, false, {{{H, 10, 20, 20}, {L, 40, 50, 20}, {H, 60, 60, 10}}}},
        {"Over without a high limit ends a low run", {{10, {C(1), O, C(2)}}}, 5.0, {}, {}, {}, false, {{{L, 0, 0, 10}, {L, 20, 20, 10}}}},
        {"a run turning from high to low is two runs", {{10, {C(40), C(-40)}}}, -30.0, 30.0, {}, {}, false, {{{H, 0, 0, 10}, {L, 10, 10, 10}}}},
        {"degF limits", {{10, {C(20), C(30), C(-10), C(-6.6)}}}, 20.0, 80.0, {}, {}, true, {{{H, 10, 10, 10}, {L, 20, 20, 10}}}},
        {"two channels, each with its own interval", {{10, {C(31), C(31), C(31), C(20)}}, {60, {C(31), C(31), C(20)}}}, {}, 30.0, {}, {}, false, {{{H, 0, 20, 30}}, {{H, 0, 60, 120}}}},
        {"a channel's own high replaces the common one, its low stays common", {{10, {C(9), C(1)}}, {10, {C(9), C(31), C(1)}}}, 2.0, 8.0, {}, {}, false, {{{H, 0, 0, 10}, {L, 10, 10, 10}}, {{H, 10, 10, 10}, {L, 20, 20, 10}}}, {{2, {}, 30.0}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.ClearAllChannels();
        ReportOptions o;
        o.low = c.low;
        o.high = c.high;
        o.channelLimits = c.own;
        if (c.from)
            o.from = kT0 + *c.from;
        if (c.to)
            o.to = kT0 + *c.to;
        const ReportFigures r = Compute(c.channels, o, c.fahrenheit);
        ASSERT_EQ(r.channels.size(), c.runs.size());
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            std::vector<Excursion> want;
            uint64_t above = 0, below = 0;
            for (const Run& run : c.runs[i]) {
                want.push_back({run.kind, kT0 + run.first, kT0 + run.last, run.seconds});
                (run.kind == H ? above : below) += run.seconds;
            }
            const ChannelFigures& f = r.channels[i];
            EXPECT_EQ(std::tuple(f.excursions, f.secondsAboveHigh, f.secondsBelowLow),
                      std::tuple(want, above, below))
                << "channel " << i + 1;
        }
    }
}

// "CH:LOW:HIGH": each side may be left to the common limit, not both; the channel is 1..8.
TEST(ChannelLimitsTest, ParseRefusesEachBadPart) {
    const std::optional<double> none;
    // clang-format off
    struct Case { const char* text; LimitsParse result; int channel; std::optional<double> low, high; };
    const Case cases[] = {
        {"2:1.5:8", LimitsParse::kOk, 2, 1.5, 8.0},
        {"1::-3", LimitsParse::kOk, 1, none, -3.0},
        {"8:4:", LimitsParse::kOk, 8, 4.0, none},
        {"3:5.1:5", LimitsParse::kLowAboveHigh, 0, none, none},
        {"0:1:2", LimitsParse::kBadChannel, 0, none, none},
        {"12:1:2", LimitsParse::kBadChannel, 0, none, none},
        {":1:2", LimitsParse::kBadChannel, 0, none, none},
        {"1:2", LimitsParse::kBadForm, 0, none, none},
        {"1:2:3:4", LimitsParse::kBadForm, 0, none, none},
        {"1:2:3x", LimitsParse::kBadNumber, 0, none, none},
    };
    // clang-format on
    for (const Case& c : cases) {
        ChannelLimits got;
        EXPECT_EQ(ParseChannelLimits(c.text, got), c.result) << c.text;
        EXPECT_EQ(got, (ChannelLimits{c.channel, c.low, c.high})) << c.text;
    }
}

// A channel's own limits replace the common ones side by side, as the report states them (the
// runs: ExcursionsAtTheirEdges); its own high below the common low crosses, at the low it holds.
TEST_F(ReportFiguresTest, EachChannelJudgedByItsOwnLimits) {
    ReportOptions o;
    o.low = 2.0;
    o.high = 8.0;
    o.channelLimits = {{2, {}, 30.0}};
    const ReportFigures r = Compute({{10, {C(9)}}, {10, {C(9)}}}, o);
    ASSERT_EQ(r.channels.size(), 2u);
    EXPECT_EQ(
        std::tuple(r.channels[0].low, r.channels[0].high, r.channels[1].low, r.channels[1].high),
        std::tuple(o.low, o.high, o.low, std::optional(30.0)));
    EXPECT_EQ(ChannelWithCrossedLimits(o), 0);
    o.channelLimits = {{3, {}, 1.9}};
    EXPECT_EQ(ChannelWithCrossedLimits(o), 3);
    o.channelLimits = {{3, {}, 2.0}};
    EXPECT_EQ(ChannelWithCrossedLimits(o), 0);
}

// The period is the first and last sample in the window, not the padded data range.
TEST_F(ReportFiguresTest, SampledPeriodIsTheFirstAndLastSample) {
    ReportFigures r = Compute({{10, {C(1), M, C(2)}}, {60, {C(3), C(4)}}}, {});
    EXPECT_LT(r.from, kT0);
    EXPECT_EQ(SampledPeriod(r), std::pair(kT0, kT0 + 60));
    // A window on the first and last sample leaves nothing out; a second less on a side does.
    using Period = std::optional<std::pair<uint32_t, uint32_t>>;
    const std::tuple<uint32_t, uint32_t, Period, bool> windows[] = {
        {kT0, kT0 + 60, std::pair(kT0, kT0 + 60), false},
        {kT0 + 1, kT0 + 60, std::pair(kT0 + 10, kT0 + 60), true},
        {kT0, kT0 + 59, std::pair(kT0, kT0 + 20), true},
        {kT0 + 1, kT0 + 59, std::pair(kT0 + 10, kT0 + 20), true},
        {kT0 + 21, kT0 + 59, std::nullopt, true}};
    ReportOptions o;
    for (const auto& [from, to, period, cuts] : windows) {
        o.from = from;
        o.to = to;
        const ReportFigures w = ComputeReportFigures(doc, o);
        EXPECT_EQ(std::pair(SampledPeriod(w), WindowCutsData(w)), std::pair(period, cuts))
            << from - kT0 << ".." << to - kT0;
    }
    // The dialog's start: the view's padded edges narrowed to the samples inside.
    EXPECT_EQ(SampledWindow(doc, r.from, r.to), std::pair(kT0, kT0 + 60));
    EXPECT_EQ(SampledWindow(doc, kT0 + 5, kT0 + 45), std::pair(kT0 + 10, kT0 + 20));
    EXPECT_EQ(SampledWindow(doc, kT0 + 21, kT0 + 29), std::pair(kT0 + 21, kT0 + 29));
}

} // namespace
} // namespace saroko::test
