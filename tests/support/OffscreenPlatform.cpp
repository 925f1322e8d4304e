// Linked into every test program that may create a Qt application: tests run without a
// display unless the caller chose a platform. ctest's environment carries only TZ.
#include <cstdlib>

namespace {
const bool kOffscreen = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}();
} // namespace
