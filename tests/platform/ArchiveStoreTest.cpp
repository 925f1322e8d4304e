// The SQLite archive on real files: creation and migration, and each fault a lab machine
// meets (another program writing, a read-only or full medium, a damaged or newer file, a
// process killed while it writes) leaves what was written readable and its chain whole.
#include <gtest/gtest.h>

#include <algorithm>

#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#ifndef _WIN32
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/archive/ArchiveSession.h"
#include "platform/ArchiveSetup.h"
#include "platform/SqliteArchiveStore.h"
#include "support/DataFiles.h"

namespace saroko {
namespace {

namespace fs = std::filesystem;
using namespace archive;

// The error of `sql`, or the first column of its last row.
std::string Exec(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_busy_timeout(db, 5000);
    char* err = nullptr;
    std::string out;
    sqlite3_exec(
        db, sql.c_str(),
        [](void* to, int, char** values, char**) {
            *static_cast<std::string*>(to) = values[0] ? values[0] : "";
            return 0;
        },
        &out, &err);
    if (err)
        out = err;
    sqlite3_free(err);
    sqlite3_close(db);
    return out;
}

std::string Bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

SessionContext Context(const std::string& user = "lab") {
    SessionContext c;
    c.user = user;
    c.host = "bench";
    c.version = "1.22";
    c.nowUtc = [] { return int64_t{1796630400}; };
    c.offsetMinutes = [](int64_t) { return 540; };
    return c;
}

Recording Rec(const std::string& name) {
    Recording r;
    r.sha256 = Sha256Hex(&Sha256, name);
    r.size = name.size();
    r.path = "/kept/" + name;
    r.source = "download";
    r.channels.push_back({1, "室温", 1204708020, "2008/ 3/ 5(Wed) 9: 7' 0", 60, 1440});
    return r;
}

#ifndef _WIN32
// Runs `body` in a child process and returns its exit status (-signal when killed).
template <class F> int InChild(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int rc = 99;
        try {
            rc = body();
        } catch (...) {
        }
        ::_exit(rc);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}
#endif

class ArchiveStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = m_dir.filePath("archive.sqlite").toStdString();
    }
    std::vector<Event> EventsOf(const std::string& p) {
        CSqliteArchiveStore s(p);
        std::vector<Event> ev;
        EXPECT_EQ(s.Events(ev), StoreStatus::kOk);
        return ev;
    }

    QTemporaryDir m_dir;
    std::string path;
};

TEST_F(ArchiveStoreTest, CreatedOnFirstUseAndReadBackAsWritten) {
    {
        CSqliteArchiveStore store(path);
        ASSERT_EQ(store.OpenStatus(), StoreStatus::kOk) << store.LastError();
        EXPECT_TRUE(store.Created());
        CArchiveSession s(&store, &Sha256, Context());
        Recording r = Rec("a");
        r.utcOffsetMinutes = -210;
        r.transcriptPath = "/kept/a.exchange.txt";
        EXPECT_EQ(s.Record(EventKind::Created, r, "downloaded").id, 1);
        s.RecordAbout(EventKind::Changed, r.sha256, "name", "室温", "冷蔵庫\nB", "誤記");
    }
    CSqliteArchiveStore store(path);
    EXPECT_FALSE(store.Created());
    EXPECT_EQ(store.SchemaVersion(), kSchemaVersion);
    std::optional<Recording> r;
    ASSERT_EQ(store.FindRecording(Rec("a").sha256, r), StoreStatus::kOk);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->utcOffsetMinutes, -210);
    EXPECT_EQ(r->transcriptPath, "/kept/a.exchange.txt");
    EXPECT_EQ(r->channels, Rec("a").channels);
    std::vector<Recording> all; // the list reads the channels in a pass of its own
    ASSERT_EQ(store.Recordings(all), StoreStatus::kOk);
    EXPECT_EQ(all.at(0).channels, Rec("a").channels);
    const std::vector<Event> ev = EventsOf(path);
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[1].newValue, "冷蔵庫\nB");
    EXPECT_EQ(ev[1].recordingId, 1);
    EXPECT_FALSE(CheckChain(&Sha256, ev));
    // The chain's first link, as an auditor recomputes it with sha256sum.
    EXPECT_EQ(ev[0].hash, Sha256Hex(&Sha256, kGenesisHash + CanonicalText(ev[0])));
    EXPECT_EQ(Exec(path, "PRAGMA journal_mode"), "wal");
}

// Every column comes back as it was written: a recording (with a kept file and a transcript),
// its channels and its event, each field with a value of its own.
TEST_F(ArchiveStoreTest, EveryColumnIsReadBackAsWritten) {
    Recording r = Rec("cols");
    r.firstSeen = "2026-12-07T08:30:00Z";
    r.recorder = "KM-41";
    r.identity = "0414";
    r.utcOffsetMinutes = -210;
    r.transcriptPath = "/kept/cols.exchange.txt";
    r.transcriptSha256 = Sha256Hex(&Sha256, "x");
    r.channels = {{3, "冷蔵庫", 1204708020, "2008/ 3/ 5(Wed) 9: 7' 0", 30, 7},
                  {5, "外気", 1204708080, "2008/ 3/ 5(Wed) 9: 8' 0", 60, 9}};
    const KeptFile k{
        0, 0, "/kept/cols", "/kept/cols.x.txt", Sha256Hex(&Sha256, "t"), "2026-12-07T08:31:00Z"};
    Event e;
    e.timeUtc = "2026-12-07T08:31:00Z", e.offsetMinutes = -210, e.user = "u", e.host = "h";
    e.version = "v", e.kind = EventKind::Created, e.detail = "downloaded";
    e.recordingSha256 = r.sha256, e.oldValue = "o", e.newValue = "n", e.reason = "why";
    std::vector<PendingEntry> batch{{r, k, e}};
    {
        CSqliteArchiveStore store(path);
        ASSERT_EQ(
            store.Write(batch, [](const Event* last, Event& ev) { SealEvent(&Sha256, last, ev); }),
            StoreStatus::kOk);
    }
    r.id = 1;
    const auto recordingFields = [](const Recording& x) {
        return std::tuple(x.id, x.sha256, x.size, x.path, x.source, x.firstSeen, x.recorder,
                          x.identity, x.utcOffsetMinutes, x.transcriptPath, x.transcriptSha256,
                          x.channels);
    };
    CSqliteArchiveStore store(path);
    std::optional<Recording> found;
    ASSERT_EQ(store.FindRecording(r.sha256, found), StoreStatus::kOk);
    ASSERT_TRUE(found);
    EXPECT_EQ(recordingFields(*found), recordingFields(r));
    std::vector<Recording> all;
    ASSERT_EQ(store.Recordings(all), StoreStatus::kOk);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(recordingFields(all[0]), recordingFields(r));
    std::vector<KeptFile> kept;
    ASSERT_EQ(store.KeptFiles(kept), StoreStatus::kOk);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(
        std::tuple(kept[0].id, kept[0].recordingId, kept[0].path, kept[0].transcriptPath,
                   kept[0].transcriptSha256, kept[0].keptAt),
        std::tuple(int64_t{1}, int64_t{1}, k.path, k.transcriptPath, k.transcriptSha256, k.keptAt));
    const Event& w = batch[0].event;
    const std::vector<Event> ev = EventsOf(path);
    ASSERT_EQ(ev.size(), 1u);
    const auto eventFields = [](const Event& x) {
        return std::tuple(x.seq, x.timeUtc, x.offsetMinutes, x.user, x.host, x.version, x.kind,
                          x.detail, x.recordingId, x.recordingSha256, x.oldValue, x.newValue,
                          x.reason, x.prevHash, x.hash);
    };
    EXPECT_EQ(eventFields(ev[0]), eventFields(w));
    // An offset the header leaves open is NULL, and read back as none.
    ASSERT_EQ(Exec(path, "UPDATE recordings SET utc_offset_minutes = NULL"), "");
    ASSERT_EQ(store.FindRecording(r.sha256, found), StoreStatus::kOk);
    EXPECT_EQ(found->utcOffsetMinutes, std::nullopt);
}

// The hash of every event, recomputed by the query the documentation gives an auditor, with
// escapes in every text field and offsets of either sign.
TEST_F(ArchiveStoreTest, TheDocumentedQueryRecomputesEveryHash) {
    const std::string doc = Bytes(test::DataFilePath("../../docs/ARCHIVE.md"));
    const auto from = doc.find("```sql\n"), to = doc.find("\n```", from + 1);
    ASSERT_NE(from, std::string::npos);
    const std::string query = doc.substr(from + 7, to - from - 7);
    const int offsets[] = {540, -210, 0, -1, 61};
    int next = 0;
    SessionContext c = Context("l\\a\nb\rc");
    c.host = "h\\\r\n";
    c.version = "1.22\\n";
    c.offsetMinutes = [&](int64_t) { return offsets[next++ % 5]; };
    {
        CSqliteArchiveStore store(path);
        CArchiveSession s(&store, &Sha256, c);
        s.Record(EventKind::Created, Rec("a"), "downloaded");
        for (const char* v : {"a\\b", "a\nb", "a\rb", "\\n"})
            s.RecordAbout(EventKind::Changed, Rec("a").sha256, v, v, std::string(v) + "!", v);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, query.c_str(), -1, &st, nullptr), SQLITE_OK) << query;
    const std::vector<Event> ev = EventsOf(path);
    ASSERT_EQ(ev.size(), 5u);
    std::set<int> signs;
    for (const Event& e : ev) {
        sqlite3_reset(st);
        sqlite3_bind_int64(st, sqlite3_bind_parameter_index(st, ":n"), e.seq);
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
        const std::string text(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                               static_cast<std::size_t>(sqlite3_column_bytes(st, 0)));
        EXPECT_EQ(Sha256Hex(&Sha256, text), e.hash) << e.seq << "\n" << text;
        signs.insert(e.offsetMinutes < 0 ? -1 : e.offsetMinutes > 0);
    }
    EXPECT_EQ(signs, (std::set<int>{-1, 0, 1})) << "offsets of either sign and none";
    sqlite3_finalize(st);
    sqlite3_close(db);
}

// The user's folders moved: kept downloads follow their folder, nothing else does.
TEST_F(ArchiveStoreTest, KeptFilesFollowTheirFolderToItsNewPlace) {
    CSqliteArchiveStore store(path);
    CArchiveSession s(&store, &Sha256, Context());
    for (const auto& [name, where, source] :
         {std::tuple{"a", "/old/Saroko/downloads/a", "download"},
          {"b", "/old/Saroko2/downloads/b", "download"},
          {"c", "/old/Saroko/c", "file"}}) {
        Recording r = Rec(name);
        r.path = where;
        r.transcriptPath = r.path + ".txt";
        r.source = source;
        s.Record(EventKind::Created, r);
    }
    EXPECT_EQ(store.MoveKeptPaths("/old/Saroko", "/new/saroko"), StoreStatus::kOk);
    EXPECT_EQ(
        Exec(path, "SELECT group_concat(path || ' ' || transcript_path, ' ') FROM recordings"),
        "/new/saroko/downloads/a /new/saroko/downloads/a.txt "
        "/old/Saroko2/downloads/b /old/Saroko2/downloads/b.txt /old/Saroko/c /old/Saroko/c.txt");
    KeptFile k;
    k.path = "/old/Saroko/downloads/d";
    k.transcriptPath = k.path + ".txt";
    s.Keep(Rec("d"), "downloaded", k);
    EXPECT_EQ(store.MoveKeptPaths("/old/Saroko", "/new/saroko"), StoreStatus::kOk);
    EXPECT_EQ(
        Exec(path, "SELECT group_concat(path || ' ' || transcript_path, ' ') FROM kept_files"),
        "/new/saroko/downloads/d /new/saroko/downloads/d.txt");
}

TEST_F(ArchiveStoreTest, TheFirstVersionIsMigratedAndTheTrailBecomesAppendOnly) {
    {
        CSqliteArchiveStore v1(path, 1);
        ASSERT_EQ(v1.OpenStatus(), StoreStatus::kOk);
        EXPECT_EQ(v1.SchemaVersion(), 1);
    }
    ASSERT_EQ(Exec(path, "INSERT INTO recordings VALUES (1,'ab',3,'/k/a','download',"
                         "'2026-01-01T00:00:00Z','KM-41','',540);"
                         "INSERT INTO events VALUES (1,'2026-01-01T00:00:00Z',540,'u','h','1.21',"
                         "'created','imported',1,'ab','','','','0','x');"
                         "UPDATE events SET user='v'"),
              "");
    CSqliteArchiveStore store(path);
    ASSERT_EQ(store.OpenStatus(), StoreStatus::kOk) << store.LastError();
    EXPECT_EQ(store.SchemaVersion(), kSchemaVersion);
    EXPECT_EQ(Exec(path, "PRAGMA user_version"), "3") << "the version the file says it is";
    std::vector<Recording> recs;
    ASSERT_EQ(store.Recordings(recs), StoreStatus::kOk);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].transcriptPath, "");
    EXPECT_EQ(recs[0].utcOffsetMinutes, 540);
    EXPECT_NE(Exec(path, "UPDATE events SET user='w'").find("append-only"), std::string::npos);
    EXPECT_NE(Exec(path, "DELETE FROM events").find("append-only"), std::string::npos);
    EXPECT_EQ(EventsOf(path).at(0).user, "v");
}

// An archive from before kept files had rows of their own: each download's file and
// transcript become its kept file; files opened from elsewhere do not. Afterwards a path is
// found as a kept file, a second copy of the same bytes is kept beside the first, and a path
// kept again holds the newer file.
TEST_F(ArchiveStoreTest, KeptFilesAreMigratedFoundByPathAndKeptOnePerPath) {
    {
        CSqliteArchiveStore v2(path, 2);
        CArchiveSession s(&v2, &Sha256, Context());
        Recording a = Rec("a");
        a.transcriptPath = "/kept/a.exchange.txt";
        a.transcriptSha256 = "tt";
        s.Record(EventKind::Created, a, "downloaded");
        Recording f = Rec("f");
        f.source = "file";
        s.Record(EventKind::Opened, f);
    }
    CSqliteArchiveStore store(path);
    ASSERT_EQ(store.OpenStatus(), StoreStatus::kOk) << store.LastError();
    EXPECT_EQ(store.FoundVersion(), 2);
    std::vector<KeptFile> kept;
    ASSERT_EQ(store.KeptFiles(kept), StoreStatus::kOk);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(std::tuple(kept[0].recordingId, kept[0].path, kept[0].transcriptPath,
                         kept[0].transcriptSha256),
              std::tuple(int64_t{1}, std::string("/kept/a"), std::string("/kept/a.exchange.txt"),
                         std::string("tt")));
    std::optional<Recording> r;
    bool isKept = false;
    ASSERT_EQ(store.FindByPath("/kept/a", r, isKept), StoreStatus::kOk);
    EXPECT_TRUE(r && r->id == 1 && isKept && r->channels.size() == 1);
    ASSERT_EQ(store.FindByPath("/kept/f", r, isKept), StoreStatus::kOk);
    EXPECT_TRUE(r && r->id == 2 && !isKept);
    ASSERT_EQ(store.FindByPath("/kept/none", r, isKept), StoreStatus::kOk);
    EXPECT_FALSE(r);

    CArchiveSession s(&store, &Sha256, Context());
    KeptFile second;
    second.path = "/kept/a-2";
    s.Keep(Rec("a"), "downloaded", second);
    KeptFile over;
    over.path = "/kept/a-2";
    s.Keep(Rec("b"), "downloaded", over);
    ASSERT_EQ(store.FindByPath("/kept/a-2", r, isKept), StoreStatus::kOk);
    EXPECT_TRUE(r && r->sha256 == Rec("b").sha256 && isKept);
    EXPECT_EQ(Exec(path, "SELECT group_concat(recording_id || ' ' || path, ', ') FROM kept_files"),
              "1 /kept/a, 3 /kept/a-2");
    // Each check's result stays until the next check of the same file.
    ASSERT_EQ(
        store.SaveChecks({{"/kept/a", 1, "changed", "t1"}, {"/kept/a-2", 3, "verified", "t1"}}),
        StoreStatus::kOk);
    ASSERT_EQ(store.SaveChecks({{"/kept/a", 1, "verified", "t2"}}), StoreStatus::kOk);
    std::vector<FileCheck> checks;
    ASSERT_EQ(store.Checks(checks), StoreStatus::kOk);
    std::sort(checks.begin(), checks.end(),
              [](const FileCheck& x, const FileCheck& y) { return x.path < y.path; });
    EXPECT_EQ(checks, (std::vector<FileCheck>{{"/kept/a", 1, "verified", "t2"},
                                              {"/kept/a-2", 3, "verified", "t1"}}));
}

#ifndef _WIN32 // a second process made by fork
// The busy timeout holds a writer back while another holds the archive, then gives up.
TEST_F(ArchiveStoreTest, AnotherWriterIsWaitedForUntilTheTimeout) {
    { CSqliteArchiveStore create(path); }
    for (auto [holdMs, timeoutMs, expected] :
         {std::tuple{150, 2000, StoreStatus::kOk}, std::tuple{1200, 300, StoreStatus::kBusy}}) {
        sqlite3* other = nullptr;
        sqlite3_open(path.c_str(), &other);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        std::thread release([&, holdMs = holdMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        });
        CSqliteArchiveStore store(path, kSchemaVersion, timeoutMs);
        CArchiveSession s(&store, &Sha256, Context());
        const auto t0 = std::chrono::steady_clock::now();
        s.Record(EventKind::Created, Rec("held" + std::to_string(holdMs)), "downloaded");
        const auto waited = std::chrono::steady_clock::now() - t0;
        EXPECT_EQ(s.LastStatus(), expected) << holdMs;
        EXPECT_GE(waited, std::chrono::milliseconds(std::min(holdMs, timeoutMs) - 20)) << holdMs;
        release.join();
        sqlite3_close(other);
        if (expected == StoreStatus::kBusy) {
            EXPECT_EQ(s.Waiting(), 1u);
            EXPECT_NE(s.TakeMessage().find("他のプログラム"), std::string::npos);
            EXPECT_TRUE(s.Flush()); // free again: what waited is written
        }
    }
    // Without a time of its own a writer waits 5 s, as documented, and not much longer.
    sqlite3* other = nullptr;
    sqlite3_open(path.c_str(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        CSqliteArchiveStore store(path);
        CArchiveSession s(&store, &Sha256, Context());
        const auto t0 = std::chrono::steady_clock::now();
        s.Record(EventKind::Created, Rec("held"), "downloaded");
        const auto waited = std::chrono::steady_clock::now() - t0;
        EXPECT_EQ(s.LastStatus(), StoreStatus::kBusy);
        EXPECT_GE(waited, std::chrono::milliseconds(4950));
        EXPECT_LT(waited, std::chrono::milliseconds(5900));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        EXPECT_TRUE(s.Flush());
    }
    const std::vector<Event> ev = EventsOf(path);
    EXPECT_EQ(ev.size(), 3u);
    EXPECT_FALSE(CheckChain(&Sha256, ev));
}
#endif

#ifndef _WIN32 // an unprivileged user made by fork and setuid
TEST_F(ArchiveStoreTest, AReadOnlyArchiveIsReadAndNotWritten) {
    {
        CSqliteArchiveStore store(path);
        CArchiveSession s(&store, &Sha256, Context());
        s.Record(EventKind::Created, Rec("a"), "downloaded");
    }
    ASSERT_EQ(::chmod(m_dir.path().toLocal8Bit().constData(), 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string before = Bytes(path);
    // As an unprivileged user, for whom the mode counts.
    const int rc = InChild([&] {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 10;
        CSqliteArchiveStore store(path);
        if (store.OpenStatus() != StoreStatus::kReadOnly)
            return 11;
        CArchiveSession s(&store, &Sha256, Context());
        if (!s.Find(Rec("a").sha256))
            return 12;
        s.Record(EventKind::Opened, Rec("a"));
        if (s.Waiting() != 1 || s.TakeMessage().find("読み取り専用") == std::string::npos)
            return 13;
        return 0;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Bytes(path), before);
}
#endif

#ifndef _WIN32 // a full disk made by a file size limit
// A disk that fills mid-write: the transaction is undone, the events wait, and they are
// written once there is room again.
TEST_F(ArchiveStoreTest, AFullDiskLosesNothingAndTheEventsFollowLater) {
    { CSqliteArchiveStore create(path); }
    const int rc = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        CSqliteArchiveStore store(path);
        CArchiveSession s(&store, &Sha256, Context());
        s.Record(EventKind::Created, Rec("a"), "downloaded");
        rlimit lim{};
        ::getrlimit(RLIMIT_FSIZE, &lim);
        const rlimit small{static_cast<rlim_t>(fs::file_size(path) + 8192), lim.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
        s.RecordAbout(EventKind::Changed, Rec("a").sha256, "name", "", std::string(200000, 'x'));
        if (s.LastStatus() == StoreStatus::kOk || s.Waiting() != 1)
            return 20;
        if (s.TakeMessage().empty())
            return 21;
        ::setrlimit(RLIMIT_FSIZE, &lim);
        return s.Flush() ? 0 : 22;
    });
    EXPECT_EQ(rc, 0);
    const std::vector<Event> ev = EventsOf(path);
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[1].newValue.size(), 200000u);
    EXPECT_FALSE(CheckChain(&Sha256, ev));
}
#endif

TEST_F(ArchiveStoreTest, ADamagedOrNewerArchiveIsNeverWrittenOver) {
    struct Row {
        const char* name;
        std::function<void()> spoil;
        StoreStatus status;
    };
    const Row rows[] = {
        {"not a database", [&] { std::ofstream(path, std::ios::binary) << std::string(4096, 'Z'); },
         StoreStatus::kCorrupt},
        {"header overwritten",
         [&] {
             { CSqliteArchiveStore create(path); }
             std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(0);
             f << "this is no longer a header";
         },
         StoreStatus::kCorrupt},
        {"newer schema",
         [&] {
             { CSqliteArchiveStore create(path); }
             Exec(path, "PRAGMA user_version=" + std::to_string(kSchemaVersion + 1));
         },
         StoreStatus::kNewerSchema},
    };
    for (const Row& row : rows) {
        fs::remove(path);
        row.spoil();
        const std::string before = Bytes(path);
        {
            CSqliteArchiveStore store(path);
            EXPECT_EQ(store.OpenStatus(), row.status) << row.name;
            CArchiveSession s(&store, &Sha256, Context());
            s.NoteFailure(store.OpenStatus());
            s.Record(EventKind::Created, Rec("a"), "downloaded");
            EXPECT_EQ(s.Waiting(), 1u) << row.name;
            EXPECT_FALSE(s.Flush()) << row.name;
            EXPECT_FALSE(s.TakeMessage().empty()) << row.name;
        }
        EXPECT_EQ(Bytes(path), before) << row.name;
    }
    // Set aside under a new name, a new archive starts where it was.
    const std::string aside = SetArchiveAside(path, "20261207-120000");
    EXPECT_EQ(aside, path + ".corrupt-20261207-120000");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(SetArchiveAside(path, "20261207-120000"), ""); // nothing there
    CSqliteArchiveStore fresh(path);
    EXPECT_EQ(fresh.OpenStatus(), StoreStatus::kOk);
    EXPECT_TRUE(fresh.Created());
}

#ifndef _WIN32 // processes made by fork and killed by a signal
// Killed at any moment of its writes, a program leaves an archive whose chain holds; two
// writing at once both keep every event, in one chain.
TEST_F(ArchiveStoreTest, KilledWritersAndTwoAtOnceLeaveOneWholeChain) {
    { CSqliteArchiveStore create(path); }
    auto writer = [&](const std::string& who, int count) {
        return [&, who, count] {
            CSqliteArchiveStore store(path);
            CArchiveSession s(&store, &Sha256, Context(who));
            for (int i = 0; count < 0 || i < count; ++i) {
                s.Record(EventKind::Opened, Rec(who + std::to_string(i % 7)));
                if (!s.Flush())
                    return 30;
            }
            return 0;
        };
    };
    for (int round = 0; round < 3; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(writer("killed", -1)());
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + 70 * round));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
    }
    const std::size_t afterKills = EventsOf(path).size();
    EXPECT_GT(afterKills, 3u);

    pid_t both[2];
    for (int k = 0; k < 2; ++k) {
        both[k] = ::fork();
        if (both[k] == 0)
            ::_exit(writer(k == 0 ? "left" : "right", 60)());
    }
    for (pid_t pid : both) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::vector<Event> ev = EventsOf(path);
    EXPECT_FALSE(CheckChain(&Sha256, ev));
    std::map<std::string, int> by;
    for (std::size_t i = afterKills; i < ev.size(); ++i)
        ++by[ev[i].user];
    EXPECT_EQ(by["left"], 60 + 7); // each file's creation, then its openings
    EXPECT_EQ(by["right"], 60 + 7);
    EXPECT_EQ(ev.size(), afterKills + 134);
}
#endif

} // namespace
} // namespace saroko
