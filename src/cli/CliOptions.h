#pragma once
// The command line of saroko-cli, parsed by QCommandLineParser: the options before the verb,
// and each verb's options, among them the ones several verbs share, each with one rule and
// one message. A verb's declare function adds what it takes; main parses before any
// application object exists, so the parse decides which one to start.
//
//     void DeclareExport(CVerbOptions& o) { o.AddOutput(); o.AddWindow(); o.AddValue("delimiter");
//     } int RunExport(const CVerbOptions& o) { ... o.Output() ... o.Value("delimiter") ... }
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliVerb.h"
#include "core/report/ReportFigures.h"

namespace saroko {
struct GraphRange;
}

namespace saroko::cli {

// The size the render and print verbs paint the view at.
struct ViewSize {
    int width = 1280;
    int height = 800;
};
constexpr int kMaxViewSide = 16384;

// The pure rules of the shared options, for the parser and its tests.
// "WIDTHxHEIGHT" (or X): digits only, each side 1..16384, the height at least the view's 225.
// 1: good, 0: not that form, -1: lower than the view can be.
int ParseViewSize(std::string_view text, ViewSize& size);
// A device-pixel ratio from 1 to 4 that keeps both sides of `size` within 16384.
bool ParseScale(std::string_view text, const ViewSize& size, double& scale);
// Whether `path` ends in "." + `extension`, letters compared without regard to case.
bool HasExtension(std::string_view path, std::string_view extension);

class CVerbOptions {
public:
    // `verb` names the messages and gives the --help text; a subcommand ("recorder identify")
    // gives its parent there and itself as `subcommand`.
    explicit CVerbOptions(const Verb& verb, const Verb* subcommand = nullptr);
    ~CVerbOptions();
    CVerbOptions(const CVerbOptions&) = delete;
    CVerbOptions& operator=(const CVerbOptions&) = delete;

    // The shared options.
    void AddWindow(); // --from T, --to T: local times "YYYY/MM/DD HH:MM:SS", each optional
    void AddSize();   // --size WxH, default 1280x800
    void AddScale();  // --scale N, 1 to 4; checked against --size
    void AddOutput(); // -o, --output FILE
    void AddUnits();  // --fahrenheit | --celsius
    // --low X, --high Y for every channel, --limits CH:LOW:HIGH (repeatable) for one; a low
    // above its high is refused, the common ones and each channel's as they combine.
    void AddLimits();
    // A verb's own options, by their long name without the dashes.
    void AddValue(const char* name);
    void AddFlag(const char* name);
    // Refuses arguments that are not options ("identify takes no arguments").
    void TakeNoFiles() { m_bNoFiles = true; }

    // Parses the arguments after the verb (--lang, --help and -h are taken by every verb).
    // False when the verb must not run: ExitStatus() is 0 after --help (the usage printed to
    // stdout) and 2 after a usage error (one line naming the option printed to stderr).
    bool Parse(const std::vector<std::string>& args);
    int ExitStatus() const { return m_nExitStatus; }

    const std::vector<std::string>& Files() const { return m_files; }
    bool Has(const char* name) const;
    std::optional<std::string> Value(const char* name) const;
    // Every value of an option given more than once, in the order given.
    std::vector<std::string> Values(const char* name) const;
    const std::string& Lang() const { return m_lang; }

    std::optional<uint32_t> From() const { return m_from; }
    std::optional<uint32_t> To() const { return m_to; }
    bool HasWindow() const { return m_from || m_to; }
    // Sets the view window's given sides; false (line printed) when the window then ends
    // before it starts, one side lying beyond the data.
    bool ApplyWindow(GraphRange& range) const;
    ViewSize Size() const { return m_size; }
    double Scale() const { return m_dScale; }
    const std::string& Output() const { return m_output; } // empty when not given
    std::optional<bool> Fahrenheit() const { return m_fahrenheit; }
    // The limits as ReportOptions takes them (low, high, channelLimits; the rest default).
    const ReportOptions& Limits() const { return m_limits; }

    // A usage error the verb found itself: prints "saroko-cli VERB: problem", returns 2.
    int Fail(const std::string& problem) const;
    const Verb& GetVerb() const { return m_verb; }

private:
    struct Parser;
    bool Check();
    bool CheckLimits();

    const Verb& m_verb;
    const Verb* m_pSubcommand;
    std::unique_ptr<Parser> m_parser;
    bool m_bNoFiles = false, m_bWindow = false, m_bSize = false, m_bScale = false,
         m_bOutput = false, m_bUnits = false, m_bLimits = false;
    int m_nExitStatus = kExitOk;
    std::vector<std::string> m_files;
    std::string m_lang;
    std::optional<uint32_t> m_from, m_to;
    ViewSize m_size;
    double m_dScale = 1.0;
    std::string m_output;
    std::optional<bool> m_fahrenheit;
    ReportOptions m_limits;
};

// The options before the verb.
struct GlobalOptions {
    std::string lang;
    bool verbose = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> rest; // the verb and its arguments
    bool noArchive = false;        // --no-archive: the recordings archive is left alone
    std::string archive;           // --archive FILE: another archive than the user's
};
// False after a usage error (one line printed).
bool ParseGlobalOptions(const std::vector<std::string>& args, GlobalOptions& out);

// "ja" or "en"; false (line printed) for anything else.
bool CheckLanguageChoice(const std::string& choice);

} // namespace saroko::cli
