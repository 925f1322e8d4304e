// Linked into the Windows test programs. ctest names the zone in TZ ("Asia/Tokyo"); Wine takes
// the host's zone from it and turns it into the Windows zone. The Windows C runtime would read
// the same variable in its own format (three-letter name, hours, daylight name) and run on UTC
// with a daylight rule of its own, which no user's PC does: the variable goes, and the runtime
// follows the Windows zone.
#include <cstdlib>
#include <ctime>
#include <string>

namespace saroko::test {
std::string g_hostZone;
} // namespace saroko::test

namespace {
const bool kWindowsZone = [] {
    if (const char* tz = std::getenv("TZ"))
        saroko::test::g_hostZone = tz;
    _putenv("TZ=");
    _tzset();
    return true;
}();
} // namespace
