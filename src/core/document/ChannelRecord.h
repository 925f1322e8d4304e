#pragma once
// One channel slot of the document and the shared time/value ranges.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace saroko {

inline constexpr int kChannelCount = 8;
inline constexpr int kMaxSamples = 16000;

// Sample codes.
inline constexpr uint16_t kCodeEnd = 0xFFFF; // end of data, padding in files
static_assert(kCodeEnd == 0xFFFF, "sample areas are filled with the end code by memset(0xFF)");
inline constexpr uint16_t kCodeMissing = 0xEEEE; // slot without value; "no result" in statistics
inline constexpr uint16_t kCodeOver = 0xE001;
inline constexpr uint16_t kCodeUnder = 0xE002;
inline constexpr uint16_t kCodeZero = 32768; // excess-32768 value codes
// Over and Under as values: 600.0 degC on a Pt100 channel, 500.0 otherwise; Under -200.0.
inline constexpr uint16_t kCodeOverPt100 = 38768;
inline constexpr uint16_t kCodeOverOther = 37768;
inline constexpr uint16_t kCodeUnderValue = 30768;

// Measurement types.
inline constexpr uint8_t kTypeTemp13 = 13;
inline constexpr uint8_t kTypeTemp14 = 14;
inline constexpr uint8_t kTypeHumidity = 208;
inline constexpr uint8_t kTypeVoltage = 224;

inline constexpr uint32_t kModelKm41 = 129;

// Length of a NUL-padded fixed field.
inline std::size_t FieldLength(const char* field, std::size_t size) {
    return static_cast<std::size_t>(std::find(field, field + size, '\0') - field);
}

struct ChannelRecord {
    uint32_t number = 0;    // 1..8 as shown to the user
    uint32_t present = 0;   // 0 = no data
    char name[9] = {};      // up to 8 CP932 bytes, NUL-terminated
    uint32_t startTime = 0; // time of sample 0
    uint8_t measureType = kTypeTemp13;
    uint32_t modelCode = 0;
    uint8_t startKnown = 0xFF;
    uint8_t recModeCode = 0xFF;   // 128 one-time, 0 endless
    uint8_t startModeCode = 0xFF; // 0 immediate, 1 scheduled, 0xFF manual/unknown
    uint8_t unitFlag = 0xFF;
    uint8_t sensorCode = 0xFF; // 1 JPt100, 0 Pt100
    uint32_t interval = 1;     // seconds
    uint16_t statMax = 0;
    uint16_t statMin = 0;
    uint16_t statAvg = 0;
    uint16_t samples[kMaxSamples] = {};
    uint16_t terminator = kCodeEnd; // stops every walk at index 16000
    uint16_t sampleCount = 0;

    // Number of samples before the first end code.
    int CountSamples() const;
    // The code that stands for this channel's Over and Under samples in value computations.
    uint16_t ValueCode(uint16_t code) const {
        if (code == kCodeOver)
            return sensorCode != 0 ? kCodeOverOther : kCodeOverPt100;
        if (code == kCodeUnder)
            return kCodeUnderValue;
        return code;
    }
};

struct GraphRange {
    uint32_t dataStart = 0;
    uint32_t dataEnd = 0;
    uint32_t viewStart = 0;
    uint32_t viewEnd = 0;
    uint32_t minInterval = 0;
    uint32_t cursorA = 0;
    uint32_t cursorB = 0;
    float fullUpper = 0;
    float fullLower = 0;
    float viewUpper = 0;
    float viewLower = 0;
    uint32_t calcStart = 0;
    uint32_t calcEnd = 0;

    bool operator==(const GraphRange&) const = default;
};

// The recording-interval table: seconds and the 7-character label.
struct IntervalEntry {
    uint32_t seconds;
    const char* label;
};
inline constexpr std::array<IntervalEntry, 15> kIntervalTable = {{
    {1, " 1 sec."},
    {2, " 2 sec."},
    {5, " 5 sec."},
    {10, "10 sec."},
    {15, "15 sec."},
    {20, "20 sec."},
    {30, "30 sec."},
    {60, " 1 min."},
    {120, " 2 min."},
    {300, " 5 min."},
    {600, "10 min."},
    {900, "15 min."},
    {1200, "20 min."},
    {1800, "30 min."},
    {3600, "60 min."},
}};
// Index of the first entry with these seconds, -1 when none.
int IntervalIndex(uint32_t seconds);
// The label of an interval, nullptr when it is not in the table.
const char* IntervalLabel(uint32_t seconds);

} // namespace saroko
