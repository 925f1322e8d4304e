#pragma once
// An archive store in memory: the tests' store, and a model of what the SQLite store does.
#include "core/archive/Archive.h"

namespace saroko::archive {

class CMemoryArchiveStore final : public IArchiveStore {
public:
    StoreStatus Write(std::vector<PendingEntry>& batch, const Sealer& seal) override {
        if (failWith != StoreStatus::kOk)
            return failWith;
        for (PendingEntry& p : batch) {
            if (p.recording && !Lookup(p.recording->sha256)) {
                p.recording->id = static_cast<int64_t>(recordings.size()) + 1;
                recordings.push_back(*p.recording);
            }
            if (const Recording* r = Lookup(p.event.recordingSha256))
                p.event.recordingId = r->id;
            seal(events.empty() ? nullptr : &events.back(), p.event);
            events.push_back(p.event);
        }
        return StoreStatus::kOk;
    }
    StoreStatus FindRecording(const std::string& sha256, std::optional<Recording>& out) override {
        if (failWith != StoreStatus::kOk)
            return failWith;
        const Recording* r = Lookup(sha256);
        out = r ? std::optional<Recording>(*r) : std::nullopt;
        return StoreStatus::kOk;
    }
    StoreStatus Recordings(std::vector<Recording>& out) override {
        out = recordings;
        return StoreStatus::kOk;
    }
    StoreStatus Events(std::vector<Event>& out, int64_t recordingId = 0) override {
        out.clear();
        for (const Event& e : events)
            if (recordingId == 0 || e.recordingId == recordingId)
                out.push_back(e);
        return StoreStatus::kOk;
    }
    std::string LastError() const override { return {}; }

    std::vector<Recording> recordings;
    std::vector<Event> events;
    StoreStatus failWith = StoreStatus::kOk; // every call fails so while set

private:
    const Recording* Lookup(const std::string& sha256) const {
        for (const Recording& r : recordings)
            if (r.sha256 == sha256)
                return &r;
        return nullptr;
    }
};

} // namespace saroko::archive
