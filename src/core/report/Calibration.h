#pragma once
// A sensor's calibration as its certificate states it: the number, the day it was calibrated,
// the day it is due again, and the correction found (an offset, or a straight line through two
// points from the raw reading to the true temperature). The stored samples never change; a
// corrected copy is made only where the user asks for one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/document/ChannelRecord.h"

namespace saroko {

struct Correction {
    enum Kind { kNone, kOffset, kLine };
    Kind kind = kNone;
    double offset = 0; // degC, added to the raw value
    // The line's two points, raw reading to true value, degC; raw1 < raw2.
    double raw1 = 0, true1 = 0, raw2 = 0, true2 = 0;
    bool operator==(const Correction&) const = default;
};

// The true value of a raw reading (degC). A line holds between its points; outside them the
// correction found at the nearer point is kept, since the certificate says nothing there.
double CorrectedValue(const Correction& c, double raw);
// Whether the certificate covers the reading (an offset covers every reading).
bool InCalibratedRange(const Correction& c, double raw);
// A temperature code corrected: the special codes (missing, over, under, end) stay as they
// are, a value is rounded to the code's tenth and held inside the codes that are values.
uint16_t CorrectedCode(const Correction& c, uint16_t code);
// Corrects every sample of a temperature channel in memory; other types are left alone.
// Returns how many real values lay outside the calibrated range.
int CorrectChannel(ChannelRecord& ch, const Correction& c);

// What the report and the lists say of a correction: "なし", "+0.3 °C",
// "-10.0 → -9.8 °C, 40.0 → 40.3 °C" (in the program's language).
std::string CorrectionText(const Correction& c);

struct Calibration {
    std::string certificate;
    std::string calibrated; // "YYYY-MM-DD", local calendar day
    std::string due;        // "YYYY-MM-DD": the last day the calibration holds
    Correction correction;
    bool operator==(const Calibration&) const = default;
};

// A calendar day as "YYYY-MM-DD", checked (month 1..12, the day in its month); nullopt else.
std::optional<std::string> ParseDay(std::string_view text);
// The local calendar day of a time, "YYYY-MM-DD".
std::string LocalDay(uint32_t t);
// Past due at `t`: the local day of `t` is after the due day. A calibration without a due
// day is never past due.
bool PastDue(const Calibration& c, uint32_t t);

// Why a calibration cannot be kept: 0 when it can.
enum class CalibrationCheck { kOk, kBadCalibratedDay, kBadDueDay, kDueBeforeCalibrated, kBadLine };
CalibrationCheck CheckCalibration(const Calibration& c);

} // namespace saroko
