#include "core/recorder/RecordStart.h"

#include <cstdio>
#include <cstring>

#include "core/document/ZorvicDoc.h"
#include "core/messages/StringTable.h"
#include "core/messages/Translate.h"
#include "core/text/DateFields.h"
#include "core/text/ParseInteger.h"

namespace saroko {
namespace {

constexpr int kMsgCharYear = 57713; // ..57718 for month, day, hour, minute, second

std::string NameOf(const char n[8]) {
    std::size_t len = 0;
    while (len < 8 && n[len] != '\0')
        ++len;
    return std::string(n, len);
}

void PutName(char dest[8], const std::string& name) {
    std::memset(dest, 0, 8);
    std::memcpy(dest, name.data(), std::min<std::size_t>(name.size(), 8));
}

int StartMethodOf(uint16_t startMode) {
    return startMode == 0x31 ? kStartScheduled : startMode == 0x30 ? kStartImmediate : -1;
}

uint32_t IntervalSeconds(int index) {
    if (index < 0 || index >= static_cast<int>(kIntervalTable.size()))
        index = kDefaultIntervalIndex;
    return kIntervalTable[static_cast<std::size_t>(index)].seconds;
}

void ClearParams(uint8_t params[4], uint8_t reply[4]) {
    std::memset(params, 0, 4);
    std::memset(reply, 0, 4);
}

} // namespace

uint32_t ProposedStartTime(uint32_t now) {
    const uint64_t sum = uint64_t{now} + 900;
    if (sum >= 0x80000000ULL)
        return now;
    return static_cast<uint32_t>(sum / 600 * 600);
}

DateFields DateFieldsFromTime(uint32_t t) {
    DateFields f;
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return f;
    char buf[16];
    auto two = [&](int v) {
        std::snprintf(buf, sizeof buf, "%02d", v);
        return std::string(buf);
    };
    std::snprintf(buf, sizeof buf, "%04d", tm.tm_year + 1900);
    f.year = buf;
    f.month = two(tm.tm_mon + 1);
    f.day = two(tm.tm_mday);
    f.hour = two(tm.tm_hour);
    f.minute = two(tm.tm_min);
    f.second = two(tm.tm_sec);
    return f;
}

DateCheck CheckStartDate(const DateFields& f) {
    static const int kFocus[6] = {idc::kYear, idc::kMonth,  idc::kDay,
                                  idc::kHour, idc::kMinute, idc::kSecond};
    const std::string* texts[6] = {&f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second};
    int v[6] = {};
    DateCheck c;
    for (int i = 0; i < 6; ++i)
        if (!ParseInteger(*texts[i], v[i])) {
            c.messageId = kMsgCharYear + i;
            c.focusId = kFocus[i];
            return c;
        }
    const int year = v[0], month = v[1], day = v[2], hour = v[3], minute = v[4], second = v[5];
    const int code = CheckDateFields(year, month, day, hour, minute, second);
    if (code != kDateOk) {
        c.messageId = DateRangeMessage(code);
        c.focusId = kFocus[DateCodeField(code)];
        return c;
    }
    if (!FromLocalFields(year, month, day, hour, minute, second, c.time)) {
        c.messageId = msg::kDateNotConvertible;
        c.focusId = idc::kYear;
    }
    return c;
}

RecordStartForm FormFromSettings(const RecorderSettings& s) {
    RecordStartForm f;
    f.startMethod = StartMethodOf(s.startMode);
    f.name1 = NameOf(s.chanName1);
    f.name2 = NameOf(s.chanName2);
    f.date = DateFieldsFromTime(s.startTime);
    f.unit = s.flags & RecorderSettings::kFlagTempUnit ? 1 : 0;
    f.recordMode = s.flags & RecorderSettings::kFlagEndless ? 1 : 0;
    f.sensor = s.flags & RecorderSettings::kFlagJPt100 ? 1 : 0;
    // A stored interval outside the table selects the store's default one.
    f.intervalIndex = IntervalIndex(s.intervalSec);
    if (f.intervalIndex < 0)
        f.intervalIndex = kDefaultIntervalIndex;
    return f;
}

bool ApplyReceivedSettings(const RecorderSettings& r, RecordStartForm& form) {
    form.startMethod = StartMethodOf(r.startMode);
    form.name1 = NameOf(r.chanName1);
    form.name2 = NameOf(r.chanName2);
    const bool known = r.startMode == 0x30 || r.startMode == 0x31;
    form.date = known ? DateFieldsFromTime(r.startTime) : DateFields{};
    form.unit = r.flags & RecorderSettings::kFlagTempUnit ? 1 : 0;
    form.recordMode = r.flags & RecorderSettings::kFlagEndless ? 1 : 0;
    form.sensor = r.flags & RecorderSettings::kFlagJPt100 ? 1 : 0;
    const int index = IntervalIndex(r.intervalSec);
    if (index >= 0)
        form.intervalIndex = index;
    return !known;
}

std::string FormatClockDate(uint32_t t) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return TranslateText("Dates", "????年 ??月 ??日");
    char buf[64];
    const std::string format = TranslateFormat("Dates", "%4d年 %2d月 %2d日");
    std::snprintf(buf, sizeof buf, format.c_str(), tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

std::string FormatClockTime(uint32_t t) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return TranslateText("Dates", "  ??時 ??分 ??秒");
    char buf[64];
    const std::string format = TranslateFormat("Dates", "  %2d時 %2d分 %2d秒");
    std::snprintf(buf, sizeof buf, format.c_str(), tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

ClockTexts RecordStartClock(const RecordStartForm& form, uint32_t now, int& intervalIndex) {
    ClockTexts c;
    c.nowDate = FormatClockDate(now);
    c.nowTime = FormatClockTime(now);
    c.endDate = TranslateText("Dates", "????年 ??月 ??日");
    c.endTime = TranslateText("Dates", "  ??時 ??分 ??秒");
    uint32_t start = now;
    if (form.startMethod == kStartScheduled) {
        const DateCheck check = CheckStartDate(form.date);
        if (check.messageId != 0)
            return c;
        start = check.time;
    }
    if (form.intervalIndex >= 0)
        intervalIndex = form.intervalIndex;
    if (form.startMethod < 0 || form.recordMode == 1)
        return c;
    const uint32_t end = start + IntervalSeconds(intervalIndex) * (kRecorderCapacity - 1);
    c.endDate = FormatClockDate(end);
    c.endTime = FormatClockTime(end);
    return c;
}

StartPlan BuildStartSettings(const RecordStartForm& form, uint32_t now, RecorderSettings& block) {
    StartPlan plan;
    if (form.startMethod != kStartScheduled && form.startMethod != kStartImmediate) {
        plan.messageId = msg::kNoStartMethod;
        return plan;
    }
    plan.scheduled = form.startMethod == kStartScheduled;
    DateCheck date;
    if (plan.scheduled) {
        date = CheckStartDate(form.date);
        if (date.messageId != 0) {
            plan.messageId = date.messageId;
            plan.focusId = date.focusId;
            return plan;
        }
    }
    if (form.name1.size() > 8 || form.name2.size() > 8) {
        plan.messageId = msg::kNameTooLong;
        plan.focusId = form.name1.size() > 8 ? idc::kName1 : idc::kName2;
        return plan;
    }
    // The hidden unit choice is never sent: bit 0 stays clear.
    block.flags =
        static_cast<uint16_t>((form.recordMode == 1 ? RecorderSettings::kFlagEndless : 0) |
                              (form.sensor == 1 ? RecorderSettings::kFlagJPt100 : 0));
    block.intervalSec = static_cast<uint16_t>(IntervalSeconds(form.intervalIndex));
    PutName(block.chanName1, form.name1);
    PutName(block.chanName2, form.name2);
    block.startMode = plan.scheduled ? 0x31 : 0x30;
    if (plan.scheduled) {
        block.startTime = date.time;
        if (uint64_t{date.time} > uint64_t{now} + 2) {
            plan.delay = date.time - (now + 2);
        } else {
            plan.messageId = msg::kStartInPast;
            plan.focusId = idc::kYear;
            return plan;
        }
    } else {
        block.startTime = now;
    }
    std::memset(block.reserved, 0, sizeof block.reserved);
    return plan;
}

RecordStartResult RunRecordStart(const CommServices& services, CZorvicDoc& doc,
                                 const RecordStartForm& form) {
    RecordStartResult out;
    const uint32_t now = services.clock ? services.clock->Now() : 0;
    const StartPlan plan = BuildStartSettings(form, now, doc.m_recSettings);
    if (plan.messageId != 0) {
        if (services.sink)
            services.sink->ShowMessage(plan.messageId);
        out.result = 1;
        out.focusId = plan.focusId;
        return out;
    }
    CRecorderComm comm(services, 9600);
    int r = comm.Open();
    if (r < 0) {
        out.result = comm.ShowCommResult(r);
        return out;
    }
    uint8_t params[4] = {}, reply[4] = {};
    CommandBlock block;
    block.params = params;
    block.reply = reply;
    r = comm.Execute(kExecStop, block, Wake::First, ShowResult::OnFailure);
    if (r == COMM_OK) {
        ClearParams(params, reply);
        r = comm.Execute(kExecBegin, block, Wake::No, ShowResult::OnFailure);
    }
    if (r == COMM_OK) {
        ClearParams(params, reply);
        CommandBlock write = block;
        write.data = &doc.m_recSettings;
        r = comm.Execute(kExecWriteSettings, write, Wake::No, ShowResult::OnFailure);
    }
    if (r == COMM_OK) {
        ClearParams(params, reply);
        if (plan.scheduled) {
            PutU32(params, plan.delay);
            r = comm.Execute(kExecStartDelayed, block, Wake::No, ShowResult::OnFailure);
        } else {
            r = comm.Execute(kExecStartNow, block, Wake::No, ShowResult::OnFailure);
        }
    }
    if (r == COMM_OK) {
        ClearParams(params, reply);
        r = comm.Execute(kExecEnd, block, Wake::No, ShowResult::Always);
    }
    if (r == COMM_OK)
        doc.SaveCommSettings();
    out.result = r;
    return out;
}

int RunRecordStop(const CommServices& services) {
    CRecorderComm comm(services, 9600);
    int r = comm.Open();
    if (r < 0)
        return comm.ShowCommResult(r);
    uint8_t params[4] = {}, reply[4] = {};
    CommandBlock block;
    block.params = params;
    block.reply = reply;
    return comm.Execute(kExecStop, block, Wake::First, ShowResult::Always);
}

int RunReadSettings(const CommServices& services, RecordStartForm& form,
                    RecorderSettings* received) {
    int r = 0;
    bool manual = false;
    {
        CRecorderComm comm(services, 9600);
        r = comm.Open();
        if (r < 0)
            return comm.ShowCommResult(r);
        uint8_t params[4] = {}, reply[4] = {};
        RecorderSettings block{};
        CommandBlock cb;
        cb.params = params;
        cb.reply = reply;
        cb.data = &block;
        r = comm.Execute(kExecReadSettings, cb, Wake::First, ShowResult::OnFailure);
        if (r != COMM_OK)
            return r;
        manual = ApplyReceivedSettings(block, form);
        if (received)
            *received = block;
        if (services.sink)
            services.sink->ShowMessage(msg::kCommOk);
        // The port closes only after the follow-up message, as the dialog does it.
        if (manual && services.sink)
            services.sink->ShowMessage(msg::kManualStartUnknown);
    }
    return r;
}

} // namespace saroko
