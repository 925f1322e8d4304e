#pragma once
// The per-user settings store: named sections holding integer and text entries. A missing
// section or entry yields the caller's default. Texts are UTF-8 at this interface.
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace saroko {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual int GetInt(std::string_view section, std::string_view entry, int def) const = 0;
    virtual std::string GetString(std::string_view section, std::string_view entry,
                                  std::string_view def) const = 0;
    virtual void WriteInt(std::string_view section, std::string_view entry, int value) = 0;
    virtual void WriteString(std::string_view section, std::string_view entry,
                             std::string_view value) = 0;
};

// Reads an integer entry the way the profile functions do: a stored text that is not a whole
// decimal number gives the default.
bool ParseStoredInt(std::string_view text, int& value);

// Keeps everything in memory, as text like the real store; used by tests and by tools that
// must not touch the user's settings.
class CMemorySettingsStore final : public ISettingsStore {
public:
    int GetInt(std::string_view section, std::string_view entry, int def) const override;
    std::string GetString(std::string_view section, std::string_view entry,
                          std::string_view def) const override;
    void WriteInt(std::string_view section, std::string_view entry, int value) override;
    void WriteString(std::string_view section, std::string_view entry,
                     std::string_view value) override;

    bool Has(std::string_view section, std::string_view entry) const;
    std::size_t WriteCount() const { return m_nWrites; }

private:
    // Ordered by section, then entry; a lookup compares views and builds no key strings.
    struct KeyLess {
        using is_transparent = void;
        using View = std::pair<std::string_view, std::string_view>;
        static View Of(const std::pair<std::string, std::string>& k) { return {k.first, k.second}; }
        static View Of(const View& k) { return k; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return Of(a) < Of(b);
        }
    };
    std::map<std::pair<std::string, std::string>, std::string, KeyLess> m_values;
    std::size_t m_nWrites = 0;
};

} // namespace saroko
