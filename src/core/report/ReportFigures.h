#pragma once
// What a product saw over a time window: per shown channel the sample counts, the extremes
// and their times, the average, the mean kinetic temperature and the runs outside the alarm
// limits. Values are in the shown unit, as ToValue gives them.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/document/ZorvicDoc.h"

namespace saroko {

// J/(mol K), and the activation energy taken when none is given, in kJ/mol.
inline constexpr double kGasConstant = 8.314462618;
inline constexpr double kDefaultActivationEnergy = 83.144;

// One channel's own limits; a side left empty takes the common limit.
struct ChannelLimits {
    int channel = 0; // 1..8
    std::optional<double> low;
    std::optional<double> high;
    bool operator==(const ChannelLimits&) const = default;
};

struct ReportOptions {
    std::optional<uint32_t> from; // default: the document's data range
    std::optional<uint32_t> to;
    std::optional<double> low; // in the shown unit, for every channel without its own
    std::optional<double> high;
    std::vector<ChannelLimits> channelLimits;           // at most one per channel
    double activationEnergy = kDefaultActivationEnergy; // kJ/mol
};

// The limits that hold for `channel`: its own where given, else the common ones.
std::pair<std::optional<double>, std::optional<double>> LimitsOf(const ReportOptions& options,
                                                                 int channel);
// The first channel whose limits put the low above the high, 0 when every channel's hold.
int ChannelWithCrossedLimits(const ReportOptions& options);

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
    uint32_t model = 0;
    // The limits this channel was judged by.
    std::optional<double> low;
    std::optional<double> high;
    // The times of its first and last sample inside the window (missing ones included).
    std::optional<uint32_t> firstTime;
    uint32_t lastTime = 0;
    bool cut = false; // the window left some of its samples out
    int samples = 0;  // everything but missing: real values, Over and Under
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
    // The times of the missing samples: all of them up to kListedMissing, else the first
    // kListedMissing; the first and last always (0 without any).
    std::vector<uint32_t> missingTimes;
    uint32_t firstMissing = 0;
    uint32_t lastMissing = 0;
};

// A report lists each missing sample's time up to this many in a channel, and beyond that
// gives their count, the first and the last.
inline constexpr int kListedMissing = 12;
inline bool ListsEveryMissing(const ChannelFigures& f) {
    return f.missing <= kListedMissing;
}

struct ReportFigures {
    uint32_t from = 0;
    uint32_t to = 0;
    bool fahrenheit = false;
    std::optional<double> low;
    std::optional<double> high;
    double activationEnergy = kDefaultActivationEnergy;
    std::vector<ChannelFigures> channels; // channels with data and shown, by number
};

// The span the figures cover: the earliest first and the latest last sample of the channels,
// nullopt when no channel has a sample in the window.
std::optional<std::pair<uint32_t, uint32_t>> SampledPeriod(const ReportFigures& r);
// The first and last sample of the shown channels in [from, to]; [from, to] without one.
std::pair<uint32_t, uint32_t> SampledWindow(const CZorvicDoc& doc, uint32_t from, uint32_t to);
// Whether the window left samples out, so that a report names it beside the period.
bool WindowCutsData(const ReportFigures& r);

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
