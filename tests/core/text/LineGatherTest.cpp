// A line taken in piece by piece: up to its first LF, never more than the limit before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/LineGather.h"

namespace saroko {
namespace {

TEST(LineGather, UpToTheFirstLineEndWithinTheLimit) {
    using S = LineStep;
    // clang-format off
    const struct { std::vector<std::string> pieces; S last; std::string line; } rows[] = {
        {{"abcd", "\n"},        S::kLine,    "abcd"},  // just at the limit
        {{"ab", "cd\nef\ng"},   S::kLine,    "abcd"},  // what follows the line end is dropped
        {{"\n"},                S::kLine,    ""},
        {{"abc"},               S::kMore,    "abc"},
        {{"abcd"},              S::kMore,    "abcd"},
        {{"abcde"},             S::kTooLong, "abcde"}, // past it with no line end yet
        {{"ab", "cde\n"},       S::kTooLong, "abcde\n"},
    };
    // clang-format on
    for (const auto& row : rows) {
        std::string line;
        S step = S::kMore;
        for (const std::string& p : row.pieces)
            step = GatherLine(line, p, 4);
        EXPECT_EQ(std::pair(step, line), std::pair(row.last, row.line)) << row.pieces[0];
    }
}

} // namespace
} // namespace saroko
