// A download of 8000 records from km41-sim paced at 9600 baud, through saroko-cli on a
// pseudo-terminal: wall time against the wire time, and the CPU time the program spends.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Bytes of a download press: wake, identify, settings read, count, request, 8 pacing bytes;
// the recorder's replies, of which the download itself is 32 009 bytes.
constexpr double kDownloadBytes = 1 + 6 + 2 + 32000 + 2;
constexpr double kOtherBytes = 1 + 6 + 6 + 6 + 35 + 6 + 6 + 6 + 8;
constexpr double kBytesPerSecond = 960.0;
// Wake-up pause, the pause before the count, and four drains of 50 ms.
constexpr double kFixedPauses = 0.55 + 0.5 + 4 * 0.05;

pid_t StartSim(std::string& device) {
    int out[2];
    if (pipe(out) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        execl(KM41_SIM, KM41_SIM, "--paced", "--preload", "8000", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        device += c;
    close(out[0]);
    return pid;
}

void BM_PacedDownload8000(benchmark::State& state) {
    std::string device;
    const pid_t sim = StartSim(device);
    if (sim < 0 || device.empty()) {
        state.SkipWithError("km41-sim did not start");
        return;
    }
    char dirTemplate[] = "/tmp/saroko-bench-XXXXXX";
    const std::string dir = mkdtemp(dirTemplate);
    const std::string out = dir + "/dl.klg";
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t cli = fork();
        if (cli == 0) {
            // Settings, kept downloads and the archive all stay in the scratch folder.
            setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
            setenv("XDG_DATA_HOME", dir.c_str(), 1);
            setenv("XDG_CACHE_HOME", dir.c_str(), 1);
            if (!freopen("/dev/null", "w", stderr) || !freopen("/dev/null", "w", stdout))
                _exit(126);
            execl(SAROKO_CLI, SAROKO_CLI, "recorder", "download", "--device", device.c_str(), "-o",
                  out.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(cli, &status, 0, &usage);
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
              usage.ru_stime.tv_usec / 1e6;
        state.SetIterationTime(wall);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("the download failed");
    }
    kill(sim, SIGTERM);
    waitpid(sim, nullptr, 0);
    std::filesystem::remove_all(dir);

    const double wire = kDownloadBytes / kBytesPerSecond + kFixedPauses;
    const double wireAll = (kDownloadBytes + kOtherBytes) / kBytesPerSecond + kFixedPauses;
    state.counters["wall_s"] = wall;
    state.counters["wire_s"] = wire;
    state.counters["wire_all_s"] = wireAll;
    state.counters["wall_over_wire_pct"] = (wall / wire - 1) * 100;
    state.counters["cpu_s"] = cpu;
    state.counters["cpu_pct_of_wall"] = cpu / wall * 100;
}

BENCHMARK(BM_PacedDownload8000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
