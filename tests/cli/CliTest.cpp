// Runs saroko-cli as a user would, on files it writes itself, with a private settings store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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
        fs::create_directories(dir / "config" / "PELNOR CORPORATION");
        std::ofstream(dir / "config" / "PELNOR CORPORATION" / "Saroko.conf") << ini;
    }
    std::string Demo(const std::string& name = "demo.klg") const {
        EXPECT_EQ(Cli("demo -o " + P(name)).status, 0);
        return P(name);
    }

    fs::path dir;
};

TEST_F(CliTest, InfoJsonDescribesAllEightChannels) {
    const CliRun r = Cli("info --json " + Demo());
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    for (const char* f :
         {"dataStart", "dataEnd", "viewStart", "viewEnd", "minInterval", "cursorA", "cursorB",
          "fullUpper", "fullLower", "viewUpper", "viewLower", "calcStart", "calcEnd"})
        EXPECT_TRUE(j["range"].contains(f)) << f;
    ASSERT_EQ(j["channels"].size(), 8u);
    EXPECT_EQ(j["channels"][0]["number"], 1);
    EXPECT_EQ(j["channels"][0]["name"], "室温");
    EXPECT_EQ(j["channels"][0]["sampleCount"], 1440);
    EXPECT_EQ(j["channels"][0]["interval"], 60);
    EXPECT_EQ(j["channels"][0]["modelCode"], 129);
    EXPECT_EQ(j["channels"][2]["present"], 0);
    EXPECT_EQ(j["channels"][2]["statMax"], 0xEEEE);
    EXPECT_EQ(j["range"]["minInterval"], 60);
    EXPECT_EQ(j["range"]["viewStart"], j["range"]["dataStart"]);
}

TEST_F(CliTest, SeveralFilesAreAppendedAndTheTextShowsTheLegendValues) {
    const std::string a = Demo("a.klg");
    const CliRun r = Cli("info " + a + " " + a + " " + a + " " + a + " " + a);
    ASSERT_EQ(r.status, 0) << r.err;
    for (int n = 1; n <= 8; ++n)
        EXPECT_NE(r.out.find("Ch." + std::to_string(n) + "  "), std::string::npos) << n;
    // The fifth file finds no free channel: the overflow question is answered on stderr.
    EXPECT_NE(r.err.find("読み込み確認"), std::string::npos);
    EXPECT_NE(r.out.find("max          24.6 ﾟC"), std::string::npos) << r.out;
}

TEST_F(CliTest, FailuresAndUsage) {
    CliRun r = Cli("info " + P("absent.klg"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("指定されたファイルは存在しません。"), std::string::npos);
    std::ofstream(P("bad.klg")) << "not a data file";
    EXPECT_EQ(Cli("info " + P("bad.klg")).status, 1);
    EXPECT_EQ(Cli("info").status, 2);
    EXPECT_EQ(Cli("frobnicate").status, 2);
    EXPECT_EQ(Cli("export --delimiter pipe -o " + P("x.txt") + " " + Demo()).status, 2);
    EXPECT_EQ(Cli("export --from \"2026/11/30 10:00:00\" -o " + P("x.txt") + " " + Demo()).status,
              2);
    r = Cli("export -o " + P("x.csv") + " " + Demo());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("拡張子が違うか入力されていません。"), std::string::npos);
    EXPECT_FALSE(fs::exists(P("x.csv")));
    for (const char* verb : {"info", "export", "save", "demo"}) {
        r = Cli(std::string(verb) + " --help");
        EXPECT_EQ(r.status, 0) << verb;
        EXPECT_NE(r.out.find("usage: saroko-cli"), std::string::npos) << verb;
    }
}

TEST_F(CliTest, MessagesFollowTheLanguageAndFilesDoNot) {
    const std::string absent = "info " + P("absent.klg");
    const char* ja = "ファイル名指定エラー\n\n指定されたファイルは存在しません。\n";
    const char* en = "File name error\n\nThe file does not exist.\n";
    // clang-format off
    // Which locale gives which language is the core's table; here each source reaches it once.
    const struct { const char* env; const char* option; const char* setting; const char* err; } cases[] = {
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
        EXPECT_EQ(r.status, 1) << c.env << " " << c.option << c.setting;
        EXPECT_EQ(r.err, c.err) << c.env << " " << c.option << c.setting;
    }
    EXPECT_EQ(Cli("--lang fr " + absent).status, 2);

    // What goes into files is the same in both languages, byte for byte.
    const std::string demo = Demo();
    for (const char* lang : {"ja", "en"}) {
        const std::string l = lang;
        ASSERT_EQ(Cli("--lang " + l + " export -o " + P(l + ".txt") + " " + demo).status, 0);
        ASSERT_EQ(Cli("--lang " + l + " save -o " + P(l + ".klg") + " " + demo).status, 0);
    }
    EXPECT_EQ(Read(P("ja.txt")), Read(P("en.txt")));
    EXPECT_EQ(Read(P("ja.klg")), Read(P("en.klg")));
    EXPECT_NE(Read(P("en.txt")).find("\x81\x83"), std::string::npos) << "the CP932 heading stays";
}

TEST_F(CliTest, ExportHonoursSettingsAndOptions) {
    const std::string demo = Demo();
    // The user's settings: tab delimiter, degrees Fahrenheit.
    Settings("[Text%20File%20Section]\nDivideCode=2\n[Unit%20Display%20Section]\nUnitCF=1\n");
    ASSERT_EQ(Cli("export -o " + P("f.txt") + " " + demo).status, 0);
    const std::string f = Read(P("f.txt"));
    EXPECT_NE(f.find("\"Date/Time\"\t\"@date()\"\t\"Ch.1\""), std::string::npos);
    EXPECT_NE(f.find("\"\xDF"
                     "F \""),
              std::string::npos);

    ASSERT_EQ(Cli("export --celsius --delimiter semicolon --from \"2026/11/30 09:00:00\" --to "
                  "\"2026/11/30 09:02:00\" -o " +
                  P("c.TXT") + " " + demo)
                  .status,
              0);
    const std::string c = Read(P("c.TXT"));
    EXPECT_NE(c.find("\"\xDF"
                     "C \""),
              std::string::npos);
    int lines = 0;
    for (std::size_t pos = 0; (pos = c.find("\"2026/11/30  9:0", pos)) != std::string::npos; ++pos)
        ++lines;
    EXPECT_EQ(lines, 3);
}

// What the open procedure does with an older-series file is KlgFileTest's OlderSeriesImport.
TEST_F(CliTest, SaveWritesTheWindowIntoKlgFilesOnly) {
    const std::string demo = Demo();
    EXPECT_EQ(Cli("save -o " + P("new.txt") + " " + demo).status, 1);
    EXPECT_FALSE(fs::exists(P("new.txt")));
    ASSERT_EQ(Cli("save --from \"2026/11/30 12:00:00\" --to \"2026/11/30 12:59:59\" -o " +
                  P("hour.klg") + " " + demo)
                  .status,
              0);
    const auto k = nlohmann::json::parse(Cli("info --json " + P("hour.klg")).out);
    EXPECT_EQ(k["channels"][0]["sampleCount"], 60);
    EXPECT_EQ(k["channels"][1]["sampleCount"], 60);
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

TEST_F(CliTest, RenderWritesTheFormatItsExtensionNames) {
    const std::string demo = Demo();
    // PNG bytes under another name are never written: the name is refused before loading.
    for (const char* name : {"g.jpg", "g.pdf.txt", "g"}) {
        EXPECT_EQ(Cli("render -o " + P(name) + " " + demo).status, 2) << name;
        EXPECT_FALSE(fs::exists(P(name))) << name;
    }
    ASSERT_EQ(Cli("render -o " + P("g.PNG") + " " + demo).status, 0);
    EXPECT_EQ(Read(P("g.PNG")).substr(0, 4), "\x89PNG");
    ASSERT_EQ(Cli("render --legend -o " + P("g.pdf") + " " + demo).status, 0);
    EXPECT_EQ(Read(P("g.pdf")).substr(0, 5), "%PDF-");
    // Drawn as text, the legend pane carries names, values, statistics and units.
    const std::string text = PdfText(P("g.pdf"));
    for (const char* s : {"Cursor A", "Calculation Range", "Max.", "室温", "冷蔵庫", " 1min",
                          "1440", "24.6", "ﾟC", "26/11/30"})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
}

// pdftotext ends every page with a form feed.
int PdfPages(const std::string& pdf) {
    const std::string text = PdfText(pdf);
    return text.empty() ? -1 : static_cast<int>(std::count(text.begin(), text.end(), '\f'));
}

// Pixels of one page near a colour, counted on pdftoppm's picture of it.
int PagePixelsNear(const std::string& pdf, int page, int r, int g, int b) {
    const std::string base = pdf + "-page";
    const std::string cmd = "pdftoppm -r 100 -f " + std::to_string(page) + " -l " +
                            std::to_string(page) + " -singlefile '" + pdf + "' '" + base + "'";
    if (std::system(cmd.c_str()) != 0)
        return -1;
    std::ifstream f(base + ".ppm", std::ios::binary);
    std::string magic;
    int w = 0, h = 0, max = 0;
    f >> magic >> w >> h >> max;
    f.get();
    int n = 0;
    for (int i = 0; i < w * h; ++i) {
        const int pr = f.get(), pg = f.get(), pb = f.get();
        n += std::abs(pr - r) < 40 && std::abs(pg - g) < 40 && std::abs(pb - b) < 40;
    }
    return n;
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

TEST_F(CliTest, ReportJsonHoldsTheFiguresOfEveryShownChannel) {
    const std::string demo = Demo();
    CliRun r = Cli("report --json --high 24 --low 3.6 " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::ordered_json::parse(r.out);
    std::vector<std::string> keys;
    for (const auto& [k, v] : j.items())
        keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<std::string>{"from", "to", "unit", "low", "high",
                                              "activationEnergy", "channels"}));
    EXPECT_EQ(j["unit"], "C");
    EXPECT_EQ(j["high"], 24.0);
    EXPECT_EQ(j["activationEnergy"], 83.144);
    ASSERT_EQ(j["channels"].size(), 2u);
    const auto& room = j["channels"][0];
    EXPECT_EQ(room["name"], "室温");
    EXPECT_EQ(j["channels"][1]["name"], "冷蔵庫");
    EXPECT_EQ(room["samples"], 1438);
    EXPECT_EQ(room["missing"], 2);
    EXPECT_EQ(room["interval"], 60);
    EXPECT_EQ(room["max"], 24.6);
    EXPECT_TRUE(room["maxTime"].is_number_integer());
    for (const auto& ch : j["channels"]) {
        for (const char* f : {"max", "min", "average", "mkt"}) {
            const double v = ch[f].get<double>();
            EXPECT_DOUBLE_EQ(v * 10, std::round(v * 10)) << f << " has one decimal";
        }
    }
    // How the runs are cut is ReportFiguresTest's; here each field lands under its name.
    const auto& e = room["excursions"][0];
    EXPECT_EQ(e["kind"], "high");
    EXPECT_EQ(e["seconds"].get<int64_t>(),
              e["end"].get<int64_t>() - e["start"].get<int64_t>() + 60);
    EXPECT_GT(room["secondsAboveHigh"].get<int>(), 0);
    EXPECT_GT(j["channels"][1]["secondsBelowLow"].get<int>(), 0);

    // Without limits they are null; in degF the figures follow the unit.
    r = Cli("report --json --fahrenheit --from \"2026/11/30 12:00:00\" " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto f = nlohmann::json::parse(r.out);
    EXPECT_EQ(f["unit"], "F");
    EXPECT_TRUE(f["low"].is_null() && f["high"].is_null());
    EXPECT_EQ(f["channels"][0]["max"], 76.3);
    EXPECT_TRUE(f["channels"][0]["excursions"].empty());
    EXPECT_EQ(Cli("report " + demo).status, 2);
    EXPECT_EQ(Cli("report --json -o " + P("r.pdf") + " " + demo).status, 2);
    EXPECT_EQ(Cli("report --json --high warm " + demo).status, 2);
}

TEST_F(CliTest, ReportPdfCarriesGraphFiguresAndExcursions) {
    const std::string demo = Demo();
    const auto j = nlohmann::json::parse(Cli("report --json --high 24 --low 3.6 " + demo).out);
    ASSERT_EQ(Cli("report --high 24 --low 3.6 -o " + P("r.pdf") + " " + demo).status, 0);
    ASSERT_GE(PdfPages(P("r.pdf")), 2);
    const std::string first = PdfText(P("r.pdf"), "-f 1 -l 1");
    for (const char* s : {"demo.klg", "Cursor A", "室温", "24.0 ﾟC", "3.6 ﾟC"})
        EXPECT_NE(first.find(s), std::string::npos) << s << "\n" << first;
    const std::string rest = PdfText(P("r.pdf"), "-f 2");
    for (const char* s : {"室温", "冷蔵庫", "24.6", "1438", "上限超過", "下限未満"})
        EXPECT_NE(rest.find(s), std::string::npos) << s;
    const auto& e = j["channels"][0]["excursions"][0];
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
    // The graph is on page 1: the first channel's colour is there and nowhere else.
    EXPECT_GT(PagePixelsNear(P("r.pdf"), 1, 255, 0, 175), 200);
    EXPECT_LT(PagePixelsNear(P("r.pdf"), 2, 255, 0, 175), 50);
}

TEST_F(CliTest, PrintCommandsWriteTheProgramsPages) {
    const std::string demo = Demo();
    // 100 rows of one-minute samples: 49 rows a page on A4.
    CliRun r = Cli("print-list --from \"2026/11/30 09:00:00\" --to \"2026/11/30 10:39:00\" -o " +
                   P("l.pdf") + " " + demo);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PdfPages(P("l.pdf")), 3);
    const std::string last = PdfText(P("l.pdf"), "-f 3 -l 3");
    EXPECT_NE(last.find("Page 3"), std::string::npos) << last;
    EXPECT_NE(last.find("2026/11/30 10:39'00"), std::string::npos) << last;
    EXPECT_NE(PdfText(P("l.pdf"), "-f 1 -l 1").find("ﾌｧｲﾙ名:demo.klg"), std::string::npos);
    ASSERT_EQ(Cli("print-graph --mono -o " + P("g.pdf") + " " + demo).status, 0);
    EXPECT_EQ(PdfPages(P("g.pdf")), 1);
    EXPECT_EQ(Cli("print-graph --method wide -o " + P("x.pdf") + " " + demo).status, 2);
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

} // namespace
