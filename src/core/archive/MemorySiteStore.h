#pragma once
// A site archive in memory: the tests' server, and a model of what the PostgreSQL store does
// with ids and origins (an entry whose id it holds is skipped, a pushed event's origin kept);
// and a spool in memory to stand before it.
#include <algorithm>
#include <set>

#include "core/archive/ArchiveSpool.h"
#include "core/archive/MemoryArchiveStore.h"

namespace saroko::archive {

class CMemorySiteStore final : public ISiteStore {
public:
    StoreStatus WriteOnce(std::vector<SpooledEntry>& batch, const Sealer& seal) override {
        ++sends;
        if (down)
            return StoreStatus::kFailed;
        // A write cut off (the server gone, the program killed) leaves nothing of its batch,
        // as a transaction does.
        if (writesLeft && (*writesLeft)-- <= 0)
            return StoreStatus::kFailed;
        for (SpooledEntry& s : batch) {
            if (!s.id.empty() && !ids.insert(s.id).second)
                continue;
            std::vector<PendingEntry> one{s.entry};
            if (const StoreStatus st = memory.Write(one, seal); st != StoreStatus::kOk)
                return st;
            s.entry = std::move(one.front());
            if (s.origin) {
                s.origin->siteSeq = s.entry.event.seq;
                origins.push_back(*s.origin);
            }
        }
        return StoreStatus::kOk;
    }
    bool Answers() override { return !down; }
    StoreStatus Origins(std::vector<EventOrigin>& out, const std::string& archive) override {
        out.clear();
        for (const EventOrigin& o : origins)
            if (archive.empty() || o.archive == archive)
                out.push_back(o);
        std::stable_sort(out.begin(), out.end(), [](const EventOrigin& a, const EventOrigin& b) {
            return a.archive != b.archive ? a.archive < b.archive : a.seq < b.seq;
        });
        return down ? StoreStatus::kFailed : StoreStatus::kOk;
    }
    StoreStatus Write(std::vector<PendingEntry>& b, const Sealer& s) override {
        return memory.Write(b, s);
    }
    // A server that is away answers nothing.
    StoreStatus FindRecording(const std::string& h, std::optional<Recording>& o) override {
        return down ? StoreStatus::kFailed : memory.FindRecording(h, o);
    }
    StoreStatus Recordings(std::vector<Recording>& o) override {
        return down ? StoreStatus::kFailed : memory.Recordings(o);
    }
    StoreStatus Events(std::vector<Event>& o, int64_t id = 0) override {
        return down ? StoreStatus::kFailed : memory.Events(o, id);
    }
    StoreStatus KeptFiles(std::vector<KeptFile>& o) override {
        return down ? StoreStatus::kFailed : memory.KeptFiles(o);
    }
    StoreStatus FindByPath(const std::string& p, std::optional<Recording>& o, bool& k) override {
        return down ? StoreStatus::kFailed : memory.FindByPath(p, o, k);
    }
    StoreStatus SaveChecks(const std::vector<FileCheck>& c) override {
        return down ? StoreStatus::kFailed : memory.SaveChecks(c);
    }
    StoreStatus Checks(std::vector<FileCheck>& o) override {
        return down ? StoreStatus::kFailed : memory.Checks(o);
    }
    std::string LastError() const override { return down ? "site: no connection" : ""; }

    CMemoryArchiveStore memory;
    std::set<std::string> ids;
    std::vector<EventOrigin> origins;
    bool down = false;
    std::optional<int> writesLeft; // when set, the writes after this many fail
    int sends = 0;                 // the writes tried
};

// A spool in memory; with `*full` set its appends fail, as on a full disk.
class CMemorySpool final : public ISpoolFile {
public:
    CMemorySpool(std::string* text, bool* full) : m_text(text), m_full(full) {}
    bool Lock() override { return true; }
    void Unlock() override {}
    bool Read(std::string& out) override {
        out = *m_text;
        return true;
    }
    bool Append(const std::string& t) override {
        if (*m_full)
            return false;
        *m_text += t;
        return true;
    }
    bool Replace(const std::string& t) override {
        *m_text = t;
        return true;
    }

private:
    std::string* m_text;
    bool* m_full;
};

// A site store seen through another holder, which may drop its view while the store stays: a
// server in memory outlives every opening of the archive that stands in front of it.
class CSiteStoreView final : public ISiteStore {
public:
    explicit CSiteStoreView(ISiteStore& site) : m(site) {}
    StoreStatus WriteOnce(std::vector<SpooledEntry>& b, const Sealer& s) override {
        return m.WriteOnce(b, s);
    }
    bool Answers() override { return m.Answers(); }
    StoreStatus Origins(std::vector<EventOrigin>& o, const std::string& a) override {
        return m.Origins(o, a);
    }
    StoreStatus Write(std::vector<PendingEntry>& b, const Sealer& s) override {
        return m.Write(b, s);
    }
    StoreStatus FindRecording(const std::string& h, std::optional<Recording>& o) override {
        return m.FindRecording(h, o);
    }
    StoreStatus Recordings(std::vector<Recording>& o) override { return m.Recordings(o); }
    StoreStatus Events(std::vector<Event>& o, int64_t id = 0) override { return m.Events(o, id); }
    StoreStatus KeptFiles(std::vector<KeptFile>& o) override { return m.KeptFiles(o); }
    StoreStatus FindByPath(const std::string& p, std::optional<Recording>& o, bool& k) override {
        return m.FindByPath(p, o, k);
    }
    StoreStatus SaveChecks(const std::vector<FileCheck>& c) override { return m.SaveChecks(c); }
    StoreStatus Checks(std::vector<FileCheck>& o) override { return m.Checks(o); }
    std::string LastError() const override { return m.LastError(); }

private:
    ISiteStore& m;
};

} // namespace saroko::archive
