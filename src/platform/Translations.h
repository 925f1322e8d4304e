#pragma once
// Qt's translators for the language of the windows and messages: Qt's own Japanese texts
// (message box buttons, the file, print and colour dialogs) for Japanese, the program's
// English translation for English.
#include "core/settings/Language.h"

namespace saroko {

class ISettingsStore;

// Replaces the translators a previous call installed. Needs the running application; false
// when a translation file is missing (the texts then stay as written in the source).
bool InstallTranslations(Language language);
Language InstalledLanguage();

// The language of this start: the store's Language entry, else the user's locale.
Language LanguageOfStart(const ISettingsStore& store);

} // namespace saroko
