#pragma once
// The controls a site sets once for the whole archive, not per user: each is a `setting` event
// (detail the setting's name, old and new its values "on" or "off", "" before the first), and
// its value now is the last such event's. Turning a control off needs a reason.
#include <optional>
#include <string>
#include <vector>

#include "core/archive/Archive.h"

namespace saroko::archive {

// "A reason is required for every change".
inline constexpr char kReasonRequiredSetting[] = "reason_required";

// The value the archive holds, nullopt while no event has set it.
std::optional<bool> ArchiveSetting(const std::vector<Event>& events, const std::string& name);
// Whether a change asks for a reason: the archive's setting once there is one; until then
// each user's own option, as before.
bool ReasonRequired(const std::optional<bool>& archiveSetting, bool userOption);

struct SettingChange {
    std::string detail, oldValue, newValue, reason;
};
// The event that sets `name` to `on`, or the problem ("" in `problem` when there is none):
// a setting already so needs no event, and turning one off without a reason is refused.
std::optional<SettingChange> ChangeSetting(const std::optional<bool>& now, const std::string& name,
                                           bool on, const std::string& reason,
                                           std::string& problem);
// A reason is given when it holds something besides blanks.
bool ReasonGiven(const std::string& reason);

} // namespace saroko::archive
