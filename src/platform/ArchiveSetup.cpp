#include "platform/ArchiveSetup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <QTimeZone>

#include <openssl/evp.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "SarokoVersion.h"
#include "core/archive/ArchiveFiles.h"
#include "core/document/ZorvicDoc.h"
#include "core/files/Utf8Path.h"
#include "platform/SiteArchive.h"
#include "platform/SqliteArchiveStore.h"
#include "platform/UserFolders.h"

namespace saroko {
namespace {

constexpr qint64 kReadBlock = 1 << 20;

// The account the program runs under: on POSIX the password database's name for the
// effective user, which a changed environment does not alter; the environment otherwise.
std::string UserName() {
#ifndef _WIN32
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return pw->pw_name;
#endif
    for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString v = qEnvironmentVariable(name);
        if (!v.isEmpty())
            return v.toStdString();
    }
    return "unknown";
}

archive::SessionContext RunContext() {
    archive::SessionContext c;
    c.user = UserName();
    c.host = QSysInfo::machineHostName().toStdString();
    c.version = SAROKO_VERSION;
    c.nowUtc = [] { return QDateTime::currentSecsSinceEpoch(); };
    c.offsetMinutes = [](int64_t t) {
        return QTimeZone::systemTimeZone().offsetFromUtc(QDateTime::fromSecsSinceEpoch(t)) / 60;
    };
    return c;
}

} // namespace

archive::Sha256Digest Sha256(std::span<const uint8_t> bytes) {
    archive::Sha256Digest out{};
    unsigned int n = 0;
    EVP_Digest(bytes.data(), bytes.size(), out.data(), &n, EVP_sha256(), nullptr);
    return out;
}

std::optional<std::string> Sha256OfFile(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    // OpenSSL's SHA-256 uses the processor's SHA instructions where there are any: a verify
    // of thousands of kept files runs at the speed of sha256sum.
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(),
                                                                      &EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1)
        return std::nullopt;
    QByteArray block(kReadBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 n = f.read(block.data(), kReadBlock);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        EVP_DigestUpdate(ctx.get(), block.constData(), static_cast<std::size_t>(n));
    }
    archive::Sha256Digest d{};
    unsigned int n = 0;
    EVP_DigestFinal_ex(ctx.get(), d.data(), &n);
    return archive::HexDigest(d);
}

std::string ArchiveFilePath() {
    return Utf8OfPath(PathOfUtf8(KeptDownloadsFolder()).parent_path() / "archive.sqlite");
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    return bytes.toStdString();
}

std::optional<archive::Recording> DescribeFile(const std::string& path, const ITextCodec& codec) {
    return archive::DescribePath(path, &ReadWholeFile, codec, &Sha256);
}

void ImportKeptDownloads(archive::CArchiveSession& session, const std::string& folder,
                         const ITextCodec& codec) {
    archive::ImportKeptDownloads(session, folder, &ReadWholeFile, codec);
}

archive::Recording RecordDownload(archive::CArchiveSession& session, const std::string& keptPath,
                                  const std::string& transcriptPath, const ITextCodec& codec) {
    return archive::RecordDownload(session, keptPath, transcriptPath, &ReadWholeFile, &Sha256OfFile,
                                   codec);
}

std::string QuickStatusOf(const archive::Recording& r) {
    return QuickStatusOf(r, r.path);
}

std::string QuickStatusOf(const archive::Recording& r, const std::string& path) {
    // One stat per file in the common case: a list of thousands asks for each.
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(PathOfUtf8(path), ec);
    if (!ec)
        return archive::QuickStatus(r, size);
    // A file that is gone is told by the same stat; anything else there is not the file.
    if (ec == std::errc::no_such_file_or_directory)
        return archive::QuickStatus(r, std::nullopt);
    return std::filesystem::exists(PathOfUtf8(path), ec) ? archive::kStatusChanged
                                                         : archive::QuickStatus(r, std::nullopt);
}

// A site archive: what waited on this computer from an earlier run goes first. The downloads
// kept here before are taken in only when the user says so (OfferKeptDownloads, archive import).
static ArchiveHandle OpenSiteArchive(const std::string& location) {
    ArchiveHandle h;
    std::unique_ptr<archive::CSpooledArchiveStore> site = OpenSiteStore(location, &Sha256);
    archive::CSpooledArchiveStore& spooled = *site;
    h.store = std::move(site);
    h.session = std::make_unique<archive::CArchiveSession>(h.store.get(), &Sha256, RunContext());
    spooled.OnSiteFailure(
        [session = h.session.get()](archive::StoreStatus s) { session->NoteFailure(s); });
    if (spooled.Waiting() > 0)
        spooled.Send();
    return h;
}

ArchiveHandle OpenArchive(bool enabled, const ITextCodec& codec, std::string path) {
    ArchiveHandle h;
    if (!enabled) {
        h.session = std::make_unique<archive::CArchiveSession>(nullptr, &Sha256, RunContext());
        return h;
    }
    if (path.empty())
        path = ArchiveFilePath();
    if (archive::IsSiteLocation(path))
        return OpenSiteArchive(path);
    h.warning = NetworkPlaceWarning(path);
    auto local = std::make_unique<CSqliteArchiveStore>(path);
    CSqliteArchiveStore& store = *local;
    h.store = std::move(local);
    h.session = std::make_unique<archive::CArchiveSession>(h.store.get(), &Sha256, RunContext());
    if (store.OpenStatus() != archive::StoreStatus::kOk) {
        h.session->NoteFailure(store.OpenStatus());
        return h;
    }
    // Kept downloads an older version's data folder held are where the move of the folders
    // put them (a place is moved whole or not at all).
    std::error_code ec;
    for (const PlaceMove& m : OlderUserPlaces())
        if (!std::filesystem::exists(PathOfUtf8(m.from), ec) &&
            std::filesystem::is_directory(PathOfUtf8(m.to), ec))
            store.MoveKeptPaths(m.from, m.to);
    // A new archive takes in what the folder holds; one from before kept files had rows of
    // their own takes in the second copies it never recorded.
    if (store.Created() || store.FoundVersion() < 3)
        ImportKeptDownloads(*h.session, KeptDownloadsFolder(), codec);
    return h;
}

} // namespace saroko
