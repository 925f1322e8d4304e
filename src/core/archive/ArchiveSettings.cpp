#include "core/archive/ArchiveSettings.h"

#include <algorithm>

#include "core/messages/Translate.h"

namespace saroko::archive {

std::optional<bool> ArchiveSetting(const std::vector<Event>& events, const std::string& name) {
    std::optional<bool> value;
    for (const Event& e : events)
        if (e.kind == EventKind::Setting && e.detail == name &&
            (e.newValue == "on" || e.newValue == "off"))
            value = e.newValue == "on";
    return value;
}

bool ReasonRequired(const std::optional<bool>& archiveSetting, bool userOption) {
    return archiveSetting.value_or(userOption);
}

bool ReasonGiven(const std::string& reason) {
    // Blanks of ASCII and the ideographic space (U+3000) are not a reason.
    for (std::size_t i = 0; i < reason.size(); ++i) {
        if (reason.compare(i, 3, "\xe3\x80\x80") == 0) {
            i += 2;
            continue;
        }
        if (reason[i] != ' ' && reason[i] != '\t' && reason[i] != '\n' && reason[i] != '\r')
            return true;
    }
    return false;
}

std::optional<SettingChange> ChangeSetting(const std::optional<bool>& now, const std::string& name,
                                           bool on, const std::string& reason,
                                           std::string& problem) {
    problem.clear();
    if (now && *now == on) {
        problem = TranslateText("Settings", "記録保管庫の設定はすでにそうなっています。");
        return std::nullopt;
    }
    if (!on && !ReasonGiven(reason)) {
        problem = TranslateText("Settings", "設定を切るには理由が必要です。");
        return std::nullopt;
    }
    return SettingChange{name, now ? (*now ? "on" : "off") : "", on ? "on" : "off", reason};
}

} // namespace saroko::archive
