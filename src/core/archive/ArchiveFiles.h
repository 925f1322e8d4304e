#pragma once
// The archive's rules about files: how a recording and an output are named, what a download's
// recording carries (its recorder's identity, its exchange kept beside it), and which files of
// the downloads folder are taken in, in which order. Reading and hashing come from outside.
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/ArchiveSession.h"

namespace saroko::archive {

// Where a recording came from, as the recordings table says.
inline constexpr char kSourceDownload[] = "download"; // the archive keeps the file
inline constexpr char kSourceFile[] = "file";         // seen elsewhere, may move on
// A "created" event's detail: how the recording came to be.
inline constexpr char kCreatedDownloaded[] = "downloaded";
inline constexpr char kCreatedImported[] = "imported";
inline constexpr char kCreatedSaved[] = "saved";

// What an output is named by in its event besides a file: standard output, and a printer
// (which gives no bytes to hash).
inline constexpr char kStandardOutput[] = "-";
inline constexpr char kPrinterOutput[] = "printer";

// A file's place as the archive names it, for recordings and outputs alike: its absolute
// path, so that a name means the same file whichever folder the program ran in; the path as
// given when it has none. Standard output and the printer keep their names.
std::string PlaceOf(const std::string& path);
// What an output event names: "PLACE sha256:HEX", or "printer" alone.
std::string OutputText(const std::string& output, const std::string& sha256);

// A file's whole bytes, nullopt when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;

// A file on disk as a recording, named by its place; nullopt when it cannot be read or is
// not a data file of ours.
std::optional<Recording> DescribePath(const std::string& path, const FileReader& read,
                                      const ITextCodec& codec, const Sha256Fn& hash);

// What a download's recording names as its recorder's identity: the two bytes a KM-41
// answers to the identify command, in hex (a download is made only after them); "" for
// another model.
std::string RecorderIdentity(const std::string& recorder);

// The data files of `folder` (extension .klg in either case) that are not among `kept`,
// oldest first (a kept download is named by its time).
std::vector<std::string> DownloadsToTakeIn(const std::string& folder,
                                           const std::set<std::string>& kept);

// Takes in the kept downloads of `folder` that the archive does not hold yet, each a
// "created (imported)" event, all in one write; a second copy of known bytes is kept too.
void ImportKeptDownloads(CArchiveSession& session, const std::string& folder,
                         const FileReader& read, const ITextCodec& codec);
// The same of the given files; how many were data files and taken in.
std::size_t TakeInDownloads(CArchiveSession& session, const std::vector<std::string>& paths,
                            const FileReader& read, const ITextCodec& codec);

// The kept downloads of `folder` that the archive holds neither itself nor among what waits
// on this computer for its server; nullopt when its kept files cannot be read (a server away).
std::optional<std::vector<std::string>> DownloadsNotIn(CArchiveSession& session,
                                                       const std::string& folder);

// The first use of a site archive on this computer: the downloads kept here before are not in
// it. The user is offered once to take them in, and the answer is kept for that location.
enum class FirstUseAnswer { kNotAsked, kTaken, kDeclined };
// The answer as it is kept, and back; an older mark that names only the folder was a take-in.
std::string FirstUseText(FirstUseAnswer answer);
FirstUseAnswer ParseFirstUse(const std::optional<std::string>& text);
// Asks `ask` with the kept downloads the archive lacks, unless the user answered before or its
// server does not answer (then it is asked at a later start), and takes them in when `ask`
// agrees. The answer to keep: kNotAsked when nothing was asked; kTaken, without asking, when
// the archive lacks none.
FirstUseAnswer OfferKeptDownloads(CArchiveSession& session, const std::string& folder,
                                  FirstUseAnswer before,
                                  const std::function<bool(const std::vector<std::string>&)>& ask,
                                  const FileReader& read, const ITextCodec& codec);

// A download kept at `keptPath`: its exchange with the recorder is copied beside it as
// NAME.exchange.txt (never over a file already there), and both become the recording's kept
// files with a "created (downloaded)" event. The recording as described when the archive is
// off.
Recording RecordDownload(CArchiveSession& session, const std::string& keptPath,
                         const std::string& transcriptPath, const FileReader& read,
                         const FileHasher& hashFile, const ITextCodec& codec);

} // namespace saroko::archive
