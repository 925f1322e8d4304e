#pragma once
// Verbs of saroko-cli register themselves here; each lives in its own Cmd*.cpp file.
#include <string>
#include <vector>

namespace saroko::cli {

// Exit status: 0 success, 1 failure (message on stderr), 2 usage error.
enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

using VerbFn = int (*)(const std::vector<std::string>& args);

struct Verb {
    const char* name;
    const char* summary; // one line for the overall usage text
    const char* usage;   // full usage text, printed for --help and usage errors
    VerbFn run;
};

// Registers a verb at static-initialisation time: `static VerbRegistrar reg{{...}};`
struct VerbRegistrar {
    explicit VerbRegistrar(const Verb& verb);
};

const std::vector<Verb>& Verbs();

// Prints the verb's usage to stderr and returns kExitUsage.
int UsageError(const Verb& verb, const std::string& problem);
bool WantsHelp(const std::vector<std::string>& args);

} // namespace saroko::cli
