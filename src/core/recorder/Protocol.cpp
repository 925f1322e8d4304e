#include "core/recorder/Protocol.h"

#include <algorithm>

namespace saroko {

int CommResultMessageId(int code) {
    switch (code) {
    case COMM_OK:
        return 57696;
    case COMM_OPEN_FAILED:
        return 57697;
    case COMM_ALREADY_OPEN:
        return 57704;
    case COMM_NOT_OPEN:
        return 57703;
    case COMM_NO_QUEUES:
        return 57702;
    case COMM_BAD_SETTINGS:
        return 57700;
    case COMM_NO_HARDWARE:
        return 57701;
    case COMM_BAD_BYTE_SIZE:
        return 57699;
    case COMM_BAD_BAUD:
        return 57698;
    case COMM_NO_RESPONSE:
        return 57705;
    case COMM_BROKEN:
        return 57708;
    case COMM_NO_DATA:
        return 57709;
    case COMM_CHECKSUM:
        return 57710;
    case COMM_FAILED:
        return 57711;
    default:
        return 0;
    }
}

uint8_t Sum8(std::span<const uint8_t> bytes) {
    unsigned s = 0;
    for (uint8_t b : bytes)
        s += b;
    return static_cast<uint8_t>(s);
}

uint16_t Sum16(std::span<const uint8_t> bytes) {
    unsigned s = 0;
    for (uint8_t b : bytes)
        s += b;
    return static_cast<uint16_t>(s);
}

ShortFrame MakeShortRequest(uint8_t code, std::span<const uint8_t, 4> params) {
    ShortFrame f{code, params[0], params[1], params[2], params[3], 0};
    f[5] = static_cast<uint8_t>(Sum8(std::span(f).first(5)) + kHostCheckBias);
    return f;
}

ShortFrame MakeShortRequest(uint8_t code, uint32_t param) {
    uint8_t p[4];
    PutU32(p, param);
    return MakeShortRequest(code, std::span<const uint8_t, 4>(p));
}

ShortFrame MakeShortReply(uint8_t lead, std::span<const uint8_t, 4> data) {
    ShortFrame f{lead, data[0], data[1], data[2], data[3], 0};
    f[5] = Sum8(std::span(f).first(5));
    return f;
}

BlockWriteFrame MakeBlockWrite(std::span<const uint8_t, kSettingsBlockSize> block) {
    BlockWriteFrame f{};
    f[0] = CMD_WRITE_BLOCK;
    std::copy(block.begin(), block.end(), f.begin() + 1);
    PutU16(&f[33], static_cast<uint16_t>(Sum16(std::span(f).first(33)) + kHostCheckBias));
    return f;
}

BlockReadReply MakeBlockReadReply(uint8_t lead,
                                  std::span<const uint8_t, kSettingsBlockSize> block) {
    BlockReadReply f{};
    f[0] = lead;
    std::copy(block.begin(), block.end(), f.begin() + 1);
    PutU16(&f[33], Sum16(std::span(f).first(33)));
    return f;
}

} // namespace saroko
