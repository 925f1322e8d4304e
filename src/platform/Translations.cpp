#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

#include "settings/SettingsStore.h"

namespace saroko {
namespace {

struct Installed {
    std::vector<std::unique_ptr<QTranslator>> translators;
    Language language = Language::kJapanese;
};

// Never destroyed: the translators must outlive the application at exit.
Installed& State() {
    static Installed* state = new Installed;
    return *state;
}

bool Load(Installed& state, const QString& name, const QStringList& folders) {
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : folders) {
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator.get());
            state.translators.push_back(std::move(translator));
            return true;
        }
    }
    return false;
}

} // namespace

bool InstallTranslations(Language language) {
    Installed& state = State();
    for (const auto& t : state.translators)
        QCoreApplication::removeTranslator(t.get());
    state.translators.clear();
    state.language = language;
    if (language == Language::kJapanese) {
        // Qt's own texts; a Windows installation carries them beside the program.
        return Load(state, QStringLiteral("qtbase_ja"),
                    {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                     QCoreApplication::applicationDirPath() + QStringLiteral("/translations")});
    }
    return true;
}

Language InstalledLanguage() {
    return State().language;
}

Language LanguageOfStart(const ISettingsStore& store) {
    return ResolveLanguage(store.GetString(kLanguageSection, kLanguageEntry, "auto"),
                           MessagesLocaleFromEnvironment());
}

} // namespace saroko
