// The data list (row merge, cell texts, heading pieces, printed pages), the list window's
// time window, and where the printed graph lands.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "core/TestSupport.h"
#include "core/printing/DataList.h"
#include "core/printing/ListWindow.h"
#include "core/printing/PrintLayout.h"

namespace saroko::test {
namespace {

constexpr int32_t N = kNoSample;

// Times are offsets from the test's base time; a row holds the codes of channels 1 and 2.
// clang-format off
struct ChannelSetup { int number; uint32_t startOffset, interval; int count; };
using ExpectedRow = std::pair<uint32_t, std::array<int32_t, 2>>;
struct MergeCase { const char* name; std::vector<ChannelSetup> channels; uint32_t firstOffset, lastOffset, step; std::vector<ExpectedRow> rows; };
// clang-format on

// Sample i of channel n has the code 1000 * n + i, so every cell names its source.
int32_t S(int n, int i) {
    return 1000 * n + i;
}

class DataListTest : public DocTest {
protected:
    static constexpr uint32_t kBase = 1200000000;

    void Channel(const ChannelSetup& c) {
        std::vector<uint16_t> codes;
        for (int i = 0; i < c.count; ++i)
            codes.push_back(static_cast<uint16_t>(S(c.number, i)));
        Fill(*doc.GetChannel(c.number), kBase + c.startOffset, c.interval, codes);
    }
    // A channel of plain temperatures rising by 0.1 a sample.
    void Temperatures(int number, uint32_t start, int count, uint32_t interval = 1) {
        std::vector<uint16_t> codes;
        for (int i = 0; i < count; ++i)
            codes.push_back(C(20.0 + i * 0.1));
        Fill(*doc.GetChannel(number), start, interval, codes, "TEMP");
    }
    static std::string TextAt(const ListPage& p, int x, int y) {
        for (const ListText& t : p.texts)
            if (t.x == x && t.y == y)
                return t.text;
        return "<none>";
    }
    CBasicCp932Codec codec;
};

TEST_F(DataListTest, MergeInterleavesChannelsByTime) {
    // clang-format off
    const std::vector<MergeCase> cases = {
        {"shared times share a row", {{1, 0, 10, 3}, {2, 0, 10, 2}}, 0, 100, 10, {{0, {S(1, 0), S(2, 0)}}, {10, {S(1, 1), S(2, 1)}}, {20, {S(1, 2), N}}}},
        {"the list starts at the first sample at or after its start", {{1, 0, 10, 5}, {2, 3, 10, 5}}, 21, 1000, 10, {{23, {N, S(2, 2)}}, {30, {S(1, 3), N}}, {33, {N, S(2, 3)}}, {40, {S(1, 4), N}}, {43, {N, S(2, 4)}}}},
        {"the list ends once the base time passes its end", {{1, 0, 10, 10}}, 0, 25, 10, {{0, {S(1, 0), N}}, {10, {S(1, 1), N}}, {20, {S(1, 2), N}}}},
        {"a channel 5 s later alternates; its sample just before the end is listed", {{1, 0, 10, 3}, {2, 5, 10, 3}}, 0, 25, 10, {{0, {S(1, 0), N}}, {5, {N, S(2, 0)}}, {10, {S(1, 1), N}}, {15, {N, S(2, 1)}}, {20, {S(1, 2), N}}, {25, {N, S(2, 2)}}}},
        {"samples far apart leave no empty rows", {{1, 0, 1, 2}, {2, 500000, 10, 2}}, 0, 600000, 1, {{0, {S(1, 0), N}}, {1, {S(1, 1), N}}, {500000, {N, S(2, 0)}}, {500010, {N, S(2, 1)}}}},
        {"a zero step still ends", {{1, 0, 10, 2}}, 0, 100, 0, {{0, {S(1, 0), N}}, {10, {S(1, 1), N}}}},
        {"a channel without samples takes no part", {{1, 0, 10, 2}, {2, 0, 10, 0}}, 0, 100, 10, {{0, {S(1, 0), N}}, {10, {S(1, 1), N}}}},
    };
    // clang-format on
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        doc.ClearAllChannels();
        for (const ChannelSetup& ch : c.channels)
            Channel(ch);
        CDataListMerge merge(ChannelsOf(doc), kBase + c.firstOffset, kBase + c.lastOffset, c.step);
        std::vector<ExpectedRow> got;
        DataListRow row;
        while (merge.Next(row) && got.size() < 100)
            got.push_back({row.time - kBase, {row.codes[0], row.codes[1]}});
        EXPECT_EQ(got, c.rows);
        EXPECT_EQ(
            CountListRows(ChannelsOf(doc), kBase + c.firstOffset, kBase + c.lastOffset, c.step),
            static_cast<int>(c.rows.size()));
    }
}

TEST_F(DataListTest, CellAndTimeTexts) {
    ChannelRecord& ch = *doc.GetChannel(1);
    Temperatures(1, kBase, 1);
    // clang-format off
    const struct { const char* name; int32_t code; bool shown; uint32_t unitCF; const char* print; const char* window; } cases[] = {
        {"value degC", C(23.5), true, 0, "  23.5", "  23.5"},
        {"negative degC", C(-12.3), true, 0, " -12.3", " -12.3"},
        {"value degF", C(100.0), true, 1, " 212.0", " 212.0"},
        {"missing", kCodeMissing, true, 0, " ---- ", "  --- "},
        {"over", kCodeOver, true, 0, " Over ", "  Over"},
        {"under", kCodeUnder, true, 0, " Under", " Under"},
        {"hidden over", kCodeOver, false, 0, "      ", "      "},
        {"no sample", N, true, 0, "      ", "      "},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.m_nUnitCF = c.unitCF;
        EXPECT_EQ(ListCellText(doc, ch, c.shown, c.code, ListStyle::kPrint), c.print);
        EXPECT_EQ(ListCellText(doc, ch, c.shown, c.code, ListStyle::kWindow), c.window);
    }
    EXPECT_EQ(ListTimeText(Local(2008, 3, 5, 9, 4, 7)), "2008/03/05  9:04'07");
    // Summer time in Berlin: the fields, not the offset, decide the text.
    EXPECT_EQ(ListTimeText(Local(2020, 7, 1, 12, 0, 0)), "2020/07/01 12:00'00");
}

TEST_F(DataListTest, HeadingPiecesKeepDoubleByteCharactersWhole) {
    // clang-format off
    const struct { const char* bytes; const char* first; const char* second; } names[] = {
        {"AB", "AB", ""},
        {"abc\x82\xA0xyz", "abc\x82\xA0", "xyz"}, // the 4th byte leads
        // The 4th byte is a trail byte that looks like a lead byte (亜 is 88 9F).
        {"ab\x88\x9F\x82\xA2", "ab\x88\x9F", "\x82\xA2"},
    };
    const struct { std::string_view in; std::size_t max; std::string_view out; } files[] = {
        {"abc.klg", 16, "abc.klg"}, {"測定データ012.klg", 16, "測定データ012.kl"},
        {"ab測定", 3, "ab"}, {"ﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀ.klg", 16, "ﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀ"},
    };
    // clang-format on
    for (const auto& c : names) {
        ChannelRecord ch;
        std::strncpy(ch.name, c.bytes, 8);
        EXPECT_EQ(SplitChannelName(ch), std::pair(std::string(c.first), std::string(c.second)))
            << c.bytes;
    }
    for (const auto& c : files)
        EXPECT_EQ(CutToCp932Bytes(c.in, c.max), c.out) << c.in;
}

TEST_F(DataListTest, PageGeometry) {
    EXPECT_EQ(ListPageSizeOf(210, 297), (ListPageSize{826, 1169}));
    // clang-format off
    const struct { int rows, height, perPage, pages; } cases[] = {
        {49, 1169, 49, 1}, {50, 1169, 49, 2}, {0, 1169, 49, 0}, {1, 142, 1, 1}, {5, 141, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ListRowsPerPage(c.height), c.perPage) << c.height;
        EXPECT_EQ(ListPageCount(c.rows, c.height), c.pages) << c.rows << " / " << c.height;
    }
}

TEST_F(DataListTest, RowsFillPagesAndContinueAcrossThem) {
    // 100 seconds of two 1 s channels: 100 rows, 49 on a page of 297 mm.
    Temperatures(1, kBase, 100);
    Temperatures(2, kBase, 100);
    doc.RecalcRanges(RecalcMode::NewData);
    doc.GetRange()->viewStart = kBase;
    doc.GetRange()->viewEnd = kBase + 99;
    CDataListPrint job(doc, codec, ListPageSizeOf(210, 297).height);
    ASSERT_EQ(job.PageCount(), 3);
    const ListPage p1 = job.NextPage();
    EXPECT_EQ(p1.rows, 49);
    EXPECT_EQ(TextAt(p1, 32, 121), ListTimeText(kBase));
    EXPECT_EQ(TextAt(p1, 213, 121), "  20.0");
    EXPECT_EQ(TextAt(p1, 32, 121 + 21 * 49), "<none>");
    const ListPage p2 = job.NextPage();
    EXPECT_EQ(TextAt(p2, 32, 121), ListTimeText(kBase + 49));
    EXPECT_EQ(TextAt(p2, 213, 121), "  24.9");
    const ListPage p3 = job.NextPage();
    EXPECT_EQ(p3.rows, 2);
    EXPECT_EQ(TextAt(p3, 32, 142), ListTimeText(kBase + 99));
    EXPECT_EQ(job.NextPage().rows, 0);

    // Starting at page 3 lays out the two pages before it without keeping them.
    CDataListPrint from3(doc, codec, 1169);
    from3.SkipPages(2);
    const ListPage q3 = from3.NextPage();
    EXPECT_EQ(std::pair(q3.number, q3.rows), std::pair(3, 2));
    EXPECT_EQ(TextAt(q3, 32, 121), ListTimeText(kBase + 98));
}

TEST_F(DataListTest, OnlyTheShownWindowIsListedAndAHiddenChannelIsBlankButKeepsItsTime) {
    Temperatures(1, kBase, 10, 10);
    Fill(*doc.GetChannel(2), kBase + 5, 10, std::vector<uint16_t>(10, C(20.0)));
    doc.RecalcRanges(RecalcMode::NewData);
    doc.m_bShow[0] = 0;
    doc.GetRange()->viewStart = kBase + 10;
    doc.GetRange()->viewEnd = kBase + 89;
    CDataListPrint job(doc, codec, 1169);
    const ListPage p = job.NextPage();
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        const int y = 121 + 21 * i;
        EXPECT_EQ(TextAt(p, 32, y), ListTimeText(kBase + 10 + 5 * static_cast<uint32_t>(i)));
        EXPECT_EQ(TextAt(p, 213, y), "      ");
        EXPECT_EQ(TextAt(p, 270, y), i % 2 ? "  20.0" : "      ");
    }
    EXPECT_EQ(TextAt(p, 32, 121 + 21 * 16), "<none>");
    doc.GetRange()->viewStart = kBase + 100; // no rows, no pages
    doc.GetRange()->viewEnd = kBase + 200;
    CDataListPrint none(doc, codec, 1169);
    EXPECT_EQ(std::pair(none.RowCount(), none.PageCount()), std::pair(0, 0));
}

enum class Move { kNone, kDown, kUp, kThumb, kPageDown, kPageUp };

// The data range, the shortest interval and the channels' spans of a list window.
struct ListWindowSetup {
    uint32_t first, last, step;
    std::vector<ListSpan> spans;
};
// Channel A from 1000 to 1900, channel B from 5000 to 5900, both every 10 s.
const ListWindowSetup kTwoSpans{1000, 5900, 10, {{1000, 1900, 10}, {5000, 5900, 10}}};

TEST(ListWindowTest, MovesFallbacksAndEdgesOfTime) {
    // clang-format off
    // Opened at `from`, moved (thumb: the position released), then the window and its thumb.
    const struct { const char* name; ListWindowSetup setup; uint32_t from; Move move; int thumb; bool moved; uint32_t start, end; int thumbAfter; } cases[] = {
        {"down by five steps", kTwoSpans, 1000, Move::kDown, 0, true, 1050, 1140, 1},
        {"down into the gap goes to the next start", kTwoSpans, 1880, Move::kDown, 0, true, 5000, 5090, 81},
        {"down at the end stops at the data end", kTwoSpans, 5880, Move::kDown, 0, true, 5900, 5900, 100},
        {"up by five steps", kTwoSpans, 1100, Move::kUp, 0, true, 1050, 1140, 1},
        {"up stops at the data start", kTwoSpans, 1020, Move::kUp, 0, true, 1000, 1090, 0},
        {"up over the gap goes to the last end", kTwoSpans, 5000, Move::kUp, 0, true, 1900, 1990, 18},
        {"up within the gap near a start", kTwoSpans, 5040, Move::kUp, 0, true, 5000, 5090, 81},
        {"thumb at 0", kTwoSpans, 3000, Move::kThumb, 0, true, 1000, 1090, 0},
        {"thumb on the first channel's grid", kTwoSpans, 3000, Move::kThumb, 10, true, 1490, 1580, 10},
        {"thumb in the gap takes the next sample", kTwoSpans, 1000, Move::kThumb, 50, true, 5000, 5090, 81},
        {"thumb at 100", kTwoSpans, 1000, Move::kThumb, 100, true, 5900, 5900, 100},
        {"past the only channel's end, down falls back to that end", {1000, 2000, 10, {{1000, 1500, 10}}}, 1990, Move::kDown, 0, true, 1500, 1590, 50},
        {"without channels nothing moves down", {1000, 2000, 10, {}}, 1200, Move::kDown, 0, false, 1200, 1290, 20},
        {"without channels nothing moves up", {1000, 2000, 10, {}}, 1200, Move::kUp, 0, false, 1200, 1290, 20},
        {"without channels the thumb moves nothing", {1000, 2000, 10, {}}, 1200, Move::kThumb, 50, false, 1200, 1290, 20},
        {"at the top of the u32 range the end does not wrap to 1970", {0xFFFFFF00u, 0xFFFFFFFFu, 60, {{0xFFFFFF00u, 0xFFFFFFF0u, 60}}}, 0xFFFFFFF0u, Move::kNone, 0, false, 0xFFFFFFF0u, 0xFFFFFFFFu, 94},
        {"data of one instant: the thumb stays at 0 instead of dividing by zero", {5000, 5000, 10, {{5000, 5000, 10}}}, 5000, Move::kNone, 0, false, 5000, 5000, 0},
        {"up from near 1970 does not wrap", {0, 1000, 100, {{0, 1000, 100}}}, 200, Move::kUp, 0, true, 0, 900, 0},
        // A page is the window's length: the next page starts one step after the last row.
        {"page down by ten steps", kTwoSpans, 1000, Move::kPageDown, 0, true, 1100, 1190, 2},
        {"page down just inside the first channel", kTwoSpans, 1800, Move::kPageDown, 0, true, 1900, 1990, 18},
        {"page down just past it goes to the next start", kTwoSpans, 1810, Move::kPageDown, 0, true, 5000, 5090, 81},
        {"page down at the end stops at the data end", kTwoSpans, 5850, Move::kPageDown, 0, true, 5900, 5900, 100},
        {"page up by ten steps", kTwoSpans, 1200, Move::kPageUp, 0, true, 1100, 1190, 2},
        {"page up stops at the data start", kTwoSpans, 1090, Move::kPageUp, 0, true, 1000, 1090, 0},
        {"page up over the gap goes to the last end", kTwoSpans, 5000, Move::kPageUp, 0, true, 1900, 1990, 18},
        {"page up from just inside the second channel", kTwoSpans, 5100, Move::kPageUp, 0, true, 5000, 5090, 81},
        {"without channels no page moves", {1000, 2000, 10, {}}, 1200, Move::kPageDown, 0, false, 1200, 1290, 20},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CListWindow w(c.setup.first, c.setup.last, c.setup.step, c.setup.spans);
        w.Open(c.from);
        const bool moved = c.move == Move::kDown       ? w.LineDown()
                           : c.move == Move::kUp       ? w.LineUp()
                           : c.move == Move::kThumb    ? w.ThumbReleased(c.thumb)
                           : c.move == Move::kPageDown ? w.PageDown()
                           : c.move == Move::kPageUp   ? w.PageUp()
                                                       : false;
        EXPECT_EQ(std::tuple(moved, w.Start(), w.End(), w.Thumb(), w.Span()),
                  std::tuple(c.moved, c.start, c.end, c.thumbAfter, c.end - c.start));
    }
}

// A notch of the wheel is one line step, away from the user up; a fine wheel's parts of a
// notch wait until they make one, either way.
TEST(ListWindowTest, WheelNotchesToLineSteps) {
    CWheelSteps wheel;
    std::vector<int> steps;
    for (int delta : {-120, 120, 240, -119, -1, 60, 59, 1, -360})
        steps.push_back(wheel.Add(delta));
    EXPECT_EQ(steps, (std::vector<int>{1, -1, -2, 0, 1, 0, 0, -1, 3}));
    wheel.Add(-100);
    wheel.Reset();
    EXPECT_EQ(wheel.Add(-20), 0);
}

// The column headings carry the channel's name on two lines, as the printed list does; a
// channel without data has none.
TEST_F(DataListTest, ColumnHeadingsNameTheChannels) {
    const uint32_t t0 = Local(2008, 3, 5, 10, 0, 0);
    Fill(*doc.GetChannel(1), t0, 60, {C(20)}, "OVENDOOR");
    Fill(*doc.GetChannel(2), t0, 60, {C(20)}, "ABC\x8e\xba\x8e\xba"); // a lead byte 4th
    Fill(*doc.GetChannel(3), t0, 60, {C(20)}, "ROOF");
    doc.RecalcRanges(RecalcMode::NewData);
    const auto names = [this](int n) {
        const ListColumnTexts c = ListColumn(doc, n);
        return std::tuple(c.name1, c.name2, c.heading);
    };
    EXPECT_EQ(names(1), std::tuple("OVEN", "DOOR", "Ch.1"));
    EXPECT_EQ(names(2), std::tuple("ABC\x8e\xba", "\x8e\xba", "Ch.2"));
    EXPECT_EQ(names(3), std::tuple("ROOF", "", "Ch.3"));
    EXPECT_EQ(names(4), std::tuple("", "", "Ch.4"));
}

TEST_F(DataListTest, FirstSampleAndSpansFollowTheSamples) {
    const uint32_t t0 = Local(2008, 3, 5, 10, 0, 0);
    Fill(*doc.GetChannel(2), t0, 60, std::vector<uint16_t>(30, C(20)));
    Fill(*doc.GetChannel(5), t0 + 25, 10, std::vector<uint16_t>(100, C(21)));
    doc.RecalcRanges(RecalcMode::NewData);
    const ListChannels channels = ChannelsOf(doc);
    const auto first = [&](uint32_t t) { return FirstSampleAtOrAfter(channels, t); };
    // Past channel 5's end only channel 2 is left; past both nothing is.
    EXPECT_EQ((std::array{first(t0), first(t0 + 1), first(t0 + 1100), first(t0 + 3000)}),
              (std::array{t0, t0 + 25, t0 + 1140, 0xFFFFFFFFu}));

    doc.GetChannel(5)->sampleCount = 0; // as after an edit that did not recount
    const std::vector<ListSpan> spans = ListSpansOf(doc);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(std::tuple(spans[0].first, spans[0].last, spans[1].last),
              std::tuple(t0, t0 + 29 * 60, t0 + 25 + 990))
        << "the span follows the samples";
}

TEST_F(DataListTest, ListWindowLineDownShowsEveryRowOfSixOffsetChannels) {
    // Six channels every 10 s, each 1 s after the one before.
    const uint32_t t0 = Local(2008, 3, 5, 10, 0, 0);
    for (int n = 1; n <= 6; ++n)
        Fill(*doc.GetChannel(n), t0 + static_cast<uint32_t>(n - 1), 10,
             std::vector<uint16_t>(40, C(20.0 + n)));
    doc.RecalcRanges(RecalcMode::NewData);
    CListWindow w(doc);
    EXPECT_EQ(w.RowBound(), 60u) << "the list's rows are sized for the fullest window";
    w.Open(t0);

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

TEST_F(DataListTest, ListWindowRows) {
    const uint32_t t0 = Local(2008, 3, 5, 10, 0, 0);
    Fill(*doc.GetChannel(1), t0, 10, {C(21.5), kCodeMissing, kCodeOver, kCodeUnder, C(-0.5)});
    Fill(*doc.GetChannel(2), t0 + 5, 10, std::vector<uint16_t>(5, C(7)));
    doc.RecalcRanges(RecalcMode::NewData);
    doc.m_bShow[1] = 0;

    const std::vector<ListRowTexts> rows = ListWindowRows(doc, t0, t0 + 90);
    ASSERT_EQ(rows.size(), 10u);
    // The cells in the window's style; channel 2 is hidden.
    EXPECT_EQ(std::tuple(rows[0].cells[0], rows[1].cells[0], rows[2].cells[0], rows[3].cells[1]),
              std::tuple("  21.5", "      ", "  --- ", "      "));
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].time, ListTimeText(t0 + 5 * static_cast<uint32_t>(i))) << i;
    EXPECT_TRUE(ListWindowRows(doc, t0 + 90, t0).empty());
}

constexpr PrinterMetrics kA4At600{4960, 7016, 600, 600};

TEST(PrintLayoutTest, DestinationForEachMethod) {
    // clang-format off
    const struct { const char* name; GraphPrintSettings settings; int w, h; PrinterMetrics printer; GraphRect expected; } cases[] = {
        {"scale beyond int", {kPrintScale, 0xFFFFFFFFu, 1}, 400, 300, kA4At600, {0, 0, 0x7FFFFFFF, 300}},
        {"fill of a tall window too", {kPrintFillPaper, 1, 1}, 300, 900, kA4At600, {0, 0, 4960, 7016}},
        {"fit keeps the shape across the width", {kPrintFitPaper, 9, 9}, 800, 600, kA4At600, {0, 0, 4960, 3720}},
        {"fit of a tall window takes the height", {kPrintFitPaper, 1, 1}, 300, 800, kA4At600, {0, 0, 2631, 7016}},
        {"fit with unequal resolutions", {kPrintFitPaper, 1, 1}, 800, 600, {4800, 3200, 600, 300}, {0, 0, 4800, 1800}},
        {"an unknown method fits", {7, 1, 1}, 800, 600, kA4At600, {0, 0, 4960, 3720}},
        {"an empty window prints nothing", {kPrintFillPaper, 1, 1}, 0, 600, kA4At600, {}},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(GraphPrintRect(c.settings, c.w, c.h, c.printer), c.expected) << c.name;
}

TEST(PrintLayoutTest, PageRanges) {
    // clang-format off
    const struct { int count; bool user; int from, to; PageRange expected; } cases[] = {
        {3, false, 2, 2, {1, 3}}, {3, true, 2, 3, {2, 3}}, {3, true, 2, 9, {2, 3}},
        {3, true, 0, 2, {1, 2}},  {3, true, 5, 7, {3, 3}}, {0, true, 1, 3, {0, 0}},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ResolvePageRange(c.count, c.user, c.from, c.to), c.expected)
            << c.count << " " << c.user << " " << c.from << "-" << c.to;
}

TEST(PrintLayoutTest, FreshPdfNames) {
    const std::set<std::string> there = {"/d/run.pdf", "/d/run-2.pdf", "/d/Saroko.pdf"};
    const auto exists = [&](const std::string& f) { return there.count(f) != 0; };
    // clang-format off
    const struct { const char* folder; const char* name; const char* expected; } cases[] = {
        {"/d", "run.klg", "/d/run-3.pdf"},     // two earlier prints
        {"/d/", "new.KLG", "/d/new.pdf"},
        {"/d", "Untitled", "/d/Saroko-2.pdf"},
        {"/e", "a.b.klg", "/e/a.b.pdf"},
        {"", "run.klg", "run.pdf"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FreshPdfName(c.folder, c.name, exists), c.expected) << c.name;
    EXPECT_EQ(FreshPdfName("/f", "x", [](const std::string&) { return true; }), "/f/x.pdf");
}

} // namespace
} // namespace saroko::test
