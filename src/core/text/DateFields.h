#pragma once
// The calendar rule of the dialogs that take a date-time in six fields, the integer field the
// way the dialog framework reads it, and the texts of a timestamp in those fields.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace saroko {

// Codes of CheckDateFields, one per field; 0 accepted.
enum DateCode : int {
    kDateOk = 0,
    kDateYear = 2,
    kDateMonth = 3,
    kDateDay = 4,
    kDateHour = 5,
    kDateMinute = 6,
    kDateSecond = 7,
};

inline constexpr int kMsgDateCharYear = 57713;  // ..57718: not a number, year to second
inline constexpr int kMsgDateRangeYear = 57719; // ..57724: out of range, year to second

// Years accepted in a date-time field.
inline constexpr int kFirstYear = 1970;
inline constexpr int kLastYear = 2035;

bool IsLeapYear(int year);
// Days of `month` (1..12) in `year`.
int DaysInMonth(int year, int month);

// 0 when the six fields make a calendar date-time; else the code of the most significant
// wrong field (year before month before day ...). The length of the month is checked only
// when every field lies in its range.
int CheckDateFields(int year, int month, int day, int hour, int minute, int second);

// The range message of a CheckDateFields code (57719 for the year ... 57724), 0 for 0.
int DateRangeMessage(int code);
// The field index (0 year .. 5 second) a CheckDateFields code points at; -1 for 0.
int DateCodeField(int code);

// A number field as the dialog framework reads an int: optional blanks, an optional sign,
// digits, optional blanks. False for anything else (empty, letters, a lone sign).
bool ParseFieldInteger(std::string_view text, int& value);

// Local calendar fields of a timestamp, month 1..12.
struct CalendarFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;

    bool operator==(const CalendarFields&) const = default;
};
bool ToCalendarFields(uint32_t t, CalendarFields& out);
// Back to a timestamp; `hint` keeps the repeated hour at the end of daylight saving on the
// side it was shown from. False when the fields lie before 1970-01-01 00:00:00 UTC.
bool FromCalendarFields(const CalendarFields& f, uint32_t hint, uint32_t& out);

// "%4d年 %2d月 %2d日 %2d時 %2d分 %2d秒" (UTF-8).
std::string FormatDateTimeText(const CalendarFields& f);

// The six field texts of a timestamp as the calculation range shows them: "%4d", then "%2d".
std::array<std::string, 6> DateFieldTexts(uint32_t t);

} // namespace saroko
