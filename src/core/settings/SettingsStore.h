#pragma once
// The per-user settings store: named sections holding integer and text entries. A missing
// section or entry yields the caller's default. Texts are UTF-8 at this interface.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // Room for every entry the program writes, so that filling a new store never rehashes.
    CMemorySettingsStore() { m_values.reserve(128); }
    int GetInt(std::string_view section, std::string_view entry, int def) const override;
    std::string GetString(std::string_view section, std::string_view entry,
                          std::string_view def) const override;
    void WriteInt(std::string_view section, std::string_view entry, int value) override;
    void WriteString(std::string_view section, std::string_view entry,
                     std::string_view value) override;

    bool Has(std::string_view section, std::string_view entry) const;
    std::size_t WriteCount() const { return m_nWrites; }

private:
    // Keyed by section and entry; a lookup hashes and compares views and builds no strings.
    using KeyView = std::pair<std::string_view, std::string_view>;
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(const KeyView& k) const {
            const std::hash<std::string_view> h;
            return h(k.first) * 31 + h(k.second);
        }
        std::size_t operator()(const std::pair<std::string, std::string>& k) const {
            return (*this)(KeyView{k.first, k.second});
        }
    };
    struct KeyEqual {
        using is_transparent = void;
        static KeyView Of(const std::pair<std::string, std::string>& k) {
            return {k.first, k.second};
        }
        static KeyView Of(const KeyView& k) { return k; }
        template <class A, class B> bool operator()(const A& a, const B& b) const {
            return Of(a) == Of(b);
        }
    };
    std::unordered_map<std::pair<std::string, std::string>, std::string, KeyHash, KeyEqual>
        m_values;
    std::size_t m_nWrites = 0;
};

} // namespace saroko
