#include "platform/SqliteArchiveStore.h"
#include "core/files/Utf8Path.h"

#include <sqlite3.h>

#include <filesystem>

namespace saroko {
namespace {

using archive::Event;
using archive::Recording;
using archive::StoreStatus;

// Each step takes the archive from version i to i + 1.
const char* const kMigrations[] = {
    // 1: recordings, their channels and the audit trail.
    "CREATE TABLE recordings ("
    " id INTEGER PRIMARY KEY, sha256 TEXT NOT NULL UNIQUE, size INTEGER NOT NULL,"
    " path TEXT NOT NULL, source TEXT NOT NULL, first_seen TEXT NOT NULL,"
    " recorder TEXT NOT NULL, identity TEXT NOT NULL, utc_offset_minutes INTEGER);"
    "CREATE TABLE channels ("
    " recording_id INTEGER NOT NULL REFERENCES recordings(id), position INTEGER NOT NULL,"
    " number INTEGER NOT NULL, name TEXT NOT NULL, start_utc INTEGER NOT NULL,"
    " start_local TEXT NOT NULL, interval INTEGER NOT NULL, samples INTEGER NOT NULL,"
    " PRIMARY KEY (recording_id, position));"
    "CREATE TABLE events ("
    " seq INTEGER PRIMARY KEY, time_utc TEXT NOT NULL, utc_offset_minutes INTEGER NOT NULL,"
    " user TEXT NOT NULL, host TEXT NOT NULL, version TEXT NOT NULL, event TEXT NOT NULL,"
    " detail TEXT NOT NULL, recording_id INTEGER NOT NULL, sha256 TEXT NOT NULL,"
    " old_value TEXT NOT NULL, new_value TEXT NOT NULL, reason TEXT NOT NULL,"
    " prev_hash TEXT NOT NULL, hash TEXT NOT NULL);"
    "CREATE INDEX events_recording ON events(recording_id);",
    // 2: a download's kept exchange beside it, and the trail made append-only.
    "ALTER TABLE recordings ADD COLUMN transcript_path TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE recordings ADD COLUMN transcript_sha256 TEXT NOT NULL DEFAULT '';"
    "CREATE TRIGGER events_no_update BEFORE UPDATE ON events"
    " BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END;"
    "CREATE TRIGGER events_no_delete BEFORE DELETE ON events"
    " BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END;",
    // 3: every kept file on its own (identical bytes downloaded twice are one recording kept
    // twice), taken over from the downloads' own rows; and each kept file's last check.
    "CREATE TABLE kept_files ("
    " id INTEGER PRIMARY KEY, recording_id INTEGER NOT NULL REFERENCES recordings(id),"
    " path TEXT NOT NULL UNIQUE, transcript_path TEXT NOT NULL, transcript_sha256 TEXT NOT NULL,"
    " kept_at TEXT NOT NULL);"
    "CREATE INDEX kept_files_recording ON kept_files(recording_id);"
    "INSERT OR IGNORE INTO kept_files (recording_id, path, transcript_path, transcript_sha256,"
    " kept_at) SELECT id, path, transcript_path, transcript_sha256, first_seen FROM recordings"
    " WHERE source = 'download' AND path <> '' ORDER BY id;"
    "CREATE TABLE file_checks ("
    " path TEXT PRIMARY KEY, recording_id INTEGER NOT NULL, status TEXT NOT NULL,"
    " checked_at TEXT NOT NULL);"
    "CREATE INDEX recordings_path ON recordings(path);",
};
static_assert(std::size(kMigrations) == archive::kSchemaVersion);

class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        m_rc = sqlite3_prepare_v2(db, sql, -1, &m_st, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_st); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    int Prepared() const { return m_rc; }
    void Bind(int i, const std::string& s) {
        sqlite3_bind_text(m_st, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    void Bind(int i, int64_t v) { sqlite3_bind_int64(m_st, i, v); }
    void BindNull(int i) { sqlite3_bind_null(m_st, i); }
    int Step() { return sqlite3_step(m_st); }
    void Reset() {
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
    }
    std::string Text(int i) const {
        const unsigned char* t = sqlite3_column_text(m_st, i);
        return t ? std::string(reinterpret_cast<const char*>(t),
                               static_cast<std::size_t>(sqlite3_column_bytes(m_st, i)))
                 : std::string();
    }
    int64_t Int(int i) const { return sqlite3_column_int64(m_st, i); }
    bool IsNull(int i) const { return sqlite3_column_type(m_st, i) == SQLITE_NULL; }

private:
    sqlite3_stmt* m_st = nullptr;
    int m_rc = SQLITE_OK;
};

// A path as the file: URI wants it: the characters that mean something there escaped.
std::string UriPath(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#' || c <= ' ' || c >= 0x80) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

const char kEventColumns[] =
    "seq, time_utc, utc_offset_minutes, user, host, version, event, detail, recording_id,"
    " sha256, old_value, new_value, reason, prev_hash, hash";

Event EventFrom(const Statement& st) {
    Event e;
    e.seq = st.Int(0);
    e.timeUtc = st.Text(1);
    e.offsetMinutes = static_cast<int>(st.Int(2));
    e.user = st.Text(3);
    e.host = st.Text(4);
    e.version = st.Text(5);
    // A kind this program does not know still hashes as its name would; keep it visible.
    const std::string kind = st.Text(6);
    e.kind = archive::EventKindFromName(kind).value_or(archive::EventKind::Changed);
    if (!archive::EventKindFromName(kind))
        e.detail = kind + ": ";
    e.detail += st.Text(7);
    e.recordingId = st.Int(8);
    e.recordingSha256 = st.Text(9);
    e.oldValue = st.Text(10);
    e.newValue = st.Text(11);
    e.reason = st.Text(12);
    e.prevHash = st.Text(13);
    e.hash = st.Text(14);
    return e;
}

const char kRecordingColumns[] =
    "id, sha256, size, path, source, first_seen, recorder, identity, utc_offset_minutes,"
    " transcript_path, transcript_sha256";

Recording RecordingFrom(const Statement& st) {
    Recording r;
    r.id = st.Int(0);
    r.sha256 = st.Text(1);
    r.size = static_cast<uint64_t>(st.Int(2));
    r.path = st.Text(3);
    r.source = st.Text(4);
    r.firstSeen = st.Text(5);
    r.recorder = st.Text(6);
    r.identity = st.Text(7);
    if (!st.IsNull(8))
        r.utcOffsetMinutes = static_cast<int>(st.Int(8));
    r.transcriptPath = st.Text(9);
    r.transcriptSha256 = st.Text(10);
    return r;
}

const char kChannelColumns[] = "number, name, start_utc, start_local, interval, samples";
constexpr int kChannelColumnCount = 6;

archive::ChannelInfo ChannelFrom(const Statement& st) {
    return {static_cast<int>(st.Int(0)),
            st.Text(1),
            st.Int(2),
            st.Text(3),
            static_cast<uint32_t>(st.Int(4)),
            static_cast<int>(st.Int(5))};
}

// The statements of one write, prepared once for the whole batch.
struct WriteStatements {
    explicit WriteStatements(sqlite3* db)
        : addRec(db, "INSERT OR IGNORE INTO recordings (sha256, size, path, source, first_seen,"
                     " recorder, identity, utc_offset_minutes, transcript_path, transcript_sha256)"
                     " VALUES (?,?,?,?,?,?,?,?,?,?)"),
          addChan(db, "INSERT INTO channels VALUES (?,?,?,?,?,?,?,?)"),
          findId(db, "SELECT id FROM recordings WHERE sha256 = ?"),
          addEvent(db, "INSERT INTO events VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
          // A path kept again holds the newer file now.
          addKept(db, "INSERT INTO kept_files (recording_id, path, transcript_path,"
                      " transcript_sha256, kept_at) VALUES (?,?,?,?,?) ON CONFLICT(path) DO UPDATE"
                      " SET recording_id = excluded.recording_id, transcript_path ="
                      " excluded.transcript_path, transcript_sha256 = excluded.transcript_sha256,"
                      " kept_at = excluded.kept_at") {}
    Statement addRec, addChan, findId, addEvent, addKept;
};

// The newest event of the trail into `last` (none in a new archive). Each of these steps
// returns SQLITE_DONE when it went well, else SQLite's code.
int ReadLastEvent(sqlite3* db, std::optional<Event>& last) {
    const std::string sql =
        std::string("SELECT ") + kEventColumns + " FROM events ORDER BY seq DESC LIMIT 1";
    Statement st(db, sql.c_str());
    const int rc = st.Step();
    if (rc == SQLITE_ROW)
        last = EventFrom(st);
    return rc == SQLITE_ROW ? SQLITE_DONE : rc;
}

// A recording and its channels; one the archive holds already (the same hash) is left as it
// is, and keeps no id here.
int InsertRecording(sqlite3* db, WriteStatements& st, Recording& r) {
    Statement& addRec = st.addRec;
    addRec.Reset();
    addRec.Bind(1, r.sha256);
    addRec.Bind(2, static_cast<int64_t>(r.size));
    addRec.Bind(3, r.path);
    addRec.Bind(4, r.source);
    addRec.Bind(5, r.firstSeen);
    addRec.Bind(6, r.recorder);
    addRec.Bind(7, r.identity);
    if (r.utcOffsetMinutes)
        addRec.Bind(8, int64_t{*r.utcOffsetMinutes});
    else
        addRec.BindNull(8);
    addRec.Bind(9, r.transcriptPath);
    addRec.Bind(10, r.transcriptSha256);
    if (int rc = addRec.Step(); rc != SQLITE_DONE)
        return rc;
    if (sqlite3_changes(db) != 1)
        return SQLITE_DONE;
    r.id = sqlite3_last_insert_rowid(db);
    for (std::size_t i = 0; i < r.channels.size(); ++i) {
        const archive::ChannelInfo& c = r.channels[i];
        st.addChan.Reset();
        st.addChan.Bind(1, r.id);
        st.addChan.Bind(2, static_cast<int64_t>(i));
        st.addChan.Bind(3, int64_t{c.number});
        st.addChan.Bind(4, c.name);
        st.addChan.Bind(5, c.startUtc);
        st.addChan.Bind(6, c.startLocal);
        st.addChan.Bind(7, int64_t{c.interval});
        st.addChan.Bind(8, int64_t{c.samples});
        if (int rc = st.addChan.Step(); rc != SQLITE_DONE)
            return rc;
    }
    return SQLITE_DONE;
}

// The archive's id of the event's recording, where it holds one.
int FindRecordingId(Statement& findId, Event& e) {
    findId.Reset();
    findId.Bind(1, e.recordingSha256);
    const int rc = findId.Step();
    if (rc == SQLITE_ROW)
        e.recordingId = findId.Int(0);
    return rc == SQLITE_ROW ? SQLITE_DONE : rc;
}

int InsertEvent(Statement& addEvent, const Event& e) {
    addEvent.Reset();
    addEvent.Bind(1, e.seq);
    addEvent.Bind(2, e.timeUtc);
    addEvent.Bind(3, int64_t{e.offsetMinutes});
    addEvent.Bind(4, e.user);
    addEvent.Bind(5, e.host);
    addEvent.Bind(6, e.version);
    addEvent.Bind(7, std::string(archive::EventKindName(e.kind)));
    addEvent.Bind(8, e.detail);
    addEvent.Bind(9, e.recordingId);
    addEvent.Bind(10, e.recordingSha256);
    addEvent.Bind(11, e.oldValue);
    addEvent.Bind(12, e.newValue);
    addEvent.Bind(13, e.reason);
    addEvent.Bind(14, e.prevHash);
    addEvent.Bind(15, e.hash);
    return addEvent.Step();
}

// A kept file of the recording `recordingId`, written over one kept before at its path.
int InsertKept(sqlite3* db, Statement& addKept, archive::KeptFile& k, int64_t recordingId) {
    k.recordingId = recordingId;
    addKept.Reset();
    addKept.Bind(1, k.recordingId);
    addKept.Bind(2, k.path);
    addKept.Bind(3, k.transcriptPath);
    addKept.Bind(4, k.transcriptSha256);
    addKept.Bind(5, k.keptAt);
    if (int rc = addKept.Step(); rc != SQLITE_DONE)
        return rc;
    k.id = sqlite3_last_insert_rowid(db);
    return SQLITE_DONE;
}

} // namespace

CSqliteArchiveStore::CSqliteArchiveStore(const std::string& path, int schemaVersion,
                                         int busyTimeoutMs)
    : m_szPath(path), m_nBusyTimeoutMs(busyTimeoutMs) {
    m_openStatus = Open(schemaVersion);
}

CSqliteArchiveStore::~CSqliteArchiveStore() {
    sqlite3_close_v2(m_db);
}

StoreStatus CSqliteArchiveStore::Status(int rc) {
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
        return StoreStatus::kOk;
    m_szError = m_szPath + ": " + (m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreStatus::kBusy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return StoreStatus::kReadOnly;
    case SQLITE_FULL:
        return StoreStatus::kFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return StoreStatus::kCorrupt;
    default:
        return StoreStatus::kFailed;
    }
}

StoreStatus CSqliteArchiveStore::Exec(const char* sql) {
    return Status(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

StoreStatus CSqliteArchiveStore::Open(int schemaVersion) {
    std::error_code ec;
    m_bCreated = !std::filesystem::exists(PathOfUtf8(m_szPath), ec);
    if (m_bCreated)
        std::filesystem::create_directories(PathOfUtf8(m_szPath).parent_path(), ec);
    int rc = sqlite3_open_v2(m_szPath.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc != SQLITE_OK)
        return Status(rc);
    sqlite3_busy_timeout(m_db, m_nBusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
    // A file that may not be written is still read, as it is.
    const bool readOnly = sqlite3_db_readonly(m_db, "main") == 1;
    if (readOnly)
        ReadOnlyFallback();
    // Reading the version is the first read of the file: a file that is not a database, or a
    // damaged one, fails here.
    int version = 0;
    {
        Statement st(m_db, "PRAGMA user_version");
        if (st.Prepared() != SQLITE_OK)
            return Status(st.Prepared());
        rc = st.Step();
        if (rc != SQLITE_ROW)
            return Status(rc);
        version = static_cast<int>(st.Int(0));
    }
    m_nVersion = version;
    m_nFoundVersion = version;
    if (version > archive::kSchemaVersion) {
        m_szError = m_szPath + ": version " + std::to_string(version);
        return StoreStatus::kNewerSchema;
    }
    if (readOnly) {
        m_szError = m_szPath + ": read-only";
        return StoreStatus::kReadOnly;
    }
    // WAL lets a reader go on while another program writes.
    if (StoreStatus s = Exec("PRAGMA journal_mode=WAL"); s != StoreStatus::kOk)
        return s;
    if (version < schemaVersion)
        if (StoreStatus s = Migrate(version, schemaVersion); s != StoreStatus::kOk)
            return s;
    m_nVersion = std::max(version, schemaVersion);
    return StoreStatus::kOk;
}

void CSqliteArchiveStore::ReadOnlyFallback() {
    // Where the journal's shared-memory file cannot be made either (a read-only folder or
    // medium), SQLite reads the file only as one that nobody changes; nobody can, here.
    {
        Statement probe(m_db, "PRAGMA user_version");
        if (probe.Prepared() == SQLITE_OK && probe.Step() == SQLITE_ROW)
            return;
    }
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    const std::string uri = "file:" + UriPath(m_szPath) + "?immutable=1";
    sqlite3_open_v2(uri.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
}

StoreStatus CSqliteArchiveStore::Migrate(int from, int to) {
    if (StoreStatus s = Exec("BEGIN IMMEDIATE"); s != StoreStatus::kOk)
        return s;
    for (int v = from; v < to; ++v) {
        if (StoreStatus s = Exec(kMigrations[v]); s != StoreStatus::kOk) {
            Exec("ROLLBACK");
            return s;
        }
    }
    const std::string setVersion = "PRAGMA user_version=" + std::to_string(to);
    if (StoreStatus s = Exec(setVersion.c_str()); s != StoreStatus::kOk) {
        Exec("ROLLBACK");
        return s;
    }
    return Exec("COMMIT");
}

bool CSqliteArchiveStore::Usable() {
    // A busy, read-only or full archive may be writable again later in the same run; a
    // corrupt or newer one is not touched again.
    if (m_openStatus != StoreStatus::kOk && m_openStatus != StoreStatus::kCorrupt &&
        m_openStatus != StoreStatus::kNewerSchema) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_openStatus = Open(archive::kSchemaVersion);
    }
    return m_openStatus == StoreStatus::kOk;
}

StoreStatus CSqliteArchiveStore::Write(std::vector<archive::PendingEntry>& batch,
                                       const Sealer& seal) {
    if (!Usable())
        return m_openStatus;
    if (StoreStatus s = Exec("BEGIN IMMEDIATE"); s != StoreStatus::kOk)
        return s;
    auto fail = [this](int rc) {
        const StoreStatus s = Status(rc);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return s;
    };
    std::optional<Event> last;
    if (int rc = ReadLastEvent(m_db, last); rc != SQLITE_DONE)
        return fail(rc);
    WriteStatements st(m_db);
    for (archive::PendingEntry& p : batch) {
        if (p.recording)
            if (int rc = InsertRecording(m_db, st, *p.recording); rc != SQLITE_DONE)
                return fail(rc);
        Event& e = p.event;
        if (int rc = FindRecordingId(st.findId, e); rc != SQLITE_DONE)
            return fail(rc);
        seal(last ? &*last : nullptr, e);
        if (int rc = InsertEvent(st.addEvent, e); rc != SQLITE_DONE)
            return fail(rc);
        last = e;
        if (p.kept && e.recordingId > 0)
            if (int rc = InsertKept(m_db, st.addKept, *p.kept, e.recordingId); rc != SQLITE_DONE)
                return fail(rc);
    }
    if (int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr); rc != SQLITE_OK)
        return fail(rc);
    return StoreStatus::kOk;
}

StoreStatus CSqliteArchiveStore::LoadChannels(Recording& r) {
    const std::string sql = std::string("SELECT ") + kChannelColumns +
                            " FROM channels WHERE recording_id = ? ORDER BY position";
    Statement st(m_db, sql.c_str());
    st.Bind(1, r.id);
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
        r.channels.push_back(ChannelFrom(st));
    return Status(rc);
}

StoreStatus CSqliteArchiveStore::FindRecording(const std::string& sha256,
                                               std::optional<Recording>& out) {
    out.reset();
    if (!m_db || m_nVersion > archive::kSchemaVersion)
        return m_openStatus;
    const std::string sql =
        std::string("SELECT ") + kRecordingColumns + " FROM recordings WHERE sha256 = ?";
    Statement st(m_db, sql.c_str());
    if (st.Prepared() != SQLITE_OK)
        return Status(st.Prepared());
    st.Bind(1, sha256);
    const int rc = st.Step();
    if (rc == SQLITE_ROW) {
        out = RecordingFrom(st);
        return LoadChannels(*out);
    }
    return Status(rc);
}

StoreStatus CSqliteArchiveStore::MoveKeptPaths(const std::string& from, const std::string& to) {
    if (!m_db || m_nVersion > archive::kSchemaVersion)
        return m_openStatus;
    // Whole folder names only: "/a/Saroko" takes "/a/Saroko/x" along, never "/a/Saroko2/x".
    const std::string inside = from + "/";
    const std::string moved = to + "/";
    const auto under = [](const char* column) {
        return std::string("substr(") + column + ", 1, length(?1)) = ?1";
    };
    const auto follow = [&](const char* column) {
        return std::string(column) + " = CASE WHEN " + under(column) + " THEN ?2 || substr(" +
               column + ", length(?1) + 1) ELSE " + column + " END";
    };
    const std::string where = " WHERE source = 'download' AND (" + under("path") + " OR " +
                              under("transcript_path") + ")";
    const std::string keptWhere = " WHERE " + under("path") + " OR " + under("transcript_path");
    // A read first: opening the archive takes no write lock unless something moved.
    {
        Statement count(m_db, ("SELECT (SELECT count(*) FROM recordings" + where +
                               ") + (SELECT count(*) FROM kept_files" + keptWhere + ")")
                                  .c_str());
        if (count.Prepared() != SQLITE_OK)
            return Status(count.Prepared());
        count.Bind(1, inside);
        if (const int rc = count.Step(); rc != SQLITE_ROW)
            return Status(rc);
        if (count.Int(0) == 0)
            return StoreStatus::kOk;
    }
    if (StoreStatus s = Exec("BEGIN IMMEDIATE"); s != StoreStatus::kOk)
        return s;
    for (const std::string& sql :
         {"UPDATE recordings SET " + follow("path") + ", " + follow("transcript_path") + where,
          "UPDATE kept_files SET " + follow("path") + ", " + follow("transcript_path") +
              keptWhere}) {
        Statement st(m_db, sql.c_str());
        StoreStatus s = Status(st.Prepared());
        if (s == StoreStatus::kOk) {
            st.Bind(1, inside);
            st.Bind(2, moved);
            s = Status(st.Step());
        }
        if (s != StoreStatus::kOk) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return s;
        }
    }
    return Exec("COMMIT");
}

template <typename T, typename Row>
StoreStatus CSqliteArchiveStore::SelectAll(const char* sql, std::vector<T>& out, Row row) {
    out.clear();
    if (!m_db || m_nVersion > archive::kSchemaVersion)
        return m_openStatus;
    Statement st(m_db, sql);
    if (st.Prepared() != SQLITE_OK)
        return Status(st.Prepared());
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
        out.push_back(row(st));
    return Status(rc);
}

StoreStatus CSqliteArchiveStore::KeptFiles(std::vector<archive::KeptFile>& out) {
    return SelectAll("SELECT id, recording_id, path, transcript_path, transcript_sha256, kept_at"
                     " FROM kept_files ORDER BY id",
                     out, [](const Statement& st) {
                         return archive::KeptFile{st.Int(0),  st.Int(1),  st.Text(2),
                                                  st.Text(3), st.Text(4), st.Text(5)};
                     });
}

StoreStatus CSqliteArchiveStore::FindByPath(const std::string& path, std::optional<Recording>& out,
                                            bool& kept) {
    out.reset();
    kept = false;
    if (!m_db || m_nVersion > archive::kSchemaVersion)
        return m_openStatus;
    // The kept file first; else the newest recording first seen there.
    const std::string sql =
        std::string("SELECT ") + kRecordingColumns +
        ", kept FROM (SELECT r.*, 1 AS kept FROM recordings r JOIN kept_files k"
        " ON k.recording_id = r.id WHERE k.path = ?1 UNION ALL SELECT *, 0 FROM recordings"
        " WHERE path = ?1) ORDER BY kept DESC, id DESC LIMIT 1";
    Statement st(m_db, sql.c_str());
    if (st.Prepared() != SQLITE_OK)
        return Status(st.Prepared());
    st.Bind(1, path);
    const int rc = st.Step();
    if (rc != SQLITE_ROW)
        return Status(rc);
    out = RecordingFrom(st);
    kept = st.Int(11) == 1;
    return LoadChannels(*out);
}

StoreStatus CSqliteArchiveStore::SaveChecks(const std::vector<archive::FileCheck>& checks) {
    if (!Usable())
        return m_openStatus;
    if (checks.empty())
        return StoreStatus::kOk;
    if (StoreStatus s = Exec("BEGIN IMMEDIATE"); s != StoreStatus::kOk)
        return s;
    Statement st(m_db, "INSERT OR REPLACE INTO file_checks VALUES (?,?,?,?)");
    for (const archive::FileCheck& c : checks) {
        st.Reset();
        st.Bind(1, c.path);
        st.Bind(2, c.recordingId);
        st.Bind(3, c.status);
        st.Bind(4, c.checkedAt);
        if (const int rc = st.Step(); rc != SQLITE_DONE) {
            const StoreStatus s = Status(rc);
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return s;
        }
    }
    return Exec("COMMIT");
}

StoreStatus CSqliteArchiveStore::Checks(std::vector<archive::FileCheck>& out) {
    return SelectAll("SELECT path, recording_id, status, checked_at FROM file_checks", out,
                     [](const Statement& st) {
                         return archive::FileCheck{st.Text(0), st.Int(1), st.Text(2), st.Text(3)};
                     });
}

StoreStatus CSqliteArchiveStore::Recordings(std::vector<Recording>& out) {
    out.clear();
    if (!m_db || m_nVersion > archive::kSchemaVersion)
        return m_openStatus;
    const std::string sql =
        std::string("SELECT ") + kRecordingColumns + " FROM recordings ORDER BY id";
    {
        Statement count(m_db, "SELECT count(*) FROM recordings");
        if (count.Step() == SQLITE_ROW)
            out.reserve(static_cast<std::size_t>(count.Int(0)));
    }
    Statement st(m_db, sql.c_str());
    if (st.Prepared() != SQLITE_OK)
        return Status(st.Prepared());
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
        out.push_back(RecordingFrom(st));
    if (rc != SQLITE_DONE)
        return Status(rc);
    // All channels in one pass: a list of thousands of recordings stays one query each way.
    const std::string chSql = std::string("SELECT ") + kChannelColumns +
                              ", recording_id FROM channels ORDER BY recording_id, position";
    Statement ch(m_db, chSql.c_str());
    std::size_t at = 0;
    while ((rc = ch.Step()) == SQLITE_ROW) {
        const int64_t id = ch.Int(kChannelColumnCount);
        while (at < out.size() && out[at].id < id)
            ++at;
        if (at < out.size() && out[at].id == id)
            out[at].channels.push_back(ChannelFrom(ch));
    }
    return Status(rc);
}

StoreStatus CSqliteArchiveStore::Events(std::vector<Event>& out, int64_t recordingId) {
    out.clear();
    if (!m_db || m_nVersion > archive::kSchemaVersion)
        return m_openStatus;
    const std::string sql = std::string("SELECT ") + kEventColumns + " FROM events" +
                            (recordingId > 0 ? " WHERE recording_id = ?" : "") + " ORDER BY seq";
    Statement st(m_db, sql.c_str());
    if (st.Prepared() != SQLITE_OK)
        return Status(st.Prepared());
    if (recordingId > 0)
        st.Bind(1, recordingId);
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
        out.push_back(EventFrom(st));
    return Status(rc);
}

std::string SetArchiveAside(const std::string& path, const std::string& stamp) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string aside = path + ".corrupt-" + stamp;
    if (fs::exists(PathOfUtf8(aside), ec))
        return {};
    fs::rename(PathOfUtf8(path), PathOfUtf8(aside), ec);
    if (ec)
        return {};
    for (const char* suffix : {"-wal", "-shm"}) {
        const std::string side = path + suffix;
        if (fs::exists(PathOfUtf8(side), ec))
            fs::rename(PathOfUtf8(side), PathOfUtf8(aside + suffix), ec);
    }
    return aside;
}

} // namespace saroko
