#include <gtest/gtest.h>

#include <vector>

#include "graph/LineRaster.h"

namespace saroko::test {
namespace {

// clang-format off
struct RasterCase { const char* what; GraphSegment s; std::vector<GraphPoint> pixels; };
// clang-format on

TEST(LineRasterTest, FromTheFirstPointUpToTheSecond) {
    // clang-format off
    const RasterCase cases[] = {
        {"empty", {5, 5, 5, 5}, {}},
        {"one pixel", {5, 5, 6, 6}, {{5, 5}}},
        {"right", {2, 1, 6, 1}, {{2, 1}, {3, 1}, {4, 1}, {5, 1}}},
        {"left leaves out the left end", {6, 1, 2, 1}, {{6, 1}, {5, 1}, {4, 1}, {3, 1}}},
        {"up leaves out the top end", {0, 9, 0, 6}, {{0, 9}, {0, 8}, {0, 7}}},
        {"down", {0, 6, 0, 9}, {{0, 6}, {0, 7}, {0, 8}}},
        {"diagonal up-left", {4, 4, 1, 1}, {{4, 4}, {3, 3}, {2, 2}}},
        {"shallow: halves round away from the start", {0, 0, 4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        {"shallow downwards to the left", {4, 2, 0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {"steep", {0, 0, 1, 3}, {{0, 0}, {0, 1}, {1, 2}}},
        {"steep with negative offsets", {0, 0, -1, -3}, {{0, 0}, {0, -1}, {-1, -2}}},
    };
    // clang-format on
    for (const RasterCase& c : cases) {
        std::vector<GraphPoint> got;
        ForEachLinePixel(c.s, [&](int x, int y) { got.push_back({x, y}); });
        EXPECT_EQ(got, c.pixels) << c.what;
    }
}

} // namespace
} // namespace saroko::test
