#pragma once
// Where a shown sentence may break into lines. Japanese has no spaces between words, and a
// break anywhere can cut a word ("ボタ|ン"): lines break only after "、", "。", "］" and spaces and
// before "［", so each clause stays whole; English breaks at its spaces.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace saroko {

// The text (UTF-8) in the pieces no line break may cut; joined they give the text again.
std::vector<std::string> UnbreakableRuns(std::string_view utf8);

// The runs packed greedily into lines of at most `maxWidth` as `width` measures a text; a run
// wider than that is a line of its own. The spaces at the end of a line are dropped.
std::vector<std::string> WrapAtRuns(std::string_view utf8, int maxWidth,
                                    const std::function<int(const std::string&)>& width);

} // namespace saroko
