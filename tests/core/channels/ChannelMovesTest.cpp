// Moving channels between row numbers: the move rule's forward and backward walks, the
// renumbering of the records, the legend drag with rows that hold no data, and the guards of
// the legend's messages.
#include <gtest/gtest.h>

#include <cstring>

#include "channels/ChannelMoves.h"
#include "core/TestSupport.h"

namespace saroko::test {
namespace {

constexpr ChannelOrder kIdentity{1, 2, 3, 4, 5, 6, 7, 8};

TEST(MoveChannelTest, WalksForwardToAFreeRowOrBackwardWhenTheEndIsFull) {
    // clang-format off
    const struct { const char* what; ChannelPresence present; int from, to; ChannelOrder order; ChannelPresence presentAfter; } cases[] = {
        {"all full, down: plain move", {1, 1, 1, 1, 1, 1, 1, 1}, 2, 5, {1, 3, 4, 5, 2, 6, 7, 8}, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"all full, up: plain move", {1, 1, 1, 1, 1, 1, 1, 1}, 5, 2, {1, 5, 2, 3, 4, 6, 7, 8}, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"rows 1, 2, 4: old 2 shifts into row 3, row 1 empties", {1, 1, 0, 1, 0, 0, 0, 0}, 1, 2, {3, 1, 2, 4, 5, 6, 7, 8}, {0, 1, 1, 1, 0, 0, 0, 0}},
        {"rows 1 and 3: swap with the empty row 2", {1, 0, 1, 0, 0, 0, 0, 0}, 1, 2, {2, 1, 3, 4, 5, 6, 7, 8}, {0, 1, 1, 0, 0, 0, 0, 0}},
        {"row 8 empty: the forward walk stops there", {1, 1, 1, 1, 1, 1, 1, 0}, 2, 7, {1, 8, 3, 4, 5, 6, 2, 7}, {1, 0, 1, 1, 1, 1, 1, 1}},
        {"full to the end: backward to the empty row 3", {1, 1, 0, 1, 1, 1, 1, 1}, 1, 5, {3, 2, 4, 5, 1, 6, 7, 8}, {0, 1, 1, 1, 1, 1, 1, 1}},
        {"full to the end, nothing free above: back to the source", {0, 1, 1, 1, 1, 1, 1, 1}, 2, 8, {1, 3, 4, 5, 6, 7, 8, 2}, {0, 1, 1, 1, 1, 1, 1, 1}},
        {"onto the last row when it is free", {1, 1, 1, 1, 1, 1, 1, 0}, 1, 8, {8, 2, 3, 4, 5, 6, 7, 1}, {0, 1, 1, 1, 1, 1, 1, 1}},
        {"same row", {1, 1, 1, 1, 1, 1, 1, 1}, 3, 3, kIdentity, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"row 0", {1, 1, 1, 1, 1, 1, 1, 1}, 0, 3, kIdentity, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"row 9", {1, 1, 1, 1, 1, 1, 1, 1}, 2, 9, kIdentity, {1, 1, 1, 1, 1, 1, 1, 1}},
    };
    // clang-format on
    for (const auto& c : cases) {
        ChannelOrder order = kIdentity;
        ChannelPresence present = c.present;
        MoveChannel(order, present, c.from, c.to);
        EXPECT_EQ(order, c.order) << c.what;
        EXPECT_EQ(present, c.presentAfter) << c.what;
    }
}

TEST(LegendDragTest, FreeRowsTakeTheEmptyChannelsInAscendingOrder) {
    // clang-format off
    const struct { const char* what; ChannelPresence present; int source, target; ChannelOrder rows; } cases[] = {
        {"all full", {1, 1, 1, 1, 1, 1, 1, 1}, 2, 5, {1, 3, 4, 5, 2, 6, 7, 8}},
        {"rows 1, 2, 4", {1, 1, 0, 1, 0, 0, 0, 0}, 1, 2, {3, 1, 2, 4, 5, 6, 7, 8}},
        {"rows 1 and 3: swap", {1, 0, 1, 0, 0, 0, 0, 0}, 1, 2, {2, 1, 3, 4, 5, 6, 7, 8}},
        {"onto an empty row far down", {1, 1, 0, 0, 0, 0, 0, 0}, 1, 7, {3, 2, 4, 5, 6, 7, 1, 8}},
        {"the emptied source stops the backward walk", {0, 1, 1, 1, 1, 1, 1, 1}, 3, 6, {1, 2, 4, 5, 6, 3, 7, 8}},
        {"upwards over full rows", {1, 1, 1, 0, 1, 1, 0, 1}, 6, 2, {1, 6, 2, 3, 5, 4, 7, 8}},
        {"onto itself", {1, 0, 1, 0, 1, 0, 1, 0}, 3, 3, kIdentity},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(LegendDragOrder(c.present, c.source, c.target), c.rows) << c.what;
}

class ChannelMovesDocTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        Fill(*doc.GetChannel(1), 1000, 10, {C(20.0)}, "one");
        Fill(*doc.GetChannel(2), 1000, 10, {C(21.0)}, "two");
        Fill(*doc.GetChannel(4), 1000, 10, {C(22.0)}, "four");
        doc.RecalcRanges(1);
    }
    std::string NameOf(int n) { return doc.GetChannel(n)->name; }
};

TEST_F(ChannelMovesDocTest, LegendDragRenumbersTheRecordsAndLeavesFlagsWithTheRow) {
    doc.m_bShow = {1, 0, 1, 1, 1, 1, 1, 1};
    const ChannelRecord* one = doc.GetChannel(1);
    ASSERT_TRUE(ApplyLegendDrag(doc, 2 + 10 * 1)); // row 1 onto row 2
    EXPECT_EQ(doc.GetChannel(2), one) << "the record itself moves, contents untouched";
    EXPECT_EQ(NameOf(2), "one");
    EXPECT_EQ(NameOf(3), "two");
    EXPECT_EQ(NameOf(4), "four");
    EXPECT_EQ(doc.GetChannel(1)->present, 0u);
    EXPECT_EQ(doc.m_bShow, (std::array<uint32_t, 8>{1, 0, 1, 1, 1, 1, 1, 1}))
        << "the hidden flag stays with row 2 and now hides old Ch.1";
    for (int n = 1; n <= kChannelCount; ++n)
        EXPECT_EQ(doc.GetChannel(n)->number, static_cast<uint32_t>(n));
    EXPECT_EQ(doc.m_bDataModified, 0u) << "no data changed";
}

TEST_F(ChannelMovesDocTest, MessagesWithADigitOutsideOneToEightDoNothing) {
    for (uint32_t w : {90u, 80u, 9u, 0u, 19u, 100u, 111u}) {
        EXPECT_FALSE(ApplyLegendDrag(doc, w)) << w;
        EXPECT_EQ(NameOf(1), "one") << w;
        EXPECT_EQ(NameOf(4), "four") << w;
    }
}

TEST_F(ChannelMovesDocTest, AnOrderThatIsNotAPermutationIsRefused) {
    // Two rows for one record would leave another number without a record.
    EXPECT_FALSE(RenumberChannels(doc, {1, 1, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(RenumberChannels(doc, {0, 2, 3, 4, 5, 6, 7, 8}));
    for (int n = 1; n <= kChannelCount; ++n)
        ASSERT_NE(doc.GetChannel(n), nullptr) << n;
    EXPECT_EQ(NameOf(1), "one");
}

TEST_F(ChannelMovesDocTest, ToggleFlipsOnlyChannelsWithData) {
    EXPECT_TRUE(ToggleChannelShow(doc, 2));
    EXPECT_EQ(doc.m_bShow[1], 0u);
    EXPECT_TRUE(ToggleChannelShow(doc, 2));
    EXPECT_EQ(doc.m_bShow[1], 1u);
    doc.m_bShow[0] = 7; // anything but 1 counts as off
    EXPECT_TRUE(ToggleChannelShow(doc, 1));
    EXPECT_EQ(doc.m_bShow[0], 1u);
    EXPECT_FALSE(ToggleChannelShow(doc, 3));
    EXPECT_FALSE(ToggleChannelShow(doc, 9));
    EXPECT_EQ(doc.m_bShow[2], 1u);
}

} // namespace
} // namespace saroko::test
