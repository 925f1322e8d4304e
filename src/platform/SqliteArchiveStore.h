#pragma once
// The recordings archive in one SQLite file: the tables are plain, so a user or an auditor can
// query them with the sqlite3 shell; events are append-only (triggers refuse changes).
#include <string>
#include <vector>

#include "core/archive/Archive.h"

struct sqlite3;

namespace saroko {

class CSqliteArchiveStore final : public archive::IArchiveStore {
public:
    // Opens or creates the archive; `schemaVersion` below the current one builds an older
    // archive (the migration tests start from the first version).
    explicit CSqliteArchiveStore(const std::string& path,
                                 int schemaVersion = archive::kSchemaVersion,
                                 int busyTimeoutMs = kBusyTimeoutMs);
    // Two programs writing at once wait for each other this long before one gives up.
    static constexpr int kBusyTimeoutMs = 5000;
    ~CSqliteArchiveStore() override;
    CSqliteArchiveStore(const CSqliteArchiveStore&) = delete;
    CSqliteArchiveStore& operator=(const CSqliteArchiveStore&) = delete;

    // The state after opening: kOk, or why the archive cannot be used.
    archive::StoreStatus OpenStatus() const { return m_openStatus; }
    // True when this open created the file (the kept downloads are then taken in).
    bool Created() const { return m_bCreated; }
    int SchemaVersion() const { return m_nVersion; }
    // The version the file had when this open found it (0 for a new one).
    int FoundVersion() const { return m_nFoundVersion; }

    archive::StoreStatus Write(std::vector<archive::PendingEntry>& batch,
                               const Sealer& seal) override;
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
    // The kept downloads (and their transcripts) that were under the folder `from` are the same
    // files under `to` now that the user's folders moved; written only when there are any.
    archive::StoreStatus MoveKeptPaths(const std::string& from, const std::string& to);

private:
    archive::StoreStatus Open(int schemaVersion);
    bool Usable();
    void ReadOnlyFallback();
    archive::StoreStatus Migrate(int from, int to);
    archive::StoreStatus Exec(const char* sql);
    archive::StoreStatus Status(int rc);
    archive::StoreStatus LoadChannels(archive::Recording& r);
    // Every row of a query without parameters, each made into a T by `row`.
    template <typename T, typename Row>
    archive::StoreStatus SelectAll(const char* sql, std::vector<T>& out, Row row);

    std::string m_szPath;
    sqlite3* m_db = nullptr;
    archive::StoreStatus m_openStatus = archive::StoreStatus::kFailed;
    bool m_bCreated = false;
    int m_nVersion = 0;
    int m_nFoundVersion = 0;
    int m_nBusyTimeoutMs;
    std::string m_szError;
};

// A corrupt archive is never written over: it is renamed beside itself with the time in its
// name (its journal files too) so that a new one can start. Returns the new name, "" on failure.
std::string SetArchiveAside(const std::string& path, const std::string& stamp);

} // namespace saroko
