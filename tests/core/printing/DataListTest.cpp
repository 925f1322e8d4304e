// The data list's row merge, cell texts, heading pieces and printed pages.
#include <gtest/gtest.h>

#include <cstring>

#include "core/TestSupport.h"
#include "printing/DataList.h"

namespace saroko::test {
namespace {

constexpr int32_t N = kNoSample;

// Times are offsets from the test's base time; a row holds the codes of channels 1 and 2.
// clang-format off
struct ChannelSetup { int number; uint32_t startOffset, interval; int count; };
struct ExpectedRow { uint32_t offset; std::array<int32_t, 2> codes; };
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
    // A 1 s channel of plain temperatures for page tests.
    void Temperatures(int number, uint32_t start, int count, uint32_t interval = 1) {
        std::vector<uint16_t> codes;
        for (int i = 0; i < count; ++i)
            codes.push_back(C(20.0 + i * 0.1));
        Fill(*doc.GetChannel(number), start, interval, codes, "TEMP");
    }
};

TEST_F(DataListTest, MergeInterleavesChannelsByTime) {
    // clang-format off
    const std::vector<MergeCase> cases = {
        {"shared times share a row", {{1, 0, 10, 3}, {2, 0, 10, 2}}, 0, 100, 10, {{0, {S(1, 0), S(2, 0)}}, {10, {S(1, 1), S(2, 1)}}, {20, {S(1, 2), N}}}},
        {"a slower channel joins every sixth row", {{1, 0, 10, 7}, {2, 0, 60, 2}}, 0, 1000, 10, {{0, {S(1, 0), S(2, 0)}}, {10, {S(1, 1), N}}, {20, {S(1, 2), N}}, {30, {S(1, 3), N}}, {40, {S(1, 4), N}}, {50, {S(1, 5), N}}, {60, {S(1, 6), S(2, 1)}}}},
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
        while (merge.Next(row) && got.size() < 100) {
            for (int k = 2; k < kChannelCount; ++k)
                EXPECT_EQ(row.codes[static_cast<std::size_t>(k)], N);
            got.push_back({row.time - kBase, {row.codes[0], row.codes[1]}});
        }
        ASSERT_EQ(got.size(), c.rows.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(std::pair(got[i].offset, got[i].codes),
                      std::pair(c.rows[i].offset, c.rows[i].codes))
                << "row " << i;
        EXPECT_EQ(
            CountListRows(ChannelsOf(doc), kBase + c.firstOffset, kBase + c.lastOffset, c.step),
            static_cast<int>(c.rows.size()));
    }
}

TEST_F(DataListTest, CellTexts) {
    ChannelRecord& ch = *doc.GetChannel(1);
    Temperatures(1, kBase, 1);
    ch.measureType = kTypeTemp13;
    // clang-format off
    const struct { const char* name; int32_t code; bool shown; uint32_t unitCF; const char* print; const char* window; } cases[] = {
        {"value degC", C(23.5), true, 0, "  23.5", "  23.5"},
        {"negative degC", C(-12.3), true, 0, " -12.3", " -12.3"},
        {"value degF", C(100.0), true, 1, " 212.0", " 212.0"},
        {"missing", kCodeMissing, true, 0, " ---- ", "  --- "},
        {"over", kCodeOver, true, 0, " Over ", "  Over"},
        {"under", kCodeUnder, true, 0, " Under", " Under"},
        {"hidden", C(23.5), false, 0, "      ", "      "},
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
}

TEST_F(DataListTest, TimeTextIsLocal) {
    EXPECT_EQ(ListTimeText(Local(2008, 3, 5, 9, 4, 7)), "2008/03/05  9:04'07");
    EXPECT_EQ(ListTimeText(Local(1999, 12, 31, 23, 59, 59)), "1999/12/31 23:59'59");
    // Summer time in Berlin: the fields, not the offset, decide the text.
    EXPECT_EQ(ListTimeText(Local(2020, 7, 1, 12, 0, 0)), "2020/07/01 12:00'00");
}

TEST_F(DataListTest, NameSplitKeepsDoubleByteCharactersWhole) {
    // clang-format off
    const struct { const char* name; const char* bytes; const char* first; const char* second; } cases[] = {
        {"ascii", "ABCDEFGH", "ABCD", "EFGH"},
        {"short", "AB", "AB", ""},
        {"half-width kana", "\xB1\xB2\xB3\xB4\xB5", "\xB1\xB2\xB3\xB4", "\xB5"},
        {"4th byte leads", "abc\x82\xA0xyz", "abc\x82\xA0", "xyz"},
        {"kanji from the 2nd byte", "a\x82\xA0\x82\xA2\x82\xA4", "a\x82\xA0\x82\xA2", "\x82\xA4"},
        // The 4th byte is a trail byte that looks like a lead byte (亜 is 88 9F).
        {"trail in lead range", "ab\x88\x9F\x82\xA2", "ab\x88\x9F", "\x82\xA2"},
        {"empty", "", "", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelRecord ch;
        std::strncpy(ch.name, c.bytes, 8);
        EXPECT_EQ(SplitChannelName(ch), std::pair(std::string(c.first), std::string(c.second)));
    }
}

TEST_F(DataListTest, FileNameCutInCp932Bytes) {
    // clang-format off
    const struct { std::string_view in; std::size_t max; std::string_view out; } cases[] = {
        {"abc.klg", 16, "abc.klg"},
        {"abcdefghijklmnopqrst.klg", 16, "abcdefghijklmnop"},
        {"測定データ012.klg", 16, "測定データ012.kl"},
        {"測定データ012.klg", 13, "測定データ012"},
        {"ab測定", 3, "ab"},
        {"ﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀ.klg", 16, "ﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀ"},
        {"été.klg", 16, "été.klg"},
        {"", 16, ""},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(CutToCp932Bytes(c.in, c.max), c.out) << c.in;
}

TEST_F(DataListTest, PageGeometry) {
    EXPECT_EQ(ListPageSizeOf(210, 297), (ListPageSize{826, 1169}));
    EXPECT_EQ(ListPageSizeOf(203, 266), (ListPageSize{799, 1047}));
    // clang-format off
    const struct { int rows, height, perPage, pages; } cases[] = {
        {100, 1169, 49, 3}, {49, 1169, 49, 1}, {50, 1169, 49, 2}, {98, 1169, 49, 2},
        {0, 1169, 49, 0},   {1, 142, 1, 1},    {5, 141, 0, 0},    {5, 100, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ListRowsPerPage(c.height), c.perPage) << c.height;
        EXPECT_EQ(ListPageCount(c.rows, c.height), c.pages) << c.rows << " / " << c.height;
    }
}

class ListPrintTest : public DataListTest {
protected:
    static const ListText* At(const ListPage& p, int x, int y) {
        for (const ListText& t : p.texts)
            if (t.x == x && t.y == y)
                return &t;
        return nullptr;
    }
    static std::string TextAt(const ListPage& p, int x, int y) {
        const ListText* t = At(p, x, y);
        return t ? t->text : "<none>";
    }
    CBasicCp932Codec codec;
};

TEST_F(ListPrintTest, HeadingOnEveryPage) {
    Temperatures(1, kBase, 60);
    std::strcpy(doc.GetChannel(1)->name, "ABCDEFGH");
    Temperatures(3, kBase, 60);
    std::strcpy(doc.GetChannel(3)->name, "\xB1\xB2\xB3\xB4\xB5"); // ｱｲｳｴｵ
    doc.GetChannel(3)->measureType = kTypeVoltage;
    doc.RecalcRanges(1);
    doc.SetPathName("/home/user/measurements-of-june.klg");
    CDataListPrint job(doc, codec, 1169);
    ASSERT_EQ(job.PageCount(), 2);
    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        const ListPage p = job.NextPage();
        EXPECT_EQ(p.number, n);
        // clang-format off
        const std::tuple<int, int, std::string> texts[] = {
            {21, 10, "＜測定データ リスト＞"}, {405, 10, "ﾌｧｲﾙ名:measurements-of-"},
            {615, 10, "Page " + std::to_string(n)}, {88, 82, "日  時"}, {218, 48, "ABCD"},
            {218, 64, "EFGH"}, {220, 82, "ﾟC "}, {218 + 114, 48, "ｱｲｳｴ"}, {218 + 114, 64, "ｵ"},
            {220 + 114, 82, " V "},
            {220 + 57, 82, "   "}, // a channel without data: a blank unit, no name
        };
        // clang-format on
        for (const auto& [x, y, text] : texts)
            EXPECT_EQ(TextAt(p, x, y), text) << x << "," << y;
        EXPECT_EQ(At(p, 218 + 57, 48), nullptr);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(TextAt(p, 220 + 57 * k, 102), "ch." + std::to_string(k + 1));
        ASSERT_EQ(p.lines.size(), 11u);
        EXPECT_EQ(p.lines[0], (ListLine{21, 99, 661, 99}));
        EXPECT_EQ(p.lines[1], (ListLine{21, 92, 21, 106}));
        EXPECT_EQ(p.lines[10], (ListLine{661, 92, 661, 106}));
    }
}

TEST_F(ListPrintTest, RowsFillPagesAndContinueAcrossThem) {
    // 100 seconds of two 1 s channels: 100 rows, 49 on a page of 297 mm.
    Temperatures(1, kBase, 100);
    Temperatures(2, kBase, 100);
    doc.RecalcRanges(1);
    doc.GetRange()->viewStart = kBase;
    doc.GetRange()->viewEnd = kBase + 99;
    CDataListPrint job(doc, codec, ListPageSizeOf(210, 297).height);
    EXPECT_EQ(job.RowCount(), 100);
    ASSERT_EQ(job.PageCount(), 3);
    const ListPage p1 = job.NextPage();
    EXPECT_EQ(p1.rows, 49);
    EXPECT_EQ(TextAt(p1, 32, 121), ListTimeText(kBase));
    EXPECT_EQ(TextAt(p1, 213, 121), "  20.0");
    EXPECT_EQ(TextAt(p1, 213 + 57, 121), "  20.0");
    EXPECT_EQ(TextAt(p1, 213 + 114, 121), "      ");
    EXPECT_EQ(TextAt(p1, 32, 121 + 21 * 48), ListTimeText(kBase + 48));
    EXPECT_EQ(At(p1, 32, 121 + 21 * 49), nullptr);
    const ListPage p2 = job.NextPage();
    EXPECT_EQ(p2.rows, 49);
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
    EXPECT_EQ(q3.number, 3);
    EXPECT_EQ(q3.rows, 2);
    EXPECT_EQ(TextAt(q3, 32, 121), ListTimeText(kBase + 98));
}

TEST_F(ListPrintTest, OnlyTheShownWindowIsListedAndAHiddenChannelIsBlankButKeepsItsTime) {
    Temperatures(1, kBase, 10, 10);
    Fill(*doc.GetChannel(2), kBase + 5, 10, std::vector<uint16_t>(10, C(20.0)));
    doc.RecalcRanges(1);
    doc.m_bShow[0] = 0;
    doc.GetRange()->viewStart = kBase + 10;
    doc.GetRange()->viewEnd = kBase + 89;
    CDataListPrint job(doc, codec, 1169);
    EXPECT_EQ(job.RowCount(), 16);
    const ListPage p = job.NextPage();
    EXPECT_EQ(TextAt(p, 405, 10), "ﾌｧｲﾙ名:") << "untitled: the label alone";
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        const int y = 121 + 21 * i;
        EXPECT_EQ(TextAt(p, 32, y), ListTimeText(kBase + 10 + 5 * static_cast<uint32_t>(i)));
        EXPECT_EQ(TextAt(p, 213, y), "      ");
        EXPECT_EQ(TextAt(p, 270, y), i % 2 ? "  20.0" : "      ");
    }
    EXPECT_EQ(At(p, 32, 121 + 21 * 16), nullptr);
    doc.GetRange()->viewStart = kBase + 100; // no rows, no pages
    doc.GetRange()->viewEnd = kBase + 200;
    CDataListPrint none(doc, codec, 1169);
    EXPECT_EQ(std::pair(none.RowCount(), none.PageCount()), std::pair(0, 0));
}

} // namespace
} // namespace saroko::test
