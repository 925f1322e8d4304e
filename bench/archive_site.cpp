// The site archive on a PostgreSQL server of the benchmark's own (started as the tests start
// theirs), each figure beside its anchor in the same run:
// - one append, median of 500, against the local SQLite store's;
// - the chain of 100 000 events read and checked (what archive verify walks), against the same
//   chain in the SQLite store;
// - saroko-cli archive list --json of 10 000 recordings, whole process, against the same list
//   from the SQLite store.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/archive/ArchiveSession.h"
#include "platform/ArchiveSetup.h"
#include "platform/PgArchiveStore.h"
#include "platform/SqliteArchiveStore.h"
#include "platform/pg/PgCluster.h"

using namespace saroko;
using test::CPgCluster;

namespace {

archive::SessionContext Context() {
    archive::SessionContext c;
    c.user = "bench";
    c.host = "site";
    c.version = "1.22";
    c.nowUtc = [] { return int64_t{1796630400}; };
    c.offsetMinutes = [](int64_t) { return 540; };
    return c;
}

archive::Recording Rec(int i) {
    archive::Recording r;
    r.sha256 = archive::Sha256Hex(&Sha256, "recording " + std::to_string(i));
    r.size = 258000;
    r.path = "/kept/" + std::to_string(i) + ".klg";
    r.source = "file";
    for (int c = 1; c <= 2; ++c)
        r.channels.push_back({c, "室温", 1204708020, "2008/ 3/ 5(Wed) 9: 7' 0", 60, 16000});
    return r;
}

// `count` entries, the first about a new recording, in one write.
void Fill(archive::IArchiveStore& store, int count, int recordings) {
    std::vector<archive::PendingEntry> batch;
    for (int i = 0; i < count; ++i) {
        archive::PendingEntry p;
        const archive::Recording r = Rec(i < recordings ? i : 0);
        if (i < recordings)
            p.recording = r;
        p.event.timeUtc = "2026-12-08T00:00:00Z";
        p.event.user = "bench";
        p.event.kind = i < recordings ? archive::EventKind::Created : archive::EventKind::Opened;
        p.event.recordingSha256 = r.sha256;
        batch.push_back(std::move(p));
    }
    store.Write(batch, [](const archive::Event* last, archive::Event& e) {
        archive::SealEvent(&Sha256, last, e);
    });
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class Open> void Append(benchmark::State& state, Open open) {
    auto store = open();
    archive::CArchiveSession s(store.get(), &Sha256, Context());
    s.Record(archive::EventKind::Created, Rec(1));
    std::vector<double> ms;
    for (auto _ : state) {
        for (int i = 0; i < 500; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            s.RecordAbout(archive::EventKind::Opened, Rec(1).sha256, std::to_string(i));
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                    .count());
        }
    }
    state.counters["median_ms"] = Median(ms);
}

template <class Open> void VerifyChain(benchmark::State& state, Open open) {
    auto store = open();
    std::size_t n = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        std::vector<archive::Event> ev;
        store->Events(ev);
        if (archive::CheckChain(&Sha256, ev))
            state.SkipWithError("the chain does not hold");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        n += ev.size();
    }
    state.counters["events_per_s"] = static_cast<double>(n) / seconds;
}

void ListCli(benchmark::State& state, const std::string& location, const QTemporaryDir& home) {
    const std::string cmd = "XDG_CONFIG_HOME='" + home.path().toStdString() +
                            "/c' XDG_DATA_HOME='" + home.path().toStdString() +
                            "/d' '" SAROKO_CLI "' --archive '" + location +
                            "' archive list --json > /dev/null";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("archive list failed");
}

struct Site {
    CPgCluster* cluster = CPgCluster::Get();
    QTemporaryDir home;
    std::string Db(const char* name) {
        cluster->CreateDatabase(name);
        return cluster->Conninfo(name);
    }
    std::string File(const char* name) { return home.filePath(name).toStdString(); }
};

Site& TheSite() {
    static Site s;
    return s;
}

void Register() {
    Site& site = TheSite();
    if (!site.cluster) {
        std::fprintf(stderr, "%s\n", CPgCluster::Reason().c_str());
        return;
    }
    const std::string appendDb = site.Db("append"), appendFile = site.File("append.sqlite");
    benchmark::RegisterBenchmark(
        "Append/SQLite(anchor)",
        [=](benchmark::State& s) {
            Append(s, [&] { return std::make_unique<CSqliteArchiveStore>(appendFile); });
        })
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "Append/PostgreSQL",
        [=](benchmark::State& s) {
            Append(s, [&] { return std::make_unique<CPgArchiveStore>(appendDb); });
        })
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);

    const std::string chainDb = site.Db("chain"), chainFile = site.File("chain.sqlite");
    {
        CSqliteArchiveStore local(chainFile);
        Fill(local, 100000, 1);
        CPgArchiveStore server(chainDb);
        Fill(server, 100000, 1);
    }
    benchmark::RegisterBenchmark(
        "Verify100k/SQLite(anchor)",
        [=](benchmark::State& s) {
            VerifyChain(s, [&] { return std::make_unique<CSqliteArchiveStore>(chainFile); });
        })
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "Verify100k/PostgreSQL",
        [=](benchmark::State& s) {
            VerifyChain(s, [&] { return std::make_unique<CPgArchiveStore>(chainDb); });
        })
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);

    const std::string listDb = site.Db("list"), listFile = site.File("list.sqlite");
    {
        CSqliteArchiveStore local(listFile);
        Fill(local, 10000, 10000);
        CPgArchiveStore server(listDb);
        Fill(server, 10000, 10000);
    }
    benchmark::RegisterBenchmark(
        "List10k/SQLite(anchor)",
        [=, &site](benchmark::State& s) { ListCli(s, listFile, site.home); })
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("List10k/PostgreSQL",
                                 [=, &site](benchmark::State& s) { ListCli(s, listDb, site.home); })
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
