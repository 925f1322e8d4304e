#pragma once
// Rectangles of the graph's geometry. Right and bottom are exclusive: a client rectangle of
// width w and height h is (0, 0, w, h). The Qt side converts once, where it draws.
#include <algorithm>

namespace saroko {

struct GraphRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // Left and top edges inside, right and bottom outside.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const GraphRect&) const = default;
};

inline GraphRect NormalizedRect(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

struct GraphPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GraphPoint&) const = default;
};

// A line as the painter draws it: from the first point up to, not including, the second.
struct GraphSegment {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const GraphSegment&) const = default;
};

} // namespace saroko
