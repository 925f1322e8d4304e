#include "core/settings/OverlaySettingsStore.h"

namespace saroko {

void COverlaySettingsStore::Overlay(std::string_view section, std::string_view entry,
                                    std::string_view value) {
    m_overlay[{std::string(section), std::string(entry)}] = std::string(value);
}

const std::string* COverlaySettingsStore::Find(std::string_view section,
                                               std::string_view entry) const {
    const auto it = m_overlay.find({std::string(section), std::string(entry)});
    return it == m_overlay.end() ? nullptr : &it->second;
}

int COverlaySettingsStore::GetInt(std::string_view section, std::string_view entry, int def) const {
    if (const std::string* v = Find(section, entry)) {
        int value = def;
        return ParseStoredInt(*v, value) ? value : def;
    }
    return m_base.GetInt(section, entry, def);
}

std::string COverlaySettingsStore::GetString(std::string_view section, std::string_view entry,
                                             std::string_view def) const {
    if (const std::string* v = Find(section, entry))
        return *v;
    return m_base.GetString(section, entry, def);
}

void COverlaySettingsStore::WriteInt(std::string_view section, std::string_view entry, int value) {
    m_overlay.erase({std::string(section), std::string(entry)});
    m_base.WriteInt(section, entry, value);
}

void COverlaySettingsStore::WriteString(std::string_view section, std::string_view entry,
                                        std::string_view value) {
    m_overlay.erase({std::string(section), std::string(entry)});
    m_base.WriteString(section, entry, value);
}

} // namespace saroko
