// The document's channels, ranges, statistics and conversions, the states of its commands, the
// menu table, the window's placement and local time.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "core/TestSupport.h"
#include "core/document/CommandState.h"
#include "core/document/LocalDateTime.h"
#include "core/document/MenuTable.h"
#include "core/settings/WindowPlacement.h"

namespace saroko::test {
#ifdef _WIN32
extern std::string g_hostZone; // tests/support/WindowsZone.cpp
#endif
namespace {

class RecalcTest : public DocTest {};

TEST_F(RecalcTest, NewDocumentHasEmptyChannelsItsHourAndTheDefaultValueAxis) {
    const uint32_t now = clock.Now();
    const GraphRange& r = *doc.GetRange();
    EXPECT_EQ(std::tuple(r.dataStart, r.dataEnd, r.fullUpper, r.viewLower),
              std::tuple(now, now + 3600, 640.0f, -240.0f));

    doc.RecalcRanges(RecalcMode::NewData);
    // 3600 s x 2.5 % on either side
    EXPECT_EQ(std::tuple(r.dataStart, r.dataEnd, r.minInterval, r.fullUpper, r.fullLower),
              std::tuple(now - 90, now + 3690, 3600u, 640.0f, -240.0f));
    // No statistic of an earlier document may stand beside an empty channel.
    for (int n = 1; n <= 8; ++n) {
        const ChannelRecord& ch = *doc.GetChannel(n);
        EXPECT_EQ(std::tuple(ch.number, ch.present, ch.startTime, ch.sensorCode, ch.interval,
                             ch.terminator, ch.statMax, ch.statMin, ch.statAvg),
                  std::tuple(static_cast<uint32_t>(n), 0u, now, 0xFF, 1u, kCodeEnd, kCodeMissing,
                             kCodeMissing, kCodeMissing));
    }

    // Records are allocated once: a new document reuses them.
    const ChannelRecord* before = doc.GetSlot(0);
    doc.GetChannel(1)->number = 2;
    doc.GetChannel(2)->number = 1;
    doc.m_bShow[3] = 0;
    doc.GetChannel(3)->sensorCode = 1; // an older-series import would keep it
    doc.OnNewDocument();
    EXPECT_EQ(std::tuple(doc.GetSlot(0), doc.GetSlot(0)->number, doc.m_bShow[3],
                         doc.GetChannel(3)->sensorCode),
              std::tuple(before, 1u, 1u, 0xFF));
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
        {"Over on a Pt100 channel stands for 600", t0, {C(20.0), kCodeOver}, 60, t0 - 2, t0 + 62, 629.0f, -9.0f},
        {"only missing samples: default value axis", t0, {kCodeMissing, kCodeMissing}, 60, t0 - 2, t0 + 62, 640.0f, -240.0f},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        doc.ClearAllChannels();
        Fill(*doc.GetChannel(3), c.start, c.interval, c.codes);
        doc.RecalcRanges(RecalcMode::NewData);
        const GraphRange& r = *doc.GetRange();
        EXPECT_EQ(
            std::tuple(r.dataStart, r.dataEnd, r.viewStart, r.cursorB, r.calcEnd, r.minInterval,
                       doc.m_bDataModified),
            std::tuple(c.wantStart, c.wantEnd, c.wantStart, c.wantEnd, c.wantEnd, c.interval, 0u));
        EXPECT_NEAR(r.fullUpper, c.wantUpper, 1e-3);
        EXPECT_NEAR(r.fullLower, c.wantLower, 1e-3);
    }
}

TEST_F(RecalcTest, ModeTwoKeepsTheWindowsOnlyWhenNothingMoved) {
    const uint32_t t0 = Local(2008, 3, 5, 9, 0, 0);
    Fill(*doc.GetChannel(1), t0, 60, std::vector<uint16_t>(100, C(20.0)));
    doc.GetChannel(1)->samples[50] = C(30.0);
    doc.RecalcRanges(RecalcMode::NewData);
    GraphRange& r = *doc.GetRange();
    r.viewStart += 600;
    r.cursorA += 700;
    r.calcStart += 1200;

    // Same data range and value extremes: windows and cursors stay, the calculation range
    // returns to the whole data span.
    Fill(*doc.GetChannel(2), t0, 60, std::vector<uint16_t>(100, C(25.0)));
    doc.RecalcRanges(RecalcMode::ChangedData);
    EXPECT_EQ(std::tuple(r.viewStart, r.cursorA, r.calcStart, doc.m_bDataModified),
              std::tuple(r.dataStart + 600, r.dataStart + 700, r.dataStart, 1u));

    // A longer channel moves the data range: everything is set afresh.
    Fill(*doc.GetChannel(3), t0, 60, std::vector<uint16_t>(200, C(25.0)));
    doc.RecalcRanges(RecalcMode::ChangedData);
    EXPECT_EQ(std::tuple(r.viewStart, r.cursorA, r.viewUpper),
              std::tuple(r.dataStart, r.dataStart, r.fullUpper));
}

TEST_F(RecalcTest, ModeThreeResetsWindowsButKeepsTheCalculationRange) {
    const uint32_t t0 = Local(2008, 3, 5, 9, 0, 0);
    Fill(*doc.GetChannel(1), t0, 60, {C(0.0), C(100.0)});
    doc.RecalcRanges(RecalcMode::NewData);
    GraphRange& r = *doc.GetRange();
    r.calcStart = t0 + 60;
    r.viewStart = t0 + 30;
    doc.m_bDataModified = 1;
    doc.m_nUnitCF = 1;
    doc.RecalcRanges(RecalcMode::UnitsOrScale);
    // Statistics over [t0+60, ...] only see 100.0 degC.
    EXPECT_EQ(std::tuple(r.calcStart, r.viewStart, doc.m_bDataModified, doc.GetChannel(1)->statMin),
              std::tuple(t0 + 60, r.dataStart, 1u, C(100.0)));
    EXPECT_NEAR(r.fullUpper, 212.0 + 180 * 0.05, 1e-3);
    EXPECT_NEAR(r.fullLower, 32.0 - 180 * 0.05, 1e-3);
}

TEST_F(RecalcTest, ManualFullScale) {
    doc.m_nScaleMode = 1;
    doc.m_fScaleUpper = 100.0f;
    doc.m_fScaleLower = 0.0f;
    Fill(*doc.GetChannel(1), Local(2008, 3, 5, 9, 0, 0), 60, {C(20.0), C(300.0)});
    doc.RecalcRanges(RecalcMode::NewData); // the 5 % margins: ScaleRangesTest
    doc.GetRange()->viewUpper = 50.0f;
    doc.RecalcRanges(RecalcMode::UnitsOrScale);
    EXPECT_FLOAT_EQ(doc.GetRange()->viewUpper, 105.0f);
    doc.ClearAllChannels();
    EXPECT_FLOAT_EQ(doc.GetRange()->fullUpper, 105.0f);
}

TEST_F(RecalcTest, StatisticsWithOverUnderAndMissingOverTheCalculationRange) {
    // clang-format off
    struct StatCase { const char* what; std::vector<uint16_t> codes; uint8_t sensor; uint16_t max, min, avg; };
    const std::vector<StatCase> cases = {
        {"all missing", {kCodeMissing, kCodeMissing}, 0, kCodeMissing, kCodeMissing, kCodeMissing},
        {"only Over, Pt100", {kCodeOver, kCodeOver}, 0, kCodeOver, kCodeOver, 38768},
        {"only Over, JPt100", {kCodeOver}, 1, kCodeOver, kCodeOver, 37768},
        {"only Over, unknown sensor", {kCodeOver}, 0xFF, kCodeOver, kCodeOver, 37768},
        {"only Under", {kCodeUnder, kCodeMissing}, 0, kCodeUnder, kCodeUnder, 30768},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        doc.ClearAllChannels();
        Fill(*doc.GetChannel(5), Local(2008, 3, 5, 9, 0, 0), 10, c.codes, "", kTypeTemp13,
             c.sensor);
        doc.RecalcRanges(RecalcMode::NewData);
        const ChannelRecord& ch = *doc.GetChannel(5);
        EXPECT_EQ(std::tuple(ch.statMax, ch.statMin, ch.statAvg), std::tuple(c.max, c.min, c.avg));
    }

    // A calculation window between two samples holds none (its edges: the plain walk below).
    doc.ClearAllChannels();
    const uint32_t t0 = Local(2008, 3, 5, 9, 0, 0);
    Fill(*doc.GetChannel(1), t0, 10, {C(10.0), C(20.0), C(30.0), C(40.0)});
    doc.RecalcRanges(RecalcMode::NewData);
    doc.GetRange()->calcStart = t0 + 11;
    doc.GetRange()->calcEnd = t0 + 19;
    doc.CalcStatistics();
    EXPECT_EQ(doc.GetChannel(1)->statAvg, kCodeMissing);
}

// The walks over whole channels take shortcuts (extremes from the extreme codes, exact integer
// sums, an index window); a plain walk over the same samples gives the same axis and figures.
// Runs: random codes; a window in the middle (edges between and on samples); times that wrap
// past the top of the u32 range; 16000 samples at the bottom code (the largest integer sum).
TEST_F(RecalcTest, StatisticsAndAxisMatchAPlainWalk) {
    struct Kind {
        uint8_t type;
        uint32_t unitCF, unitV, sensor;
    };
    const Kind kinds[] = {{kTypeTemp13, 0, 0, 0},
                          {kTypeTemp14, 1, 0, 1},
                          {kTypeHumidity, 0, 0, 0},
                          {kTypeVoltage, 0, 0, 0},
                          {kTypeVoltage, 0, 1, 0}};
    const uint16_t special[] = {kCodeOver, kCodeUnder, kCodeMissing};
    uint32_t seed = 7;
    auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (const Kind& k : kinds)
        for (int run = 0; run < 4; ++run) {
            SCOPED_TRACE(testing::Message()
                         << int(k.type) << " " << k.unitCF << k.unitV << " run " << run);
            doc.ClearAllChannels();
            doc.m_nUnitCF = k.unitCF;
            doc.m_nUnitV = k.unitV;
            std::vector<uint16_t> codes(run == 3 ? kMaxSamples : 500 + next() % 3000);
            for (uint16_t& c : codes)
                c = run == 3 ? 0 : next() % 40 == 0 ? special[next() % 3] : 30000 + next() % 9000;
            const uint32_t start = run == 2 ? 0xFFFFF000u : Local(2008, 3, 5, 9, 0, 1);
            Fill(*doc.GetChannel(2), start, 4, codes, "", k.type, k.sensor);
            doc.RecalcRanges(RecalcMode::NewData);
            GraphRange& r = *doc.GetRange();
            if (run == 1)
                r.calcStart = start + 161, r.calcEnd = start + 1200;
            if (run == 2) // the samples before the wrap, less the first 64
                r.calcStart = start + 256, r.calcEnd = 0xFFFFFFFFu;
            doc.CalcStatistics();
            double vmax = 0, vmin = 65535, sum = 0;
            long n = 0;
            bool over = false, under = false, seen = false;
            uint16_t hi = 0, lo = 65535;
            const ChannelRecord& ch = *doc.GetChannel(2);
            for (std::size_t i = 0; i < codes.size(); ++i) {
                const uint16_t c = codes[i];
                if (c == kCodeMissing)
                    continue;
                const double v = doc.ToValue(ch.ValueCode(c), k.type, 1);
                vmax = std::max(vmax, v), vmin = std::min(vmin, v);
                const uint32_t t = start + static_cast<uint32_t>(i) * 4;
                if (t < r.calcStart || t > r.calcEnd)
                    continue;
                sum += v, ++n;
                over |= c == kCodeOver, under |= c == kCodeUnder;
                if (c != kCodeOver && c != kCodeUnder)
                    seen = true, hi = std::max(hi, c), lo = std::min(lo, c);
            }
            if (std::fabs(vmax - vmin) >= 2) {
                EXPECT_EQ(std::tuple(r.fullUpper, r.fullLower),
                          std::tuple(static_cast<float>(vmax + std::fabs(vmax - vmin) * 0.05),
                                     static_cast<float>(vmin - std::fabs(vmax - vmin) * 0.05)));
            }
            EXPECT_EQ(std::tuple(ch.statAvg, ch.statMax, ch.statMin),
                      std::tuple(doc.ToCode(static_cast<float>(sum / n), k.type),
                                 over   ? kCodeOver
                                 : seen ? hi
                                        : kCodeUnder,
                                 under  ? kCodeUnder
                                 : seen ? lo
                                        : kCodeOver));
        }
}

TEST_F(RecalcTest, ConversionsOfValuesCodesAndFormats) {
    // Humidity: mode 1 rounds to whole percent and caps at 99.
    EXPECT_EQ(std::tuple(doc.ToValue(32768 + 999, kTypeHumidity, 1),
                         doc.ToValue(32768 + 555, kTypeHumidity, 1),
                         doc.FormatValue(kTypeHumidity, 1, 56.0), doc.ToCode(55.5, kTypeHumidity)),
              std::tuple(99.0, 56.0, "  56.0", 32768 + 555));
    EXPECT_NEAR(doc.ToValue(32768 + 999, kTypeHumidity, 0), 99.9, 1e-5);

    // Every temperature code of type 13 in both units is TextExportTest's TemperatureText, the
    // quoted units and the whole-percent humidity text are in its expected exports.
    EXPECT_EQ(doc.FormatValue(kTypeTemp14, 0, doc.ToValue(C(-0.1), kTypeTemp14, 1)), "  -0.1");
    EXPECT_EQ(doc.ToCode(-12.35, kTypeTemp13), 32768 - 124);
    doc.m_nUnitCF = 1;
    EXPECT_EQ(std::tuple(doc.ToCode(212.0, kTypeTemp13), doc.ToCode(32.0, kTypeTemp13)),
              std::tuple(33768, 32768));
    EXPECT_EQ(doc.FormatUnit(kTypeTemp14, 0), "\337F ");

    // Voltage in V and mV.
    EXPECT_EQ(std::tuple(doc.ToCode(1.2345, kTypeVoltage), doc.FormatValue(kTypeVoltage, 0, 1.234)),
              std::tuple(32768 + 1234, " 1.234"));
    EXPECT_NEAR(doc.ToValue(32768 + 1234, kTypeVoltage, 1), 1.234, 1e-6);
    doc.m_nUnitV = 1;
    EXPECT_EQ(std::tuple(doc.ToCode(1234.9, kTypeVoltage),
                         doc.ToValue(32768 + 1234, kTypeVoltage, 1),
                         doc.FormatValue(kTypeVoltage, 0, 1234.0), doc.FormatUnit(kTypeVoltage, 1)),
              std::tuple(32768 + 1234, 1234.0, "  1234", "\"mV \""));

    // Unknown types: value 0, no text; inside 13..224 the quotes still come.
    EXPECT_EQ(std::tuple(doc.ToValue(40000, 100, 1), doc.ToCode(5.0, 100),
                         doc.FormatValue(100, 0, 1.0), doc.FormatUnit(100, 1), doc.FormatUnit(5, 1),
                         doc.FormatUnit(225, 0)),
              std::tuple(0.0, 0, "", "\"\"", "", ""));
}

TEST(IntervalTable, LookupByseconds) {
    EXPECT_EQ(std::tuple(IntervalIndex(1), IntervalIndex(3600)), std::tuple(0, 14));
    EXPECT_STREQ(IntervalLabel(60), " 1 min.");
    EXPECT_EQ(IntervalLabel(7), nullptr);
}

// The command line's date-time: what scanf("%d/%d/%d %d:%d:%d%c") took, minus its undefined
// overflow; the printed text is the first of the accepted ones.
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
    EXPECT_EQ(FormatLocalDateTime(t), "2026/01/02 03:04:05");
}

// Local time comes from the machine's zone. On Windows that is the Windows zone, which Wine
// takes from the host's when the tests run there; the Windows C runtime must follow it.
std::string HostZone() {
#ifdef _WIN32
    return g_hostZone;
#else
    const char* tz = std::getenv("TZ");
    return tz ? tz : "";
#endif
}

TEST(LocalZone, FollowsTheHostZoneAndItsDaylightSaving) {
    // clang-format off
    struct Case { const char* zone; uint32_t utc; int hour, isdst; };
    const Case cases[] = {
        {"Asia/Tokyo",    1200355200u /* 2008-01-15 00:00 UTC */, 9, 0},
        {"Asia/Tokyo",    1216080000u /* 2008-07-15 00:00 UTC */, 9, 0},
        {"Europe/Berlin", 1200355200u,                            1, 0},
        {"Europe/Berlin", 1216080000u,                            2, 1},
        {"Europe/Berlin", 1206838800u /* 2008-03-30 01:00 UTC */, 3, 1},
        {"Europe/Berlin", 1224986400u /* 2008-10-26 02:00 UTC */, 3, 0},
    };
    // clang-format on
    int checked = 0;
    for (const Case& c : cases) {
        if (HostZone() != c.zone)
            continue;
        SCOPED_TRACE(c.utc);
        std::tm tm{};
        ASSERT_TRUE(ToLocalTime(c.utc, tm));
        EXPECT_EQ(std::tuple(tm.tm_hour, tm.tm_isdst > 0), std::tuple(c.hour, c.isdst == 1));
        uint32_t back = 0;
        ASSERT_TRUE(FromLocalFields(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                                    tm.tm_min, tm.tm_sec, back));
        EXPECT_EQ(back, c.utc);
        ++checked;
    }
    // 02:30 on the day daylight saving begins never shows on a Berlin clock: it counts as
    // 02:30 winter time, that is 03:30 summer time, on every platform.
    if (HostZone() == "Europe/Berlin") {
        uint32_t t = 0;
        ASSERT_TRUE(FromLocalFields(2008, 3, 30, 2, 30, 0, t));
        EXPECT_EQ(t, 1206840600u);
    }
    if (checked == 0)
        GTEST_SKIP() << "no cases for the zone \"" << HostZone() << "\"";
}

class CommandStateTest : public DocTest {};

TEST_F(CommandStateTest, DataCommandsAreGreyWithoutData) {
    const int needData[] = {32784, 32785, 40002, 57603, 32789,         32790,
                            32807, 32808, 32779, 32768, 32769,         32775,
                            32780, 32781, 32782, 32783, cmd::kCursorA, cmd::kCursorB};
    for (bool data : {false, true}) {
        if (data) {
            Fill(*doc.GetChannel(4), Local(2008, 3, 5, 9, 0, 0), 10, {C(1.0), C(5.0)});
            doc.RecalcRanges(RecalcMode::NewData);
        }
        for (int id : needData)
            EXPECT_EQ(GetCommandState(doc, id).enabled, data) << id;
    }
}

TEST(WindowPlacement, ClampsToTheDesktop) {
    CMemorySettingsStore store;
    const auto placed = [&] {
        const WindowRect r = LoadWindowPlacement(store, 1920, 1080);
        return std::tuple(r.x, r.y, r.width, r.height);
    };
    EXPECT_EQ(placed(), std::tuple(0, 0, 639, 479));
    const std::vector<std::tuple<int, int, int, int, int, int, int, int>> cases = {
        // stored x, y, w, h -> placed x, y, w, h on a 1920 x 1080 desktop
        {-5, 10, 300, 200, 0, 10, 639, 479},
        {1821, 981, 800, 600, 0, 0, 800, 600},
        {1820, 980, 1000, 700, 1820, 980, 1000, 700},
        {100, -1, 639, 479, 100, 0, 639, 479},
    };
    for (const auto& [x, y, w, h, wx, wy, ww, wh] : cases) {
        SaveWindowPosition(store, {x, y, w, h});
        EXPECT_EQ(placed(), std::tuple(wx, wy, ww, wh)) << x << "," << y;
    }
}

TEST(WindowPlacement, FileDialogSizeBetweenItsColumnsAndTheDesktop) {
    CMemorySettingsStore store;
    const WindowSize least{800, 500};
    EXPECT_EQ(LoadFileDialogSize(store, least, 1920, 1080), least);
    const std::vector<std::tuple<WindowSize, int, int, WindowSize>> cases = {
        // stored size, desktop width and height -> size shown
        {{799, 499}, 1920, 1080, {800, 500}},     {{800, 500}, 1920, 1080, {800, 500}},
        {{1000, 700}, 1920, 1080, {1000, 700}},   {{1920, 1080}, 1920, 1080, {1920, 1080}},
        {{1921, 1081}, 1920, 1080, {1920, 1080}}, {{1000, 700}, 640, 480, {640, 480}},
    };
    for (const auto& [stored, dw, dh, shown] : cases) {
        SaveFileDialogSize(store, stored);
        EXPECT_EQ(LoadFileDialogSize(store, least, dw, dh), shown) << stored.width;
    }
}

std::string KeyText(const Accelerator& a) {
    static const char* names[] = {"A", "B",      "C",      "M",         "N",  "O",  "P",
                                  "V", "W",      "X",      "Z",         "←",  "→",  "↑",
                                  "↓", "Insert", "Delete", "Backspace", "F1", "F6", "F10"};
    std::string s;
    if (a.mods & Accelerator::kCtrl)
        s += "Ctrl+";
    if (a.mods & Accelerator::kAlt)
        s += "Alt+";
    if (a.mods & Accelerator::kShift)
        s += "Shift+";
    return s + names[a.key];
}

// Every key text shown in a menu is backed by an accelerator for the same command, and no
// key is bound twice.
TEST(MenuTable, ShownKeysMatchTheAcceleratorTable) {
    std::map<std::string, int> keys;
    for (const Accelerator& a : AcceleratorTable())
        EXPECT_TRUE(keys.emplace(KeyText(a), a.id).second) << KeyText(a);
    std::set<int> ids;
    int shown = 0;
    for (const MenuDef& m : MenuBar()) {
        for (const MenuItem& item : m.items) {
            if (item.kind != MenuItem::kCommand)
                continue;
            EXPECT_TRUE(ids.insert(item.id).second) << item.id;
            if (item.key) {
                ++shown;
                ASSERT_TRUE(keys.count(item.key)) << item.key;
                EXPECT_EQ(keys[item.key], item.id) << item.key;
            }
        }
    }
    // The command test keeps its key and has one that Linux desktops leave to the program.
    EXPECT_EQ(std::tuple(MenuBar().size(), shown, keys["Ctrl+Insert"], keys["Ctrl+N"],
                         keys["Ctrl+Alt+F10"], keys["Ctrl+Shift+F10"]),
              std::tuple(std::size_t{6}, 15, 57634, 57600, 32810, 32810));
}

} // namespace
} // namespace saroko::test
