#include "core/archive/ArchivePush.h"

#include <algorithm>
#include <map>
#include <set>

namespace saroko::archive {
namespace {

// Says where the site holds this chain up to, or why a push cannot go on from there.
std::string HeldProblem(const std::vector<Event>& local, const std::vector<EventOrigin>& pushed) {
    for (std::size_t i = 0; i < pushed.size(); ++i)
        if (pushed[i].seq != static_cast<int64_t>(i) + 1)
            return "the site's copy of this archive is broken at event " + std::to_string(i + 1) +
                   " (archive verify on the site names it): nothing was pushed";
    if (pushed.size() > local.size())
        return "the site holds " + std::to_string(pushed.size()) +
               " events of this archive, which has only " + std::to_string(local.size()) +
               ": nothing was pushed";
    if (!pushed.empty() && pushed.back().hash != local[pushed.size() - 1].hash)
        return "this archive's event " + std::to_string(pushed.size()) +
               " is not the one pushed before: nothing was pushed";
    return {};
}

} // namespace

std::string ChainName(const std::vector<Event>& events) {
    return events.empty() ? std::string() : events.front().hash;
}

std::string PushedEventId(const std::string& chain, int64_t seq) {
    return "push:" + chain + ":" + std::to_string(seq);
}

PushPlan PlanPush(const Sha256Fn& hash, const std::vector<Event>& local,
                  const std::vector<Recording>& recordings, const std::vector<KeptFile>& kept,
                  const std::vector<EventOrigin>& pushed, const std::string& host) {
    PushPlan plan;
    plan.chain = ChainName(local);
    if (local.empty())
        return plan;
    // A chain that does not hold would not hold at the site either.
    if (const std::optional<ChainBreak> b = CheckChain(hash, local)) {
        plan.problem = "this archive's chain is broken at event " + std::to_string(b->seq) + " (" +
                       b->what + "): nothing was pushed";
        return plan;
    }
    plan.problem = HeldProblem(local, pushed);
    if (!plan.problem.empty())
        return plan;
    plan.already = pushed.size();
    std::map<int64_t, const Recording*> byId;
    for (const Recording& r : recordings)
        byId[r.id] = &r;
    std::map<int64_t, std::vector<const KeptFile*>> keptOf;
    for (const KeptFile& k : kept)
        keptOf[k.recordingId].push_back(&k);
    std::set<int64_t> brought;
    for (std::size_t i = plan.already; i < local.size(); ++i) {
        const Event& e = local[i];
        SpooledEntry s;
        s.id = PushedEventId(plan.chain, e.seq);
        s.entry.event = e; // numbered and sealed anew by the site
        s.origin = EventOrigin{plan.chain, host, e.seq, e.recordingId, e.prevHash, e.hash, 0};
        const auto r = byId.find(e.recordingId);
        if (r != byId.end() && brought.insert(e.recordingId).second)
            s.entry.recording = *r->second;
        // A kept file goes with the "created" event that names it.
        if (e.kind == EventKind::Created)
            for (const KeptFile*& k : keptOf[e.recordingId])
                if (k && FileText(k->path, e.recordingSha256) == e.newValue) {
                    s.entry.kept = *k;
                    k = nullptr;
                    break;
                }
        plan.entries.push_back(std::move(s));
    }
    return plan;
}

PushResult Push(IArchiveStore& local, ISiteStore& site, const Sha256Fn& hash,
                const std::string& host, std::size_t batch) {
    PushResult res;
    std::vector<Event> events;
    std::vector<Recording> recordings;
    std::vector<KeptFile> kept;
    for (StoreStatus s :
         {local.Events(events), local.Recordings(recordings), local.KeptFiles(kept)})
        if (s != StoreStatus::kOk) {
            res.status = s;
            res.problem = local.LastError();
            return res;
        }
    res.chain = ChainName(events);
    std::vector<EventOrigin> pushed;
    if (!res.chain.empty() && (res.status = site.Origins(pushed, res.chain)) != StoreStatus::kOk) {
        res.problem = site.LastError();
        return res;
    }
    PushPlan plan = PlanPush(hash, events, recordings, kept, pushed, host);
    res.already = plan.already;
    if (!plan.problem.empty()) {
        res.status = StoreStatus::kFailed;
        res.problem = plan.problem;
        return res;
    }
    const IArchiveStore::Sealer seal = [&hash](const Event* last, Event& e) {
        SealEvent(hash, last, e);
    };
    batch = std::max<std::size_t>(batch, 1);
    for (std::size_t at = 0; at < plan.entries.size(); at += batch) {
        const auto from = plan.entries.begin() + static_cast<std::ptrdiff_t>(at);
        std::vector<SpooledEntry> part(
            from, from + static_cast<std::ptrdiff_t>(std::min(batch, plan.entries.size() - at)));
        res.status = site.WriteOnce(part, seal);
        if (res.status != StoreStatus::kOk) {
            res.problem = site.LastError();
            return res;
        }
        res.sent += part.size();
        res.recordings += static_cast<std::size_t>(std::count_if(
            part.begin(), part.end(), [](const SpooledEntry& s) { return s.entry.recording; }));
    }
    return res;
}

std::vector<OriginCheck> CheckOrigins(const Sha256Fn& hash, const std::vector<Event>& site,
                                      const std::vector<EventOrigin>& origins) {
    std::map<int64_t, const Event*> bySeq;
    for (const Event& e : site)
        bySeq.emplace(e.seq, &e);
    std::map<std::string, std::vector<const EventOrigin*>> chains;
    for (const EventOrigin& o : origins)
        chains[o.archive].push_back(&o);
    std::vector<OriginCheck> out;
    for (auto& [name, rows] : chains) {
        std::stable_sort(rows.begin(), rows.end(), [](const EventOrigin* a, const EventOrigin* b) {
            return a->seq < b->seq;
        });
        OriginCheck c{name, rows.front()->host, rows.size(), std::nullopt};
        std::string prev = kGenesisHash;
        int64_t expected = 1;
        for (const EventOrigin* o : rows) {
            const auto found = bySeq.find(o->siteSeq);
            if (o->seq != expected) {
                c.broken = ChainBreak{expected, o->seq > expected ? "removed" : "inserted"};
            } else if (found == bySeq.end()) {
                c.broken = ChainBreak{o->seq, "removed"};
            } else {
                Event e = *found->second;
                e.seq = o->seq;
                e.recordingId = o->recordingId;
                // Its link, its own hash over the site's text, and the chain's name.
                if (o->prevHash != prev || EventHash(hash, o->prevHash, e) != o->hash ||
                    (o->seq == 1 && o->hash != name))
                    c.broken = ChainBreak{o->seq, "changed"};
            }
            if (c.broken)
                break;
            prev = o->hash;
            expected = o->seq + 1;
        }
        out.push_back(std::move(c));
    }
    return out;
}

} // namespace saroko::archive
