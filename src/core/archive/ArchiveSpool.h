#pragma once
// A site archive on a server, and what waits for it on this computer. The work never waits
// for the server: every entry goes first to a spool on disk under an id of its own, then to
// the server with what waited before it, in order. The server writes an id once, so a send
// that was cut off and is made again adds nothing twice.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/Archive.h"

namespace saroko::archive {

// True when `location` names a site archive on a PostgreSQL server: a postgresql:// or
// postgres:// URI, or a key=value connection string; anything else is a local file.
bool IsSiteLocation(std::string_view location);
// The location as the program shows it: a password written into it is replaced by "***".
std::string ShownLocation(std::string_view location);

// Where a pushed event came from: its place in the chain of the local archive that made it.
// The site event that carries it has the same text but for its number and its recording's.
struct EventOrigin {
    std::string archive;     // the local chain's name: the hash of its first event
    std::string host;        // the computer it was pushed from
    int64_t seq = 0;         // its number in its own chain
    int64_t recordingId = 0; // its recording's number in the local archive
    std::string prevHash;    // its own chain's links
    std::string hash;
    int64_t siteSeq = 0; // the site event that carries it, filled in by the store
    bool operator==(const EventOrigin&) const = default;
};

// An entry under the id it was given when it was made.
struct SpooledEntry {
    std::string id;
    PendingEntry entry;
    std::optional<EventOrigin> origin; // a pushed event's (never spooled)
};

// One line of the spool (with its LF); ParseSpool reads back every whole line, in order, and
// skips a line cut short by a crash.
std::string SpoolLine(const SpooledEntry& e);
std::vector<SpooledEntry> ParseSpool(std::string_view text);

// The spooled entries to send, less the "created (imported)" events made while the server was
// away for a file only opened: the program could not ask whether the server held the
// recording, so it made one. Such an entry goes when the server holds the recording
// (`siteHolds`) or an entry before it in the spool brings it; a kept file's entry always stays.
void DropKnownCreations(std::vector<SpooledEntry>& waiting,
                        const std::function<bool(const std::string& sha256)>& siteHolds);

// What waits on this computer for a site archive's server, as every list shows it: the events
// in the order they will go (of one recording when `sha256` is given), less the creations
// DropKnownCreations leaves out, and the recordings among them the server does not hold yet,
// each once. `siteHolds` empty: the store is asked. Nothing waits for a local archive.
struct WaitingWork {
    std::vector<Event> events;
    std::vector<Recording> recordings;
};
WaitingWork WhatWaits(IArchiveStore& store, const std::string& sha256 = {},
                      std::function<bool(const std::string& sha256)> siteHolds = {});

// A store on a server that writes each event once.
class ISiteStore : public IArchiveStore {
public:
    // As Write, in one transaction; an entry whose id the store holds already is skipped.
    virtual StoreStatus WriteOnce(std::vector<SpooledEntry>& batch, const Sealer& seal) = 0;
    // Whether the server answers now (connecting again when it did not).
    virtual bool Answers() = 0;
    // The origins of pushed events, by local archive and in their own order; of one local
    // archive when `archive` is given.
    virtual StoreStatus Origins(std::vector<EventOrigin>& out, const std::string& archive = {}) = 0;
};

// The spool's file, read and written whole; Append and Replace return only once the bytes are
// on disk. The lock keeps a second program on this computer out between a read and a replace.
class ISpoolFile {
public:
    virtual ~ISpoolFile() = default;
    virtual bool Lock() = 0;
    virtual void Unlock() = 0;
    virtual bool Read(std::string& out) = 0; // "" when there is no spool
    virtual bool Append(const std::string& text) = 0;
    virtual bool Replace(const std::string& text) = 0;
};

class CSpooledArchiveStore final : public IArchiveStore {
public:
    // After a failed send, entries only go to the spool until this many seconds have passed:
    // a cut network then costs one connection attempt a minute, not one per event.
    static constexpr int64_t kRetrySeconds = 60;

    CSpooledArchiveStore(std::unique_ptr<ISiteStore> site, std::unique_ptr<ISpoolFile> file,
                         Sha256Fn hash, std::function<std::string()> newId,
                         std::function<int64_t()> nowUtc);

    // The batch goes to the spool, then everything the spool holds to the server. kOk once
    // the spool holds it, whether the server took it or not; a failure of the server is
    // reported once through the handler (the run's one message).
    StoreStatus Write(std::vector<PendingEntry>& batch, const Sealer& seal) override;
    // Sends what waits now, whatever the time of the last failure; kOk when nothing waits.
    StoreStatus Send();
    // The entries in the spool (they are events, each with the recording it brings).
    std::size_t Waiting();
    std::vector<SpooledEntry> WaitingEntries();
    ISiteStore& Site() { return *m_site; }
    void OnSiteFailure(std::function<void(StoreStatus)> handler) {
        m_onFailure = std::move(handler);
    }

    StoreStatus FindRecording(const std::string& sha256, std::optional<Recording>& out) override;
    StoreStatus Recordings(std::vector<Recording>& out) override;
    StoreStatus Events(std::vector<Event>& out, int64_t recordingId = 0) override;
    StoreStatus KeptFiles(std::vector<KeptFile>& out) override;
    StoreStatus FindByPath(const std::string& path, std::optional<Recording>& out,
                           bool& kept) override;
    StoreStatus SaveChecks(const std::vector<FileCheck>& checks) override;
    StoreStatus Checks(std::vector<FileCheck>& out) override;
    std::string LastError() const override;

private:
    StoreStatus SendLocked(const std::string& text, const Sealer& seal);

    std::unique_ptr<ISiteStore> m_site;
    std::unique_ptr<ISpoolFile> m_file;
    Sha256Fn m_hash;
    std::function<std::string()> m_newId;
    std::function<int64_t()> m_now;
    std::function<void(StoreStatus)> m_onFailure;
    std::optional<int64_t> m_failedAt;
    bool m_bReported = false;
    std::string m_szError;
};

} // namespace saroko::archive
