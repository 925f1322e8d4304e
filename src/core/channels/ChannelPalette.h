#pragma once
// The one palette of channel and fixed colours. Everything that draws names a colour by its
// index and looks the entry up when it paints, so changing entries and repainting recolours
// the whole picture.
#include <array>
#include <cstdint>

#include "core/settings/SettingsStore.h"

namespace saroko {

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;

    bool operator==(const PaletteEntry&) const = default;
};

inline constexpr int kPaletteSize = 23;
using PaletteEntries = std::array<PaletteEntry, kPaletteSize>;

// Marks an entry as changeable in place; every entry carries it.
inline constexpr uint8_t kPaletteReserved = 1;

// Fixed entries; channel n uses entry n - 1.
inline constexpr int kPalBackground = 8; // light grey face of the view and the dialogs
inline constexpr int kPalPlot = 9;       // black of the plot and the strip tracks
inline constexpr int kPalLightEdge = 10; // white edge of sunken frames
inline constexpr int kPalGrid = 11;      // grid lines
inline constexpr int kPalDarkEdge = 12;  // grey edge of sunken frames
inline constexpr int kPalFrame = 13;     // selection and marker frames
inline constexpr int kPalText = 14;      // label text
inline constexpr int kPalThumb = 15;     // scroll thumbs
inline constexpr int kPalCursorSelected = 16;
inline constexpr int kPalCursorUnselected = 17;
inline constexpr int kPalProgress = 18;
inline constexpr int kPalList1 = 19;
inline constexpr int kPalList2 = 20;
inline constexpr int kPalList3 = 21;
inline constexpr int kPalList4 = 22;

inline constexpr const char* kChannelColorSection = "Channel Color Section";

constexpr int ChannelPaletteIndex(int channelNumber) {
    return channelNumber - 1;
}

// The 23 entries the program starts with (and that the colour dialog's reset restores).
void SetDefaultPalette(PaletteEntries& entries);
// Entries 0..7 from the settings store; each stored value keeps its low eight bits.
void LoadChannelColors(const ISettingsStore& store, PaletteEntries& entries);
// Entries 0..7 into the store: Ch.1 red, green, blue, flags, then Ch.2 and so on.
void SaveChannelColors(ISettingsStore& store, const PaletteEntries& entries);
// The variants used while the graph is printed.
void ApplyColourPrintPalette(PaletteEntries& entries);
void ApplyMonoPrintPalette(PaletteEntries& entries);
// A colour reference that names a palette entry rather than an RGB value.
constexpr uint32_t PaletteIndexColour(int index) {
    return 0x01000000u | static_cast<uint32_t>(index);
}

// Owned by the graph view for its whole life and handed to every window that draws channel
// colours. Entries change in place; the object is never replaced.
class CChannelPalette {
public:
    explicit CChannelPalette(const ISettingsStore& store);
    CChannelPalette();

    const PaletteEntries& Entries() const { return m_entries; }
    const PaletteEntry& Entry(int index) const {
        return m_entries.at(static_cast<std::size_t>(index));
    }
    // Replaces `count` entries from `first` in place (our palette animation).
    void AnimatePalette(int first, int count, const PaletteEntry* source);
    void SetEntries(const PaletteEntries& entries) {
        AnimatePalette(0, kPaletteSize, entries.data());
    }

private:
    PaletteEntries m_entries{};
};

} // namespace saroko
