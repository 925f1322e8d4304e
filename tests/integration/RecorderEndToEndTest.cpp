// saroko-cli against km41-sim on a real pseudo-terminal, through QSerialPort: what a user
// does with a recorder, checked in the files it leaves.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "Km41Simulator.h"
#include "document/ZorvicDoc.h"
#include "recorder/TranscriptLine.h"
#include "settings/SettingsStore.h"

namespace saroko::test {
namespace {

// clang-format off
struct RunResult { int exitCode = -1; std::string out, err; double seconds = 0; };
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
    std::string StartSim(const QStringList& args) {
        m_sim.start(KM41_SIM, args);
        EXPECT_TRUE(m_sim.waitForStarted(5000));
        EXPECT_TRUE(m_sim.waitForReadyRead(5000));
        const std::string device = m_sim.readLine().trimmed().toStdString();
        EXPECT_EQ(device.rfind("/dev/", 0), 0u) << device;
        return device;
    }

    RunResult Cli(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        p.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        p.start(SAROKO_CLI, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        RunResult r;
        r.seconds = timer.elapsed() / 1000.0;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    }

    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
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
    const std::string dev =
        StartSim({"--preload", "300", "--interval", "30", "--names", "OVEN,DUCT"});
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    const std::string out = Path("dl.klg");
    const std::string transcript = Path("dl.txt");
    const RunResult r =
        Cli({"recorder", "download", "--device", QString::fromStdString(dev), "-o",
             QString::fromStdString(out), "--transcript", QString::fromStdString(transcript)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("300 / 300 records"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("通信は正常終了しました。"), std::string::npos);

    CMemorySettingsStore store;
    FixedClock clock(before);
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    ASSERT_EQ(doc.LoadKlgFile(out), kFileOk);
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

    const std::vector<TranscriptEntry> t = ParseTranscript(ReadAll(transcript));
    ASSERT_GT(t.size(), 10u);
    EXPECT_EQ(t[0].bytes, std::vector<uint8_t>{0x00});
    bool request = false;
    for (const TranscriptEntry& e : t)
        request = request ||
                  (e.direction == '>' && e.bytes == std::vector<uint8_t>{0x11, 0, 0, 0, 0, 0x29});
    EXPECT_TRUE(request);
}

TEST_F(RecorderEndToEnd, BrokenDownloadLeavesTheOldFileAlone) {
    const std::string dev =
        StartSim({"--preload", "40", "--cut-after", "4", "--fault-cmd", "0x11"});
    const std::string out = Path("keep.klg");
    {
        std::ofstream f(out, std::ios::binary);
        f << "previous contents";
    }
    const RunResult r = Cli({"recorder", "download", "--device", QString::fromStdString(dev), "-o",
                             QString::fromStdString(out)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ケルブラとの通信が途中で失敗しました。"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(out), "previous contents");
}

TEST_F(RecorderEndToEnd, StartReadBackAndStop) {
    const std::string dev = StartSim({});
    const QString d = QString::fromStdString(dev);
    RunResult r = Cli({"recorder", "start", "--device", d, "--interval", "5", "--names",
                       "室温,外気", "--endless", "--now"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("expected end: ????年 ??月 ??日"), std::string::npos) << r.out;

    r = Cli({"recorder", "settings", "--device", d});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("ｹﾙﾌﾞﾗ Ch.1 : 室温"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("記録ﾓｰﾄﾞ : ｴﾝﾄﾞﾚｽ"), std::string::npos);
    EXPECT_NE(r.out.find("記録間隔 :  5 sec."), std::string::npos);

    const std::string conf = ReadAll(Path("config/PELNOR CORPORATION/Saroko.conf"));
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

TEST_F(RecorderEndToEnd, DialogChecksOnTheCommandLine) {
    const std::string dev = StartSim({});
    const QString d = QString::fromStdString(dev);
    RunResult r = Cli({"recorder", "start", "--device", d, "--interval", "10", "--names",
                       "123456789,B", "--now"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("チャンネル名は８文字以内で入力してください。"), std::string::npos);
    r = Cli({"recorder", "start", "--device", d, "--interval", "10", "--names", "A,B", "--at",
             "2010/01/01 10:00:00"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("現在日時より過去"), std::string::npos);
}

TEST_F(RecorderEndToEnd, PortsThatCannotBeOpened) {
    RunResult r =
        Cli({"recorder", "identify", "--device", QString::fromStdString(Path("nothing"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("デバイス識別子が無効か"), std::string::npos) << r.err;

    // A port another program holds.
    const std::string dev = StartSim({});
    QSerialPort holder;
    holder.setPortName(QString::fromStdString(dev));
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    r = Cli({"recorder", "identify", "--device", QString::fromStdString(dev)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("シリアルポートのオープンエラーです。"), std::string::npos) << r.err;
    holder.close();
    EXPECT_EQ(Cli({"recorder", "identify", "--device", QString::fromStdString(dev)}).exitCode, 0);
}

} // namespace
} // namespace saroko::test
