#include "core/channels/ChannelPalette.h"

#include <string>

namespace saroko {
namespace {

constexpr PaletteEntries kDefaultPalette = {{
    {255, 0, 175, 1},   {232, 172, 0, 1}, {0, 182, 255, 1},   {255, 127, 0, 1},
    {191, 0, 255, 1},   {255, 0, 0, 1},   {0, 207, 0, 1},     {0, 0, 255, 1},
    {192, 192, 192, 1}, {0, 0, 0, 1},     {255, 255, 255, 1}, {192, 192, 192, 1},
    {128, 128, 128, 1}, {0, 0, 0, 1},     {0, 0, 0, 1},       {0, 255, 0, 1},
    {255, 255, 255, 1}, {128, 0, 0, 1},   {0, 255, 255, 1},   {255, 0, 0, 1},
    {0, 0, 255, 1},     {255, 0, 255, 1}, {255, 255, 0, 1},
}};

constexpr int kStoredEntries = 8;
constexpr const char* kComponentNames[4] = {"Red", "Green", "Blue", "Flags"};

std::string Key(int channel, int component) {
    return "Ch." + std::to_string(channel) + kComponentNames[component];
}

void Set(PaletteEntry& e, uint8_t r, uint8_t g, uint8_t b) {
    e = {r, g, b, kPaletteReserved};
}

} // namespace

void SetDefaultPalette(PaletteEntries& entries) {
    entries = kDefaultPalette;
}

void LoadChannelColors(const ISettingsStore& store, PaletteEntries& entries) {
    for (int i = 0; i < kStoredEntries; ++i) {
        const PaletteEntry& def = kDefaultPalette[static_cast<std::size_t>(i)];
        const uint8_t defaults[4] = {def.red, def.green, def.blue, def.flags};
        uint8_t bytes[4];
        for (int c = 0; c < 4; ++c)
            bytes[c] = static_cast<uint8_t>(
                store.GetInt(kChannelColorSection, Key(i + 1, c), defaults[c]) & 0xFF);
        entries[static_cast<std::size_t>(i)] = {bytes[0], bytes[1], bytes[2], bytes[3]};
    }
}

void SaveChannelColors(ISettingsStore& store, const PaletteEntries& entries) {
    for (int i = 0; i < kStoredEntries; ++i) {
        const PaletteEntry& e = entries[static_cast<std::size_t>(i)];
        const uint8_t bytes[4] = {e.red, e.green, e.blue, e.flags};
        for (int c = 0; c < 4; ++c)
            store.WriteInt(kChannelColorSection, Key(i + 1, c), bytes[c]);
    }
}

void ApplyColourPrintPalette(PaletteEntries& entries) {
    Set(entries[kPalPlot], 231, 231, 231);
    Set(entries[kPalGrid], 128, 128, 128);
    Set(entries[kPalCursorSelected], 0, 0, 0);
    Set(entries[kPalCursorUnselected], 128, 0, 0);
    for (PaletteEntry& e : entries)
        e.flags = kPaletteReserved;
}

void ApplyMonoPrintPalette(PaletteEntries& entries) {
    for (int i = 0; i < kStoredEntries; ++i)
        Set(entries[static_cast<std::size_t>(i)], 0, 0, 0);
    Set(entries[kPalBackground], 255, 255, 255);
    Set(entries[kPalPlot], 255, 255, 255);
    for (int i = kPalLightEdge; i <= kPalCursorUnselected; ++i)
        Set(entries[static_cast<std::size_t>(i)], 0, 0, 0);
    for (PaletteEntry& e : entries)
        e.flags = kPaletteReserved;
}

CChannelPalette::CChannelPalette() {
    SetDefaultPalette(m_entries);
}

CChannelPalette::CChannelPalette(const ISettingsStore& store) {
    SetDefaultPalette(m_entries);
    LoadChannelColors(store, m_entries);
}

void CChannelPalette::AnimatePalette(int first, int count, const PaletteEntry* source) {
    for (int i = 0; i < count && first + i < kPaletteSize; ++i) {
        if (first + i < 0)
            continue;
        m_entries[static_cast<std::size_t>(first + i)] = source[i];
    }
}

} // namespace saroko
