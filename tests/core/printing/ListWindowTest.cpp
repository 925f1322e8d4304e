// The data list window's time window: opening place, line steps, thumb and their fallbacks
// over gaps between channels.
#include <gtest/gtest.h>

#include "core/TestSupport.h"
#include "printing/ListWindow.h"

namespace saroko::test {
namespace {

// Channel A from 1000 to 1900, channel B from 5000 to 5900, both every 10 s.
CListWindow TwoChannels() {
    return CListWindow(1000, 5900, 10, {{1000, 1900, 10}, {5000, 5900, 10}});
}

enum class Move { kDown, kUp, kThumb };

TEST(ListWindowTest, MovesAndFallbacks) {
    // clang-format off
    // Opened at `from`, moved (thumb: the position released), then the window and its thumb.
    const struct { const char* name; uint32_t from; Move move; int thumb; bool moved; uint32_t start, end; int thumbAfter; } cases[] = {
        {"down by five steps", 1000, Move::kDown, 0, true, 1050, 1140, 1},
        {"down into the gap goes to the next start", 1880, Move::kDown, 0, true, 5000, 5090, 81},
        {"down at the end stops at the data end", 5880, Move::kDown, 0, true, 5900, 5900, 100},
        {"down inside the gap", 3000, Move::kDown, 0, true, 5000, 5090, 81},
        {"up by five steps", 1100, Move::kUp, 0, true, 1050, 1140, 1},
        {"up stops at the data start", 1020, Move::kUp, 0, true, 1000, 1090, 0},
        {"up over the gap goes to the last end", 5000, Move::kUp, 0, true, 1900, 1990, 18},
        {"up within the gap near a start", 5040, Move::kUp, 0, true, 5000, 5090, 81},
        {"thumb at 0", 3000, Move::kThumb, 0, true, 1000, 1090, 0},
        {"thumb on the first channel's grid", 3000, Move::kThumb, 10, true, 1490, 1580, 10},
        {"thumb in the gap takes the next sample", 1000, Move::kThumb, 50, true, 5000, 5090, 81},
        {"thumb at 100", 1000, Move::kThumb, 100, true, 5900, 5900, 100},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CListWindow w = TwoChannels();
        w.Open(c.from);
        const bool moved = c.move == Move::kDown ? w.LineDown()
                           : c.move == Move::kUp ? w.LineUp()
                                                 : w.ThumbReleased(c.thumb);
        EXPECT_EQ(moved, c.moved);
        EXPECT_EQ(std::tuple(w.Start(), w.End(), w.Thumb(), w.Span()),
                  std::tuple(c.start, c.end, c.thumbAfter, c.end - c.start));
    }
}

TEST(ListWindowTest, NothingToMoveTo) {
    // Past the only channel's end, a line down falls back to that end; without channels
    // nothing moves.
    CListWindow one(1000, 2000, 10, {{1000, 1500, 10}});
    one.Open(1990);
    EXPECT_TRUE(one.LineDown());
    EXPECT_EQ(one.Start(), 1500u);

    CListWindow none(1000, 2000, 10, {});
    none.Open(1200);
    EXPECT_FALSE(none.LineDown());
    EXPECT_FALSE(none.LineUp());
    EXPECT_FALSE(none.ThumbReleased(50));
    EXPECT_EQ(none.Start(), 1200u);
}

TEST(ListWindowTest, EdgesOfTimeAndRange) {
    // A window at the top of the u32 range does not wrap its end to 1970.
    CListWindow top(0xFFFFFF00u, 0xFFFFFFFFu, 60, {{0xFFFFFF00u, 0xFFFFFFF0u, 60}});
    top.Open(0xFFFFFFF0u);
    EXPECT_EQ(top.End(), 0xFFFFFFFFu);
    // Data of one instant: the thumb stays at 0 instead of dividing by zero.
    CListWindow instant(5000, 5000, 10, {{5000, 5000, 10}});
    instant.Open(5000);
    EXPECT_EQ(instant.Thumb(), 0);
    EXPECT_EQ(instant.Span(), 0u);
    // Line up from near 1970 does not wrap.
    CListWindow early(0, 1000, 100, {{0, 1000, 100}});
    early.Open(200);
    EXPECT_TRUE(early.LineUp());
    EXPECT_EQ(early.Start(), 0u);
}

class ListWindowDocTest : public DocTest {};

TEST_F(ListWindowDocTest, OpensAtTheFirstSampleOfTheShownWindow) {
    const uint32_t t0 = Local(2008, 3, 5, 10, 0, 0);
    Fill(*doc.GetChannel(2), t0, 60, std::vector<uint16_t>(30, C(20)));
    Fill(*doc.GetChannel(5), t0 + 25, 10, std::vector<uint16_t>(100, C(21)));
    doc.RecalcRanges(1);
    const ListChannels channels = ChannelsOf(doc);
    EXPECT_EQ(FirstSampleAtOrAfter(channels, t0), t0);
    EXPECT_EQ(FirstSampleAtOrAfter(channels, t0 + 1), t0 + 25);
    EXPECT_EQ(FirstSampleAtOrAfter(channels, t0 + 26), t0 + 35);
    // Past channel 5's end only channel 2 is left; past both nothing is.
    EXPECT_EQ(FirstSampleAtOrAfter(channels, t0 + 1100), t0 + 1140);
    EXPECT_EQ(FirstSampleAtOrAfter(channels, t0 + 3000), 0xFFFFFFFFu);

    const std::vector<ListSpan> spans = ListSpansOf(doc);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(std::tuple(spans[0].first, spans[0].last, spans[1].last),
              std::tuple(t0, t0 + 29 * 60, t0 + 25 + 990));

    doc.GetChannel(5)->sampleCount = 0; // as after an edit that did not recount
    EXPECT_EQ(ListSpansOf(doc)[1].last, t0 + 25 + 990) << "the span follows the samples";
    doc.GetChannel(5)->sampleCount = 100;

    CListWindow w(doc);
    EXPECT_EQ(w.Step(), 10u);
    w.Open(FirstSampleAtOrAfter(channels, doc.GetRange()->viewStart));
    EXPECT_EQ(w.Start(), t0);
    EXPECT_EQ(w.End(), t0 + 90);
}

TEST_F(ListWindowDocTest, LineDownShowsEveryRowOfSixOffsetChannels) {
    // Six channels every 10 s, each 1 s after the one before: 55 rows in the first window.
    const uint32_t t0 = Local(2008, 3, 5, 10, 0, 0);
    for (int n = 1; n <= 6; ++n)
        Fill(*doc.GetChannel(n), t0 + static_cast<uint32_t>(n - 1), 10,
             std::vector<uint16_t>(40, C(20.0 + n)));
    doc.RecalcRanges(1);
    CListWindow w(doc);
    EXPECT_EQ(w.RowBound(), 60u);
    w.Open(t0);
    EXPECT_EQ(ListWindowRows(doc, w.Start(), w.End()).size(), 55u);

    // Stepping down to the end, the windows together list every row of the data, in order.
    std::vector<std::string> all;
    for (const ListRowTexts& r : ListWindowRows(doc, t0, doc.GetRange()->dataEnd))
        all.push_back(r.time);
    ASSERT_EQ(all.size(), 240u);
    std::vector<std::string> seen;
    for (uint32_t before = w.Start() + 1; before != w.Start();) {
        before = w.Start();
        for (const ListRowTexts& r : ListWindowRows(doc, w.Start(), w.End()))
            if (seen.empty() || r.time > seen.back())
                seen.push_back(r.time);
        w.LineDown();
    }
    EXPECT_EQ(seen, all);
}

TEST_F(ListWindowDocTest, RowsAndColumnsInTheWindowsTexts) {
    const uint32_t t0 = Local(2008, 3, 5, 10, 0, 0);
    Fill(*doc.GetChannel(1), t0, 10, {C(21.5), kCodeMissing, kCodeOver, kCodeUnder, C(-0.5)});
    Fill(*doc.GetChannel(2), t0 + 5, 10, std::vector<uint16_t>(5, C(7)));
    doc.RecalcRanges(1);
    doc.m_bShow[1] = 0;

    const std::vector<ListRowTexts> rows = ListWindowRows(doc, t0, t0 + 90);
    ASSERT_EQ(rows.size(), 10u);
    const char* first[] = {"  21.5", "  --- ", "  Over", " Under", "  -0.5"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].time, ListTimeText(t0 + 5 * static_cast<uint32_t>(i)));
        EXPECT_EQ(rows[i].cells[0], i % 2 ? "      " : first[i / 2]);
        EXPECT_EQ(rows[i].cells[1], "      "); // hidden, or no sample
        EXPECT_EQ(rows[i].cells[7], "      ");
    }
    EXPECT_TRUE(ListWindowRows(doc, t0 + 90, t0).empty());

    const ListColumnTexts one = ListColumn(doc, 1), four = ListColumn(doc, 4);
    // The unit of Ch.1 is "ﾟC " in CP932.
    EXPECT_EQ(
        (std::vector<std::string>{one.heading, one.unit, one.max, one.min, four.heading, four.unit,
                                  four.max + four.min + four.avg}),
        (std::vector<std::string>{"Ch.1", "\xDF\x43 ", "  Over", " Under", "Ch.4", "   ", ""}));
}

} // namespace
} // namespace saroko::test
