#include "platform/SiteArchive.h"

#include <QDateTime>
#include <QUuid>

#include <cerrno>
#include <fstream>
#include <iterator>

#include <filesystem>

#include "core/archive/ArchivePlace.h"
#include "core/files/Utf8Path.h"
#include "platform/ArchiveSetup.h"
#include "platform/UserFolders.h"

#ifdef SAROKO_HAVE_POSTGRESQL
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/PgArchiveStore.h"
#endif

namespace saroko {

std::string SpoolFilePath(const std::string& location) {
    // One spool per site archive, named by the location without its password.
    const std::string shown = archive::ShownLocation(location);
    const std::string name = archive::Sha256Hex(&Sha256, shown).substr(0, 16) + ".spool";
    return Utf8OfPath(PathOfUtf8(KeptDownloadsFolder()).parent_path() / "site-spool" / name);
}

archive::FirstUseAnswer ReadFirstUse(const std::string& location) {
    const std::string spool = SpoolFilePath(location);
    std::optional<std::string> text = ReadWholeFile(spool + ".first-use");
    // An older version took the downloads in unasked and left this mark.
    std::error_code ec;
    if (!text && std::filesystem::exists(PathOfUtf8(spool + ".taken-in"), ec))
        text = archive::FirstUseText(archive::FirstUseAnswer::kTaken);
    return archive::ParseFirstUse(text);
}

bool WriteFirstUse(const std::string& location, archive::FirstUseAnswer answer) {
    const std::filesystem::path path = PathOfUtf8(SpoolFilePath(location) + ".first-use");
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << archive::FirstUseText(answer);
    return static_cast<bool>(f.flush());
}

std::string NetworkPlaceWarning(const std::string& path) {
#ifdef __linux__
    std::ifstream f("/proc/self/mounts");
    const std::string mounts((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::error_code ec;
    std::filesystem::path at =
        std::filesystem::weakly_canonical(std::filesystem::absolute(PathOfUtf8(path), ec), ec);
    const std::string type = archive::FileSystemAt(mounts, at.string());
    if (archive::IsNetworkFileSystem(type))
        return archive::NetworkArchiveMessage(path, type);
#else
    (void)path;
#endif
    return {};
}

#ifdef SAROKO_HAVE_POSTGRESQL

namespace {

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

} // namespace

CFileSpool::CFileSpool(std::string path) : m_szPath(std::move(path)) {}

CFileSpool::~CFileSpool() {
    Unlock();
}

bool CFileSpool::Lock() {
    std::error_code ec;
    std::filesystem::create_directories(PathOfUtf8(m_szPath).parent_path(), ec);
    // The lock lives on a file of its own: the spool itself is replaced by renames.
    m_lockFd = ::open((m_szPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFd < 0)
        return false;
    if (::flock(m_lockFd, LOCK_EX) != 0) {
        Unlock();
        return false;
    }
    return true;
}

void CFileSpool::Unlock() {
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    m_lockFd = -1;
}

bool CFileSpool::Read(std::string& out) {
    out.clear();
    const int fd = ::open(m_szPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    char buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        out.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    return n == 0;
}

bool CFileSpool::Append(const std::string& text) {
    const int fd = ::open(m_szPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = WriteAll(fd, text);
    return ::close(fd) == 0 && ok;
}

bool CFileSpool::Replace(const std::string& text) {
    if (text.empty()) {
        // Nothing waits: the spool goes. A crash before this leaves it to be sent again.
        std::error_code ec;
        std::filesystem::remove(PathOfUtf8(m_szPath), ec);
        return !ec;
    }
    const std::string temp = m_szPath + ".new";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = WriteAll(fd, text);
    if (::close(fd) != 0 || !ok)
        return false;
    return ::rename(temp.c_str(), m_szPath.c_str()) == 0;
}

bool SiteArchiveBuiltIn() {
    return true;
}

std::string TestSiteConnection(const std::string& location) {
    CPgArchiveStore store(location);
    return store.Answers() ? std::string() : store.LastError();
}

static std::unique_ptr<archive::ISiteStore> ServerStore(const std::string& location) {
    return std::make_unique<CPgArchiveStore>(location);
}

#else

CFileSpool::CFileSpool(std::string path) : m_szPath(std::move(path)) {}
CFileSpool::~CFileSpool() = default;
bool CFileSpool::Lock() {
    return false;
}
void CFileSpool::Unlock() {}
bool CFileSpool::Read(std::string&) {
    return false;
}
bool CFileSpool::Append(const std::string&) {
    return false;
}
bool CFileSpool::Replace(const std::string&) {
    return false;
}
bool SiteArchiveBuiltIn() {
    return false;
}
std::string TestSiteConnection(const std::string& location) {
    return archive::ShownLocation(location) + ": built without PostgreSQL (libpq)";
}
namespace {

// What a build without libpq has of a site archive: a server it cannot reach.
class CUnreachableSite final : public archive::ISiteStore {
public:
    explicit CUnreachableSite(const std::string& location)
        : m_szError(archive::ShownLocation(location) + ": built without PostgreSQL (libpq)") {}
    using S = archive::StoreStatus;
    S Write(std::vector<archive::PendingEntry>&, const Sealer&) override { return S::kFailed; }
    S WriteOnce(std::vector<archive::SpooledEntry>&, const Sealer&) override { return S::kFailed; }
    bool Answers() override { return false; }
    S Origins(std::vector<archive::EventOrigin>&, const std::string&) override {
        return S::kFailed;
    }
    S FindRecording(const std::string&, std::optional<archive::Recording>&) override {
        return S::kFailed;
    }
    S Recordings(std::vector<archive::Recording>&) override { return S::kFailed; }
    S Events(std::vector<archive::Event>&, int64_t) override { return S::kFailed; }
    S KeptFiles(std::vector<archive::KeptFile>&) override { return S::kFailed; }
    S FindByPath(const std::string&, std::optional<archive::Recording>&, bool&) override {
        return S::kFailed;
    }
    S SaveChecks(const std::vector<archive::FileCheck>&) override { return S::kFailed; }
    S Checks(std::vector<archive::FileCheck>&) override { return S::kFailed; }
    std::string LastError() const override { return m_szError; }

private:
    std::string m_szError;
};

} // namespace

static std::unique_ptr<archive::ISiteStore> ServerStore(const std::string& location) {
    return std::make_unique<CUnreachableSite>(location);
}

#endif

namespace {

SiteStoreMaker& Maker() {
    static SiteStoreMaker maker;
    return maker;
}

} // namespace

void SetSiteStoreMaker(SiteStoreMaker maker) {
    Maker() = std::move(maker);
}

std::unique_ptr<archive::CSpooledArchiveStore> OpenSiteStore(const std::string& location,
                                                             const archive::Sha256Fn& hash) {
    return std::make_unique<archive::CSpooledArchiveStore>(
        Maker() ? Maker()(location) : ServerStore(location),
        std::make_unique<CFileSpool>(SpoolFilePath(location)), hash,
        [] { return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(); },
        [] { return QDateTime::currentSecsSinceEpoch(); });
}

} // namespace saroko
