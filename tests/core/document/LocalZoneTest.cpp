// Local time comes from the machine's zone. On Windows that is the Windows zone, which Wine
// takes from the host's when the tests run there; the Windows C runtime must follow it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "document/TimeUtil.h"

namespace saroko::test {
#ifdef _WIN32
extern std::string g_hostZone; // tests/support/WindowsZone.cpp
#endif
namespace {

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
        EXPECT_EQ(tm.tm_hour, c.hour);
        EXPECT_EQ(tm.tm_isdst > 0, c.isdst == 1);
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

} // namespace
} // namespace saroko::test
