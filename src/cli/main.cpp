// saroko-cli: the program's core on the command line, for batch work and scripts.
#include <QCoreApplication>
#include <clocale>
#include <cstring>
#include <iostream>
#include <memory>
#ifdef SAROKO_CLI_HAS_GUI
#include <QGuiApplication>
#endif

#include "CliVerb.h"

using namespace saroko::cli;

namespace {

void PrintOverallUsage(std::ostream& os) {
    os << "usage: saroko-cli VERB [OPTIONS] ...\n\nverbs:\n";
    for (const Verb& v : Verbs())
        os << "  " << v.name << std::string(v.name && std::strlen(v.name) < 10 ? 10 - std::strlen(v.name) : 1, ' ')
           << v.summary << "\n";
    os << "\n'saroko-cli VERB --help' describes a verb.\n";
}

} // namespace

int main(int argc, char** argv) {
#ifdef SAROKO_CLI_HAS_GUI
    // render paints text, which needs the GUI application; it never opens a window.
    const bool paints = argc > 1 && std::strcmp(argv[1], "render") == 0;
    if (paints)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        paints ? std::make_unique<QGuiApplication>(argc, argv)
               : std::make_unique<QCoreApplication>(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    // Numbers keep the decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        PrintOverallUsage(std::cerr);
        return kExitUsage;
    }
    const std::string verbName = argv[1];
    if (verbName == "--help" || verbName == "-h" || verbName == "help") {
        PrintOverallUsage(std::cout);
        return kExitOk;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
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
