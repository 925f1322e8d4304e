// saroko-cli against km41-sim on a real pseudo-terminal, through QSerialPort: what a user
// does with a recorder, checked in the files it leaves.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "core/document/ZorvicDoc.h"
#include "core/recorder/TranscriptLine.h"
#include "core/settings/SettingsStore.h"
#include "sim/Km41Simulator.h"

namespace saroko::test {
namespace {

// clang-format off
struct RunResult { int exitCode = -1; std::string out, err; };
// clang-format on

class RecorderEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override {
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            m_sim.waitForFinished(3000);
        }
    }

    // Starts km41-sim with `args` and returns the device it serves.
    QString StartSim(const QStringList& args) {
        m_sim.setWorkingDirectory(m_dir.path());
        m_sim.start(KM41_SIM, args);
        EXPECT_TRUE(m_sim.waitForStarted(5000));
        EXPECT_TRUE(m_sim.waitForReadyRead(5000));
        const std::string device = m_sim.readLine().trimmed().toStdString();
        EXPECT_EQ(device.rfind("/dev/", 0), 0u) << device;
        return QString::fromStdString(device);
    }

    // The CLI's own folders (settings, kept downloads, transcripts) lie in the test's folder.
    void Prepare(QProcess& p) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        env.insert("XDG_DATA_HOME", m_dir.filePath("data"));
        env.insert("XDG_CACHE_HOME", m_dir.filePath("cache"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir.path());
    }

    RunResult Cli(const QStringList& args) {
        QProcess p;
        Prepare(p);
        p.start(SAROKO_CLI, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        RunResult r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    }

    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    QString QPath(const char* name) const { return m_dir.filePath(name); }
    static std::string ReadAll(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }

    QTemporaryDir m_dir;
    QProcess m_sim;
};

TEST_F(RecorderEndToEnd, DownloadIntoAFileAndReadItBack) {
    const QString dev = StartSim({"--preload", "300", "--interval", "30", "--names", "OVEN,DUCT"});
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    const RunResult r = Cli({"--lang", "en", "recorder", "download", "--device", dev, "-o",
                             QPath("dl.klg"), "--transcript", QPath("dl.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Standard error is a pipe here: a line of its own at each tenth of the records, no
    // carriage return, and none between the tenths.
    EXPECT_EQ(r.err.find('\r'), std::string::npos);
    std::vector<int> counts;
    const std::regex bar("\\] (\\d+) / 300 records");
    for (auto it = std::sregex_iterator(r.err.begin(), r.err.end(), bar);
         it != std::sregex_iterator(); ++it)
        counts.push_back(std::stoi((*it)[1]));
    EXPECT_EQ(counts, (std::vector<int>{0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300}))
        << r.err;

    CMemorySettingsStore store;
    FixedClock clock(before);
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    ASSERT_EQ(doc.LoadKlgFile(Path("dl.klg")), kFileOk);
    const ChannelRecord& a = *doc.GetChannel(1);
    const ChannelRecord& b = *doc.GetChannel(2);
    EXPECT_STREQ(a.name, "OVEN");
    EXPECT_STREQ(b.name, "DUCT");
    EXPECT_EQ(a.interval, 30u);
    ASSERT_EQ(a.CountSamples(), 300);
    for (uint32_t i = 0; i < 300; ++i) {
        ASSERT_EQ(a.samples[i], sim::SimSampleCode(0, i, 30)) << i;
        ASSERT_EQ(b.samples[i], sim::SimSampleCode(1, i, 30)) << i;
    }
    // Preloaded up to the moment the simulator started, which lies just before `before`.
    EXPECT_LE(a.startTime, before - 299 * 30);
    EXPECT_GE(a.startTime + 10, before - 299 * 30);

    // The same download is kept in the user's data folder under its local time.
    const std::string keptDir = Path("data/saroko/downloads/");
    const std::size_t at = r.out.find("kept: " + keptDir);
    ASSERT_NE(at, std::string::npos) << r.out;
    const std::string kept = r.out.substr(at + 6, r.out.find('\n', at) - at - 6);
    EXPECT_EQ(kept.size(), keptDir.size() + std::string("20261206-143005.klg").size()) << kept;
    EXPECT_EQ(ReadAll(kept), ReadAll(Path("dl.klg")));

    const std::vector<TranscriptEntry> t = ParseTranscript(ReadAll(Path("dl.txt")));
    ASSERT_GT(t.size(), 10u);
    EXPECT_EQ(t[0].bytes, std::vector<uint8_t>{0x00});
}

// A download is archived with its kept file's hash, a report carries that hash and the chain
// head, and one byte changed in the kept file makes verify fail naming it.
TEST_F(RecorderEndToEnd, ADownloadIsArchivedAndItsReportCarriesTheProof) {
    using Json = nlohmann::json;
    const QString dev = StartSim({"--preload", "40", "--interval", "60", "--names", "FRIDGE,ROOM"});
    const RunResult d =
        Cli({"--lang", "ja", "recorder", "download", "--device", dev, "-o", QPath("dl.klg")});
    ASSERT_EQ(d.exitCode, 0) << d.err;
    // The Japanese progress lines hold no English word.
    int lines = 0;
    std::istringstream err(d.err);
    for (std::string line; std::getline(err, line);) {
        if (!line.starts_with("["))
            continue;
        ++lines;
        EXPECT_TRUE(
            std::regex_match(line, std::regex("\\[[#.]+\\] \\d+ / 40 件(  残り \\d+:\\d\\d)?")))
            << line;
    }
    EXPECT_EQ(lines, 11) << d.err;
    const std::size_t at = d.out.find("kept: ");
    ASSERT_NE(at, std::string::npos) << d.out;
    const std::string kept = d.out.substr(at + 6, d.out.find('\n', at) - at - 6);
    const std::string bytes = ReadAll(kept);
    const std::string sha =
        QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
            .toHex()
            .toStdString();

    RunResult r = Cli({"archive", "list", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json list = Json::parse(r.out);
    ASSERT_EQ(list.size(), 1u) << r.out; // dl.klg holds the same bytes as the kept copy
    EXPECT_EQ(list[0]["sha256"], sha);
    EXPECT_EQ(list[0]["path"], kept);
    EXPECT_EQ(list[0]["source"], "download");
    EXPECT_EQ(list[0]["identity"], "0414");
    EXPECT_EQ(list[0]["status"], "unverified"); // its bytes are hashed by verify only
    EXPECT_EQ(list[0]["channels"][0]["name"], "FRIDGE");
    EXPECT_EQ(list[0]["samples"], 80);

    r = Cli({"report", "--json", QPath("dl.klg")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json report = Json::parse(r.out);
    ASSERT_EQ(report["sources"].size(), 1u);
    EXPECT_EQ(report["sources"][0]["sha256"], sha);
    EXPECT_EQ(report["sources"][0]["archive_id"], list[0]["id"]);
    ASSERT_TRUE(report["chain_head"].is_string());
    EXPECT_EQ(report["chain_head"].get<std::string>().size(), 64u);

    r = Cli({"archive", "verify"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    r = Cli({"verify", QPath("dl.klg")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("downloaded"), std::string::npos) << r.out;
    // The recording's status in verify is its kept file hashed, whichever copy was named.
    const auto keptStatus = [&] {
        return Json::parse(
            Cli({"verify", "--json", QPath("dl.klg")}).out)[0]["recording"]["status"];
    };
    EXPECT_EQ(keptStatus(), "verified");

    std::string changed = bytes;
    changed[300] = static_cast<char>(changed[300] ^ 1);
    std::ofstream(kept, std::ios::binary | std::ios::trunc) << changed;
    r = Cli({"archive", "verify", "--json"});
    EXPECT_EQ(r.exitCode, 1) << r.out;
    const Json v = Json::parse(r.out);
    EXPECT_TRUE(v["chain_break"].is_null());
    ASSERT_EQ(v["files"].size(), 1u) << r.out;
    EXPECT_EQ(v["files"][0]["path"], kept);
    EXPECT_EQ(v["files"][0]["expected"], sha);
    EXPECT_EQ(v["files"][0]["problem"], "changed");
    EXPECT_EQ(keptStatus(), "changed"); // of the same size
    // The changed kept file is the recording changed, never a new one: verify says so, and
    // opening it warns and files the open about the original with the hash found.
    r = Cli({"verify", QString::fromStdString(kept)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find(": changed: recording 1 (expected " + sha + ", found "), std::string::npos)
        << r.out;
    r = Cli({"info", QString::fromStdString(kept)});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("記録 1 のファイルですが、内容が保管した時と違います。"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Json::parse(Cli({"archive", "list", "--json"}).out).size(), 1u);
    const Json log = Json::parse(Cli({"archive", "log", "1", "--json"}).out);
    EXPECT_EQ(log.back()["event"], "opened");
    EXPECT_EQ(log.back()["detail"], "changed");
    EXPECT_EQ(log.back()["sha256"], sha);
    EXPECT_NE(log.back()["new"].get<std::string>().find(kept + " sha256:"), std::string::npos);
}

// The same recorder downloaded twice gives identical bytes: one recording with two kept files,
// each named by its own created event, each listed and each verified on its own.
TEST_F(RecorderEndToEnd, TheSecondKeptCopyOfTheSameBytesIsCheckedToo) {
    using Json = nlohmann::json;
    const QString dev = StartSim({"--preload", "20", "--interval", "600"});
    std::vector<std::string> kept;
    for (const char* out : {"one.klg", "two.klg"}) {
        const RunResult d = Cli({"recorder", "download", "--device", dev, "-o", QPath(out)});
        ASSERT_EQ(d.exitCode, 0) << d.err;
        const std::size_t at = d.out.find("kept: ");
        ASSERT_NE(at, std::string::npos) << d.out;
        kept.push_back(d.out.substr(at + 6, d.out.find('\n', at) - at - 6));
    }
    ASSERT_NE(kept[0], kept[1]);
    ASSERT_EQ(ReadAll(kept[0]), ReadAll(kept[1]));
    const Json list = Json::parse(Cli({"archive", "list", "--json"}).out);
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0]["kept_files"].size(), 2u) << list.dump(2);
    EXPECT_EQ(list[0]["kept_files"][1]["path"], kept[1]);
    EXPECT_NE(list[0]["kept_files"][1]["transcript_path"], "");
    const Json log = Json::parse(Cli({"archive", "log", "--json"}).out);
    std::vector<std::string> named;
    for (const Json& e : log)
        if (e["event"] == "created")
            named.push_back(e["new"].get<std::string>().substr(0, kept[0].size()));
    EXPECT_EQ(named, kept);
    EXPECT_EQ(Cli({"archive", "verify"}).exitCode, 0);

    std::string changed = ReadAll(kept[1]);
    changed[200] = static_cast<char>(changed[200] ^ 4);
    std::ofstream(kept[1], std::ios::binary | std::ios::trunc) << changed;
    RunResult r = Cli({"archive", "verify"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("recording 1: " + kept[1] + ": changed"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(kept[0] + ": "), std::string::npos) << r.out;
    r = Cli({"verify", QString::fromStdString(kept[1])});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find(": changed: recording 1 "), std::string::npos) << r.out;
}

TEST_F(RecorderEndToEnd, BrokenDownloadLeavesTheOldFileAlone) {
    const QString dev = StartSim({"--preload", "40", "--cut-after", "40", "--fault-cmd", "0x11"});
    std::ofstream(Path("keep.klg"), std::ios::binary) << "previous contents";
    const RunResult r = Cli({"recorder", "download", "--device", dev, "-o", QPath("keep.klg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ケルブラとの通信が途中で失敗しました。"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("] 0 / 40 件  試行 3/3"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(Path("keep.klg")), "previous contents");
}

TEST_F(RecorderEndToEnd, AKeepThatFailsCostsOnlyTheCopy) {
    const QString dev = StartSim({"--preload", "30"});
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("data/saroko"));
    std::ofstream(Path("data/saroko/downloads")) << "a file in the way";
    const RunResult r = Cli({"recorder", "download", "--device", dev, "-o", QPath("dl.klg")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("吸い上げたデータの控えを保存できませんでした。"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out.find("kept:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("30 samples"), std::string::npos) << r.out;
    EXPECT_TRUE(std::ifstream(Path("dl.klg")).good());
}

TEST_F(RecorderEndToEnd, AFailedExchangeNamesItsTranscript) {
    const QString d = StartSim({"--silent"});
    const std::string last = Path("cache/saroko/last-exchange.txt");
    for (int run = 0; run < 2; ++run) {
        const RunResult r = Cli({"recorder", "identify", "--device", d});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(
            r.err.find("ケルブラのモードが不適切か未接続です。\n\n通信記録ファイル:\n" + last),
            std::string::npos)
            << r.err;
    }
    // Each exchange keeps its own; the one before is kept beside it.
    for (const std::string& file : {last, Path("cache/saroko/previous-exchange.txt")}) {
        const std::vector<TranscriptEntry> t = ParseTranscript(ReadAll(file));
        ASSERT_EQ(t.size(), 2u) << file;
        EXPECT_EQ(t[0].bytes, std::vector<uint8_t>{0x00});
        EXPECT_EQ(t[1].bytes, (std::vector<uint8_t>{0x35, 0, 0, 0, 0, 0x4D}));
    }
    // A port that does not open began no exchange: no file named, none written.
    const std::string before = ReadAll(last);
    const RunResult r = Cli({"recorder", "identify", "--device", QPath("no-such-port")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.find("通信記録ファイル"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(last), before);
}

TEST_F(RecorderEndToEnd, InterruptedDownloadEndsItsLineAndTheRecorderAnswersAtOnce) {
    StartSim({"--paced", "--preload", "4000", "--link", "rec1"});
    QProcess p;
    Prepare(p);
    p.setReadChannel(QProcess::StandardError);
    p.start(SAROKO_CLI, {"recorder", "download", "--device", "rec1", "-o", "cut.klg"});
    std::string err;
    // Interrupted with records on their way, once the line at the first tenth is whole and
    // shows a time left; its value depends on how fast this machine reads (the arithmetic is
    // CDownloadPace's).
    const std::regex tenth("\\] 400 / 4000 件[^\n]*\n");
    while (!std::regex_search(err, tenth) && p.waitForReadyRead(5000))
        err += p.readAllStandardError().toStdString();
    ASSERT_TRUE(std::regex_search(err, std::regex("\\] 400 / 4000 件  残り [0-9]+:[0-5][0-9]\n")))
        << err;
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(5000));
    err += p.readAllStandardError().toStdString();
    EXPECT_EQ(err.back(), '\n') << err;
    EXPECT_FALSE(std::ifstream(Path("cut.klg")).good());

    // Seconds of records were still queued when the line went quiet.
    const RunResult r = Cli({"recorder", "identify", "--device", "rec1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "KM-41 (04 14 01 00)\n");
}

TEST_F(RecorderEndToEnd, StartReadBackAndStop) {
    const QString d = StartSim({});
    RunResult r = Cli({"recorder", "start", "--device", d, "--interval", "5", "--names",
                       "室温,外気", "--endless", "--now"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    r = Cli({"recorder", "settings", "--device", d});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("ｹﾙﾌﾞﾗ Ch.1 : 室温"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("記録ﾓｰﾄﾞ : ｴﾝﾄﾞﾚｽ"), std::string::npos);
    EXPECT_NE(r.out.find("記録間隔 :  5 sec."), std::string::npos);

    const std::string conf = ReadAll(Path("config/saroko/saroko.conf"));
    EXPECT_NE(conf.find("StartMode=0x30"), std::string::npos) << conf;
    EXPECT_NE(conf.find("RecMode=1"), std::string::npos) << conf;

    // The recording runs: a begin is refused until it is stopped.
    r = Cli({"recorder", "command", "6", "0", "0", "0", "0", "--device", d, "--msg", "2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "09 00 00 00\n");
    ASSERT_EQ(Cli({"recorder", "stop", "--device", d}).exitCode, 0);
    r = Cli({"recorder", "command", "15", "00", "00", "00", "00", "--device", d});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "04 14 01 00\n");
}

// "YYYY/MM/DD HH:MM:SS" or "YYYY年 MM月 DD日  HH時 MM分 SS秒" after `label`, as local time.
time_t TimeAfter(const std::string& text, const std::string& label, const char* format) {
    const std::size_t at = text.find(label);
    std::tm tm{};
    if (at == std::string::npos ||
        std::sscanf(text.c_str() + at + label.size(), format, &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec) != 6)
        return -1;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    return std::mktime(&tm);
}

TEST_F(RecorderEndToEnd, StartChecksAndTheExpectedEndFromTheStartSent) {
    // On the paced wire the exchange itself lasts more than a second.
    const QString d = StartSim({"--paced"});
    RunResult r = Cli({"recorder", "start", "--device", d, "--interval", "10", "--names", "A,B",
                       "--at", "2010/01/01 10:00:00"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("現在日時より過去"), std::string::npos);

    r = Cli({"recorder", "start", "--device", d, "--interval", "1", "--names", "A,B", "--now"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const time_t start = TimeAfter(r.out, "start: ", "%d/%d/%d %d:%d:%d");
    const time_t end = TimeAfter(r.out, "expected end: ", "%d年 %d月 %d日 %d時 %d分 %d秒");
    ASSERT_GT(start, 0) << r.out;
    EXPECT_EQ(end - start, 7999) << r.out;
}

} // namespace
} // namespace saroko::test
