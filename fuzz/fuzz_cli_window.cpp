// The report's --from/--to window and --limits values as the command line takes them: the
// first two lines of the input are the window's sides (empty: not given), every further line
// one --limits text. An accepted limit names a channel from 1 to 8 and prints as text that
// reads back as the same limit; the figures over an accepted window lie inside it, and each
// channel is judged by the limits that hold for it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzDoc.h"
#include "core/document/LocalDateTime.h"
#include "core/report/ReportFigures.h"
#include "core/report/ReportSettings.h"

namespace {

// Two channels of a day's samples at ten minutes, one starting an hour after the other, an
// Over, an Under and a missing sample among them.
void Fill(saroko::CZorvicDoc& doc) {
    using namespace saroko;
    for (int n : {1, 2}) {
        ChannelRecord& ch = *doc.GetChannel(n);
        ch.present = 1;
        ch.startTime = 1'199'950'000 + static_cast<uint32_t>(n - 1) * 3600;
        ch.interval = 600;
        ch.sampleCount = 144;
        for (int i = 0; i < 144; ++i)
            ch.samples[i] = static_cast<uint16_t>(32768 + (i * 37 + n * 11) % 600);
        ch.samples[10] = kCodeOver;
        ch.samples[20] = kCodeUnder;
        ch.samples[30] = kCodeMissing;
        ch.samples[144] = kCodeEnd;
    }
    doc.RecalcRanges(RecalcMode::NewData);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos <= text.size() && lines.size() < 12;) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    ReportOptions options;
    for (std::size_t i = 0; i < 2 && i < lines.size(); ++i) {
        uint32_t t = 0;
        if (lines[i].empty())
            continue;
        if (!ParseLocalDateTime(lines[i], t))
            return 0;
        (i == 0 ? options.from : options.to) = t;
    }
    if (options.from && options.to && *options.to < *options.from)
        return 0; // refused
    for (std::size_t i = 2; i < lines.size(); ++i) {
        ChannelLimits l;
        if (ParseChannelLimits(lines[i], l) != LimitsParse::kOk)
            continue;
        if (l.channel < 1 || l.channel > 8 || (!l.low && !l.high) ||
            (l.low && l.high && *l.low > *l.high))
            __builtin_trap();
        const std::string shown = FormatChannelLimits(l);
        ChannelLimits again;
        if (ParseChannelLimits(shown, again) != LimitsParse::kOk || again.channel != l.channel ||
            FormatChannelLimits(again) != shown)
            __builtin_trap();
        bool given = false;
        for (const ChannelLimits& o : options.channelLimits)
            given = given || o.channel == l.channel;
        if (!given)
            options.channelLimits.push_back(l);
    }
    if (ChannelWithCrossedLimits(options) != 0)
        __builtin_trap(); // no common limits here

    static fuzz::FuzzDoc& d = []() -> fuzz::FuzzDoc& {
        fuzz::FuzzDoc& f = fuzz::FuzzDoc::Get();
        Fill(f.doc);
        return f;
    }();
    const ReportFigures r = ComputeReportFigures(d.doc, options);
    if (const auto period = SampledPeriod(r)) {
        if ((options.from && period->first < *options.from) ||
            (options.to && period->second > *options.to) || period->first > period->second)
            __builtin_trap();
    }
    for (const ChannelFigures& f : r.channels) {
        const auto [low, high] = LimitsOf(options, f.number);
        if (f.low != low || f.high != high)
            __builtin_trap();
        for (const Excursion& e : f.excursions)
            if (e.end < e.start || (options.from && e.start < *options.from))
                __builtin_trap();
    }
    return 0;
}
