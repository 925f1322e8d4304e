#include <gtest/gtest.h>

#include "core/TestSupport.h"
#include "document/LocalDateTime.h"

namespace saroko::test {
namespace {

class RecalcTest : public DocTest {};

TEST_F(RecalcTest, NewDocumentHasEmptyChannelsItsHourAndTheDefaultValueAxis) {
    for (int n = 1; n <= 8; ++n) {
        const ChannelRecord& ch = *doc.GetChannel(n);
        EXPECT_EQ(std::tuple(ch.number, ch.present, ch.startTime, ch.sensorCode, ch.interval),
                  std::tuple(static_cast<uint32_t>(n), 0u, clock.Now(), 0xFF, 1u));
        EXPECT_EQ(ch.terminator, kCodeEnd);
    }
    EXPECT_EQ(doc.m_szPathName, "Untitled");
    ASSERT_EQ(doc.m_recentFiles.size(), 4u);
    const uint32_t now = clock.Now();
    EXPECT_EQ(doc.GetRange()->dataStart, now);
    EXPECT_EQ(doc.GetRange()->dataEnd, now + 3600);
    EXPECT_FLOAT_EQ(doc.GetRange()->fullUpper, 640.0f);
    EXPECT_FLOAT_EQ(doc.GetRange()->viewLower, -240.0f);

    doc.RecalcRanges(1);
    const GraphRange& r = *doc.GetRange();
    EXPECT_EQ(r.dataStart, now - 90); // 3600 s x 2.5 %
    EXPECT_EQ(r.dataEnd, now + 3690);
    EXPECT_EQ(r.minInterval, 3600u);
    EXPECT_FLOAT_EQ(r.fullUpper, 640.0f);
    EXPECT_FLOAT_EQ(r.fullLower, -240.0f);
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(doc.GetChannel(n)->statMax, kCodeMissing);

    // Records are allocated once: a new document reuses them.
    const ChannelRecord* before = doc.GetSlot(0);
    doc.GetChannel(1)->number = 2;
    doc.GetChannel(2)->number = 1;
    doc.m_bShow[3] = 0;
    doc.GetChannel(3)->sensorCode = 1; // an older-series import would keep it
    doc.OnNewDocument();
    EXPECT_EQ(doc.GetSlot(0), before);
    EXPECT_EQ(doc.GetSlot(0)->number, 1u);
    EXPECT_EQ(doc.m_bShow[3], 1u);
    EXPECT_EQ(doc.GetChannel(3)->sensorCode, 0xFF);
}

TEST_F(RecalcTest, TimeAndValueWindowsAtTheirEdges) {
    const uint32_t t0 = Local(2008, 3, 5, 9, 0, 0);
    // clang-format off
    struct SpanCase { const char* what; uint32_t start; std::vector<uint16_t> codes; uint32_t interval, wantStart, wantEnd; float wantUpper, wantLower; };
    const std::vector<SpanCase> cases = {
        {"single sample widens to 10 s, then 1 s margin", t0, {C(25.0)}, 10, t0 - 6, t0 + 6, 26.1f, 23.9f},
        {"near time 0: the end starts from 3600, the start is kept at 0", 2, {C(25.0)}, 10, 0, 3690, 26.1f, 23.9f},
        {"near the top of the range", 0xFFFFFFFEu, {C(25.0)}, 10, 0xFFFFFFF4u, 0xFFFFFFFFu, 26.1f, 23.9f},
        {"all below zero: the maximum stays at 0.0", t0, {C(-10.0), C(-20.0)}, 60, t0 - 2, t0 + 62, 1.0f, -21.0f},
        {"one hour of 10 s samples", t0, std::vector<uint16_t>(361, C(20.0)), 10, t0 - 90, t0 + 3690, 21.1f, 18.9f},
        {"Over on a Pt100 channel stands for 600", t0, {C(20.0), kCodeOver}, 60, t0 - 2, t0 + 62, 629.0f, -9.0f},
        {"only missing samples: default value axis", t0, {kCodeMissing, kCodeMissing}, 60, t0 - 2, t0 + 62, 640.0f, -240.0f},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        doc.ClearAllChannels();
        Fill(*doc.GetChannel(3), c.start, c.interval, c.codes);
        doc.RecalcRanges(1);
        const GraphRange& r = *doc.GetRange();
        EXPECT_EQ(r.dataStart, c.wantStart);
        EXPECT_EQ(r.dataEnd, c.wantEnd);
        EXPECT_EQ(r.viewStart, r.dataStart);
        EXPECT_EQ(r.cursorB, r.dataEnd);
        EXPECT_EQ(r.calcEnd, r.dataEnd);
        EXPECT_NEAR(r.fullUpper, c.wantUpper, 1e-3);
        EXPECT_NEAR(r.fullLower, c.wantLower, 1e-3);
        EXPECT_EQ(r.minInterval, c.interval);
        EXPECT_EQ(doc.m_bDataModified, 0u);
    }
}

TEST_F(RecalcTest, ModeTwoKeepsTheWindowsOnlyWhenNothingMoved) {
    const uint32_t t0 = Local(2008, 3, 5, 9, 0, 0);
    Fill(*doc.GetChannel(1), t0, 60, std::vector<uint16_t>(100, C(20.0)));
    doc.GetChannel(1)->samples[50] = C(30.0);
    doc.RecalcRanges(1);
    GraphRange& r = *doc.GetRange();
    r.viewStart += 600;
    r.cursorA += 700;
    r.calcStart += 1200;

    // Same data range and value extremes: windows and cursors stay, the calculation range
    // returns to the whole data span.
    Fill(*doc.GetChannel(2), t0, 60, std::vector<uint16_t>(100, C(25.0)));
    doc.RecalcRanges(2);
    EXPECT_EQ(r.viewStart, r.dataStart + 600);
    EXPECT_EQ(r.cursorA, r.dataStart + 700);
    EXPECT_EQ(r.calcStart, r.dataStart);
    EXPECT_EQ(doc.m_bDataModified, 1u);

    // A longer channel moves the data range: everything is set afresh.
    Fill(*doc.GetChannel(3), t0, 60, std::vector<uint16_t>(200, C(25.0)));
    doc.RecalcRanges(2);
    EXPECT_EQ(r.viewStart, r.dataStart);
    EXPECT_EQ(r.cursorA, r.dataStart);
    EXPECT_FLOAT_EQ(r.viewUpper, r.fullUpper);
}

TEST_F(RecalcTest, ModeThreeResetsWindowsButKeepsTheCalculationRange) {
    const uint32_t t0 = Local(2008, 3, 5, 9, 0, 0);
    Fill(*doc.GetChannel(1), t0, 60, {C(0.0), C(100.0)});
    doc.RecalcRanges(1);
    GraphRange& r = *doc.GetRange();
    r.calcStart = t0 + 60;
    r.viewStart = t0 + 30;
    doc.m_bDataModified = 1;
    doc.m_nUnitCF = 1;
    doc.RecalcRanges(3);
    EXPECT_EQ(r.calcStart, t0 + 60);
    EXPECT_EQ(r.viewStart, r.dataStart);
    EXPECT_NEAR(r.fullUpper, 212.0 + 180 * 0.05, 1e-3);
    EXPECT_NEAR(r.fullLower, 32.0 - 180 * 0.05, 1e-3);
    EXPECT_EQ(doc.m_bDataModified, 1u);
    // Statistics over [t0+60, ...] only see 100.0 degC.
    EXPECT_EQ(doc.GetChannel(1)->statMin, C(100.0));
}

TEST_F(RecalcTest, ManualFullScale) {
    doc.m_nScaleMode = 1;
    doc.m_fScaleUpper = 100.0f;
    doc.m_fScaleLower = 0.0f;
    Fill(*doc.GetChannel(1), Local(2008, 3, 5, 9, 0, 0), 60, {C(20.0), C(300.0)});
    doc.RecalcRanges(1); // the 5 % margins: ScaleRangesTest
    doc.GetRange()->viewUpper = 50.0f;
    doc.RecalcRanges(3);
    EXPECT_FLOAT_EQ(doc.GetRange()->viewUpper, 105.0f);
    doc.ClearAllChannels();
    EXPECT_FLOAT_EQ(doc.GetRange()->fullUpper, 105.0f);
}

TEST_F(RecalcTest, StatisticsWithOverUnderAndMissing) {
    // clang-format off
    struct StatCase { const char* what; std::vector<uint16_t> codes; uint8_t sensor; uint16_t max, min, avg; };
    const std::vector<StatCase> cases = {
        {"all missing", {kCodeMissing, kCodeMissing}, 0, kCodeMissing, kCodeMissing, kCodeMissing},
        {"only Over, Pt100", {kCodeOver, kCodeOver}, 0, kCodeOver, kCodeOver, 38768},
        {"only Over, JPt100", {kCodeOver}, 1, kCodeOver, kCodeOver, 37768},
        {"only Over, unknown sensor", {kCodeOver}, 0xFF, kCodeOver, kCodeOver, 37768},
        {"only Under", {kCodeUnder, kCodeMissing}, 0, kCodeUnder, kCodeUnder, 30768},
        {"values", {C(20.0), C(25.5), kCodeMissing, C(21.0)}, 0, C(25.5), C(20.0), C(22.2)},
        {"mixed", {C(20.0), C(25.0), kCodeOver, kCodeUnder, kCodeMissing}, 0, kCodeOver, kCodeUnder, C(111.3)},
        {"negative values", {C(-5.5), C(-0.5)}, 0, C(-0.5), C(-5.5), C(-3.0)},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        doc.ClearAllChannels();
        Fill(*doc.GetChannel(5), Local(2008, 3, 5, 9, 0, 0), 10, c.codes, "", kTypeTemp13,
             c.sensor);
        doc.RecalcRanges(1);
        const ChannelRecord& ch = *doc.GetChannel(5);
        EXPECT_EQ(ch.statMax, c.max);
        EXPECT_EQ(ch.statMin, c.min);
        EXPECT_EQ(ch.statAvg, c.avg);
    }
}

TEST_F(RecalcTest, StatisticsFollowTheCalculationRange) {
    const uint32_t t0 = Local(2008, 3, 5, 9, 0, 0);
    Fill(*doc.GetChannel(1), t0, 10, {C(10.0), C(20.0), C(30.0), C(40.0)});
    doc.RecalcRanges(1);
    doc.GetRange()->calcStart = t0 + 10;
    doc.GetRange()->calcEnd = t0 + 20;
    doc.CalcStatistics();
    EXPECT_EQ(doc.GetChannel(1)->statMax, C(30.0));
    EXPECT_EQ(doc.GetChannel(1)->statMin, C(20.0));
    EXPECT_EQ(doc.GetChannel(1)->statAvg, C(25.0));
    doc.GetRange()->calcStart = t0 + 11;
    doc.GetRange()->calcEnd = t0 + 19;
    doc.CalcStatistics();
    EXPECT_EQ(doc.GetChannel(1)->statAvg, kCodeMissing);
}

TEST(Conversions, ValuesCodesAndFormats) {
    CMemorySettingsStore store;
    FixedClock clock(1000000);
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();

    // Humidity: mode 1 rounds to whole percent and caps at 99.
    EXPECT_DOUBLE_EQ(doc.ToValue(32768 + 999, kTypeHumidity, 1), 99.0);
    EXPECT_NEAR(doc.ToValue(32768 + 999, kTypeHumidity, 0), 99.9, 1e-5);
    EXPECT_DOUBLE_EQ(doc.ToValue(32768 + 555, kTypeHumidity, 1), 56.0);
    EXPECT_EQ(doc.FormatValue(kTypeHumidity, 1, 56.0), "  56.0");
    EXPECT_EQ(doc.ToCode(55.5, kTypeHumidity), 32768 + 555);

    // Every temperature code of type 13 in both units is TextExportTest's TemperatureText, the
    // quoted units and the whole-percent humidity text are in its expected exports.
    EXPECT_EQ(doc.FormatValue(kTypeTemp14, 0, doc.ToValue(C(-0.1), kTypeTemp14, 1)), "  -0.1");
    EXPECT_EQ(doc.ToCode(-12.35, kTypeTemp13), 32768 - 124);
    EXPECT_EQ(doc.FormatUnit(kTypeTemp13, 0), "\xDF"
                                              "C ");
    doc.m_nUnitCF = 1;
    EXPECT_EQ(doc.ToCode(212.0, kTypeTemp13), 33768);
    EXPECT_EQ(doc.ToCode(32.0, kTypeTemp13), 32768);
    EXPECT_EQ(doc.FormatUnit(kTypeTemp14, 0), "\xDF"
                                              "F ");

    // Voltage in V and mV.
    EXPECT_EQ(doc.ToCode(1.2345, kTypeVoltage), 32768 + 1234);
    EXPECT_NEAR(doc.ToValue(32768 + 1234, kTypeVoltage, 1), 1.234, 1e-6);
    EXPECT_EQ(doc.FormatValue(kTypeVoltage, 0, 1.234), " 1.234");
    EXPECT_EQ(doc.FormatUnit(kTypeVoltage, 0), " V ");
    doc.m_nUnitV = 1;
    EXPECT_EQ(doc.ToCode(1234.9, kTypeVoltage), 32768 + 1234);
    EXPECT_DOUBLE_EQ(doc.ToValue(32768 + 1234, kTypeVoltage, 1), 1234.0);
    EXPECT_EQ(doc.FormatValue(kTypeVoltage, 0, 1234.0), "  1234");
    EXPECT_EQ(doc.FormatUnit(kTypeVoltage, 1), "\"mV \"");

    // Unknown types: value 0, no text; inside 13..224 the quotes still come.
    EXPECT_DOUBLE_EQ(doc.ToValue(40000, 100, 1), 0.0);
    EXPECT_EQ(doc.ToCode(5.0, 100), 0);
    EXPECT_EQ(doc.FormatValue(100, 0, 1.0), "");
    EXPECT_EQ(doc.FormatUnit(100, 1), "\"\"");
    EXPECT_EQ(doc.FormatUnit(5, 1), "");
    EXPECT_EQ(doc.FormatUnit(225, 0), "");
}

TEST(IntervalTable, LookupByseconds) {
    EXPECT_EQ(IntervalIndex(1), 0);
    EXPECT_EQ(IntervalIndex(3600), 14);
    EXPECT_STREQ(IntervalLabel(60), " 1 min.");
    EXPECT_STREQ(IntervalLabel(10), "10 sec.");
    EXPECT_EQ(IntervalLabel(7), nullptr);
}

// The command line's date-time: what scanf("%d/%d/%d %d:%d:%d%c") took, minus its undefined
// overflow; every accepted text prints back to a text that reads the same time.
TEST(LocalDateTimeTest, ReadsWhatTheScanfFormatTookAndNothingElse) {
    const uint32_t t = Local(2026, 1, 2, 3, 4, 5);
    // clang-format off
    const std::vector<std::pair<const char*, bool>> cases = {
        {"2026/01/02 03:04:05", true}, {" 2026/ 1/ 2  3: 4: 5", true}, {"2026/1/2 3:4:5", true},
        {"2026/1/+2 3:4:5", true},     {"2026/1/23:4:5", false},       {"2026/01/02 03:04:05 ", false},
        {"2026/01/02 03:04:05x", false}, {"2026/01/02 03:04", false},  {"2026-01-02 03:04:05", false},
        {"2026/13/02 03:04:05", false}, {"2026/01/02 24:00:00", false}, {"2026/01/00 03:04:05", false},
        {"99999999999/01/02 03:04:05", false}, {"1969/12/31 00:00:00", false}, {"", false},
    };
    // clang-format on
    for (const auto& [text, ok] : cases) {
        uint32_t out = 0;
        ASSERT_EQ(ParseLocalDateTime(text, out), ok) << text;
        if (ok) {
            EXPECT_EQ(out, t) << text;
        }
    }
    uint32_t back = 0;
    ASSERT_TRUE(ParseLocalDateTime(FormatLocalDateTime(t), back));
    EXPECT_EQ(back, t);
    EXPECT_EQ(FormatLocalDateTime(t), "2026/01/02 03:04:05");
}

} // namespace
} // namespace saroko::test
