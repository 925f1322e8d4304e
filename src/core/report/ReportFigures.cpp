#include "core/report/ReportFigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace saroko {
namespace {

constexpr double kKelvinOffset = 273.15;

// Shown values carry the single-precision factors of the conversion (25.0 degC is
// 25.0000004): a value counts as beyond a limit only by more than that noise, far less than
// one resolution step.
double Noise(double limit) {
    return 1e-6 * std::max(1.0, std::fabs(limit));
}

// Collects the runs of one channel outside the limits.
class CRunTracker {
public:
    CRunTracker(ChannelFigures& out, uint32_t interval) : m_out(out), m_nInterval(interval) {}

    // A sample in the window: kHigh, kLow, or neither (nullopt) ends the run it breaks.
    void Sample(std::optional<Excursion::Kind> kind, uint32_t t) {
        if (m_run && (!kind || *kind != m_run->kind))
            Close();
        if (!kind)
            return;
        if (!m_run) {
            m_run = Excursion{*kind, t, t, 0};
            m_nCount = 0;
        }
        m_run->end = t;
        ++m_nCount;
    }

    void Close() {
        if (!m_run)
            return;
        m_run->seconds = m_nCount * static_cast<uint64_t>(m_nInterval);
        (m_run->kind == Excursion::kHigh ? m_out.secondsAboveHigh : m_out.secondsBelowLow) +=
            m_run->seconds;
        m_out.excursions.push_back(*m_run);
        m_run.reset();
    }

private:
    ChannelFigures& m_out;
    uint32_t m_nInterval;
    std::optional<Excursion> m_run;
    uint64_t m_nCount = 0;
};

double CodeKelvin(uint16_t code) {
    return (code - static_cast<int>(kCodeZero)) / 10.0 + kKelvinOffset;
}

bool IsTemperature(int type) {
    return type == kTypeTemp13 || type == kTypeTemp14;
}

ChannelFigures FiguresOf(const CZorvicDoc& doc, const ChannelRecord& ch, const ReportFigures& r,
                         const std::optional<double>& low, const std::optional<double>& high) {
    ChannelFigures f;
    f.number = static_cast<int>(ch.number);
    f.name.assign(ch.name, FieldLength(ch.name, 8));
    f.type = ch.measureType;
    f.interval = ch.interval;
    f.model = ch.modelCode;
    f.low = low;
    f.high = high;
    CRunTracker runs(f, ch.interval);
    double sum = 0;
    int real = 0;
    std::vector<uint16_t> codes; // the real temperature codes, for the MKT
    const bool temperature = IsTemperature(ch.measureType);
    for (int i = 0; i < kMaxSamples && ch.samples[i] != kCodeEnd; ++i) {
        const uint64_t t = ch.startTime + static_cast<uint64_t>(i) * ch.interval;
        if (t < r.from || t > r.to) {
            f.cut = true;
            if (t < r.from)
                continue;
            break;
        }
        const auto time = static_cast<uint32_t>(t);
        if (!f.firstTime)
            f.firstTime = time;
        f.lastTime = time;
        const uint16_t code = ch.samples[i];
        if (code == kCodeMissing) {
            if (f.missing++ == 0)
                f.firstMissing = time;
            f.lastMissing = time;
            if (f.missing <= kListedMissing)
                f.missingTimes.push_back(time);
            runs.Sample(std::nullopt, time);
            continue;
        }
        ++f.samples;
        if (code == kCodeOver || code == kCodeUnder) {
            const bool over = code == kCodeOver;
            ++(over ? f.over : f.under);
            const bool limited = over ? high.has_value() : low.has_value();
            runs.Sample(limited ? std::optional(over ? Excursion::kHigh : Excursion::kLow)
                                : std::nullopt,
                        time);
            continue;
        }
        const double v = doc.ToValue(code, ch.measureType, 1);
        if (!f.max || v > *f.max) {
            f.max = v;
            f.maxTime = time;
        }
        if (!f.min || v < *f.min) {
            f.min = v;
            f.minTime = time;
        }
        sum += v;
        ++real;
        if (temperature)
            codes.push_back(code);
        std::optional<Excursion::Kind> kind;
        if (high && v - *high > Noise(*high))
            kind = Excursion::kHigh;
        else if (low && *low - v > Noise(*low))
            kind = Excursion::kLow;
        runs.Sample(kind, time);
    }
    runs.Close();
    if (real > 0)
        f.average = sum / real;
    if (temperature && !codes.empty()) {
        const double k = MeanKineticOfCodes(codes, r.activationEnergy);
        if (std::isfinite(k)) {
            const double c = k - kKelvinOffset;
            f.mkt = r.fahrenheit ? c * 1.8 + 32.0 : c;
        }
    }
    return f;
}

} // namespace

std::string FormatDuration(uint64_t seconds) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%llu:%02u:%02u",
                  static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    return buf;
}

std::string FigureText(const CZorvicDoc& doc, uint8_t type, const std::optional<double>& value) {
    if (!value)
        return "---";
    std::string text = doc.FormatValue(type, 1, *value);
    text.erase(0, text.find_first_not_of(' '));
    return text.empty() ? "---" : text;
}

double MeanKineticKelvin(const std::vector<double>& kelvin, double activationEnergy) {
    if (kelvin.empty() || activationEnergy <= 0)
        return NAN;
    const double a = activationEnergy * 1000.0 / kGasConstant;
    // The terms exp(-a/T) are tiny (1e-15 at room temperature): sum them relative to the
    // largest, so that no term underflows.
    double top = -INFINITY;
    for (const double t : kelvin) {
        if (!(t > 0))
            return NAN;
        top = std::max(top, -a / t);
    }
    double sum = 0;
    for (const double t : kelvin)
        sum += std::exp(-a / t - top);
    const double lnMean = top + std::log(sum / static_cast<double>(kelvin.size()));
    return a / -lnMean;
}

double MeanKineticOfCodes(const std::vector<uint16_t>& codes, double activationEnergy) {
    if (codes.empty() || activationEnergy <= 0)
        return NAN;
    const double a = activationEnergy * 1000.0 / kGasConstant;
    const auto [lowest, highest] = std::minmax_element(codes.begin(), codes.end());
    const uint16_t lo = *lowest;
    // A code is a tenth of a degree and a series holds few distinct ones: each term is taken
    // once per code, with MeanKineticKelvin's arithmetic and summed in the same order, so the
    // figure is the same to the bit at a fraction of the exp() calls.
    std::vector<double> term(static_cast<std::size_t>(*highest - lo) + 1, NAN);
    for (const uint16_t code : codes)
        term[code - lo] = 0; // marks the codes present
    double top = -INFINITY;
    for (std::size_t i = 0; i < term.size(); ++i) {
        if (std::isnan(term[i]))
            continue;
        const double t = CodeKelvin(static_cast<uint16_t>(lo + i));
        if (!(t > 0))
            return NAN;
        top = std::max(top, -a / t);
    }
    for (std::size_t i = 0; i < term.size(); ++i)
        if (!std::isnan(term[i]))
            term[i] = std::exp(-a / CodeKelvin(static_cast<uint16_t>(lo + i)) - top);
    double sum = 0;
    for (const uint16_t code : codes)
        sum += term[code - lo];
    const double lnMean = top + std::log(sum / static_cast<double>(codes.size()));
    return a / -lnMean;
}

ReportFigures ComputeReportFigures(const CZorvicDoc& doc, const ReportOptions& options) {
    ReportFigures r;
    const GraphRange& range = *doc.GetRange();
    r.from = options.from.value_or(range.dataStart);
    r.to = options.to.value_or(range.dataEnd);
    r.fahrenheit = doc.m_nUnitCF == 1;
    r.low = options.low;
    r.high = options.high;
    r.activationEnergy = options.activationEnergy;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = doc.GetChannel(n);
        if (ch && ch->present != 0 && doc.m_bShow[static_cast<std::size_t>(n - 1)] == 1) {
            const auto [low, high] = LimitsOf(options, n);
            r.channels.push_back(FiguresOf(doc, *ch, r, low, high));
        }
    }
    return r;
}

std::pair<std::optional<double>, std::optional<double>> LimitsOf(const ReportOptions& options,
                                                                 int channel) {
    std::pair limits{options.low, options.high};
    for (const ChannelLimits& own : options.channelLimits) {
        if (own.channel != channel)
            continue;
        if (own.low)
            limits.first = own.low;
        if (own.high)
            limits.second = own.high;
    }
    return limits;
}

int ChannelWithCrossedLimits(const ReportOptions& options) {
    for (int n = 1; n <= kChannelCount; ++n) {
        const auto [low, high] = LimitsOf(options, n);
        if (low && high && *low > *high)
            return n;
    }
    return 0;
}

std::optional<std::pair<uint32_t, uint32_t>> SampledPeriod(const ReportFigures& r) {
    std::optional<std::pair<uint32_t, uint32_t>> period;
    for (const ChannelFigures& f : r.channels) {
        if (!f.firstTime)
            continue;
        if (!period)
            period = std::pair(*f.firstTime, f.lastTime);
        period->first = std::min(period->first, *f.firstTime);
        period->second = std::max(period->second, f.lastTime);
    }
    return period;
}

std::pair<uint32_t, uint32_t> SampledWindow(const CZorvicDoc& doc, uint32_t from, uint32_t to) {
    ReportOptions window;
    window.from = from;
    window.to = to;
    return SampledPeriod(ComputeReportFigures(doc, window)).value_or(std::pair(from, to));
}

bool WindowCutsData(const ReportFigures& r) {
    return std::any_of(r.channels.begin(), r.channels.end(),
                       [](const ChannelFigures& f) { return f.cut; });
}

} // namespace saroko
