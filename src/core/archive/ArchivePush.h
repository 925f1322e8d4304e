#pragma once
// A local archive pushed to a site archive. Each local event goes to the site as a site event
// of the same text (its own number and its recording's number aside), sealed into the site's
// chain, with its origin beside it: the local chain's name, its number there, its recording's
// number there and its own two hashes. So the site chain holds, and each local chain stays
// verifiable at the site. An event is written under an id made of its chain's name and its
// number: pushed twice, or again after a push cut off half way, it lands once.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/archive/ArchiveSpool.h"

namespace saroko::archive {

// The name of a local chain: the hash of its first event ("" for an empty chain). A new or
// repaired archive starts a new chain and so has a name of its own.
std::string ChainName(const std::vector<Event>& events);
// The id a pushed event is written under at the site.
std::string PushedEventId(const std::string& chain, int64_t seq);

// What a push sends: the local events the site does not hold yet, in their order, each with
// its origin, the recording it is about the first time the push names it, and the kept file
// its "created" event names.
struct PushPlan {
    std::string chain;
    std::vector<SpooledEntry> entries;
    std::size_t already = 0; // local events the site holds already
    std::string problem;     // why nothing is pushed; "" when the plan may go
};
// `pushed`: the origins the site holds of this chain, in their order.
PushPlan PlanPush(const Sha256Fn& hash, const std::vector<Event>& local,
                  const std::vector<Recording>& recordings, const std::vector<KeptFile>& kept,
                  const std::vector<EventOrigin>& pushed, const std::string& host);

struct PushResult {
    StoreStatus status = StoreStatus::kOk;
    std::string chain;
    std::size_t sent = 0;
    std::size_t already = 0;
    std::size_t recordings = 0; // recordings the pushed events brought along
    std::string problem;        // the plan's refusal, or the store's failure
};
// Reads the local archive and what the site holds of it, then writes the plan in batches of
// `batch` events, each one transaction of the site: a failure leaves what was written whole,
// and the next push goes on from there.
PushResult Push(IArchiveStore& local, ISiteStore& site, const Sha256Fn& hash,
                const std::string& host, std::size_t batch = 500);

// The check of one pushed chain at the site.
struct OriginCheck {
    std::string chain;
    std::string host;
    std::size_t events = 0;
    std::optional<ChainBreak> broken; // seq: the event's number in its own chain
};
// Each pushed chain rebuilt from the site's events and its origins: numbered 1, 2, ... without
// a gap, each link its predecessor's hash, each hash over the site event's text with its own
// numbers, and the chain's name the hash of its first event.
std::vector<OriginCheck> CheckOrigins(const Sha256Fn& hash, const std::vector<Event>& site,
                                      const std::vector<EventOrigin>& origins);

} // namespace saroko::archive
