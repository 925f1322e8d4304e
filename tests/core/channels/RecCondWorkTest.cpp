// The recording-conditions dialogs: the checks when a channel is left or OK is pressed, the
// fields they reload, the start-time shift, the deletion marks and what OK hands back.
#include <gtest/gtest.h>

#include "channels/RecCondWork.h"
#include "core/TestSupport.h"

namespace saroko::test {
namespace {

class RecCondTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        t1 = Local(2008, 1, 2, 3, 4, 5);
        Fill(*doc.GetChannel(1), t1, 60, {C(1), C(2), C(3)}, "ONE");
        Fill(*doc.GetChannel(2), t1 + 600, 60, {C(4), C(5)}, "TWO");
        Fill(*doc.GetChannel(3), t1 + 1200, 60, {C(6)}, "THREE");
        doc.RecalcRanges(1);
    }
    static void Type(CRecCondWork& w, const std::string& name, std::array<std::string, 6> date) {
        w.form.name = name;
        w.form.date = std::move(date);
    }
    uint32_t t1 = 0;
};

TEST_F(RecCondTest, OpeningShowsTheChannelsAndEmptyFields) {
    CRecCondWork w(doc, false);
    EXPECT_EQ(w.NameText(1), "ONE");
    EXPECT_EQ(w.TimeText(1), "2008年  1月  2日  3時  4分  5秒");
    EXPECT_EQ(w.NameText(4), "        ") << "a channel without data: eight spaces";
    EXPECT_EQ(w.TimeText(4), " ");
    EXPECT_EQ(CRecCondWork(doc, true).TimeText(4), std::string(26, ' '));
    EXPECT_EQ(w.Selected(), 0);
    EXPECT_EQ(w.form.name, "");
    EXPECT_EQ(w.form.date[0], "0");
    const RecCondOutcome o = w.Select(4);
    EXPECT_EQ(o.focus, -1) << "a channel without data: nothing at all";
    EXPECT_EQ(w.Selected(), 0);
}

TEST_F(RecCondTest, ChecksGiveTheirMessageAndFocusAndReloadTheLastAcceptedValues) {
    // clang-format off
    struct Case {
        const char* what;
        std::string name;
        std::array<std::string, 6> date;
        int message;
        int focus;
    } const cases[] = {
        {"eight single bytes", "ABCDEFGH", {"2008", "1", "2", "3", "4", "5"}, 0, kRcName},
        {"nine bytes", "ABCDEFGHI", {"2008", "1", "2", "3", "4", "5"}, 57712, kRcName},
        {"four full-width (8 bytes)", "\x82\x60\x82\x61\x82\x62\x82\x63", {"2008", "1", "2", "3", "4", "5"}, 0, kRcName},
        {"five full-width", "\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64", {"2008", "1", "2", "3", "4", "5"}, 57712, kRcName},
        {"latest instant", "A", {"2035", "12", "31", "23", "59", "59"}, 0, kRcName},
        {"year 2036", "A", {"2036", "1", "1", "0", "0", "0"}, 57719, kRcYear},
        {"year 1969", "A", {"1969", "1", "1", "0", "0", "0"}, 57719, kRcYear},
        {"2001-02-29", "A", {"2001", "2", "29", "0", "0", "0"}, 57721, kRcDay},
        {"2004-04-31", "A", {"2004", "4", "31", "0", "0", "0"}, 57721, kRcDay},
        {"month and day wrong", "A", {"2004", "13", "40", "0", "0", "0"}, 57720, kRcMonth},
        {"hour 24", "A", {"2004", "1", "1", "24", "0", "0"}, 57722, kRcHour},
        {"hour -1", "A", {"2004", "1", "1", "-1", "0", "0"}, 57722, kRcHour},
        {"minute 60", "A", {"2004", "1", "1", "0", "60", "0"}, 57723, kRcMinute},
        {"second 60", "A", {"2004", "1", "1", "0", "0", "60"}, 57724, kRcSecond},
        {"letters", "A", {"2004", "1", "x", "0", "0", "0"}, kMsgEnterInteger, kRcName},
        {"empty field", "ABCDEFGHIJ", {"2004", "1", "1", "", "0", "0"}, kMsgEnterInteger, kRcName},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecCondWork w(doc, false);
        w.Select(1);
        EXPECT_EQ(w.form.name, "ONE");
        EXPECT_EQ(w.form.date, (std::array<std::string, 6>{"2008", "1", "2", "3", "4", "5"}));
        Type(w, c.name, c.date);
        const RecCondOutcome o = w.Select(2);
        EXPECT_EQ(o.messageId, c.message);
        EXPECT_EQ(o.focus, c.focus);
        if (c.message == 0) {
            EXPECT_EQ(w.Selected(), 2);
            EXPECT_EQ(w.form.name, "TWO");
            EXPECT_EQ(w.NameText(1), c.name);
        } else {
            EXPECT_EQ(w.Selected(), 1) << "the selection stays";
            EXPECT_EQ(w.form.name, "ONE") << "the last accepted values replace the typing";
            EXPECT_EQ(w.form.date[0], "2008");
            EXPECT_EQ(w.NameText(1), "ONE");
        }
    }
}

TEST_F(RecCondTest, ShiftingTheStartMovesTheChannelAndWidensTheSpan) {
    CRecCondWork w(doc, false);
    w.Select(1);
    Type(w, "EARLY", {"2008", "1", "2", "4", "4", "5"}); // one hour later
    const RecCondOutcome o = w.Ok();
    ASSERT_TRUE(o.closed);
    EXPECT_EQ(w.ResultStart(1), t1 + 3600);
    EXPECT_EQ(w.ResultStart(2), t1 + 600) << "untouched channels keep their start";
    EXPECT_EQ(std::string(w.ResultName(4).data()), "        ");
    w.Apply(doc);
    EXPECT_EQ(doc.GetChannel(1)->startTime, t1 + 3600);
    EXPECT_EQ(std::string(doc.GetChannel(1)->name), "EARLY");
    EXPECT_EQ(std::string(doc.GetChannel(4)->name), "        ");
    // Channel 2 now leads and channel 1 ends last: 3120 s, plus 2.5 % (78 s) on each side.
    EXPECT_EQ(doc.m_range.dataStart, t1 + 600 - 78);
    EXPECT_EQ(doc.m_range.dataEnd, t1 + 3600 + 120 + 78);
    EXPECT_EQ(doc.m_range.calcStart, doc.m_range.dataStart);
    EXPECT_EQ(doc.m_range.calcEnd, doc.m_range.dataEnd);
    EXPECT_EQ(doc.m_bDataModified, 1u);
}

TEST_F(RecCondTest, OkWithoutChangesKeepsEveryStartAndMarksModified) {
    // Summer time in zones that have it: the start must come back to the same instant.
    Fill(*doc.GetChannel(5), Local(2008, 7, 1, 14, 0, 0), 60, {C(1)}, "SUMMER");
    CRecCondWork w(doc, false);
    w.Select(5);
    w.Select(1);
    ASSERT_TRUE(w.Ok().closed);
    for (int n : {1, 2, 3, 5})
        EXPECT_EQ(w.ResultStart(n), doc.GetChannel(n)->startTime) << n;
    w.Apply(doc);
    EXPECT_EQ(doc.m_bDataModified, 1u);
}

TEST_F(RecCondTest, FailedOkStaysAndReloads) {
    CRecCondWork w(doc, false);
    w.Select(2);
    Type(w, "TWO", {"2008", "2", "30", "0", "0", "0"});
    const RecCondOutcome o = w.Ok();
    EXPECT_FALSE(o.closed);
    EXPECT_EQ(o.messageId, 57721);
    EXPECT_EQ(o.focus, kRcDay);
    EXPECT_EQ(w.form.date[2], "2");
}

TEST_F(RecCondTest, AStartBefore1970UtcIsRefused) {
    // Local midnight of 1970-01-01 lies before the epoch east of UTC.
    const ScopedTimeZone tokyo("Asia/Tokyo");
    CRecCondWork w(doc, false);
    w.Select(1);
    Type(w, "ONE", {"1970", "1", "1", "0", "0", "0"});
    const RecCondOutcome o = w.Select(2);
    EXPECT_EQ(o.messageId, 57744);
    EXPECT_EQ(o.focus, kRcYear);
    EXPECT_EQ(w.Selected(), 1);
}

TEST_F(RecCondTest, UndoReturnsToTheOpeningValues) {
    CRecCondWork w(doc, true);
    w.Select(1);
    Type(w, "NEW", {"2009", "1", "1", "0", "0", "0"});
    w.Select(2);
    EXPECT_EQ(w.NameText(1), "NEW");
    w.SetMode(1);
    w.Select(3);
    EXPECT_TRUE(w.Deleted(2));
    w.Undo();
    EXPECT_EQ(w.NameText(1), "ONE");
    EXPECT_EQ(w.TimeText(1), "2008年  1月  2日  3時  4分  5秒");
    EXPECT_FALSE(w.Deleted(2));
    EXPECT_EQ(w.Selected(), 0);
    EXPECT_EQ(w.form, (RecCondForm{"", {"0", "0", "0", "0", "0", "0"}}));
}

TEST_F(RecCondTest, DeleteModeMarksTheChannelLeftAndOkDeletesTheSelectedToo) {
    CRecCondWork w(doc, true);
    w.Select(2);
    w.SetMode(1);
    Type(w, "IGNORED", {"x", "", "", "", "", ""}); // not read in delete mode
    const RecCondOutcome o = w.Select(3);
    EXPECT_EQ(o.messageId, 0);
    EXPECT_TRUE(w.Deleted(2));
    EXPECT_EQ(w.TimeText(2), CRecCondWork::kDeletedTime);
    EXPECT_EQ(w.Selected(), 3);
    // Choosing a marked channel again leaves nothing selected.
    w.SetMode(0);
    w.Select(2);
    EXPECT_EQ(w.Selected(), 0);
    EXPECT_EQ(w.form.name, "");
    w.Select(3);
    w.SetMode(1);
    ASSERT_TRUE(w.Ok().closed);
    w.Apply(doc);
    EXPECT_EQ(doc.GetChannel(2)->present, 0u);
    EXPECT_EQ(doc.GetChannel(3)->present, 0u);
    EXPECT_EQ(doc.GetChannel(1)->present, 1u);
    EXPECT_EQ(doc.m_bDataModified, 1u);
}

TEST_F(RecCondTest, DeletingEveryChannelEmptiesTheDocument) {
    CRecCondWork w(doc, true);
    w.SetMode(1);
    w.Select(1);
    w.Select(2);
    w.Select(3);
    ASSERT_TRUE(w.Ok().closed);
    w.Apply(doc);
    EXPECT_FALSE(doc.HasAnyData());
    EXPECT_EQ(doc.m_bDataModified, 0u);
    EXPECT_EQ(doc.m_range.dataStart, clock.Now());
}

} // namespace
} // namespace saroko::test
