#include "core/text/ParseInteger.h"

#include <climits>

namespace saroko {

int ParseInteger(std::string_view text, int& value) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    const std::size_t digitsFrom = i;
    long long v = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        v = v * 10 + (text[i] - '0');
        if (v > INT_MAX)
            v = static_cast<long long>(INT_MAX) + 1; // saturate, keep scanning
        ++i;
    }
    if (i == digitsFrom)
        return 0;
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return 0;
    value = v > INT_MAX ? INT_MAX : static_cast<int>(v);
    return 1;
}

} // namespace saroko
