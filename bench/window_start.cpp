// The program's start to its first painted graph with the largest document (8 channels x
// 16000 samples), against a bare Qt window shown and painted once, in the same run: each a
// whole process that ends once its window is painted and its picture saved
// (saroko --screenshot; bench_bare_window). Needs a display: run it under xvfb-run. Median
// wall time of five and, as cpu_ms, the processes' CPU time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "BenchDocument.h"

using namespace saroko;

namespace {

struct Fixture {
    std::string dir;
    std::string klg;

    Fixture() {
        dir = (std::filesystem::temp_directory_path() /
               ("saroko-bench-start-" + std::to_string(::getpid())))
                  .string();
        std::filesystem::create_directories(dir + "/config");
        klg = dir + "/full.klg";
        bench::SaveFullDocument(klg);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& F() {
    static Fixture f;
    return f;
}

bool HasDisplay(benchmark::State& state) {
    if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr)
        return true;
    state.SkipWithError("no display: run under xvfb-run");
    return false;
}

std::string Command(const std::string& program, const std::string& args) {
    return "XDG_CONFIG_HOME='" + F().dir + "/config' XDG_DATA_HOME='" + F().dir + "/data' '" +
           program + "' " + args + " >/dev/null 2>&1";
}

std::string BareCommand() {
    return Command(BARE_WINDOW, "'" + F().dir + "/bare.png'");
}
std::string StartCommand() {
    return Command(SAROKO_GUI, "--screenshot '" + F().dir + "/start.png' '" + F().klg + "'");
}

void BM_BareWindowAnchor(benchmark::State& state) {
    if (HasDisplay(state))
        bench::RunTimedCommand(state, BareCommand());
}
void BM_WindowStartFullDocument(benchmark::State& state) {
    if (HasDisplay(state))
        bench::RunTimedCommand(state, StartCommand());
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The two in turns, eleven runs each, and the ratio of their medians: both see the same
// machine at the same moments, where five of one and then five of the other may not.
void BM_WindowStartRatio(benchmark::State& state) {
    if (!HasDisplay(state))
        return;
    for (auto _ : state) {
        std::vector<double> wall[2], cpu[2];
        for (int i = 0; i < 11; ++i) {
            int side = 0;
            for (const std::string& cmd : {BareCommand(), StartCommand()}) {
                const double before = bench::ChildrenCpuMs();
                const auto t0 = std::chrono::steady_clock::now();
                if (std::system(cmd.c_str()) != 0)
                    state.SkipWithError(("failed: " + cmd).c_str());
                wall[side].push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count());
                cpu[side++].push_back(bench::ChildrenCpuMs() - before);
            }
        }
        state.counters["bare_ms"] = Median(wall[0]);
        state.counters["bare_cpu_ms"] = Median(cpu[0]);
        state.counters["start_ms"] = Median(wall[1]);
        state.counters["start_cpu_ms"] = Median(cpu[1]);
        state.counters["ratio_wall"] = Median(wall[1]) / Median(wall[0]);
        state.counters["ratio_cpu"] = Median(cpu[1]) / Median(cpu[0]);
    }
}

BENCHMARK(BM_BareWindowAnchor)->Apply(bench::FiveRuns);
BENCHMARK(BM_WindowStartFullDocument)->Apply(bench::FiveRuns);
BENCHMARK(BM_WindowStartRatio)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
