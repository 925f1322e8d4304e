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
            if (p.kept) {
                // A path kept again names the newer file; one row per path.
                p.kept->recordingId = p.event.recordingId;
                std::erase_if(kept, [&](const KeptFile& k) { return k.path == p.kept->path; });
                p.kept->id = ++m_nKeptIds;
                kept.push_back(*p.kept);
            }
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
    StoreStatus KeptFiles(std::vector<KeptFile>& out) override {
        out = kept;
        return failWith;
    }
    StoreStatus FindByPath(const std::string& path, std::optional<Recording>& out,
                           bool& isKept) override {
        out.reset();
        isKept = false;
        for (const KeptFile& k : kept)
            for (const Recording& r : recordings)
                if (k.path == path && r.id == k.recordingId) {
                    out = r;
                    isKept = true;
                    return failWith;
                }
        for (auto it = recordings.rbegin(); it != recordings.rend(); ++it)
            if (it->path == path) {
                out = *it;
                break;
            }
        return failWith;
    }
    StoreStatus SaveChecks(const std::vector<FileCheck>& add) override {
        for (const FileCheck& c : add) {
            std::erase_if(checks, [&](const FileCheck& o) { return o.path == c.path; });
            checks.push_back(c);
        }
        return failWith;
    }
    StoreStatus Checks(std::vector<FileCheck>& out) override {
        out = checks;
        return failWith;
    }
    std::string LastError() const override { return {}; }

    std::vector<Recording> recordings;
    std::vector<KeptFile> kept;
    std::vector<FileCheck> checks;
    std::vector<Event> events;
    StoreStatus failWith = StoreStatus::kOk; // every call fails so while set

private:
    int64_t m_nKeptIds = 0;
    const Recording* Lookup(const std::string& sha256) const {
        for (const Recording& r : recordings)
            if (r.sha256 == sha256)
                return &r;
        return nullptr;
    }
};

} // namespace saroko::archive
