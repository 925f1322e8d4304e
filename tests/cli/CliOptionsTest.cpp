// The options the verbs share, parsed in-process: each rule at its limits, and the one line a
// usage error prints.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <sstream>

#include "cli/CliOptions.h"
#include "core/document/ChannelRecord.h"
#include "core/document/LocalDateTime.h"
#include "core/report/ReportSettings.h"
#include "core/text/ParseDecimal.h"

namespace saroko::cli {
namespace {

const Verb kTestVerb{"test", "", "USAGE\n", Paints::kNever, nullptr, nullptr};

// Standard output and error of `run`.
std::pair<std::string, std::string> Capture(const std::function<void()>& run) {
    std::ostringstream out, err;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
    run();
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    return {out.str(), err.str()};
}

// What a parse gave, in one line: files, window length, size, scale, output, unit, flag.
std::string Describe(const CVerbOptions& o) {
    std::ostringstream s;
    for (const std::string& f : o.Files())
        s << f << " ";
    if (o.HasWindow())
        s << "window " << (o.From() && o.To() ? std::to_string(*o.To() - *o.From()) : "one side")
          << " ";
    s << o.Size().width << "x" << o.Size().height << " *" << o.Scale() << " o=" << o.Output() << " "
      << (o.Fahrenheit() ? (*o.Fahrenheit() ? "F" : "C") : "-") << o.Lang()
      << (o.Has("json") ? " json" : "");
    return s.str();
}

// The common limits and each channel's, combined: a low above its high is refused whichever
// side comes from where; equal limits hold.
TEST(CliOptions, LimitsForAllAndPerChannel) {
    const auto describe = [](const CVerbOptions& o) {
        const ReportOptions& l = o.Limits();
        std::string s =
            (l.low ? FormatScale(*l.low) : "-") + "/" + (l.high ? FormatScale(*l.high) : "-");
        for (const ChannelLimits& c : l.channelLimits)
            s += " " + FormatChannelLimits(c);
        return s;
    };
    const std::string limits = "saroko-cli test: --limits ";
    // clang-format off
    const struct { std::vector<std::string> args; std::string err, got; } rows[] = {
        {{},                                                  "", "-/-"},
        {{"--low", "2", "--high", "8", "--limits", "2::30", "--limits=3:-1.5:"}, "", "2/8 2::30 3:-1.5:"},
        {{"--limits", "1:5:5", "--low", "5", "--limits", "2::5"}, "", "5/- 1:5:5 2::5"},
        {{"--low", "8.1", "--high", "8"},                     "saroko-cli test: --low lies above --high\n", ""},
        {{"--high", "warm"},                                  "saroko-cli test: --high wants a number\n", ""},
        {{"--limits", "2:9:8"},                               limits + "2:9:8: the low lies above the high\n", ""},
        {{"--low", "3", "--limits", "4::2.9"},                limits + "4::2.9: the low lies above the high\n", ""},
        {{"--high", "3", "--limits", "4:3.1:"},               limits + "4:3.1:: the low lies above the high\n", ""},
        {{"--limits", "8:1:", "--limits", "1:-2:-2"},         "", "-/- 8:1: 1:-2:-2"},
        {{"--limits", "9:1:2"},                               limits + "9:1:2: the channel is a number from 1 to 8\n", ""},
        {{"--limits", "0:1:2"},                               limits + "0:1:2: the channel is a number from 1 to 8\n", ""},
        {{"--limits", "1:cold:2"},                            limits + "1:cold:2: LOW and HIGH are numbers\n", ""},
        {{"--limits", "1::"},                                 limits + "1::: wants CH:LOW:HIGH, for example 2:2:8 or 3::30\n", ""},
        {{"--limits", "1::5", "--limits", "1:2:"},            limits + "1:2:: the channel is given twice\n", ""},
    };
    // clang-format on
    for (const auto& row : rows) {
        CVerbOptions o(kTestVerb);
        o.AddLimits();
        bool parsed = false;
        const auto [out, err] = Capture([&] { parsed = o.Parse(row.args); });
        EXPECT_EQ(std::tuple(out, err, parsed ? describe(o) : std::string()),
                  std::tuple(std::string(), row.err, row.got))
            << row.got << row.err;
        EXPECT_EQ(o.ExitStatus(), parsed ? kExitOk : kExitUsage) << row.err;
    }
}

TEST(CliOptions, SharedOptionsAndTheirOneLineErrors) {
    const std::string t0 = "2026/11/30 09:00:00", t1 = "2026/11/30 09:05:00";
    const std::string size = "saroko-cli test: --size wants WIDTHxHEIGHT, for example 1280x800\n";
    const std::string scale = "saroko-cli test: --scale wants a ratio from 1 to 4, for example 2\n";
    // clang-format off
    const struct { std::vector<std::string> args; std::string err, got; } rows[] = {
        {{"a.klg"},                             "", "a.klg 1280x800 *1 o= -"},
        {{"--from", t0, "--to=" + t1},          "", "window 300 1280x800 *1 o= -"},
        {{"--from", t0, "--to", t0},            "", "window 0 1280x800 *1 o= -"},
        {{"--to", t0},                          "", "window one side 1280x800 *1 o= -"},
        {{"--from", t0, "--to", "2026/11/30 08:59:59"}, "saroko-cli test: --to lies before --from\n", ""},
        {{"--from", "2026/13/30 09:00:00"},     "saroko-cli test: --from wants a local time as \"YYYY/MM/DD HH:MM:SS\"\n", ""},
        {{"--to", "today"},                     "saroko-cli test: --to wants a local time as \"YYYY/MM/DD HH:MM:SS\"\n", ""},
        {{"--size", "1x225"},                   "", "1x225 *1 o= -"},
        {{"--size", "16384X16384"},             "", "16384x16384 *1 o= -"},
        {{"--size", "1x224"},                   "saroko-cli test: --size: the view is never lower than 225 pixels\n", ""},
        {{"--size", "16385x800"},               size, ""},
        {{"--size", "0x800"},                   size, ""},
        {{"--size", "800x"},                    size, ""},
        {{"--size", "+800x600"},                size, ""},
        {{"--size", "4096x800", "--scale", "4"}, "", "4096x800 *4 o= -"},
        {{"--size", "4097x800", "--scale", "4"}, scale, ""},
        {{"--scale", "1"},                      "", "1280x800 *1 o= -"},
        {{"--scale", "0.999"},                  scale, ""},
        {{"--scale", "4.001"},                  scale, ""},
        {{"--scale", "2x"},                     scale, ""},
        {{"-o", "a.pdf", "--output", "b.png"},  "", "1280x800 *1 o=b.png -"},
        {{"--fahrenheit", "--lang", "en"},      "", "1280x800 *1 o= Fen"},
        {{"--celsius"},                         "", "1280x800 *1 o= C"},
        {{"--celsius", "--fahrenheit"},         "saroko-cli test: --fahrenheit and --celsius exclude each other\n", ""},
        {{"--lang", "fr"},                      "saroko-cli: --lang takes ja or en\n", ""},
        {{"a.klg", "--bogus"},                  "saroko-cli test: unknown option --bogus\n", ""},
        {{"-x"},                                "saroko-cli test: unknown option -x\n", ""},
        {{"--size"},                            "saroko-cli test: option --size needs a value\n", ""},
        {{"--json=1"},                          "saroko-cli test: option --json takes no value\n", ""},
        // A file name's bytes come back whatever their encoding; "-" is a name too.
        {{"\x83\x65\x83\x58\x83\x67.klg", "-", "--json"}, "", "\x83\x65\x83\x58\x83\x67.klg - 1280x800 *1 o= - json"},
    };
    // clang-format on
    for (const auto& row : rows) {
        CVerbOptions o(kTestVerb);
        o.AddWindow();
        o.AddSize();
        o.AddScale();
        o.AddOutput();
        o.AddUnits();
        o.AddFlag("json");
        bool parsed = false;
        const auto [out, err] = Capture([&] { parsed = o.Parse(row.args); });
        EXPECT_EQ(std::tuple(out, err, parsed ? Describe(o) : std::string()),
                  std::tuple(std::string(), row.err, row.got))
            << row.args[0];
        EXPECT_EQ(o.ExitStatus(), parsed ? kExitOk : kExitUsage) << row.args[0];
    }
    // --help wins over everything else and prints the usage to stdout.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--bogus", "-h"}, {"--size", "1x1", "--help"}}) {
        CVerbOptions o(kTestVerb);
        o.AddSize();
        bool parsed = true;
        const auto printed = Capture([&] { parsed = o.Parse(args); });
        EXPECT_EQ(std::tuple(parsed, o.ExitStatus(), printed.first, printed.second),
                  std::tuple(false, 0, std::string("USAGE\n"), std::string()))
            << args[0];
    }
}

// A side that lies beyond the data leaves a window that ends before it starts.
TEST(CliOptions, WindowAgainstTheData) {
    uint32_t end = 0;
    ASSERT_TRUE(ParseLocalDateTime("2026/11/30 09:00:00", end));
    for (const auto& [from, ok] :
         {std::pair{"2026/11/30 09:00:00", true}, {"2026/11/30 09:00:01", false}}) {
        GraphRange range{};
        range.viewStart = end - 60;
        range.viewEnd = end;
        CVerbOptions o(kTestVerb);
        o.AddWindow();
        ASSERT_TRUE(o.Parse({"--from", from}));
        bool applied = !ok;
        const auto printed = Capture([&] { applied = o.ApplyWindow(range); });
        EXPECT_EQ(
            std::pair(applied, printed.second),
            std::pair(
                ok,
                std::string(ok ? "" : "saroko-cli test: the time window ends before it starts\n")));
    }
}

TEST(CliOptions, ExtensionsWithoutRegardToCaseAndTheOptionsBeforeTheVerb) {
    // clang-format off
    const struct { const char* path; bool pdf; } names[] = {
        {"out.pdf", true}, {"out.Pdf", true}, {"out.PDF", true}, {"out.pdf.txt", false},
        {"outpdf", false}, {"pdf", false}, {"dir.pdf/out", false}, {"a.pd", false},
    };
    // clang-format on
    for (const auto& n : names)
        EXPECT_EQ(HasExtension(n.path, "pdf"), n.pdf) << n.path;

    // What follows the verb is the verb's, --lang and unknown options included.
    GlobalOptions g;
    ASSERT_TRUE(ParseGlobalOptions(
        {"--verbose", "--no-archive", "--lang", "en", "info", "--lang", "ja", "--no-archive"}, g));
    EXPECT_EQ(std::tuple(g.lang, g.verbose, g.help, g.version, g.rest, g.noArchive),
              std::tuple(std::string("en"), true, false, false,
                         std::vector<std::string>{"info", "--lang", "ja", "--no-archive"}, true));
    for (const auto& [arg, help] : {std::pair{"--version", false}, {"-h", true}}) {
        GlobalOptions asked;
        ASSERT_TRUE(ParseGlobalOptions({arg}, asked));
        EXPECT_EQ(std::pair(asked.help, asked.version), std::pair(help, !help)) << arg;
    }
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--x", "info"}, {"--lang=de", "info"}}) {
        GlobalOptions x;
        EXPECT_FALSE(Capture([&] { EXPECT_FALSE(ParseGlobalOptions(bad, x)); }).second.empty())
            << bad[0];
    }
}

} // namespace
} // namespace saroko::cli
