#include "core/text/ParseDecimal.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

namespace saroko {

int ParseDecimal(std::string_view text, double& value, int& digits) {
    const std::size_t npos = std::string_view::npos;
    std::size_t firstDigit = npos, lastDigit = npos, sign = npos, point = npos;
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (firstDigit == npos)
                firstDigit = i;
            lastDigit = i;
            ++count;
        } else if (c == '+' || c == '-') {
            if (sign != npos)
                return 0;
            sign = i;
        } else if (c == '.') {
            if (point != npos)
                return 0;
            point = i;
        } else if (c != ' ') {
            return 0;
        }
    }
    if (count == 0)
        return 0;
    for (std::size_t i = firstDigit; i < lastDigit; ++i)
        if (text[i] == ' ')
            return 0;
    if (point != npos && point != firstDigit - 1 && !(point > firstDigit && point < lastDigit))
        return 0;
    if (sign != npos) {
        const bool beforeDigit = sign + 1 == firstDigit;
        const bool beforePoint = point != npos && point == firstDigit - 1 && sign + 1 == point;
        if (!beforeDigit && !beforePoint)
            return 0;
    }
    // The number without blanks and plus sign; from_chars does not follow the C locale, so a
    // decimal comma in the user's locale cannot change the value.
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ' && text[i] != '+')
            plain += text[i];
    double v = 0.0;
    const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (r.ec != std::errc() || r.ptr != plain.data() + plain.size())
        return 0;
    value = v;
    digits = count;
    return 1;
}

std::string FormatScale(double value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    std::string s(buf, r.ptr);
    const std::size_t e = s.find('e');
    if (e != std::string::npos) {
        // The field takes no exponent: write the same six digits out in full, and without
        // the zero before the point, so that ".00001" comes back with no more digits than
        // it was typed with.
        const int exp = std::atoi(s.c_str() + e + 1);
        const bool negative = s[0] == '-';
        std::string digits;
        for (std::size_t i = negative ? 1 : 0; i < e; ++i)
            if (s[i] != '.')
                digits += s[i];
        if (exp < 0)
            digits = '.' + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
        else if (static_cast<std::size_t>(exp) + 1 > digits.size())
            digits.append(static_cast<std::size_t>(exp) + 1 - digits.size(), '0');
        s = negative ? '-' + digits : digits;
    }
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

} // namespace saroko
