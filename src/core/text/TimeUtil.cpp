#include "core/text/TimeUtil.h"

#include <chrono>
#include <cstdio>

namespace saroko {

uint32_t SystemClock::Now() const {
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    return static_cast<uint32_t>(secs);
}

namespace {

long long FieldsAsUtc(const std::tm& tm) {
    return DaysFromCivil(tm.tm_year + 1900, static_cast<unsigned>(tm.tm_mon + 1),
                         static_cast<unsigned>(tm.tm_mday)) *
               86400 +
           tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
}

bool IsCalendarTime(const std::tm& tm) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_hour < 0 || tm.tm_hour > 23 || tm.tm_min < 0 ||
        tm.tm_min > 59 || tm.tm_sec < 0 || tm.tm_sec > 59 || tm.tm_mday < 1)
        return false;
    const int y = tm.tm_year + 1900;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return tm.tm_mday <= kDays[tm.tm_mon] + (tm.tm_mon == 1 && leap ? 1 : 0);
}

bool SameFields(const std::tm& a, const std::tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
           a.tm_hour == b.tm_hour && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

bool LocalFieldsOf(std::time_t t, std::tm& out) {
#if defined(_WIN32)
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

} // namespace

bool ToLocalTime(uint32_t t, std::tm& out) {
    return LocalFieldsOf(static_cast<std::time_t>(t), out);
}

bool FromLocalFields(int year, int month, int day, int hour, int minute, int second,
                     uint32_t& out) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const std::tm wanted = tm;
    std::time_t t = std::mktime(&tm);
    // A time the clock skipped when daylight saving began counts with the offset in force
    // before the jump (02:30 shows as 03:30), as glibc reads it; the Windows runtime takes the
    // offset after it, an hour earlier.
    std::tm shown{};
    if (t != static_cast<std::time_t>(-1) && IsCalendarTime(wanted) && LocalFieldsOf(t, shown) &&
        !SameFields(shown, wanted)) {
        std::tm before{};
        if (LocalFieldsOf(t - 43200, before))
            t = static_cast<std::time_t>(FieldsAsUtc(wanted) - (FieldsAsUtc(before) - (t - 43200)));
    }
    if (t == static_cast<std::time_t>(-1) || t < 0 ||
        static_cast<long long>(t) > static_cast<long long>(UINT32_MAX))
        return false;
    out = static_cast<uint32_t>(t);
    return true;
}

bool FromLocalFieldsHinted(int year, int month, int day, int hour, int minute, int second,
                           uint32_t hint, uint32_t& out) {
    std::tm tm{};
    if (ToLocalTime(hint, tm) && tm.tm_year == year - 1900 && tm.tm_mon == month - 1 &&
        tm.tm_mday == day && tm.tm_hour == hour && tm.tm_min == minute && tm.tm_sec == second) {
        out = hint;
        return true;
    }
    return FromLocalFields(year, month, day, hour, minute, second, out);
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

std::string UtcText(int64_t t) {
    const int64_t days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
    const int64_t secs = t - days * 86400;
    // Civil from days (Howard Hinnant's algorithm).
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    char buf[128];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ",
                  static_cast<long long>(y), static_cast<long long>(m), static_cast<long long>(d),
                  static_cast<long long>(secs / 3600), static_cast<long long>(secs / 60 % 60),
                  static_cast<long long>(secs % 60));
    return buf;
}

} // namespace saroko
