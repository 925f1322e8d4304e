// The legend pane's content: the value at a cursor with its rounding and special codes, the
// texts of every column, what a hidden or empty channel shows, and the click rules.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/graph/GraphTestSupport.h"
#include "graph/Legend.h"

namespace saroko::test {
namespace {

constexpr uint32_t kStart = 1200000000;

TEST(ValueAtCursorTest, InterpolatesTowardsTheEarlierSampleAndPassesSpecialCodes) {
    // clang-format off
    // The samples at kStart and kStart + 30, the cursor as an offset from kStart, the value.
    const struct { const char* what; uint16_t p, c; int64_t cursor; uint16_t expected; } cases[] = {
        {"on the first sample", C(25.0), C(26.0), 0, C(25.0)},
        {"on the second sample", C(25.0), C(26.0), 30, C(26.0)},
        {"25.0 to 26.0, one third: rounded down", C(25.0), C(26.0), 10, C(25.3)},
        {"26.0 to 25.0, one third: rounded up", C(26.0), C(25.0), 10, C(25.7)},
        {"falling, exactly between two codes: no extra step", C(26.0), C(25.0), 15, C(25.5)},
        {"rising, two thirds", C(25.0), C(26.0), 20, C(25.6)},
        {"next to an Over sample", C(25.0), kCodeOver, 10, kCodeOver},
        {"after an Under sample", kCodeUnder, C(25.0), 10, kCodeUnder},
        {"missing beats Over", kCodeOver, kCodeMissing, 10, kCodeMissing},
        {"Over beats Under", kCodeUnder, kCodeOver, 10, kCodeOver},
        {"before the first sample", C(25.0), C(26.0), -1, kCodeEnd},
        {"after the last sample", C(25.0), C(26.0), 31, kCodeEnd},
        {"far after the data", C(25.0), C(26.0), 1000000, kCodeEnd},
    };
    // clang-format on
    for (const auto& c : cases) {
        ChannelRecord ch;
        Fill(ch, kStart, 30, {c.p, c.c});
        EXPECT_EQ(ValueAtCursor(ch, static_cast<uint32_t>(kStart + c.cursor)), c.expected)
            << c.what;
    }
}

TEST(ValueAtCursorTest, EndsAtTheFirstEndCodeAndAtTheLastSlot) {
    ChannelRecord ch;
    Fill(ch, kStart, 1, {C(1.0), kCodeEnd, C(3.0), C(4.0)});
    EXPECT_EQ(ValueAtCursor(ch, kStart + 3), kCodeEnd) << "an end code reached before";
    std::vector<uint16_t> full(kMaxSamples, C(7.0));
    Fill(ch, 0, 2, full);
    EXPECT_EQ(ValueAtCursor(ch, 2 * (kMaxSamples - 1)), C(7.0)) << "the last slot";
    EXPECT_EQ(ValueAtCursor(ch, 2 * (kMaxSamples - 1) + 1), kCodeEnd) << "towards the terminator";
}

TEST(LegendTextTest, FixedFormatsAndTimesInLocalCalendarTime) {
    for (auto [s, text] :
         {std::pair{90u, " 1min"}, {30u, "30sec"}, {60u, " 1min"}, {1u, " 1sec"}, {3600u, "60min"}})
        EXPECT_EQ(LegendInterval(s), text) << s;
    EXPECT_EQ(LegendSamples(0), "    ");
    EXPECT_EQ(LegendSamples(1440), " 1440");
    EXPECT_EQ(LegendSamples(16000), "16000");

    const uint32_t a = Local(2008, 3, 5, 10, 0, 0);
    const uint32_t b = Local(2008, 3, 6, 11, 30, 5);
    EXPECT_EQ(LegendDistance(a, b), "A   B 1 01:30'05");
    EXPECT_EQ(LegendDistance(b, a), "A   B 1 01:30'05");
    EXPECT_EQ(LegendDistance(a, a), "A   B 0 00:00'00");
    EXPECT_EQ(LegendDistance(0, 40 * 86400 + 59), "A   B 40 00:00'59");
    EXPECT_EQ(LegendCursorLine('A', a), "Cursor A  8/03/05 10:00'00");
    EXPECT_EQ(LegendCursorLine('B', Local(2010, 12, 31, 9, 5, 3)), "Cursor B 10/12/31  9:05'03");
    EXPECT_EQ(LegendRangeTime(b), " 8/03/06 11:30'05");
}

class LegendDocTest : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        Fill(*doc.GetChannel(1), kStart, 30, {C(25.0), C(26.0), C(27.0)}, "room");
        Fill(*doc.GetChannel(2), kStart, 30, {C(25.0), kCodeOver, C(20.0)}, "oven");
        doc.RecalcRanges(1);
        Range().cursorA = kStart + 10;
        Range().cursorB = kStart + 60;
    }
    // The text at (x, y) in the picture, empty when there is none; a cell is at a row's y.
    static std::string At(const LegendPicture& p, int x, int y) {
        for (const LegendText& t : p.texts)
            if (t.x == x && t.y == y)
                return t.text;
        return {};
    }
    static std::string Cell(const LegendPicture& p, int x, int row) {
        return At(p, x, LegendRowY(row));
    }
    LegendPicture Picture() {
        return BuildLegendPicture(doc, FillLegend(doc), kMetrics, 640, 167, 0);
    }
};

TEST_F(LegendDocTest, ValueColumnsFollowTheRules) {
    Fill(*doc.GetChannel(3), kStart + 50, 30, {C(1.0), C(2.0)}, "late");
    const LegendPicture p = Picture();
    // clang-format off
    const std::tuple<int, int, const char*> cells[] = {
        {239, 1, "  25.3"}, {307, 1, "  27.0"}, {373, 1, "   1.7"}, {434, 1, "  27.0"},
        {488, 1, "  25.0"}, {543, 1, "  26.0"}, {600, 1, "\xDF" "C "}, {127, 1, "30sec"},
        {182, 1, "    3"}, {54, 1, "room"},
        // Next to an Over sample: Over at A, no difference; the maximum is Over too.
        {239, 2, "  Over"}, {373, 2, "  --- "}, {434, 2, "  Over"},
        // The cursor before the first sample: no value, no difference.
        {239, 3, "  --- "}, {373, 3, "  --- "},
    };
    // clang-format on
    for (auto [x, row, text] : cells)
        EXPECT_EQ(Cell(p, x, row), text) << x << "," << row;
}

TEST_F(LegendDocTest, HiddenChannelKeepsNameIntervalAndSamplesButNoValuesOrBox) {
    doc.m_bShow[0] = 0;
    const LegendPicture p = Picture();
    EXPECT_EQ(Cell(p, 20, 1) + Cell(p, 54, 1) + Cell(p, 127, 1) + Cell(p, 182, 1),
              "1room30sec    3");
    for (int x : {239, 307, 373, 434, 488, 543})
        EXPECT_EQ(Cell(p, x, 1), "      ") << x;
    EXPECT_EQ(Cell(p, 600, 1), "   ");
    const auto box = [&](int row) {
        return std::count(p.boxes.begin(), p.boxes.end(),
                          GraphRect{15, LegendRowY(row), 30, LegendRowY(row) + 11});
    };
    EXPECT_EQ(box(1), 0);
    EXPECT_EQ(box(2), 1);
    EXPECT_EQ(box(5), 1) << "a channel without data keeps its flag, so its box shows";
    EXPECT_EQ(Cell(p, 20, 5), "5");
    EXPECT_EQ(Cell(p, 54, 5), "") << "nothing beyond the number for an empty channel";
}

TEST_F(LegendDocTest, TopLinesAndNameFrame) {
    const LegendData d = FillLegend(doc);
    const LegendPicture p = BuildLegendPicture(doc, d, kMetrics, 640, 167, 3);
    // clang-format off
    const std::tuple<int, int, std::string> lines[] = {
        {40, 0, LegendCursorLine('A', kStart + 10)}, {40, 12, LegendCursorLine('B', kStart + 60)},
        {210, 12, "A   B 0 00:00'50"}, {346, 0, "Calculation Range"},
        {486, 0, LegendRangeTime(Range().calcStart)}, {469, 12, "To"}, {444, 31, "Max."}};
    // clang-format on
    for (const auto& [x, y, text] : lines)
        EXPECT_EQ(At(p, x, y), text);
    EXPECT_EQ(std::count(p.boxes.begin(), p.boxes.end(), GraphRect{48, 79, 105, 90}), 1)
        << "the frame around row 3's name";
    // The arrows lie inside the three-space gaps of both "A   B" texts.
    ASSERT_FALSE(p.arrows.empty());
    for (const LegendLine& l : p.arrows) {
        const bool inDistance = l.line.x1 > 210 + 6 && l.line.x1 < 210 + 24;
        const bool inHead = l.line.x1 > 378 + 6 && l.line.x1 < 378 + 24;
        EXPECT_TRUE(inDistance || inHead) << l.line.x1;
    }
}

TEST_F(LegendDocTest, CursorsOutsideTheWindowAreBroughtInAndWrittenBack) {
    Range().viewStart = kStart + 20;
    Range().cursorA = kStart;
    Range().cursorB = Range().viewEnd + 100;
    const LegendData d = FillLegend(doc);
    EXPECT_EQ(d.cursorA, kStart + 20);
    EXPECT_EQ(Range().cursorA, kStart + 20);
    EXPECT_EQ(Range().cursorB, Range().viewEnd);
    EXPECT_EQ(d.rows[0].valueA, C(25.6)) << "the value at the moved cursor";
}

// The click rules, as sequences of events on the pane.
class LegendClickTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n : {1, 2, 4}) {
            data.rows[static_cast<std::size_t>(n - 1)].present = static_cast<uint32_t>(n);
            data.rows[static_cast<std::size_t>(n - 1)].avg = C(20.0);
        }
    }
    static int Y(int row) { return LegendRowY(row) + 5; }
    static std::vector<ViewMessage> Post(const CLegendClicks::Outcome& o) { return o.post; }
    LegendData data;
    CLegendClicks clicks;
    static constexpr int kBox = 22;
};

TEST_F(LegendClickTest, SingleClickTogglesWhenTheTimerFires) {
    const auto down = clicks.ButtonDown(data, kBox, Y(2));
    EXPECT_TRUE(down.busyPointer);
    EXPECT_EQ(clicks.FrameRow(), 2);
    const auto up = clicks.ButtonUp(kBox, Y(2));
    EXPECT_TRUE(up.startTimer);
    EXPECT_TRUE(up.post.empty()) << "nothing before the timer";
    const auto tick = clicks.Timer();
    EXPECT_EQ(tick.post, (std::vector<ViewMessage>{{UM_TOGGLE_SHOW, 2, 0}}));
    EXPECT_TRUE(tick.killTimer);
    EXPECT_EQ(clicks.FrameRow(), 0) << "the repaint removes the frame";
    EXPECT_TRUE(clicks.Timer().post.empty()) << "one click, one toggle";
}

TEST_F(LegendClickTest, DoubleClickAsksForTheConditionsAndDropsTheToggle) {
    clicks.ButtonDown(data, kBox, Y(4));
    clicks.ButtonUp(kBox, Y(4));
    EXPECT_EQ(Post(clicks.DoubleClick(data, kBox, Y(4))),
              (std::vector<ViewMessage>{{UM_EDIT_CONDITIONS, 0, 0}}));
    // The release of the second click moves the channel onto itself, which changes nothing.
    EXPECT_EQ(Post(clicks.ButtonUp(kBox, Y(4))),
              (std::vector<ViewMessage>{{UM_MOVE_CHANNEL, 44, 0}}));
    EXPECT_TRUE(clicks.Timer().post.empty());
}

TEST_F(LegendClickTest, DragToAnotherRowMovesTheChannel) {
    clicks.ButtonDown(data, kBox, Y(2));
    EXPECT_TRUE(clicks.MouseMove(kBox, Y(4), true).busyPointer);
    EXPECT_EQ(Post(clicks.ButtonUp(kBox + 3, Y(5))),
              (std::vector<ViewMessage>{{UM_MOVE_CHANNEL, 5 + 10 * 2, 0}}));
}

TEST_F(LegendClickTest, PressesOutsideTheNumberBoxesStartNoMove) {
    clicks.ButtonDown(data, kBox, Y(2));
    clicks.ButtonUp(kBox, Y(2));
    clicks.Timer();
    // A press on a name, released on a number box: not a drag of the earlier row.
    clicks.ButtonDown(data, 60, Y(1));
    EXPECT_TRUE(clicks.ButtonUp(kBox, Y(3)).post.empty());
    // Above the first row the number column is no box (its row would compute as 1).
    clicks.ButtonDown(data, kBox, 40);
    EXPECT_EQ(clicks.PressRow(), 0);
    EXPECT_TRUE(clicks.ButtonUp(kBox, Y(1)).post.empty());
    // Released elsewhere: only a repaint.
    clicks.ButtonDown(data, kBox, Y(1));
    const auto up = clicks.ButtonUp(300, Y(1));
    EXPECT_TRUE(up.post.empty());
    EXPECT_TRUE(up.repaint);
    // A click on an empty channel sends nothing.
    EXPECT_FALSE(clicks.ButtonDown(data, kBox, Y(3)).busyPointer);
    EXPECT_EQ(clicks.FrameRow(), 0);
    EXPECT_FALSE(clicks.ButtonUp(kBox, Y(3)).startTimer);
    EXPECT_TRUE(clicks.Timer().post.empty());
}

TEST(LegendHitTest, TheRowsEndWithTheEighth) {
    using Col = LegendColumn;
    // clang-format off
    const struct { int x, y, row; Col column; } cases[] = {
        {22, 50, 0, Col::kNone}, {22, 51, 1, Col::kNumber}, {22, 64, 1, Col::kNumber}, {22, 65, 2, Col::kNumber},
        {22, 162, 8, Col::kNumber}, {450, 162, 8, Col::kMax}, {22, 163, 0, Col::kNone}, {500, 163, 0, Col::kNone},
    };
    // clang-format on
    for (const auto& c : cases) {
        const LegendHit hit = LegendHitTest(c.x, c.y);
        EXPECT_EQ(std::make_pair(hit.row, hit.column), std::make_pair(c.row, c.column))
            << c.x << "," << c.y;
    }
}

TEST_F(LegendClickTest, DoubleClickOnMaxOrMinJumpsOnlyForShownChannelsWithStatistics) {
    EXPECT_EQ(Post(clicks.DoubleClick(data, 450, Y(1))),
              (std::vector<ViewMessage>{{UM_JUMP_TO_MAX, 1, 0}}));
    EXPECT_EQ(Post(clicks.DoubleClick(data, 522, Y(2))),
              (std::vector<ViewMessage>{{UM_JUMP_TO_MIN, 2, 0}}));
    EXPECT_TRUE(Post(clicks.DoubleClick(data, 470, Y(1))).empty()) << "between the cells";
    EXPECT_TRUE(Post(clicks.DoubleClick(data, 450, Y(3))).empty()) << "no data";
    data.rows[3].show = 0;
    EXPECT_TRUE(Post(clicks.DoubleClick(data, 450, Y(4))).empty()) << "hidden";
    data.rows[0].avg = kCodeMissing;
    EXPECT_TRUE(Post(clicks.DoubleClick(data, 450, Y(1))).empty()) << "no statistics";
}

} // namespace
} // namespace saroko::test
