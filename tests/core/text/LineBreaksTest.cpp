// Where the shown sentences break into lines: between clauses in Japanese, at spaces in
// English, never inside a word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/LineBreaks.h"

namespace saroko::test {
namespace {

using Lines = std::vector<std::string>;

// Each character (UTF-8 code point) one unit wide.
int Characters(const std::string& s) {
    int n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

TEST(LineBreaks, RunsEndAfterPunctuationAndSpacesAndBeforeAnOpeningBracket) {
    EXPECT_EQ(
        UnbreakableRuns(
            "読み込むファイルのデータだけを見たい時は、［新規］ボタンをクリックしてください。"),
        (Lines{"読み込むファイルのデータだけを見たい時は、", "［新規］",
               "ボタンをクリックしてください。"}));
    EXPECT_EQ(UnbreakableRuns("click [New] to see"), (Lines{"click ", "[New] ", "to ", "see"}));
    EXPECT_EQ(UnbreakableRuns("［追加］"), (Lines{"［追加］"}));
    EXPECT_EQ(UnbreakableRuns("、、"), (Lines{"、", "、"}));
    EXPECT_EQ(UnbreakableRuns(""), Lines{});
}

TEST(LineBreaks, RunsPackedIntoLinesAtTheirWidth) {
    const std::string ja =
        "グラフ表示をしているデータと、読み込むファイルのデータを同じグラフの中で見た"
        "い時は、［追加］ボタンをクリックしてください。";
    // 15 + 27 + 4 + 15 characters.
    EXPECT_EQ(WrapAtRuns(ja, 46, Characters),
              (Lines{"グラフ表示をしているデータと、読み込むファイルのデータを同じグラフの中で見た"
                     "い時は、［追加］",
                     "ボタンをクリックしてください。"}));
    // One unit less: the bracket goes down with the rest.
    EXPECT_EQ(
        WrapAtRuns(ja, 45, Characters),
        (Lines{
            "グラフ表示をしているデータと、読み込むファイルのデータを同じグラフの中で見たい時は、",
            "［追加］ボタンをクリックしてください。"}));
    // Narrower than a run: the run is a line of its own, not cut.
    EXPECT_EQ(WrapAtRuns(ja, 10, Characters).size(), 4u);
    EXPECT_EQ(WrapAtRuns(ja, 1000, Characters), Lines{ja});
    // The space at a line's end is not counted nor kept.
    EXPECT_EQ(WrapAtRuns("to see only the file", 11, Characters),
              (Lines{"to see only", "the file"}));
    EXPECT_EQ(WrapAtRuns("to see only the file", 10, Characters),
              (Lines{"to see", "only the", "file"}));
}

} // namespace
} // namespace saroko::test
