#pragma once
// The language of the windows and messages. Japanese is the program's own; English is offered
// to users whose desktop speaks anything else. Files never depend on it.
#include <string>
#include <string_view>

namespace saroko {

enum class Language { kJapanese, kEnglish };

inline constexpr const char* kLanguageSection = "Language Section";
inline constexpr const char* kLanguageEntry = "Language";

// `choice` is the setting ("auto", "ja", "en"; anything else counts as "auto"); `locale` the
// POSIX locale name of messages ("ja_JP.UTF-8", "C", ...). Japanese locales and the C/POSIX
// locale give Japanese, every other locale English.
Language ResolveLanguage(std::string_view choice, std::string_view locale);

// The locale that decides the language of messages: LC_ALL, LC_MESSAGES, LANG, the first set.
std::string MessagesLocaleFromEnvironment();

// Parses "ja" / "en" (a --lang option); false for anything else.
bool ParseLanguage(std::string_view text, Language& language);

} // namespace saroko
