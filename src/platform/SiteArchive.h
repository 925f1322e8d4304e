#pragma once
// A site archive as this computer uses it: the server's store behind a spool on disk in the
// program's data folder, so that events made while the server is away are sent later.
#include <functional>
#include <memory>
#include <string>

#include "core/archive/ArchiveFiles.h"
#include "core/archive/ArchiveSpool.h"

namespace saroko {

// The spool of the site archive at `location`: one file per location in the data folder.
std::string SpoolFilePath(const std::string& location);

// The spool file: appended with O_APPEND and fsync, replaced by a rename, locked with flock.
class CFileSpool final : public archive::ISpoolFile {
public:
    explicit CFileSpool(std::string path);
    ~CFileSpool() override;
    CFileSpool(const CFileSpool&) = delete;
    CFileSpool& operator=(const CFileSpool&) = delete;
    bool Lock() override;
    void Unlock() override;
    bool Read(std::string& out) override;
    bool Append(const std::string& text) override;
    bool Replace(const std::string& text) override;

private:
    std::string m_szPath;
    int m_lockFd = -1;
};

// The user's answer to the first use of the site archive at `location`, kept beside its spool.
archive::FirstUseAnswer ReadFirstUse(const std::string& location);
bool WriteFirstUse(const std::string& location, archive::FirstUseAnswer answer);

// The one message for a local archive at `path` on a network file system; "" elsewhere.
std::string NetworkPlaceWarning(const std::string& path);

// Tries the site archive at `location`: "" when its server answers, else why not.
std::string TestSiteConnection(const std::string& location);

// True when this build can reach a PostgreSQL server.
bool SiteArchiveBuiltIn();

// The server behind every site archive opened from now on, for tests; an empty maker restores
// the PostgreSQL one.
using SiteStoreMaker =
    std::function<std::unique_ptr<archive::ISiteStore>(const std::string& location)>;
void SetSiteStoreMaker(SiteStoreMaker maker);

// The site archive at `location` behind its spool; in a build without libpq, a server that
// never answers (the run's one message says so).
std::unique_ptr<archive::CSpooledArchiveStore> OpenSiteStore(const std::string& location,
                                                             const archive::Sha256Fn& hash);

} // namespace saroko
