// The input rules of the channel dialogs: the calendar check with its precedence, the integer
// field of the dialog framework, the decimal field of the full scale and its text. The date
// messages and a time's local fields are checked through the dialogs that use them.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "channels/DateFields.h"
#include "channels/ParseDecimal.h"

namespace saroko::test {
namespace {

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
        {"", false, 0},   {"  ", false, 0},  {"a", false, 0},           {"1a", false, 0},
        {"-", false, 0},  {"1 2", false, 0}, {"99999999999", false, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        int v = -99;
        EXPECT_EQ(ParseFieldInteger(c.text, v), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(ParseDecimalTest, AcceptsOnlyOneWellPlacedSignAndPoint) {
    // clang-format off
    struct Case { const char* text; int ok; double value; int digits; } const cases[] = {
        {"12", 1, 12, 2}, {" -5", 1, -5, 1}, {"+3.25", 1, 3.25, 3}, {".5", 1, 0.5, 1}, {"-.5", 1, -0.5, 1},
        {"1.5 ", 1, 1.5, 2}, {"0.00001", 1, 1e-5, 6}, {"1234567", 1, 1234567, 7}, {"600.0", 1, 600, 4},
        {"-200", 1, -200, 3}, {" .5", 1, 0.5, 1},
        {"  - 5", 0, 0, 0}, {"5.", 0, 0, 0}, {"1 2", 0, 0, 0}, {"--5", 0, 0, 0}, {"5-", 0, 0, 0},
        {"1.2.3", 0, 0, 0}, {"1e3", 0, 0, 0}, {"- 5", 0, 0, 0}, {"", 0, 0, 0}, {"-", 0, 0, 0},
        {". 5", 0, 0, 0}, {"+-5", 0, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        double v = -1;
        int d = -1;
        ASSERT_EQ(ParseDecimal(c.text, v, d), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
            EXPECT_EQ(d, c.digits) << c.text;
        } else {
            EXPECT_EQ(d, -1) << "outputs untouched";
        }
    }
}

TEST(FormatScaleTest, SixDigitsAndNoTrailingPointInAnyLocale) {
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
    // A decimal comma in the user's locale must not reach the field the dialog reads back.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_EQ(FormatScale(12.5), "12.5");
        double v = 0;
        int d = 0;
        EXPECT_EQ(ParseDecimal("12.5", v, d), 1);
        EXPECT_DOUBLE_EQ(v, 12.5);
        std::setlocale(LC_NUMERIC, "C");
    }
}

} // namespace
} // namespace saroko::test
