#pragma once
// The verbs of saroko-cli, in one table (CliVerbs.cpp): what each is called, what the overall
// usage says of it, whether it paints, which options it takes and what it runs.
#include <span>
#include <string_view>

namespace saroko::cli {

// Exit status: 0 success, 1 failure (message on stderr), 2 usage error.
enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

class CVerbOptions;

// Only a verb that paints starts a QGuiApplication (fonts, the offscreen platform); every other
// one runs on a QCoreApplication.
enum class Paints {
    kNever,
    kAlways,
    kWithOutput, // only when it writes a picture file (-o)
    kWithPdf,    // only when it writes a PDF file (--pdf)
};

struct Verb {
    const char* name;
    const char* summary; // one line of the overall usage
    const char* usage;   // the verb's --help
    Paints paints;
    void (*declare)(CVerbOptions& options); // adds the verb's options; may be null
    int (*run)(const CVerbOptions& options);
    // A verb made of subcommands ("recorder identify") has them here and no run of its own;
    // they share its name, usage and summary.
    std::span<const Verb> subverbs = {};
};

std::span<const Verb> Verbs();

// The verb called `name`, null when there is none.
const Verb* FindVerb(std::span<const Verb> verbs, std::string_view name);

} // namespace saroko::cli
