// A local archive pushed to a site archive, without a server: what goes, in which order, what
// is there already, a push cut off and made again, and each pushed chain checked at the site.
#include <gtest/gtest.h>

#include "core/archive/ArchivePush.h"
#include "core/archive/ArchiveSession.h"
#include "core/archive/MemorySiteStore.h"

namespace saroko::test {
namespace {

using namespace saroko::archive;

Sha256Digest SumHash(std::span<const uint8_t> bytes) {
    Sha256Digest d{};
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    for (int k = 0; k < 8; ++k)
        d[k] = static_cast<uint8_t>(h >> (8 * k));
    return d;
}

Recording Rec(const std::string& name) {
    Recording r;
    r.sha256 = Sha256Hex(&SumHash, name);
    r.size = name.size();
    r.path = "/kept/" + name;
    r.source = "download";
    r.channels.push_back({1, "室温", 1204708020, "2008/ 3/ 5(Wed) 9: 7' 0", 60, 1440});
    return r;
}

struct PushRig {
    PushRig() : session(&local, &SumHash, Context("lab")) {}
    static SessionContext Context(const std::string& user) {
        SessionContext c;
        c.user = user;
        c.host = "room-1";
        c.nowUtc = [] { return int64_t{1796630400}; };
        return c;
    }
    // `n` events made locally about two recordings, the first kept (b's first brings two).
    void Add(int n) {
        for (int i = 0; i < n; ++i, ++made)
            if (made == 0)
                session.Keep(Rec("a"), "downloaded", KeptFile{0, 0, "/kept/a", "", "", "t"});
            else
                session.Record(EventKind::Opened, Rec(made % 2 ? "b" : "a"), std::to_string(made));
    }
    PushResult Push(std::size_t batch = 500) {
        return archive::Push(local, site, &SumHash, "room-1", batch);
    }
    std::vector<OriginCheck> Check() {
        return CheckOrigins(&SumHash, site.memory.events, site.origins);
    }
    CMemoryArchiveStore local;
    CMemorySiteStore site;
    CArchiveSession session;
    int made = 0;
};

TEST(ArchivePushTest, OnlyWhatTheSiteLacksGoesAndEachChainHoldsThere) {
    PushRig rig;
    // The site has its own events first: pushed ones are sealed after them.
    CArchiveSession other(&rig.site, &SumHash, PushRig::Context("office"));
    other.Record(EventKind::Opened, Rec("b"));
    rig.Add(4); // created a, opened b (created b first), opened a
    ASSERT_EQ(rig.local.events.size(), 5u);
    PushResult r = rig.Push(2);
    ASSERT_EQ(r.status, StoreStatus::kOk) << r.problem;
    EXPECT_EQ(r.chain, rig.local.events.front().hash);
    EXPECT_EQ(r.sent, 5u);
    EXPECT_EQ(r.already, 0u);
    EXPECT_EQ(rig.site.memory.events.size(), 7u);
    EXPECT_EQ(rig.site.memory.recordings.size(), 2u); // b was there, a came along once
    ASSERT_EQ(rig.site.memory.kept.size(), 1u);
    EXPECT_EQ(rig.site.memory.kept[0].path, "/kept/a");
    EXPECT_EQ(rig.site.memory.kept[0].recordingId, 2); // the site's number of a
    EXPECT_FALSE(CheckChain(&SumHash, rig.site.memory.events));
    // A site event is the local one's text under the site's numbers.
    const Event& pushed = rig.site.memory.events[2];
    EXPECT_EQ(pushed.user, "lab");
    EXPECT_EQ(pushed.seq, 3);
    EXPECT_EQ(rig.site.origins[0].siteSeq, 3);
    EXPECT_EQ(rig.site.origins[0].host, "room-1");
    std::vector<OriginCheck> checks = rig.Check();
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].events, 5u);
    EXPECT_FALSE(checks[0].broken);

    r = rig.Push(); // twice: nothing more
    EXPECT_EQ(r.sent, 0u);
    EXPECT_EQ(r.already, 5u);
    EXPECT_EQ(rig.site.memory.events.size(), 7u);
    rig.Add(3); // then only the new ones
    r = rig.Push();
    EXPECT_EQ(r.sent, 3u);
    EXPECT_EQ(r.already, 5u);
    EXPECT_EQ(rig.site.memory.recordings.size(), 2u);
    EXPECT_EQ(rig.Check()[0].events, 8u);
    EXPECT_FALSE(rig.Check()[0].broken);
    EXPECT_FALSE(CheckChain(&SumHash, rig.site.memory.events));
}

TEST(ArchivePushTest, APushCutOffAndMadeAgainNeitherLosesNorDoubles) {
    PushRig rig;
    rig.Add(6);              // seven events
    rig.site.writesLeft = 2; // two batches of three go, the third is cut off
    PushResult r = rig.Push(3);
    EXPECT_EQ(r.status, StoreStatus::kFailed);
    EXPECT_EQ(r.sent, 6u);
    EXPECT_EQ(rig.site.memory.events.size(), 6u);
    rig.site.writesLeft.reset();
    // A send whose commit the program never heard of is written again: its ids are skipped.
    std::vector<SpooledEntry> again =
        PlanPush(&SumHash, rig.local.events, rig.local.recordings, rig.local.kept, {}, "room-1")
            .entries;
    rig.site.WriteOnce(again, [](const Event* last, Event& e) { SealEvent(&SumHash, last, e); });
    EXPECT_EQ(rig.site.memory.events.size(), 7u);
    r = rig.Push(3);
    EXPECT_EQ(r.status, StoreStatus::kOk);
    EXPECT_EQ(r.sent, 0u);
    EXPECT_EQ(rig.site.memory.events.size(), 7u);
    EXPECT_EQ(rig.Check()[0].events, 7u);
    EXPECT_FALSE(rig.Check()[0].broken);
}

// What the site holds of a chain decides whether a push may go on from there.
TEST(ArchivePushTest, APushThatWouldNotContinueTheChainSendsNothing) {
    struct Row {
        const char* name;
        std::function<void(PushRig&)> spoil;
        const char* problem;
    };
    const Row rows[] = {
        {"the local chain broken", [](PushRig& r) { r.local.events[3].reason = "x"; },
         "chain is broken at event 4 (changed)"},
        {"the site holds more of it", [](PushRig& r) { r.local.events.pop_back(); },
         "which has only 4"},
        {"another continuation",
         [](PushRig& r) {
             r.local.events.resize(4);
             r.local.events.back().detail = "other";
             SealEvent(&SumHash, &r.local.events[2], r.local.events.back());
             r.Add(1);
         },
         "event 5 is not the one pushed before"},
        {"a gap in the site's copy",
         [](PushRig& r) { r.site.origins.erase(r.site.origins.begin() + 1); }, "broken at event 2"},
    };
    for (const Row& row : rows) {
        PushRig rig;
        rig.Add(4);
        ASSERT_EQ(rig.Push().sent, 5u);
        row.spoil(rig);
        const std::size_t before = rig.site.memory.events.size();
        const PushResult r = rig.Push();
        EXPECT_EQ(r.status, StoreStatus::kFailed) << row.name;
        EXPECT_NE(r.problem.find(row.problem), std::string::npos) << row.name << ": " << r.problem;
        EXPECT_EQ(rig.site.memory.events.size(), before) << row.name;
    }
    PushRig empty; // nothing to push is no failure
    EXPECT_EQ(empty.Push().status, StoreStatus::kOk);
    EXPECT_TRUE(empty.site.memory.events.empty());
}

// Each change to a pushed event or its origin is found where it happened in its own chain.
TEST(ArchivePushTest, TamperingWithAPushedChainIsFoundAtItsEvent) {
    struct Row {
        const char* name;
        std::function<void(PushRig&)> spoil;
        ChainBreak expected;
    };
    const Row rows[] = {
        {"site event's text",
         [](PushRig& r) { r.site.memory.events[2].newValue = "x"; },
         {3, "changed"}},
        {"its recording number",
         [](PushRig& r) { r.site.origins[1].recordingId = 9; },
         {2, "changed"}},
        {"a link",
         [](PushRig& r) { r.site.origins[3].prevHash = r.site.origins[1].hash; },
         {4, "changed"}},
        {"the chain's name",
         [](PushRig& r) {
             for (EventOrigin& o : r.site.origins)
                 o.archive = "forged";
         },
         {1, "changed"}},
        {"an origin removed",
         [](PushRig& r) { r.site.origins.erase(r.site.origins.begin() + 2); },
         {3, "removed"}},
        {"its site event removed",
         [](PushRig& r) { r.site.memory.events.pop_back(); },
         {5, "removed"}},
    };
    for (const Row& row : rows) {
        PushRig rig;
        rig.Add(4);
        ASSERT_EQ(rig.Push().sent, 5u);
        ASSERT_FALSE(rig.Check()[0].broken);
        row.spoil(rig);
        const std::vector<OriginCheck> c = rig.Check();
        ASSERT_EQ(c.size(), 1u);
        ASSERT_TRUE(c[0].broken) << row.name;
        EXPECT_EQ(c[0].broken->seq, row.expected.seq) << row.name;
        EXPECT_EQ(c[0].broken->what, row.expected.what) << row.name;
    }
}

} // namespace
} // namespace saroko::test
