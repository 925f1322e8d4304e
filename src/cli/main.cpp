// saroko-cli: the program's core on the command line, for batch work and scripts.
#include <QCoreApplication>
#include <cstring>
#include <iostream>

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
    QCoreApplication app(argc, argv);
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
