// A local archive pushed to a site archive, without a server: what goes, in which order, what
// is there already, a push cut off and made again, and each pushed chain checked at the site.
#include <gtest/gtest.h>

#include "core/archive/ArchivePush.h"
#include "core/archive/ArchiveSession.h"
#include "core/archive/MemorySiteStore.h"
#include "support/FakeHash.h"

namespace saroko::test {
namespace {

using namespace saroko::archive;

Recording Rec(const std::string& name) {
    Recording r;
    r.sha256 = Sha256Hex(&FakeHash, name);
    return r;
}

struct PushRig {
    PushRig() : session(&local, &FakeHash, Context("lab")) {}
    static SessionContext Context(const std::string& user) {
        return BenchContext({}, user, "room-1");
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
        return archive::Push(local, site, &FakeHash, "room-1", batch);
    }
    std::vector<OriginCheck> Check() {
        return CheckOrigins(&FakeHash, site.memory.events, site.origins);
    }
    CMemoryArchiveStore local;
    CMemorySiteStore site;
    CArchiveSession session;
    int made = 0;
};

// What went and what was there: "sent/already, site events, site recordings, pushed chain".
std::string Counts(PushRig& rig, const PushResult& r) {
    const std::vector<OriginCheck> c = rig.Check();
    return std::to_string(r.sent) + "/" + std::to_string(r.already) + " " +
           std::to_string(rig.site.memory.events.size()) + " " +
           std::to_string(rig.site.memory.recordings.size()) + " " +
           (c.size() == 1 && !c[0].broken ? std::to_string(c[0].events) : "broken");
}

TEST(ArchivePushTest, OnlyWhatTheSiteLacksGoesAndEachChainHoldsThere) {
    PushRig rig;
    // The site has its own events first (b created, opened): pushed ones are sealed after them.
    CArchiveSession(&rig.site, &FakeHash, PushRig::Context("office"))
        .Record(EventKind::Opened, Rec("b"));
    rig.Add(4); // created a, created b, opened b, opened a, opened b
    EXPECT_EQ(Counts(rig, rig.Push(2)), "5/0 7 2 5"); // a came along once, b was there
    ASSERT_EQ(rig.site.memory.kept.size(), 1u);
    EXPECT_EQ(rig.site.memory.kept[0].recordingId, 2); // the site's number of a
    // A site event is the local one's text under the site's numbers.
    EXPECT_EQ(rig.site.memory.events[2].user + " " + std::to_string(rig.site.origins[0].siteSeq),
              "lab 3");
    EXPECT_EQ(Counts(rig, rig.Push()), "0/5 7 2 5"); // twice: nothing more
    rig.Add(3);                                      // then only the new ones
    EXPECT_EQ(Counts(rig, rig.Push()), "3/5 10 2 8");
    EXPECT_FALSE(CheckChain(&FakeHash, rig.site.memory.events));
}

TEST(ArchivePushTest, APushCutOffAndMadeAgainNeitherLosesNorDoubles) {
    PushRig rig;
    rig.Add(6);              // seven events
    rig.site.writesLeft = 2; // two batches of three go, the third is cut off
    PushResult r = rig.Push(3);
    EXPECT_EQ(r.status, StoreStatus::kFailed);
    EXPECT_EQ(Counts(rig, r), "6/0 6 2 6");
    rig.site.writesLeft.reset();
    // A send whose commit the program never heard of is written again: its ids are skipped.
    std::vector<SpooledEntry> again =
        PlanPush(&FakeHash, rig.local.events, rig.local.recordings, rig.local.kept, {}, "room-1")
            .entries;
    rig.site.WriteOnce(again, [](const Event* last, Event& e) { SealEvent(&FakeHash, last, e); });
    EXPECT_EQ(Counts(rig, rig.Push(3)), "0/7 7 2 7");
}

// Each spoiling of a chain, here or at the site, is found: the check names the event where it
// happened in its own chain, a push that would not continue the chain sends nothing.
TEST(ArchivePushTest, ASpoiledChainIsFoundAndAPushThatWouldNotContinueItSendsNothing) {
    using Spoil = std::function<void(PushRig&)>;
    const std::pair<Spoil, const char*> rows[] = {
        {[](PushRig& r) { r.local.events[3].reason = "x"; },
         "holds; push: this archive's chain is broken at event 4 (changed)"},
        {[](PushRig& r) { r.local.events.pop_back(); }, "holds; push: the site holds 5 events"},
        {[](PushRig& r) {
             r.local.events.resize(4);
             r.local.events.back().detail = "other";
             SealEvent(&FakeHash, &r.local.events[2], r.local.events.back());
             r.Add(1);
         },
         "holds; push: this archive's event 5 is not the one pushed before"},
        {[](PushRig& r) { r.site.origins.erase(r.site.origins.begin() + 1); },
         "2 removed; push: the site's copy of this archive is broken at event 2"},
        {[](PushRig& r) { r.site.memory.events[2].newValue = "x"; }, "3 changed; push: ok"},
        {[](PushRig& r) { r.site.origins[1].recordingId = 9; }, "2 changed; push: ok"},
        {[](PushRig& r) { r.site.origins[3].prevHash = r.site.origins[1].hash; }, "4 changed"},
        {[](PushRig& r) {
             for (EventOrigin& o : r.site.origins)
                 o.archive = "forged";
         },
         "1 changed; push: ok"},
        {[](PushRig& r) { r.site.memory.events.pop_back(); }, "5 removed; push: ok"},
    };
    for (const auto& [spoil, expected] : rows) {
        PushRig rig;
        rig.Add(4);
        ASSERT_EQ(rig.Push().sent, 5u);
        spoil(rig);
        const std::size_t before = rig.site.memory.events.size();
        const PushResult r = rig.Push();
        const std::vector<OriginCheck> c = rig.Check();
        ASSERT_EQ(c.size(), 1u);
        const std::string found =
            (c[0].broken ? std::to_string(c[0].broken->seq) + " " + c[0].broken->what : "holds") +
            "; push: " + (r.status == StoreStatus::kOk ? "ok" : r.problem);
        EXPECT_NE(found.find(expected), std::string::npos) << found;
        EXPECT_EQ(rig.site.memory.events.size(), before) << found;
    }
}

} // namespace
} // namespace saroko::test
