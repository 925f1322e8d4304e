#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>
#include <memory>
#include <vector>

#include "core/messages/Translate.h"
#include "core/settings/SettingsStore.h"

// The program's translations are built into this library: register them explicitly.
static void InitTranslationResources() {
    Q_INIT_RESOURCE(saroko_i18n);
}

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

// The windows' classes live in namespaces that lupdate leaves out of the contexts it writes: a
// text not found under its full context ("saroko::ui::CDownloadDlg") is looked up under the
// class name alone.
class CClassNameTranslator final : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        QString t = QTranslator::translate(context, source, disambiguation, n);
        if (t.isNull() && context) {
            if (const char* name = std::strrchr(context, ':'))
                t = QTranslator::translate(name + 1, source, disambiguation, n);
        }
        return t;
    }
};

bool Load(Installed& state, const QString& name, const QStringList& folders) {
    auto translator = std::make_unique<CClassNameTranslator>();
    for (const QString& folder : folders) {
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator.get());
            state.translators.push_back(std::move(translator));
            return true;
        }
    }
    return false;
}

std::string TranslateWithQt(const char* context, const char* text) {
    return QCoreApplication::translate(context, text).toStdString();
}

} // namespace

bool InstallTranslations(Language language) {
    Installed& state = State();
    for (const auto& t : state.translators)
        QCoreApplication::removeTranslator(t.get());
    state.translators.clear();
    state.language = language;
    SetTranslateFn(&TranslateWithQt);
    if (language == Language::kJapanese) {
        // Qt's own texts; a Windows installation carries them beside the program.
        return Load(state, QStringLiteral("qtbase_ja"),
                    {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                     QCoreApplication::applicationDirPath() + QStringLiteral("/translations")});
    }
    InitTranslationResources();
    return Load(state, QStringLiteral("saroko_en"), {QStringLiteral(":/i18n")});
}

Language InstalledLanguage() {
    return State().language;
}

Language LanguageOfStart(const ISettingsStore& store) {
    return ResolveLanguage(store.GetString(kLanguageSection, kLanguageEntry, "auto"),
                           MessagesLocaleFromEnvironment());
}

} // namespace saroko
