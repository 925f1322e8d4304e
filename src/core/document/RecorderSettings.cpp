#include "core/document/RecorderSettings.h"

#include <cstring>

namespace saroko {

std::array<uint8_t, 32> RecorderSettings::ToBytes() const {
    std::array<uint8_t, 32> b{};
    b[0] = static_cast<uint8_t>(flags & 0xFF);
    b[1] = static_cast<uint8_t>(flags >> 8);
    b[2] = static_cast<uint8_t>(intervalSec & 0xFF);
    b[3] = static_cast<uint8_t>(intervalSec >> 8);
    std::memcpy(&b[4], chanName1, 8);
    std::memcpy(&b[12], chanName2, 8);
    b[20] = static_cast<uint8_t>(startMode & 0xFF);
    b[21] = static_cast<uint8_t>(startMode >> 8);
    for (int i = 0; i < 4; ++i)
        b[22 + i] = static_cast<uint8_t>(startTime >> (8 * i));
    std::memcpy(&b[26], reserved, 6);
    return b;
}

RecorderSettings RecorderSettings::FromBytes(const uint8_t* b) {
    RecorderSettings s;
    s.flags = static_cast<uint16_t>(b[0] | (b[1] << 8));
    s.intervalSec = static_cast<uint16_t>(b[2] | (b[3] << 8));
    std::memcpy(s.chanName1, &b[4], 8);
    std::memcpy(s.chanName2, &b[12], 8);
    s.startMode = static_cast<uint16_t>(b[20] | (b[21] << 8));
    s.startTime = static_cast<uint32_t>(b[22]) | (static_cast<uint32_t>(b[23]) << 8) |
                  (static_cast<uint32_t>(b[24]) << 16) | (static_cast<uint32_t>(b[25]) << 24);
    std::memcpy(s.reserved, &b[26], 6);
    return s;
}

} // namespace saroko
