#pragma once
// The largest document the program holds, 8 channels x 16000 samples, as the command-line and
// core benchmarks measure it: intervals of 1 to 10 s, a slow wave, one over-range and one
// missing sample early in each channel.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

#include "core/document/ZorvicDoc.h"

namespace saroko::bench {

class NewPrompts : public IDocumentPrompts {
public:
    int AskReadMode() override { return kReadNew; }
    int ShowMessage(int, std::string_view) override { return kIdOk; }
};

inline void FillFullDocument(CZorvicDoc& doc) {
    doc.OnNewDocument();
    const uint32_t intervals[8] = {1, 2, 5, 10, 1, 2, 5, 10};
    for (int n = 1; n <= 8; ++n) {
        ChannelRecord& ch = *doc.GetChannel(n);
        ch.present = ch.number;
        ch.startTime = 1'200'000'000u + static_cast<uint32_t>(n) * 7;
        ch.interval = intervals[n - 1];
        ch.measureType = kTypeTemp13;
        ch.sensorCode = 0;
        for (int i = 0; i < kMaxSamples; ++i)
            ch.samples[i] = doc.ToCode(20.0 + 5.0 * std::sin(i / 300.0 + n), kTypeTemp13);
        ch.samples[500] = kCodeOver;
        ch.samples[900] = kCodeMissing;
        ch.sampleCount = kMaxSamples;
    }
    doc.RecalcRanges(RecalcMode::NewData);
}

// Saves the full document at path with a throwaway store and clock.
inline void SaveFullDocument(const std::string& path) {
    CMemorySettingsStore store;
    FixedClock clock{1'200'000'000};
    NewPrompts prompts;
    CZorvicDoc doc{store, clock};
    doc.SetPrompts(&prompts);
    FillFullDocument(doc);
    doc.SaveKlgFile(0, path);
}

// The CPU time of the finished child processes so far, in milliseconds.
inline double ChildrenCpuMs() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Runs a shell command once per iteration; its processes' CPU time per run goes to cpu_ms.
inline void RunTimedCommand(benchmark::State& state, const std::string& cmd) {
    const double cpu = ChildrenCpuMs();
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError(("failed: " + cmd).c_str());
    state.counters["cpu_ms"] = (ChildrenCpuMs() - cpu) / static_cast<double>(state.iterations());
}

// Each five times, one run each: the median of five whole processes.
inline void FiveRuns(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
    b->ReportAggregatesOnly(true);
}

} // namespace saroko::bench
