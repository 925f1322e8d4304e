// Delimited text export: one line per point in time, one column per channel.
#include <cstdio>
#include <cstring>
#include <limits>

#include "document/ZorvicDoc.h"
#include "files/FileIo.h"

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

// The date fields of one line: "YYYY/MM/DD HH:MM'SS" quoted, the delimiter, the serial date.
// Calendar fields are cached per local minute; both columns come from the same fields.
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
        char buf[96];
        const long days = static_cast<long>(DaysFromCivil(y, static_cast<unsigned>(mo),
                                                          static_cast<unsigned>(day)) +
                                            25569);
        const double frac = static_cast<double>(3600 * h + 60 * mi + sec) * 1000 * 1000 * 1000 *
                            (1.0 / 86400) * 10;
        const int n = std::snprintf(buf, sizeof buf, "\"%4d/%02d/%02d %2d:%02d'%02d\"%c%ld.%010.0f",
                                    y, mo, day, h, mi, sec, d, days, frac);
        out.append(buf, static_cast<std::size_t>(n));
    }

private:
    std::tm m_tm{};
    uint32_t m_base = 0;
    bool m_valid = false;
};

} // namespace

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
        // Formatted values by code, built on first use: every code formats the same way
        // throughout one export.
        std::vector<std::string> cache;
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
    std::string line;
    line.reserve(200);
    for (;;) {
        uint64_t t = T;
        for (const Cursor& c : cursors)
            t = std::min(t, c.time);
        if (t > E)
            break;
        line.clear();
        dater.Append(line, static_cast<uint32_t>(t), d);
        bool numeric = false;
        for (int n = 0; n < kChannelCount; ++n) {
            Cursor& c = cursors[n];
            line += d;
            if (c.time != t) {
                line += "\"\"";
                continue;
            }
            const uint16_t code = CodeAt(*c.ch, c.index);
            if (code == kCodeEnd) {
                line += "\"\"";
                c.time = kExhausted;
                continue;
            }
            ++c.index;
            c.time += c.ch->interval;
            const int number = static_cast<int>(c.ch->number);
            if (m_bShow[static_cast<std::size_t>(number - 1)] == 0 || code == kCodeMissing) {
                line += "\"\"";
            } else if (code == kCodeOver) {
                line += "\"Over\"";
            } else if (code == kCodeUnder) {
                line += "\"Under\"";
            } else {
                if (c.cache.empty())
                    c.cache.resize(65536);
                std::string& text = c.cache[code];
                if (text.empty()) {
                    const float v =
                        static_cast<float>(ToValue(code, c.ch->measureType, 1));
                    text = FormatValue(c.ch->measureType, 0, v);
                    if (text.empty())
                        text.assign(1, '\0'); // marks "formats to nothing"
                }
                if (text[0] != '\0') {
                    line += text;
                    numeric = true;
                }
            }
        }
        if (numeric) {
            line += "\r\n";
            out += line;
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
