#pragma once
// A settings store that shows some entries with other values for one run without writing
// them: the demo start uses it to put a simulated recorder on COM1 while the user's own
// settings stay as they are. An entry the user writes during the run stops being overlaid.
#include <map>
#include <string>
#include <utility>

#include "core/settings/SettingsStore.h"

namespace saroko {

class COverlaySettingsStore final : public ISettingsStore {
public:
    explicit COverlaySettingsStore(ISettingsStore& base) : m_base(base) {}

    void Overlay(std::string_view section, std::string_view entry, std::string_view value);

    int GetInt(std::string_view section, std::string_view entry, int def) const override;
    std::string GetString(std::string_view section, std::string_view entry,
                          std::string_view def) const override;
    void WriteInt(std::string_view section, std::string_view entry, int value) override;
    void WriteString(std::string_view section, std::string_view entry,
                     std::string_view value) override;

private:
    const std::string* Find(std::string_view section, std::string_view entry) const;

    ISettingsStore& m_base;
    std::map<std::pair<std::string, std::string>, std::string> m_overlay;
};

} // namespace saroko
