#include "core/settings/Language.h"

#include <cstdlib>

namespace saroko {

bool ParseLanguage(std::string_view text, Language& language) {
    if (text == "ja") {
        language = Language::kJapanese;
        return true;
    }
    if (text == "en") {
        language = Language::kEnglish;
        return true;
    }
    return false;
}

Language ResolveLanguage(std::string_view choice, std::string_view locale) {
    Language chosen;
    if (ParseLanguage(choice, chosen))
        return chosen;
    // "C.UTF-8" and "POSIX" are the locales of servers and containers: the program's own texts.
    const std::string_view name = locale.substr(0, locale.find_first_of("_.@"));
    if (name.empty() || name == "C" || name == "POSIX" || name == "ja")
        return Language::kJapanese;
    return Language::kEnglish;
}

std::string MessagesLocaleFromEnvironment() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value)
            return value;
    }
    return {};
}

} // namespace saroko
