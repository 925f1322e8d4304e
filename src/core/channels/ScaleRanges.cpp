#include "core/channels/ScaleRanges.h"

#include "core/messages/Translate.h"
#include "core/text/DateFields.h"
#include "core/text/ParseDecimal.h"
#include "core/text/ParseInteger.h"

namespace saroko {
namespace {

std::string RangeLine(uint32_t t, const char* suffix) {
    CalendarFields f;
    ToCalendarFields(t, f);
    return FormatDateTimeText(f) + suffix;
}

} // namespace

CCalcRangeWork::CCalcRangeWork(uint32_t calcStart, uint32_t calcEnd, const GraphRange& range)
    : m_tStart(calcStart), m_tEnd(calcEnd), m_range(range) {
    // The earlier cursor is the start.
    if (range.cursorA > range.cursorB)
        Fill(range.cursorB, range.cursorA);
    else
        Fill(range.cursorA, range.cursorB);
}

void CCalcRangeWork::Fill(uint32_t from, uint32_t to) {
    const auto a = DateFieldTexts(from);
    const auto b = DateFieldTexts(to);
    for (std::size_t i = 0; i < 6; ++i) {
        fields[i] = a[i];
        fields[i + 6] = b[i];
    }
    m_hintStart = from;
    m_hintEnd = to;
}

void CCalcRangeWork::WholeGraph() {
    Fill(m_range.dataStart, m_range.dataEnd);
}

std::string CCalcRangeWork::CurrentStartText() const {
    return RangeLine(m_tStart, TranslateText("Channels", " から").c_str());
}
std::string CCalcRangeWork::CurrentEndText() const {
    return RangeLine(m_tEnd, TranslateText("Channels", " まで").c_str());
}

CalcRangeCheck CCalcRangeWork::Check() {
    CalcRangeCheck c;
    int v[12] = {};
    for (int i = 0; i < 12; ++i)
        if (!ParseInteger(fields[static_cast<std::size_t>(i)], v[i])) {
            c.messageId = kMsgDateCharYear + i % 6;
            c.focus = i;
            return c;
        }
    for (int row = 0; row < 2; ++row) {
        const int* f = v + row * 6;
        const int code = CheckDateFields(f[0], f[1], f[2], f[3], f[4], f[5]);
        if (code != 0) {
            c.messageId = DateRangeMessage(code);
            c.focus = row * 6 + DateCodeField(code);
            return c;
        }
    }
    if (!FromCalendarFields({v[0], v[1], v[2], v[3], v[4], v[5]}, m_hintStart, c.start)) {
        c.messageId = msg::kDateNotConvertible;
        c.focus = kCalcStartYear;
        return c;
    }
    if (!FromCalendarFields({v[6], v[7], v[8], v[9], v[10], v[11]}, m_hintEnd, c.end)) {
        c.messageId = msg::kDateNotConvertible;
        c.focus = kCalcEndYear;
        return c;
    }
    if (c.start > c.end) {
        c.messageId = msg::kCalcEndBeforeStart;
        c.focus = kCalcStartYear;
        return c;
    }
    m_tStart = c.start;
    m_tEnd = c.end;
    return c;
}

FullScaleCheck CheckFullScale(const std::string& upperText, const std::string& lowerText) {
    FullScaleCheck c;
    double upper = 0, lower = 0;
    int digits = 0;
    if (!ParseDecimal(upperText, upper, digits))
        return {kMsgUpperInvalid, kScaleUpper};
    if (digits > kMaxScaleDigits)
        return {kMsgUpperDigits, kScaleUpper};
    if (!ParseDecimal(lowerText, lower, digits))
        return {kMsgLowerInvalid, kScaleLower};
    if (digits > kMaxScaleDigits)
        return {kMsgLowerDigits, kScaleLower};
    if (upper < lower)
        return {kMsgUpperBelowLower, kScaleUpper};
    if (upper - lower < 2.0)
        return {kMsgScaleTooNarrow, kScaleUpper};
    c.upper = static_cast<float>(upper);
    c.lower = static_cast<float>(lower);
    return c;
}

FullScaleForm FullScaleFromDocument(const CZorvicDoc& doc) {
    return {doc.m_nScaleMode != 0 ? 1 : 0, FormatScale(doc.m_fScaleUpper),
            FormatScale(doc.m_fScaleLower)};
}

FullScaleForm FullScaleDefaults() {
    return {0, "600", "-200"};
}

void ApplyFullScale(CZorvicDoc& doc, int mode, float upper, float lower) {
    doc.m_nScaleMode = static_cast<uint32_t>(mode);
    doc.m_fScaleUpper = upper;
    doc.m_fScaleLower = lower;
    doc.SaveScaleSettings();
    // The recalculation of freshly loaded data would also mark unsaved data as saved, and the
    // next close would lose them without asking.
    const uint32_t modified = doc.m_bDataModified;
    doc.RecalcRanges(RecalcMode::NewData);
    doc.m_bDataModified = modified;
}

} // namespace saroko
