#pragma once
// What a product saw over a time window: per shown channel the sample counts, the extremes
// and their times, the average, the mean kinetic temperature and the runs outside the alarm
// limits. Values are in the shown unit, as ToValue gives them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/document/ZorvicDoc.h"

namespace saroko {

// J/(mol K), and the activation energy taken when none is given, in kJ/mol.
inline constexpr double kGasConstant = 8.314462618;
inline constexpr double kDefaultActivationEnergy = 83.144;

struct ReportOptions {
    std::optional<uint32_t> from; // default: the document's data range
    std::optional<uint32_t> to;
    std::optional<double> low; // in the shown unit
    std::optional<double> high;
    double activationEnergy = kDefaultActivationEnergy; // kJ/mol
};

struct Excursion {
    enum Kind { kHigh, kLow };
    Kind kind = kHigh;
    uint32_t start = 0;   // time of the run's first sample
    uint32_t end = 0;     // time of its last sample
    uint64_t seconds = 0; // samples in the run x interval
    bool operator==(const Excursion&) const = default;
};

struct ChannelFigures {
    int number = 0;
    std::string name; // CP932 bytes
    uint8_t type = kTypeTemp13;
    uint32_t interval = 0;
    int samples = 0; // everything but missing: real values, Over and Under
    int missing = 0;
    int over = 0;
    int under = 0;
    // Over the real values only; empty without one.
    std::optional<double> max;
    uint32_t maxTime = 0; // the first time the extreme occurs
    std::optional<double> min;
    uint32_t minTime = 0;
    std::optional<double> average;
    std::optional<double> mkt; // temperature channels only
    uint64_t secondsAboveHigh = 0;
    uint64_t secondsBelowLow = 0;
    std::vector<Excursion> excursions; // in time order
};

struct ReportFigures {
    uint32_t from = 0;
    uint32_t to = 0;
    bool fahrenheit = false;
    std::optional<double> low;
    std::optional<double> high;
    double activationEnergy = kDefaultActivationEnergy;
    std::vector<ChannelFigures> channels; // channels with data and shown, by number
};

// The figures over the samples whose time lies in [from, to].
ReportFigures ComputeReportFigures(const CZorvicDoc& doc, const ReportOptions& options);

// The texts of the report's cells: a duration as "h:mm:ss", a figure as the program formats
// values of its type ("---" without one).
std::string FormatDuration(uint64_t seconds);
std::string FigureText(const CZorvicDoc& doc, uint8_t type, const std::optional<double>& value);

// (Ea/R) / -ln(mean of exp(-Ea/(R T))) over temperatures in kelvin; Ea in kJ/mol.
double MeanKineticKelvin(const std::vector<double>& kelvin, double activationEnergy);
// The same figure, to the bit, over temperature codes (tenths of a degree above code 32768).
double MeanKineticOfCodes(const std::vector<uint16_t>& codes, double activationEnergy);

} // namespace saroko
