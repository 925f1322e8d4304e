// The options the verbs share, parsed in-process: each rule at its limits, and the one line a
// usage error prints.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <sstream>

#include "cli/CliOptions.h"
#include "core/document/ChannelRecord.h"
#include "core/document/LocalDateTime.h"

namespace saroko::cli {
namespace {

const Verb kTestVerb{"test", "", "USAGE\n", Paints::kNever, nullptr, nullptr};

// Standard output and error of one parse.
struct Printed {
    std::string out, err;
};

Printed Capture(const std::function<void()>& run) {
    std::ostringstream out, err;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
    run();
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    return {out.str(), err.str()};
}

void DeclareAll(CVerbOptions& o) {
    o.AddWindow();
    o.AddSize();
    o.AddScale();
    o.AddOutput();
    o.AddUnits();
    o.AddFlag("json");
}

TEST(CliOptions, SharedOptionsAndTheirOneLineErrors) {
    const std::string t0 = "2026/11/30 09:00:00", t1 = "2026/11/30 09:05:00",
                      before = "2026/11/30 08:59:59";
    // clang-format off
    const struct Row {
        const char* name;
        std::vector<std::string> args;
        const char* err; // empty: parsed
        std::function<void(const CVerbOptions&)> check;
    } rows[] = {
        {"no options: the defaults", {"a.klg"}, "", [](const CVerbOptions& o) {
            EXPECT_EQ(o.Files(), std::vector<std::string>{"a.klg"});
            EXPECT_FALSE(o.HasWindow() || o.Fahrenheit() || o.Has("json"));
            EXPECT_EQ(std::pair(o.Size().width, o.Size().height), std::pair(1280, 800));
            EXPECT_EQ(o.Scale(), 1.0);
            EXPECT_EQ(o.Output(), "");
        }},
        {"a window of five minutes", {"--from", t0, "--to=" + t1}, "", [](const CVerbOptions& o) {
            ASSERT_TRUE(o.From() && o.To());
            EXPECT_EQ(*o.To() - *o.From(), 300u);
        }},
        {"a window of no time", {"--from", t0, "--to", t0}, "", {}},
        {"one side alone", {"--to", t0}, "", [](const CVerbOptions& o) {
            EXPECT_TRUE(o.To() && !o.From() && o.HasWindow());
        }},
        {"--to a second before --from", {"--from", t0, "--to", before}, "saroko-cli test: --to lies before --from\n", {}},
        {"--from not a time", {"--from", "2026/13/30 09:00:00"}, "saroko-cli test: --from wants a local time as \"YYYY/MM/DD HH:MM:SS\"\n", {}},
        {"--to not a time", {"--to", "today"}, "saroko-cli test: --to wants a local time as \"YYYY/MM/DD HH:MM:SS\"\n", {}},
        {"the smallest view", {"--size", "1x225"}, "", [](const CVerbOptions& o) {
            EXPECT_EQ(std::pair(o.Size().width, o.Size().height), std::pair(1, 225));
        }},
        {"the largest view, X", {"--size", "16384X16384"}, "", {}},
        {"a pixel too low", {"--size", "1x224"}, "saroko-cli test: --size: the view is never lower than 225 pixels\n", {}},
        {"a pixel too wide", {"--size", "16385x800"}, "saroko-cli test: --size wants WIDTHxHEIGHT, for example 1280x800\n", {}},
        {"no width", {"--size", "0x800"}, "saroko-cli test: --size wants WIDTHxHEIGHT, for example 1280x800\n", {}},
        {"no height", {"--size", "800x"}, "saroko-cli test: --size wants WIDTHxHEIGHT, for example 1280x800\n", {}},
        {"a sign", {"--size", "+800x600"}, "saroko-cli test: --size wants WIDTHxHEIGHT, for example 1280x800\n", {}},
        {"scale 4 to the last pixel", {"--size", "4096x800", "--scale", "4"}, "", [](const CVerbOptions& o) {
            EXPECT_EQ(o.Scale(), 4.0);
        }},
        {"scale 4 a pixel beyond", {"--size", "4097x800", "--scale", "4"}, "saroko-cli test: --scale wants a ratio from 1 to 4, for example 2\n", {}},
        {"scale 1", {"--scale", "1"}, "", {}},
        {"scale below 1", {"--scale", "0.999"}, "saroko-cli test: --scale wants a ratio from 1 to 4, for example 2\n", {}},
        {"scale above 4", {"--scale", "4.001"}, "saroko-cli test: --scale wants a ratio from 1 to 4, for example 2\n", {}},
        {"scale with a unit", {"--scale", "2x"}, "saroko-cli test: --scale wants a ratio from 1 to 4, for example 2\n", {}},
        {"-o and --output", {"-o", "a.pdf", "--output", "b.png"}, "", [](const CVerbOptions& o) {
            EXPECT_EQ(o.Output(), "b.png");
        }},
        {"degF", {"--fahrenheit"}, "", [](const CVerbOptions& o) { EXPECT_EQ(o.Fahrenheit(), true); }},
        {"degC", {"--celsius"}, "", [](const CVerbOptions& o) { EXPECT_EQ(o.Fahrenheit(), false); }},
        {"both units", {"--celsius", "--fahrenheit"}, "saroko-cli test: --fahrenheit and --celsius exclude each other\n", {}},
        {"--lang after the verb", {"--lang", "en"}, "", [](const CVerbOptions& o) { EXPECT_EQ(o.Lang(), "en"); }},
        {"a language we do not speak", {"--lang", "fr"}, "saroko-cli: --lang takes ja or en\n", {}},
        {"an unknown option", {"a.klg", "--bogus"}, "saroko-cli test: unknown option --bogus\n", {}},
        {"an unknown letter", {"-x"}, "saroko-cli test: unknown option -x\n", {}},
        {"a value missing", {"--size"}, "saroko-cli test: option --size needs a value\n", {}},
        {"a flag given a value", {"--json=1"}, "saroko-cli test: option --json takes no value\n", {}},
        {"bytes of any encoding, and '-'", {"\x83\x65\x83\x58\x83\x67.klg", "-", "--json"}, "", [](const CVerbOptions& o) {
            EXPECT_EQ(o.Files(), (std::vector<std::string>{"\x83\x65\x83\x58\x83\x67.klg", "-"}));
            EXPECT_TRUE(o.Has("json"));
        }},
    };
    // clang-format on
    for (const Row& row : rows) {
        CVerbOptions o(kTestVerb);
        DeclareAll(o);
        bool parsed = false;
        const Printed p = Capture([&] { parsed = o.Parse(row.args); });
        EXPECT_EQ(p.err, row.err) << row.name;
        EXPECT_EQ(p.out, "") << row.name;
        EXPECT_EQ(parsed, *row.err == '\0') << row.name;
        if (!parsed) {
            EXPECT_EQ(o.ExitStatus(), kExitUsage) << row.name;
        } else if (row.check) {
            SCOPED_TRACE(row.name);
            row.check(o);
        }
    }
}

TEST(CliOptions, HelpWinsOverEverythingElse) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h", "--bogus"}, {"--size", "1x1", "--help"}}) {
        CVerbOptions o(kTestVerb);
        o.AddSize();
        bool parsed = true;
        const Printed p = Capture([&] { parsed = o.Parse(args); });
        EXPECT_EQ(std::tuple(parsed, o.ExitStatus(), p.out, p.err),
                  std::tuple(false, 0, std::string("USAGE\n"), std::string()))
            << args[0];
    }
}

// A side that lies beyond the data leaves a window that ends before it starts.
TEST(CliOptions, WindowAgainstTheData) {
    uint32_t end = 0;
    ASSERT_TRUE(ParseLocalDateTime("2026/11/30 09:00:00", end));
    const auto apply = [&](const char* from) {
        GraphRange range{};
        range.viewStart = end - 60;
        range.viewEnd = end;
        CVerbOptions o(kTestVerb);
        o.AddWindow();
        EXPECT_TRUE(o.Parse({"--from", from}));
        bool ok = false;
        const Printed p = Capture([&] { ok = o.ApplyWindow(range); });
        return std::pair(ok, p.err);
    };
    EXPECT_EQ(apply("2026/11/30 09:00:00"), std::pair(true, std::string()));
    EXPECT_EQ(
        apply("2026/11/30 09:00:01"),
        std::pair(false, std::string("saroko-cli test: the time window ends before it starts\n")));
}

TEST(CliOptions, ExtensionsWithoutRegardToCase) {
    // clang-format off
    const struct { const char* path; const char* ext; bool is; } rows[] = {
        {"out.pdf", "pdf", true}, {"out.Pdf", "pdf", true}, {"out.PDF", "pdf", true},
        {"out.pdf.txt", "pdf", false}, {"outpdf", "pdf", false}, {"pdf", "pdf", false},
        {"dir.png/out", "png", false}, {"a.PNG", "png", true}, {"a.pd", "pdf", false},
    };
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(HasExtension(row.path, row.ext), row.is) << row.path;
}

TEST(CliOptions, BeforeTheVerb) {
    // clang-format off
    const struct Row {
        std::vector<std::string> args;
        bool ok;
        GlobalOptions want;
    } rows[] = {
        {{"--lang", "en", "info", "--lang", "ja", "--bogus"}, true, {"en", false, false, false, {"info", "--lang", "ja", "--bogus"}}},
        {{"--verbose", "render"}, true, {"", true, false, false, {"render"}}},
        {{"--version"}, true, {"", false, false, true, {}}},
        {{"-h"}, true, {"", false, true, false, {}}},
        {{"--bogus", "info"}, false, {}},
        {{"--lang=de", "info"}, false, {}},
    };
    // clang-format on
    for (const Row& row : rows) {
        GlobalOptions g;
        bool ok = false;
        Capture([&] { ok = ParseGlobalOptions(row.args, g); });
        EXPECT_EQ(ok, row.ok) << row.args[0];
        if (ok) {
            EXPECT_EQ(std::tuple(g.lang, g.verbose, g.help, g.version, g.rest),
                      std::tuple(row.want.lang, row.want.verbose, row.want.help, row.want.version,
                                 row.want.rest))
                << row.args[0];
        }
    }
}

} // namespace
} // namespace saroko::cli
