#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#endif

#include "core/TestSupport.h"
#include "files/KlgFormat.h"
#include "support/DataFiles.h"

namespace saroko::test {
namespace {

namespace fs = std::filesystem;

// The saved images under tests/data/files hold 0 for the start stamps, which depend on the zone.
std::string WithStart(std::string image, std::size_t header, uint32_t start) {
    for (int i = 0; i < 4; ++i)
        image[header + 57 + i] = static_cast<char>(start >> (8 * i));
    return image;
}

class KlgFileTest : public DocTest {
protected:
    // Channel 1: one sample with an 8-character name; channel 3: nine samples, hidden.
    void MakeDocument() {
        t0 = Local(2008, 3, 5, 9, 7, 0);
        ChannelRecord& ch1 = *doc.GetChannel(1);
        Fill(ch1, t0, 10, {C(23.5)}, "ABCDEFGH");
        ch1.modelCode = kModelKm41;
        ch1.startKnown = 1;
        ch1.recModeCode = 128;
        ch1.startModeCode = 1;
        ch1.unitFlag = 0;
        ch1.sensorCode = 1;
        const std::vector<uint16_t> nine = {C(1.0), C(2.0), kCodeOver, kCodeUnder, kCodeMissing,
                                            C(6.0), C(7.0), C(8.0),    C(9.0)};
        Fill(*doc.GetChannel(3), t0 + 3600, 60, nine, "\x8e\xba"); // a double-byte name
        doc.m_bShow[2] = 0;
        doc.RecalcRanges(2);
    }
    uint32_t t0 = 0;
};

// The whole document; the window from the third to the fifth sample of channel 3, which drops
// channel 1; a window without samples: only the file header.
TEST_F(KlgFileTest, SavedImagesAreByteExact) {
    MakeDocument();
    const std::string whole = ReadDataFile("files/whole.klg");
    const std::string window = ReadDataFile("files/window.klg");
    // clang-format off
    const struct { int range; uint32_t from, to; const char* name; std::string want; } cases[] = {
        {0, 0, 0, "all.klg", WithStart(WithStart(whole, 256, t0), 528, t0 + 3600)},
        {1, t0 + 3720, t0 + 3840, "window.klg", WithStart(window, 256, t0 + 3720)},
        {1, t0 + 1, t0 + 2, "empty.klg", ReadDataFile("files/empty.klg")},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.GetRange()->viewStart = c.from;
        doc.GetRange()->viewEnd = c.to;
        doc.m_bDataModified = 1;
        ASSERT_EQ(doc.SaveKlgFile(c.range, Path(c.name)), kFileOk);
        EXPECT_EQ(ReadAll(Path(c.name)), c.want);
        EXPECT_EQ(doc.m_bDataModified, 0u);
        EXPECT_EQ(doc.m_szPathName, Path(c.name));
        EXPECT_EQ(doc.m_szFileName, c.name);
        EXPECT_EQ(doc.m_recentFiles.front(), Path(c.name));
    }
}

TEST_F(KlgFileTest, AppendAndOverflowQuestion) {
    MakeDocument();
    const std::string path = Path("two.klg");
    ASSERT_EQ(doc.SaveKlgFile(0, path), kFileOk); // channels 1 and 3

    // Append into the free channels 2 and 4.
    prompts.readMode = IDocumentPrompts::kReadAppend;
    ASSERT_EQ(doc.LoadKlgFile(path), kFileOk);
    EXPECT_EQ(prompts.readModeAsked, 1);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(std::string(doc.GetChannel(2)->name), "ABCDEFGH");
    EXPECT_EQ(doc.GetChannel(4)->sampleCount, 9);
    EXPECT_EQ(doc.GetChannel(4)->present, 4u);
    EXPECT_EQ(doc.m_bDataModified, 1u);

    // Only channel 8 free: 57761; Cancel leaves everything as it was.
    for (int n : {5, 6, 7})
        Fill(*doc.GetChannel(n), t0, 10, {C(1.0)});
    const ChannelRecord before8 = *doc.GetChannel(8);
    prompts.answer = kIdCancel;
    EXPECT_EQ(doc.LoadKlgFile(path), kFileCancelled);
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kLoadOverflow});
    EXPECT_EQ(doc.GetChannel(8)->present, before8.present);

    // OK: the first block goes to channel 8, the second is read and dropped.
    prompts.answer = kIdOk;
    ASSERT_EQ(doc.LoadKlgFile(path), kFileOk);
    EXPECT_EQ(std::string(doc.GetChannel(8)->name), "ABCDEFGH");
    EXPECT_EQ(doc.GetChannel(8)->present, 8u);

    // Cancel in the read-confirm question changes nothing.
    prompts.readMode = IDocumentPrompts::kReadCancel;
    EXPECT_EQ(doc.LoadKlgFile(path), kFileCancelled);
}

TEST_F(KlgFileTest, BitmapBeyondEightChannelsAsksEvenAsNew) {
    // Bit 9 of the file header's bitmap set, one block for channel 2.
    WriteAll(Path("nine.klg"), ReadDataFile("files/nine.klg"));
    // Cancelling the question over shown data keeps them: nothing is cleared before the
    // user has agreed.
    Fill(*doc.GetChannel(1), Local(2008, 1, 1, 0, 0, 0), 10, {C(3.0)}, "KEEP");
    prompts.answer = kIdCancel;
    EXPECT_EQ(doc.LoadKlgFile(Path("nine.klg")), kFileCancelled);
    EXPECT_EQ(std::string(doc.GetChannel(1)->name), "KEEP");
    EXPECT_EQ(prompts.readModeAsked, 1);
    prompts.answer = kIdOk;
    prompts.shown.clear();
    doc.ClearAllChannels();
    ASSERT_EQ(doc.LoadKlgFile(Path("nine.klg")), kFileOk);
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kLoadOverflow});
    // As new, the block goes by its own number.
    EXPECT_EQ(std::string(doc.GetChannel(2)->name), "NINE");
    EXPECT_EQ(doc.GetChannel(2)->startTime, Local(2008, 3, 5, 9, 7, 0));
}

TEST_F(KlgFileTest, LaterBlockOfTheSameChannelWinsWholly) {
    // Channel 4 "FIRST" with three samples, then channel 4 "SECOND" with one.
    WriteAll(Path("dup.klg"), ReadDataFile("files/twice.klg"));
    ASSERT_EQ(doc.LoadKlgFile(Path("dup.klg")), kFileOk);
    const ChannelRecord& ch = *doc.GetChannel(4);
    EXPECT_EQ(std::string(ch.name), "SECOND");
    EXPECT_EQ(ch.interval, 20u);
    // Nothing of the first block's tail.
    EXPECT_EQ(std::pair(ch.samples[0], ch.samples[1]), std::pair(C(9.0), kCodeEnd));
    EXPECT_EQ(ch.CountSamples(), 1);
}

TEST_F(KlgFileTest, DamagedFilesFailAndChangeNothing) {
    MakeDocument();
    const std::string good = ReadDataFile("files/sound.klg"); // channel 1, two samples
    auto withField = [&](std::size_t off, const std::string& text) {
        std::string b = good;
        b.replace(256 + off, text.size(), text);
        return b;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"short file header", good.substr(0, 200)},
        {"short channel header", good.substr(0, 300)},
        {"short sample area", good.substr(0, good.size() - 1)},
        {"count above 16000", withField(87, "16001")},
        {"count not a number", withField(87, "  abc")},
        {"count negative", withField(87, "   -2")},
        {"interval zero", withField(61, "    0")},
        {"interval not a number", withField(61, "     ")},
    };
    const GraphRange rangeBefore = *doc.GetRange();
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        WriteAll(Path("bad.klg"), bytes);
        for (int mode : {IDocumentPrompts::kReadNew, IDocumentPrompts::kReadAppend}) {
            prompts.readMode = mode;
            EXPECT_EQ(doc.LoadKlgFile(Path("bad.klg")), kFileFailed);
            EXPECT_EQ(doc.GetChannel(1)->startTime, t0);
            EXPECT_EQ(doc.GetChannel(2)->present, 0u);
            EXPECT_EQ(*doc.GetRange(), rangeBefore);
        }
    }
    // The same file with a sound header loads.
    WriteAll(Path("good.klg"), good);
    prompts.readMode = IDocumentPrompts::kReadAppend;
    EXPECT_EQ(doc.LoadKlgFile(Path("good.klg")), kFileOk);
    EXPECT_EQ(doc.GetChannel(2)->sampleCount, 2);
    EXPECT_EQ(doc.LoadKlgFile(Path("missing.klg")), kFileFailed);
}

TEST_F(KlgFileTest, StartTimeBefore1970LoadsAs32400) {
    const ScopedTimeZone tokyo("Asia/Tokyo"); // where the stamp lies before 1970 UTC
    WriteAll(Path("old.klg"), ReadDataFile("files/before1970.klg")); // "1970/ 1/ 1(Thu) 0: 0' 0"
    ASSERT_EQ(doc.LoadKlgFile(Path("old.klg")), kFileOk);
    EXPECT_EQ(doc.GetChannel(1)->startTime, 32400u);
}

TEST_F(KlgFileTest, FailedSaveKeepsTheOldFile) {
    MakeDocument();
    const std::string path = Path("keep.klg");
    WriteAll(path, "old contents");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    doc.m_bDataModified = 1;
    EXPECT_EQ(doc.SaveKlgFile(0, path), kFileFailed);
    EXPECT_EQ(ReadAll(path), "old contents");
    EXPECT_EQ(doc.m_bDataModified, 1u);
    EXPECT_EQ(doc.m_szPathName, "Untitled");

    EXPECT_EQ(doc.SaveKlgFile(0, Path("no/such/dir.klg")), kFileFailed);
    fs::create_directory(Path("adir.klg"));
    EXPECT_EQ(doc.SaveKlgFile(0, Path("adir.klg")), kFileFailed);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 2);

    // Overwriting a writable file replaces it whole.
    fs::permissions(path, fs::perms::owner_all);
    EXPECT_EQ(doc.SaveKlgFile(0, path), kFileOk);
    EXPECT_EQ(ReadAll(path).size(), 816u);
}

TEST_F(KlgFileTest, NextSaveRemovesWhatAKilledSaveLeft) {
    MakeDocument();
    const std::string path = Path("data.klg");
    // clang-format off
    const struct { const char* name; bool removed; } files[] = {
        {"data.klg.~123456.tmp", true},  {"data.klg.~7.tmp", true},
        {"data.klg.~12a.tmp", false},    {"data.klg.~.tmp", false},
        {"other.klg.~123.tmp", false},   {"data.klg.~123.tmp.keep", false},
        {"xdata.klg.~123.tmp", false},   {"data.klg.~42.tmp", false}, // the last one in use
    };
    // clang-format on
    for (const auto& f : files)
        WriteAll(Path(f.name), "left");
#ifdef _WIN32
    // A save that is still writing holds its file open, shared with nobody.
    const HANDLE busy = CreateFileA(Path("data.klg.~42.tmp").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    ASSERT_EQ(doc.SaveKlgFile(0, path), kFileOk);
    CloseHandle(busy);
#else
    // A save that is still writing holds its file locked.
    const int busy = ::open(Path("data.klg.~42.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    ASSERT_EQ(doc.SaveKlgFile(0, path), kFileOk);
    ::close(busy);
#endif
    for (const auto& f : files)
        EXPECT_NE(fs::exists(Path(f.name)), f.removed) << f.name;
    EXPECT_EQ(ReadAll(path).size(), 816u);
}

TEST_F(KlgFileTest, OlderSeriesImport) {
    // Temperature {1250, missing, 800, end}, voltage (type 224) {33000, 1000}, humidity
    // (type 208) {1555}.
    WriteAll(Path("old.KSV"), ReadDataFile("files/older.ksv"));
    ASSERT_EQ(doc.OpenDataFile(Path("old.KSV")), kFileOk); // the open procedure picks the import
    const ChannelRecord& t = *doc.GetChannel(1);
    // 33018 is 25.0, 32568 is -20.0
    EXPECT_EQ(std::vector<uint16_t>(t.samples, t.samples + 4),
              (std::vector<uint16_t>{33018, kCodeMissing, 32568, kCodeEnd}));
    EXPECT_EQ(doc.FormatValue(13, 0, doc.ToValue(t.samples[0], 13, 1)), "  25.0");
    EXPECT_EQ(t.sensorCode, 0xFF); // byte 75 is not read
    EXPECT_EQ(std::vector<uint16_t>(doc.GetChannel(2)->samples, doc.GetChannel(2)->samples + 2),
              (std::vector<uint16_t>{33000, 1000}));
    EXPECT_EQ(doc.GetChannel(3)->samples[0], 1555 + 31768);
    EXPECT_EQ(doc.m_szPathName, Path("old.KSV"));

    // Appended to native data: both on one time axis; the sensor of the target stays.
    prompts.readMode = IDocumentPrompts::kReadAppend;
    doc.GetChannel(4)->sensorCode = 0;
    ASSERT_EQ(doc.LoadKsvFile(Path("old.KSV")), kFileOk);
    EXPECT_EQ(doc.GetChannel(4)->samples[0], 33018);
    EXPECT_EQ(doc.GetChannel(4)->sensorCode, 0);
    EXPECT_EQ(doc.m_szPathName, Path("old.KSV"));
}

TEST(FileKind, ByExtensionAlone) {
    const std::vector<std::pair<const char*, int>> cases = {
        {"data.klg", kKindKlg},       {"DATA.KLG", kKindKlg},
        {"a.b/c.Klg", kKindKlg},      {"old.ksv", kKindKsv},
        {"out.txt", kKindText},       {"out.PRN", kKindText},
        {"noext", kKindOther},        {"KLG", kKindKlg},
        {"x.", kKindOther},           {"dir.klg/file", kKindOther},
        {"data.klg.bak", kKindOther}, {"", kKindOther}};
    for (const auto& [path, kind] : cases)
        EXPECT_EQ(GetFileKind(path), kind) << path;
}

TEST_F(KlgFileTest, RecentListAndOpenProcedure) {
    doc.AddRecentFile("a.klg");
    doc.AddRecentFile("b.txt"); // not a data file
    doc.AddRecentFile("c.ksv");
    doc.AddRecentFile("a.klg");
    ASSERT_GE(doc.m_recentFiles.size(), 2u);
    EXPECT_EQ(doc.m_recentFiles[0], "a.klg");
    EXPECT_EQ(doc.m_recentFiles[1], "c.ksv");
    for (const char* p : {"d.klg", "e.klg", "f.klg"})
        doc.AddRecentFile(p);
    EXPECT_EQ(doc.m_recentFiles, (std::vector<std::string>{"f.klg", "e.klg", "d.klg", "a.klg"}));
    doc.SaveRecentFiles();
    EXPECT_EQ(store.GetString("Recent File List", "File2", ""), "e.klg");

    EXPECT_EQ(doc.OpenDataFile(Path("absent.klg")), kFileFailed);
    WriteAll(Path("data.txt"), "x");
    EXPECT_EQ(doc.OpenDataFile(Path("data.txt")), kFileFailed);
    EXPECT_EQ(prompts.shown, (std::vector<int>{msg::kFileNotFound, msg::kWrongExtension}));
}

} // namespace
} // namespace saroko::test
