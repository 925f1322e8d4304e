#pragma once
// The one-line local date-time "YYYY/MM/DD HH:MM:SS" that the command line reads and prints.
#include <cstdint>
#include <string>
#include <string_view>

namespace saroko {

// Reads the six numbers as "%d/%d/%d %d:%d:%d" would (blanks before each number, an optional
// sign), with nothing after the seconds; a number too long for an int fails instead of being
// undefined. False when the text is no such time or the time lies outside the u32 range.
bool ParseLocalDateTime(std::string_view text, uint32_t& out);
// "%04d/%02d/%02d %02d:%02d:%02d" in local time; "?" when the time cannot be converted.
std::string FormatLocalDateTime(uint32_t t);

} // namespace saroko
