#include "core/text/LineGather.h"

namespace saroko {

LineStep GatherLine(std::string& line, std::string_view piece, std::size_t maxLine) {
    const std::size_t before = line.size();
    line.append(piece);
    const std::size_t end = line.find('\n', before);
    if ((end == std::string::npos ? line.size() : end) > maxLine)
        return LineStep::kTooLong;
    if (end == std::string::npos)
        return LineStep::kMore;
    line.resize(end);
    return LineStep::kLine;
}

} // namespace saroko
