#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "channels/ChannelPalette.h"
#include "channels/ParseInteger.h"

namespace saroko::test {
namespace {

const char* const kColourKeys[] = {"Red", "Green", "Blue", "Flags"};

TEST(PaletteTest, DefaultTableAndStoredValuesWithTheirLowEightBits) {
    CMemorySettingsStore store;
    store.WriteInt(kChannelColorSection, "Ch.1Green", -1);
    store.WriteInt(kChannelColorSection, "Ch.8Blue", 256 + 17);
    store.WriteInt(kChannelColorSection, "Ch.8Flags", 0);
    store.WriteInt(kChannelColorSection, "Ch.9Red", 5); // not a channel entry
    const std::size_t writes = store.WriteCount();
    const CChannelPalette pal(store);
    const PaletteEntry expected[kPaletteSize] = {
        {255, 255, 175, 1}, {232, 172, 0, 1}, {0, 182, 255, 1},   {255, 127, 0, 1},
        {191, 0, 255, 1},   {255, 0, 0, 1},   {0, 207, 0, 1},     {0, 0, 17, 0},
        {192, 192, 192, 1}, {0, 0, 0, 1},     {255, 255, 255, 1}, {192, 192, 192, 1},
        {128, 128, 128, 1}, {0, 0, 0, 1},     {0, 0, 0, 1},       {0, 255, 0, 1},
        {255, 255, 255, 1}, {128, 0, 0, 1},   {0, 255, 255, 1},   {255, 0, 0, 1},
        {0, 0, 255, 1},     {255, 0, 255, 1}, {255, 255, 0, 1}};
    for (int i = 0; i < kPaletteSize; ++i)
        EXPECT_EQ(pal.Entry(i), expected[i]) << "entry " << i;
    EXPECT_EQ(store.WriteCount(), writes) << "reading never writes";
    // Defaults of the stored components: entry 0 green 0; entry 7 blue 255 and flags 1.
    const CChannelPalette fresh;
    EXPECT_EQ(std::pair(fresh.Entry(0), fresh.Entry(7)),
              std::pair(PaletteEntry{255, 0, 175, 1}, PaletteEntry{0, 0, 255, 1}));
}

TEST(PaletteTest, SaveWritesTheThirtyTwoKeysInOrderAndRoundTrips) {
    PaletteEntries entries;
    SetDefaultPalette(entries);
    for (int i = 0; i < 8; ++i)
        entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(10 + i),
                      static_cast<uint8_t>(20 + i), 1};
    entries[9] = {1, 2, 3, 1}; // fixed entries are never stored
    CMemorySettingsStore store;
    SaveChannelColors(store, entries);
    EXPECT_EQ(store.WriteCount(), 32u);
    for (int ch = 1; ch <= 8; ++ch)
        for (const char* k : kColourKeys)
            EXPECT_TRUE(store.Has(kChannelColorSection, "Ch." + std::to_string(ch) + k));
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.3Blue", -1), 22);

    PaletteEntries loaded;
    SetDefaultPalette(loaded);
    LoadChannelColors(store, loaded);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(loaded[i], entries[i]);
    EXPECT_EQ(loaded[9], (PaletteEntry{0, 0, 0, 1}));
}

TEST(PaletteTest, PrintVariants) {
    PaletteEntries screen;
    SetDefaultPalette(screen);
    screen[2] = {10, 20, 30, 1};

    PaletteEntries colour = screen;
    ApplyColourPrintPalette(colour);
    PaletteEntries want = screen;
    want[9] = {231, 231, 231, 1};
    want[11] = {128, 128, 128, 1};
    want[16] = {0, 0, 0, 1};
    want[17] = {128, 0, 0, 1};
    EXPECT_EQ(colour, want);

    PaletteEntries mono = screen;
    ApplyMonoPrintPalette(mono);
    for (int i = 0; i < kPaletteSize; ++i) {
        if (i == 8 || i == 9)
            EXPECT_EQ(mono[i], (PaletteEntry{255, 255, 255, 1})) << "entry " << i;
        else if (i <= 17)
            EXPECT_EQ(mono[i], (PaletteEntry{0, 0, 0, 1})) << "entry " << i;
        else
            EXPECT_EQ(mono[i], screen[i]) << "entry " << i;
    }
}

TEST(PaletteTest, AnimationChangesEntriesInPlace) {
    CChannelPalette pal;
    const PaletteEntries* before = &pal.Entries();
    const PaletteEntry red[2] = {{9, 8, 7, 1}, {6, 5, 4, 1}};
    pal.AnimatePalette(3, 2, red);
    EXPECT_EQ(&pal.Entries(), before);
    EXPECT_EQ(pal.Entry(3), red[0]);
    EXPECT_EQ(pal.Entry(4), red[1]);
    EXPECT_EQ(pal.Entry(5), (PaletteEntry{255, 0, 0, 1}));
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

} // namespace
} // namespace saroko::test
