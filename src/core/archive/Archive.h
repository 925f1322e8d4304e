#pragma once
// The recordings archive: every data file that enters the program is a recording, found again
// by the SHA-256 of its bytes, and every thing done with it is an event in an append-only audit
// trail. Each event carries the hash of its predecessor and of its own canonical text, so a
// changed, removed, inserted or reordered event breaks the chain where it happened.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace saroko::archive {

inline constexpr int kSchemaVersion = 3;
// The hash that the first event names as its predecessor.
inline const std::string kGenesisHash(64, '0');

using Sha256Digest = std::array<uint8_t, 32>;
// SHA-256 of a byte string; the program's comes from a well-kept library, never from here.
using Sha256Fn = std::function<Sha256Digest(std::span<const uint8_t>)>;
std::string HexDigest(const Sha256Digest& d);
std::string Sha256Hex(const Sha256Fn& hash, std::string_view bytes);

struct ChannelInfo {
    int number = 0;
    std::string name;       // UTF-8
    int64_t startUtc = 0;   // seconds since 1970 UTC
    std::string startLocal; // the header's own local text, e.g. "2008/ 3/ 5(Wed) 9: 7' 0"
    uint32_t interval = 0;  // seconds
    int samples = 0;
    bool operator==(const ChannelInfo&) const = default;
};

struct Recording {
    int64_t id = 0;
    std::string sha256;
    uint64_t size = 0;
    std::string path;      // where the file was seen first (a kept download's first path)
    std::string source;    // "download" or "file"
    std::string firstSeen; // UTC, "2026-12-07T08:30:00Z"
    std::string recorder;  // the model, "KM-41" or ""
    std::string identity;  // what the recorder answered to identify, hex; "" for files
    std::optional<int> utcOffsetMinutes; // what the header's local start text implies
    std::string transcriptPath;          // downloads: the kept exchange beside the file
    std::string transcriptSha256;
    std::vector<ChannelInfo> channels;
};

// A file the archive keeps: a download (or a file found in the downloads folder) with the
// exchange that made it. Identical bytes kept twice are one recording with two kept files,
// and each is checked on its own.
struct KeptFile {
    int64_t id = 0;
    int64_t recordingId = 0;
    std::string path;
    std::string transcriptPath;
    std::string transcriptSha256;
    std::string keptAt; // UTC, as events write times
};

// The last time a kept file was hashed again, and what was found; shown until the next check.
struct FileCheck {
    std::string path;
    int64_t recordingId = 0;
    std::string status; // kStatusVerified, kStatusChanged or kStatusMissing
    std::string checkedAt;
    bool operator==(const FileCheck&) const = default;
};

// New kinds go at the end: a kind's name is in the hashed text, never its number, but the
// table of names follows this order.
enum class EventKind {
    Created,
    Opened,
    Changed,
    Saved,
    Exported,
    Reported,
    Printed,
    Commented,  // a comment on an excursion of a recording
    Unit,       // a storage unit created or changed (no recording)
    Assigned,   // a recording assigned to a unit
    Calibrated, // a unit channel's calibration set or changed (no recording)
    Key,        // a signing key registered or retired (no recording)
    Signed,     // a report signed (no recording: the statement names the sources)
    Setting,    // an archive setting set (no recording)
};
const char* EventKindName(EventKind kind);
std::optional<EventKind> EventKindFromName(std::string_view name);

struct Event {
    int64_t seq = 0;
    std::string timeUtc;   // "2026-12-07T08:30:00Z"
    int offsetMinutes = 0; // the local offset at that time
    std::string user;
    std::string host;
    std::string version;
    EventKind kind = EventKind::Opened;
    std::string detail; // created: "downloaded" or "imported"; changed: what changed
    int64_t recordingId = 0;
    std::string recordingSha256;
    std::string oldValue;
    std::string newValue;
    std::string reason;
    std::string prevHash;
    std::string hash;
};

// Appends `key=value` and a line feed, the value on one line: backslash, line feed and
// carriage return escaped, nothing else. The event text and the values that events carry use it.
void AppendField(std::string& out, const char* key, std::string_view value);

// The exact text an event's hash covers (UTF-8, LF line ends, no final LF); the hash is
// SHA-256 over the predecessor's hash in hex followed by this text.
std::string CanonicalText(const Event& e);
std::string EventHash(const Sha256Fn& hash, const std::string& prevHash, const Event& e);
// Fills seq, prevHash and hash of `e` to follow `last` (nullptr: the first event).
void SealEvent(const Sha256Fn& hash, const Event* last, Event& e);

// What a store reports; anything but kOk leaves the work to go on without it.
enum class StoreStatus { kOk, kBusy, kReadOnly, kFull, kCorrupt, kNewerSchema, kFailed };

// One new entry: a recording when it is not in the archive yet, the file kept of it when
// there is one, and the event about it.
struct PendingEntry {
    std::optional<Recording> recording;
    std::optional<KeptFile> kept;
    Event event;
};

class IArchiveStore {
public:
    virtual ~IArchiveStore() = default;
    // Writes the recordings that are new (by hash) and appends the events in one transaction:
    // `seal` is called for each event with the last event then in the store, so two programs
    // writing at once still make one chain. Fills in the recording ids.
    using Sealer = std::function<void(const Event* last, Event& e)>;
    virtual StoreStatus Write(std::vector<PendingEntry>& batch, const Sealer& seal) = 0;
    virtual StoreStatus FindRecording(const std::string& sha256, std::optional<Recording>& out) = 0;
    virtual StoreStatus Recordings(std::vector<Recording>& out) = 0;
    // All events in the order of their sequence numbers; of one recording when id > 0.
    virtual StoreStatus Events(std::vector<Event>& out, int64_t recordingId = 0) = 0;
    virtual StoreStatus KeptFiles(std::vector<KeptFile>& out) = 0;
    // The recording whose kept file lies at `path` (`kept` true), or else the newest recording
    // first seen there; nullopt when neither.
    virtual StoreStatus FindByPath(const std::string& path, std::optional<Recording>& out,
                                   bool& kept) = 0;
    // The results of a check replace the earlier ones of the same files.
    virtual StoreStatus SaveChecks(const std::vector<FileCheck>& checks) = 0;
    virtual StoreStatus Checks(std::vector<FileCheck>& out) = 0;
    // The text of the last failure, for the one message the user sees.
    virtual std::string LastError() const = 0;
};

// The first break of a chain, or none.
struct ChainBreak {
    int64_t seq = 0;  // the event where the chain stops holding
    std::string what; // "changed", "removed", "inserted" or "reordered"
};
std::optional<ChainBreak> CheckChain(const Sha256Fn& hash, const std::vector<Event>& events);

// A kept file that is not what was archived.
struct FileProblem {
    int64_t recordingId = 0;
    std::string path;
    std::string expected;
    std::string found; // "" when the file is missing
    bool operator==(const FileProblem&) const = default;
};
// The hash of a file's bytes, or nullopt when it cannot be read.
using FileHasher = std::function<std::optional<std::string>(const std::string& path)>;
// A file the recordings list shows: each file kept of a recording, or, when none is kept, the
// recording's own path (`kept` false).
struct ListedFile {
    std::size_t recording = 0; // index into the recordings
    std::string path;
    std::string transcriptPath;
    std::string transcriptSha256;
    bool kept = false;
};
std::vector<ListedFile> ListedFiles(const std::vector<Recording>& recordings,
                                    const std::vector<KeptFile>& kept);
// Hashes one listed file (and its transcript) again; the problems found go to `problems`.
FileCheck CheckListedFile(const Recording& r, const ListedFile& f, const FileHasher& hashFile,
                          const std::string& now, std::vector<FileProblem>* problems = nullptr);

// Hashes every kept file and transcript again; `checks` (when given) takes each kept file's
// result, stamped `now`. A download recording without any kept file (a store that predates
// them) is checked at its own path.
std::vector<FileProblem> CheckKeptFiles(const std::vector<Recording>& recordings,
                                        const std::vector<KeptFile>& kept,
                                        const FileHasher& hashFile,
                                        std::vector<FileCheck>* checks = nullptr,
                                        const std::string& now = {});

// What an event names a file by: "PATH sha256:HEX".
std::string FileText(const std::string& path, const std::string& sha256);

// The span of a recording's samples, first to last over its channels (0, 0 without any).
std::pair<int64_t, int64_t> SampleSpan(const Recording& r);
int SampleTotal(const Recording& r);

// What the recordings list shows: those whose samples reach into [from, to] and with a
// channel whose name contains `name` (ASCII letters in either case).
struct RecordingFilter {
    std::optional<int64_t> from, to;
    std::string name;
};
bool Matches(const Recording& r, const RecordingFilter& f);

// A recording's state. "verified" is said only of bytes hashed again and found equal; a
// file merely of the archived size is "unverified", since its bytes may differ all the same.
inline constexpr char kStatusVerified[] = "verified";
inline constexpr char kStatusUnverified[] = "unverified";
inline constexpr char kStatusChanged[] = "changed";
inline constexpr char kStatusMissing[] = "missing";
// From the file's bytes hashed again.
std::string RecordingStatus(const Recording& r, const FileHasher& hashFile);
// From the file's size now (nullopt: no such file), for lists that do not read every file.
std::string QuickStatus(const Recording& r, std::optional<uint64_t> sizeNow);
// What a list says of a file: what its size tells now when that is bad news, else the last
// check's result (kept until the next check) unless it found the file missing and the file
// is back, else "unverified".
std::string ShownStatus(const std::string& quick, const FileCheck* last);

} // namespace saroko::archive
