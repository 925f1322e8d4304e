#pragma once
// What the report dialog remembers between runs, in a settings section of its own: the
// limits (each on or off) and the activation energy. The window is the shown one each time.
#include <string_view>

#include "core/report/ReportFigures.h"
#include "core/settings/SettingsStore.h"

namespace saroko {

inline constexpr const char* kReportSection = "Report Section";

struct ReportDialogSettings {
    bool useLow = false;
    double low = 0;
    bool useHigh = false;
    double high = 0;
    double activationEnergy = kDefaultActivationEnergy;
    std::vector<ChannelLimits> channelLimits; // stored as "2:1.5:8;3::30"
    bool operator==(const ReportDialogSettings&) const = default;
};

// "CH:LOW:HIGH" of the command line: a channel 1..8 and two decimal numbers, either of them
// empty for the common limit, not both.
enum class LimitsParse { kOk, kBadForm, kBadChannel, kBadNumber, kLowAboveHigh };
LimitsParse ParseChannelLimits(std::string_view text, ChannelLimits& out);
// The same text back: "2:1.5:8", "3::30".
std::string FormatChannelLimits(const ChannelLimits& limits);

// A stored text that is not a decimal number (or an energy that is not above 0) gives the
// default; a stored channel entry that does not parse is left out.
ReportDialogSettings LoadReportSettings(const ISettingsStore& store);
void SaveReportSettings(ISettingsStore& store, const ReportDialogSettings& settings);

} // namespace saroko
