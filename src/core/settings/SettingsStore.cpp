#include "core/settings/SettingsStore.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace saroko {

bool ParseStoredInt(std::string_view text, int& value) {
    std::string s(text);
    const char* p = s.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    value = static_cast<int>(v);
    return true;
}

int CMemorySettingsStore::GetInt(std::string_view section, std::string_view entry, int def) const {
    const auto it = m_values.find(KeyView{section, entry});
    if (it == m_values.end())
        return def;
    int v = def;
    return ParseStoredInt(it->second, v) ? v : def;
}

std::string CMemorySettingsStore::GetString(std::string_view section, std::string_view entry,
                                            std::string_view def) const {
    const auto it = m_values.find(KeyView{section, entry});
    return it == m_values.end() ? std::string(def) : it->second;
}

void CMemorySettingsStore::WriteInt(std::string_view section, std::string_view entry, int value) {
    WriteString(section, entry, std::to_string(value));
}

void CMemorySettingsStore::WriteString(std::string_view section, std::string_view entry,
                                       std::string_view value) {
    const auto it = m_values.find(KeyView{section, entry});
    if (it != m_values.end())
        it->second.assign(value);
    else
        m_values.emplace(std::make_pair(std::string(section), std::string(entry)), value);
    ++m_nWrites;
}

bool CMemorySettingsStore::Has(std::string_view section, std::string_view entry) const {
    return m_values.find(KeyView{section, entry}) != m_values.end();
}

} // namespace saroko
