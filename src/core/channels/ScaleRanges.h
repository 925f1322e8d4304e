#pragma once
// The calculation range dialog and the vertical full-scale dialog: their fields, the checks
// with their messages and focus fields, and what OK changes.
#include <array>
#include <cstdint>
#include <string>

#include "core/document/ZorvicDoc.h"

namespace saroko {

// Calculation range fields: start year..second (0..5), end year..second (6..11).
inline constexpr int kCalcStartYear = 0;
inline constexpr int kCalcEndYear = 6;
using CalcRangeFields = std::array<std::string, 12>;

struct CalcRangeCheck {
    int messageId = 0; // 0 when both rows give a time
    int focus = -1;    // field index 0..11
    uint32_t start = 0;
    uint32_t end = 0;
};

class CCalcRangeWork {
public:
    // The current range and the document's ranges (for the cursors and the whole span).
    CCalcRangeWork(uint32_t calcStart, uint32_t calcEnd, const GraphRange& range);

    // "現在の計算範囲": "... から" and "... まで".
    std::string CurrentStartText() const;
    std::string CurrentEndText() const;
    // "ｸﾞﾗﾌ全体": the rows from the data span.
    void WholeGraph();
    // OK: the checks in order; on success the new range is kept.
    CalcRangeCheck Check();

    uint32_t Start() const { return m_tStart; }
    uint32_t End() const { return m_tEnd; }

    // The twelve texts as typed.
    CalcRangeFields fields;

private:
    void Fill(uint32_t from, uint32_t to);

    uint32_t m_tStart;
    uint32_t m_tEnd;
    const GraphRange& m_range;
    // The times the rows were filled from; a row still showing one converts back to it.
    uint32_t m_hintStart = 0;
    uint32_t m_hintEnd = 0;
};

inline constexpr int kMsgUpperInvalid = 57792;
inline constexpr int kMsgLowerInvalid = 57793;
inline constexpr int kMsgUpperDigits = 57794;
inline constexpr int kMsgLowerDigits = 57795;
inline constexpr int kMsgUpperBelowLower = 57796;
inline constexpr int kMsgScaleTooNarrow = 57797;
inline constexpr int kMaxScaleDigits = 6;

enum ScaleField : int { kScaleUpper = 0, kScaleLower = 1 };

struct FullScaleCheck {
    int messageId = 0;
    int focus = -1; // ScaleField
    float upper = 0;
    float lower = 0;
};
// OK's checks on the two texts, in automatic mode too.
FullScaleCheck CheckFullScale(const std::string& upper, const std::string& lower);

// The full-scale dialog's state.
struct FullScaleForm {
    int mode = 0; // 0 オート, 1 マニュアル
    std::string upper;
    std::string lower;
};
FullScaleForm FullScaleFromDocument(const CZorvicDoc& doc);
// "初期値": automatic, "600" and "-200".
FullScaleForm FullScaleDefaults();

// After OK: mode and limits into the document and the settings store, then the value axis
// rebuilt from them with the windows back to the whole data span. Only the display changes,
// so the document's modified flag stays as it was.
void ApplyFullScale(CZorvicDoc& doc, int mode, float upper, float lower);

} // namespace saroko
