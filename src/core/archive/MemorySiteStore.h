#pragma once
// A site archive in memory: the tests' server, and a model of what the PostgreSQL store does
// with ids and origins (an entry whose id it holds is skipped, a pushed event's origin kept).
#include <algorithm>
#include <set>

#include "core/archive/ArchiveSpool.h"
#include "core/archive/MemoryArchiveStore.h"

namespace saroko::archive {

class CMemorySiteStore final : public ISiteStore {
public:
    StoreStatus WriteOnce(std::vector<SpooledEntry>& batch, const Sealer& seal) override {
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
    StoreStatus FindRecording(const std::string& h, std::optional<Recording>& o) override {
        return memory.FindRecording(h, o);
    }
    StoreStatus Recordings(std::vector<Recording>& o) override { return memory.Recordings(o); }
    StoreStatus Events(std::vector<Event>& o, int64_t id = 0) override {
        return memory.Events(o, id);
    }
    StoreStatus KeptFiles(std::vector<KeptFile>& o) override { return memory.KeptFiles(o); }
    StoreStatus FindByPath(const std::string& p, std::optional<Recording>& o, bool& k) override {
        return memory.FindByPath(p, o, k);
    }
    StoreStatus SaveChecks(const std::vector<FileCheck>& c) override {
        return memory.SaveChecks(c);
    }
    StoreStatus Checks(std::vector<FileCheck>& o) override { return memory.Checks(o); }
    std::string LastError() const override { return down ? "site: no connection" : ""; }

    CMemoryArchiveStore memory;
    std::set<std::string> ids;
    std::vector<EventOrigin> origins;
    bool down = false;
    std::optional<int> writesLeft; // when set, the writes after this many fail
};

} // namespace saroko::archive
