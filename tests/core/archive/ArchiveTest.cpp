// The archive's rules against the in-memory store: what a chain break looks like for each way
// an audit trail can be tampered with, kept files that changed or went, and a run that goes on
// while the store cannot be written.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>

#include "core/TestSupport.h"
#include "core/archive/ArchiveSession.h"
#include "core/archive/DocumentArchive.h"
#include "core/archive/MemoryArchiveStore.h"
#include "core/archive/ReportProof.h"
#include "core/report/ReportFigures.h"
#include "core/text/TimeUtil.h"
#include "support/FakeHash.h"

namespace saroko::test {
namespace {

using namespace saroko::archive;

Recording Rec(const std::string& name, const std::string& source = "file") {
    Recording r;
    r.sha256 = Sha256Hex(&FakeHash, name);
    r.path = "/kept/" + name;
    r.source = source;
    r.size = name.size();
    return r;
}

class ArchiveTest : public DocTest {
protected:
    // Five events about two recordings: created, opened, changed, created, exported.
    std::vector<Event> FiveEvents() {
        CArchiveSession s(&mem, &FakeHash, context);
        s.Record(EventKind::Created, Rec("a", "download"), "downloaded");
        s.Record(EventKind::Opened, Rec("a", "download"));
        s.RecordAbout(EventKind::Changed, Rec("a").sha256, "name", "OVEN", "DUCT", "typo");
        s.Record(EventKind::Created, Rec("b", "download"), "downloaded");
        s.RecordAbout(EventKind::Exported, Rec("b").sha256, {}, {}, "/out/b.txt");
        EXPECT_EQ(mem.events.size(), 5u);
        return mem.events;
    }
    // Seals `e` anew as if it followed `prev`, as a forger who knows the rules would.
    static void Reseal(Event& e, const Event* prev) {
        e.prevHash = prev ? prev->hash : kGenesisHash;
        e.hash = EventHash(&FakeHash, e.prevHash, e);
    }

    CMemoryArchiveStore mem;
    int64_t now = 1796630400; // 2026-12-07T08:00:00Z
    SessionContext context = BenchContext([this] { return now; });
};

TEST_F(ArchiveTest, EachWayOfTamperingIsNamedAtItsEvent) {
    using Tamper = std::function<void(std::vector<Event>&)>;
    struct Row {
        const char* name;
        Tamper tamper;
        std::optional<ChainBreak> found;
    };
    const Row rows[] = {
        {"untouched", [](std::vector<Event>&) {}, std::nullopt},
        {"value changed", [](auto& ev) { ev[2].newValue = "FRIDGE"; }, ChainBreak{3, "changed"}},
        {"reason changed", [](auto& ev) { ev[2].reason = "x"; }, ChainBreak{3, "changed"}},
        {"changed and sealed anew",
         [](auto& ev) {
             ev[2].user = "someone";
             Reseal(ev[2], &ev[1]);
         },
         ChainBreak{3, "changed"}},
        {"removed, numbers kept", [](auto& ev) { ev.erase(ev.begin() + 2); },
         ChainBreak{3, "removed"}},
        {"removed, renumbered",
         [](auto& ev) {
             ev.erase(ev.begin() + 1, ev.begin() + 3);
             for (std::size_t i = 1; i < ev.size(); ++i)
                 ev[i].seq = static_cast<int64_t>(i) + 1;
         },
         ChainBreak{2, "removed"}},
        {"inserted and sealed, renumbered",
         [](auto& ev) {
             Event forged = ev[1];
             forged.kind = EventKind::Changed;
             forged.seq = 3;
             Reseal(forged, &ev[1]);
             ev.insert(ev.begin() + 2, forged);
             for (std::size_t i = 3; i < ev.size(); ++i)
                 ev[i].seq = static_cast<int64_t>(i) + 1;
         },
         ChainBreak{3, "inserted"}},
        {"inserted at the start",
         [](auto& ev) {
             Event forged = ev[0];
             forged.detail = "imported";
             Reseal(forged, nullptr);
             ev.insert(ev.begin(), forged);
             for (std::size_t i = 0; i < ev.size(); ++i)
                 ev[i].seq = static_cast<int64_t>(i) + 1;
         },
         ChainBreak{1, "inserted"}},
        {"two swapped, renumbered",
         [](auto& ev) {
             std::swap(ev[2], ev[3]);
             ev[2].seq = 3;
             ev[3].seq = 4;
         },
         ChainBreak{3, "reordered"}},
        {"two swapped, numbers kept", [](auto& ev) { std::swap(ev[2], ev[3]); },
         ChainBreak{3, "reordered"}},
        {"hash replaced", [](auto& ev) { ev[4].hash = std::string(64, 'f'); },
         ChainBreak{5, "changed"}},
    };
    const std::vector<Event> events = FiveEvents();
    ASSERT_FALSE(CheckChain(&FakeHash, events));
    for (const Row& row : rows) {
        std::vector<Event> ev = events;
        row.tamper(ev);
        const std::optional<ChainBreak> b = CheckChain(&FakeHash, ev);
        ASSERT_EQ(b.has_value(), row.found.has_value()) << row.name;
        if (b) {
            EXPECT_EQ(b->seq, row.found->seq) << row.name;
            EXPECT_EQ(b->what, row.found->what) << row.name;
        }
    }
}

// The text an event's hash covers, byte for byte as the archive's documentation gives it: in
// every free-text field a backslash, LF and CR are escaped and nothing else is, so no value can
// pass for the fields after it; the offset always carries its sign; no LF after the last line.
TEST_F(ArchiveTest, TheHashedTextEscapesEachFieldAndSignsTheOffset) {
    const std::string raw = "\\\n\r\t=x", escaped = "\\\\\\n\\r\t=x";
    Event e;
    e.seq = 12;
    e.timeUtc = "2026-12-07T08:30:00Z";
    e.offsetMinutes = 540;
    e.user = "u" + raw, e.host = "h" + raw, e.version = "v" + raw, e.detail = "d" + raw;
    e.oldValue = "o" + raw, e.newValue = "n" + raw, e.reason = "r" + raw;
    e.kind = EventKind::Changed;
    e.recordingId = 3;
    e.recordingSha256 = std::string(64, 'a');
    EXPECT_EQ(CanonicalText(e), "saroko-event/1\nseq=12\ntime=2026-12-07T08:30:00Z\noffset=+09:00\n"
                                "user=u" +
                                    escaped + "\nhost=h" + escaped + "\nversion=v" + escaped +
                                    "\nevent=changed\ndetail=d" + escaped +
                                    "\nrecording=3\nsha256=" + std::string(64, 'a') + "\nold=o" +
                                    escaped + "\nnew=n" + escaped + "\nreason=r" + escaped);
    for (const auto& [minutes, text] : std::vector<std::pair<int, std::string>>{{0, "+00:00"},
                                                                                {1, "+00:01"},
                                                                                {-1, "-00:01"},
                                                                                {59, "+00:59"},
                                                                                {-210, "-03:30"},
                                                                                {-600, "-10:00"},
                                                                                {765, "+12:45"}}) {
        e.offsetMinutes = minutes;
        EXPECT_NE(CanonicalText(e).find("\noffset=" + text + "\n"), std::string::npos) << minutes;
    }
}

TEST_F(ArchiveTest, KeptFilesThatChangedOrWentAreNamed) {
    Recording kept = Rec("a", "download");
    kept.id = 1;
    kept.transcriptPath = "/kept/a.exchange.txt";
    kept.transcriptSha256 = Sha256Hex(&FakeHash, "exchange");
    Recording gone = Rec("b", "download");
    gone.id = 2;
    Recording opened = Rec("c"); // a file opened from elsewhere may move on
    opened.id = 3;
    std::map<std::string, std::string> disk = {{"/kept/a", "a"},
                                               {"/kept/a.exchange.txt", "exchangE"}};
    const FileHasher hasher = [&](const std::string& path) -> std::optional<std::string> {
        auto it = disk.find(path);
        if (it == disk.end())
            return std::nullopt;
        return Sha256Hex(&FakeHash, it->second);
    };
    const std::vector<FileProblem> want = {
        {1, kept.transcriptPath, kept.transcriptSha256, Sha256Hex(&FakeHash, "exchangE")},
        {2, gone.path, gone.sha256, ""}};
    EXPECT_EQ(CheckKeptFiles({kept, gone, opened}, {}, hasher), want);
    EXPECT_EQ(RecordingStatus(kept, hasher), "verified");
    EXPECT_EQ(RecordingStatus(gone, hasher), "missing");
    disk["/kept/a"] = "A";
    EXPECT_EQ(RecordingStatus(kept, hasher), "changed");
    // Without hashing, a file of the archived size is only "unverified".
    const std::pair<std::optional<uint64_t>, const char*> sizes[] = {{std::nullopt, "missing"},
                                                                     {kept.size, "unverified"},
                                                                     {kept.size - 1, "changed"},
                                                                     {kept.size + 1, "changed"}};
    for (const auto& [size, want] : sizes)
        EXPECT_EQ(QuickStatus(kept, size), want) << (size ? *size : -1);
}

// The recordings table is not covered by the chain, so verify trusts the hash that the
// recording's creation event carries.
TEST_F(ArchiveTest, VerifyTrustsTheCreationEventOverTheRecordingsTable) {
    FiveEvents();
    const FileHasher onDisk = [](const std::string& path) -> std::optional<std::string> {
        return Sha256Hex(&FakeHash, path.substr(path.rfind('/') + 1));
    };
    CArchiveSession s(&mem, &FakeHash, context);
    VerifyReport v = s.Verify(onDisk);
    EXPECT_TRUE(v.Holds());
    EXPECT_EQ(v.events, 5u);
    EXPECT_EQ(v.recordings, 2u);

    mem.recordings[1].sha256 = Rec("c").sha256; // pointed at other bytes
    v = s.Verify(onDisk);
    ASSERT_EQ(v.files.size(), 1u);
    EXPECT_EQ(v.files[0].recordingId, 2);
    EXPECT_EQ(v.files[0].expected, Rec("b").sha256);
    EXPECT_EQ(v.files[0].found, Rec("c").sha256);
    EXPECT_FALSE(v.chainBreak);
}

TEST_F(ArchiveTest, EventsWaitWhileTheStoreFailsAndTheMessageComesOnce) {
    CArchiveSession s(&mem, &FakeHash, context);
    s.Record(EventKind::Created, Rec("a", "download"), "downloaded");
    mem.failWith = StoreStatus::kBusy;
    const Recording r = s.Record(EventKind::Opened, Rec("b"));
    EXPECT_EQ(r.id, 0);
    s.RecordAbout(EventKind::Reported, Rec("b").sha256, {}, {}, "r.pdf");
    EXPECT_EQ(s.Waiting(), 3u); // b's creation, its opening, the report
    const std::string m = s.TakeMessage();
    EXPECT_NE(m.find("記録保管庫が他のプログラムに使われています。"), std::string::npos) << m;
    EXPECT_EQ(s.TakeMessage(), "");
    mem.failWith = StoreStatus::kFull;
    EXPECT_FALSE(s.Flush());
    EXPECT_EQ(s.TakeMessage(), ""); // one message a run
    EXPECT_EQ(s.LastStatus(), StoreStatus::kFull);

    mem.failWith = StoreStatus::kOk;
    now += 60;
    EXPECT_TRUE(s.Flush());
    EXPECT_EQ(s.Waiting(), 0u);
    ASSERT_EQ(mem.events.size(), 4u);
    EXPECT_EQ(mem.events[1].kind, EventKind::Created);
    EXPECT_EQ(mem.events[1].detail, "imported");
    EXPECT_EQ(mem.events[2].kind, EventKind::Opened);
    EXPECT_EQ(mem.events[3].recordingId, 2);
    EXPECT_EQ(mem.events[3].timeUtc, "2026-12-07T08:00:00Z"); // when it happened, not written
    EXPECT_FALSE(CheckChain(&FakeHash, mem.events));
    EXPECT_EQ(s.ChainHead(), mem.events[3].hash);

    // Known bytes are not created again.
    s.Record(EventKind::Opened, Rec("b"));
    ASSERT_EQ(mem.events.size(), 5u);
    EXPECT_EQ(mem.recordings.size(), 2u);
    EXPECT_EQ(mem.events[4].offsetMinutes, 540);
    EXPECT_EQ(mem.events[4].user + "@" + mem.events[4].host + " " + mem.events[4].version,
              "lab@bench 1.22");

    CArchiveSession off(nullptr, &FakeHash, context);
    off.Record(EventKind::Opened, Rec("z"));
    EXPECT_EQ(off.Waiting(), 0u);
    EXPECT_EQ(mem.events.size(), 5u);
}

TEST_F(ArchiveTest, AReportsProofNamesTheArchivedSourcesAndTheChainHead) {
    FiveEvents();
    CArchiveSession s(&mem, &FakeHash, context);
    const auto proof = [&](CArchiveSession& session) {
        ReportProvenance p;
        p.sources = {{"a.klg", Rec("a").sha256, {}, {}},
                     {"x.klg", Rec("x").sha256, {}, {}},
                     {"gone.klg", "", {}, {}},
                     {"b.klg", Rec("b").sha256, 7, {}}}; // an id given is kept
        AddArchiveProof(p, session);
        std::string ids;
        for (const ReportSource& src : p.sources)
            ids += (src.archiveId ? std::to_string(*src.archiveId) : "-") + " ";
        return ids + p.chainHead.value_or("none");
    };
    EXPECT_EQ(proof(s), "1 - - 7 " + mem.events.back().hash);
    CArchiveSession off(nullptr, &FakeHash, context);
    EXPECT_EQ(proof(off), "- - - 7 none");

    // The whole proof, built before painting: each source read again, who made it, when and
    // by which version, the models and the UTC offsets of the figures' data.
    ScopedTimeZone zone("Asia/Tokyo");
    Fill(*doc.GetChannel(1), Local(2008, 3, 5, 9, 0, 0), 60, {C(1), C(2)}, "A");
    Fill(*doc.GetChannel(2), Local(2008, 3, 5, 9, 0, 0), 60, {C(1)}, "B");
    Fill(*doc.GetChannel(3), Local(2008, 3, 5, 9, 0, 0), 60, {C(1)}, "C");
    doc.GetChannel(1)->modelCode = 77;
    doc.GetChannel(2)->modelCode = doc.GetChannel(3)->modelCode = kModelKm41;
    doc.RecalcRanges(RecalcMode::NewData);
    const ReportFigures figures = ComputeReportFigures(doc, {});
    const std::vector<ReportSource> sources = {{"a.klg", Rec("a").sha256, {}, {}},
                                               {"x.klg", Rec("x").sha256, {}, {}}};
    const FileHasher rehash = [](const std::string& p) -> std::optional<std::string> {
        return p == "a.klg" ? std::optional(Rec("a").sha256) : std::nullopt;
    };
    const ReportProvenance p = MakeReportProof(sources, figures, 1'200'000'000, "1.22", &s, rehash);
    EXPECT_EQ(std::tuple(p.sources[0].rereadSame, p.sources[1].rereadSame, p.sources[0].archiveId),
              std::tuple(true, false, std::optional<int64_t>(1)));
    EXPECT_EQ(p.chainHead, mem.events.back().hash);
    EXPECT_EQ(std::tuple(p.madeAt, p.madeOffset, p.programVersion, p.user, p.host),
              std::tuple(1'200'000'000u, 32400, std::string("1.22"), std::string("lab"),
                         std::string("bench")));
    EXPECT_EQ(p.recorderModels, (std::vector<uint32_t>{77, kModelKm41}));
    EXPECT_EQ(p.timeOffsets, std::vector<int>{32400});
    EXPECT_EQ(MakeReportProof(sources, figures, 0, "", nullptr, rehash).chainHead, std::nullopt);
    EXPECT_EQ(RecorderModelName(kModelKm41), "KM-41");
    EXPECT_EQ(RecorderModelName(kModelKm41 + 1), "");
}

TEST_F(ArchiveTest, ADataFileIsDescribedByItsHeaders) {
    ScopedTimeZone zone("Asia/Tokyo");
    const uint32_t start = Local(2008, 3, 5, 9, 7, 0);
    Fill(*doc.GetChannel(1), start, 60, {C(5.0), C(5.1), C(5.2)}, "ROOM");
    ASSERT_EQ(doc.SaveKlgFile(0, Path("one.klg")), kFileOk);
    Fill(*doc.GetChannel(4), start + 30, 10, {C(-18.0)}, "FREEZER");
    ASSERT_EQ(doc.SaveKlgFile(0, Path("a.klg")), kFileOk);
    const std::string bytes = ReadAll(Path("a.klg"));
    const CBasicCp932Codec codec;
    const std::optional<Recording> r = DescribeDataFile(bytes, "/x/a.klg", codec, &FakeHash);
    ASSERT_TRUE(r);
    std::string got = r->source + " " + std::to_string(r->size - bytes.size()) + " " +
                      std::to_string(r->utcOffsetMinutes.value_or(-1));
    for (const ChannelInfo& c : r->channels)
        got += "; " + std::to_string(c.number) + " " + c.name + " +" +
               std::to_string(c.startUtc - start) + " " + c.startLocal.substr(0, 10) + " " +
               std::to_string(c.interval) + "x" + std::to_string(c.samples);
    EXPECT_EQ(got, "file 0 540; 1 ROOM +0 2008/ 3/ 5 60x3; 4 FREEZER +30 2008/ 3/ 5 10x1");
    EXPECT_EQ(r->sha256, Sha256Hex(&FakeHash, bytes));
    EXPECT_FALSE(DescribeDataFile(bytes.substr(0, 100), "/x/a.klg", codec, &FakeHash));

    // The offset the local text implies is believed up to 18 hours either way.
    for (auto [utcShift, offset] : {std::pair<int64_t, std::optional<int>>{-9 * 3600, 1080},
                                    {-9 * 3600 - 60, std::nullopt},
                                    {27 * 3600, -1080},
                                    {27 * 3600 + 60, std::nullopt},
                                    {9 * 3600 - 1800, 30}}) {
        std::string shifted = ReadAll(Path("one.klg"));
        const uint32_t field = static_cast<uint32_t>(start + utcShift);
        for (int k = 0; k < 4; ++k)
            shifted[256 + 57 + k] = static_cast<char>(field >> (8 * k));
        const std::optional<Recording> s = DescribeDataFile(shifted, "", codec, &FakeHash);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->utcOffsetMinutes, offset) << utcShift;
    }

    // A recording's start is the one the document loads: a date text that does not convert
    // gives both the same fallback, whatever the UTC field says.
    for (const char* year : {"1969", "1970"}) {
        std::string old = ReadAll(Path("one.klg"));
        old.replace(256 + 34, 4, year);
        WriteAll(Path("old.klg"), old);
        ASSERT_EQ(doc.OpenDataFile(Path("old.klg")), kFileOk);
        const std::optional<Recording> s = DescribeDataFile(old, "", codec, &FakeHash);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->channels[0].startUtc, doc.GetChannel(1)->startTime) << year;
        EXPECT_EQ(s->channels[0].startUtc == 32400, year[3] == '9') << year;
    }
}

TEST_F(ArchiveTest, TheListFiltersByTheSampledSpanAndByName) {
    Recording r = Rec("a");
    r.channels = {{1, "Fridge", 1000, "", 60, 11}, {2, "室温", 1300, "", 10, 0}};
    EXPECT_EQ(SampleSpan(r), std::make_pair(int64_t{1000}, int64_t{1600}));
    EXPECT_EQ(SampleTotal(r), 11);
    const std::pair<RecordingFilter, bool> rows[] = {
        {{}, true},
        {{1600, std::nullopt, ""}, true},
        {{1601, std::nullopt, ""}, false},
        {{std::nullopt, 1000, ""}, true},
        {{std::nullopt, 999, ""}, false},
        {{std::nullopt, std::nullopt, "FRIDGE"}, true},
        {{std::nullopt, std::nullopt, "室温"}, true}, // a channel without samples still names it
        {{std::nullopt, std::nullopt, "oven"}, false},
    };
    for (const auto& [filter, shown] : rows)
        EXPECT_EQ(Matches(r, filter), shown)
            << filter.name << filter.from.value_or(-1) << filter.to.value_or(-1);
}

TEST_F(ArchiveTest, UtcTextAcrossTheCalendar) {
    const std::pair<int64_t, const char*> rows[] = {
        {0, "1970-01-01T00:00:00Z"},          {951782400, "2000-02-29T00:00:00Z"},
        {1709251199, "2024-02-29T23:59:59Z"}, {1709251200, "2024-03-01T00:00:00Z"},
        {4294967295, "2106-02-07T06:28:15Z"}, {-1, "1969-12-31T23:59:59Z"},
    };
    for (auto [t, text] : rows)
        EXPECT_EQ(UtcText(t), text) << t;
}

TEST_F(ArchiveTest, DocumentChangesNameTheirOldAndNewValue) {
    DocumentState base;
    base.channels[0] = {true, 1, "OVEN", 1000};
    base.channels[1] = {true, 2, "DUCT", 2000};
    base.scaleUpper = 600;
    base.scaleLower = -200;
    struct Row {
        std::function<void(DocumentState&)> edit;
        const char* expected; // slot|detail|old|new|asks, changes joined by ";"
    };
    const Row rows[] = {
        {[](DocumentState&) {}, ""},
        {[](DocumentState& s) { s.channels[1].present = false; }, "1|deleted|CH2 DUCT||0"},
        {[](DocumentState& s) { std::swap(s.channels[0].number, s.channels[1].number); },
         "0|order|CH1 OVEN|CH2 OVEN|0;1|order|CH2 DUCT|CH1 DUCT|0"},
        {[](DocumentState& s) { s.channels[0].name = "ROOM"; }, "0|name|OVEN|ROOM|1"},
        {[](DocumentState& s) { s.channels[1].start = 2001; },
         "1|start|1970-01-01T00:33:20Z|1970-01-01T00:33:21Z|1"},
        {[](DocumentState& s) { s.unitCF = 1; }, "-1|unit|degC, V mode 0|degF, V mode 0|0"},
        {[](DocumentState& s) { s.unitV = 1; }, "-1|unit|degC, V mode 0|degC, V mode 1|0"},
        {[](DocumentState& s) { s.scaleLower = -199.5f; },
         "-1|limits|mode 0, 600 .. -200|mode 0, 600 .. -199.5|0"},
        {[](DocumentState& s) { s.scaleMode = 1; },
         "-1|limits|mode 0, 600 .. -200|mode 1, 600 .. -200|0"},
        // A channel that came with a load is no change of the document's recordings.
        {[](DocumentState& s) {
             s.channels[2] = {true, 3, "NEW", 5};
         },
         ""},
    };
    for (const Row& row : rows) {
        DocumentState after = base;
        row.edit(after);
        std::string got;
        for (const DocumentChange& c : ChangesBetween(base, after))
            got += (got.empty() ? "" : ";") + std::to_string(c.slot) + "|" + c.detail + "|" +
                   c.oldValue + "|" + c.newValue + "|" + (c.asksReason ? "1" : "0");
        EXPECT_EQ(got, row.expected);
    }
}

// The window's document through loads, an append, changes, a save and a report: each event is
// about the recording its channel came from, and a report names the recordings it shows.
TEST_F(ArchiveTest, DocumentEventsFollowTheChannelsToTheirRecordings) {
    CArchiveSession s(&mem, &FakeHash, context);
    const CBasicCp932Codec codec;
    std::map<std::string, std::string> tag;
    auto describe = [&](const std::string& path) -> std::optional<Recording> {
        if (path == "/x/notes.txt")
            return std::nullopt;
        Recording r = Rec(path);
        r.path = path;
        tag[r.sha256] = path.substr(3);
        return r;
    };
    CDocumentArchive da(s, doc, codec, describe, [](const std::string& p) { return "h" + p; });
    const auto shown = [&](std::string got = {}) {
        for (const ReportSource& src : da.Shown())
            got += tag[src.sha256] + "=" + src.path + "#" +
                   std::to_string(src.archiveId.value_or(0)) + " ";
        return got;
    };
    Fill(*doc.GetChannel(1), 1000, 60, {C(1)}, "OVEN");
    Fill(*doc.GetChannel(2), 1000, 60, {C(2)}, "DUCT");
    da.Loaded("/x/a.klg", false);
    Fill(*doc.GetChannel(3), 5000, 60, {C(3)}, "ROOM");
    da.Loaded("/x/b.klg", true);
    da.Loaded("/x/notes.txt", true);
    EXPECT_EQ(shown(), "a.klg=/x/a.klg#1 b.klg=/x/b.klg#2 ");
    doc.m_bShow[2] = 0; // a hidden channel is in neither the figures nor the sources
    EXPECT_EQ(shown(), "a.klg=/x/a.klg#1 ");
    da.Produced(EventKind::Exported, "/x/a.txt"); // nor in an export
    std::memcpy(doc.GetChannel(3)->name, "HALL", 4);
    doc.GetChannel(1)->startTime = 1060;
    doc.m_nUnitCF = 1;
    std::vector<std::string> asked;
    da.Commit([&](const DocumentChange& c) {
        asked.push_back(c.detail);
        da.Commit(); // as the window's repaints do while the question is open
        return "typo";
    });
    EXPECT_EQ(asked, (std::vector<std::string>{"start", "name"}));
    std::memcpy(doc.GetChannel(2)->name, "PIPE", 4); // committed by the save, without a reason
    da.Saved("/x/c.klg");
    doc.GetChannel(2)->present = 0;
    EXPECT_EQ(shown(), "c.klg=/x/c.klg#3 ");
    da.Produced(EventKind::Reported, "/x/r.pdf", da.Shown());
    da.Produced(EventKind::Exported, "/x/c.txt");
    // Outputs are named by their absolute path, which on Windows has the drive: "Z:\\x\\...".
    std::string root = std::filesystem::absolute("/x/a.txt").string();
    root.resize(root.size() - 5);
    const auto plain = [&root](std::string v) {
        for (std::size_t at = 0; (at = v.find(root, at)) != std::string::npos; at += 3)
            v.replace(at, root.size(), "/x/");
        return v;
    };
    std::string got;
    for (const Event& e : mem.events)
        got += std::string(EventKindName(e.kind)) + " " + tag[e.recordingSha256] + " " + e.detail +
               "|" + e.oldValue + "|" + plain(e.newValue) + "|" + e.reason + "\n";
    const std::string saved = "||/x/c.klg sha256:" + Rec("/x/c.klg").sha256 + "|\n";
    EXPECT_EQ(got, "created a.klg imported|||\n"
                   "opened a.klg |||\n"
                   "created b.klg imported|||\n"
                   "opened b.klg |||\n"
                   "exported a.klg ||/x/a.txt sha256:h/x/a.txt|\n"
                   "changed a.klg start|1970-01-01T00:16:40Z|1970-01-01T00:17:40Z|typo\n"
                   "changed b.klg name|ROOM|HALL|typo\n"
                   "changed a.klg unit|degC, V mode 0|degF, V mode 0|\n"
                   "changed b.klg unit|degC, V mode 0|degF, V mode 0|\n"
                   "changed a.klg name|DUCT|PIPE|\n"
                   "created c.klg saved|||\n"
                   "saved a.klg " +
                       saved + "saved b.klg " + saved +
                       "changed c.klg deleted|CH2 PIPE||\n"
                       "reported c.klg ||/x/r.pdf sha256:h/x/r.pdf|\n"
                       "exported c.klg ||/x/c.txt sha256:h/x/c.txt|\n");
    EXPECT_EQ(da.Sources(), std::vector<std::string>{Rec("/x/c.klg").sha256});
}

// An open names the bytes the document read, not the file read again (as Rec(path) would).
TEST_F(ArchiveTest, AnOpenNamesTheBytesItRead) {
    CArchiveSession s(&mem, &FakeHash, context);
    const CBasicCp932Codec codec;
    CDocumentArchive da(s, doc, codec, [](const std::string& p) { return Rec(p); }, {});
    struct Forward : IDocumentObserver {
        void OnFileLoaded(const std::string& p, bool a, std::span<const uint8_t> b) override {
            da->Loaded(p, a, b);
        }
        CDocumentArchive* da;
    } forward;
    forward.da = &da;
    Fill(*doc.GetChannel(1), 1000, 60, {C(1), C(2)}, "OVEN");
    ASSERT_EQ(doc.SaveKlgFile(0, Path("a.klg")), kFileOk);
    doc.SetObserver(&forward);
    ASSERT_EQ(doc.OpenDataFile(Path("a.klg")), kFileOk);
    ASSERT_EQ(mem.events.size(), 2u); // created, then opened
    EXPECT_EQ(mem.events[1].recordingSha256, Sha256Hex(&FakeHash, ReadAll(Path("a.klg"))));
    doc.SetObserver(nullptr);
}

// A file where the archive keeps a recording (or where one was first seen) that no longer holds
// its bytes is that recording changed: the open is an event about it, never a new recording.
TEST_F(ArchiveTest, AChangedFileIsItsRecordingChangedNeverANewOne) {
    CArchiveSession s(&mem, &FakeHash, context);
    KeptFile k;
    k.path = "/kept/a";
    EXPECT_EQ(s.Keep(Rec("a", "download"), "downloaded", k).id, 1);
    s.Record(EventKind::Opened, Rec("f")); // first seen at /kept/f, not kept
    s.Record(EventKind::Opened, Rec("g"));
    const auto at = [](const std::string& name, const std::string& path) {
        Recording r = Rec(name);
        r.path = path;
        return r;
    };
    struct Row {
        Recording opened;
        int64_t recording; // 0: not archived before
        bool changed;
    };
    const Row rows[] = {
        {at("a", "/kept/a"), 1, false},    {at("A", "/kept/a"), 1, true}, // the kept file altered
        {at("g", "/kept/a"), 1, true},  // a kept file holds its own bytes, not another's
        {at("F", "/kept/f"), 2, true},  // first seen there and altered
        {at("g", "/kept/f"), 3, false}, // another archived file copied over it
        {at("a", "/elsewhere"), 1, false}, {at("new", "/elsewhere"), 0, false},
    };
    for (const Row& row : rows) {
        const std::optional<Opening> o = s.Identify(row.opened.path, row.opened.sha256);
        SCOPED_TRACE(row.opened.path + " " + row.opened.sha256.substr(0, 8));
        EXPECT_EQ(o ? o->recording.id : 0, row.recording);
        EXPECT_EQ(o && o->Changed(), row.changed);
        if (o && o->Changed()) {
            EXPECT_EQ(o->foundSha256, row.opened.sha256);
            EXPECT_NE(o->recording.sha256, row.opened.sha256);
        }
    }
    const std::size_t before = mem.events.size();
    const Opening o = s.Open(at("A", "/kept/a"));
    ASSERT_TRUE(o.Changed());
    ASSERT_EQ(mem.events.size(), before + 1);
    EXPECT_EQ(mem.recordings.size(), 3u);
    const Event& e = mem.events.back();
    EXPECT_EQ(
        std::tuple(EventKindName(e.kind), e.detail, e.recordingId, e.recordingSha256, e.newValue),
        std::tuple(std::string("opened"), std::string("changed"), int64_t{1}, Rec("a").sha256,
                   "/kept/a sha256:" + Rec("A").sha256));
    const std::string m = ChangedFileMessage("/kept/a", o);
    EXPECT_NE(m.find("/kept/a は記録保管庫の記録 1 のファイル"), std::string::npos) << m;
    EXPECT_NE(m.find(Rec("a").sha256), std::string::npos);
    EXPECT_NE(m.find(Rec("A").sha256), std::string::npos);
    EXPECT_EQ(ChangedFileMessage("/kept/a", s.Open(at("a", "/kept/a"))), "");
    // Without an archive nothing is changed: the file is what it is.
    CArchiveSession off(nullptr, &FakeHash, context);
    EXPECT_FALSE(off.Open(at("A", "/kept/a")).Changed());
}

// What the document shows of a changed file: its own bytes' hash for the figures, the archived
// one beside it, and every later event about the original recording.
TEST_F(ArchiveTest, AChangedFileOpenedInTheDocumentNamesBothHashes) {
    CArchiveSession s(&mem, &FakeHash, context);
    const CBasicCp932Codec codec;
    Fill(*doc.GetChannel(1), 1000, 60, {C(1), C(2)}, "OVEN");
    ASSERT_EQ(doc.SaveKlgFile(0, Path("a.klg")), kFileOk);
    const std::string original = ReadAll(Path("a.klg"));
    KeptFile k;
    k.path = Path("a.klg");
    s.Keep(*DescribeDataFile(original, Path("a.klg"), codec, &FakeHash), "downloaded", k);
    std::string altered = original;
    altered[original.size() - 1] = static_cast<char>(altered.back() ^ 1);
    CDocumentArchive da(
        s, doc, codec, [](const std::string& p) { return Rec(p); },
        [](const std::string&) { return std::optional<std::string>("h"); });
    const Opening o =
        da.Loaded(Path("a.klg"), false,
                  std::span(reinterpret_cast<const uint8_t*>(altered.data()), altered.size()));
    ASSERT_TRUE(o.Changed());
    ASSERT_EQ(da.Shown().size(), 1u);
    const ReportSource src = da.Shown()[0];
    EXPECT_EQ(src.sha256, Sha256Hex(&FakeHash, altered));
    EXPECT_EQ(src.archivedSha256, Sha256Hex(&FakeHash, original));
    EXPECT_EQ(src.archiveId, std::optional<int64_t>(1));
    da.Produced(EventKind::Reported, Path("r.pdf"), da.Shown());
    EXPECT_EQ(mem.events.back().recordingId, 1);
    EXPECT_EQ(mem.recordings.size(), 1u);
}

// Identical bytes kept twice are one recording with two kept files: each created event names
// its own file, and each file and transcript is hashed again on its own.
TEST_F(ArchiveTest, EveryKeptFileIsCheckedOnItsOwn) {
    CArchiveSession s(&mem, &FakeHash, context);
    for (const char* path : {"/kept/1", "/kept/2"}) {
        KeptFile k;
        k.path = path;
        k.transcriptPath = std::string(path) + ".txt";
        k.transcriptSha256 = Sha256Hex(&FakeHash, "exchange");
        s.Keep(Rec("a", "download"), "downloaded", k);
        now += 30;
    }
    ASSERT_EQ(mem.recordings.size(), 1u);
    ASSERT_EQ(mem.kept.size(), 2u);
    EXPECT_EQ(mem.events[0].newValue, "/kept/1 sha256:" + Rec("a").sha256);
    EXPECT_EQ(mem.events[1].newValue, "/kept/2 sha256:" + Rec("a").sha256);
    EXPECT_EQ(mem.events[1].recordingId, 1);
    std::map<std::string, std::string> disk = {{"/kept/1", "a"},
                                               {"/kept/1.txt", "exchange"},
                                               {"/kept/2", "a"},
                                               {"/kept/2.txt", "exchange"}};
    const FileHasher hasher = [&](const std::string& path) -> std::optional<std::string> {
        auto it = disk.find(path);
        return it == disk.end() ? std::nullopt : std::optional(Sha256Hex(&FakeHash, it->second));
    };
    VerifyReport rep = s.Verify(hasher);
    EXPECT_TRUE(rep.Holds());
    EXPECT_EQ(rep.keptFiles, 2u);
    disk["/kept/2"] = "A";
    disk["/kept/1.txt"] = "exchangE";
    rep = s.Verify(hasher);
    const std::vector<FileProblem> want = {
        {1, "/kept/1.txt", Sha256Hex(&FakeHash, "exchange"), Sha256Hex(&FakeHash, "exchangE")},
        {1, "/kept/2", Rec("a").sha256, Rec("A").sha256}};
    EXPECT_EQ(rep.files, want);
    // A changed exchange leaves its download standing as changed, too.
    const std::vector<FileCheck> checks = {{"/kept/1", 1, "changed", UtcText(now)},
                                           {"/kept/2", 1, "changed", UtcText(now)}};
    EXPECT_EQ(mem.checks, checks);
    disk.erase("/kept/1");
    now += 60;
    s.Verify(hasher);
    EXPECT_EQ(mem.checks[0], (FileCheck{"/kept/1", 1, "missing", UtcText(now)}));
    const std::optional<Opening> o = s.Identify("/kept/2", Rec("A").sha256);
    EXPECT_TRUE(o && o->Changed() && o->recording.id == 1);
    // A list shows the last check until the next, unless the file's size says worse now.
    const FileCheck seen{"/kept/2", 1, "changed", "t"}, gone{"/kept/2", 1, "missing", "t"};
    const std::tuple<const char*, const FileCheck*, const char*> shown[] = {
        {"unverified", nullptr, "unverified"}, {"unverified", &seen, "changed"},
        {"missing", &seen, "missing"},         {"changed", &mem.checks[0], "changed"},
        {"unverified", &gone, "unverified"},   {"unverified", &mem.checks[1], "changed"}};
    for (const auto& [quick, last, want] : shown)
        EXPECT_EQ(ShownStatus(quick, last), want) << quick;
}

} // namespace
} // namespace saroko::test
