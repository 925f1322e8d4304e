#pragma once
// The decimal-field rule of the full-scale limits and the text a limit is shown and stored as.
#include <string>
#include <string_view>

namespace saroko {

// 1 when `text` is a decimal number: blanks before and after, at most one sign right before
// the first digit (or before a point that stands right before it), at most one point that is
// not after the last digit, no blank between digits. `value` is its value and `digits` the
// number of digit characters, leading and trailing zeros included. 0 otherwise (outputs
// untouched).
int ParseDecimal(std::string_view text, double& value, int& digits);

// Six significant digits and no trailing point: 600 -> "600", 12.5 -> "12.5". Never an
// exponent (0.00001 -> ".00001") and the same text in every locale, so that what the dialog
// shows it can read back.
std::string FormatScale(double value);

} // namespace saroko
