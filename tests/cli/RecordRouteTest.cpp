// One sequence of actions through the window's record path (the document and its archive, as
// the main frame forwards them) and through saroko-cli: both archives hold the same events,
// field by field, the time, user and host aside.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

#include "SarokoVersion.h"
#include "core/archive/ArchiveFiles.h"
#include "core/archive/DocumentArchive.h"
#include "core/document/ZorvicDoc.h"
#include "core/report/ReportProvenance.h"
#include "core/settings/SettingsStore.h"
#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"
#include "platform/SqliteArchiveStore.h"

namespace saroko {
namespace {

namespace fs = std::filesystem;
using namespace saroko::archive;

// The frame's part: every file the document reads, saves or exports goes to its archive.
class CForward final : public IDocumentObserver, public IDocumentPrompts {
public:
    explicit CForward(CDocumentArchive& a) : m_archive(a) {}
    void OnFileLoaded(const std::string& p, bool appended, std::span<const uint8_t> b) override {
        m_archive.Loaded(p, appended, b);
    }
    void OnFileSaved(const std::string& p, std::span<const uint8_t> b) override {
        m_archive.Saved(p, b);
    }
    void OnTextExported(const std::string& p) override {
        m_archive.Produced(EventKind::Exported, p);
    }
    int AskReadMode() override { return mode; }
    int ShowMessage(int, std::string_view) override { return kIdOk; }
    int mode = kReadNew;

private:
    CDocumentArchive& m_archive;
};

class RecordRouteTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("saroko-route-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string P(const std::string& name) const { return (dir / name).string(); }
    int Cli(const std::string& args) const {
        const std::string cmd = "XDG_CONFIG_HOME='" + P("config") + "' XDG_DATA_HOME='" +
                                P("data") + "' XDG_CACHE_HOME='" + P("cache") +
                                "' '" SAROKO_CLI "' --archive '" + P("cli.sqlite") + "' " + args +
                                " >/dev/null 2>&1";
        const int raw = std::system(cmd.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    // Each event as its fields, the time, user and host left out; an output's PDF bytes carry
    // the time they were made, so its hash is left out too.
    static std::vector<std::string> Events(const std::string& path) {
        CSqliteArchiveStore store(path);
        std::vector<Event> events;
        EXPECT_EQ(store.Events(events), StoreStatus::kOk);
        std::vector<std::string> out;
        for (const Event& e : events) {
            std::string value = e.newValue;
            if (const auto at = value.find(".pdf sha256:"); at != std::string::npos)
                value.resize(at + 4);
            out.push_back(std::to_string(e.seq) + " " + EventKindName(e.kind) + " " + e.detail +
                          " #" + std::to_string(e.recordingId) + " " + e.recordingSha256 + " " +
                          e.oldValue + " | " + value + " | " + e.reason + " " +
                          std::to_string(e.offsetMinutes) + " " + e.version);
        }
        return out;
    }
    static std::string Read(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    fs::path dir;
};

TEST_F(RecordRouteTest, TheWindowAndTheCommandLineRecordTheSameEvents) {
    ASSERT_EQ(Cli("demo -o " + P("a.klg")), 0);
    ASSERT_EQ(Cli("demo --start \"2026/12/01 09:00:00\" -o " + P("b.klg")), 0);
    fs::remove(P("cli.sqlite"));

    // The command line: each verb a run of its own, so each opens its file.
    ASSERT_EQ(Cli("save --name 3=HALL -o " + P("c.klg") + " " + P("a.klg") + " " + P("b.klg")), 0);
    ASSERT_EQ(Cli("export -o " + P("c.txt") + " " + P("c.klg")), 0);
    ASSERT_EQ(Cli("report -o " + P("r.pdf") + " " + P("c.klg")), 0);
    ASSERT_EQ(Cli("print-graph -o " + P("p.pdf") + " " + P("c.klg")), 0);
    const std::string cliText = Read(P("c.txt"));

    // The window's route, the same actions in the same order.
    {
        CSqliteArchiveStore store(P("window.sqlite"));
        SessionContext context;
        context.version = SAROKO_VERSION;
        context.nowUtc = [] { return static_cast<int64_t>(std::time(nullptr)); };
        context.offsetMinutes = [](int64_t t) {
            return LocalUtcOffset(static_cast<uint32_t>(t)) / 60;
        };
        CArchiveSession session(&store, &Sha256, context);
        CMemorySettingsStore settings; // the command line's are the defaults too
        SystemClock clock;
        CQtCp932Codec codec;
        CZorvicDoc doc(settings, clock);
        CDocumentArchive archive(
            session, doc, codec, [&](const std::string& p) { return DescribeFile(p, codec); },
            &Sha256OfFile);
        CForward frame(archive);
        doc.SetTextCodec(&codec);
        doc.SetPrompts(&frame);
        doc.SetObserver(&frame);
        doc.OnNewDocument();
        const auto open = [&](const std::string& name, int mode) {
            frame.mode = mode;
            ASSERT_EQ(doc.OpenDataFile(P(name)), kFileOk) << name;
        };
        open("a.klg", IDocumentPrompts::kReadNew);
        open("b.klg", IDocumentPrompts::kReadAppend);
        std::memcpy(doc.GetChannel(3)->name, "HALL\0\0\0\0", 8);
        ASSERT_EQ(doc.SaveKlgFile(0, P("c.klg")), kFileOk);
        // After the save the channels are the saved file's: a report names it, not a.klg.
        ASSERT_EQ(archive.Shown().size(), 1u);
        EXPECT_EQ(archive.Shown()[0].path, PlaceOf(P("c.klg")));
        open("c.klg", IDocumentPrompts::kReadNew);
        ASSERT_EQ(doc.ExportText(0, P("c.txt")), kFileOk);
        for (const auto& [kind, out] :
             {std::pair{EventKind::Reported, "r.pdf"}, {EventKind::Printed, "p.pdf"}}) {
            open("c.klg", IDocumentPrompts::kReadNew);
            archive.Produced(kind, P(out), archive.Shown());
        }
    }
    EXPECT_EQ(Read(P("c.txt")), cliText);
    const std::vector<std::string> window = Events(P("window.sqlite")),
                                   cli = Events(P("cli.sqlite"));
    EXPECT_EQ(window, cli);
    // created a, opened a, created b, opened b, changed name, created c, saved x2, then an open
    // before each of export, report and print.
    ASSERT_EQ(cli.size(), 14u);
    EXPECT_NE(cli[4].find(" changed name #2 "), std::string::npos) << cli[4];
    EXPECT_NE(cli[9].find(" exported  #3 "), std::string::npos) << cli[9];
    EXPECT_NE(cli[13].find(" printed  #3 "), std::string::npos) << cli[13];
}

} // namespace
} // namespace saroko
