#include "core/graph/GraphScales.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/text/TimeUtil.h"

namespace saroko {
namespace {

constexpr uint32_t kMaxTime = 0xFFFFFFFFu;

uint32_t SatAdd(uint32_t a, uint32_t b) {
    const uint64_t s = static_cast<uint64_t>(a) + b;
    return s > kMaxTime ? kMaxTime : static_cast<uint32_t>(s);
}
uint32_t SatSub(uint32_t a, uint32_t b) {
    return a > b ? a - b : 0;
}

constexpr uint32_t kTimeLadder[] = {
    1,       2,       3,        5,        10,       20,       30,        60,       120,
    180,     300,     600,      1200,     1800,     3600,     7200,      10800,    14400,
    21600,   28800,   43200,    86400,    172800,   432000,   864000,    1296000,  2592000,
    5184000, 7776000, 10368000, 15552000, 31536000, 63072000, 157680000, 315360000};

constexpr uint32_t kMinute = 60;
constexpr uint32_t kHour = 3600;
constexpr uint32_t kDay = 86400;
constexpr uint32_t kMonthStep = 2592000; // 30 days
constexpr uint32_t kYearStep = 31536000; // 365 days

// Keeps huge intersections representable; anything this far out is clipped away anyway.
int64_t Trunc(double v) {
    constexpr double kLimit = 4503599627370496.0; // 2^52
    if (v > kLimit)
        return static_cast<int64_t>(kLimit);
    if (v < -kLimit)
        return -static_cast<int64_t>(kLimit);
    return static_cast<int64_t>(v);
}

} // namespace

float EnforceMinTimeWindow(GraphRange& r) {
    const int64_t span = std::llabs(static_cast<int64_t>(r.viewEnd) - r.viewStart);
    if (span >= kMinTimeWindow)
        return static_cast<float>(span);
    const double c = (static_cast<double>(r.viewStart) + r.viewEnd) / 2.0;
    if (r.dataStart <= c - 5) {
        if (r.dataEnd < c + 5) {
            r.viewStart = SatSub(r.dataEnd, kMinTimeWindow);
            r.viewEnd = r.dataEnd;
        } else {
            const uint32_t i = static_cast<uint32_t>(c);
            r.viewStart = i - 5;
            r.viewEnd = i + 5;
        }
    } else {
        r.viewStart = r.dataStart;
        r.viewEnd = SatAdd(r.dataStart, kMinTimeWindow);
    }
    return static_cast<float>(kMinTimeWindow);
}

float EnforceMinValueWindow(GraphRange& r) {
    const float span = std::fabs(r.viewUpper - r.viewLower);
    if (span >= kMinValueWindow)
        return span;
    const double m = (r.viewUpper + r.viewLower) * 0.5;
    if (m - 1 >= r.fullLower) {
        if (r.fullUpper >= m + 1) {
            r.viewUpper = static_cast<float>(m + 1);
            r.viewLower = static_cast<float>(m - 1);
        } else {
            r.viewUpper = r.fullUpper;
            r.viewLower = r.fullUpper - 2;
        }
    } else {
        r.viewUpper = r.fullLower + 2;
        r.viewLower = r.fullLower;
    }
    return kMinValueWindow;
}

int64_t FirstValueIndex(float lower, float step) {
    double q = lower / step;
    if (!(std::fabs(q) < 1e15)) // also catches NaN
        q = q < 0 ? -1e15 : 1e15;
    return lower >= 0 ? static_cast<int64_t>(q + 0.999999) : static_cast<int64_t>(q);
}

ValueGrid ChooseValueGrid(float span, float lower, float upper) {
    static constexpr double kBases[] = {0.001, 0.01, 0.1, 1, 10, 100, 1000};
    static constexpr int kMultipliers[] = {1, 2, 5};
    ValueGrid g;
    bool found = false;
    for (int b = 0; b < 7 && !found; ++b) {
        for (int m : kMultipliers) {
            const double candidate = kBases[b] * m;
            if (candidate >= span) {
                g.step = static_cast<float>(candidate * 0.1);
                g.decimals = std::max(1, 4 - b);
                found = true;
                break;
            }
        }
    }
    if (!found) {
        g.step = 1000;
        g.decimals = 1;
    }
    char text[64];
    for (int64_t k = FirstValueIndex(lower, g.step);; ++k) {
        const float v = static_cast<float>(k) * g.step;
        if (!(v <= upper))
            break;
        const int len =
            std::snprintf(text, sizeof text, "%.*f", g.decimals, static_cast<double>(v));
        g.labelChars = std::max(g.labelChars, len);
    }
    std::snprintf(g.format, sizeof g.format, "%%%d.%df", g.labelChars, g.decimals);
    return g;
}

uint32_t ChooseTimeStep(uint32_t width) {
    for (uint32_t s : kTimeLadder)
        if (width < 7ull * s)
            return s;
    return width / 7;
}

uint32_t FirstTimeTick(uint32_t viewStart, uint32_t step) {
    // Past the end of the u32 range the tick would wrap to 1970; stay at the top instead.
    const uint32_t t = SatAdd(viewStart, step);
    std::tm f{};
    if (!ToLocalTime(t, f))
        return 0;
    const int sec = f.tm_sec, min = f.tm_min, hour = f.tm_hour;
    if (step < kMinute) {
        f.tm_sec -= f.tm_sec % static_cast<int>(step == 0 ? 1 : step);
    } else if (step < kHour) {
        f.tm_sec = 0;
    } else if (step < kDay) {
        f.tm_min = f.tm_sec = 0;
    } else if (step < kMonthStep) {
        f.tm_hour = f.tm_min = f.tm_sec = 0;
    } else if (step < kYearStep) {
        f.tm_mday = 1;
        f.tm_hour = f.tm_min = f.tm_sec = 0;
    } else {
        f.tm_mon = 0;
        f.tm_mday = 1;
        f.tm_hour = f.tm_min = f.tm_sec = 0;
    }
    // Within a day the plain difference names the right instant also in the repeated hour
    // at the end of daylight saving.
    const int64_t removed = (sec - f.tm_sec) + 60 * (min - f.tm_min) + 3600 * (hour - f.tm_hour);
    const uint32_t hint =
        static_cast<int64_t>(t) >= removed ? static_cast<uint32_t>(t - removed) : 0;
    uint32_t out = 0;
    if (!FromLocalFieldsHinted(f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min,
                               f.tm_sec, hint, out))
        return 0;
    return out;
}

bool ClipSegment(const GraphRect& plot, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                 ClippedSegment& out) {
    const double slope =
        x1 == x2 ? 0.0 : static_cast<double>(y2 - y1) / static_cast<double>(x2 - x1);
    bool moved = false;
    auto atX = [&](int64_t edge) { return y1 + Trunc(static_cast<double>(edge - x1) * slope); };
    auto atY = [&](int64_t edge) {
        return slope == 0.0 ? x1 : x1 + Trunc(static_cast<double>(edge - y1) / slope);
    };

    const int64_t left = plot.left, right = plot.right, top = plot.top, bottom = plot.bottom;
    if (x1 < left && x2 < left)
        return false;
    if (x1 < left) {
        y1 = atX(left);
        x1 = left;
    }
    if (x2 < left) {
        y2 = atX(left);
        x2 = left;
        moved = true;
    }
    if (x1 > right && x2 > right)
        return false;
    if (x1 > right) {
        y1 = atX(right);
        x1 = right;
    }
    if (x2 > right) {
        y2 = atX(right);
        x2 = right;
        moved = true;
    }
    if (y1 > bottom && y2 > bottom)
        return false;
    if (y1 > bottom) {
        x1 = atY(bottom);
        y1 = bottom;
    }
    if (y2 > bottom) {
        x2 = atY(bottom);
        y2 = bottom;
        moved = true;
    }
    if (y1 < top && y2 < top)
        return false;
    if (y1 < top) {
        x1 = atY(top);
        y1 = top;
    }
    if (y2 < top) {
        x2 = atY(top);
        y2 = top;
        moved = true;
    }
    out = {static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2),
           moved};
    return true;
}

DashPattern CursorDashPattern(int style) {
    switch (style) {
    case kCursorDash:
        return {18, 6};
    case kCursorDot:
        return {3, 3};
    default:
        return {1, 0};
    }
}

std::string FormatTickDate(uint32_t t) {
    std::tm f{};
    if (!ToLocalTime(t, f))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%2d/%02d/%02d", (f.tm_year + 1900) % 100, f.tm_mon + 1,
                  f.tm_mday);
    return text;
}

std::string FormatTickTime(uint32_t t) {
    std::tm f{};
    if (!ToLocalTime(t, f))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%2d:%02d'%02d", f.tm_hour, f.tm_min, f.tm_sec);
    return text;
}

} // namespace saroko
