#include "core/text/DateFields.h"

#include <climits>
#include <cstdio>

#include "core/messages/Translate.h"
#include "core/text/TimeUtil.h"

namespace saroko {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int CheckDateFields(int year, int month, int day, int hour, int minute, int second) {
    // Later tests overwrite earlier ones, so the most significant wrong field is reported.
    int code = kDateOk;
    if (second < 0 || second > 59)
        code = kDateSecond;
    if (minute < 0 || minute > 59)
        code = kDateMinute;
    if (hour < 0 || hour > 23)
        code = kDateHour;
    if (day < 1 || day > 31)
        code = kDateDay;
    if (month < 1 || month > 12)
        code = kDateMonth;
    if (year < kFirstYear || year > kLastYear)
        code = kDateYear;
    if (code == kDateOk && day > DaysInMonth(year, month))
        code = kDateDay;
    return code;
}

int DateRangeMessage(int code) {
    return code >= kDateYear && code <= kDateSecond ? kMsgDateRangeYear + (code - kDateYear) : 0;
}

int DateCodeField(int code) {
    return code >= kDateYear && code <= kDateSecond ? code - kDateYear : -1;
}

bool ParseFieldInteger(std::string_view text, int& value) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto blank = [&](std::size_t k) { return text[k] == ' ' || text[k] == '\t'; };
    while (i < n && blank(i))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const std::size_t digitsFrom = i;
    long long v = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        if (v <= INT_MAX)
            v = v * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsFrom)
        return false;
    while (i < n && blank(i))
        ++i;
    if (i != n || v > INT_MAX)
        return false; // trailing characters, or no int at all
    value = static_cast<int>(negative ? -v : v);
    return true;
}

bool ToCalendarFields(uint32_t t, CalendarFields& out) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return false;
    out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
}

bool FromCalendarFields(const CalendarFields& f, uint32_t hint, uint32_t& out) {
    return FromLocalFieldsHinted(f.year, f.month, f.day, f.hour, f.minute, f.second, hint, out);
}

std::string FormatDateTimeText(const CalendarFields& f) {
    char buf[96];
    const std::string format = TranslateFormat("Dates", "%4d年 %2d月 %2d日 %2d時 %2d分 %2d秒");
    std::snprintf(buf, sizeof buf, format.c_str(), f.year, f.month, f.day, f.hour, f.minute,
                  f.second);
    return buf;
}

std::array<std::string, 6> DateFieldTexts(uint32_t t) {
    std::array<std::string, 6> out;
    CalendarFields f;
    if (!ToCalendarFields(t, f))
        return out;
    const int values[6] = {f.year, f.month, f.day, f.hour, f.minute, f.second};
    char buf[16];
    for (std::size_t i = 0; i < 6; ++i) {
        std::snprintf(buf, sizeof buf, i == 0 ? "%4d" : "%2d", values[i]);
        out[i] = buf;
    }
    return out;
}

} // namespace saroko
