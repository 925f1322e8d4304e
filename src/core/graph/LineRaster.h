#pragma once
// The pixels of a line from its first point up to, not including, its second: one pixel per
// step along the longer axis, the other coordinate k * d / n rounded half away from zero.
#include <cstdint>
#include <cstdlib>

#include "core/graph/GraphRect.h"

namespace saroko {

template <class Plot> void ForEachLinePixel(const GraphSegment& s, Plot&& plot) {
    const int dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int n = xMajor ? std::abs(dx) : std::abs(dy);
    if (n == 0)
        return;
    const int d = xMajor ? dy : dx;
    const int major0 = xMajor ? s.x1 : s.y1, minor0 = xMajor ? s.y1 : s.x1;
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    if (d == 0) { // a horizontal or vertical line: no division per pixel
        for (int k = 0; k < n; ++k)
            xMajor ? plot(major0 + k * majorStep, minor0) : plot(minor0, major0 + k * majorStep);
        return;
    }
    const int64_t twoN = 2 * static_cast<int64_t>(n);
    int64_t num = d >= 0 ? n : -static_cast<int64_t>(n); // 2kd +- n for k = 0
    for (int k = 0; k < n; ++k, num += 2 * static_cast<int64_t>(d)) {
        const int major = major0 + k * majorStep;
        const int minor = minor0 + static_cast<int>(num / twoN);
        if (xMajor)
            plot(major, minor);
        else
            plot(minor, major);
    }
}

} // namespace saroko
