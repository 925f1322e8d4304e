#pragma once
// One line taken in as its bytes arrive in pieces, as the local channel reads a handed-over
// file name: everything up to the first LF, and no more than a limit before it.
#include <cstddef>
#include <string>
#include <string_view>

namespace saroko {

enum class LineStep {
    kMore,    // no LF yet: wait for the next piece
    kLine,    // `line` holds the whole line, without its LF and what followed it
    kTooLong, // more than `maxLine` bytes before the LF (or with none yet): give up
};

// Appends `piece` to `line` and says what the bytes so far make.
LineStep GatherLine(std::string& line, std::string_view piece, std::size_t maxLine);

} // namespace saroko
