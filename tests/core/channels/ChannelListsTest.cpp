// The display, delete and reorder dialogs' work copies and what their OK does to the document.
#include <gtest/gtest.h>

#include <cstring>

#include "channels/ChannelLists.h"
#include "channels/ChannelPalette.h"
#include "core/TestSupport.h"

namespace saroko::test {
namespace {

class ChannelListsTest : public DocTest {
protected:
    // The reorder dialog's eight names, row by row.
    static std::vector<std::string> Names(const CChannelOrderWork& w) {
        std::vector<std::string> v;
        for (int n = 1; n <= kChannelCount; ++n)
            v.push_back(w.Name(n));
        return v;
    }
    using V = std::vector<std::string>;
    // Data in the given channels, each named "CHn" and starting an hour apart.
    void Data(std::initializer_list<int> channels) {
        for (int n : channels) {
            const std::string name = "CH" + std::to_string(n);
            Fill(*doc.GetChannel(n), clock.Now() + 3600u * static_cast<uint32_t>(n), 60,
                 {C(20.0 + n), C(21.0 + n), C(22.0 + n)}, name.c_str());
            doc.GetChannel(n)->sensorCode = 1;
        }
        doc.RecalcRanges(1);
    }
};

TEST_F(ChannelListsTest, ClearChannelKeepsNumberStartModelAndConditions) {
    Data({3});
    ChannelRecord& ch = *doc.GetChannel(3);
    ch.measureType = kTypeVoltage;
    ch.interval = 600;
    ch.modelCode = kModelKm41;
    ch.recModeCode = 128;
    ch.statMax = 5;
    const uint32_t start = ch.startTime;
    ClearChannel(ch);
    EXPECT_EQ((std::vector<uint32_t>{ch.number, ch.startTime, ch.modelCode, ch.recModeCode,
                                     ch.sensorCode, ch.present, ch.measureType, ch.interval,
                                     static_cast<uint32_t>(ch.statMax), ch.sampleCount,
                                     ch.samples[0], ch.samples[kMaxSamples - 1]}),
              (std::vector<uint32_t>{3, start, kModelKm41, 128, 1, 0, kTypeTemp13, 1, 0, 0,
                                     kCodeEnd, kCodeEnd}));
    EXPECT_EQ(std::memcmp(ch.name, "\0\0\0\0\0\0\0\0\0", 9), 0);
}

TEST_F(ChannelListsTest, LabelsAndButtonsOfTheDisplayAndDeleteDialogs) {
    Data({1, 2});
    doc.m_bShow[1] = 0;
    doc.m_bShow[4] = 0; // a channel without data keeps whatever flag it had
    CChannelFlagWork show(doc, CChannelFlagWork::Kind::kShow);
    EXPECT_STREQ(show.Label(1), " ＯＮ ");
    EXPECT_STREQ(show.Label(2), "ＯＦＦ");
    EXPECT_STREQ(show.Label(3), "      ");
    EXPECT_FALSE(show.Toggle(3)) << "no data: the button does nothing";
    EXPECT_FALSE(show.Toggle(9));
    EXPECT_TRUE(show.Toggle(1));
    EXPECT_TRUE(show.Toggle(2));
    EXPECT_STREQ(show.Label(1), "ＯＦＦ");
    const uint32_t modified = doc.m_bDataModified;
    const GraphRange range = doc.m_range;
    show.ApplyShow(doc);
    EXPECT_EQ(doc.m_bShow, (std::array<uint32_t, 8>{0, 1, 1, 1, 0, 1, 1, 1}));
    EXPECT_EQ(doc.m_bDataModified, modified);
    EXPECT_EQ(doc.m_range, range) << "no recalculation";

    CChannelFlagWork del(doc, CChannelFlagWork::Kind::kDelete);
    EXPECT_STREQ(del.Label(1), "しない");
    EXPECT_STREQ(del.Label(8), "      ");
    EXPECT_TRUE(del.Toggle(2));
    EXPECT_STREQ(del.Label(2), " する ");
    EXPECT_TRUE(del.Toggle(2));
    EXPECT_STREQ(del.Label(2), "しない");
}

TEST_F(ChannelListsTest, DeletingSomeRecalculatesDeletingAllEmptiesTheDocument) {
    doc.m_bDataModified = 1; // with no data at all a delete empties the document too
    CChannelFlagWork(doc, CChannelFlagWork::Kind::kDelete).ApplyDelete(doc);
    EXPECT_EQ(doc.m_bDataModified, 0u);
    Data({1, 2, 5});
    doc.m_bShow[1] = 0;
    ASSERT_EQ(doc.m_bDataModified, 0u);
    const uint32_t start2 = doc.GetChannel(2)->startTime;
    {
        CChannelFlagWork del(doc, CChannelFlagWork::Kind::kDelete);
        del.Toggle(1);
        del.Toggle(2);
        del.ApplyDelete(doc);
    }
    EXPECT_EQ(doc.GetChannel(1)->present, 0u);
    EXPECT_EQ(doc.GetChannel(2)->startTime, start2) << "a deleted channel keeps its start";
    EXPECT_EQ(doc.m_bShow[1], 1u) << "the display flag of a deleted channel is set again";
    EXPECT_EQ(doc.m_bDataModified, 1u);
    // Channel 5 alone spans 120 s; the data range adds 2.5 % on both sides.
    EXPECT_EQ(doc.m_range.dataStart, doc.GetChannel(5)->startTime - 3) << "ranges from the rest";
    {
        CChannelFlagWork del(doc, CChannelFlagWork::Kind::kDelete);
        del.Toggle(5);
        del.ApplyDelete(doc);
    }
    EXPECT_FALSE(doc.HasAnyData());
    EXPECT_EQ(doc.m_bDataModified, 0u) << "the empty state";
}

TEST(ChannelCellTest, OnlyTheCellsAreTargets) {
    // Cells of 36 x 24: x 0..35, rows at y 0..23, 24..47, ... 168..191.
    // clang-format off
    const struct { int x, y, row; } cases[] = {
        {0, 0, 1}, {35, 23, 1}, {35, 24, 2}, {10, 191, 8}, {36, 5, 0}, {60, 5, 0}, {-1, 5, 0}, {10, -1, 0}, {10, 192, 0},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ChannelCellAt(c.x, c.y, 36, 24), c.row) << c.x << "," << c.y;
}

TEST_F(ChannelListsTest, ReorderMovesNamesWithTheirChannelsAndUndoRestores) {
    Data({1, 2, 4});
    CChannelOrderWork w(doc);
    w.Sort(0, 1); // From Ch.1 To Ch.2: old 2 shifts into the empty row 3
    EXPECT_EQ(std::pair(w.From(), w.To()), std::pair(1, 2));
    EXPECT_EQ(Names(w), (V{"", "CH1", "CH2", "CH4", "", "", "", ""}));
    EXPECT_FALSE(w.Present(1));
    w.Sort(0, 5); // row 1 is empty now: nothing moves, the lists remember the items
    EXPECT_EQ(std::pair(w.From(), w.To()), std::pair(1, 6));
    EXPECT_EQ(w.Name(2), "CH1");
    w.Sort(-1, 3); // no selection in one list
    EXPECT_EQ(w.To(), 6);
    w.BeginDrag(4);
    EXPECT_EQ(w.DragRow(), 4);
    w.EndDrag(1); // CH4 to the empty row 1: a swap
    const V swapped{"CH4", "CH1", "CH2", "", "", "", "", ""};
    EXPECT_EQ(Names(w), swapped);
    EXPECT_EQ(w.Order(), (ChannelOrder{4, 1, 2, 3, 5, 6, 7, 8})) << "empty Ch.3 takes row 4";
    w.BeginDrag(5); // an empty row starts no drag
    EXPECT_EQ(w.DragRow(), 0);
    w.EndDrag(1);
    w.BeginDrag(2);
    w.EndDrag(0); // released outside the rows
    EXPECT_EQ(Names(w), swapped);

    w.Reset();
    EXPECT_EQ(w.Order(), (ChannelOrder{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Names(w), (V{"CH1", "CH2", "", "CH4", "", "", "", ""}));
    EXPECT_EQ(std::pair(w.From(), w.To()), std::pair(1, 1));
}

TEST_F(ChannelListsTest, ReorderOkRenumbersAndLeavesColourAndDisplayWithTheRow) {
    Data({1, 2, 3, 4, 5, 6, 7, 8});
    doc.m_bShow[4] = 0; // row 5 hidden
    const uint32_t modified = doc.m_bDataModified;
    const uint32_t start2 = doc.GetChannel(2)->startTime;
    CChannelOrderWork w(doc);
    w.Sort(1, 4); // From 2 To 5
    w.Accept();
    ASSERT_TRUE(w.Apply(doc));
    EXPECT_EQ(std::string(doc.GetChannel(5)->name), "CH2");
    EXPECT_EQ(doc.GetChannel(5)->startTime, start2);
    EXPECT_EQ(std::string(doc.GetChannel(2)->name), "CH3");
    EXPECT_EQ(doc.m_bShow[4], 0u) << "the display flag stays with row 5";
    EXPECT_EQ(doc.m_bDataModified, modified);
    EXPECT_EQ(ChannelPaletteIndex(static_cast<int>(doc.GetChannel(5)->number)), 4)
        << "old Ch.2 now draws in Ch.5's colour";
}

} // namespace
} // namespace saroko::test
