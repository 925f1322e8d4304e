#include "core/document/LocalDateTime.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "core/text/TimeUtil.h"

namespace saroko {
namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// One "%d": blanks, an optional sign, at least one digit.
bool ScanInt(std::string_view text, std::size_t& pos, int& value) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    std::size_t start = pos;
    if (pos < text.size() && text[pos] == '+')
        start = ++pos;
    else if (pos < text.size() && text[pos] == '-')
        ++pos;
    std::size_t end = pos;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    if (end == pos)
        return false;
    const auto r = std::from_chars(text.data() + start, text.data() + end, value);
    if (r.ec != std::errc() || r.ptr != text.data() + end)
        return false;
    pos = end;
    return true;
}

} // namespace

bool ParseLocalDateTime(std::string_view text, uint32_t& out) {
    int v[6];
    std::size_t pos = 0;
    static constexpr char kSeparators[] = {'/', '/', ' ', ':', ':'};
    for (int i = 0; i < 6; ++i) {
        if (!ScanInt(text, pos, v[i]))
            return false;
        if (i == 5)
            break;
        const char sep = kSeparators[i];
        if (sep == ' ') {
            // A blank in a scanf format matches any run of blanks, none included.
            while (pos < text.size() && IsBlank(text[pos]))
                ++pos;
        } else if (pos >= text.size() || text[pos++] != sep) {
            return false;
        }
    }
    if (pos != text.size())
        return false;
    const int mo = v[1], d = v[2], h = v[3], mi = v[4], s = v[5];
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 ||
        s > 59)
        return false;
    return FromLocalFields(v[0], mo, d, h, mi, s, out);
}

std::string FormatLocalDateTime(uint32_t t) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return "?";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

} // namespace saroko
