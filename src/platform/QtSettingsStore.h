#pragma once
// The settings store on QSettings: on Windows the registry under organisation "PELNOR
// CORPORATION", application "Saroko"; elsewhere the file SettingsFile() names. Sections are
// QSettings groups, entries are keys.
#include <QString>
#include <memory>

#include "core/document/ZorvicDoc.h"
#include "core/settings/SettingsStore.h"

class QSettings;

namespace saroko {

class CQtSettingsStore final : public ISettingsStore {
public:
    CQtSettingsStore();
    // A store in an INI file of its own (tests, tools).
    explicit CQtSettingsStore(const std::string& iniPath);
    ~CQtSettingsStore() override;

    int GetInt(std::string_view section, std::string_view entry, int def) const override;
    std::string GetString(std::string_view section, std::string_view entry,
                          std::string_view def) const override;
    void WriteInt(std::string_view section, std::string_view entry, int value) override;
    void WriteString(std::string_view section, std::string_view entry,
                     std::string_view value) override;
    void Sync();

private:
    std::unique_ptr<QSettings> m_settings;
};

// CP932 both ways through Qt's converters; where this Qt build has none, the core's codec
// (ASCII and half-width katakana) stands in, so callers need not check.
QString FromCp932(std::string_view bytes);
std::string ToCp932(const QString& text);

// CP932 both ways through Qt's converters.
class CQtCp932Codec final : public ITextCodec {
public:
    std::string Cp932ToUtf8(std::string_view bytes) const override;
    std::string Utf8ToCp932(std::string_view text) const override;
    // False when the Qt build has no CP932 converter (the core's codec stands in then).
    static bool Available();
};

inline constexpr const char* kOrganisation = "PELNOR CORPORATION";
inline constexpr const char* kApplication = "Saroko";

} // namespace saroko
