#pragma once
// The site archive on a PostgreSQL server, through libpq: the local archive's tables and
// columns, its canonical event text and chain. Appends from every program on every host are
// one line: each write holds the archive's advisory lock from reading the last event to its
// commit. The schema is made by the program on an empty database (resources/sql).
#include <chrono>
#include <string>
#include <vector>

#include "core/archive/ArchiveSpool.h"

struct pg_conn;

namespace saroko {

class CPgArchiveStore final : public archive::ISiteStore {
public:
    // `conninfo`: a postgresql:// URI or key=value pairs, as libpq takes them; the password
    // comes from libpq's password file, service file or environment.
    explicit CPgArchiveStore(std::string conninfo);
    ~CPgArchiveStore() override;
    CPgArchiveStore(const CPgArchiveStore&) = delete;
    CPgArchiveStore& operator=(const CPgArchiveStore&) = delete;

    // The key of the advisory lock every append holds.
    static constexpr long long kAppendLock = 0x5361726f6b6f; // "Saroko"
    // The version of the server's schema this program makes; 4 added the pushed events'
    // origins, which the program adds to a version 3 archive itself when it may.
    static constexpr int kSiteSchemaVersion = 4;
    // Seconds a connection attempt waits for the server unless the location says otherwise.
    static constexpr int kConnectTimeout = 5;

    archive::StoreStatus OpenStatus() const { return m_openStatus; }
    int SchemaVersion() const { return m_nVersion; }

    archive::StoreStatus Write(std::vector<archive::PendingEntry>& batch,
                               const Sealer& seal) override;
    archive::StoreStatus WriteOnce(std::vector<archive::SpooledEntry>& batch,
                                   const Sealer& seal) override;
    bool Answers() override;
    archive::StoreStatus Origins(std::vector<archive::EventOrigin>& out,
                                 const std::string& archive = {}) override;
    archive::StoreStatus FindRecording(const std::string& sha256,
                                       std::optional<archive::Recording>& out) override;
    archive::StoreStatus Recordings(std::vector<archive::Recording>& out) override;
    archive::StoreStatus Events(std::vector<archive::Event>& out, int64_t recordingId = 0) override;
    archive::StoreStatus KeptFiles(std::vector<archive::KeptFile>& out) override;
    archive::StoreStatus FindByPath(const std::string& path, std::optional<archive::Recording>& out,
                                    bool& kept) override;
    archive::StoreStatus SaveChecks(const std::vector<archive::FileCheck>& checks) override;
    archive::StoreStatus Checks(std::vector<archive::FileCheck>& out) override;
    std::string LastError() const override { return m_szError; }

private:
    archive::StoreStatus Connect();
    // Connected, connecting again when not; a read does not try again soon after a failure.
    bool Usable(bool force = false);
    archive::StoreStatus CreateSchema();
    void Migrate();
    archive::StoreStatus Fail(const char* what);
    archive::StoreStatus LoadChannels(std::vector<archive::Recording>& rs, bool all);

    std::string m_szConninfo;
    pg_conn* m_conn = nullptr;
    archive::StoreStatus m_openStatus = archive::StoreStatus::kFailed;
    int m_nVersion = 0;
    bool m_bTried = false;
    std::chrono::steady_clock::time_point m_lastTry;
    std::string m_szError;
};

// The schema script an administrator may run instead of the program (resources/sql).
const char* PgSchemaScript();

} // namespace saroko
