// The channel lists and moves (display, delete and reorder dialogs, the legend drag), the
// palette and the colour dialog's rules, and the dialog framework's integer field.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "core/TestSupport.h"
#include "core/channels/ChannelLists.h"
#include "core/channels/ChannelMoves.h"
#include "core/channels/ChannelPalette.h"
#include "core/channels/ColorWork.h"
#include "core/text/ParseInteger.h"

namespace saroko::test {
namespace {

constexpr ChannelOrder kIdentity{1, 2, 3, 4, 5, 6, 7, 8};

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
        doc.RecalcRanges(RecalcMode::NewData);
    }
    std::string NameOf(int n) { return doc.GetChannel(n)->name; }
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

TEST_F(ChannelListsTest, DisplayDialogTogglesOnlyChannelsWithDataAndRecalculatesNothing) {
    Data({1, 2});
    doc.m_bShow[1] = 0;
    doc.m_bShow[4] = 0; // a channel without data keeps whatever flag it had
    CChannelFlagWork show(doc, CChannelFlagWork::Kind::kShow);
    EXPECT_EQ((std::array{show.Toggle(9), show.Toggle(1), show.Toggle(2)}),
              (std::array{false, true, true}));
    const uint32_t modified = doc.m_bDataModified;
    const GraphRange range = doc.m_range; // no recalculation
    show.ApplyShow(doc);
    EXPECT_EQ(std::tuple(doc.m_bShow, doc.m_bDataModified, doc.m_range),
              std::tuple(std::array<uint32_t, 8>{0, 1, 1, 1, 0, 1, 1, 1}, modified, range));
}

TEST_F(ChannelListsTest, DeletingSomeRecalculatesDeletingAllEmptiesTheDocument) {
    const auto remove = [this](std::initializer_list<int> channels) {
        CChannelFlagWork del(doc, CChannelFlagWork::Kind::kDelete);
        for (int n : channels)
            del.Toggle(n);
        del.ApplyDelete(doc);
    };
    doc.m_bDataModified = 1; // with no data at all a delete empties the document too
    remove({});
    EXPECT_EQ(doc.m_bDataModified, 0u);
    Data({1, 2, 5});
    doc.m_bShow[1] = 0;
    ASSERT_EQ(doc.m_bDataModified, 0u);
    const uint32_t start2 = doc.GetChannel(2)->startTime;
    remove({1, 2});
    // A deleted channel keeps its start and has its display flag set again; channel 5 alone
    // spans 120 s, and the data range adds 2.5 % on both sides.
    EXPECT_EQ(std::tuple(doc.GetChannel(1)->present, doc.GetChannel(2)->startTime, doc.m_bShow[1],
                         doc.m_bDataModified, doc.m_range.dataStart),
              std::tuple(0u, start2, 1u, 1u, doc.GetChannel(5)->startTime - 3));
    remove({5});
    EXPECT_EQ(std::pair(doc.HasAnyData(), doc.m_bDataModified), std::pair(false, 0u));
}

TEST_F(ChannelListsTest, ReorderMovesNamesWithTheirChannelsAndUndoRestores) {
    Data({1, 2, 4});
    CChannelOrderWork w(doc);
    w.Sort(0, 1);  // From Ch.1 To Ch.2: old 2 shifts into the empty row 3
    w.Sort(0, 5);  // row 1 is empty now: nothing moves
    w.Sort(-1, 3); // no selection in one list
    w.BeginDrag(4);
    w.EndDrag(1); // CH4 to the empty row 1: a swap
    EXPECT_EQ(Names(w), (V{"CH4", "CH1", "CH2", "", "", "", "", ""}));
    EXPECT_EQ(w.Order(), (ChannelOrder{4, 1, 2, 3, 5, 6, 7, 8})) << "empty Ch.3 takes row 4";

    w.Reset();
    EXPECT_EQ(w.Order(), kIdentity);
    EXPECT_EQ(Names(w), (V{"CH1", "CH2", "", "CH4", "", "", "", ""}));
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
    // The display flag stays with row 5; old Ch.2 now draws in Ch.5's colour.
    EXPECT_EQ(std::tuple(NameOf(5), doc.GetChannel(5)->startTime, NameOf(2), doc.m_bShow[4],
                         doc.m_bDataModified,
                         ChannelPaletteIndex(static_cast<int>(doc.GetChannel(5)->number))),
              std::tuple("CH2", start2, "CH3", 0u, modified, 4));
}

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
        EXPECT_EQ(std::pair(order, present), std::pair(c.order, c.presentAfter)) << c.what;
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

TEST_F(ChannelListsTest, LegendDragRenumbersTheRecordsAndLeavesFlagsWithTheRow) {
    Data({1, 2, 4});
    doc.m_bShow = {1, 0, 1, 1, 1, 1, 1, 1};
    const ChannelRecord* one = doc.GetChannel(1);
    ASSERT_TRUE(ApplyLegendDrag(doc, 2 + 10 * 1)); // row 1 onto row 2
    // The record itself moves, contents untouched; the hidden flag stays with row 2 and now
    // hides old Ch.1; no data changed.
    EXPECT_EQ(std::tuple(doc.GetChannel(2), V{NameOf(2), NameOf(3), NameOf(4)},
                         doc.GetChannel(1)->present, doc.m_bShow, doc.m_bDataModified),
              std::tuple(one, V{"CH1", "CH2", "CH4"}, 0u,
                         std::array<uint32_t, 8>{1, 0, 1, 1, 1, 1, 1, 1}, 0u));
    for (int n = 1; n <= kChannelCount; ++n)
        EXPECT_EQ(doc.GetChannel(n)->number, static_cast<uint32_t>(n));
}

TEST_F(ChannelListsTest, BadMessagesAndOrdersChangeNothingAndToggleNeedsData) {
    Data({1, 2, 4});
    for (uint32_t w : {90u, 80u, 9u, 0u, 19u, 100u, 111u}) {
        EXPECT_FALSE(ApplyLegendDrag(doc, w)) << w;
        EXPECT_EQ((V{NameOf(1), NameOf(4)}), (V{"CH1", "CH4"})) << w;
    }
    // Two rows for one record would leave another number without a record.
    EXPECT_FALSE(RenumberChannels(doc, {1, 1, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(RenumberChannels(doc, {0, 2, 3, 4, 5, 6, 7, 8}));
    for (int n = 1; n <= kChannelCount; ++n)
        ASSERT_NE(doc.GetChannel(n), nullptr) << n;
    EXPECT_EQ(NameOf(1), "CH1");

    doc.m_bShow[0] = 7; // anything but 1 counts as off
    EXPECT_EQ((std::array{ToggleChannelShow(doc, 1), ToggleChannelShow(doc, 3),
                          ToggleChannelShow(doc, 9)}),
              (std::array{true, false, false}));
    EXPECT_EQ(doc.m_bShow, (std::array<uint32_t, 8>{1, 1, 1, 1, 1, 1, 1, 1}));
}

PaletteEntries Defaults() {
    PaletteEntries e;
    SetDefaultPalette(e);
    return e;
}

TEST(PaletteTest, DefaultTableAndStoredValuesWithTheirLowEightBits) {
    CMemorySettingsStore store;
    store.WriteInt(kChannelColorSection, "Ch.1Green", -1);
    store.WriteInt(kChannelColorSection, "Ch.8Blue", 256 + 17);
    store.WriteInt(kChannelColorSection, "Ch.8Flags", 0);
    store.WriteInt(kChannelColorSection, "Ch.9Red", 5); // not a channel entry
    const std::size_t writes = store.WriteCount();
    const CChannelPalette pal(store);
    const std::vector<PaletteEntry> expected = {
        {255, 255, 175, 1}, {232, 172, 0, 1}, {0, 182, 255, 1}, {255, 127, 0, 1},
        {191, 0, 255, 1},   {255, 0, 0, 1},   {0, 207, 0, 1},   {0, 0, 17, 0}};
    EXPECT_EQ(std::vector<PaletteEntry>(pal.Entries().begin(), pal.Entries().begin() + 8),
              expected);
    EXPECT_EQ(store.WriteCount(), writes) << "reading never writes";
}

TEST(PaletteTest, SaveWritesTheThirtyTwoKeysAndRoundTrips) {
    PaletteEntries entries = Defaults();
    for (int i = 0; i < 8; ++i)
        entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(10 + i),
                      static_cast<uint8_t>(20 + i), static_cast<uint8_t>(i % 2)};
    entries[9] = {1, 2, 3, 1}; // fixed entries are never stored
    CMemorySettingsStore store;
    SaveChannelColors(store, entries);
    EXPECT_EQ(store.WriteCount(), 32u);
    PaletteEntries loaded = Defaults();
    LoadChannelColors(store, loaded);
    PaletteEntries want = entries;
    want[9] = {0, 0, 0, 1};
    EXPECT_EQ(loaded, want);
}

TEST(PaletteTest, AnimationChangesTheEntriesGivenAndStopsAtTheEnd) {
    CChannelPalette pal;
    const PaletteEntry red[2] = {{9, 8, 7, 1}, {6, 5, 4, 1}};
    pal.AnimatePalette(3, 2, red);
    EXPECT_EQ((std::array{pal.Entry(3), pal.Entry(4), pal.Entry(5)}),
              (std::array{red[0], red[1], PaletteEntry{255, 0, 0, 1}}));
    pal.AnimatePalette(22, 2, red); // runs past the end: only entry 22 changes
    EXPECT_EQ(pal.Entry(22), red[0]);
}

TEST(ParseIntegerTest, Table) {
    // clang-format off
    const struct { const char* text; int ok; int value; } cases[] = {
        {"7", 1, 7}, {"  7", 1, 7}, {"7  ", 1, 7}, {" 0042 ", 1, 42}, {"2147483647", 1, INT_MAX},
        {"99999999999999999999", 1, INT_MAX}, // too long for an int: saturates
        {"1 2", 0, 0}, {"-5", 0, 0}, {"+5", 0, 0}, {"", 0, 0}, {"   ", 0, 0}, {"5a", 0, 0},
        {"\t5", 0, 0}, {"1.5", 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        int v = -1;
        EXPECT_EQ(ParseInteger(c.text, v), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(v, c.ok ? c.value : -1) << '"' << c.text << '"';
    }
}

TEST(ColorWorkTest, ComponentFieldsReadThreeCharactersAndCheckTheRange) {
    // clang-format off
    // The field, the text left in it, the message, the component afterwards.
    const struct { int component; const char* text; int message, value; } cases[] = {
        {kRed, "  7", 0, 7},         {kRed, "7  ", 0, 7},      {kGreen, "1000", 0, 100},
        {kBlue, "255", 0, 255},      {kBlue, "0", 0, 0},       {kRed, "1 2", 57728, 255},
        {kGreen, "-5", 57729, 172},  {kBlue, "", 57730, 0},    {kRed, "256", 57731, 255},
        {kGreen, "300", 57732, 172}, {kBlue, "999", 57733, 0}, {kRed, "ab1", 57728, 255},
    };
    // clang-format on
    for (const auto& c : cases) {
        CChannelColorWork w(Defaults());
        w.Select(2); // entry 1: 232, 172, 0
        if (c.component == kRed)
            w.Scroll(kRed, ScrollAction::kThumbPosition, 255);
        const EditResult r = w.LeaveEdit(c.component, c.text);
        // The field keeps what was typed.
        EXPECT_EQ(std::tuple(r.checked, r.messageId, w.Component(c.component), w.Valid(), r.text),
                  std::tuple(true, c.message, c.value, c.message == 0, c.text))
            << '"' << c.text << '"';
    }
}

TEST(ColorWorkTest, ARejectedValueBlocksUntilTheNextAcceptedOne) {
    CChannelColorWork w(Defaults());
    w.Select(1);
    EXPECT_EQ((std::pair{w.LeaveEdit(kRed, "300").messageId, w.Valid()}), std::pair(57731, false));
    w.SetErrorEdit(kIdcRedEdit);
    EXPECT_FALSE(w.LeaveEdit(kRed, "300").checked) << "no second check while the box is open";
    w.SetErrorEdit(0);
    EXPECT_EQ((std::pair{w.LeaveEdit(kRed, "30").changed, w.Valid()}), std::pair(true, true));
    EXPECT_EQ((std::pair<int, int>(w.Work()[0].red, w.Original()[0].red)), std::pair(30, 255));
}

TEST(ColorWorkTest, ScrollBarsStepWithinTheRangeAndOnlyWithASelection) {
    CChannelColorWork w(Defaults());
    const EditResult r = w.LeaveEdit(kGreen, "77");
    EXPECT_EQ(std::tuple(r.messageId, r.text, r.changed), std::tuple(0, "  0", false));
    EXPECT_FALSE(w.Scroll(kRed, ScrollAction::kLineRight));
    EXPECT_EQ(w.Work(), Defaults());
    w.Select(8); // 0, 0, 255: red already 0, blue already 255
    EXPECT_EQ((std::array{w.Scroll(kRed, ScrollAction::kLineLeft),
                          w.Scroll(kBlue, ScrollAction::kLineRight),
                          w.Scroll(kGreen, ScrollAction::kThumbPosition, 9)}),
              (std::array{false, false, true}));
    EXPECT_EQ(w.ComponentText(kGreen), "  9");
}

TEST(ColorWorkTest, DefaultsThenOkStoresTheDefaultsAndCancelKeepsTheOriginal) {
    PaletteEntries mine = Defaults();
    mine[3] = {1, 2, 3, 1};
    CChannelColorWork w(mine);
    w.Defaults();
    EXPECT_EQ(w.Original(), mine) << "Cancel animates these back";
    CMemorySettingsStore store;
    w.Save(store);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.4Red", -1), 255);
}

} // namespace
} // namespace saroko::test
