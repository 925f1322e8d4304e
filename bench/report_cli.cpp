// saroko-cli report of the largest document (8 channels x 16000 samples, limits that cut the
// traces), as JSON and as the PDF report, each set against 'saroko-cli info' of the same file
// in the same run: every run pays the program's start and the file's load.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/document/ZorvicDoc.h"

using namespace saroko;

namespace {

class NewPrompts : public IDocumentPrompts {
public:
    int AskReadMode() override { return kReadNew; }
    int ShowMessage(int, std::string_view) override { return kIdOk; }
};

struct Fixture {
    std::string dir;
    std::string klg;

    Fixture() {
        CMemorySettingsStore store;
        FixedClock clock{1'200'000'000};
        NewPrompts prompts;
        CZorvicDoc doc{store, clock};
        doc.SetPrompts(&prompts);
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
        dir = (std::filesystem::temp_directory_path() /
               ("saroko-bench-report-" + std::to_string(::getpid())))
                  .string();
        std::filesystem::create_directories(dir + "/config");
        klg = dir + "/full.klg";
        doc.SaveKlgFile(0, klg);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& F() {
    static Fixture f;
    return f;
}

void Run(benchmark::State& state, const std::string& args) {
    const std::string cmd = "XDG_CONFIG_HOME='" + F().dir + "/config' XDG_DATA_HOME='" + F().dir +
                            "/data' '" SAROKO_CLI "' " + args +
                            " '" + F().klg + "' >/dev/null 2>&1";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError(("failed: " + cmd).c_str());
}

void BM_Info(benchmark::State& state) {
    Run(state, "info");
}
void BM_ReportJson(benchmark::State& state) {
    Run(state, "report --json --low 16 --high 24");
}
void BM_ReportPdf(benchmark::State& state) {
    Run(state, "report --low 16 --high 24 -o '" + F().dir + "/report.pdf'");
}

BENCHMARK(BM_Info)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ReportJson)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
