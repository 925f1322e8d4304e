#pragma once
// The archive as the program and saroko-cli open it: the SQLite file beside the kept
// downloads, SHA-256 from OpenSSL, the user and host of this run, and on first use the
// downloads kept before the archive existed taken in.
#include <memory>
#include <optional>
#include <string>

#include "core/archive/ArchiveSession.h"
#include "platform/SqliteArchiveStore.h"

namespace saroko {

class ITextCodec;

archive::Sha256Digest Sha256(std::span<const uint8_t> bytes);
// The hex SHA-256 of a file's bytes, read in large blocks; nullopt when it cannot be read.
std::optional<std::string> Sha256OfFile(const std::string& path);

// A recording's state from its file's presence and size now; the bytes are not read.
std::string QuickStatusOf(const archive::Recording& r);
// The same of one file kept of `r` at `path`.
std::string QuickStatusOf(const archive::Recording& r, const std::string& path);

// archive.sqlite in the program's data folder, beside downloads/.
std::string ArchiveFilePath();

struct ArchiveHandle {
    std::unique_ptr<archive::IArchiveStore> store;
    std::unique_ptr<archive::CArchiveSession> session;
    // Said once when the archive is opened: a local archive on a network file system.
    std::string warning;
};

// Opens the archive at `path` (or the user's) for this run: a local file, or a site archive on
// a server when `path` is a connection string (see archive::IsSiteLocation). With `enabled`
// false the session records nothing and the archive is not touched.
ArchiveHandle OpenArchive(bool enabled, const ITextCodec& codec, std::string path = {});

// The whole bytes of a file, nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The archive's rules of core/archive/ArchiveFiles with this program's reading and hashing.
// Takes in the kept downloads of `folder` that the archive does not hold yet.
void ImportKeptDownloads(archive::CArchiveSession& session, const std::string& folder,
                         const ITextCodec& codec);

// A download kept at `keptPath`, its exchange with the recorder copied beside it (the
// transcript folder keeps only the last two).
archive::Recording RecordDownload(archive::CArchiveSession& session, const std::string& keptPath,
                                  const std::string& transcriptPath, const ITextCodec& codec);

// A file's bytes as a recording of the archive, or nullopt when it is not a data file.
std::optional<archive::Recording> DescribeFile(const std::string& path, const ITextCodec& codec);

} // namespace saroko
