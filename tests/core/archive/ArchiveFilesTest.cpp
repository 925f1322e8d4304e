// The archive's rules about files, headless: the names of places and outputs, what a download's
// recording carries, and which files of the downloads folder are taken in, in which order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/TestSupport.h"
#include "core/archive/ArchiveFiles.h"
#include "core/archive/MemorySiteStore.h"
#include "support/FakeHash.h"

namespace saroko::test {
namespace {

using namespace saroko::archive;

std::optional<std::string> Read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class ArchiveFilesTest : public DocTest {
protected:
    SessionContext Context() {
        return BenchContext([] { return int64_t{1'200'000'000}; });
    }
    // A KM-41 file (model code 129) saved as `name`.
    std::string SaveKm41(const std::string& name) {
        Fill(*doc.GetChannel(1), Local(2008, 3, 5, 9, 0, 0), 60, {C(5.0)}, "ROOM");
        doc.GetChannel(1)->modelCode = kModelKm41;
        EXPECT_EQ(doc.SaveKlgFile(0, Path(name)), kFileOk);
        return Path(name);
    }
    CMemoryArchiveStore mem;
    CBasicCp932Codec codec;
};

TEST_F(ArchiveFilesTest, PlacesAndOutputsAreNamedOneWayForEveryFrontEnd) {
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(PlaceOf("out.txt"), (std::filesystem::current_path() / "out.txt").string());
    EXPECT_EQ(PlaceOf(cwd + "/a.klg"), cwd + "/a.klg");
    EXPECT_EQ(PlaceOf("-"), "-");
    EXPECT_EQ(PlaceOf(""), "");
    EXPECT_EQ(OutputText("-", "ab"), "- sha256:ab");
    EXPECT_EQ(OutputText("", "ab"), "printer");
    EXPECT_EQ(OutputText("printer", ""), "printer");
    EXPECT_EQ(OutputText("r.pdf", "cd"), PlaceOf("r.pdf") + " sha256:cd");
    EXPECT_EQ(RecorderIdentity("KM-41"), "0414");
    EXPECT_EQ(RecorderIdentity(""), "");
    EXPECT_EQ(RecorderIdentity("KM-4"), "");
}

TEST_F(ArchiveFilesTest, TheDownloadsFolderIsTakenInOldestFirstWithoutTheKeptOnes) {
    const std::string one = SaveKm41("20080305-0900.klg");
    std::filesystem::copy_file(one, Path("20080304-0900.KLG"));
    std::filesystem::copy_file(one, Path("20080306-0900.klg"));
    std::filesystem::copy_file(one, Path("20080301-0900.klgx"));
    WriteAll(Path("20080302-0900.klg"), "not a data file");
    EXPECT_EQ(DownloadsToTakeIn(dir.string(), {Path("20080306-0900.klg")}),
              (std::vector<std::string>{Path("20080302-0900.klg"), Path("20080304-0900.KLG"),
                                        Path("20080305-0900.klg")}));
    EXPECT_TRUE(DownloadsToTakeIn(Path("none"), {}).empty());

    CArchiveSession s(&mem, &FakeHash, Context());
    ImportKeptDownloads(s, dir.string(), &Read, codec);
    // The file that is no data file is left out; the three copies are one recording.
    ASSERT_EQ(mem.events.size(), 3u);
    ASSERT_EQ(mem.recordings.size(), 1u);
    EXPECT_EQ(mem.recordings[0].source, "download");
    EXPECT_EQ(mem.recordings[0].path, Path("20080304-0900.KLG"));
    for (const Event& e : mem.events)
        EXPECT_EQ(std::string(EventKindName(e.kind)) + " " + e.detail, "created imported");
    EXPECT_EQ(mem.kept.size(), 3u);
    ImportKeptDownloads(s, dir.string(), &Read, codec);
    EXPECT_EQ(mem.events.size(), 3u);
}

// A site archive's first use: the kept downloads it lacks, on its server and among what waits
// for it, are offered once; nothing is asked again once answered, nor while the server is away.
TEST_F(ArchiveFilesTest, ASiteArchiveOffersTheKeptDownloadsItLacksOnce) {
    const std::string a = SaveKm41("20080305-0900.klg"), b = Path("20080306-0900.klg");
    std::filesystem::copy_file(a, b);
    auto owned = std::make_unique<CMemorySiteStore>();
    CMemorySiteStore& site = *owned;
    std::string spool;
    bool full = false;
    int ids = 0;
    int64_t now = 0;
    CSpooledArchiveStore store(
        std::move(owned), std::make_unique<CMemorySpool>(&spool, &full), &FakeHash,
        [&] { return std::to_string(++ids); }, [&] { return now; });
    CArchiveSession s(&store, &FakeHash, Context());
    std::optional<std::vector<std::string>> asked;
    const auto offer = [&](FirstUseAnswer before, bool yes) {
        asked.reset();
        return OfferKeptDownloads(
            s, dir.string(), before,
            [&](const std::vector<std::string>& paths) {
                asked = paths;
                return yes;
            },
            &Read, codec);
    };
    for (const FirstUseAnswer before : {FirstUseAnswer::kTaken, FirstUseAnswer::kDeclined}) {
        EXPECT_EQ(offer(before, true), FirstUseAnswer::kNotAsked);
        EXPECT_FALSE(asked);
    }
    site.down = true;
    EXPECT_EQ(offer(FirstUseAnswer::kNotAsked, true), FirstUseAnswer::kNotAsked);
    EXPECT_FALSE(asked);
    EXPECT_EQ(TakeInDownloads(s, {a, Path("missing.klg")}, &Read, codec), 1u); // waits
    site.down = false;
    now = CSpooledArchiveStore::kRetrySeconds;
    EXPECT_EQ(offer(FirstUseAnswer::kNotAsked, false), FirstUseAnswer::kDeclined);
    EXPECT_EQ(asked, std::vector<std::string>{b});
    EXPECT_TRUE(site.memory.events.empty());
    EXPECT_EQ(offer(FirstUseAnswer::kNotAsked, true), FirstUseAnswer::kTaken);
    EXPECT_EQ(asked, std::vector<std::string>{b});
    EXPECT_EQ(site.memory.events.size(), 2u); // the one that waited, then the one taken in
    EXPECT_EQ(site.memory.kept.size(), 2u);
    EXPECT_EQ(offer(FirstUseAnswer::kNotAsked, true), FirstUseAnswer::kTaken);
    EXPECT_FALSE(asked);
    EXPECT_EQ(ParseFirstUse(FirstUseText(FirstUseAnswer::kDeclined)), FirstUseAnswer::kDeclined);
    EXPECT_EQ(ParseFirstUse(FirstUseText(FirstUseAnswer::kTaken)), FirstUseAnswer::kTaken);
    EXPECT_EQ(ParseFirstUse("/home/u/downloads\n"), FirstUseAnswer::kTaken);
    EXPECT_EQ(ParseFirstUse(std::nullopt), FirstUseAnswer::kNotAsked);
}

TEST_F(ArchiveFilesTest, ADownloadKeepsItsExchangeBesideItAndNamesItsRecorder) {
    const std::string kept = SaveKm41("20080305-0900.klg");
    WriteAll(Path("last-exchange.txt"), "0.000 > 35\n");
    const FileHasher hashFile = [](const std::string& p) -> std::optional<std::string> {
        return "h:" + Read(p).value_or("");
    };
    CArchiveSession s(&mem, &FakeHash, Context());
    const Recording r = RecordDownload(s, kept, Path("last-exchange.txt"), &Read, hashFile, codec);
    EXPECT_EQ(r.source, "download");
    EXPECT_EQ(r.identity, "0414");
    EXPECT_EQ(r.transcriptPath, Path("20080305-0900.exchange.txt"));
    EXPECT_EQ(r.transcriptSha256, "h:0.000 > 35\n");
    EXPECT_EQ(ReadAll(Path("20080305-0900.exchange.txt")), "0.000 > 35\n");
    ASSERT_EQ(mem.events.size(), 1u);
    EXPECT_EQ(mem.events[0].detail, "downloaded");
    EXPECT_EQ(mem.events[0].newValue.substr(0, kept.size()), kept);

    // A copy already beside the second download is never written over, nor named.
    std::filesystem::copy_file(kept, Path("20080305-0901.klg"));
    WriteAll(Path("20080305-0901.exchange.txt"), "older");
    const Recording again = RecordDownload(s, Path("20080305-0901.klg"), Path("last-exchange.txt"),
                                           &Read, hashFile, codec);
    EXPECT_EQ(ReadAll(Path("20080305-0901.exchange.txt")), "older");
    ASSERT_EQ(mem.kept.size(), 2u);
    EXPECT_EQ(mem.kept[1].transcriptPath, "");

    // Another model names no identity; without an archive nothing is copied or kept.
    doc.GetChannel(1)->modelCode = kModelKm41 + 1;
    ASSERT_EQ(doc.SaveKlgFile(0, Path("other.klg")), kFileOk);
    CArchiveSession off(nullptr, &FakeHash, Context());
    const Recording other =
        RecordDownload(off, Path("other.klg"), Path("last-exchange.txt"), &Read, hashFile, codec);
    EXPECT_EQ(other.identity, "");
    EXPECT_FALSE(std::filesystem::exists(Path("other.exchange.txt")));
    EXPECT_EQ(RecordDownload(s, Path("other.klg"), {}, &Read, hashFile, codec).identity, "");
}

} // namespace
} // namespace saroko::test
