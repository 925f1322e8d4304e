#include "platform/PgArchiveStore.h"

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <utility>

#include "PgSchemaSql.h"

namespace saroko {
namespace {

using archive::Event;
using archive::Recording;
using archive::StoreStatus;

struct ResultFree {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

// Text parameters of one statement; nullopt is SQL NULL.
class CParams {
public:
    CParams& Add(std::string v) {
        m_values.push_back(std::move(v));
        m_null.push_back(false);
        return *this;
    }
    CParams& Add(int64_t v) { return Add(std::to_string(v)); }
    CParams& AddNull() {
        m_values.emplace_back();
        m_null.push_back(true);
        return *this;
    }
    Result Exec(PGconn* c, const char* sql) const {
        std::vector<const char*> p(m_values.size());
        for (std::size_t i = 0; i < p.size(); ++i)
            p[i] = m_null[i] ? nullptr : m_values[i].c_str();
        return Result(PQexecParams(c, sql, static_cast<int>(p.size()), nullptr, p.data(), nullptr,
                                   nullptr, 0));
    }

private:
    std::vector<std::string> m_values;
    std::vector<bool> m_null;
};

// The SQLSTATE of the last statement that failed, for the status it gives.
thread_local std::string t_state;

bool Ok(const Result& r) {
    const ExecStatusType s = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK)
        return true;
    const char* state = r ? PQresultErrorField(r.get(), PG_DIAG_SQLSTATE) : nullptr;
    t_state = state ? state : "";
    return false;
}

StoreStatus StatusOfState(const std::string& state) {
    if (state == "42501") // insufficient privilege: a reviewer's connection
        return StoreStatus::kReadOnly;
    if (state == "53100")
        return StoreStatus::kFull;
    if (state == "40001" || state == "40P01" || state == "55P03")
        return StoreStatus::kBusy;
    if (state == "XX001" || state == "XX002")
        return StoreStatus::kCorrupt;
    return StoreStatus::kFailed;
}

std::string Text(const PGresult* r, int row, int col) {
    return std::string(PQgetvalue(r, row, col), static_cast<std::size_t>(PQgetlength(r, row, col)));
}
int64_t Int(const PGresult* r, int row, int col) {
    return std::strtoll(PQgetvalue(r, row, col), nullptr, 10);
}

const char kEventColumns[] =
    "seq, time_utc, utc_offset_minutes, \"user\", host, version, event, detail, recording_id,"
    " sha256, old_value, new_value, reason, prev_hash, hash";

Event EventFrom(const PGresult* r, int row) {
    Event e;
    e.seq = Int(r, row, 0);
    e.timeUtc = Text(r, row, 1);
    e.offsetMinutes = static_cast<int>(Int(r, row, 2));
    e.user = Text(r, row, 3);
    e.host = Text(r, row, 4);
    e.version = Text(r, row, 5);
    // A kind this program does not know still hashes as its name would; keep it visible.
    const std::string kind = Text(r, row, 6);
    e.kind = archive::EventKindFromName(kind).value_or(archive::EventKind::Changed);
    if (!archive::EventKindFromName(kind))
        e.detail = kind + ": ";
    e.detail += Text(r, row, 7);
    e.recordingId = Int(r, row, 8);
    e.recordingSha256 = Text(r, row, 9);
    e.oldValue = Text(r, row, 10);
    e.newValue = Text(r, row, 11);
    e.reason = Text(r, row, 12);
    e.prevHash = Text(r, row, 13);
    e.hash = Text(r, row, 14);
    return e;
}

const char kRecordingColumns[] =
    "id, sha256, size, path, source, first_seen, recorder, identity, utc_offset_minutes,"
    " transcript_path, transcript_sha256";

Recording RecordingFrom(const PGresult* res, int row) {
    Recording r;
    r.id = Int(res, row, 0);
    r.sha256 = Text(res, row, 1);
    r.size = static_cast<uint64_t>(Int(res, row, 2));
    r.path = Text(res, row, 3);
    r.source = Text(res, row, 4);
    r.firstSeen = Text(res, row, 5);
    r.recorder = Text(res, row, 6);
    r.identity = Text(res, row, 7);
    if (!PQgetisnull(res, row, 8))
        r.utcOffsetMinutes = static_cast<int>(Int(res, row, 8));
    r.transcriptPath = Text(res, row, 9);
    r.transcriptSha256 = Text(res, row, 10);
    return r;
}

// A failed connection is not tried again by every read in a row: a cut network would make
// each one wait for the connection timeout.
constexpr auto kReconnectPause = std::chrono::seconds(10);

} // namespace

const char* PgSchemaScript() {
    return kPgSchemaSql;
}

CPgArchiveStore::CPgArchiveStore(std::string conninfo) : m_szConninfo(std::move(conninfo)) {
    m_bTried = true;
    m_lastTry = std::chrono::steady_clock::now();
    m_openStatus = Connect();
}

CPgArchiveStore::~CPgArchiveStore() {
    PQfinish(m_conn);
}

StoreStatus CPgArchiveStore::Fail(const char* what) {
    std::string msg = m_conn ? PQerrorMessage(m_conn) : "";
    while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' '))
        msg.pop_back();
    m_szError = archive::ShownLocation(m_szConninfo) + ": " + (msg.empty() ? what : msg);
    const std::string state = std::exchange(t_state, std::string());
    if (!m_conn || PQstatus(m_conn) != CONNECTION_OK)
        return StoreStatus::kFailed;
    if (PQtransactionStatus(m_conn) == PQTRANS_INERROR ||
        PQtransactionStatus(m_conn) == PQTRANS_INTRANS)
        Result(PQexec(m_conn, "ROLLBACK"));
    return StatusOfState(state);
}

StoreStatus CPgArchiveStore::Connect() {
    PQfinish(m_conn);
    // The location's own settings come after the defaults and win over them.
    const std::string timeout = std::to_string(kConnectTimeout);
    const char* keys[] = {"connect_timeout", "client_encoding", "fallback_application_name",
                          "dbname", nullptr};
    const char* values[] = {timeout.c_str(), "UTF8", "saroko", m_szConninfo.c_str(), nullptr};
    m_conn = PQconnectdbParams(keys, values, 1);
    if (PQstatus(m_conn) != CONNECTION_OK)
        return Fail("no connection");
    Result probe(PQexec(m_conn, "SELECT to_regclass('schema_version') IS NOT NULL"));
    if (!Ok(probe))
        return Fail("schema");
    if (Text(probe.get(), 0, 0) != "t")
        if (StoreStatus s = CreateSchema(); s != StoreStatus::kOk)
            return s;
    Result v(PQexec(m_conn, "SELECT max(version) FROM schema_version"));
    if (!Ok(v) || PQntuples(v.get()) != 1)
        return Fail("schema version");
    m_nVersion = static_cast<int>(Int(v.get(), 0, 0));
    if (m_nVersion < kSiteSchemaVersion)
        Migrate();
    if (m_nVersion > kSiteSchemaVersion) {
        m_szError =
            archive::ShownLocation(m_szConninfo) + ": version " + std::to_string(m_nVersion);
        return StoreStatus::kNewerSchema;
    }
    return StoreStatus::kOk;
}

StoreStatus CPgArchiveStore::CreateSchema() {
    // Two programs meeting an empty database at once: the second finds the first's tables.
    const std::string lock = "BEGIN; SELECT pg_advisory_xact_lock(" + std::to_string(kAppendLock) +
                             "); SELECT to_regclass('schema_version') IS NOT NULL";
    Result found(PQexec(m_conn, lock.c_str()));
    if (!Ok(found))
        return Fail("schema");
    if (Text(found.get(), 0, 0) != "t") {
        Result made(PQexec(m_conn, kPgSchemaSql));
        if (!Ok(made))
            return Fail("schema");
    }
    Result done(PQexec(m_conn, "COMMIT"));
    return Ok(done) ? StoreStatus::kOk : Fail("schema");
}

void CPgArchiveStore::Migrate() {
    // The script's part from version 4 on, under the append lock; a writer's or a reviewer's
    // login may not make tables, and goes on with the schema as it is (a push says so).
    const std::string script = kPgSchemaSql;
    const std::size_t part = script.find("-- version 4");
    if (m_nVersion != 3 || part == std::string::npos)
        return;
    const std::string sql = "BEGIN; SELECT pg_advisory_xact_lock(" + std::to_string(kAppendLock) +
                            "); " + script.substr(part) + "; COMMIT";
    if (Ok(Result(PQexec(m_conn, sql.c_str()))))
        m_nVersion = kSiteSchemaVersion;
    else
        Result(PQexec(m_conn, "ROLLBACK"));
    t_state.clear();
}

bool CPgArchiveStore::Usable(bool force) {
    if (m_openStatus == StoreStatus::kNewerSchema)
        return false;
    if (m_conn && PQstatus(m_conn) == CONNECTION_OK && m_openStatus == StoreStatus::kOk)
        return true;
    const auto now = std::chrono::steady_clock::now();
    if (!force && m_bTried && now - m_lastTry < kReconnectPause)
        return false;
    m_bTried = true;
    m_lastTry = now;
    m_openStatus = Connect();
    return m_openStatus == StoreStatus::kOk;
}

bool CPgArchiveStore::Answers() {
    if (!Usable(true))
        return false;
    Result r(PQexec(m_conn, "SELECT 1"));
    if (Ok(r))
        return true;
    Fail("no answer");
    // A connection the server dropped is made again once.
    return Usable(true) && Ok(Result(PQexec(m_conn, "SELECT 1")));
}

StoreStatus CPgArchiveStore::Write(std::vector<archive::PendingEntry>& batch, const Sealer& seal) {
    std::vector<archive::SpooledEntry> entries;
    entries.reserve(batch.size());
    for (archive::PendingEntry& p : batch)
        entries.push_back({{}, std::move(p), std::nullopt});
    const StoreStatus s = WriteOnce(entries, seal);
    for (std::size_t i = 0; i < batch.size(); ++i)
        batch[i] = std::move(entries[i].entry);
    return s;
}

StoreStatus CPgArchiveStore::WriteOnce(std::vector<archive::SpooledEntry>& batch,
                                       const Sealer& seal) {
    if (!Usable(true))
        return m_openStatus;
    // One round trip opens the transaction, takes the append lock and reads the last event.
    const std::string head = "BEGIN; SELECT pg_advisory_xact_lock(" + std::to_string(kAppendLock) +
                             "); SELECT " + kEventColumns +
                             " FROM events ORDER BY seq DESC LIMIT 1";
    Result first(PQexec(m_conn, head.c_str()));
    if (!Ok(first)) {
        // The server went away since the last statement: one new connection, one new try.
        if (PQstatus(m_conn) != CONNECTION_OK && Usable(true))
            first = Result(PQexec(m_conn, head.c_str()));
        if (!Ok(first))
            return Fail("write");
    }
    std::optional<Event> last;
    if (PQntuples(first.get()) == 1)
        last = EventFrom(first.get(), 0);
    for (archive::SpooledEntry& s : batch) {
        archive::PendingEntry& p = s.entry;
        Event& e = p.event;
        if (!s.id.empty()) {
            Result seen = CParams().Add(s.id).Exec(
                m_conn, "SELECT recording_id FROM events WHERE event_id = $1");
            if (!Ok(seen))
                return Fail("write");
            if (PQntuples(seen.get()) == 1) { // sent before: already in the chain
                e.recordingId = Int(seen.get(), 0, 0);
                continue;
            }
        }
        if (p.recording) {
            Recording& r = *p.recording;
            CParams q;
            q.Add(r.sha256).Add(static_cast<int64_t>(r.size)).Add(r.path).Add(r.source);
            q.Add(r.firstSeen).Add(r.recorder).Add(r.identity);
            if (r.utcOffsetMinutes)
                q.Add(int64_t{*r.utcOffsetMinutes});
            else
                q.AddNull();
            q.Add(r.transcriptPath).Add(r.transcriptSha256);
            Result added = q.Exec(
                m_conn,
                "INSERT INTO recordings (sha256, size, path, source, first_seen, recorder,"
                " identity, utc_offset_minutes, transcript_path, transcript_sha256) VALUES"
                " ($1,$2,$3,$4,$5,$6,$7,$8,$9,$10) ON CONFLICT (sha256) DO NOTHING RETURNING id");
            if (!Ok(added))
                return Fail("write");
            if (PQntuples(added.get()) == 1) {
                r.id = Int(added.get(), 0, 0);
                for (std::size_t i = 0; i < r.channels.size(); ++i) {
                    const archive::ChannelInfo& c = r.channels[i];
                    Result ch = CParams()
                                    .Add(r.id)
                                    .Add(static_cast<int64_t>(i))
                                    .Add(int64_t{c.number})
                                    .Add(c.name)
                                    .Add(c.startUtc)
                                    .Add(c.startLocal)
                                    .Add(int64_t{c.interval})
                                    .Add(int64_t{c.samples})
                                    .Exec(m_conn, "INSERT INTO channels VALUES"
                                                  " ($1,$2,$3,$4,$5,$6,$7,$8)");
                    if (!Ok(ch))
                        return Fail("write");
                }
            }
        }
        Result id = CParams()
                        .Add(e.recordingSha256)
                        .Exec(m_conn, "SELECT id FROM recordings WHERE sha256 = $1");
        if (!Ok(id))
            return Fail("write");
        if (PQntuples(id.get()) == 1)
            e.recordingId = Int(id.get(), 0, 0);
        seal(last ? &*last : nullptr, e);
        CParams q;
        q.Add(e.seq).Add(e.timeUtc).Add(int64_t{e.offsetMinutes}).Add(e.user).Add(e.host);
        q.Add(e.version).Add(std::string(archive::EventKindName(e.kind))).Add(e.detail);
        q.Add(e.recordingId).Add(e.recordingSha256).Add(e.oldValue).Add(e.newValue);
        q.Add(e.reason).Add(e.prevHash).Add(e.hash);
        if (s.id.empty())
            q.AddNull();
        else
            q.Add(s.id);
        if (!Ok(q.Exec(m_conn, "INSERT INTO events VALUES"
                               " ($1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11,$12,$13,$14,$15,$16)")))
            return Fail("write");
        last = e;
        if (const std::optional<archive::EventOrigin>& o = s.origin) {
            Result from =
                CParams()
                    .Add(e.seq)
                    .Add(o->archive)
                    .Add(o->host)
                    .Add(o->seq)
                    .Add(o->recordingId)
                    .Add(o->prevHash)
                    .Add(o->hash)
                    .Exec(m_conn, "INSERT INTO pushed_events VALUES ($1,$2,$3,$4,$5,$6,$7)");
            if (!Ok(from))
                return Fail("write");
            s.origin->siteSeq = e.seq;
        }
        if (p.kept && e.recordingId > 0) {
            archive::KeptFile& k = *p.kept;
            k.recordingId = e.recordingId;
            // A path kept again holds the newer file now.
            Result kept =
                CParams()
                    .Add(k.recordingId)
                    .Add(k.path)
                    .Add(k.transcriptPath)
                    .Add(k.transcriptSha256)
                    .Add(k.keptAt)
                    .Exec(m_conn, "INSERT INTO kept_files (recording_id, path, transcript_path,"
                                  " transcript_sha256, kept_at) VALUES ($1,$2,$3,$4,$5)"
                                  " ON CONFLICT (path) DO UPDATE SET recording_id ="
                                  " excluded.recording_id, transcript_path ="
                                  " excluded.transcript_path, transcript_sha256 ="
                                  " excluded.transcript_sha256, kept_at = excluded.kept_at"
                                  " RETURNING id");
            if (!Ok(kept))
                return Fail("write");
            k.id = Int(kept.get(), 0, 0);
        }
    }
    if (!Ok(Result(PQexec(m_conn, "COMMIT"))))
        return Fail("commit");
    return StoreStatus::kOk;
}

StoreStatus CPgArchiveStore::Origins(std::vector<archive::EventOrigin>& out,
                                     const std::string& archive) {
    out.clear();
    if (!Usable())
        return m_openStatus;
    if (m_nVersion < kSiteSchemaVersion) {
        m_szError = archive::ShownLocation(m_szConninfo) + ": schema version " +
                    std::to_string(m_nVersion) +
                    " has no pushed events; the database's owner opens it once with this version";
        return StoreStatus::kFailed;
    }
    const std::string sql = std::string("SELECT seq, origin, origin_host, origin_seq,"
                                        " origin_recording_id, origin_prev_hash, origin_hash"
                                        " FROM pushed_events") +
                            (archive.empty() ? "" : " WHERE origin = $1") +
                            " ORDER BY origin, origin_seq";
    CParams q;
    if (!archive.empty())
        q.Add(archive);
    Result r = q.Exec(m_conn, sql.c_str());
    if (!Ok(r))
        return Fail("read");
    const int n = PQntuples(r.get());
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back({Text(r.get(), i, 1), Text(r.get(), i, 2), Int(r.get(), i, 3),
                       Int(r.get(), i, 4), Text(r.get(), i, 5), Text(r.get(), i, 6),
                       Int(r.get(), i, 0)});
    return StoreStatus::kOk;
}

StoreStatus CPgArchiveStore::LoadChannels(std::vector<Recording>& rs, bool all) {
    // Unsorted: the server's sort of every channel costs more than placing them here, each by
    // its recording (the recordings come in the order of their ids) and its position.
    const std::string sql = std::string("SELECT number, name, start_utc, start_local, interval,"
                                        " samples, recording_id, position FROM channels") +
                            (all ? "" : " WHERE recording_id = $1");
    CParams q;
    if (!all)
        q.Add(rs.front().id);
    Result ch = q.Exec(m_conn, sql.c_str());
    if (!Ok(ch))
        return Fail("read");
    struct Place {
        std::size_t recording;
        int64_t position;
        int row;
    };
    std::vector<Place> places;
    const int n = PQntuples(ch.get());
    places.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int64_t id = Int(ch.get(), i, 6);
        const auto at = std::lower_bound(rs.begin(), rs.end(), id,
                                         [](const Recording& r, int64_t v) { return r.id < v; });
        if (at != rs.end() && at->id == id)
            places.push_back({static_cast<std::size_t>(at - rs.begin()), Int(ch.get(), i, 7), i});
    }
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        return a.recording != b.recording ? a.recording < b.recording : a.position < b.position;
    });
    for (const Place& p : places) {
        const PGresult* r = ch.get();
        rs[p.recording].channels.push_back({static_cast<int>(Int(r, p.row, 0)), Text(r, p.row, 1),
                                            Int(r, p.row, 2), Text(r, p.row, 3),
                                            static_cast<uint32_t>(Int(r, p.row, 4)),
                                            static_cast<int>(Int(r, p.row, 5))});
    }
    return StoreStatus::kOk;
}

StoreStatus CPgArchiveStore::FindRecording(const std::string& sha256,
                                           std::optional<Recording>& out) {
    out.reset();
    if (!Usable())
        return m_openStatus;
    Result r = CParams().Add(sha256).Exec(
        m_conn, (std::string("SELECT ") + kRecordingColumns + " FROM recordings WHERE sha256 = $1")
                    .c_str());
    if (!Ok(r))
        return Fail("read");
    if (PQntuples(r.get()) == 0)
        return StoreStatus::kOk;
    std::vector<Recording> one{RecordingFrom(r.get(), 0)};
    const StoreStatus s = LoadChannels(one, false);
    out = std::move(one.front());
    return s;
}

StoreStatus CPgArchiveStore::Recordings(std::vector<Recording>& out) {
    out.clear();
    if (!Usable())
        return m_openStatus;
    Result r(PQexec(
        m_conn,
        (std::string("SELECT ") + kRecordingColumns + " FROM recordings ORDER BY id").c_str()));
    if (!Ok(r))
        return Fail("read");
    const int n = PQntuples(r.get());
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back(RecordingFrom(r.get(), i));
    return out.empty() ? StoreStatus::kOk : LoadChannels(out, true);
}

StoreStatus CPgArchiveStore::Events(std::vector<Event>& out, int64_t recordingId) {
    out.clear();
    if (!Usable())
        return m_openStatus;
    const std::string sql = std::string("SELECT ") + kEventColumns + " FROM events" +
                            (recordingId > 0 ? " WHERE recording_id = $1" : "") + " ORDER BY seq";
    CParams q;
    if (recordingId > 0)
        q.Add(recordingId);
    Result r = q.Exec(m_conn, sql.c_str());
    if (!Ok(r))
        return Fail("read");
    const int n = PQntuples(r.get());
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back(EventFrom(r.get(), i));
    return StoreStatus::kOk;
}

StoreStatus CPgArchiveStore::KeptFiles(std::vector<archive::KeptFile>& out) {
    out.clear();
    if (!Usable())
        return m_openStatus;
    Result r(PQexec(m_conn, "SELECT id, recording_id, path, transcript_path, transcript_sha256,"
                            " kept_at FROM kept_files ORDER BY id"));
    if (!Ok(r))
        return Fail("read");
    for (int i = 0, n = PQntuples(r.get()); i < n; ++i)
        out.push_back({Int(r.get(), i, 0), Int(r.get(), i, 1), Text(r.get(), i, 2),
                       Text(r.get(), i, 3), Text(r.get(), i, 4), Text(r.get(), i, 5)});
    return StoreStatus::kOk;
}

StoreStatus CPgArchiveStore::FindByPath(const std::string& path, std::optional<Recording>& out,
                                        bool& kept) {
    out.reset();
    kept = false;
    if (!Usable())
        return m_openStatus;
    // The kept file first; else the newest recording first seen there.
    const std::string cols = kRecordingColumns;
    std::string rcols;
    for (std::size_t at = 0; at < cols.size();) {
        std::size_t comma = cols.find(',', at);
        if (comma == std::string::npos)
            comma = cols.size();
        std::size_t s = at;
        while (s < comma && cols[s] == ' ')
            ++s;
        rcols += (rcols.empty() ? "r." : ", r.") + cols.substr(s, comma - s);
        at = comma + 1;
    }
    const std::string sql = "SELECT " + cols + ", kept FROM (SELECT " + rcols +
                            ", 1 AS kept FROM recordings r JOIN kept_files k ON k.recording_id ="
                            " r.id WHERE k.path = $1 UNION ALL SELECT " +
                            cols +
                            ", 0 FROM recordings WHERE path = $1) AS found"
                            " ORDER BY kept DESC, id DESC LIMIT 1";
    Result r = CParams().Add(path).Exec(m_conn, sql.c_str());
    if (!Ok(r))
        return Fail("read");
    if (PQntuples(r.get()) == 0)
        return StoreStatus::kOk;
    std::vector<Recording> one{RecordingFrom(r.get(), 0)};
    kept = Int(r.get(), 0, 11) == 1;
    const StoreStatus s = LoadChannels(one, false);
    out = std::move(one.front());
    return s;
}

StoreStatus CPgArchiveStore::SaveChecks(const std::vector<archive::FileCheck>& checks) {
    if (!Usable())
        return m_openStatus;
    if (checks.empty())
        return StoreStatus::kOk;
    if (!Ok(Result(PQexec(m_conn, "BEGIN"))))
        return Fail("write");
    for (const archive::FileCheck& c : checks)
        if (!Ok(CParams()
                    .Add(c.path)
                    .Add(c.recordingId)
                    .Add(c.status)
                    .Add(c.checkedAt)
                    .Exec(m_conn,
                          "INSERT INTO file_checks VALUES ($1,$2,$3,$4) ON CONFLICT (path) DO"
                          " UPDATE SET recording_id = excluded.recording_id, status ="
                          " excluded.status, checked_at = excluded.checked_at")))
            return Fail("write");
    return Ok(Result(PQexec(m_conn, "COMMIT"))) ? StoreStatus::kOk : Fail("commit");
}

StoreStatus CPgArchiveStore::Checks(std::vector<archive::FileCheck>& out) {
    out.clear();
    if (!Usable())
        return m_openStatus;
    Result r(PQexec(m_conn, "SELECT path, recording_id, status, checked_at FROM file_checks"));
    if (!Ok(r))
        return Fail("read");
    for (int i = 0, n = PQntuples(r.get()); i < n; ++i)
        out.push_back(
            {Text(r.get(), i, 0), Int(r.get(), i, 1), Text(r.get(), i, 2), Text(r.get(), i, 3)});
    return StoreStatus::kOk;
}

} // namespace saroko
