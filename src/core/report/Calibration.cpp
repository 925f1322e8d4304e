#include "core/report/Calibration.h"

#include <cmath>
#include <cstdio>

#include "core/messages/Translate.h"
#include "core/text/TimeUtil.h"

namespace saroko {
namespace {

// Codes from here up are no values (over, under, missing, end).
constexpr uint16_t kMaxValueCode = kCodeOver - 1;

bool IsTemperature(uint8_t type) {
    return type == kTypeTemp13 || type == kTypeTemp14;
}

std::string Degrees(double v, bool sign) {
    char buf[32];
    std::snprintf(buf, sizeof buf, sign ? "%+.1f" : "%.1f", v + 0.0);
    return buf;
}

bool ReadDay(std::string_view text, int& y, int& m, int& d) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int i = 0; i < 3; ++i)
        for (std::size_t k = 0; k < lengths[i]; ++k) {
            const char c = text[starts[i] + k];
            if (c < '0' || c > '9')
                return false;
            parts[i] = parts[i] * 10 + (c - '0');
        }
    y = parts[0];
    m = parts[1];
    d = parts[2];
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return y >= 1970 && m >= 1 && m <= 12 && d >= 1 && d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

} // namespace

double CorrectedValue(const Correction& c, double raw) {
    switch (c.kind) {
    case Correction::kNone:
        return raw;
    case Correction::kOffset:
        return raw + c.offset;
    case Correction::kLine:
        break;
    }
    if (raw <= c.raw1)
        return raw + (c.true1 - c.raw1);
    if (raw >= c.raw2)
        return raw + (c.true2 - c.raw2);
    return c.true1 + (raw - c.raw1) * (c.true2 - c.true1) / (c.raw2 - c.raw1);
}

bool InCalibratedRange(const Correction& c, double raw) {
    return c.kind != Correction::kLine || (raw >= c.raw1 && raw <= c.raw2);
}

uint16_t CorrectedCode(const Correction& c, uint16_t code) {
    if (c.kind == Correction::kNone || code > kMaxValueCode)
        return code;
    const double raw = (static_cast<int>(code) - 32768) / 10.0;
    const double tenths = std::round(CorrectedValue(c, raw) * 10.0) + 32768;
    if (tenths < 0)
        return 0;
    if (tenths > kMaxValueCode)
        return kMaxValueCode;
    return static_cast<uint16_t>(tenths);
}

int CorrectChannel(ChannelRecord& ch, const Correction& c) {
    if (!IsTemperature(ch.measureType) || c.kind == Correction::kNone)
        return 0;
    int outside = 0;
    for (uint16_t& code : ch.samples) {
        if (code == kCodeEnd)
            break;
        if (code <= kMaxValueCode && !InCalibratedRange(c, (static_cast<int>(code) - 32768) / 10.0))
            ++outside;
        code = CorrectedCode(c, code);
    }
    return outside;
}

std::string CorrectionText(const Correction& c) {
    switch (c.kind) {
    case Correction::kNone:
        return TranslateText("Units", "なし");
    case Correction::kOffset:
        return Degrees(c.offset, true) + " °C";
    case Correction::kLine:
        break;
    }
    return Degrees(c.raw1, false) + " → " + Degrees(c.true1, false) + " °C, " +
           Degrees(c.raw2, false) + " → " + Degrees(c.true2, false) + " °C";
}

std::optional<std::string> ParseDay(std::string_view text) {
    int y = 0, m = 0, d = 0;
    if (!ReadDay(text, y, m, d))
        return std::nullopt;
    return std::string(text);
}

std::string LocalDay(uint32_t t) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return {};
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

bool PastDue(const Calibration& c, uint32_t t) {
    // Days in this form order as text.
    return !c.due.empty() && LocalDay(t) > c.due;
}

CalibrationCheck CheckCalibration(const Calibration& c) {
    if (!c.calibrated.empty() && !ParseDay(c.calibrated))
        return CalibrationCheck::kBadCalibratedDay;
    if (!c.due.empty() && !ParseDay(c.due))
        return CalibrationCheck::kBadDueDay;
    if (!c.calibrated.empty() && !c.due.empty() && c.due < c.calibrated)
        return CalibrationCheck::kDueBeforeCalibrated;
    const Correction& k = c.correction;
    if (k.kind == Correction::kLine && !(k.raw1 < k.raw2))
        return CalibrationCheck::kBadLine;
    return CalibrationCheck::kOk;
}

} // namespace saroko
