// The recording-conditions dialogs: the checks when a channel is left or OK is pressed, the
// fields they reload, the start-time shift, the deletion marks and what OK hands back.
#include <gtest/gtest.h>

#include "channels/RecCondWork.h"
#include "core/TestSupport.h"

namespace saroko::test {
namespace {

using Date = std::array<std::string, 6>;

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
    static void Type(CRecCondWork& w, const std::string& name, Date date) {
        w.form.name = name;
        w.form.date = std::move(date);
    }
    uint32_t t1 = 0;
};

TEST_F(RecCondTest, OpeningAndUndoShowTheChannelsAndEmptyFields) {
    EXPECT_EQ(CRecCondWork(doc, false).TimeText(4), " ");
    CRecCondWork w(doc, true);
    EXPECT_EQ(w.TimeText(4), std::string(26, ' '));
    EXPECT_EQ(w.NameText(4), "        ") << "a channel without data: eight spaces";
    EXPECT_EQ(w.Select(4).focus, -1) << "a channel without data: nothing at all";
    const auto asOpened = [&](const char* when) {
        EXPECT_EQ(w.NameText(1), "ONE") << when;
        EXPECT_EQ(w.TimeText(1), "2008年  1月  2日  3時  4分  5秒") << when;
        EXPECT_FALSE(w.Deleted(2)) << when;
        EXPECT_EQ(w.Selected(), 0) << when;
        EXPECT_EQ(w.form, (RecCondForm{"", {"0", "0", "0", "0", "0", "0"}})) << when;
    };
    asOpened("opened");
    w.Select(1);
    Type(w, "NEW", {"2009", "1", "1", "0", "0", "0"});
    w.Select(2);
    EXPECT_EQ(w.NameText(1), "NEW");
    w.SetMode(1);
    w.Select(3);
    EXPECT_TRUE(w.Deleted(2));
    w.Undo();
    asOpened("undone");
}

TEST_F(RecCondTest, ChecksGiveTheirMessageAndFocusAndReloadTheLastAcceptedValues) {
    // Local midnight of 1970-01-01 lies before the epoch east of UTC.
    const ScopedTimeZone tokyo("Asia/Tokyo");
    doc.GetChannel(1)->startTime = Local(2008, 1, 2, 3, 4, 5); // in this zone
    const Date one{"2008", "1", "2", "3", "4", "5"};
    // clang-format off
    struct Case {
        const char* what;
        std::string name;
        Date date;
        bool ok; // pressed OK instead of leaving the channel
        int message;
        int focus;
    } const cases[] = {
        {"nine bytes", "ABCDEFGHI", one, false, 57712, kRcName},
        {"four full-width (8 bytes)", "\x82\x60\x82\x61\x82\x62\x82\x63", one, false, 0, kRcName},
        {"five full-width", "\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64", one, false, 57712, kRcName},
        {"latest instant", "A", {"2035", "12", "31", "23", "59", "59"}, false, 0, kRcName},
        {"year 2036", "A", {"2036", "1", "1", "0", "0", "0"}, false, 57719, kRcYear},
        {"2001-02-29", "A", {"2001", "2", "29", "0", "0", "0"}, false, 57721, kRcDay},
        {"2008-02-30 on OK", "TWO", {"2008", "2", "30", "0", "0", "0"}, true, 57721, kRcDay},
        {"month and day wrong", "A", {"2004", "13", "40", "0", "0", "0"}, false, 57720, kRcMonth},
        {"hour 24", "A", {"2004", "1", "1", "24", "0", "0"}, false, 57722, kRcHour},
        {"minute 60", "A", {"2004", "1", "1", "0", "60", "0"}, false, 57723, kRcMinute},
        {"second 60", "A", {"2004", "1", "1", "0", "0", "60"}, false, 57724, kRcSecond},
        {"empty field before the long name", "ABCDEFGHIJ", {"2004", "1", "1", "", "0", "0"}, false, kMsgEnterInteger, kRcName},
        {"before 1970 UTC", "ONE", {"1970", "1", "1", "0", "0", "0"}, false, 57744, kRcYear},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecCondWork w(doc, false);
        w.Select(1);
        EXPECT_EQ(w.form, (RecCondForm{"ONE", one}));
        Type(w, c.name, c.date);
        const RecCondOutcome o = c.ok ? w.Ok() : w.Select(2);
        EXPECT_EQ(std::pair(o.messageId, o.focus), std::pair(c.message, c.focus));
        EXPECT_FALSE(o.closed);
        if (c.message == 0) {
            EXPECT_EQ(w.Selected(), 2);
            EXPECT_EQ(w.form.name, "TWO");
            EXPECT_EQ(w.NameText(1), c.name);
        } else {
            EXPECT_EQ(w.Selected(), 1) << "the selection stays";
            EXPECT_EQ(w.form, (RecCondForm{"ONE", one}))
                << "the last accepted values replace the typing";
            EXPECT_EQ(w.NameText(1), "ONE");
        }
    }
}

TEST_F(RecCondTest, ShiftingTheStartMovesTheChannelAndWidensTheSpan) {
    CRecCondWork w(doc, false);
    w.Select(1);
    Type(w, "EARLY", {"2008", "1", "2", "4", "4", "5"}); // one hour later
    ASSERT_TRUE(w.Ok().closed);
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

TEST_F(RecCondTest, DeleteModeMarksTheChannelLeftAndOkDeletesTheSelectedToo) {
    CRecCondWork w(doc, true);
    w.Select(2);
    w.SetMode(1);
    Type(w, "IGNORED", {"x", "", "", "", "", ""}); // not read in delete mode
    EXPECT_EQ(w.Select(3).messageId, 0);
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

    // Deleting the last channel empties the document.
    CRecCondWork last(doc, true);
    last.SetMode(1);
    last.Select(1);
    ASSERT_TRUE(last.Ok().closed);
    last.Apply(doc);
    EXPECT_FALSE(doc.HasAnyData());
    EXPECT_EQ(doc.m_bDataModified, 0u);
    EXPECT_EQ(doc.m_range.dataStart, clock.Now());
}

} // namespace
} // namespace saroko::test
