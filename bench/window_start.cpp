// The program's start to its first painted graph with the largest document (8 channels x
// 16000 samples), against a bare Qt window shown and painted once, in the same run: each a
// whole process that ends once its window is painted and its picture saved
// (saroko --screenshot; bench_bare_window). Needs a display: run it under xvfb-run. Median
// wall time of five and, as cpu_ms, the processes' CPU time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

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

void RunCommand(benchmark::State& state, const std::string& program, const std::string& args) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    const std::string cmd = "XDG_CONFIG_HOME='" + F().dir + "/config' XDG_DATA_HOME='" + F().dir +
                            "/data' '" + program + "' " + args + " >/dev/null 2>&1";
    bench::RunTimedCommand(state, cmd);
}

void BM_BareWindowAnchor(benchmark::State& state) {
    RunCommand(state, BARE_WINDOW, "'" + F().dir + "/bare.png'");
}
void BM_WindowStartFullDocument(benchmark::State& state) {
    RunCommand(state, SAROKO_GUI, "--screenshot '" + F().dir + "/start.png' '" + F().klg + "'");
}

BENCHMARK(BM_BareWindowAnchor)->Apply(bench::FiveRuns);
BENCHMARK(BM_WindowStartFullDocument)->Apply(bench::FiveRuns);

} // namespace
