// Load, recalculation, text export and save of the largest document: 8 channels x 16000
// samples. Each operation is set against plain file I/O of the same size in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "BenchDocument.h"
#include "core/files/FileIo.h"

using namespace saroko;

namespace {

struct Fixture {
    CMemorySettingsStore store;
    FixedClock clock{1'200'000'000};
    bench::NewPrompts prompts;
    CZorvicDoc doc{store, clock};
    std::string dir;
    std::string klg;

    Fixture() {
        doc.SetPrompts(&prompts);
        bench::FillFullDocument(doc);
        dir = (std::filesystem::temp_directory_path() /
               ("saroko-bench-" + std::to_string(::getpid())))
                  .string();
        std::filesystem::create_directories(dir);
        klg = dir + "/full.klg";
        doc.SaveKlgFile(0, klg);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& F() {
    static Fixture f;
    return f;
}

void BM_BaselineReadFile(benchmark::State& state) {
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        ReadFileBytes(F().klg, 1 << 22, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_LoadKlg(benchmark::State& state) {
    CZorvicDoc doc(F().store, F().clock);
    bench::NewPrompts prompts;
    doc.SetPrompts(&prompts);
    doc.OnNewDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.LoadKlgFile(F().klg));
}

void BM_RecalcRanges(benchmark::State& state) {
    for (auto _ : state)
        F().doc.RecalcRanges(RecalcMode::ChangedData);
}

void BM_BaselineWriteFile(benchmark::State& state) {
    const std::string data(static_cast<std::size_t>(state.range(0)), 'x');
    const std::string path = F().dir + "/raw.bin";
    for (auto _ : state)
        WriteFileAtomically(path, data);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

void BM_SaveKlg(benchmark::State& state) {
    const std::string path = F().dir + "/save.klg";
    for (auto _ : state)
        F().doc.SaveKlgFile(0, path);
}

void BM_BuildTextExport(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = F().doc.BuildTextExport(0);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
}

void BM_ExportText(benchmark::State& state) {
    const std::string path = F().dir + "/export.txt";
    for (auto _ : state)
        F().doc.ExportText(0, path);
}

} // namespace

BENCHMARK(BM_BaselineReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadKlg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalcRanges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineWriteFile)->Arg(262400)->Arg(12'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveKlg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTextExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond);
