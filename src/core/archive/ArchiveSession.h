#pragma once
// What the window and saroko-cli call: one object per run that records what happens to data
// files. The work at hand never waits for the archive: an event that cannot be written stays
// in memory and goes with the next write that succeeds, and the first failure gives one
// message for the caller to show.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/archive/Archive.h"

namespace saroko {
class ITextCodec;
}

namespace saroko::archive {

struct SessionContext {
    std::string user;
    std::string host;
    std::string version;
    std::function<int64_t()> nowUtc;               // seconds since 1970
    std::function<int(int64_t utc)> offsetMinutes; // the local offset at a time
};

// A data file's bytes as a recording: hash, size and what its headers say. Nullopt when the
// bytes are not a data file of ours.
std::optional<Recording> DescribeDataFile(std::string_view bytes, const std::string& path,
                                          const ITextCodec& codec, const Sha256Fn& hash);

struct VerifyReport {
    std::optional<ChainBreak> chainBreak;
    std::vector<FileProblem> files;
    std::size_t events = 0;
    std::size_t recordings = 0;
    std::size_t keptFiles = 0;
    bool Holds() const { return !chainBreak && files.empty(); }
};

// A file opened, as the archive takes it. A file that lies where the archive keeps a download,
// or where a recording was first seen, and no longer holds that recording's bytes is that
// recording changed, not a new one.
struct Opening {
    Recording recording;     // as archived; the original one when the file changed
    std::string foundSha256; // the bytes' hash when they differ from `recording`'s
    bool Changed() const { return !foundSha256.empty(); }
};
// The warning an opened changed file gives, in the program's voice; "" when it did not change.
std::string ChangedFileMessage(const std::string& path, const Opening& o);

class CArchiveSession {
public:
    // `store` may be null: the archive is left alone (--no-archive) and nothing is recorded.
    CArchiveSession(IArchiveStore* store, Sha256Fn hash, SessionContext context);

    bool Enabled() const { return m_pStore != nullptr; }
    IArchiveStore& Store() { return *m_pStore; }

    // A file entered the program: it becomes a recording when its bytes are new, and the event
    // is about it. Returns the recording as archived (id 0 while the write waits).
    Recording Record(EventKind kind, const Recording& recording, const std::string& detail = {},
                     const std::string& oldValue = {}, const std::string& newValue = {},
                     const std::string& reason = {});
    // A file was opened: recorded as an "opened" event of its recording, or, when it is a
    // changed recording (see Opening), as an "opened (changed)" event about the original one
    // that names the file and the hash found.
    Opening Open(const Recording& described);
    // What the bytes with `sha256` at `path` are to the archive, recording nothing: a recording,
    // a changed recording, or nullopt (not archived).
    std::optional<Opening> Identify(const std::string& path, const std::string& sha256);
    // A file the archive keeps from now on (a download): the "created" event with `detail`
    // names the kept file, so that a second copy of the same bytes is told apart in the trail.
    Recording Keep(const Recording& recording, const std::string& detail, KeptFile kept);
    // An event about a recording already known by its hash.
    void RecordAbout(EventKind kind, const std::string& sha256, const std::string& detail,
                     const std::string& oldValue = {}, const std::string& newValue = {},
                     const std::string& reason = {});

    // Writes what waits; true when nothing waits any more.
    bool Flush();
    // While held, events only wait: many are then written in one transaction by the Flush
    // after the hold (taking in thousands of kept files costs one commit, not thousands).
    void Hold(bool hold) { m_bHeld = hold; }
    std::size_t Waiting() const { return m_pending.size(); }
    // The message of the first failure of this run, once; empty otherwise.
    std::string TakeMessage();
    StoreStatus LastStatus() const { return m_status; }
    // A failure found outside a write (opening the store): reported as a write's would be.
    void NoteFailure(StoreStatus status);

    // The hash of the newest event written, "" when there is none.
    std::string ChainHead();
    std::optional<Recording> Find(const std::string& sha256);

    // Walks the chain and hashes every kept file again; the result for each kept file is kept
    // in the store as its last check.
    VerifyReport Verify(const FileHasher& hashFile);

    const Sha256Fn& Hash() const { return m_hash; }
    const SessionContext& Context() const { return m_context; }

private:
    Recording Append(EventKind kind, const Recording& recording, const std::string& detail,
                     const std::string& oldValue, const std::string& newValue,
                     const std::string& reason, std::optional<KeptFile> kept);
    // True when a recording with these bytes waits to be written.
    bool Pending(const std::string& sha256) const;
    // The recording the file at `path` should hold when it holds other bytes (see Opening).
    std::optional<Recording> ChangedAt(const std::string& path, const std::string& sha256);
    Event NewEvent(EventKind kind, const std::string& detail, const std::string& oldValue,
                   const std::string& newValue, const std::string& reason) const;

    IArchiveStore* m_pStore;
    Sha256Fn m_hash;
    SessionContext m_context;
    std::vector<PendingEntry> m_pending;
    StoreStatus m_status = StoreStatus::kOk;
    bool m_bReported = false;
    bool m_bHeld = false;
    std::string m_szMessage;
};

// The one line a failure of the store gives, in the program's voice.
std::string StoreMessage(StoreStatus status, const std::string& detail);

} // namespace saroko::archive
