#include "core/text/LineBreaks.h"

#include <array>

namespace saroko {

namespace {

constexpr std::array<std::string_view, 4> kBreakAfter = {"、", "。", "］", " "};
constexpr std::string_view kBreakBefore = "［";

} // namespace

std::vector<std::string> UnbreakableRuns(std::string_view utf8) {
    std::vector<std::string> runs;
    std::string run;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::string_view rest = utf8.substr(i);
        if (rest.starts_with(kBreakBefore) && !run.empty())
            runs.push_back(std::move(run)), run.clear();
        bool after = false;
        std::size_t length = 1;
        for (std::string_view mark : kBreakAfter)
            if (rest.starts_with(mark)) {
                after = true;
                length = mark.size();
                break;
            }
        if (!after) // one whole character: its lead byte tells its length
            while (i + length < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80)
                ++length;
        run.append(utf8.substr(i, length));
        i += length;
        if (after)
            runs.push_back(std::move(run)), run.clear();
    }
    if (!run.empty())
        runs.push_back(std::move(run));
    return runs;
}

std::vector<std::string> WrapAtRuns(std::string_view utf8, int maxWidth,
                                    const std::function<int(const std::string&)>& width) {
    std::vector<std::string> lines;
    std::string line;
    const auto trimmed = [](std::string s) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    };
    for (const std::string& run : UnbreakableRuns(utf8)) {
        if (!line.empty() && width(trimmed(line + run)) > maxWidth) {
            lines.push_back(trimmed(line));
            line.clear();
        }
        line += run;
    }
    if (!line.empty())
        lines.push_back(trimmed(line));
    return lines;
}

} // namespace saroko
