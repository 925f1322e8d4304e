// Delimited text export: one line per point in time, one column per channel.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "core/document/RowMerge.h"
#include "core/document/ZorvicDoc.h"
#include "core/files/FileIo.h"

namespace saroko {
namespace {

// "＜ 測定ﾃﾞｰﾀ ﾘｽﾄ ＞" in CP932, with its quotes.
constexpr const char kTitleLine[] =
    "\"\x81\x83 \x91\xaa\x92\xe8\xc3\xde\xb0\xc0 \xd8\xbd\xc4 \x81\x84\"\r\n";

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
            m_minuteLen = 0;
        }
        const int sec = m_tm.tm_sec + static_cast<int>(t - m_base);
        const int y = m_tm.tm_year + 1900, mo = m_tm.tm_mon + 1, day = m_tm.tm_mday;
        const int h = m_tm.tm_hour, mi = m_tm.tm_min;
        const long long days =
            DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(day)) + 25569;
        const double frac =
            static_cast<double>(3600 * h + 60 * mi + sec) * 1000 * 1000 * 1000 * (1.0 / 86400) * 10;
        char buf[96];
        if (y < 1000 || y > 9999 || days < 0) {
            const int n =
                std::snprintf(buf, sizeof buf, "\"%4d/%02d/%02d %2d:%02d'%02d\"%c%lld.%010.0f", y,
                              mo, day, h, mi, sec, d, days, frac);
            out.append(buf, static_cast<std::size_t>(n));
            return;
        }
        if (m_minuteLen == 0)
            WriteMinute(y, mo, day, h, mi, days);
        char* p = buf;
        std::memcpy(p, m_minute, m_minuteLen);
        p += m_minuteLen;
        PutDigits(p, sec, 2);
        *p++ = '"';
        *p++ = d;
        std::memcpy(p, m_days, m_daysLen);
        p += m_daysLen;
        // Round to nearest, ties to even, as the %.0f conversion does.
        PutDigits(p, static_cast<long long>(std::nearbyint(frac)), 10);
        out.append(buf, static_cast<std::size_t>(p - buf));
    }

private:
    // The parts that stay the same for the whole minute: "\"YYYY/MM/DD HH:MM'" and "DAYS.".
    void WriteMinute(int y, int mo, int day, int h, int mi, long long days) {
        char* p = m_minute;
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
        m_minuteLen = static_cast<std::size_t>(p - m_minute);
        int width = 1;
        for (long long v = days; v >= 10; v /= 10)
            ++width;
        p = m_days;
        PutDigits(p, days, width);
        *p++ = '.';
        m_daysLen = static_cast<std::size_t>(p - m_days);
    }

    std::tm m_tm{};
    uint32_t m_base = 0;
    bool m_valid = false;
    char m_minute[24] = {};
    std::size_t m_minuteLen = 0;
    char m_days[24] = {};
    std::size_t m_daysLen = 0;
};

} // namespace

std::size_t FormatTemperatureText(int k, bool fahrenheit, char* out) {
    return FormatTemperatureTenths(k, fahrenheit, out);
}

namespace {

// The title, the column names and the unit of each channel that holds data.
void AppendExportHeader(std::string& out, const CZorvicDoc& doc, char d) {
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
        const ChannelRecord* ch = doc.GetChannel(number);
        out += d;
        if (ch && ch->present != 0)
            out += doc.FormatUnit(ch->measureType, 1);
        else
            out += "\"\"";
    }
    out += "\r\n";
}

// Room for one row's cells: one per channel of at most a delimiter and 63 characters, and
// the line end.
constexpr std::size_t kRowCellsSize = kChannelCount * 64 + 2;

char* PutText(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// One value cell; true when it holds a number. A value is written exactly as
// FormatValue(type, 0, float(ToValue(code))) would write it; temperatures take a fast path
// because they make up nearly every export.
bool PutExportCell(char*& p, const CZorvicDoc& doc, const ChannelRecord& ch, int32_t code) {
    if (doc.m_bShow[ch.number - 1] == 0 || code == kCodeMissing) {
        p = PutText(p, "\"\"");
        return false;
    }
    if (code == kCodeOver) {
        p = PutText(p, "\"Over\"");
        return false;
    }
    if (code == kCodeUnder) {
        p = PutText(p, "\"Under\"");
        return false;
    }
    const int type = ch.measureType;
    if (type == kTypeTemp13 || type == kTypeTemp14) {
        p += FormatTemperatureTenths(code - 32768, doc.m_nUnitCF == 1, p);
        return true;
    }
    const uint16_t sample = static_cast<uint16_t>(code);
    const std::string text =
        doc.FormatValue(type, 0, static_cast<float>(doc.ToValue(sample, type, 1)));
    p = PutText(p, std::string_view(text).substr(0, 63));
    return !text.empty();
}

} // namespace

std::string CZorvicDoc::BuildTextExport(int range) const {
    const char d = Delimiter(m_nDivideCode);
    std::string out;
    AppendExportHeader(out, *this, d);

    const ListChannels channels = ChannelsOf(*this);
    const uint32_t first = range == 1 ? m_range.viewStart : m_range.dataStart;
    const uint32_t last = range == 1 ? m_range.viewEnd : m_range.dataEnd;
    CDataListMerge merge(channels, first, last, m_range.minInterval);
    LineDater dater;
    char cells[kRowCellsSize];
    DataListRow row;
    // Rows are all about as wide as the first: once it is written, room for the rest is taken
    // in one step, so a long export is not copied each time the text outgrows its buffer.
    std::size_t rowsLeft = 0;
    for (const ChannelRecord* ch : channels)
        if (ch && ch->present && last >= first)
            rowsLeft += std::min<std::size_t>(ch->sampleCount,
                                              (last - first) / std::max(ch->interval, 1u) + 1);
    bool reserved = false;
    while (merge.Next(row)) {
        // A time whose every cell is blank (hidden, missing, Over or Under) is left out.
        char* p = cells;
        bool numeric = false;
        for (std::size_t n = 0; n < channels.size(); ++n) {
            *p++ = d;
            if (row.codes[n] == kNoSample)
                p = PutText(p, "\"\"");
            else if (PutExportCell(p, *this, *channels[n], row.codes[n]))
                numeric = true;
        }
        if (numeric) {
            *p++ = '\r';
            *p++ = '\n';
            const std::size_t before = out.size();
            dater.Append(out, row.time, d);
            out.append(cells, static_cast<std::size_t>(p - cells));
            if (!reserved) {
                reserved = true;
                out.reserve(out.size() + rowsLeft * (out.size() - before + 4));
            }
        }
    }
    return out;
}

int CZorvicDoc::ExportText(int range, const std::string& path) {
    if (IsReadOnlyFile(path))
        return kFileFailed;
    if (!WriteFileAtomically(path, BuildTextExport(range)))
        return kFileFailed;
    if (m_pObserver)
        m_pObserver->OnTextExported(path);
    return kFileOk;
}

} // namespace saroko
