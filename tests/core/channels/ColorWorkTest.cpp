// The colour dialog's rules: the component fields (three characters read), the scroll bars,
// the selection, the validity that guards OK and Cancel, and what OK stores.
#include <gtest/gtest.h>

#include "channels/ColorWork.h"

namespace saroko::test {
namespace {

PaletteEntries Defaults() {
    PaletteEntries e;
    SetDefaultPalette(e);
    return e;
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
        EXPECT_TRUE(r.checked);
        EXPECT_EQ(r.messageId, c.message) << '"' << c.text << '"';
        EXPECT_EQ(w.Component(c.component), c.value) << '"' << c.text << '"';
        EXPECT_EQ(w.Valid(), c.message == 0);
        EXPECT_EQ(r.text, c.text) << "the field keeps what was typed";
    }
}

TEST(ColorWorkTest, ARejectedValueBlocksUntilTheNextAcceptedOne) {
    CChannelColorWork w(Defaults());
    w.Select(1);
    EXPECT_EQ(w.LeaveEdit(kRed, "300").messageId, 57731);
    EXPECT_FALSE(w.Valid());
    w.SetErrorEdit(kIdcRedEdit);
    EXPECT_FALSE(w.LeaveEdit(kRed, "300").checked) << "no second check while the box is open";
    w.SetErrorEdit(0);
    EXPECT_TRUE(w.LeaveEdit(kRed, "30").changed);
    EXPECT_TRUE(w.Valid());
    EXPECT_EQ(w.Work()[0].red, 30);
    EXPECT_EQ(w.Original()[0].red, 255);
}

TEST(ColorWorkTest, WithoutASelectionFieldsResetAndScrollBarsDoNothing) {
    CChannelColorWork w(Defaults());
    const EditResult r = w.LeaveEdit(kGreen, "77");
    EXPECT_EQ(r.messageId, 0);
    EXPECT_EQ(r.text, "  0");
    EXPECT_FALSE(r.changed);
    EXPECT_FALSE(w.Scroll(kRed, ScrollAction::kLineRight));
    EXPECT_EQ(w.ComponentText(kRed), "  0");
    EXPECT_EQ(w.Work(), Defaults());
}

TEST(ColorWorkTest, ScrollBarsStepWithinTheRange) {
    CChannelColorWork w(Defaults());
    w.Select(8); // 0, 0, 255
    EXPECT_FALSE(w.Scroll(kRed, ScrollAction::kLineLeft)) << "already 0";
    EXPECT_FALSE(w.Scroll(kBlue, ScrollAction::kLineRight)) << "already 255";
    EXPECT_TRUE(w.Scroll(kBlue, ScrollAction::kLineLeft));
    EXPECT_EQ(w.ComponentText(kBlue), "254");
    EXPECT_TRUE(w.Scroll(kGreen, ScrollAction::kThumbPosition, 9));
    EXPECT_EQ(w.ComponentText(kGreen), "  9");
    EXPECT_FALSE(w.Scroll(kGreen, ScrollAction::kOther, 100));
    EXPECT_EQ(w.Component(kGreen), 9);
}

TEST(ColorWorkTest, DefaultsThenOkStoresTheDefaultsAndCancelKeepsTheOriginal) {
    PaletteEntries mine = Defaults();
    mine[3] = {1, 2, 3, 1};
    mine[9] = {9, 9, 9, 1};
    CChannelColorWork w(mine);
    w.Select(6); // a channel may be recoloured with or without data
    w.LeaveEdit(kRed, "12");
    w.Defaults();
    EXPECT_EQ(w.Work(), Defaults());
    EXPECT_EQ(w.Original(), mine) << "Cancel animates these back";
    CMemorySettingsStore store;
    w.Save(store);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.4Red", -1), 255);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.1Blue", -1), 175);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.8Flags", -1), 1);
}

TEST(ColorWorkTest, TabOrderOfTheComponentFields) {
    EXPECT_EQ((std::vector{TabFrom(kRed, false), TabFrom(kGreen, false), TabFrom(kBlue, false),
                           TabFrom(kBlue, true), TabFrom(kGreen, true), TabFrom(kRed, true)}),
              (std::vector{TabTarget::kGreenEdit, TabTarget::kBlueEdit, TabTarget::kOk,
                           TabTarget::kGreenEdit, TabTarget::kRedEdit, TabTarget::kChannel8}));
}

} // namespace
} // namespace saroko::test
