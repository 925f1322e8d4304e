#include "core/report/ReportSettings.h"

#include <algorithm>
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

LimitsParse ParseChannelLimits(std::string_view text, ChannelLimits& out) {
    const auto first = text.find(':');
    const auto second = first == text.npos ? text.npos : text.find(':', first + 1);
    if (second == text.npos || text.find(':', second + 1) != text.npos)
        return LimitsParse::kBadForm;
    const std::string_view channel = text.substr(0, first);
    if (channel.size() != 1 || channel[0] < '1' || channel[0] > '0' + kChannelCount)
        return LimitsParse::kBadChannel;
    ChannelLimits limits;
    limits.channel = channel[0] - '0';
    const auto number = [](std::string_view field, std::optional<double>& slot) {
        if (field.empty())
            return true;
        double v = 0;
        int digits = 0;
        if (ParseDecimal(std::string(field), v, digits) != 1 || !std::isfinite(v))
            return false;
        slot = v;
        return true;
    };
    if (!number(text.substr(first + 1, second - first - 1), limits.low) ||
        !number(text.substr(second + 1), limits.high))
        return LimitsParse::kBadNumber;
    if (!limits.low && !limits.high)
        return LimitsParse::kBadForm;
    if (limits.low && limits.high && *limits.low > *limits.high)
        return LimitsParse::kLowAboveHigh;
    out = limits;
    return LimitsParse::kOk;
}

std::string FormatChannelLimits(const ChannelLimits& limits) {
    return std::to_string(limits.channel) + ':' +
           (limits.low ? FormatScale(*limits.low) : std::string()) + ':' +
           (limits.high ? FormatScale(*limits.high) : std::string());
}

ReportDialogSettings LoadReportSettings(const ISettingsStore& store) {
    ReportDialogSettings s;
    s.useLow = store.GetInt(kReportSection, "UseLow", 0) != 0;
    s.low = ReadNumber(store, "Low", s.low);
    s.useHigh = store.GetInt(kReportSection, "UseHigh", 0) != 0;
    s.high = ReadNumber(store, "High", s.high);
    s.activationEnergy = ReadNumber(store, "ActivationEnergy", s.activationEnergy);
    if (s.activationEnergy <= 0)
        s.activationEnergy = kDefaultActivationEnergy;
    const std::string text = store.GetString(kReportSection, "ChannelLimits", "");
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(';', at), text.size());
        ChannelLimits limits;
        if (ParseChannelLimits(std::string_view(text).substr(at, end - at), limits) ==
                LimitsParse::kOk &&
            std::none_of(s.channelLimits.begin(), s.channelLimits.end(),
                         [&](const ChannelLimits& l) { return l.channel == limits.channel; }))
            s.channelLimits.push_back(limits);
        at = end + 1;
    }
    return s;
}

void SaveReportSettings(ISettingsStore& store, const ReportDialogSettings& s) {
    store.WriteInt(kReportSection, "UseLow", s.useLow ? 1 : 0);
    store.WriteString(kReportSection, "Low", FormatScale(s.low));
    store.WriteInt(kReportSection, "UseHigh", s.useHigh ? 1 : 0);
    store.WriteString(kReportSection, "High", FormatScale(s.high));
    store.WriteString(kReportSection, "ActivationEnergy", FormatScale(s.activationEnergy));
    std::string limits;
    for (const ChannelLimits& l : s.channelLimits) {
        if (!limits.empty())
            limits += ';';
        limits += FormatChannelLimits(l); // appended: GCC 12 sees no overlap at -O3
    }
    store.WriteString(kReportSection, "ChannelLimits", limits);
}

} // namespace saroko
