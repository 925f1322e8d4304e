#include "document/TimeUtil.h"

#include <chrono>

namespace saroko {

uint32_t SystemClock::Now() const {
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    return static_cast<uint32_t>(secs);
}

bool ToLocalTime(uint32_t t, std::tm& out) {
    const std::time_t tt = static_cast<std::time_t>(t);
#if defined(_WIN32)
    return localtime_s(&out, &tt) == 0;
#else
    return localtime_r(&tt, &out) != nullptr;
#endif
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
    const std::time_t t = std::mktime(&tm);
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

} // namespace saroko
