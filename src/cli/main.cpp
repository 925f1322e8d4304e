// saroko-cli: the program's core on the command line, for batch work and scripts.
#include <QCoreApplication>
#include <clocale>
#include <cstring>
#include <iostream>
#include <memory>
#ifdef SAROKO_CLI_HAS_GUI
#include <QGuiApplication>
#endif

#include "cli/CliVerb.h"
#include "platform/QtSettingsStore.h"
#include "platform/Translations.h"

using namespace saroko::cli;

namespace {

void PrintOverallUsage(std::ostream& os) {
    os << "usage: saroko-cli [--lang ja|en] VERB [OPTIONS] ...\n\nverbs:\n";
    for (const Verb& v : Verbs())
        os << "  " << v.name
           << std::string(v.name && std::strlen(v.name) < 10 ? 10 - std::strlen(v.name) : 1, ' ')
           << v.summary << "\n";
    os << "\n'saroko-cli VERB --help' describes a verb.\n";
}

// Takes "--lang ja|en" (or "--lang=..") out of the arguments; false for a value that is neither.
bool TakeLanguage(std::vector<std::string>& args, std::string& choice) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--lang=", 0) == 0) {
            choice = args[i].substr(7);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        } else if (args[i] == "--lang") {
            choice = i + 1 < args.size() ? args[i + 1] : std::string();
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(std::min(i + 2, args.size())));
        } else {
            continue;
        }
        saroko::Language language;
        return saroko::ParseLanguage(choice, language);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
#ifdef SAROKO_CLI_HAS_GUI
    // The verbs that paint text need the GUI application; none opens a window.
    // The verb follows the optional language choice.
    int verbAt = 1;
    while (verbAt < argc && std::strncmp(argv[verbAt], "--lang", 6) == 0)
        verbAt += std::strcmp(argv[verbAt], "--lang") == 0 ? 2 : 1;
    bool paints = false;
    for (const char* verb : {"render", "report", "print-graph", "print-list"})
        paints = paints || (verbAt < argc && std::strcmp(argv[verbAt], verb) == 0);
    if (paints)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        paints ? std::make_unique<QGuiApplication>(argc, argv)
               : std::make_unique<QCoreApplication>(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    // The program's folders (kept downloads, transcripts) are the window program's.
    QCoreApplication::setOrganizationName(QString::fromUtf8(saroko::kOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(saroko::kApplication));
    // Numbers keep the decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string choice;
    if (!TakeLanguage(args, choice)) {
        std::cerr << "saroko-cli: --lang takes ja or en\n";
        return kExitUsage;
    }
    // Messages follow the program's language; what goes into files never does.
    const saroko::CQtSettingsStore store;
    saroko::InstallTranslations(
        choice.empty() ? saroko::LanguageOfStart(store)
                       : saroko::ResolveLanguage(choice, saroko::MessagesLocaleFromEnvironment()));
    if (args.empty()) {
        PrintOverallUsage(std::cerr);
        return kExitUsage;
    }
    const std::string verbName = args.front();
    args.erase(args.begin());
    if (verbName == "--help" || verbName == "-h" || verbName == "help") {
        PrintOverallUsage(std::cout);
        return kExitOk;
    }
    for (const Verb& v : Verbs()) {
        if (verbName != v.name)
            continue;
        if (WantsHelp(args)) {
            std::cout << v.usage;
            return kExitOk;
        }
        return v.run(args);
    }
    std::cerr << "saroko-cli: unknown verb '" << verbName << "'\n";
    PrintOverallUsage(std::cerr);
    return kExitUsage;
}
