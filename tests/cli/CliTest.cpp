// Runs saroko-cli as a user would, on files it writes itself, with a private settings store.
#include <gtest/gtest.h>

#include <regex>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "SarokoVersion.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// clang-format off
struct CliRun { int status = -1; std::string out, err; };
// clang-format on

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("saroko-cli-" + std::to_string(::getpid()) + "-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir / "config");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string P(const std::string& name) const { return (dir / name).string(); }

    CliRun Cli(const std::string& args, const std::string& env = {}) const {
        const std::string cmd = env + " XDG_CONFIG_HOME='" + P("config") + "' XDG_DATA_HOME='" +
                                P("data") + "' XDG_CACHE_HOME='" + P("cache") +
                                "' '" SAROKO_CLI "' " + args + " >'" + P("out.log") + "' 2>'" +
                                P("err.log") + "'";
        CliRun r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = Read(P("out.log"));
        r.err = Read(P("err.log"));
        return r;
    }
    static std::string Read(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    void Settings(const std::string& ini) const {
        fs::create_directories(dir / "config" / "saroko");
        std::ofstream(dir / "config" / "saroko" / "saroko.conf") << ini;
    }
    std::string Demo(const std::string& name = "demo.klg") const {
        EXPECT_EQ(Cli("demo -o " + P(name)).status, 0);
        return P(name);
    }

    fs::path dir;
};

// How the channels are read and appended is the document's; here the output carries them.
TEST_F(CliTest, InfoDescribesTheChannelsAndAppendsFurtherFiles) {
    const std::string demo = Demo();
    CliRun r = Cli("info --json " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = Json::parse(r.out);
    ASSERT_EQ(j["channels"].size(), 8u);
    const auto& room = j["channels"][0];
    EXPECT_EQ(Json::array({room["number"], room["name"], room["sampleCount"], room["interval"],
                           room["modelCode"], j["channels"][2]["present"]}),
              Json::array({1, "室温", 1440, 60, 129, 0}));

    r = Cli("info " + demo + " " + demo + " " + demo + " " + demo + " " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Ch.8  "), std::string::npos);
    // The fifth file finds no free channel: the overflow question is answered on stderr.
    EXPECT_NE(r.err.find("読み込み確認"), std::string::npos);
    EXPECT_NE(r.out.find("max          24.6 ﾟC"), std::string::npos) << r.out;
}

// Every message about a file names it; a usage error is one line that names the option.
TEST_F(CliTest, MessagesNameTheFileAndTheOption) {
    const std::string demo = Demo();
    std::ofstream(P("bad.klg")) << "not a data file";
    // clang-format off
    const struct { std::string args; int status; std::string err; } cases[] = {
        {"info " + demo + " " + P("missing.klg"),   1, "指定されたファイルは存在しません。\n" + P("missing.klg") + "\n"},
        {"info " + P("bad.klg"),                    1, P("bad.klg") + ": not a readable data file\n"},
        {"export -o " + P("x.csv") + " " + demo,    1, "拡張子が違うか入力されていません。\n" + P("x.csv") + "\n"},
        {"export --delimiter pipe -o " + P("x.txt") + " " + demo, 2, "saroko-cli export: unknown delimiter 'pipe'\n"},
        {"save -o " + P("no/x.klg") + " " + demo,   1, "データの保存に失敗しました。\n" + P("no/x.klg") + "\n"},
        {"report --json --low 9 --high 3 " + demo,  2, "saroko-cli report: --low lies above --high\n"},
        {"report --json --low 3 --high 9 --bogus " + demo, 2, "saroko-cli report: unknown option --bogus\n"},
        {"render --size 640x224 -o " + P("g.png") + " " + demo, 2, "saroko-cli render: --size: the view is never lower than 225 pixels\n"},
        {"print-list --from \"2026/11/30 10:00:00\" --to \"2026/11/30 09:59:59\" -o " + P("l.pdf") + " " + demo,
                                                    2, "saroko-cli print-list: --to lies before --from\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CliRun r = Cli("--lang ja " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_TRUE(r.err.ends_with(c.err)) << c.args << "\n" << r.err;
        if (c.status == 2) {
            EXPECT_EQ(r.err, c.err) << c.args;
        }
    }
    EXPECT_FALSE(fs::exists(P("x.csv")) || fs::exists(P("x.txt")));
    // Equal limits are no contradiction.
    EXPECT_EQ(Cli("report --json --low 5 --high 5 " + demo).status, 0);
}

// Every verb that reads a file records it; a damaged archive costs one message, never the work,
// and is set aside only by repair.
TEST_F(CliTest, TheArchiveRecordsAndADamagedOneNeverStopsTheWork) {
    const std::string demo = Demo();
    auto archiveFile = [&]() -> std::string {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(dir / "data", ec))
            if (e.path().filename() == "archive.sqlite")
                return e.path().string();
        return {};
    };
    ASSERT_EQ(Cli("--no-archive info " + demo).status, 0);
    EXPECT_EQ(archiveFile(), "");
    ASSERT_EQ(Cli("info " + demo).status, 0);
    ASSERT_EQ(Cli("export -o " + P("d.txt") + " " + demo).status, 0);
    CliRun r = Cli("archive log --json");
    ASSERT_EQ(r.status, 0) << r.err;
    Json log = Json::parse(r.out);
    ASSERT_EQ(log.size(), 4u) << r.out;
    EXPECT_EQ(Json::array({log[0]["event"], log[0]["detail"], log[1]["event"], log[2]["event"],
                           log[3]["event"], log[3]["version"]}),
              Json::array({"created", "imported", "opened", "opened", "exported", SAROKO_VERSION}));
    EXPECT_NE(log[3]["new"].get<std::string>().find("d.txt sha256:"), std::string::npos);
    EXPECT_EQ(Cli("archive log 1").status, 0);
    r = Cli("archive log 2");
    EXPECT_EQ(std::pair(r.status, r.err),
              std::pair(1, std::string("saroko-cli archive: no recording 2\n")));
    EXPECT_EQ(Cli("archive log 0").status, 2);
    EXPECT_EQ(Cli("archive log x1").status, 2);
    r = Cli("archive list --name 冷蔵");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out; // no headings to a pipe
    // Each time says its zone: UTC marked Z, local times with their offset.
    EXPECT_TRUE(std::regex_search(r.out, std::regex("^1  \\d{4}-\\d\\d-\\d\\dT[0-9:]{8}Z  file  ")))
        << r.out;
    EXPECT_TRUE(std::regex_search(
        r.out, std::regex(" \\d{4}/\\d\\d/\\d\\d [0-9:]{8}[+-]\\d\\d:\\d\\d - \\d{4}/")))
        << r.out;
    r = Cli("archive list --headings");
    EXPECT_EQ(
        r.out.substr(0, r.out.find('\n')),
        "ID  FIRST SEEN (UTC)  SOURCE  RECORDER  CHANNELS  FIRST SAMPLE - LAST SAMPLE  SAMPLES"
        "  STATUS  PATH");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << r.out;
    r = Cli("archive list --name oven");
    EXPECT_EQ(r.out, "");

    const std::string path = archiveFile();
    ASSERT_NE(path, "");
    fs::remove(path + "-wal");
    fs::remove(path + "-shm");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(8192, 'Z');
    r = Cli("export -o " + P("e.txt") + " " + demo);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(fs::exists(P("e.txt")));
    EXPECT_NE(r.err.find("記録保管庫が壊れています。"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err; // one message
    EXPECT_EQ(Read(path), std::string(8192, 'Z'));
    EXPECT_EQ(Cli("archive verify").status, 1);

    r = Cli("archive repair");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("set aside as " + path + ".corrupt-"), std::string::npos) << r.out;
    EXPECT_EQ(Cli("archive verify").status, 0);
    r = Cli("archive repair");
    EXPECT_NE(r.out.find("nothing to repair"), std::string::npos) << r.out;
}

TEST_F(CliTest, HelpAndQtsOwnWarnings) {
    // The overall usage lines the summaries up in one column.
    const CliRun help = Cli("--help");
    std::istringstream lines(help.out.substr(help.out.find("verbs:\n") + 7));
    std::set<std::size_t> columns;
    int verbs = 0;
    for (std::string l; std::getline(lines, l) && !l.empty(); ++verbs)
        columns.insert(l.find_first_not_of(' ', l.find(' ', 2)));
    EXPECT_EQ(verbs, 15);
    EXPECT_EQ(columns.size(), 1u) << help.out;

    // Without a runtime folder Qt warns; a cron job must not mail that.
    const std::string demo = Demo();
    const std::string render = "render -o " + P("g.png") + " " + demo;
    const std::string noRuntime = "env -u XDG_RUNTIME_DIR";
    // clang-format off
    const struct { std::string env, args; bool warned; } cases[] = {
        {noRuntime,                         render,              false},
        {noRuntime + " SAROKO_QT_WARNINGS=1", render,            true},
        {noRuntime + " SAROKO_QT_WARNINGS=0", render,            false},
        {noRuntime,                         "--verbose " + render, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args, c.env);
        EXPECT_EQ(r.status, 0) << c.env << " " << c.args;
        EXPECT_EQ(r.err.find("XDG_RUNTIME_DIR") != std::string::npos, c.warned)
            << c.env << " " << c.args << "\n"
            << r.err;
        if (!c.warned) {
            EXPECT_EQ(r.err, "");
        }
    }
}

// The folders of the older name move at a start; one that cannot be moved whole stays as it
// was, and one message says so.
TEST_F(CliTest, OlderFoldersMoveAtTheStartOrStayWithOneMessage) {
    const fs::path config = dir / "config" / "PELNOR CORPORATION";
    const fs::path data = dir / "data" / "PELNOR CORPORATION" / "Saroko";
    const fs::path cache = dir / "cache" / "PELNOR CORPORATION" / "Saroko";
    for (const fs::path& p : {config, data / "downloads", cache})
        fs::create_directories(p);
    std::ofstream(config / "Saroko.conf") << "[Language%20Section]\nLanguage=en\n";
    std::ofstream(data / "downloads" / "a.klg") << "kept";
    fs::create_symlink("a.klg", cache / "link"); // no bytes of its own to check
    // One message, in the language of the settings just moved, names what stayed.
    const std::string err = Cli("info " + P("missing.klg")).err;
    EXPECT_TRUE(err.starts_with("Folder move error\n\n")) << err;
    EXPECT_EQ(err.rfind("Folder move error"), 0u) << err;
    EXPECT_NE(err.find(cache.string() + " (" + (cache / "link").string() + "): "),
              std::string::npos);
    EXPECT_EQ(Read(P("config/saroko/saroko.conf")), "[Language%20Section]\nLanguage=en\n");
    EXPECT_EQ(Read(P("data/saroko/downloads/a.klg")), "kept");
    EXPECT_FALSE(fs::exists(config) || fs::exists(data) || fs::exists(P("cache/saroko")));
    EXPECT_TRUE(fs::is_symlink(cache / "link"));
}

TEST_F(CliTest, MessagesFollowTheLanguageAndFilesDoNot) {
    const std::string absent = "info " + P("absent.klg");
    const std::string ja =
        "ファイル名指定エラー\n\n指定されたファイルは存在しません。\n" + P("absent.klg") + "\n";
    const std::string en = "File name error\n\nThe file does not exist.\n" + P("absent.klg") + "\n";
    // clang-format off
    // Which locale gives which language is the core's table; here each source reaches it once.
    const struct { const char* env; const char* option; const char* setting; const std::string& err; } cases[] = {
        {"LANG=en_US.UTF-8",          "",           "",     en},
        {"LANG=C",                    "",           "",     ja},
        {"LANG=C LC_MESSAGES=de_DE",  "",           "",     en},
        {"LANG=en_US.UTF-8",          "--lang ja ", "",     ja},
        {"LANG=ja_JP.UTF-8",          "--lang=en ", "",     en},
        {"LANG=en_US.UTF-8",          "",           "ja",   ja},
    };
    // clang-format on
    for (const auto& c : cases) {
        Settings(std::string("[Language%20Section]\nLanguage=") + c.setting + "\n");
        const CliRun r = Cli(c.option + absent, c.env);
        EXPECT_EQ(std::pair(r.status, r.err), std::pair(1, c.err))
            << c.env << " " << c.option << c.setting;
    }
    EXPECT_EQ(Cli("--lang fr " + absent).status, 2);

    // What goes into files is the same in both languages, byte for byte.
    const std::string demo = Demo();
    for (const std::string l : {"ja", "en"}) {
        ASSERT_EQ(Cli("--lang " + l + " export -o " + P(l + ".txt") + " " + demo).status, 0);
        ASSERT_EQ(Cli("--lang " + l + " save -o " + P(l + ".klg") + " " + demo).status, 0);
    }
    EXPECT_EQ(Read(P("ja.txt")), Read(P("en.txt")));
    EXPECT_EQ(Read(P("ja.klg")), Read(P("en.klg")));
    EXPECT_NE(Read(P("en.txt")).find("\x81\x83"), std::string::npos) << "the CP932 heading stays";
}

// The bytes of an export and of a saved file are the core's; here settings and options reach
// them, and save writes only the window into a native file.
TEST_F(CliTest, ExportAndSaveHonourSettingsOptionsAndTheWindow) {
    const std::string demo = Demo();
    // The user's settings: tab delimiter, degrees Fahrenheit.
    Settings("[Text%20File%20Section]\nDivideCode=2\n[Unit%20Display%20Section]\nUnitCF=1\n");
    ASSERT_EQ(Cli("export -o " + P("f.txt") + " " + demo).status, 0);
    const std::string f = Read(P("f.txt"));
    EXPECT_NE(f.find("\"Date/Time\"\t\"@date()\"\t\"Ch.1\""), std::string::npos);
    EXPECT_NE(f.find("\"\337F \""), std::string::npos);

    const std::string window = "--from \"2026/11/30 09:00:00\" --to \"2026/11/30 09:02:00\" ";
    ASSERT_EQ(
        Cli("export --celsius --delimiter semicolon " + window + "-o " + P("c.TXT") + " " + demo)
            .status,
        0);
    const std::string c = Read(P("c.TXT"));
    EXPECT_NE(c.find("\"\337C \";"), std::string::npos);
    int lines = 0;
    for (std::size_t pos = 0; (pos = c.find("\"2026/11/30  9:0", pos)) != std::string::npos; ++pos)
        ++lines;
    EXPECT_EQ(lines, 3);

    EXPECT_EQ(Cli("save -o " + P("new.txt") + " " + demo).status, 1);
    EXPECT_FALSE(fs::exists(P("new.txt")));
    ASSERT_EQ(Cli("save " + window + "-o " + P("part.klg") + " " + demo).status, 0);
    const auto k = Json::parse(Cli("info --json " + P("part.klg")).out);
    EXPECT_EQ(Json::array({k["channels"][0]["sampleCount"], k["channels"][1]["sampleCount"]}),
              Json::array({3, 3}));
}

// The text of a PDF as pdftotext reads it (layout kept), empty without the tool.
std::string PdfText(const std::string& pdf, const std::string& pages = "") {
    const std::string txt = pdf + ".txt";
    const std::string cmd = "pdftotext -layout " + pages + " '" + pdf + "' '" + txt + "'";
    if (std::system(cmd.c_str()) != 0)
        return {};
    std::ifstream f(txt, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// The text with each run of spaces as one: the layout's spacing is the page's, not the text's.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

// pdftotext ends every page with a form feed.
int PdfPages(const std::string& pdf) {
    const std::string text = PdfText(pdf);
    return text.empty() ? -1 : static_cast<int>(std::count(text.begin(), text.end(), '\f'));
}

// The SHA-256 of a file as the system's sha256sum gives it.
std::string Sha256Sum(const std::string& path) {
    std::string out(64, '\0');
    FILE* p = ::popen(("sha256sum '" + path + "'").c_str(), "r");
    const std::size_t n = p ? std::fread(out.data(), 1, out.size(), p) : 0;
    if (p)
        ::pclose(p);
    out.resize(n);
    return out;
}

TEST_F(CliTest, RenderAndPrintWriteTheFormatsTheyName) {
    const std::string demo = Demo();
    // PNG bytes under another name are never written: the name is refused before loading.
    for (const char* name : {"g.jpg", "g.pdf.txt", "g"}) {
        EXPECT_EQ(Cli("render -o " + P(name) + " " + demo).status, 2) << name;
        EXPECT_FALSE(fs::exists(P(name))) << name;
    }
    ASSERT_EQ(Cli("render -o " + P("g.PNG") + " " + demo).status, 0);
    EXPECT_EQ(Read(P("g.PNG")).substr(0, 4), "\x89PNG");
    ASSERT_EQ(Cli("render --legend -o " + P("g.pdf") + " " + demo).status, 0);
    // What the legend pane holds is the pane's tests'; here it is drawn, as text.
    EXPECT_NE(PdfText(P("g.pdf")).find("Calculation Range"), std::string::npos);

    // 100 rows of one-minute samples: 49 rows a page on A4 (rows per page: the data list's tests).
    const CliRun r =
        Cli("print-list --from \"2026/11/30 09:00:00\" --to \"2026/11/30 10:39:00\" -o " +
            P("l.pdf") + " " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PdfPages(P("l.pdf")), 3);
    EXPECT_NE(PdfText(P("l.pdf"), "-f 3 -l 3").find("2026/11/30 10:39'00"), std::string::npos);
    ASSERT_EQ(Cli("demo --start \"2026/12/01 09:00:00\" -o " + P("b.klg")).status, 0);
    ASSERT_EQ(Cli("print-graph --mono -o " + P("pg.pdf") + " " + demo + " " + P("b.klg")).status,
              0);
    EXPECT_EQ(PdfPages(P("pg.pdf")), 1);
    // Every page names its sources with their short hashes.
    const std::string hash = Sha256Sum(demo).substr(0, 12),
                      other = Sha256Sum(P("b.klg")).substr(0, 12);
    ASSERT_EQ(hash.size(), 12u);
    for (const auto& [pdf, footer] : {std::pair{"l.pdf", "demo.klg " + hash},
                                      {"pg.pdf", "demo.klg " + hash + " b.klg " + other}})
        for (int page = 1; page <= PdfPages(P(pdf)); ++page) {
            const std::string range = "-f " + std::to_string(page) + " -l " + std::to_string(page);
            EXPECT_NE(Squeezed(PdfText(P(pdf), range)).find("(SHA-256): " + footer),
                      std::string::npos)
                << pdf << " " << page;
        }
}

std::string LocalText(int64_t t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%4d/%02d/%02d %2d:%02d'%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

// The figures and how the runs are cut are ReportFiguresTest's; here each lands under its name,
// rounded to the shown decimal, in the unit asked for.
TEST_F(CliTest, ReportAsJsonAndAsPdf) {
    const std::string demo = Demo();
    CliRun r = Cli("report --json --high 24 --low 3.6 " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = Json::parse(r.out);
    EXPECT_EQ(Json::array({j["unit"], j["low"], j["high"], j["activationEnergy"]}),
              Json::array({"C", 3.6, 24.0, 83.144}));
    ASSERT_EQ(j["channels"].size(), 2u);
    const auto& room = j["channels"][0];
    EXPECT_EQ(Json::array({room["name"], j["channels"][1]["name"], room["samples"], room["missing"],
                           room["interval"], room["max"]}),
              Json::array({"室温", "冷蔵庫", 1438, 2, 60, 24.6}));
    for (const auto& ch : j["channels"]) {
        for (const char* f : {"max", "min", "average", "mkt"}) {
            const double v = ch[f].get<double>();
            EXPECT_DOUBLE_EQ(v * 10, std::round(v * 10)) << f << " has one decimal";
        }
    }
    // The room's two missing samples by their times, the fridge has none.
    ASSERT_EQ(room["missingTimes"].size(), 2u);
    EXPECT_EQ(Json::array({room["firstMissing"], room["lastMissing"]}),
              Json::array({room["missingTimes"][0], room["missingTimes"][1]}));
    EXPECT_TRUE(j["channels"][1]["missingTimes"].empty() &&
                j["channels"][1]["firstMissing"].is_null());
    const auto& e = room["excursions"][0];
    EXPECT_EQ(e["kind"], "high");
    EXPECT_EQ(e["seconds"].get<int64_t>(),
              e["end"].get<int64_t>() - e["start"].get<int64_t>() + 60);
    EXPECT_GT(room["secondsAboveHigh"].get<int>(), 0);
    EXPECT_GT(j["channels"][1]["secondsBelowLow"].get<int>(), 0);

    // Without limits they are null; in degF the figures follow the unit.
    r = Cli("report --json --fahrenheit --from \"2026/11/30 12:00:00\" " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto f = Json::parse(r.out);
    EXPECT_EQ(f["unit"], "F");
    EXPECT_TRUE(f["low"].is_null() && f["high"].is_null());
    EXPECT_EQ(f["channels"][0]["max"], 76.3);
    EXPECT_EQ(Cli("report " + demo).status, 2);
    EXPECT_EQ(Cli("report --json --high warm " + demo).status, 2);

    // The PDF: the graph with the limits, then the figures and the list of excursions.
    ASSERT_EQ(Cli("report --high 24 --low 3.6 -o " + P("r.pdf") + " " + demo).status, 0);
    const std::string first = PdfText(P("r.pdf"), "-f 1 -l 1");
    for (const char* s : {"24.0 ﾟC", "3.6 ﾟC"})
        EXPECT_NE(first.find(s), std::string::npos) << s << "\n" << first;
    // The window is named only when it leaves samples out; the period is the first and last
    // sample in it.
    EXPECT_EQ(first.find("指定範囲"), std::string::npos) << first;
    ASSERT_EQ(Cli("report --from \"2026/11/30 12:00:00\" --to \"2026/11/30 13:30:00\" -o " +
                  P("w.pdf") + " " + demo)
                  .status,
              0);
    // pdftotext gives the wave dash the program wrote as the one of the other code page.
    const std::string window =
        std::regex_replace(Squeezed(PdfText(P("w.pdf"), "-f 1 -l 1")), std::regex("〜"), "～");
    for (const char* s : {"指定範囲: 2026/11/30 12:00'00 ～ 2026/11/30 13:30'00",
                          "期間: 2026/11/30 12:00'00 ～ 2026/11/30 13:30'00 (最初と最後のｻﾝﾌﾟﾙ)"})
        EXPECT_NE(window.find(s), std::string::npos) << s << "\n" << window;
    const std::string rest = PdfText(P("r.pdf"), "-f 2");
    for (const char* s : {"室温", "冷蔵庫", "24.6", "1438", "上限超過", "下限未満"})
        EXPECT_NE(rest.find(s), std::string::npos) << s;
    const int64_t secs = e["seconds"];
    char duration[32];
    std::snprintf(duration, sizeof duration, "%d:%02d:%02d", int(secs / 3600), int(secs / 60 % 60),
                  int(secs % 60));
    // One line of the list holds the kind, local start and end and the duration.
    bool listed = false;
    std::istringstream lines(rest);
    for (std::string l; std::getline(lines, l);)
        listed =
            listed || (l.find("上限超過") != l.npos && l.find(LocalText(e["start"])) != l.npos &&
                       l.find(LocalText(e["end"])) != l.npos && l.find(duration) != l.npos);
    EXPECT_TRUE(listed) << LocalText(e["start"]) << " " << duration << "\n" << rest;
}

// "UTC+09:00": the zone's offset at `t`, as the report states it.
std::string OffsetText(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    const long a = std::labs(tm.tm_gmtoff);
    char text[48];
    std::snprintf(text, sizeof text, "UTC%c%02ld:%02ld", tm.tm_gmtoff < 0 ? '-' : '+', a / 3600,
                  a % 3600 / 60);
    return text;
}

// Where the figures come from: each file's hash as sha256sum has it, its archive id; the
// PDF/A report numbers its pages "n / m", states its times' offset, when and by what it was
// made, the recorder, and ends with the reviewer's lines.
TEST_F(CliTest, ReportCarriesItsSourcesAndEachChannelsLimits) {
    // Two recordings: the second starts a day later. A file of the same bytes again would be
    // the same recording, named once.
    const std::string demo = Demo(), second = P("second.klg");
    ASSERT_EQ(Cli("demo --start \"2026/12/01 09:00:00\" -o " + second).status, 0);
    CliRun r =
        Cli("--no-archive report --json --low 3 --high 24 --limits 2::6 " + demo + " " + second);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = Json::parse(r.out);
    // Each read again when the report is made: unchanged, so verified.
    EXPECT_EQ(j["sources"],
              Json::parse(R"([{"path": ")" + demo + R"(", "sha256": ")" + Sha256Sum(demo) +
                          R"(", "archive_id": null, "archived_sha256": null, "verified": true},)" +
                          R"({"path": ")" + second + R"(", "sha256": ")" + Sha256Sum(second) +
                          R"(", "archive_id": null, "archived_sha256": null, "verified": true}])"));
    EXPECT_TRUE(j.contains("chain_head") && j["chain_head"].is_null());
    // What the PDF states beside, as keys of their own: when, with the offset then, by which
    // version, the recorders and the data's offsets.
    const std::time_t made = j["made_at"].get<std::time_t>();
    EXPECT_LE(std::abs(made - std::time(nullptr)), 60);
    EXPECT_TRUE(j["made_at_local"].get<std::string>().ends_with(" (" + OffsetText(made) + ")"));
    EXPECT_EQ(j["made_offset"], OffsetText(made));
    const std::string cliVersion = Cli("--version").out;
    EXPECT_EQ("saroko-cli " + j["program_version"].get<std::string>() + "\n", cliVersion);
    EXPECT_EQ(j["recorder_models"], Json::parse(R"([{"code": 129, "name": "KM-41"}])"));
    EXPECT_EQ(j["utc_offsets"], Json::array({OffsetText(j["from"].get<std::time_t>())}));
    // Who made it: the account and host the archive's events carry, archive or not.
    EXPECT_FALSE(j["made_by"]["user"].get<std::string>().empty());
    EXPECT_FALSE(j["made_by"]["host"].get<std::string>().empty());
    // With the archive: two files of the same bytes are one recording, named once; the chain
    // has a head.
    const auto kept = Json::parse(Cli("report --json " + demo + " " + Demo("copy.klg")).out);
    ASSERT_EQ(kept["sources"].size(), 1u);
    EXPECT_TRUE(kept["sources"][0]["archive_id"].is_number_integer());
    EXPECT_EQ(kept["chain_head"].get<std::string>().size(), 64u);
    EXPECT_EQ(kept["made_by"], j["made_by"]);
    const auto event = Json::parse(Cli("archive log --json").out);
    ASSERT_TRUE(event.is_array() && !event.empty()) << event;
    EXPECT_EQ(Json::array({event.back()["user"], event.back()["host"]}),
              Json::array({j["made_by"]["user"], j["made_by"]["host"]}));
    // The report's event is about the recording its sources name.
    EXPECT_EQ(event.back()["event"], "reported");
    EXPECT_EQ(event.back()["recording"], kept["sources"][0]["archive_id"]);
    // The common limits where a channel has none of its own; the runs follow its own.
    ASSERT_EQ(j["channels"].size(), 4u);
    const auto& fridge = j["channels"][1];
    EXPECT_EQ(Json::array({j["channels"][0]["low"], j["channels"][0]["high"], fridge["low"],
                           fridge["high"], j["low"], j["high"]}),
              Json::array({3.0, 24.0, 3.0, 6.0, 3.0, 24.0}));
    EXPECT_EQ(fridge["excursions"][0]["kind"], "high");
    EXPECT_EQ(Cli("report --json --limits 2::6 --low 7 " + demo).status, 2);
    // Without --limits the channels carry no limits of their own, as before.
    EXPECT_FALSE(Json::parse(Cli("report --json " + demo).out)["channels"][0].contains("low"));

    ASSERT_EQ(Cli("report --low 3 --limits 2::6 -o " + P("r.pdf") + " " + demo).status, 0);
    const int pages = PdfPages(P("r.pdf"));
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        const std::string range = "-f " + std::to_string(page) + " -l " + std::to_string(page);
        const std::string number = std::to_string(page) + " / " + std::to_string(pages);
        EXPECT_NE(PdfText(P("r.pdf"), range).find(number), std::string::npos) << number;
    }
    const std::string text = Squeezed(PdfText(P("r.pdf")));
    const std::string version = Cli("--version").out.substr(11); // after "saroko-cli "
    ASSERT_TRUE(version.ends_with("\n"));
    for (const std::string& s :
         {Sha256Sum(demo),
          "時刻はすべて現地時間 (" + OffsetText(j["from"].get<std::time_t>()) + ") です。",
          "(" + OffsetText(std::time(nullptr)) + ") ﾌﾟﾛｸﾞﾗﾑ", std::string("KM-41"),
          "Saroko " + version.substr(0, version.size() - 1), std::string("確認者 氏名"),
          std::string("署名"), std::string("Ch.2 冷蔵庫 の限度: 下限 3.0 ﾟC 上限 6.0 ﾟC")})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    const auto last = text.rfind("確認者 氏名");
    EXPECT_GT(last, text.rfind('\f', text.size() - 2)) << "on the last page";
    EXPECT_NE(Read(P("r.pdf")).find(R"(pdfaid:part="1" pdfaid:conformance="B")"),
              std::string::npos);
}

TEST_F(CliTest, DownloadRefusesAnOutputItCannotWriteBeforeTheRecorderIsAsked) {
    std::ofstream(P("locked.klg")) << "x";
    fs::permissions(P("locked.klg"), fs::perms::owner_read);
    fs::create_directories(P("folder.klg"));
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {P("missing/dl.klg"), "データの保存に失敗しました。"},
        {P("folder.klg"),     "データの保存に失敗しました。"},
        {P("dl.txt"),         "拡張子が違うか入力されていません。"},
        {P("locked.klg"),     "読み取り専用ファイルのため上書き保存できません。"},
    };
    // clang-format on
    for (const auto& [out, text] : cases) {
        // A device that does not exist: talking to it would end in the port's open error.
        const CliRun r = Cli("recorder download --device " + P("no-tty") + " -o " + out);
        EXPECT_EQ(r.status, 1) << out;
        EXPECT_NE(r.err.find(text), std::string::npos) << out << "\n" << r.err;
        EXPECT_EQ(r.err.find("シリアルポート"), std::string::npos) << out << "\n" << r.err;
    }
}

// The archive verbs' words, keys and exit statuses, on a kept download (a file found in the
// downloads folder when the archive is made) and a file opened from elsewhere.
TEST_F(CliTest, ArchiveVerbsNameWhatTheyFoundAndExitByIt) {
    const std::string demo = Demo(), kept = P("data/saroko/downloads/20261207-083000.klg");
    fs::create_directories(P("data/saroko/downloads"));
    ASSERT_EQ(Cli("demo --start \"2026/12/01 00:00:00\" -o " + kept).status,
              0); // bytes of their own
    ASSERT_EQ(Cli("info " + demo).status, 0);
    const Json list = Json::parse(Cli("archive list --json").out);
    const Json log = Json::parse(Cli("archive log --json").out);
    ASSERT_EQ(std::pair(list.size(), log.size()), std::pair(std::size_t{2}, std::size_t{3})) << log;
    EXPECT_EQ(Json::array({list[0]["source"], list[0]["size"], list[0]["status"],
                           list[0]["kept_files"][0]["path"], list[0]["kept_files"][0]["kept_at"],
                           list[1]["source"], list[1]["size"]}),
              Json::array({"download", fs::file_size(kept), "unverified", kept, log[0]["time_utc"],
                           "file", fs::file_size(demo)}));
    std::tm tm{};
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &tm);
    EXPECT_EQ(log[0]["utc_offset_minutes"], tm.tm_gmtoff / 60);
    CliRun r = Cli("archive verify --json");
    EXPECT_EQ(r.status, 0) << r.out;
    Json v = Json::parse(r.out);
    EXPECT_EQ(Json::array({v["holds"], v["events"], v["recordings"], v["kept_files"],
                           v["chain_head"], v["chain_break"], v["files"]}),
              Json::array({true, 3, 2, 1, log[2]["hash"], nullptr, Json::array()}));
    EXPECT_EQ(Cli("archive verify").out,
              "chain holds: 3 events\nkept files hold: 1 kept files, 2 recordings\n");
    r = Cli("verify " + kept + " " + demo);
    EXPECT_EQ(r.status, 0) << r.err;
    for (const auto& [file, n, source] :
         {std::tuple(kept, 0, "downloaded"), std::tuple(demo, 1, "file")})
        EXPECT_NE(r.out.find(file + ": recording " + std::to_string(n + 1) + ", first seen " +
                             list[n]["first_seen"].get<std::string>() + " (" + source +
                             "), recorder KM-41\n"),
                  std::string::npos)
            << r.out;

    // The kept file changed, then gone: each named with what was expected and found.
    const std::string expected = Sha256Sum(kept);
    std::ofstream(kept, std::ios::binary | std::ios::app) << "y";
    const std::string found = Sha256Sum(kept);
    r = Cli("archive verify --json");
    EXPECT_EQ(r.status, 1);
    v = Json::parse(r.out);
    const Json& f = v["files"][0];
    EXPECT_EQ(Json::array({v["holds"], v["kept_files"], v["files"].size(), f["recording"],
                           f["path"], f["expected"], f["found"], f["problem"]}),
              Json::array({false, 1, 1, 1, kept, expected, found, "changed"}));
    r = Cli("archive verify");
    EXPECT_EQ(std::pair(r.status, r.out),
              std::pair(1, "chain holds: 3 events\nrecording 1: " + kept + ": changed (expected " +
                               expected + ", found " + found + ")\n"));
    r = Cli("verify " + demo + " " + kept);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(kept + ": changed: recording 1 (expected " + expected + ", found " +
                         found + ")"),
              std::string::npos)
        << r.out;
    fs::remove(kept);
    v = Json::parse(Cli("archive verify --json").out);
    EXPECT_EQ(Json::array({v["files"][0]["problem"], v["files"][0]["found"]}),
              Json::array({"missing", nullptr}));
    std::ofstream(P("other.klg")) << "other";
    EXPECT_EQ(Cli("verify " + P("other.klg")).status, 1) << "not archived";
}

// --comment N:TEXT records events about the recording and the report lists each beside its
// excursion, numbered across the channels; the audit trail's CSV holds them with every field,
// and --from/--to keep the events from the first second to before the last.
TEST_F(CliTest, CommentsGoBesideTheirExcursionAndIntoTheTrail) {
    const std::string demo = Demo(), limits = " --high 8 --low 2 ";
    CliRun r = Cli("report --json" + limits + "--comment 4:x " + demo);
    EXPECT_NE(r.err.find("excursion 4 is not in the report (1 to 3)"), std::string::npos);
    EXPECT_EQ(Cli("--no-archive report --json" + limits + "--comment 1:x " + demo).status, 1);
    r = Cli("report --json" + limits + "--comment '3:扉を閉めた, \"再\"' --comment 1:a " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    const Json report = Json::parse(r.out);
    const Json& ch2 = report["channels"][1]["excursions"][0];
    EXPECT_EQ(ch2["number"], 3);
    EXPECT_EQ(ch2["comments"][0]["text"], "扉を閉めた, \"再\"");
    EXPECT_EQ(report["channels"][0]["excursions"][0]["comments"][0]["text"], "a");
    EXPECT_TRUE(report["channels"][0]["excursions"][1]["comments"].empty());
    // The comments stay with their runs in a later report over other limits.
    r = Cli("report --json --high 7 --low 2 " + demo);
    EXPECT_EQ(Json::parse(r.out)["channels"][1]["excursions"][0]["comments"].size(), 1u);

    const auto text = [](time_t v, const char* format, bool utc) {
        char buf[32];
        std::tm tm{};
        utc ? gmtime_r(&v, &tm) : localtime_r(&v, &tm);
        std::strftime(buf, sizeof buf, format, &tm);
        return std::string(buf);
    };
    const Json log = Json::parse(Cli("archive log --json").out);
    const Json& first = *std::find_if(log.begin(), log.end(),
                                      [](const Json& e) { return e["event"] == "commented"; });
    EXPECT_EQ(first["detail"], "CH2 high " + text(ch2["start"], "%FT%TZ", true));
    ASSERT_EQ(Cli("archive log 1 --csv " + P("t.csv")).status, 0);
    EXPECT_NE(Read(P("t.csv"))
                  .find(",commented," + first["detail"].get<std::string>() + ",1," +
                        first["sha256"].get<std::string>() + ",,\"扉を閉めた, \"\"再\"\"\",," +
                        first["prev_hash"].get<std::string>() + "," +
                        first["hash"].get<std::string>() + "\r\n"),
              std::string::npos);
    // An event's second, in local time, is in the period that starts there, in none that ends.
    std::tm tm{};
    strptime(first["time_utc"].get<std::string>().c_str(), "%Y-%m-%dT%H:%M:%SZ", &tm);
    const time_t at = timegm(&tm);
    for (const time_t from : {at - 1, at, at + 1}) {
        Cli("archive log --csv " + P("p.csv") + " --from '" + text(from, "%Y/%m/%d %T", false) +
            "' --to '" + text(from + 1, "%Y/%m/%d %T", false) + "'");
        const std::string rows = Read(P("p.csv"));
        EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n') - 1,
                  std::count_if(
                      log.begin(), log.end(),
                      [&](const Json& e) { return e["time_utc"] == text(from, "%FT%TZ", true); }))
            << from - at;
    }
    EXPECT_EQ(Cli("archive log --unit 冷蔵庫").status, 1);
}

} // namespace

// A unit's calibration reaches only the outputs that ask for it; the file, the plain export
// and the archive's record of the file keep the raw values.
TEST_F(CliTest, UnitsCalibrationsAndCorrectedOutputs) {
    const std::string demo = Demo();
    const std::string bytes = Read(demo);
    ASSERT_EQ(Cli("export -o " + P("before.txt") + " " + demo).status, 0);
    ASSERT_EQ(Cli("unit create F2 --location 2F --limits 2:2:8 --reason new").status, 0);
    EXPECT_EQ(Cli("unit create F2").status, 1);
    EXPECT_EQ(Cli("unit create F3 --limits 3:1:2").status, 2);
    EXPECT_EQ(Cli("--no-archive unit list").status, 1); // without an archive, no units
    ASSERT_EQ(Cli("unit calibrate F2 --channel 1 --certificate C-1 --calibrated 2026-01-10 "
                  "--due 2026-11-30 --offset 0.3")
                  .status,
              0);
    EXPECT_EQ(Cli("unit calibrate F2 --channel 1 --due 2026-01-09").status, 1);
    EXPECT_EQ(Cli("unit calibrate F2 --channel 3").status, 2);
    EXPECT_EQ(Cli("unit assign " + demo + " F9").status, 1);
    ASSERT_EQ(Cli("unit assign " + demo + " F2").status, 0);
    const CliRun shown = Cli("unit show --json F2");
    EXPECT_EQ(Json::parse(shown.out)["channels"][0]["calibrations"][0]["correction"]["offset"],
              0.3);

    ASSERT_EQ(Cli("export -o " + P("raw.txt") + " " + demo).status, 0);
    ASSERT_EQ(Cli("export --corrected -o " + P("cor.txt") + " " + demo).status, 0);
    EXPECT_EQ(Read(P("raw.txt")), Read(P("before.txt")));
    EXPECT_EQ(Read(demo), bytes);
    const std::string row = "\"2026/11/30  9:00'00\",46356.3750000000,";
    EXPECT_NE(Read(P("raw.txt")).find(row + "  19.7,   3.6,"), std::string::npos);
    EXPECT_NE(Read(P("cor.txt")).find(row + "  20.0,   3.6,"), std::string::npos);

    // The report takes the unit's limits for channel 2, states the calibration, and warns:
    // the demo runs into 2026-12-01, a day past the due day. Due that day, it would not.
    Json rep = Json::parse(Cli("report --json " + demo).out);
    EXPECT_EQ(rep["channels"][1]["low"], 2.0);
    EXPECT_EQ(rep["units"][0]["channels"][0]["certificate"], "C-1");
    EXPECT_EQ(rep["units"][0]["channels"][0]["corrected"], false);
    EXPECT_EQ(rep["calibration_warning"],
              "注意: Ch.1 の校正は記録の時点で有効期限を過ぎていました。");
    ASSERT_EQ(Cli("unit calibrate F2 --channel 1 --due 2026-12-01").status, 0);
    rep = Json::parse(Cli("report --corrected --low 0 --json " + demo).out);
    EXPECT_TRUE(rep["calibration_warning"].is_null());
    EXPECT_EQ(rep["units"][0]["channels"][0]["corrected"], true);
    EXPECT_TRUE(rep["channels"][1]["low"].is_null()); // limits given: the unit's are not taken
    const CliRun log = Cli("archive log");
    EXPECT_NE(log.out.find("calibrated (unit 1 channel 1)"), std::string::npos);
    EXPECT_NE(log.out.find("assigned (file)"), std::string::npos);
    // The unit's own trail: its calibration and the file it holds.
    const CliRun unitLog = Cli("archive log --unit F2");
    EXPECT_EQ(unitLog.status, 0) << unitLog.err;
    EXPECT_NE(unitLog.out.find("calibrated (unit 1 channel 1)"), std::string::npos);
    EXPECT_NE(unitLog.out.find("assigned (file)"), std::string::npos);
    EXPECT_EQ(Cli("archive log --unit F9").status, 1);
    EXPECT_EQ(Cli("archive verify").status, 0);
    // A download for a unit that is not there stops before the recorder is asked.
    const CliRun dl = Cli("recorder download --unit F9 --device /nonexistent -o " + P("d.klg"));
    EXPECT_EQ(dl.status, 1);
    EXPECT_NE(dl.err.find("その保管場所はありません。 (F9)"), std::string::npos);
}
