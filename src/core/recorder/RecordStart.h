#pragma once
// The rules of the record-start dialog: the proposed start, the date checks with their
// messages and focus fields, the expected end, the settings block built from the fields, and
// the exchanges of "設定", "停止" and "設定値受信".
#include <cstdint>
#include <string>

#include "core/document/RecorderSettings.h"
#include "core/recorder/RecorderComm.h"

namespace saroko {

class CZorvicDoc;

// Control ids the checks put the focus on.
namespace idc {
inline constexpr int kYear = 101;
inline constexpr int kMonth = 171;
inline constexpr int kDay = 103;
inline constexpr int kHour = 172;
inline constexpr int kMinute = 105;
inline constexpr int kSecond = 104;
inline constexpr int kName1 = 107;
inline constexpr int kName2 = 108;
} // namespace idc

inline constexpr uint32_t kRecorderCapacity = 8000;
inline constexpr int kDefaultIntervalIndex = 3; // 10 s, the store's default

// Now + 15 minutes rounded down to 10 minutes; now itself when that would reach 2^31.
uint32_t ProposedStartTime(uint32_t now);

struct DateFields {
    std::string year, month, day, hour, minute, second;
};
// "%04d" and "%02d" of the local time; all empty when it cannot be converted.
DateFields DateFieldsFromTime(uint32_t t);

struct DateCheck {
    int messageId = 0; // 0 when the fields give a time
    int focusId = 0;
    uint32_t time = 0;
};
DateCheck CheckStartDate(const DateFields& fields);

struct RecordStartForm {
    std::string name1, name2; // CP932 bytes as typed
    int intervalIndex = -1;   // selection of the interval list, -1 none
    int recordMode = -1;      // 0 one-time, 1 endless
    int unit = -1;            // 0 degC, 1 degF (hidden group)
    int sensor = -1;          // 0 Pt100, 1 JPt100
    int startMethod = -1;     // 0 scheduled, 1 immediate
    DateFields date;
};
enum { kStartScheduled = 0, kStartImmediate = 1 };

// The fields as the dialog opens on a settings block.
RecordStartForm FormFromSettings(const RecorderSettings& s);
// Takes a block read from the recorder into the fields; true when its start was manual, so
// that start method and date are unknown (message 57750 is due).
bool ApplyReceivedSettings(const RecorderSettings& received, RecordStartForm& form);

// The clocks of the dialog: now, and the expected end (or "??" texts).
struct ClockTexts {
    std::string nowDate, nowTime, endDate, endTime;
};
std::string FormatClockDate(uint32_t t); // "%4d年 %2d月 %2d日"
std::string FormatClockTime(uint32_t t); // "  %2d時 %2d分 %2d秒"
// `intervalIndex` is the index kept by the dialog; a list selection replaces it.
ClockTexts RecordStartClock(const RecordStartForm& form, uint32_t now, int& intervalIndex);

// Steps of "設定" before the recorder is touched: the checks, then the block. The block is
// written even when the final check (start in the past) fails.
struct StartPlan {
    int messageId = 0;
    int focusId = 0;
    bool scheduled = false;
    uint32_t delay = 0;
};
StartPlan BuildStartSettings(const RecordStartForm& form, uint32_t now, RecorderSettings& block);

struct RecordStartResult {
    int result = 0;  // 0 success, 1 stopped by a check, else the communication code
    int focusId = 0; // field to focus after a check's message
};

// "設定": checks, the document's block, then stop, begin, write, start, end; the
// communication section is saved after success. Messages go to the services' sink.
RecordStartResult RunRecordStart(const CommServices& services, CZorvicDoc& doc,
                                 const RecordStartForm& form);
// "停止".
int RunRecordStop(const CommServices& services);
// "設定値受信": reads the block into the fields (not into the document).
int RunReadSettings(const CommServices& services, RecordStartForm& form,
                    RecorderSettings* received = nullptr);

} // namespace saroko
