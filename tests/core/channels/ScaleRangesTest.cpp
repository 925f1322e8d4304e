// The calculation range and full-scale dialogs: their checks in order with message and focus,
// the fields they open with, and what OK stores.
#include <gtest/gtest.h>

#include "channels/ScaleRanges.h"
#include "core/TestSupport.h"

namespace saroko::test {
namespace {

class ScaleRangesTest : public DocTest {};

CalcRangeFields Row(std::array<std::string, 6> a, std::array<std::string, 6> b) {
    CalcRangeFields f;
    for (std::size_t i = 0; i < 6; ++i) {
        f[i] = a[i];
        f[i + 6] = b[i];
    }
    return f;
}

TEST_F(ScaleRangesTest, CalcRangeChecksInOrder) {
    const ScopedTimeZone tokyo("Asia/Tokyo"); // where 1970-01-01 00:00 cannot be converted
    const std::array<std::string, 6> ok1{"2008", " 1", " 1", " 0", " 0", " 0"};
    // clang-format off
    const struct { const char* what; CalcRangeFields fields; int message, focus; } cases[] = {
        {"empty start year", Row({"", "1", "1", "0", "0", "0"}, ok1), 57713, 0},
        {"sign in end minute", Row(ok1, {"2008", "1", "1", "0", "-1", "0"}), 57717, 10},
        {"space inside end second", Row(ok1, {"2008", "1", "1", "0", "0", "1 0"}), 57718, 11},
        {"start month 13", Row({"2008", "13", "1", "0", "0", "0"}, ok1), 57720, 1},
        {"end day 30 Feb", Row(ok1, {"2008", "2", "30", "0", "0", "0"}), 57721, 8},
        {"start before end check", Row({"2008", "1", "1", "24", "0", "0"}, {"2008", "13", "1", "0", "0", "0"}), 57722, 3},
        {"start not convertible", Row({"1970", "1", "1", "0", "0", "0"}, ok1), 57744, 0},
        {"end not convertible", Row(ok1, {"1970", "1", "1", "0", "0", "0"}), 57744, 6},
        {"end one second earlier", Row(ok1, {"2007", "12", "31", "23", "59", "59"}), 57746, 0},
        {"equal instants", Row(ok1, ok1), 0, -1},
    };
    // clang-format on
    GraphRange range;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CCalcRangeWork w(1, 2, range);
        w.fields = c.fields;
        const CalcRangeCheck r = w.Check();
        EXPECT_EQ(std::pair(r.messageId, r.focus), std::pair(c.message, c.focus));
        if (c.message == 0) {
            EXPECT_EQ(w.Start(), Local(2008, 1, 1, 0, 0, 0));
            EXPECT_EQ(w.End(), w.Start());
        } else {
            EXPECT_EQ(w.Start(), 1u) << "a failed check keeps the range";
        }
    }
}

TEST_F(ScaleRangesTest, CalcRangeOpensOnTheCursorsEarlierFirst) {
    GraphRange range;
    range.cursorA = Local(2008, 3, 5, 12, 30, 0);
    range.cursorB = Local(2008, 3, 5, 9, 5, 7);
    range.dataStart = Local(2008, 3, 1, 0, 0, 0);
    range.dataEnd = Local(2008, 3, 9, 23, 59, 59);
    CCalcRangeWork w(range.dataStart, range.dataEnd, range);
    EXPECT_EQ(w.fields,
              Row({"2008", " 3", " 5", " 9", " 5", " 7"}, {"2008", " 3", " 5", "12", "30", " 0"}));
    EXPECT_EQ(w.CurrentStartText(), "2008年  3月  1日  0時  0分  0秒 から");
    EXPECT_EQ(w.CurrentEndText(), "2008年  3月  9日 23時 59分 59秒 まで");
    w.WholeGraph();
    EXPECT_EQ(w.fields[3], " 0");
    EXPECT_EQ(w.fields[9], "23");
    ASSERT_EQ(w.Check().messageId, 0);
    EXPECT_EQ(w.Start(), range.dataStart);
    EXPECT_EQ(w.End(), range.dataEnd);
}

TEST(FullScaleTest, ChecksInOrder) {
    // clang-format off
    struct Case { const char* upper; const char* lower; int message; int focus; } const cases[] = {
        {"100", "0", 0, -1}, {"0.00001", "-5", 0, -1}, {" 600", "-200 ", 0, -1},
        {"1", "0", 57797, kScaleUpper}, {"0", "0", 57797, kScaleUpper}, {"0", "100", 57796, kScaleUpper},
        {"1234567", "0", 57794, kScaleUpper}, {"100.", "0", 57792, kScaleUpper}, {"abc", "x", 57792, kScaleUpper},
        {"100", "", 57793, kScaleLower}, {"100", "-1234567", 57795, kScaleLower},
    };
    // clang-format on
    for (const Case& c : cases) {
        const FullScaleCheck r = CheckFullScale(c.upper, c.lower);
        EXPECT_EQ(std::pair(r.messageId, r.focus), std::pair(c.message, c.focus))
            << c.upper << " / " << c.lower;
    }
}

TEST_F(ScaleRangesTest, ManualLimitsGiveTheAxisAndKeepUnsavedDataUnsaved) {
    Fill(*doc.GetChannel(1), clock.Now(), 60, {C(20), C(30)});
    doc.RecalcRanges(2);
    ASSERT_EQ(doc.m_bDataModified, 1u);
    const FullScaleCheck c = CheckFullScale("100", "0");
    ApplyFullScale(doc, 1, c.upper, c.lower);
    EXPECT_FLOAT_EQ(doc.m_range.fullUpper, 105.0f) << "the axis is recalculated at once";
    const auto stored = [&] {
        const char* s = "Graph Scale Section";
        return std::to_string(store.GetInt(s, "ScaleMode", -1)) + " " +
               store.GetString(s, "ScaleUpper", "") + " " + store.GetString(s, "ScaleLower", "");
    };
    EXPECT_EQ(stored(), "1 100 0");
    EXPECT_EQ(doc.m_bDataModified, 1u) << "a change of the axis must not lose unsaved data";

    const FullScaleForm form = FullScaleFromDocument(doc);
    EXPECT_EQ(form.mode, 1);
    EXPECT_EQ(form.upper, "100");
    const FullScaleForm d = FullScaleDefaults();
    const FullScaleCheck dc = CheckFullScale(d.upper, d.lower);
    ApplyFullScale(doc, d.mode, dc.upper, dc.lower);
    EXPECT_EQ(stored(), "0 600 -200");
}

} // namespace
} // namespace saroko::test
