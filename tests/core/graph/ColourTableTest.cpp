// Pictures as indices into their colour table: the limit of 256 colours from both sides, and
// one table carried over rows.
#include <gtest/gtest.h>

#include <numeric>

#include "core/graph/ColourTable.h"

namespace saroko {
namespace {

TEST(ColourTable, IndicesInOrderOfFirstAppearanceUpTo256Colours) {
    std::vector<uint32_t> distinct(257);
    std::iota(distinct.begin(), distinct.end(), 0xFF000000u);
    struct Case {
        std::vector<uint32_t> pixels;
        bool ok;
        std::vector<uint8_t> indices;
        std::size_t colours;
    } const cases[] = {
        {{}, true, {}, 0},
        {{7, 7, 7}, true, {0, 0, 0}, 1},
        {{5, 9, 9, 5, 3, 9}, true, {0, 1, 1, 0, 2, 1}, 3},
        {std::vector<uint32_t>(distinct.begin(), distinct.end() - 1), true, {}, 256},
        {distinct, false, {}, 256},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> indices(c.pixels.size());
        std::vector<uint32_t> table;
        EXPECT_EQ(IndexColours(c.pixels, indices, table), c.ok) << c.pixels.size();
        EXPECT_EQ(table.size(), c.colours) << c.pixels.size();
        if (!c.indices.empty()) {
            EXPECT_EQ(indices, c.indices);
        }
        for (std::size_t i = 0; c.ok && i < c.pixels.size(); ++i)
            ASSERT_EQ(table[indices[i]], c.pixels[i]) << i;
    }
}

TEST(ColourTable, RowsShareOneTable) {
    std::vector<uint32_t> table;
    std::vector<uint8_t> row(3);
    ASSERT_TRUE(IndexColours(std::vector<uint32_t>{4, 4, 6}, row, table));
    ASSERT_TRUE(IndexColours(std::vector<uint32_t>{6, 8, 4}, row, table));
    EXPECT_EQ(row, (std::vector<uint8_t>{1, 2, 0}));
    EXPECT_EQ(table, (std::vector<uint32_t>{4, 6, 8}));
    // A short index row is refused, not overrun.
    std::vector<uint8_t> shorter(2);
    EXPECT_FALSE(IndexColours(std::vector<uint32_t>{4, 4, 4}, shorter, table));
}

} // namespace
} // namespace saroko
