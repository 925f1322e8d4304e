#include <gtest/gtest.h>

#include <string_view>

#include "messages/Translate.h"
#include "settings/Language.h"

namespace saroko {
namespace {

TEST(LanguageTest, SettingOverridesTheLocaleWhichFallsBackToJapaneseForC) {
    using L = Language;
    // clang-format off
    const struct { const char* choice; const char* locale; L expected; } cases[] = {
        {"auto", "ja_JP.UTF-8", L::kJapanese}, {"auto", "ja", L::kJapanese},
        {"auto", "C",           L::kJapanese}, {"auto", "C.UTF-8", L::kJapanese},
        {"auto", "POSIX",       L::kJapanese}, {"auto", "", L::kJapanese},
        {"auto", "en_US.UTF-8", L::kEnglish},  {"auto", "de_DE@euro", L::kEnglish},
        {"auto", "jv_ID",       L::kEnglish},  {"",     "fr_FR", L::kEnglish},
        {"ja",   "en_US.UTF-8", L::kJapanese}, {"en", "ja_JP.UTF-8", L::kEnglish},
        {"EN",   "C",           L::kJapanese}, // not a choice: the locale decides
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ResolveLanguage(c.choice, c.locale), c.expected) << c.choice << " " << c.locale;
}

// A translated printf format is used only when it converts the same arguments: a faulty
// translation must never make snprintf read an int as a string.
TEST(LanguageTest, TranslatedFormatsKeepTheirConversions) {
    SetTranslateFn([](const char*, const char* text) -> std::string {
        const std::string_view t = text;
        if (t == "%4d年 %2d月")
            return "%04d/%02d";
        if (t == "%2d時")
            return "%s h";
        return "%d%%";
    });
    EXPECT_EQ(TranslateFormat("Dates", "%4d年 %2d月"), "%04d/%02d");
    EXPECT_EQ(TranslateFormat("Dates", "%2d時"), "%2d時") << "a string where an int goes";
    EXPECT_EQ(TranslateFormat("Dates", "%d"), "%d%%") << "a literal percent converts nothing";
    EXPECT_EQ(TranslateFormat("Dates", "%d %d"), "%d %d") << "an argument left out";
    SetTranslateFn(nullptr);
    EXPECT_EQ(TranslateText("Menu", "開く(O)..."), "開く(O)...");
}

} // namespace
} // namespace saroko
