#pragma once
// The recorder's 32-byte block of recording conditions. The document keeps its record-start
// settings in exactly this block and sends it to the recorder as it stands.
#include <array>
#include <cstdint>

namespace saroko {

struct RecorderSettings {
    uint16_t flags = 0;       // bit 0 unit (1 = degF), bit 1 endless, bit 2 JPt100
    uint16_t intervalSec = 0; // one of the interval table's values
    char chanName1[8] = {};   // NUL-padded, not terminated when 8 bytes long
    char chanName2[8] = {};
    uint16_t startMode = 0; // 0x30 immediate, 0x31 scheduled, 0 started by hand
    uint32_t startTime = 0; // seconds since 1970
    uint8_t reserved[6] = {};

    static constexpr uint16_t kFlagTempUnit = 0x01;
    static constexpr uint16_t kFlagEndless = 0x02;
    static constexpr uint16_t kFlagJPt100 = 0x04;

    // The wire/storage image: little-endian, fields at offsets 0, 2, 4, 12, 20, 22, 26.
    std::array<uint8_t, 32> ToBytes() const;
    static RecorderSettings FromBytes(const uint8_t* bytes);
};

} // namespace saroko
