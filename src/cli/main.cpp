// saroko-cli: the program's core on the command line, for batch work and scripts.
#include <QCoreApplication>
#include <clocale>
#include <cstring>
#include <iostream>
#include <memory>
#ifdef SAROKO_CLI_HAS_GUI
#include <QGuiApplication>
#endif
#ifdef _WIN32
#include <windows.h>
#endif

#include "SarokoVersion.h"
#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "cli/CliVerb.h"
#include "cli/QtMessages.h"
#include "core/archive/ArchiveSpool.h"
#include "core/messages/StringTable.h"
#include "platform/CommandLine.h"
#include "platform/QtSettingsStore.h"
#include "platform/Translations.h"
#include "platform/UserFolders.h"

using namespace saroko::cli;

namespace {

void PrintOverallUsage(std::ostream& os) {
    std::size_t width = 0;
    for (const Verb& v : Verbs())
        width = std::max(width, std::strlen(v.name));
    os << "usage: saroko-cli [--lang ja|en] [--verbose] [--no-archive|--archive FILE]\n"
          "                  VERB [OPTIONS] ...\n"
          "       saroko-cli --version\n\nverbs:\n";
    for (const Verb& v : Verbs())
        os << "  " << v.name << std::string(width + 2 - std::strlen(v.name), ' ') << v.summary
           << "\n";
    os << "\n'saroko-cli VERB --help' describes a verb. --verbose also shows Qt's own warnings\n"
          "(as SAROKO_QT_WARNINGS=1 does).\n";
}

#ifdef SAROKO_CLI_HAS_GUI
bool StartsGui(const Verb& verb, const CVerbOptions& options) {
    return verb.paints == Paints::kAlways ||
           (verb.paints == Paints::kWithOutput && !options.Output().empty()) ||
           (verb.paints == Paints::kWithPdf && options.Value("pdf"));
}
#endif

} // namespace

int main(int argc, char** argv) {
    // Qt's own warnings (a missing runtime folder, fonts) are not the program's messages.
    InstallQtMessageFilter();
    GlobalOptions global;
    saroko::FollowSystemTimeZone();
#ifdef _WIN32
    // The program writes UTF-8, as on every system; a console shows it as such.
    SetConsoleOutputCP(CP_UTF8);
#endif
    if (!ParseGlobalOptions(saroko::ProgramArguments(argc, argv), global))
        return kExitUsage;
    if (global.verbose)
        ShowQtMessages(true);
    if (global.version) {
        std::cout << "saroko-cli " SAROKO_VERSION "\n";
        return kExitOk;
    }
    std::vector<std::string>& args = global.rest;
    if (global.help || (!args.empty() && args.front() == "help")) {
        PrintOverallUsage(std::cout);
        return kExitOk;
    }
    if (args.empty()) {
        PrintOverallUsage(std::cerr);
        return kExitUsage;
    }
    const Verb* verb = FindVerb(Verbs(), args.front());
    if (!verb) {
        std::cerr << "saroko-cli: unknown verb '" << args.front() << "'\n";
        return kExitUsage;
    }
    args.erase(args.begin());
    const Verb* leaf = verb;
    if (!verb->subverbs.empty()) {
        // "recorder identify ...": the subcommand comes first.
        leaf = args.empty() ? nullptr : FindVerb(verb->subverbs, args.front());
        if (leaf) {
            args.erase(args.begin());
        } else {
            CVerbOptions options(*verb);
            if (options.Parse(args))
                return options.Fail(args.empty()
                                        ? "which " + std::string(verb->name) + " subcommand?"
                                        : "unknown subcommand '" + args.front() + "'");
            return options.ExitStatus();
        }
    }
    CVerbOptions options(*verb, leaf == verb ? nullptr : leaf);
    if (leaf->declare)
        leaf->declare(options);
    if (!options.Parse(args))
        return options.ExitStatus();

    int qtArgc = 1;
    std::unique_ptr<QCoreApplication> app;
#ifdef SAROKO_CLI_HAS_GUI
    if (StartsGui(*leaf, options)) {
        // Painting text needs the GUI application; no window is ever opened.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(qtArgc, argv);
    }
#endif
    if (!app)
        app = std::make_unique<QCoreApplication>(qtArgc, argv);
    // The program's folders (kept downloads, transcripts) are the window program's.
    QCoreApplication::setOrganizationName(QString::fromUtf8(saroko::kOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(saroko::kApplication));
    // Numbers keep the decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    // Messages follow the program's language; what goes into files never does.
    const std::string& choice = options.Lang().empty() ? global.lang : options.Lang();
    const saroko::PlaceMoveResult moved = saroko::MoveOlderUserFolders(); // before the settings
    const saroko::CQtSettingsStore store;
    saroko::InstallTranslations(
        choice.empty() ? saroko::LanguageOfStart(store)
                       : saroko::ResolveLanguage(choice, saroko::MessagesLocaleFromEnvironment()));
    if (!moved.failures.empty())
        PrintMessage(saroko::msg::kFolderMoveFailed, saroko::PlaceMoveFailureLines(moved));
    // Every file the verb reads or writes is recorded in the archive, unless asked not to.
    SetArchiveEnabled(!global.noArchive);
    SetArchivePath(global.archive);
    // A password on the command line is seen by every user of the machine.
    if (saroko::archive::ShownLocation(global.archive) != global.archive) {
        std::cerr << "saroko-cli: --archive: no password here; libpq reads it from ~/.pgpass,"
                     " a service file or PGPASSWORD\n";
        return 2;
    }
    const int status = leaf->run(options);
    SayArchiveMessage();
    return status;
}
