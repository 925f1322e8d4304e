// Delimited text export: one line per point in time, one column per channel.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/document/ZorvicDoc.h"
#include "core/files/FileIo.h"

namespace saroko {
namespace {

// "＜ 測定ﾃﾞｰﾀ ﾘｽﾄ ＞" in CP932, with its quotes.
constexpr const char kTitleLine[] =
    "\"\x81\x83 \x91\xaa\x92\xe8\xc3\xde\xb0\xc0 \xd8\xbd\xc4 \x81\x84\"\r\n";

uint16_t CodeAt(const ChannelRecord& ch, int i) {
    return i < kMaxSamples ? ch.samples[i] : kCodeEnd;
}

char Delimiter(uint32_t code) {
    switch (code) {
    case 2:
        return '\t';
    case 3:
        return ';';
    case 4:
        return ' ';
    default:
        return ',';
    }
}

// Writes n digits of v, zero-padded, or space-padded when `space` is set.
void PutDigits(char*& p, long long v, int n, bool space = false) {
    for (int i = n - 1; i >= 0; --i) {
        p[i] = static_cast<char>('0' + v % 10);
        v /= 10;
        if (space && v == 0) {
            for (int k = i - 1; k >= 0; --k)
                p[k] = ' ';
            break;
        }
    }
    p += n;
}

// The date fields of one line: "YYYY/MM/DD HH:MM'SS" quoted, the delimiter, the serial date.
// Calendar fields are cached per local minute; both columns come from the same fields. The
// text is what "\"%4d/%02d/%02d %2d:%02d'%02d\"" and "%ld.%010.0f" give, written by hand
// because this runs for every line of large exports.
// "%6.1f" of a temperature of k tenths of a degree Celsius, shown in degC or degF. In degC
// the value is k/10 exactly; in degF it is 32 + 0.18k, whose hundredths digit is always even,
// so rounding to tenths never meets a tie and the float noise of the conversion cannot change
// the text.
std::size_t FormatTemperatureTenths(int k, bool fahrenheit, char* out) {
    long long tenths = k;
    bool negative = k < 0;
    if (fahrenheit) {
        const long long hundredths = 18LL * k + 3200;
        tenths = hundredths >= 0 ? (hundredths + 5) / 10 : -((-hundredths + 5) / 10);
        negative = hundredths < 0; // -0.04 degF prints as "-0.0"
    }
    char digits[24];
    char* p = digits + sizeof digits;
    long long a = tenths < 0 ? -tenths : tenths;
    *--p = static_cast<char>('0' + a % 10);
    *--p = '.';
    a /= 10;
    do {
        *--p = static_cast<char>('0' + a % 10);
        a /= 10;
    } while (a);
    if (negative)
        *--p = '-';
    const std::size_t len = static_cast<std::size_t>(digits + sizeof digits - p);
    const std::size_t pad = len < 6 ? 6 - len : 0;
    for (std::size_t i = 0; i < pad; ++i)
        out[i] = ' ';
    std::memcpy(out + pad, p, len);
    return pad + len;
}

class LineDater {
public:
    void Append(std::string& out, uint32_t t, char d) {
        if (!m_valid || t < m_base || t - m_base >= 60 - static_cast<uint32_t>(m_tm.tm_sec)) {
            m_valid = ToLocalTime(t, m_tm);
            m_base = t;
            if (!m_valid)
                m_tm = std::tm{};
        }
        const int sec = m_tm.tm_sec + static_cast<int>(t - m_base);
        const int y = m_tm.tm_year + 1900, mo = m_tm.tm_mon + 1, day = m_tm.tm_mday;
        const int h = m_tm.tm_hour, mi = m_tm.tm_min;
        const long long days = DaysFromCivil(y, static_cast<unsigned>(mo),
                                             static_cast<unsigned>(day)) + 25569;
        const double frac = static_cast<double>(3600 * h + 60 * mi + sec) * 1000 * 1000 * 1000 *
                            (1.0 / 86400) * 10;
        char buf[96];
        if (y < 1000 || y > 9999 || days < 0) {
            const int n = std::snprintf(buf, sizeof buf,
                                        "\"%4d/%02d/%02d %2d:%02d'%02d\"%c%lld.%010.0f", y, mo,
                                        day, h, mi, sec, d, days, frac);
            out.append(buf, static_cast<std::size_t>(n));
            return;
        }
        char* p = buf;
        *p++ = '"';
        PutDigits(p, y, 4);
        *p++ = '/';
        PutDigits(p, mo, 2);
        *p++ = '/';
        PutDigits(p, day, 2);
        *p++ = ' ';
        PutDigits(p, h, 2, true);
        *p++ = ':';
        PutDigits(p, mi, 2);
        *p++ = '\'';
        PutDigits(p, sec, 2);
        *p++ = '"';
        *p++ = d;
        int width = 1;
        for (long long v = days; v >= 10; v /= 10)
            ++width;
        PutDigits(p, days, width);
        *p++ = '.';
        // Round to nearest, ties to even, as the %.0f conversion does.
        PutDigits(p, static_cast<long long>(std::nearbyint(frac)), 10);
        out.append(buf, static_cast<std::size_t>(p - buf));
    }

private:
    std::tm m_tm{};
    uint32_t m_base = 0;
    bool m_valid = false;
};

} // namespace

std::size_t FormatTemperatureText(int k, bool fahrenheit, char* out) {
    return FormatTemperatureTenths(k, fahrenheit, out);
}

std::string CZorvicDoc::BuildTextExport(int range) const {
    const char d = Delimiter(m_nDivideCode);
    std::string out;
    out += kTitleLine;
    out += "\"\"\r\n";
    char head[128];
    std::snprintf(head, sizeof head,
                  "\"Date/Time\"%c\"@date()\"%c\"Ch.1\"%c\"Ch.2\"%c\"Ch.3\"%c\"Ch.4\"%c\"Ch.5\"%c"
                  "\"Ch.6\"%c\"Ch.7\"%c\"Ch.8\"\r\n",
                  d, d, d, d, d, d, d, d, d);
    out += head;
    out += "\"\"";
    out += d;
    out += "\"\"";
    for (int number = 1; number <= kChannelCount; ++number) {
        const ChannelRecord* ch = GetChannel(number);
        out += d;
        if (ch && ch->present != 0)
            out += FormatUnit(ch->measureType, 1);
        else
            out += "\"\"";
    }
    out += "\r\n";

    // Times are kept in 64 bits so that stepping past the end of the u32 range stops the
    // walk instead of wrapping round to the start.
    constexpr uint64_t kExhausted = std::numeric_limits<uint64_t>::max();
    uint64_t T = range == 1 ? m_range.viewStart : m_range.dataStart;
    const uint64_t E = range == 1 ? m_range.viewEnd : m_range.dataEnd;
    const uint64_t S = m_range.minInterval ? m_range.minInterval : 1;

    struct Cursor {
        const ChannelRecord* ch = nullptr;
        int index = 0;
        uint64_t time = kExhausted;
        std::string text; // the last formatted cell
    };
    const bool fahrenheit = m_nUnitCF == 1;
    // The value text of a sample, exactly as FormatValue(type, 0, float(ToValue(code))) would
    // write it; temperatures take a fast path because they make up nearly every export.
    auto FormatCell = [&](Cursor& c, uint16_t code) -> std::string_view {
        const int type = c.ch->measureType;
        if (type == kTypeTemp13 || type == kTypeTemp14) {
            char buf[16];
            const std::size_t n = FormatTemperatureTenths(static_cast<int>(code) - 32768,
                                                          fahrenheit, buf);
            c.text.assign(buf, n);
        } else {
            c.text = FormatValue(type, 0, static_cast<float>(ToValue(code, type, 1)));
        }
        return c.text;
    };
    Cursor cursors[kChannelCount];
    for (int number = 1; number <= kChannelCount; ++number) {
        Cursor& c = cursors[number - 1];
        c.ch = GetChannel(number);
        if (!c.ch)
            continue;
        c.time = c.ch->startTime;
        while (CodeAt(*c.ch, c.index) != kCodeEnd && c.time < T) {
            ++c.index;
            c.time += c.ch->interval;
        }
        if (CodeAt(*c.ch, c.index) == kCodeEnd)
            c.time = kExhausted;
    }

    LineDater dater;
    std::string fields;
    fields.reserve(200);
    for (;;) {
        uint64_t next = kExhausted;
        for (const Cursor& c : cursors)
            next = std::min(next, c.time);
        if (next > T) {
            // Steps of T before the next sample carry no value: skip them in one go, landing
            // where stepping one by one would have landed.
            if (next == kExhausted || next > E)
                break;
            T += S * ((next - T) / S);
        }
        const uint64_t t = std::min(T, next);
        if (t > E)
            break;
        fields.clear();
        bool numeric = false;
        for (int n = 0; n < kChannelCount; ++n) {
            Cursor& c = cursors[n];
            fields += d;
            if (c.time != t) {
                fields += "\"\"";
                continue;
            }
            const uint16_t code = CodeAt(*c.ch, c.index);
            if (code == kCodeEnd) {
                fields += "\"\"";
                c.time = kExhausted;
                continue;
            }
            ++c.index;
            c.time += c.ch->interval;
            const int number = static_cast<int>(c.ch->number);
            if (m_bShow[static_cast<std::size_t>(number - 1)] == 0 || code == kCodeMissing) {
                fields += "\"\"";
            } else if (code == kCodeOver) {
                fields += "\"Over\"";
            } else if (code == kCodeUnder) {
                fields += "\"Under\"";
            } else {
                const std::string_view text = FormatCell(c, code);
                if (!text.empty()) {
                    fields += text;
                    numeric = true;
                }
            }
        }
        if (numeric) {
            dater.Append(out, static_cast<uint32_t>(t), d);
            out += fields;
            out += "\r\n";
        }
        if (t == T)
            T += S;
    }
    return out;
}

int CZorvicDoc::ExportText(int range, const std::string& path) {
    if (IsReadOnlyFile(path))
        return kFileFailed;
    return WriteFileAtomically(path, BuildTextExport(range)) ? kFileOk : kFileFailed;
}

} // namespace saroko
