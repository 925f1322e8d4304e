// Comments on excursions and the audit trail on paper, against the in-memory store: where a
// comment belongs, which events a period keeps at its two ends, and the CSV's quoting.
#include <gtest/gtest.h>

#include "core/archive/AuditTrail.h"
#include "core/archive/ExcursionComments.h"
#include "core/archive/MemoryArchiveStore.h"
#include "support/FakeHash.h"

namespace saroko::test {
namespace {

using namespace saroko::archive;

constexpr int64_t kT = 1796630400; // 2026-12-07T08:00:00Z

class AuditTrailTest : public ::testing::Test {
protected:
    Recording Rec(const std::string& name) {
        Recording r;
        r.sha256 = Sha256Hex(&FakeHash, name);
        r.path = "/data/" + name + ".klg";
        r.source = "file";
        return r;
    }
    // Ch.1 runs high 08:00..08:10 and low 09:00..09:05, Ch.2 high 08:00..08:01; Ch.1 and Ch.2
    // from recording "a" unless `second` comes from "b".
    std::vector<NumberedExcursion> Excursions(bool bOwnsCh2 = false) {
        ReportFigures f;
        f.channels.resize(2);
        f.channels[0].number = 1;
        f.channels[0].excursions = {
            {Excursion::kHigh, uint32_t(kT), uint32_t(kT + 600), 660},
            {Excursion::kLow, uint32_t(kT + 3600), uint32_t(kT + 3900), 360}};
        f.channels[1].number = 2;
        f.channels[1].excursions = {{Excursion::kHigh, uint32_t(kT), uint32_t(kT + 60), 120}};
        return NumberExcursions(
            f, [&](int ch) { return Rec(ch == 2 && bOwnsCh2 ? "b" : "a").sha256; });
    }

    CMemoryArchiveStore mem;
    int64_t now = kT + 7200;
    SessionContext context = BenchContext([this] { return now; });
};

TEST_F(AuditTrailTest, UtcTextsParseOnlyWhenTheyNameARealSecond) {
    const std::pair<const char*, std::optional<int64_t>> rows[] = {
        {"2026-12-07T08:00:00Z", kT},
        {"1970-01-01T00:00:00Z", 0},
        {"2024-02-29T00:00:00Z", 1709164800},
        {"2026-02-29T00:00:00Z", std::nullopt}, // no such day
        {"2026-12-07T08:00:60Z", std::nullopt},
        {"2026-12-07 08:00:00Z", std::nullopt},
        {"2026-12-07T08:00:00", std::nullopt},
    };
    for (const auto& [text, want] : rows)
        EXPECT_EQ(ParseUtcText(text), want) << text;
}

TEST_F(AuditTrailTest, APeriodKeepsItsStartAndLeavesItsEndOut) {
    Event e;
    e.recordingId = 3;
    const AuditScope period{0, kT, kT + 60};
    const std::tuple<int64_t, AuditScope, bool> rows[] = {
        {kT - 1, period, false},
        {kT, period, true},
        {kT + 59, period, true},
        {kT + 60, period, false},
        {kT - 1, {0, kT, {}}, false},
        {kT + 99999, {0, kT, {}}, true},
        {kT + 60, {0, {}, kT + 60}, false},
        {kT + 59, {0, {}, kT + 60}, true},
        {kT, {3, {}, {}}, true},
        {kT, {4, {}, {}}, false},
        {kT, {3, kT, kT + 1}, true},
        {kT, {4, kT, kT + 1}, false},
    };
    for (const auto& [t, scope, in] : rows) {
        e.timeUtc = UtcText(t);
        EXPECT_EQ(InScope(e, scope), in) << e.timeUtc << " id " << scope.recordingId;
    }
    // A time the trail cannot read is in no period, but in a trail without one.
    e.timeUtc = "yesterday";
    EXPECT_FALSE(InScope(e, period));
    EXPECT_TRUE(InScope(e, {3, {}, {}}));
}

TEST_F(AuditTrailTest, CsvQuotesOnlyTheFieldsThatNeedItAndKeepsEveryField) {
    // clang-format off
    const Event e{7, "2026-12-07T08:00:00Z", -150, "sato", "pc1", "1.22", EventKind::Commented,
                  "CH1 high 2026-12-07T08:00:00Z", 3, std::string(64, 'a'), "a,b",
                  "扉を閉めた \"再\"\nline2", "cr\rhere", std::string(64, '0'), std::string(64, 'f')};
    // clang-format on
    const std::string csv = AuditCsv({e});
    EXPECT_EQ(csv, "seq,time_utc,utc_offset_minutes,user,host,version,event,detail,recording_id,"
                   "sha256,old_value,new_value,reason,prev_hash,hash\r\n"
                   "7,2026-12-07T08:00:00Z,-150,sato,pc1,1.22,commented,"
                   "CH1 high 2026-12-07T08:00:00Z,3," +
                       std::string(64, 'a') +
                       ",\"a,b\",\"扉を閉めた \"\"再\"\"\nline2\",\"cr\rhere\"," +
                       std::string(64, '0') + "," + std::string(64, 'f') + "\r\n");
}

TEST_F(AuditTrailTest, AnAnchorNamesItsRunAndBelongsToTheRunThatSpansIt) {
    const std::vector<NumberedExcursion> x = Excursions();
    ASSERT_EQ(x.size(), 3u);
    EXPECT_EQ(x[2].number, 3); // numbered across the channels
    EXPECT_EQ(x[2].channel, 2);
    EXPECT_EQ(AnchorText(1, x[1].excursion), "CH1 low 2026-12-07T09:00:00Z");
    EXPECT_EQ(ParseAnchor("CH1 low 2026-12-07T09:00:00Z"),
              (CommentAnchor{1, Excursion::kLow, kT + 3600}));
    for (const char* bad : {"CH0 high 2026-12-07T09:00:00Z", "CH9 high 2026-12-07T09:00:00Z",
                            "CH1 mid 2026-12-07T09:00:00Z", "CH1 high 2026-12-07", "CH12 high x",
                            "ch1 high 2026-12-07T09:00:00Z", ""})
        EXPECT_FALSE(ParseAnchor(bad)) << bad;
    // The run's first and last sample hold it; a second either side does not.
    const std::tuple<CommentAnchor, std::size_t, bool> rows[] = {
        {{1, Excursion::kHigh, kT}, 0, true},       {{1, Excursion::kHigh, kT + 600}, 0, true},
        {{1, Excursion::kHigh, kT - 1}, 0, false},  {{1, Excursion::kHigh, kT + 601}, 0, false},
        {{2, Excursion::kHigh, kT}, 0, false},      {{1, Excursion::kLow, kT}, 0, false},
        {{1, Excursion::kLow, kT + 3900}, 1, true}, {{2, Excursion::kHigh, kT + 60}, 2, true},
    };
    for (const auto& [a, i, belongs] : rows)
        EXPECT_EQ(BelongsTo(a, x[i]), belongs) << a.channel << " " << a.start - kT << " " << i;
}

TEST_F(AuditTrailTest, ACommentNeedsAnExcursionOfTheReportAndAText) {
    const std::tuple<int, std::size_t, const char*, bool> rows[] = {
        {1, 3, "door closed", true}, {3, 3, "x", true}, {0, 3, "x", false},     {4, 3, "x", false},
        {1, 0, "x", false},          {1, 3, "", false}, {1, 3, " \t\n", false},
    };
    for (const auto& [n, count, text, ok] : rows)
        EXPECT_EQ(CommentProblem(n, count, text).empty(), ok) << n << "/" << count << " " << text;
    // N 0: refused.
    const std::tuple<const char*, int, const char*> args[] = {{"3:扉を閉めた", 3, "扉を閉めた"},
                                                              {"12:a:b", 12, "a:b"},
                                                              {"3:", 3, ""},
                                                              {":x", 0, ""},
                                                              {"x:y", 0, ""},
                                                              {"3x:y", 0, ""},
                                                              {"1234567:x", 0, ""},
                                                              {"3", 0, ""}};
    for (const auto& [arg, n, text] : args) {
        int number = 0;
        std::string said;
        EXPECT_EQ(ParseCommentArgument(arg, number, said), n > 0) << arg;
        EXPECT_EQ(std::pair(number, said), std::pair(n, std::string(n ? text : ""))) << arg;
    }
}

TEST_F(AuditTrailTest, CommentsAreEventsAboutTheirRecordingAndFoldBesideTheirExcursion) {
    CArchiveSession s(&mem, &FakeHash, context);
    s.Record(EventKind::Created, Rec("a"), "imported");
    s.Record(EventKind::Created, Rec("b"), "imported");
    std::vector<NumberedExcursion> x = Excursions(true);
    RecordComment(s, x[0], "door closed");
    RecordComment(s, x[2], "product moved");
    RecordComment(s, x[0], "checked again");
    ASSERT_TRUE(s.Flush());
    const Event& e = mem.events[2];
    EXPECT_EQ(e.recordingId, 1);
    EXPECT_NE(CanonicalText(e).find("event=commented\ndetail=CH1 high 2026-12-07T08:00:00Z\n"
                                    "recording=1\n"),
              std::string::npos);
    EXPECT_EQ(e.newValue, "door closed");
    std::vector<ExcursionComment> c = StoredComments(s, x);
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(std::tuple(c[0].excursion, c[0].text, c[0].user),
              std::tuple(1, "door closed", "lab"));
    EXPECT_EQ(std::tuple(c[1].excursion, c[1].text), std::tuple(3, "product moved"));
    EXPECT_EQ(std::tuple(c[2].excursion, c[2].text), std::tuple(1, "checked again"));
    // Other limits that make Ch.1's run start a minute earlier keep its comments; the same
    // channel of another recording does not take them.
    x[0].excursion.start -= 60;
    x[0].number = 1;
    EXPECT_EQ(StoredComments(s, x).size(), 3u);
    x[0].recordingSha256 = Rec("b").sha256;
    x[2].recordingSha256 = Rec("a").sha256;
    EXPECT_TRUE(StoredComments(s, x).empty());
}

TEST_F(AuditTrailTest, ATrailStatesTheWholeChainsCheckAndRefusesAnUnknownRecording) {
    CArchiveSession s(&mem, &FakeHash, context);
    s.Record(EventKind::Created, Rec("a"), "imported");
    now += 60;
    s.Record(EventKind::Created, Rec("b"), "imported");
    now += 60;
    s.RecordAbout(EventKind::Exported, Rec("a").sha256, {}, {}, "/out.txt sha256:00");
    AuditTrail t;
    std::string problem;
    ASSERT_TRUE(MakeAuditTrail(s, {1, {}, {}}, t, problem));
    EXPECT_EQ(t.events.size(), 2u);
    EXPECT_EQ(t.recordingPath, "/data/a.klg");
    EXPECT_EQ(t.chainEvents, 3u);
    EXPECT_FALSE(t.chainBreak);
    EXPECT_EQ(t.chainHead, mem.events.back().hash);
    EXPECT_EQ(std::tuple(t.madeAt, t.madeOffsetMinutes, t.user), std::tuple(now, 540, "lab"));
    EXPECT_FALSE(MakeAuditTrail(s, {9, {}, {}}, t, problem));
    EXPECT_EQ(problem, "no recording 9");
    // An event changed after it was sealed: the trail of the other recording still says so.
    mem.events[0].user = "someone";
    ASSERT_TRUE(MakeAuditTrail(s, {2, {}, {}}, t, problem));
    ASSERT_TRUE(t.chainBreak);
    EXPECT_EQ(t.chainBreak->seq, 1);
}

} // namespace
} // namespace saroko::test
