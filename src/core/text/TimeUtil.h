#pragma once
// Calendar conversions of the program's u32 timestamps (seconds since 1970 UTC) and the
// injectable clock. All calendar times the user sees or files store are local time; only the
// archive writes its times in UTC.
#include <cstdint>
#include <ctime>
#include <string>

namespace saroko {

// Source of "now"; the program uses the system clock, tests pin it.
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t Now() const = 0;
};

class SystemClock final : public IClock {
public:
    uint32_t Now() const override;
};

class FixedClock final : public IClock {
public:
    explicit FixedClock(uint32_t t) : m_t(t) {}
    uint32_t Now() const override { return m_t; }
    void Set(uint32_t t) { m_t = t; }

private:
    uint32_t m_t;
};

// Local calendar fields of a timestamp. Returns false when the platform cannot convert it.
bool ToLocalTime(uint32_t t, std::tm& out);

// Local calendar fields to a timestamp. Daylight saving is decided by the zone rules for that
// date, so a timestamp shown with ToLocalTime converts back to itself. Fails (returns false)
// for times before 1970-01-01 00:00:00 UTC or beyond the u32 range.
bool FromLocalFields(int year, int month, int day, int hour, int minute, int second, uint32_t& out);

// Local fields back to the timestamp, preferring `hint` when it shows exactly these fields;
// this keeps the repeated hour at the end of daylight saving exact.
bool FromLocalFieldsHinted(int year, int month, int day, int hour, int minute, int second,
                           uint32_t hint, uint32_t& out);

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);

// A time as the archive writes it, in UTC: "2026-12-07T08:30:00Z".
std::string UtcText(int64_t t);

} // namespace saroko
