// A site archive's rules without a server: which locations name one, how a password in a
// location is hidden, the spool's lines read back as written, and what waits when the server
// is away: on disk, sent in order, tried again after the pause.
#include <gtest/gtest.h>

#include "core/archive/ArchivePlace.h"
#include "core/archive/ArchiveSession.h"
#include "core/archive/ArchiveSpool.h"
#include "core/archive/MemorySiteStore.h"
#include "support/FakeHash.h"

namespace saroko::test {
namespace {

using namespace saroko::archive;

TEST(SiteLocationTest, ConnectionStringsAreSitesAndPathsAreFiles) {
    for (const auto& [location, site] : std::initializer_list<std::pair<const char*, bool>>{
             {"postgresql://db.example/saroko", true},
             {"POSTGRES://db", true},
             {"postgresql:/db", false},
             {"postgresq://db", false},
             {"host=db dbname=saroko", true},
             {"  dbname = saroko", true},
             {"service=saroko", true},
             {"hosts=db", false}, // not one of libpq's words
             {"archive=1.sqlite", false},
             {"/srv/a=b/archive.sqlite", false},
             {"archive.sqlite", false},
             {"", false},
         })
        EXPECT_EQ(IsSiteLocation(location), site) << location;
}

TEST(SiteLocationTest, APasswordInTheLocationIsNeverShown) {
    for (const auto& [location, shown] : std::initializer_list<std::pair<const char*, const char*>>{
             {"postgresql://u:secret@db/saroko", "postgresql://u:***@db/saroko"},
             {"postgresql://u@db/s?password=pw&sslmode=verify-full",
              "postgresql://u@db/s?password=***&sslmode=verify-full"},
             {"postgresql://u@db:5432/s", "postgresql://u@db:5432/s"},
             {"host=db password=s3 user=u", "host=db password=*** user=u"},
             {"password = 'a b\\' c' host=db", "password = *** host=db"},
             {"host=db passwords=x", "host=db passwords=x"},
             {"/home/u:secret@x/archive.sqlite", "/home/u:secret@x/archive.sqlite"},
         })
        EXPECT_EQ(ShownLocation(location), shown) << location;
}

// The mount that holds a path is the longest one containing it, whole folder names only, the
// last of two on one point; a local archive there is said to be at risk when it is another
// machine's disk.
TEST(ArchivePlaceTest, TheFileSystemOfAPathAndWhetherItIsOnTheNetwork) {
    const std::string mounts = "overlay / overlay rw 0 0\n"
                               "server:/export /mnt/lab nfs4 rw 0 0\n"
                               "//nas/share /mnt/lab\\040b cifs rw 0 0\n"
                               "u@host:/d /home/u/remote fuse.sshfs rw 0 0\n"
                               "tmpfs /home/u/remote tmpfs rw 0 0\n"
                               "garbage\n";
    for (const auto& [path, type] : std::initializer_list<std::pair<const char*, const char*>>{
             {"/mnt/lab/archive.sqlite", "nfs4"},
             {"/mnt/lab", "nfs4"},
             {"/mnt/lab b/archive.sqlite", "cifs"},
             {"/mnt/labx/archive.sqlite", "overlay"},
             {"/home/u/remote/a", "tmpfs"},
             {"/home/u/remote2", "overlay"},
             {"relative", ""},
         })
        EXPECT_EQ(FileSystemAt(mounts, path), type) << path;
    for (const auto& [type, network] :
         std::initializer_list<std::pair<const char*, bool>>{{"nfs", true},
                                                             {"nfs4", true},
                                                             {"cifs", true},
                                                             {"smb3", true},
                                                             {"fuse.sshfs", true},
                                                             {"ext4", false},
                                                             {"tmpfs", false},
                                                             {"fuse", false},
                                                             {"nfsd", false},
                                                             {"", false}})
        EXPECT_EQ(IsNetworkFileSystem(type), network) << type;
    const std::string m = NetworkArchiveMessage("/mnt/lab/archive.sqlite", "nfs4");
    EXPECT_NE(m.find("/mnt/lab/archive.sqlite"), std::string::npos);
    EXPECT_NE(m.find("（nfs4）"), std::string::npos);
    EXPECT_NE(m.find("PostgreSQL"), std::string::npos);
}

SpooledEntry Entry(const std::string& id, const std::string& detail, bool withRecording) {
    SpooledEntry s;
    s.id = id;
    Event& e = s.entry.event;
    e.timeUtc = "2026-12-08T01:02:03Z";
    e.offsetMinutes = -210;
    e.user = "lab\tuser";
    e.host = "host\\b";
    e.version = "1.22";
    e.kind = EventKind::Changed;
    e.detail = detail;
    e.recordingSha256 = "ab" + id;
    e.oldValue = "a\nb\r";
    e.newValue = "冷蔵庫";
    if (withRecording) {
        Recording r;
        r.sha256 = "ab" + id;
        r.size = 4096;
        r.path = "/kept/a b.klg";
        r.source = "download";
        r.firstSeen = e.timeUtc;
        r.recorder = "KM-41";
        r.identity = "0414";
        r.transcriptPath = "/kept/a b.exchange.txt";
        r.channels = {{1, "室温", 1204708020, "2008/ 3/ 5(Wed) 9: 7' 0", 60, 1440},
                      {2, "", -5, "", 4294967295u, 0}};
        s.entry.recording = r;
        KeptFile k;
        k.path = r.path;
        k.keptAt = e.timeUtc;
        s.entry.kept = k;
    }
    return s;
}

void ExpectSame(const SpooledEntry& a, const SpooledEntry& b) {
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(CanonicalText(a.entry.event), CanonicalText(b.entry.event));
    ASSERT_EQ(a.entry.recording.has_value(), b.entry.recording.has_value());
    if (a.entry.recording) {
        const Recording &x = *a.entry.recording, &y = *b.entry.recording;
        EXPECT_EQ(std::tie(x.sha256, x.size, x.path, x.source, x.firstSeen, x.recorder, x.identity,
                           x.utcOffsetMinutes, x.transcriptPath, x.transcriptSha256),
                  std::tie(y.sha256, y.size, y.path, y.source, y.firstSeen, y.recorder, y.identity,
                           y.utcOffsetMinutes, y.transcriptPath, y.transcriptSha256));
        EXPECT_EQ(x.channels, y.channels);
    }
    ASSERT_EQ(a.entry.kept.has_value(), b.entry.kept.has_value());
    if (a.entry.kept) {
        EXPECT_EQ(a.entry.kept->path + a.entry.kept->keptAt,
                  b.entry.kept->path + b.entry.kept->keptAt);
    }
}

TEST(SpoolTest, LinesReadBackAsWrittenAndACutLineIsSkipped) {
    SpooledEntry withOffset = Entry("1", "name\\n", true);
    withOffset.entry.recording->utcOffsetMinutes = 0;
    const SpooledEntry entries[] = {withOffset, Entry("2", "", false), Entry("3", "x", true)};
    std::string text;
    for (const SpooledEntry& e : entries)
        text += SpoolLine(e);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3); // one line each, escapes and all
    std::vector<SpooledEntry> back = ParseSpool(text);
    ASSERT_EQ(back.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        ExpectSame(back[i], entries[i]);
    EXPECT_EQ(back[0].entry.recording->utcOffsetMinutes, 0);
    EXPECT_FALSE(back[2].entry.recording->utcOffsetMinutes);
    // Cut anywhere inside its last line, a spool still gives the whole lines before it.
    const std::size_t lastStart = text.size() - SpoolLine(entries[2]).size();
    for (std::size_t cut = lastStart; cut < text.size(); cut += 7)
        EXPECT_EQ(ParseSpool(text.substr(0, cut)).size(), 2u) << cut;
    EXPECT_EQ(ParseSpool(text.substr(0, text.size() - 1)).size(), 2u);
    // A damaged line is skipped, the lines after it are not.
    std::string damaged = text;
    damaged.replace(damaged.find("changed"), 7, "chanted");
    EXPECT_EQ(ParseSpool(damaged).size(), 2u);
    std::string extra = text;
    extra.insert(SpoolLine(entries[0]).size() - 1, "\tmore");
    back = ParseSpool(extra);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].id, "2");
}

struct SpoolRig {
    SpoolRig() {
        auto s = std::make_unique<CMemorySiteStore>();
        site = s.get();
        store = std::make_unique<CSpooledArchiveStore>(
            std::move(s), std::make_unique<CMemorySpool>(&text, &full), &FakeHash,
            [this] { return "id" + std::to_string(++ids); }, [this] { return now; });
        session = std::make_unique<CArchiveSession>(store.get(), &FakeHash,
                                                    BenchContext([] { return int64_t{0}; }));
        store->OnSiteFailure([this](StoreStatus st) {
            ++failures;
            session->NoteFailure(st);
        });
    }
    void Event(const std::string& detail) {
        session->RecordAbout(EventKind::Exported, "ab", detail);
    }
    std::vector<std::string> Details() {
        std::vector<std::string> out;
        for (const archive::Event& e : site->memory.events)
            out.push_back(e.detail);
        return out;
    }
    std::string text;
    bool full = false;
    int ids = 0;
    int64_t now = 0;
    int failures = 0;
    CMemorySiteStore* site;
    std::unique_ptr<CSpooledArchiveStore> store;
    std::unique_ptr<CArchiveSession> session;
};

TEST(SpoolTest, WhatWaitsGoesInOrderOnceTheServerAnswersAfterThePause) {
    SpoolRig rig;
    rig.Event("0");
    EXPECT_EQ(rig.store->Waiting(), 0u);
    rig.site->down = true;
    rig.Event("1");
    rig.now = CSpooledArchiveStore::kRetrySeconds - 1;
    rig.Event("2"); // inside the pause: not tried
    EXPECT_EQ(rig.site->sends, 2);
    rig.now = CSpooledArchiveStore::kRetrySeconds;
    rig.Event("3"); // the pause over: tried, still away
    EXPECT_EQ(rig.site->sends, 3);
    EXPECT_EQ(rig.store->Waiting(), 3u);
    EXPECT_EQ(rig.session->Waiting(), 0u); // on disk, not in memory
    EXPECT_EQ(rig.failures, 1);            // one message for the run
    EXPECT_NE(rig.session->TakeMessage().find("site: no connection"), std::string::npos);
    rig.site->down = false;
    EXPECT_EQ(rig.store->Send(), StoreStatus::kOk);
    EXPECT_EQ(rig.store->Waiting(), 0u);
    EXPECT_EQ(rig.text, "");
    EXPECT_EQ(rig.Details(), (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_FALSE(CheckChain(&FakeHash, rig.site->memory.events));
    // Sent again (a send that was cut off after the server took it): nothing twice.
    rig.text = SpoolLine(SpooledEntry{"id2", {}, std::nullopt}) + SpoolLine(Entry("9", "9", false));
    rig.store->Send();
    EXPECT_EQ(rig.Details(), (std::vector<std::string>{"0", "1", "2", "3", "9"}));
}

// Files opened while the server was away: each recording created once on the server, not
// again for every open nor when the server held it already; a kept copy is still recorded.
TEST(SpoolTest, AFileOpenedWhileTheServerWasAwayIsCreatedOnce) {
    SpoolRig rig;
    Recording known, fresh;
    known.sha256 = "known";
    fresh.sha256 = "fresh";
    rig.session->Record(EventKind::Opened, known);
    rig.site->down = true;
    for (const Recording* r : {&known, &fresh, &known, &fresh})
        rig.session->Record(EventKind::Opened, *r);
    rig.session->Keep(known, "imported", KeptFile{0, 0, "/kept/k", "", "", ""});
    // What waits, as the lists show it: as it will go, each new recording once; with the server
    // away none is known to be held, with its list "known" is.
    const auto waits = [&](const std::string& sha256, bool listed) {
        const WaitingWork w = WhatWaits(
            *rig.store, sha256, [listed](const std::string& h) { return listed && h == "known"; });
        std::string out;
        for (const archive::Event& e : w.events)
            out += std::string(EventKindName(e.kind)).substr(0, 1);
        for (const Recording& r : w.recordings)
            out += " " + r.sha256;
        return out;
    };
    EXPECT_EQ(waits({}, false), "cocoooc known fresh");
    EXPECT_EQ(waits({}, true), "ocoooc fresh");
    EXPECT_EQ(waits("fresh", true), "coo fresh");
    EXPECT_EQ(waits("known", false), "cooc known");
    EXPECT_TRUE(WhatWaits(rig.site->memory).events.empty()); // a store with no spool
    rig.site->down = false;
    EXPECT_EQ(rig.store->Send(), StoreStatus::kOk);
    std::string trail;
    for (const archive::Event& e : rig.site->memory.events)
        trail += std::string(EventKindName(e.kind)) + " " + e.recordingSha256 + ",";
    EXPECT_EQ(trail, "created known,opened known,opened known,created fresh,opened fresh,"
                     "opened known,opened fresh,created known,");
    EXPECT_EQ(rig.site->memory.kept.size(), 1u);
}

TEST(SpoolTest, ASpoolThatCannotBeWrittenLeavesTheEventsInMemory) {
    SpoolRig rig;
    rig.full = true;
    rig.Event("0");
    EXPECT_EQ(rig.session->Waiting(), 1u);
    EXPECT_FALSE(rig.session->TakeMessage().empty());
    rig.full = false;
    EXPECT_TRUE(rig.session->Flush());
    EXPECT_EQ(rig.Details(), (std::vector<std::string>{"0"}));
    // A crash that cut the spool's last line leaves it alone on its line: what follows counts.
    rig.site->down = true;
    rig.Event("1");
    rig.text.resize(rig.text.size() - 10);
    rig.now = CSpooledArchiveStore::kRetrySeconds;
    rig.Event("2");
    rig.site->down = false;
    rig.store->Send();
    EXPECT_EQ(rig.Details(), (std::vector<std::string>{"0", "2"}));
}

} // namespace
} // namespace saroko::test
