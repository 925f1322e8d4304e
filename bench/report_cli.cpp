// saroko-cli report of the largest document (8 channels x 16000 samples, limits that cut the
// traces), as JSON and as the PDF report, each set against 'saroko-cli info' of the same file
// in the same run: every run pays the program's start and the file's load. And its picture,
// 'render -o x.png', against gnuplot's pngcairo plotting the same 128,000 points (when gnuplot
// is installed). Each reports the median wall time and, as cpu_ms, the processes' CPU time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "BenchDocument.h"

using namespace saroko;

namespace {

struct Fixture {
    std::string dir;
    std::string klg;

    Fixture() {
        CMemorySettingsStore store;
        FixedClock clock{1'200'000'000};
        bench::NewPrompts prompts;
        CZorvicDoc doc{store, clock};
        doc.SetPrompts(&prompts);
        bench::FillFullDocument(doc);
        dir = (std::filesystem::temp_directory_path() /
               ("saroko-bench-report-" + std::to_string(::getpid())))
                  .string();
        std::filesystem::create_directories(dir + "/config");
        klg = dir + "/full.klg";
        doc.SaveKlgFile(0, klg);
        // The same points for gnuplot: time and value, one block per channel, a gap at the
        // missing sample.
        std::ofstream dat(dir + "/full.dat");
        for (int n = 1; n <= 8; ++n) {
            const ChannelRecord& ch = *doc.GetChannel(n);
            for (int i = 0; i < kMaxSamples; ++i) {
                const uint32_t t = ch.startTime + static_cast<uint32_t>(i) * ch.interval;
                if (ch.samples[i] == kCodeMissing)
                    dat << "\n";
                else
                    dat << t << ' ' << doc.ToValue(ch.samples[i], ch.measureType, 0) << '\n';
            }
            dat << "\n\n";
        }
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& F() {
    static Fixture f;
    return f;
}

void Run(benchmark::State& state, const std::string& args) {
    bench::RunTimedCommand(state, "XDG_CONFIG_HOME='" + F().dir + "/config' XDG_DATA_HOME='" +
                                      F().dir + "/data' '" SAROKO_CLI "' " + args + " '" + F().klg +
                                      "' >/dev/null 2>&1");
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

void BM_RenderPng(benchmark::State& state) {
    Run(state, "render -o '" + F().dir + "/render.png'");
}
void BM_GnuplotAnchor(benchmark::State& state) {
    if (std::system("command -v gnuplot >/dev/null 2>&1") != 0) {
        state.SkipWithError("gnuplot is not installed");
        return;
    }
    bench::RunTimedCommand(state,
                           "gnuplot -e \"set terminal pngcairo size 1280,800; set output '" +
                               F().dir + "/gnuplot.png'; plot for [i=0:7] '" + F().dir +
                               "/full.dat' index i using 1:2 with lines notitle\" >/dev/null 2>&1");
}

// The least a Qt program pays to save a picture at all (see qt_picture_floor.cpp).
void BM_QtPictureFloor(benchmark::State& state) {
    bench::RunTimedCommand(state,
                           "'" QT_PICTURE_FLOOR "' '" + F().dir + "/floor.png' >/dev/null 2>&1");
}

BENCHMARK(BM_Info)->Apply(bench::FiveRuns);
BENCHMARK(BM_ReportJson)->Apply(bench::FiveRuns);
BENCHMARK(BM_ReportPdf)->Apply(bench::FiveRuns);
BENCHMARK(BM_RenderPng)->Apply(bench::FiveRuns);
BENCHMARK(BM_GnuplotAnchor)->Apply(bench::FiveRuns);
BENCHMARK(BM_QtPictureFloor)->Apply(bench::FiveRuns);

} // namespace
