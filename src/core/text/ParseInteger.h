#pragma once
// The integer-field rule of the dialogs: digits with optional spaces around them, no sign.
#include <string_view>

namespace saroko {

// 1 and the value when `text` is a run of decimal digits with only spaces before and after it;
// 0 otherwise (value untouched). A run too long for an int gives INT_MAX, which every caller's
// range check rejects.
int ParseInteger(std::string_view text, int& value);

} // namespace saroko
