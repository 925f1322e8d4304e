#include <gtest/gtest.h>

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

} // namespace
} // namespace saroko
