#pragma once
// What the report dialog remembers between runs, in a settings section of its own: the
// limits (each on or off) and the activation energy. The window is the shown one each time.
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
    bool operator==(const ReportDialogSettings&) const = default;
};

// A stored text that is not a decimal number (or an energy that is not above 0) gives the
// default.
ReportDialogSettings LoadReportSettings(const ISettingsStore& store);
void SaveReportSettings(ISettingsStore& store, const ReportDialogSettings& settings);

} // namespace saroko
