// The recordings archive at size: SAROKO_BENCH_RECORDINGS (10000 by default) kept downloads of
// the largest document (8 channels x 16000 samples, about 258 KB each), archived.
// - verify against sha256sum over the same files (throughput, the goal is 80 % or more);
// - list --json, whole process, against saroko-cli --version (the program's start alone);
// - recording one more download in that archive, in-process (what a download pays).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "BenchDocument.h"
#include "core/archive/ArchiveSession.h"
#include "core/document/ZorvicDoc.h"
#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"
#include "platform/SqliteArchiveStore.h"

using namespace saroko;

namespace {

std::string FullDocument(const std::string& path) {
    bench::SaveFullDocument(path);
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

struct Fixture {
    std::string dir, kept, archive;
    std::string bytes;
    int count = 10000;
    int next = 0;
    std::unique_ptr<CSqliteArchiveStore> store;
    std::unique_ptr<archive::CArchiveSession> session;
    CQtCp932Codec codec;

    // Each file differs from the template in its first sample's code, so each is its own
    // recording.
    std::string Variant(int i) const {
        std::string b = bytes;
        b[256 + 256] = static_cast<char>(i & 0xff);
        b[256 + 257] = static_cast<char>(0x80 | ((i >> 8) & 0x3f));
        b[256 + 256 + 2] = static_cast<char>((i >> 14) & 0xff);
        return b;
    }
    std::string Write(int i) const {
        char name[32];
        std::snprintf(name, sizeof name, "/%06d.klg", i);
        std::ofstream(kept + name, std::ios::binary) << Variant(i);
        return kept + name;
    }

    Fixture() {
        if (const char* n = std::getenv("SAROKO_BENCH_RECORDINGS"))
            count = std::max(1, std::atoi(n));
        dir = (std::filesystem::temp_directory_path() /
               ("saroko-bench-archive-" + std::to_string(::getpid())))
                  .string();
        kept = dir + "/kept";
        archive = dir + "/archive.sqlite";
        std::filesystem::create_directories(kept);
        std::filesystem::create_directories(dir + "/config");
        bytes = FullDocument(dir + "/template.klg");
        store = std::make_unique<CSqliteArchiveStore>(archive);
        archive::SessionContext c;
        c.user = "bench";
        c.host = "bench";
        c.version = "bench";
        c.nowUtc = [] { return int64_t{1796630400}; };
        c.offsetMinutes = [](int64_t) { return 540; };
        session = std::make_unique<archive::CArchiveSession>(store.get(), &Sha256, c);
        session->Hold(true);
        for (next = 0; next < count; ++next) {
            const std::string path = Write(next);
            std::optional<archive::Recording> r =
                archive::DescribeDataFile(Variant(next), path, codec, &Sha256);
            r->source = "download";
            session->Record(archive::EventKind::Created, *r, "imported");
        }
        session->Hold(false);
        session->Flush();
        std::ofstream(dir + "/exchange.txt") << std::string(20000, 'x');
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& F() {
    static Fixture f;
    return f;
}

void Run(benchmark::State& state, const std::string& cmd, int okStatus = 0) {
    const std::string full = "XDG_CONFIG_HOME='" + F().dir + "/config' XDG_DATA_HOME='" + F().dir +
                             "/data' " + cmd + " >/dev/null 2>&1";
    for (auto _ : state)
        if (WEXITSTATUS(std::system(full.c_str())) != okStatus)
            state.SkipWithError(("failed: " + full).c_str());
    state.counters["files"] = F().count;
}

std::string Cli(const std::string& args) {
    return "'" SAROKO_CLI "' --archive '" + F().archive + "' " + args;
}

void BM_Sha256sum(benchmark::State& state) {
    Run(state, "sha256sum '" + F().kept + "'/*.klg");
}
void BM_ArchiveVerify(benchmark::State& state) {
    Run(state, Cli("archive verify"));
}
void BM_CliStart(benchmark::State& state) {
    Run(state, "'" SAROKO_CLI "' --version");
}
void BM_ArchiveListJson(benchmark::State& state) {
    Run(state, Cli("archive list --json"));
}
// What archiving adds to a download: describe and hash the kept file, copy and hash its
// exchange, write the recording and its event.
void BM_RecordDownload(benchmark::State& state) {
    Fixture& f = F();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = f.Write(f.next++);
        state.ResumeTiming();
        const archive::Recording r =
            RecordDownload(*f.session, path, f.dir + "/exchange.txt", f.codec);
        if (r.id == 0)
            state.SkipWithError("not recorded");
    }
}

BENCHMARK(BM_Sha256sum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ArchiveVerify)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CliStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ArchiveListJson)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RecordDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace
