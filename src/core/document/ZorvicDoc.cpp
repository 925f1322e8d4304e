#include "core/document/ZorvicDoc.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <type_traits>

namespace saroko {
namespace {

constexpr uint32_t kMaxTime = 0xFFFFFFFFu;

// Rounds half away from zero and drops the fraction.
long RoundHalfAway(double x) {
    return static_cast<long>(x >= 0 ? x + 0.5 : x - 0.5);
}

// ToValue's conversions. The walks over every sample pick one per channel and run it as a
// constant, so the loop carries no branch on the type.
enum class Conv { kCelsius, kFahrenheit, kHumidityShown, kHumidity, kVolt, kMillivolt, kNone };

template <Conv C> double Convert(uint16_t code) {
    const double k = static_cast<double>(static_cast<int>(code) - 32768);
    if constexpr (C == Conv::kCelsius) {
        return k * static_cast<double>(0.1f);
    } else if constexpr (C == Conv::kFahrenheit) {
        return k * static_cast<double>(0.1f) * 9 * static_cast<double>(0.2f) + 32;
    } else if constexpr (C == Conv::kHumidityShown) {
        const double h = k * static_cast<double>(0.1f);
        return h > 99.0 ? 99.0 : std::trunc(h + 0.5);
    } else if constexpr (C == Conv::kHumidity) {
        return k * static_cast<double>(0.1f);
    } else if constexpr (C == Conv::kVolt) {
        return k;
    } else if constexpr (C == Conv::kMillivolt) {
        return k * static_cast<double>(0.001f);
    } else {
        return 0.0;
    }
}

// Calls fn with the conversion as a compile-time constant (std::integral_constant).
template <typename Fn> decltype(auto) WithConv(Conv c, Fn&& fn) {
    switch (c) {
    case Conv::kCelsius:
        return fn(std::integral_constant<Conv, Conv::kCelsius>{});
    case Conv::kFahrenheit:
        return fn(std::integral_constant<Conv, Conv::kFahrenheit>{});
    case Conv::kHumidityShown:
        return fn(std::integral_constant<Conv, Conv::kHumidityShown>{});
    case Conv::kHumidity:
        return fn(std::integral_constant<Conv, Conv::kHumidity>{});
    case Conv::kVolt:
        return fn(std::integral_constant<Conv, Conv::kVolt>{});
    case Conv::kMillivolt:
        return fn(std::integral_constant<Conv, Conv::kMillivolt>{});
    default:
        return fn(std::integral_constant<Conv, Conv::kNone>{});
    }
}

Conv ConvOf(int type, int mode, uint32_t unitCF, uint32_t unitV) {
    switch (type) {
    case kTypeTemp13:
    case kTypeTemp14:
        return unitCF == 1 ? Conv::kFahrenheit : Conv::kCelsius;
    case kTypeHumidity:
        return mode == 1 ? Conv::kHumidityShown : Conv::kHumidity;
    case kTypeVoltage:
        return unitV == 1 ? Conv::kVolt : Conv::kMillivolt;
    default:
        return Conv::kNone;
    }
}

// What one pass over samples [first, end) of a channel finds: the extreme real codes, whether
// Over and Under occur, and (kSum) the count and sum of (value code - 32768) over all but
// missing samples; 16000 of them stay inside an int32. Written without branches (masks,
// signed 16-bit lanes), so it vectorises.
struct CodeScan {
    uint16_t hi = 0, lo = 0xFFFF; // over real codes (not Over, Under or missing)
    bool real = false, over = false, under = false;
    int count = 0;
    int32_t sumK = 0;
};

template <bool kSum> CodeScan ScanCodes(const ChannelRecord& ch, int first, int end) {
    const auto overK = static_cast<int16_t>(ch.ValueCode(kCodeOver) - 32768);
    const auto underK = static_cast<int16_t>(kCodeUnderValue - 32768);
    int16_t hi = INT16_MIN, lo = INT16_MAX;
    uint16_t flags = 0;
    int32_t count = 0, sumK = 0;
    for (int i = first; i < end; ++i) {
        const uint16_t code = ch.samples[i];
        const uint16_t isOver = code == kCodeOver, isUnder = code == kCodeUnder;
        const uint16_t isMissing = code == kCodeMissing;
        const auto special = static_cast<uint16_t>(-(isOver | isUnder | isMissing));
        hi = std::max(hi, static_cast<int16_t>((code & ~special) ^ 0x8000));
        lo = std::min(lo, static_cast<int16_t>((code | special) ^ 0x8000));
        flags |= static_cast<uint16_t>(isOver | (isUnder << 1) | ((~special & 1) << 2));
        if constexpr (kSum) {
            const auto mOver = static_cast<int16_t>(-isOver),
                       mUnder = static_cast<int16_t>(-isUnder);
            auto k = static_cast<int16_t>(code ^ 0x8000);
            k = static_cast<int16_t>((k & ~(mOver | mUnder)) | (overK & mOver) | (underK & mUnder));
            count += 1 - isMissing;
            sumK += static_cast<int16_t>(k & ~static_cast<int16_t>(-isMissing));
        }
    }
    CodeScan scan;
    scan.hi = static_cast<uint16_t>(hi ^ 0x8000);
    scan.lo = static_cast<uint16_t>(lo ^ 0x8000);
    scan.over = (flags & 1) != 0;
    scan.under = (flags & 2) != 0;
    scan.real = (flags & 4) != 0;
    scan.count = count;
    scan.sumK = sumK;
    return scan;
}

// The factor of a conversion whose values are (value code - 32768) x factor, each product and
// every partial sum exact in a double, so that the sum in sample order equals factor x sum of
// the integers to the bit: 0.1f and 0.001f have 24-bit mantissas, and 16000 codes of at most
// 2^15 times such a mantissa stay below 2^53. Other conversions round, and keep their order.
std::optional<double> ExactFactor(Conv c) {
    switch (c) {
    case Conv::kCelsius:
        return static_cast<double>(0.1f);
    case Conv::kVolt:
        return 1.0;
    case Conv::kMillivolt:
        return static_cast<double>(0.001f);
    case Conv::kNone:
        return 0.0;
    default:
        return std::nullopt;
    }
}

// The values of a vertical range, highest first.
struct ValueSpan {
    double upper, lower;
};

// The times of the channels with data and their shortest interval into `r` (the times stay
// as they were when no channel has data), and the extreme values among them; 600 and -200
// when there is none.
ValueSpan ScanDataRanges(const CZorvicDoc& doc, GraphRange& r) {
    const bool anyData = doc.HasAnyData();
    if (anyData) {
        // Start from the top of the u32 range so that data after early 2038 keep their own
        // start instead of being pinned to 0x7FFFFFFF.
        r.dataStart = kMaxTime;
        r.dataEnd = 3600;
    }
    r.minInterval = 3600;
    double vmax = 0.0, vmin = 65535.0;

    for (int number = 1; number <= kChannelCount; ++number) {
        const ChannelRecord* ch = doc.GetChannel(number);
        if (!ch || ch->present == 0)
            continue;
        r.dataStart = std::min(r.dataStart, ch->startTime);
        r.minInterval = std::min(r.minInterval, ch->interval);
        const int count = ch->CountSamples();
        const uint32_t last = count > 0
                                  ? ch->startTime + static_cast<uint32_t>(count - 1) * ch->interval
                                  : ch->startTime;
        // Every conversion rises with the code, so the value extremes are those of the
        // extreme codes: one integer pass instead of a conversion per sample.
        const CodeScan scan = ScanCodes<false>(*ch, 0, count);
        auto take = [&](uint16_t code) {
            const double v = doc.ToValue(ch->ValueCode(code), ch->measureType, 1);
            if (v > vmax)
                vmax = v;
            if (v < vmin)
                vmin = v;
        };
        if (scan.real) {
            take(scan.hi);
            take(scan.lo);
        }
        if (scan.over)
            take(kCodeOver);
        if (scan.under)
            take(kCodeUnder);
        r.dataEnd = std::max(r.dataEnd, last);
    }

    if (!anyData || (vmax == 0.0 && vmin == 65535.0)) {
        vmax = 600.0;
        vmin = -200.0;
    }
    return {vmax, vmin};
}

// The data's times with room at either end: a span under 10 s is widened around its centre
// (64-bit, so times near the top of the range do not wrap), then 2.5 % added on each side.
void WidenDataTimes(GraphRange& r) {
    const int64_t span = std::llabs(static_cast<int64_t>(r.dataEnd) - r.dataStart);
    if (span < 10) {
        const uint64_t c = (static_cast<uint64_t>(r.dataStart) + r.dataEnd) / 2;
        if (c < 5) {
            r.dataStart = 0;
            r.dataEnd = 10;
        } else if (c + 5 < kMaxTime) {
            r.dataStart = static_cast<uint32_t>(c - 5);
            r.dataEnd = static_cast<uint32_t>(c + 5);
        } else {
            r.dataStart = 0xFFFFFFF5u;
            r.dataEnd = kMaxTime;
        }
    }
    const int64_t span2 = std::llabs(static_cast<int64_t>(r.dataEnd) - r.dataStart);
    const uint32_t m = static_cast<uint32_t>(static_cast<double>(span2) * 0.025 + 0.999999999);
    r.dataStart = r.dataStart > m ? r.dataStart - m : 0;
    r.dataEnd = (static_cast<uint64_t>(r.dataEnd) + m >= kMaxTime) ? kMaxTime : r.dataEnd + m;
}

// The vertical scale of the data's values: at least 2 high, with 5 % above and below.
ValueSpan DataScale(ValueSpan v) {
    double vmax = v.upper, vmin = v.lower;
    if (std::fabs(vmax - vmin) < 2.0) {
        const double mid = (vmax + vmin) / 2.0;
        vmax = mid + 1.0;
        vmin = mid - 1.0;
    }
    return {vmax + std::fabs(vmax - vmin) * 0.05, vmin - std::fabs(vmax - vmin) * 0.05};
}

// The window and the cursors on the whole data.
void ViewWholeData(GraphRange& r) {
    r.viewStart = r.cursorA = r.dataStart;
    r.viewEnd = r.cursorB = r.dataEnd;
}

// New or changed data: the windows afresh, the vertical one on the fixed scale of the
// settings (5 % added) when one is set, else on the data's scale `u`..`l`.
void WindowsAfresh(const CZorvicDoc& doc, GraphRange& r, float u, float l) {
    ViewWholeData(r);
    if (doc.m_nScaleMode == 1) {
        const double d =
            std::fabs(static_cast<double>(doc.m_fScaleUpper) - doc.m_fScaleLower) * 0.05;
        r.fullUpper = r.viewUpper = static_cast<float>(doc.m_fScaleUpper + d);
        r.fullLower = r.viewLower = static_cast<float>(doc.m_fScaleLower - d);
    } else {
        r.fullUpper = r.viewUpper = u;
        r.fullLower = r.viewLower = l;
    }
}

// Other units or scale: the whole data again; a fixed scale shows its full height, else the
// data's scale is taken anew. The calculation window stays.
void WindowsForNewUnits(const CZorvicDoc& doc, GraphRange& r, float u, float l) {
    ViewWholeData(r);
    if (doc.m_nScaleMode == 1) {
        r.viewUpper = r.fullUpper;
        r.viewLower = r.fullLower;
    } else {
        r.fullUpper = r.viewUpper = u;
        r.fullLower = r.viewLower = l;
    }
}

} // namespace

CZorvicDoc::CZorvicDoc(ISettingsStore& store, const IClock& clock)
    : m_store(store), m_clock(clock) {}

CZorvicDoc::~CZorvicDoc() = default;

void CZorvicDoc::SetTextCodec(const ITextCodec* codec) {
    m_pCodec = codec ? codec : &m_basicCodec;
}

int CZorvicDoc::OnOpenDocument(const std::string& path, OpenOrder order) {
    if (!m_bInitialized)
        InitDocument();
    return OpenDataFile(path, order);
}

void CZorvicDoc::LoadSettings() {
    LoadTextFileSettings();
    LoadPrintGraphSettings();
    LoadCommSettings();
    LoadUnitSettings();
    LoadCursorSettings();
    LoadScaleSettings();
    m_recentFiles.clear();
    for (int i = 1; i <= static_cast<int>(kRecentFileCount); ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "File%d", i);
        m_recentFiles.push_back(m_store.GetString("Recent File List", key, ""));
    }
}

void CZorvicDoc::InitDocument() {
    m_bDataModified = 0;
    LoadSettings();
    for (int i = 0; i < kChannelCount; ++i)
        if (!m_pChannel[i])
            m_pChannel[i] = std::make_unique<ChannelRecord>();
    ClearAllChannels();
    m_bInitialized = 1;
}

void CZorvicDoc::ClearChannelContents(ChannelRecord& ch, uint32_t now) {
    ch.present = 0;
    std::memset(ch.name, 0, sizeof ch.name);
    ch.startTime = now;
    ch.measureType = kTypeTemp13;
    ch.modelCode = 0;
    ch.startKnown = ch.recModeCode = ch.startModeCode = ch.unitFlag = ch.sensorCode = 0xFF;
    ch.interval = 1;
    ch.statMax = ch.statMin = ch.statAvg = 0;
    // The end code is all ones: one byte fill, which stays one call in instrumented builds.
    std::memset(ch.samples, 0xFF, sizeof ch.samples);
    ch.terminator = kCodeEnd;
    ch.sampleCount = 0;
}

void CZorvicDoc::ClearAllChannels() {
    const uint32_t now = m_clock.Now();
    for (int i = 0; i < kChannelCount; ++i) {
        if (!m_pChannel[i])
            m_pChannel[i] = std::make_unique<ChannelRecord>();
        ChannelRecord& ch = *m_pChannel[i];
        ch.number = static_cast<uint32_t>(i + 1);
        ClearChannelContents(ch, now);
        m_bShow[i] = 1;
    }
    m_bDataModified = 0;
    ResetRanges();
    m_szPathName = "Untitled";
    m_szFileName = "Untitled";
    if (m_pObserver)
        m_pObserver->OnPathNameChanged(m_szPathName);
}

void CZorvicDoc::ResetRanges() {
    const uint32_t now = m_clock.Now();
    m_range = GraphRange{};
    m_range.dataStart = m_range.viewStart = m_range.cursorA = m_range.calcStart = now;
    m_range.dataEnd = m_range.viewEnd = m_range.cursorB = m_range.calcEnd = now + 3600;
    double u = 600.0, l = -200.0;
    if (m_nScaleMode == 1) {
        u = m_fScaleUpper;
        l = m_fScaleLower;
    }
    const double m = std::fabs(u - l) * 0.05;
    m_range.fullUpper = m_range.viewUpper = static_cast<float>(u + m);
    m_range.fullLower = m_range.viewLower = static_cast<float>(l - m);
}

ChannelRecord* CZorvicDoc::GetChannel(int number) {
    for (auto& p : m_pChannel)
        if (p && p->number == static_cast<uint32_t>(number))
            return p.get();
    return nullptr;
}

const ChannelRecord* CZorvicDoc::GetChannel(int number) const {
    for (const auto& p : m_pChannel)
        if (p && p->number == static_cast<uint32_t>(number))
            return p.get();
    return nullptr;
}

bool CZorvicDoc::HasAnyData() const {
    for (const auto& p : m_pChannel)
        if (p && p->present != 0)
            return true;
    return false;
}

void CZorvicDoc::UpdateAllViews() {
    if (m_pObserver)
        m_pObserver->UpdateAllViews();
}

void CZorvicDoc::RecalcRanges(RecalcMode mode) {
    GraphRange& r = m_range;
    const uint32_t oldStart = r.dataStart, oldEnd = r.dataEnd;
    const float oldUpper = r.viewUpper, oldLower = r.viewLower;

    const ValueSpan values = ScanDataRanges(*this, r);
    WidenDataTimes(r);
    const ValueSpan scale = DataScale(values);
    const float u = static_cast<float>(scale.upper), l = static_cast<float>(scale.lower);

    switch (mode) {
    case RecalcMode::NewData:
        WindowsAfresh(*this, r, u, l);
        r.calcStart = r.dataStart;
        r.calcEnd = r.dataEnd;
        break;
    case RecalcMode::ChangedData:
        if (r.dataStart != oldStart || r.dataEnd != oldEnd || u != oldUpper || l != oldLower)
            WindowsAfresh(*this, r, u, l);
        r.calcStart = r.dataStart;
        r.calcEnd = r.dataEnd;
        break;
    case RecalcMode::UnitsOrScale:
        WindowsForNewUnits(*this, r, u, l);
        break;
    }

    CalcStatistics();

    if (mode == RecalcMode::NewData)
        m_bDataModified = 0;
    else if (mode == RecalcMode::ChangedData)
        m_bDataModified = 1;
}

void CZorvicDoc::CalcStatistics() {
    for (int number = 1; number <= kChannelCount; ++number) {
        ChannelRecord* ch = GetChannel(number);
        if (!ch)
            continue;
        if (ch->present == 0) {
            ch->statMax = ch->statMin = ch->statAvg = kCodeMissing;
            continue;
        }
        double sum = 0.0;
        long count = 0;
        bool over = false, under = false, seen = false;
        uint16_t hi = 0, lo = 65535;
        const int samples = ch->CountSamples();
        // The samples inside the calculation window: one index range while the times do not
        // wrap past the top of the u32 range, else each sample's time is checked.
        int first = 0, end = samples;
        const uint64_t start = ch->startTime, step = ch->interval;
        const bool wraps = samples > 0 && start + (samples - 1) * step > 0xFFFFFFFFu;
        if (!wraps) {
            const uint64_t from = m_range.calcStart, to = m_range.calcEnd;
            if (from > start)
                first = step == 0 ? samples
                                  : static_cast<int>(std::min<uint64_t>(
                                        samples, (from - start + step - 1) / step));
            if (to < start)
                end = 0;
            else if (step != 0)
                end = static_cast<int>(std::min<uint64_t>(samples, (to - start) / step + 1));
            end = std::max(end, first);
        }
        const Conv conv = ConvOf(ch->measureType, 1, m_nUnitCF, m_nUnitV);
        const std::optional<double> factor = ExactFactor(conv);
        if (!wraps && factor) {
            const CodeScan scan = ScanCodes<true>(*ch, first, end);
            sum = static_cast<double>(scan.sumK) * *factor;
            count = scan.count;
            over = scan.over;
            under = scan.under;
            seen = scan.real;
            if (seen) {
                hi = scan.hi;
                lo = scan.lo;
            }
        } else {
            // The sum keeps the order of the samples, so the average stays the same to the bit.
            WithConv(conv, [&](auto c) {
                for (int i = first; i < end; ++i) {
                    const uint16_t code = ch->samples[i];
                    if (code == kCodeMissing)
                        continue;
                    const uint32_t t = ch->startTime + static_cast<uint32_t>(i) * ch->interval;
                    if (t < m_range.calcStart || t > m_range.calcEnd)
                        continue;
                    sum += Convert<c.value>(ch->ValueCode(code));
                    ++count;
                    if (code == kCodeOver) {
                        over = true;
                    } else if (code == kCodeUnder) {
                        under = true;
                    } else {
                        seen = true;
                        hi = std::max(hi, code);
                        lo = std::min(lo, code);
                    }
                }
            });
        }
        ch->statAvg =
            count ? ToCode(static_cast<float>(sum / count), ch->measureType) : kCodeMissing;
        if (over)
            ch->statMax = kCodeOver;
        else if (seen)
            ch->statMax = hi;
        else if (under)
            ch->statMax = kCodeUnder;
        else
            ch->statMax = kCodeMissing;
        if (under)
            ch->statMin = kCodeUnder;
        else if (seen)
            ch->statMin = lo;
        else if (over)
            ch->statMin = kCodeOver;
        else
            ch->statMin = kCodeMissing;
    }
}

double CZorvicDoc::ToValue(uint16_t code, int type, int mode) const {
    return WithConv(ConvOf(type, mode, m_nUnitCF, m_nUnitV),
                    [code](auto c) { return Convert<c.value>(code); });
}

uint16_t CZorvicDoc::ToCode(double value, int type) const {
    long r;
    switch (type) {
    case kTypeTemp13:
    case kTypeTemp14: {
        const double c = m_nUnitCF == 1 ? (value - 32) * 0.5555556 : value;
        r = RoundHalfAway(c * 10) + 32768;
        break;
    }
    case kTypeHumidity:
        r = RoundHalfAway(value * 10) + 32768;
        break;
    case kTypeVoltage:
        r = m_nUnitV == 1 ? static_cast<long>(value) + 32768
                          : 32768 + static_cast<long>(value * 1000);
        break;
    default:
        return 0;
    }
    return static_cast<uint16_t>(r);
}

std::string CZorvicDoc::FormatValue(int type, int mode, double value) const {
    const char* fmt = nullptr;
    switch (type) {
    case kTypeTemp13:
    case kTypeTemp14:
        fmt = "%6.1f";
        break;
    case kTypeHumidity:
        fmt = mode == 1 ? "%6.1f" : "%5.0f";
        break;
    case kTypeVoltage:
        fmt = m_nUnitV == 1 ? "%6.0f" : "%6.3f";
        break;
    default:
        return {};
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, value);
    return buf;
}

std::string CZorvicDoc::FormatUnit(int type, int mode) const {
    if (type < 13 || type > 224)
        return {};
    std::string s;
    if (mode == 1)
        s += '"';
    switch (type) {
    case kTypeTemp13:
    case kTypeTemp14:
        s += m_nUnitCF == 1 ? "\xDF"
                              "F "
                            : "\xDF"
                              "C ";
        break;
    case kTypeHumidity:
        s += "%RH";
        break;
    case kTypeVoltage:
        s += m_nUnitV == 1 ? "mV " : " V ";
        break;
    default:
        break;
    }
    if (mode == 1)
        s += '"';
    return s;
}

std::string CZorvicDoc::CellValueText(const ChannelRecord& ch, uint16_t code, bool average) const {
    if (code == kCodeEnd || code == kCodeMissing)
        return "  --- ";
    if (!average && code == kCodeOver)
        return "  Over";
    if (!average && code == kCodeUnder)
        return " Under";
    return FormatValue(ch.measureType, 0, ToValue(code, ch.measureType, 1));
}

void CZorvicDoc::SetPathName(const std::string& path) {
    m_szPathName = path;
    const auto pos = path.find_last_of("\\/");
    m_szFileName = pos == std::string::npos ? path : path.substr(pos + 1);
    if (m_pObserver)
        m_pObserver->OnPathNameChanged(m_szPathName);
}

} // namespace saroko
