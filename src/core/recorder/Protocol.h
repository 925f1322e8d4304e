#pragma once
// The recorder's wire protocol: codes, frame images and check values. Pure functions, so the
// frames can be checked byte for byte without a line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace saroko {

// Communication result codes.
enum CommResult : int {
    COMM_OK = 0,
    COMM_OPEN_FAILED = -1,
    COMM_ALREADY_OPEN = -2,
    COMM_NOT_OPEN = -3,
    COMM_NO_QUEUES = -4,
    COMM_BAD_SETTINGS = -5,
    COMM_NO_HARDWARE = -10,
    COMM_BAD_BYTE_SIZE = -11,
    COMM_BAD_BAUD = -12,
    COMM_NO_RESPONSE = -101,
    COMM_BROKEN = -102,
    COMM_NO_DATA = -103,
    COMM_CHECKSUM = -104,
    COMM_UNKNOWN_MODEL = -200,
    COMM_FAILED = -999,
};

// The message a result code shows, 0 when it shows none.
int CommResultMessageId(int code);

// Wire codes.
inline constexpr uint8_t CMD_DOWNLOAD = 0x10;
inline constexpr uint8_t CMD_DOWNLOAD_PACED = 0x11;
inline constexpr uint8_t CMD_BEGIN = 0x20;
inline constexpr uint8_t CMD_END = 0x21;
inline constexpr uint8_t CMD_WRITE_WORD = 0x22;
inline constexpr uint8_t CMD_READ_WORD = 0x23;
inline constexpr uint8_t CMD_WRITE_BLOCK = 0x24;
inline constexpr uint8_t CMD_READ_BLOCK = 0x25;
inline constexpr uint8_t CMD_START_NOW = 0x30;
inline constexpr uint8_t CMD_START_DELAYED = 0x31;
inline constexpr uint8_t CMD_STOP = 0x32;
inline constexpr uint8_t CMD_QUERY_33 = 0x33;
inline constexpr uint8_t CMD_DATA_COUNT = 0x34;
inline constexpr uint8_t CMD_IDENTIFY = 0x35;

inline constexpr uint8_t kWakeByte = 0x00;
inline constexpr uint8_t kStatusAccepted = 0x06;
inline constexpr uint8_t kStatusRefused = 0x09;
inline constexpr uint8_t kPacingByte = 0x1B;
inline constexpr uint8_t kHostCheckBias = 0x18; // added to every sum the PC sends

// The numbers Execute takes.
enum CommandNo : int {
    kExecDownload = 0,
    kExecDownloadPaced = 1,
    kExecWriteWords = 2,
    kExecReadWords = 3,
    kExecWriteSettings = 4,
    kExecReadSettings = 5,
    kExecBegin = 6,
    kExecEnd = 7,
    kExecWriteWord = 8,
    kExecReadWord = 9,
    kExecStartNow = 10,
    kExecStartDelayed = 11,
    kExecStop = 12,
    kExecQuery33 = 13,
    kExecDataCount = 14,
    kExecIdentify = 15,
    kExecCommandCount = 16,
};

// Timings in milliseconds.
inline constexpr uint32_t kReplyTimeoutMs = 500;
inline constexpr uint32_t kPacedRecordTimeoutMs = 2000;
inline constexpr uint32_t kDrainQuietMs = 50;
inline constexpr uint32_t kWakePauseMs = 550;
inline constexpr uint32_t kDownloadPauseMs = 500;
inline constexpr int kBlockAttempts = 3;
inline constexpr uint32_t kPacingBlockBytes = 4096;

// Download buffer: the 6-byte header and at most 8000 records of 4 bytes.
inline constexpr uint32_t kMaxRecords = 8000;
inline constexpr std::size_t kDownloadHeaderSize = 6;
inline constexpr std::size_t kRecordSize = 4;
inline constexpr std::size_t kDownloadBufferSize = kDownloadHeaderSize + kMaxRecords * kRecordSize;

inline constexpr std::size_t kSettingsBlockSize = 32;
inline constexpr uint8_t kKm41IdentD0 = 4;
inline constexpr uint8_t kKm41IdentD1 = 20;

using ShortFrame = std::array<uint8_t, 6>;
using BlockWriteFrame = std::array<uint8_t, 3 + kSettingsBlockSize>;
using BlockReadReply = std::array<uint8_t, 3 + kSettingsBlockSize>;

uint8_t Sum8(std::span<const uint8_t> bytes);
uint16_t Sum16(std::span<const uint8_t> bytes);

// A short request: code, p0..p3, (sum + 0x18) mod 256.
ShortFrame MakeShortRequest(uint8_t code, std::span<const uint8_t, 4> params);
ShortFrame MakeShortRequest(uint8_t code, uint32_t param = 0);
// A short reply as the recorder sends it: lead, d0..d3, plain sum.
ShortFrame MakeShortReply(uint8_t lead, std::span<const uint8_t, 4> data);
// 0x24, the block, (0x24 + sum + 0x18) mod 65536 low byte first.
BlockWriteFrame MakeBlockWrite(std::span<const uint8_t, kSettingsBlockSize> block);
// Lead, the block, (lead + sum) mod 65536 low byte first.
BlockReadReply MakeBlockReadReply(uint8_t lead, std::span<const uint8_t, kSettingsBlockSize> block);

inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The download header at the front of the buffer.
struct DownloadHeader {
    uint32_t age = 0;   // seconds from the newest record to the download
    uint16_t count = 0; // records that follow
    static DownloadHeader FromBytes(const uint8_t* b) { return {GetU32(b), GetU16(b + 4)}; }
};

} // namespace saroko
