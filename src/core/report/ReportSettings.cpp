#include "core/report/ReportSettings.h"

#include <cmath>

#include "core/text/ParseDecimal.h"

namespace saroko {
namespace {

double ReadNumber(const ISettingsStore& store, const char* entry, double def) {
    double v = 0;
    int digits = 0;
    const std::string text = store.GetString(kReportSection, entry, "");
    return ParseDecimal(text, v, digits) == 1 && std::isfinite(v) ? v : def;
}

} // namespace

ReportDialogSettings LoadReportSettings(const ISettingsStore& store) {
    ReportDialogSettings s;
    s.useLow = store.GetInt(kReportSection, "UseLow", 0) != 0;
    s.low = ReadNumber(store, "Low", s.low);
    s.useHigh = store.GetInt(kReportSection, "UseHigh", 0) != 0;
    s.high = ReadNumber(store, "High", s.high);
    s.activationEnergy = ReadNumber(store, "ActivationEnergy", s.activationEnergy);
    if (s.activationEnergy <= 0)
        s.activationEnergy = kDefaultActivationEnergy;
    return s;
}

void SaveReportSettings(ISettingsStore& store, const ReportDialogSettings& s) {
    store.WriteInt(kReportSection, "UseLow", s.useLow ? 1 : 0);
    store.WriteString(kReportSection, "Low", FormatScale(s.low));
    store.WriteInt(kReportSection, "UseHigh", s.useHigh ? 1 : 0);
    store.WriteString(kReportSection, "High", FormatScale(s.high));
    store.WriteString(kReportSection, "ActivationEnergy", FormatScale(s.activationEnergy));
}

} // namespace saroko
