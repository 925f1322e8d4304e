#pragma once
// The native data file container (also used by the older series): a 256-byte file header with
// the channel bitmap, then per channel a 256-byte header and its sample area.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace saroko {

class CZorvicDoc;
enum class ReadFailure;

inline constexpr std::size_t kKlgHeaderSize = 256;
// Largest file the readers look at: the header and 64 full channel blocks.
inline constexpr std::size_t kKlgMaxFileSize = 256 + 64 * (256 + 32000);

namespace klg {
inline constexpr std::size_t kOffNumber = 0;
inline constexpr std::size_t kOffName = 2;
inline constexpr std::size_t kOffDateText = 34;
inline constexpr std::size_t kOffStartTime = 57;
inline constexpr std::size_t kOffInterval = 61;
inline constexpr std::size_t kOffType = 66;
inline constexpr std::size_t kOffModel = 67;
inline constexpr std::size_t kOffStartKnown = 71;
inline constexpr std::size_t kOffRecMode = 72;
inline constexpr std::size_t kOffStartMode = 73;
inline constexpr std::size_t kOffUnitFlag = 74;
inline constexpr std::size_t kOffSensor = 75;
inline constexpr std::size_t kOffCount = 87;
// The numbers of the local date text "2008/ 3/ 5(Wed) 9: 7' 0": the year's 4 characters, then
// 2 each.
inline constexpr std::size_t kOffYear = kOffDateText;
inline constexpr std::size_t kOffMonth = kOffDateText + 5;
inline constexpr std::size_t kOffDay = kOffDateText + 8;
inline constexpr std::size_t kOffHour = kOffDateText + 15;
inline constexpr std::size_t kOffMinute = kOffDateText + 18;
inline constexpr std::size_t kOffSecond = kOffDateText + 21;
// A channel's start when its date text names no time that converts.
inline constexpr uint32_t kStartFallback = 32400;
} // namespace klg

// A channel header's start as written: the numbers of its local date text (atoi, 0 where
// there are none) and its UTC field.
struct KlgStartFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    uint32_t utc = 0;
};
KlgStartFields StartFieldsOf(const uint8_t* header);
// The start a channel takes from its header: the local date text, with the UTC field settling
// an hour that daylight saving makes twice; klg::kStartFallback when the text does not convert.
uint32_t StartTimeOf(const KlgStartFields& f);

// One channel block as read from a file, already checked.
struct KlgBlock {
    uint8_t header[kKlgHeaderSize];
    int number = 0; // the header's channel number text (atoi), may be outside 1..8
    uint32_t interval = 0;
    int count = 0; // N
    // The sample area's first N codes, little-endian, in the parsed bytes (which must outlive
    // the block): a load copies them once, into the channel.
    std::span<const uint8_t> area;
    uint16_t Code(std::size_t i) const {
        return static_cast<uint16_t>(area[2 * i] | (area[2 * i + 1] << 8));
    }
};

struct KlgImage {
    std::vector<KlgBlock> blocks; // in file order
    std::vector<int> positions;   // bitmap position (1..64) of each block
};

// Parses a whole file image. Fails on a short header or block, a sample count that is not a
// number or exceeds 16000, or an interval that is not a positive number.
bool ParseKlgImage(std::span<const uint8_t> bytes, KlgImage& out, ReadFailure* why = nullptr);

// The file image SaveKlgFile writes: range 0 all data, 1 the shown time window.
std::string BuildKlgImage(const CZorvicDoc& doc, int range);

// "2008/ 3/ 5(Wed) 9: 7' 0" for a timestamp, in local time; false when not convertible.
bool FormatKlgDateText(uint32_t t, char (&out)[24]);

// The value of a fixed-width number field: leading spaces, an optional sign, digits, and only
// spaces or NULs after them. False when there is no such number.
bool ParseNumberField(const uint8_t* p, std::size_t n, long& value);
// atoi over a fixed-width field: leading spaces, optional sign, the digits that follow; 0 when
// there are none.
long AtoiField(const uint8_t* p, std::size_t n);

} // namespace saroko
