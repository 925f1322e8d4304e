// The recording-conditions, calculation-range and full-scale dialogs (checks with message and
// focus, fields, what OK stores) and the input rules beneath them.
#include <gtest/gtest.h>

#include <string>

#include "core/TestSupport.h"
#include "core/channels/RecCondWork.h"
#include "core/channels/ScaleRanges.h"
#include "core/text/DateFields.h"
#include "core/text/ParseDecimal.h"

namespace saroko::test {
namespace {

using Date = std::array<std::string, 6>;

class RecCondTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        t1 = Local(2008, 1, 2, 3, 4, 5);
        Fill(*doc.GetChannel(1), t1, 60, {C(1), C(2), C(3)}, "ONE");
        Fill(*doc.GetChannel(2), t1 + 600, 60, {C(4), C(5)}, "TWO");
        Fill(*doc.GetChannel(3), t1 + 1200, 60, {C(6)}, "THREE");
        doc.RecalcRanges(RecalcMode::NewData);
    }
    static void Type(CRecCondWork& w, const std::string& name, Date date) {
        w.form.name = name;
        w.form.date = std::move(date);
    }
    uint32_t t1 = 0;
};

TEST_F(RecCondTest, UndoShowsTheChannelsAsOpened) {
    CRecCondWork w(doc, true);
    EXPECT_EQ(w.Select(4).focus, -1) << "a channel without data: nothing at all";
    const auto asOpened = [&](const char* when) {
        EXPECT_EQ(std::tuple(w.NameText(1), w.TimeText(1), w.Deleted(2), w.Selected()),
                  std::tuple("ONE", "2008年  1月  2日  3時  4分  5秒", false, 0))
            << when;
        EXPECT_EQ(w.form, (RecCondForm{"", {"0", "0", "0", "0", "0", "0"}})) << when;
    };
    asOpened("opened");
    w.Select(1);
    Type(w, "NEW", {"2009", "1", "1", "0", "0", "0"});
    w.Select(2);
    EXPECT_EQ(w.NameText(1), "NEW");
    w.SetMode(1);
    w.Select(3);
    EXPECT_TRUE(w.Deleted(2));
    w.Undo();
    asOpened("undone");
}

TEST_F(RecCondTest, ChecksGiveTheirMessageAndFocusAndReloadTheLastAcceptedValues) {
    // Local midnight of 1970-01-01 lies before the epoch east of UTC.
    const ScopedTimeZone tokyo("Asia/Tokyo");
    doc.GetChannel(1)->startTime = Local(2008, 1, 2, 3, 4, 5); // in this zone
    const Date one{"2008", "1", "2", "3", "4", "5"};
    // clang-format off
    // ok: OK is pressed instead of leaving the channel.
    struct Case { const char* what; std::string name; Date date; bool ok; int message, focus; } const cases[] = {
        {"nine bytes", "ABCDEFGHI", one, false, 57712, kRcName},
        {"four full-width (8 bytes)", "\x82\x60\x82\x61\x82\x62\x82\x63", one, false, 0, kRcName},
        {"five full-width", "\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64", one, false, 57712, kRcName},
        {"latest instant", "A", {"2035", "12", "31", "23", "59", "59"}, false, 0, kRcName},
        {"year 2036", "A", {"2036", "1", "1", "0", "0", "0"}, false, 57719, kRcYear},
        {"2008-02-30 on OK", "TWO", {"2008", "2", "30", "0", "0", "0"}, true, 57721, kRcDay},
        {"month and day wrong", "A", {"2004", "13", "40", "0", "0", "0"}, false, 57720, kRcMonth},
        {"hour 24", "A", {"2004", "1", "1", "24", "0", "0"}, false, 57722, kRcHour},
        {"minute 60", "A", {"2004", "1", "1", "0", "60", "0"}, false, 57723, kRcMinute},
        {"second 60", "A", {"2004", "1", "1", "0", "0", "60"}, false, 57724, kRcSecond},
        {"empty field before the long name", "ABCDEFGHIJ", {"2004", "1", "1", "", "0", "0"}, false, kMsgEnterInteger, kRcName},
        {"before 1970 UTC", "ONE", {"1970", "1", "1", "0", "0", "0"}, false, 57744, kRcYear},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecCondWork w(doc, false);
        w.Select(1);
        Type(w, c.name, c.date);
        const RecCondOutcome o = c.ok ? w.Ok() : w.Select(2);
        EXPECT_EQ(std::pair(o.messageId, o.focus), std::pair(c.message, c.focus));
        EXPECT_FALSE(o.closed);
        if (c.message == 0) {
            EXPECT_EQ(std::tuple(w.Selected(), w.form.name, w.NameText(1)),
                      std::tuple(2, "TWO", c.name));
        } else {
            EXPECT_EQ(w.Selected(), 1) << "the selection stays";
            EXPECT_EQ(w.form, (RecCondForm{"ONE", one}))
                << "the last accepted values replace the typing";
            EXPECT_EQ(w.NameText(1), "ONE");
        }
    }
}

TEST_F(RecCondTest, ShiftingTheStartMovesTheChannelAndWidensTheSpan) {
    CRecCondWork w(doc, false);
    w.Select(1);
    Type(w, "EARLY", {"2008", "1", "2", "4", "4", "5"}); // one hour later
    ASSERT_TRUE(w.Ok().closed);
    w.Apply(doc);
    // Channel 2 keeps its start; a channel without data gets the blank name.
    EXPECT_EQ(std::tuple(doc.GetChannel(1)->startTime, doc.GetChannel(2)->startTime,
                         std::string(doc.GetChannel(1)->name),
                         std::string(doc.GetChannel(4)->name)),
              std::tuple(t1 + 3600, t1 + 600, "EARLY", "        "));
    // Channel 2 now leads and channel 1 ends last: 3120 s, plus 2.5 % (78 s) on each side.
    EXPECT_EQ(std::tuple(doc.m_range.dataStart, doc.m_range.dataEnd, doc.m_range.calcEnd,
                         doc.m_bDataModified),
              std::tuple(t1 + 600 - 78, t1 + 3600 + 120 + 78, t1 + 3600 + 120 + 78, 1u));
}

TEST_F(RecCondTest, OkWithoutChangesKeepsEveryStartAndMarksModified) {
    // Summer time in zones that have it: the start must come back to the same instant.
    Fill(*doc.GetChannel(5), Local(2008, 7, 1, 14, 0, 0), 60, {C(1)}, "SUMMER");
    CRecCondWork w(doc, false);
    w.Select(5);
    w.Select(1);
    ASSERT_TRUE(w.Ok().closed);
    for (int n : {1, 2, 3, 5})
        EXPECT_EQ(w.ResultStart(n), doc.GetChannel(n)->startTime) << n;
    w.Apply(doc);
    EXPECT_EQ(doc.m_bDataModified, 1u);
}

TEST_F(RecCondTest, DeleteModeMarksTheChannelLeftAndOkDeletesTheSelectedToo) {
    CRecCondWork w(doc, true);
    w.Select(2);
    w.SetMode(1);
    Type(w, "IGNORED", {"x", "", "", "", "", ""}); // not read in delete mode
    EXPECT_EQ(w.Select(3).messageId, 0);
    // Choosing a marked channel again leaves nothing selected.
    w.SetMode(0);
    w.Select(2);
    EXPECT_EQ(w.Selected(), 0);
    w.Select(3);
    w.SetMode(1);
    ASSERT_TRUE(w.Ok().closed);
    w.Apply(doc);
    EXPECT_EQ((std::array{doc.GetChannel(1)->present, doc.GetChannel(2)->present,
                          doc.GetChannel(3)->present}),
              (std::array{1u, 0u, 0u}));
    EXPECT_EQ(doc.m_bDataModified, 1u);

    // Deleting the last channel empties the document.
    CRecCondWork last(doc, true);
    last.SetMode(1);
    last.Select(1);
    ASSERT_TRUE(last.Ok().closed);
    last.Apply(doc);
    EXPECT_EQ(std::tuple(doc.HasAnyData(), doc.m_bDataModified, doc.m_range.dataStart),
              std::tuple(false, 0u, clock.Now()));
}

CalcRangeFields Row(std::array<std::string, 6> a, std::array<std::string, 6> b) {
    CalcRangeFields f;
    for (std::size_t i = 0; i < 6; ++i) {
        f[i] = a[i];
        f[i + 6] = b[i];
    }
    return f;
}

using ScaleRangesTest = DocTest;

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
            EXPECT_EQ(std::pair(w.Start(), w.End()),
                      std::pair(Local(2008, 1, 1, 0, 0, 0), Local(2008, 1, 1, 0, 0, 0)));
        } else {
            EXPECT_EQ(w.Start(), 1u) << "a failed check keeps the range";
        }
    }
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
    doc.RecalcRanges(RecalcMode::ChangedData);
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

    const FullScaleForm d = FullScaleDefaults();
    const FullScaleCheck dc = CheckFullScale(d.upper, d.lower);
    ApplyFullScale(doc, d.mode, dc.upper, dc.lower);
    EXPECT_EQ(stored(), "0 600 -200");
}

TEST(CheckDateFieldsTest, ReportsTheMostSignificantWrongField) {
    // clang-format off
    struct Case { int y, mo, d, h, mi, s; int code; } const cases[] = {
        {2035, 12, 31, 23, 59, 59, kDateOk}, {1970, 1, 1, 0, 0, 0, kDateOk}, {2036, 1, 1, 0, 0, 0, kDateYear},
        {1969, 12, 31, 23, 59, 59, kDateYear},
        {2000, 2, 29, 0, 0, 0, kDateOk}, // divisible by 400
        {2004, 2, 29, 0, 0, 0, kDateOk}, {2001, 2, 29, 0, 0, 0, kDateDay}, {2004, 4, 31, 0, 0, 0, kDateDay},
        {2004, 4, 30, 0, 0, 0, kDateOk},
        {2036, 13, 1, 0, 0, 0, kDateYear}, // year before month
        {2008, 13, 40, 0, 0, 0, kDateMonth}, {2008, 1, 40, 24, 0, 0, kDateDay}, {2008, 1, 0, 0, 0, 0, kDateDay},
        {2008, 1, 1, 24, 0, 0, kDateHour}, {2008, 1, 1, -1, 0, 0, kDateHour}, {2008, 1, 1, 0, 60, 60, kDateMinute},
        {2008, 1, 1, 0, 0, 60, kDateSecond}, {2008, 0, 1, 0, 0, 0, kDateMonth},
        // The month length is looked at only when every field is in range.
        {2001, 2, 30, 0, 0, 60, kDateSecond},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(CheckDateFields(c.y, c.mo, c.d, c.h, c.mi, c.s), c.code)
            << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
}

TEST(ParseFieldIntegerTest, SignsAndBlanksAsTheDialogFrameworkReadsThem) {
    // clang-format off
    struct Case { const char* text; bool ok; int value; } const cases[] = {
        {"12", true, 12}, {" 7 ", true, 7},  {"-1", true, -1},          {"+3", true, 3},
        {"", false, 0},   {"  ", false, 0},  {"1a", false, 0},
        {"-", false, 0},  {"1 2", false, 0}, {"99999999999", false, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        int v = -99;
        EXPECT_EQ(ParseFieldInteger(c.text, v), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(v, c.ok ? c.value : -99) << c.text << ": a failed read leaves the field's int";
    }
}

TEST(ParseDecimalTest, AcceptsOnlyOneWellPlacedSignAndPoint) {
    // clang-format off
    struct Case { const char* text; int ok; double value; int digits; } const cases[] = {
        {"12", 1, 12, 2}, {" -5", 1, -5, 1}, {"+3.25", 1, 3.25, 3}, {".5", 1, 0.5, 1}, {"-.5", 1, -0.5, 1},
        {"1.5 ", 1, 1.5, 2}, {"0.00001", 1, 1e-5, 6}, {"1234567", 1, 1234567, 7}, {"600.0", 1, 600, 4},
        {"  - 5", 0, 0, 0}, {"5.", 0, 0, 0}, {"1 2", 0, 0, 0}, {"--5", 0, 0, 0}, {"5-", 0, 0, 0},
        {"1.2.3", 0, 0, 0}, {"1e3", 0, 0, 0}, {"", 0, 0, 0}, {"-", 0, 0, 0}, {". 5", 0, 0, 0},
        {"+-5", 0, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        double v = -1;
        int d = -1;
        ASSERT_EQ(ParseDecimal(c.text, v, d), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(std::pair(v, d), c.ok ? std::pair(c.value, c.digits) : std::pair(-1.0, -1))
            << '"' << c.text << "\", failed outputs untouched";
    }
}

TEST(FormatScaleTest, SixDigitsAndNoTrailingPoint) {
    // clang-format off
    struct Case { double value; const char* text; } const cases[] = {
        {600, "600"},     {-200, "-200"},       {12.5, "12.5"},
        {0, "0"},         {1234567, "1234570"}, {static_cast<float>(0.1), "0.1"},
        {-0.25, "-0.25"}, {1e-5, ".00001"},     {-1.5e-6, "-.0000015"},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(FormatScale(c.value), c.text) << c.value;
    // Whatever the dialog accepted and stored as f32 comes back through its field unchanged
    // and within its six digits.
    for (const char* typed :
         {"0.00001", ".000001", "-.000012", "0.0001", "999999", "-99999.9", "0.5", "600", "-200"}) {
        double v = 0, back = 0;
        int d = 0, backDigits = 0;
        ASSERT_EQ(ParseDecimal(typed, v, d), 1) << typed;
        const std::string shown = FormatScale(static_cast<float>(v));
        ASSERT_EQ(ParseDecimal(shown, back, backDigits), 1) << typed << " -> " << shown;
        EXPECT_LE(backDigits, 6) << typed << " -> " << shown;
        EXPECT_EQ(static_cast<float>(back), static_cast<float>(v)) << typed << " -> " << shown;
    }
}

} // namespace
} // namespace saroko::test
