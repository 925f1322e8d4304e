// Saved files, loads, the older series' import and the text export on hand-made documents, the
// same bytes on every platform, and the file commands that drive them from the menus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#endif

#include "core/TestSupport.h"
#include "core/files/KlgFormat.h"
#include "core/files/ScriptedFileUi.h"
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
        doc.RecalcRanges(RecalcMode::ChangedData);
    }
    int FileCount() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir), {}));
    }
    const uint32_t t0 = Local(2008, 3, 5, 9, 7, 0);
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
        EXPECT_EQ(std::tuple(doc.m_bDataModified, doc.m_szPathName, doc.m_szFileName,
                             doc.m_recentFiles.front()),
                  std::tuple(0u, Path(c.name), c.name, Path(c.name)));
    }
}

TEST_F(KlgFileTest, AppendAndOverflowQuestion) {
    MakeDocument();
    const std::string path = Path("two.klg");
    ASSERT_EQ(doc.SaveKlgFile(0, path), kFileOk); // channels 1 and 3

    // Append into the free channels 2 and 4.
    prompts.readMode = IDocumentPrompts::kReadAppend;
    ASSERT_EQ(doc.LoadKlgFile(path), kFileOk);
    EXPECT_EQ(std::tuple(prompts.readModeAsked, prompts.shown.size(),
                         std::string(doc.GetChannel(2)->name), doc.GetChannel(4)->sampleCount,
                         doc.GetChannel(4)->present, doc.m_bDataModified),
              std::tuple(1, 0u, "ABCDEFGH", 9, 4u, 1u));

    // Only channel 8 free: 57761; Cancel leaves everything as it was.
    for (int n : {5, 6, 7})
        Fill(*doc.GetChannel(n), t0, 10, {C(1.0)});
    prompts.answer = kIdCancel;
    EXPECT_EQ(doc.LoadKlgFile(path), kFileCancelled);
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kLoadOverflow});
    EXPECT_EQ(doc.GetChannel(8)->present, 0u);

    // OK: the first block goes to channel 8, the second is read and dropped.
    prompts.answer = kIdOk;
    ASSERT_EQ(doc.LoadKlgFile(path), kFileOk);
    EXPECT_EQ(std::tuple(std::string(doc.GetChannel(8)->name), doc.GetChannel(8)->present),
              std::tuple("ABCDEFGH", 8u));

    // Cancel in the read-confirm question changes nothing.
    prompts.readMode = IDocumentPrompts::kReadCancel;
    EXPECT_EQ(doc.LoadKlgFile(path), kFileCancelled);
}

// A file handed over by another start is read and checked before the question: a damaged or
// missing one is refused without asking, a good one asked about once. The open command keeps
// its order: the question first.
TEST_F(KlgFileTest, AHandedOverFileIsAskedAboutOnlyOnceReadAndGood) {
    MakeDocument();
    const std::string good = Path("good.klg");
    ASSERT_EQ(doc.SaveKlgFile(0, good), kFileOk);
    std::string image = ReadAll(good);
    WriteAll(Path("cut.klg"), image.substr(0, image.size() - 1));
    WriteAll(Path("short.klg"), image.substr(0, 10));
    using Order = CZorvicDoc::OpenOrder;
    const struct {
        const char* name;
        Order order;
        int result, asked;
    } cases[] = {
        {"cut.klg", Order::kReadFirst, kFileFailed, 0},
        {"short.klg", Order::kReadFirst, kFileFailed, 0},
        {"gone.klg", Order::kReadFirst, kFileFailed, 0},
        {"good.klg", Order::kReadFirst, kFileOk, 1},
        {"cut.klg", Order::kAskFirst, kFileFailed, 1},
        {"good.klg", Order::kAskFirst, kFileOk, 1},
    };
    for (const auto& c : cases) {
        prompts.readModeAsked = 0;
        prompts.readMode = IDocumentPrompts::kReadNew;
        EXPECT_EQ(doc.OpenDataFile(Path(c.name), c.order), c.result) << c.name;
        EXPECT_EQ(prompts.readModeAsked, c.asked) << c.name;
        // A refused file leaves the shown data as they were.
        EXPECT_EQ(std::string(doc.GetChannel(1)->name), "ABCDEFGH") << c.name;
    }
    // The file is read before the question, and what the question answers still counts.
    prompts.readMode = IDocumentPrompts::kReadCancel;
    EXPECT_EQ(doc.OpenDataFile(good, Order::kReadFirst), kFileCancelled);
    prompts.readMode = IDocumentPrompts::kReadAppend;
    ASSERT_EQ(doc.OpenDataFile(good, Order::kReadFirst), kFileOk);
    EXPECT_EQ(std::string(doc.GetChannel(2)->name), "ABCDEFGH");
}

TEST_F(KlgFileTest, BitmapBeyondEightChannelsAsksEvenAsNew) {
    // Bit 9 of the file header's bitmap set, one block for channel 2.
    WriteAll(Path("nine.klg"), ReadDataFile("files/nine.klg"));
    // Cancelling the question over shown data keeps them: nothing is cleared before the
    // user has agreed.
    Fill(*doc.GetChannel(1), Local(2008, 1, 1, 0, 0, 0), 10, {C(3.0)}, "KEEP");
    prompts.answer = kIdCancel;
    EXPECT_EQ(doc.LoadKlgFile(Path("nine.klg")), kFileCancelled);
    EXPECT_EQ(std::tuple(std::string(doc.GetChannel(1)->name), prompts.readModeAsked),
              std::tuple("KEEP", 1));
    prompts.answer = kIdOk;
    prompts.shown.clear();
    doc.ClearAllChannels();
    ASSERT_EQ(doc.LoadKlgFile(Path("nine.klg")), kFileOk);
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kLoadOverflow});
    // As new, the block goes by its own number.
    EXPECT_EQ(std::tuple(std::string(doc.GetChannel(2)->name), doc.GetChannel(2)->startTime),
              std::tuple("NINE", t0));
}

TEST_F(KlgFileTest, LaterBlockOfTheSameChannelWinsWhollyAndAStartBefore1970LoadsAs32400) {
    // Channel 4 "FIRST" with three samples, then channel 4 "SECOND" with one.
    WriteAll(Path("dup.klg"), ReadDataFile("files/twice.klg"));
    ASSERT_EQ(doc.LoadKlgFile(Path("dup.klg")), kFileOk);
    const ChannelRecord& ch = *doc.GetChannel(4);
    // Nothing of the first block's tail.
    EXPECT_EQ(std::tuple(std::string(ch.name), ch.interval, ch.samples[0], ch.samples[1],
                         ch.CountSamples()),
              std::tuple("SECOND", 20u, C(9.0), kCodeEnd, 1));

    const ScopedTimeZone tokyo("Asia/Tokyo"); // where the stamp lies before 1970 UTC
    WriteAll(Path("old.klg"), ReadDataFile("files/before1970.klg")); // "1970/ 1/ 1(Thu) 0: 0' 0"
    ASSERT_EQ(doc.LoadKlgFile(Path("old.klg")), kFileOk);
    EXPECT_EQ(doc.GetChannel(1)->startTime, 32400u);
}

TEST_F(KlgFileTest, DamagedFilesFailAndChangeNothing) {
    MakeDocument();
    const std::string good = ReadDataFile("files/sound.klg"); // channel 1, two samples
    auto withField = [&](std::size_t off, const std::string& text) {
        std::string b = good;
        b.replace(256 + off, text.size(), text);
        return b;
    };
    using F = ReadFailure;
    const std::tuple<const char*, std::string, ReadFailure, int> cases[] = {
        {"empty file", "", F::kNoHeader, msg::kFileTooShort},
        {"file header one byte short", std::string(255, '\0'), F::kNoHeader, msg::kFileTooShort},
        {"channel header one byte short", good.substr(0, 511), F::kTruncated, msg::kFileTruncated},
        {"short sample area", good.substr(0, good.size() - 1), F::kTruncated, msg::kFileTruncated},
        {"count above 16000, its samples all there",
         withField(87, "16001") + std::string(32016, '\0'), F::kBadHeader, msg::kFileBadHeader},
        {"count not a number", withField(87, "  abc"), F::kBadHeader, msg::kFileBadHeader},
        {"count negative", withField(87, "   -2"), F::kBadHeader, msg::kFileBadHeader},
        {"interval zero", withField(61, "    0"), F::kBadHeader, msg::kFileBadHeader},
        {"interval not a number", withField(61, "     "), F::kBadHeader, msg::kFileBadHeader},
    };
    const GraphRange rangeBefore = *doc.GetRange();
    for (const auto& [what, bytes, failure, message] : cases) {
        SCOPED_TRACE(what);
        WriteAll(Path("bad.klg"), bytes);
        for (int mode : {IDocumentPrompts::kReadNew, IDocumentPrompts::kReadAppend}) {
            prompts.readMode = mode;
            EXPECT_EQ(doc.LoadKlgFile(Path("bad.klg")), kFileFailed);
            EXPECT_EQ(std::tuple(doc.GetChannel(1)->startTime, doc.GetChannel(2)->present,
                                 *doc.GetRange(), doc.LastReadFailure()),
                      std::tuple(t0, 0u, rangeBefore, failure));
            EXPECT_EQ(ReadFailureMessageId(doc.LastReadFailure()), message);
        }
    }
    // Just inside each limit: a file header alone, a channel whose samples are all there.
    for (const std::string& bytes : {std::string(256, '\0'), good}) {
        WriteAll(Path("fine.klg"), bytes);
        EXPECT_EQ(doc.LoadKlgFile(Path("fine.klg")), kFileOk);
        EXPECT_EQ(doc.LastReadFailure(), F::kNone);
    }
    EXPECT_EQ(doc.LoadKlgFile(Path("missing.klg")), kFileFailed);
    EXPECT_EQ(doc.LastReadFailure(), F::kUnreadable);
    EXPECT_EQ(std::pair(ReadFailureMessageId(F::kUnreadable), ReadFailureMessageId(F::kNone)),
              std::pair(msg::kFileUnreadable, 0));
}

// The saved file and the text export go through the same safe write: a failed one keeps the
// old file and leaves nothing behind; the next save replaces the file whole and removes what a
// killed save left, but not the file of a save still writing.
TEST_F(KlgFileTest, FailedSaveKeepsTheOldFileAndTheNextRemovesWhatAKilledSaveLeft) {
    MakeDocument();
    const std::string path = Path("data.klg");
    WriteAll(path, "old contents");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    doc.m_bDataModified = 1;
    EXPECT_EQ(doc.SaveKlgFile(0, path), kFileFailed);
    EXPECT_EQ(doc.ExportText(0, path), kFileFailed);
    EXPECT_EQ(std::tuple(ReadAll(path), doc.m_bDataModified, doc.m_szPathName),
              std::tuple("old contents", 1u, "Untitled"));

    EXPECT_EQ(doc.SaveKlgFile(0, Path("no/such/dir.klg")), kFileFailed);
    fs::create_directory(Path("adir.klg"));
    EXPECT_EQ(doc.SaveKlgFile(0, Path("adir.klg")), kFileFailed);
    EXPECT_EQ(FileCount(), 2) << "no temporary file is left behind";

    fs::permissions(path, fs::perms::owner_all);
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
    using Codes = std::vector<uint16_t>;
    // 33018 is 25.0, 32568 is -20.0; byte 75, the sensor, is not read.
    EXPECT_EQ(std::tuple(Codes(t.samples, t.samples + 4), t.sensorCode,
                         Codes(doc.GetChannel(2)->samples, doc.GetChannel(2)->samples + 2),
                         doc.GetChannel(3)->samples[0], doc.m_szPathName),
              std::tuple(Codes{33018, kCodeMissing, 32568, kCodeEnd}, 0xFF, Codes{33000, 1000},
                         1555 + 31768, Path("old.KSV")));

    // Appended to native data: both on one time axis; the sensor of the target stays.
    prompts.readMode = IDocumentPrompts::kReadAppend;
    doc.GetChannel(4)->sensorCode = 0;
    ASSERT_EQ(doc.LoadKsvFile(Path("old.KSV")), kFileOk);
    EXPECT_EQ(
        std::tuple(doc.GetChannel(4)->samples[0], doc.GetChannel(4)->sensorCode, doc.m_szPathName),
        std::tuple(33018, 0, Path("old.KSV")));
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
    EXPECT_EQ(doc.m_recentFiles, (std::vector<std::string>{"a.klg", "c.ksv", "", ""}));
    for (const char* p : {"d.klg", "e.klg", "f.klg"})
        doc.AddRecentFile(p);
    EXPECT_EQ(doc.m_recentFiles, (std::vector<std::string>{"f.klg", "e.klg", "d.klg", "a.klg"}));
    doc.SaveRecentFiles();
    EXPECT_EQ(store.GetString("Recent File List", "File2", ""), "e.klg");

    WriteAll(Path("data.txt"), "x"); // a missing file: FileCommandsTest.OpenAndRecentEntries
    EXPECT_EQ(doc.OpenDataFile(Path("data.txt")), kFileFailed);
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kWrongExtension});
}

class TextExportTest : public DocTest {
protected:
    // Channel 1 every 10 s, channel 2 every 60 s, channel 3 hidden, channel 5 humidity every
    // 20 s from 09:07:40; channels 4, 6, 7, 8 empty. 09:07:20 holds only Over and 09:07:30 only
    // a missing and a hidden sample: no line for them.
    void MakeDocument() {
        Fill(*doc.GetChannel(1), t0, 10,
             {C(20.0), C(20.1), kCodeOver, kCodeMissing, C(20.4), C(20.5), C(20.6)});
        Fill(*doc.GetChannel(2), t0, 60, {C(5.0), kCodeUnder});
        Fill(*doc.GetChannel(3), t0, 30, {C(1.0), C(2.0), C(3.0)});
        doc.m_bShow[2] = 0;
        Fill(*doc.GetChannel(5), t0 + 40, 20, {32768 + 505, 32768 + 600}, "", kTypeHumidity);
        doc.RecalcRanges(RecalcMode::NewData);
    }
    const uint32_t t0 = Local(2008, 3, 5, 9, 7, 0);
};

// An empty document gives the headings and one empty line.
TEST_F(TextExportTest, AllDataIsByteExactForEveryDelimiterAndTheDisplayedRangeToo) {
    EXPECT_EQ(doc.BuildTextExport(0), ReadDataFile("files/export-empty.txt"));
    MakeDocument();
    // clang-format off
    const std::pair<uint32_t, const char*> cases[] = {
        {1, "comma"}, {2, "tab"}, {3, "semicolon"}, {4, "space"}, {9, "comma"}};
    // clang-format on
    for (const auto& [code, name] : cases) {
        SCOPED_TRACE(code);
        doc.m_nDivideCode = code;
        ASSERT_EQ(doc.ExportText(0, Path("all.txt")), kFileOk);
        EXPECT_EQ(ReadAll(Path("all.txt")),
                  ReadDataFile(std::string("files/export-") + name + ".txt"));
    }

    // The displayed range starts at the first sample inside.
    doc.GetRange()->viewStart = t0 + 35;
    doc.GetRange()->viewEnd = t0 + 55;
    const std::string text = doc.BuildTextExport(1);
    const std::string body = text.substr(text.find("\"%RH\""));
    EXPECT_EQ(
        body,
        "\"%RH\",\"\",\"\",\"\"\r\n"
        "\"2008/03/05  9:07'40\",39512.3803240741,  20.4,\"\",\"\",\"\",   51,\"\",\"\",\"\"\r\n"
        "\"2008/03/05  9:07'50\",39512.3804398148,  20.5,\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
}

// How lines of several intervals merge is in the expected exports; here the date column and
// the serial date agree across midnight and at a summer noon, whatever the zone's daylight
// saving; samples near the end of time do not loop forever.
TEST_F(TextExportTest, SerialDateFollowsTheLocalDateToTheEndOfTime) {
    Fill(*doc.GetChannel(1), Local(2008, 3, 5, 23, 59, 0), 10, std::vector<uint16_t>(13, C(10.0)));
    Fill(*doc.GetChannel(2), Local(2008, 7, 1, 12, 0, 0), 60, {C(1.0)});
    doc.RecalcRanges(RecalcMode::NewData);
    std::string text = doc.BuildTextExport(0);
    EXPECT_NE(text.find("\"2008/03/05 23:59'50\",39512.9998842593,"), std::string::npos);
    EXPECT_NE(text.find("\"2008/03/06  0:00'00\",39513.0000000000,"), std::string::npos);
    EXPECT_NE(text.find("\"2008/07/01 12:00'00\",39630.5000000000,\"\",   1.0"), std::string::npos);

    doc.ClearAllChannels();
    Fill(*doc.GetChannel(1), 0xFFFFFFF0u, 5, {C(1.0), C(2.0), C(3.0)});
    doc.RecalcRanges(RecalcMode::NewData);
    text = doc.BuildTextExport(0);
    int count = 0;
    for (std::size_t pos = 0; (pos = text.find("\r\n\"2", pos)) != std::string::npos; ++pos)
        ++count;
    EXPECT_EQ(count, 3);
}

TEST_F(TextExportTest, TemperatureTextMatchesTheGeneralFormatForEveryCode) {
    for (uint32_t unit : {0u, 1u}) {
        doc.m_nUnitCF = unit;
        int mismatches = 0;
        for (int code = 0; code <= 0xFFFF; ++code) {
            const std::string want = doc.FormatValue(
                kTypeTemp13, 0,
                static_cast<float>(doc.ToValue(static_cast<uint16_t>(code), 13, 1)));
            char buf[16];
            const std::string got(buf, FormatTemperatureText(code - 32768, unit == 1, buf));
            if (got != want && ++mismatches < 5)
                ADD_FAILURE() << "code " << code << " unit " << unit << ": " << got << " vs "
                              << want;
        }
        EXPECT_EQ(mismatches, 0);
    }
}

// What must hold alike on every platform the program runs on: file names beyond ASCII, and the
// very bytes of a saved file and a text export (the cross check runs the Linux and the Windows
// build of this test on the same input and compares what they wrote).
class PortableFileTest : public KlgFileTest {
protected:
    // Shift-JIS names, every special code, the recorder's fields, a hidden channel, a summer
    // start and a start in the hour that repeats when daylight saving ends in Europe.
    void MakeDocument() {
        Fill(*doc.GetChannel(1), t0, 10, {C(20.0), kCodeOver, kCodeMissing, C(-3.5)},
             "\x89\xb7\x93\x78", kTypeTemp13, 1);
        doc.GetChannel(1)->modelCode = kModelKm41;
        doc.GetChannel(1)->recModeCode = 128;
        doc.m_bShow[1] = 0;
        Fill(*doc.GetChannel(2), t0, 60, {kCodeUnder, C(5.0)}, "\xbc\xde\xad\xdd");
        Fill(*doc.GetChannel(4), Local(2008, 7, 1, 12, 0, 0), 1, {C(30.0), C(30.1)}, "SUMMER");
        Fill(*doc.GetChannel(7), 1224981000u + 3600, 5, {32768 + 505}, "RH", kTypeHumidity);
        doc.RecalcRanges(RecalcMode::NewData);
    }
    // A path in the scratch folder, all UTF-8, as the program's windows hand them over.
    std::string Utf8Path(const std::string& name) const {
        const std::u8string d = dir.u8string();
        return std::string(d.begin(), d.end()) + "/" + name;
    }
    static std::u8string U8(const std::string& s) { return {s.begin(), s.end()}; }
    const std::string klgName = "\xe6\xb8\xa9\xe5\xba\xa6 \xe3\x83\x87\xe3\x83\xbc\xe3\x82\xbf.klg";
    const std::string txtName = "\xe6\xb8\xa9\xe5\xba\xa6 \xe3\x83\x87\xe3\x83\xbc\xe3\x82\xbf.txt";
};

// The file system holds the name the user typed, and the files load back as saved, the hidden
// channel too.
TEST_F(PortableFileTest, NamesBeyondAsciiAndTheBytesForTheCrossCheck) {
    MakeDocument();
    const char* out = std::getenv("SAROKO_PORTABLE_OUT");
    ASSERT_EQ(doc.SaveKlgFile(0, Utf8Path(klgName)), kFileOk);
    ASSERT_EQ(doc.ExportText(0, Utf8Path(txtName)), kFileOk);
    EXPECT_EQ(std::tuple(fs::exists(dir / U8(klgName)), fs::exists(dir / U8(txtName)), FileCount()),
              std::tuple(true, true, 2));

    CZorvicDoc other(store, clock);
    other.SetPrompts(&prompts);
    other.OnNewDocument();
    ASSERT_EQ(other.LoadKlgFile(Utf8Path(klgName)), kFileOk);
    EXPECT_EQ(prompts.readModeAsked, 0); // an empty document loads as new without asking
    const auto fields = [](const ChannelRecord& c) {
        return std::tuple(c.present, std::string(c.name), c.startTime, c.interval, c.measureType,
                          c.modelCode, c.sensorCode, c.recModeCode, c.sampleCount,
                          std::vector<uint16_t>(std::begin(c.samples), std::end(c.samples)));
    };
    for (int n = 1; n <= kChannelCount; ++n)
        EXPECT_EQ(fields(*other.GetChannel(n)), fields(*doc.GetChannel(n))) << n;
    EXPECT_EQ(std::tuple(*other.GetRange(), other.m_bDataModified, other.m_szPathName),
              std::tuple(*doc.GetRange(), 0u, Utf8Path(klgName)));
    if (out) {
        for (const std::string& name : {klgName, txtName})
            fs::copy_file(dir / U8(name), fs::path(out) / U8(name),
                          fs::copy_options::overwrite_existing);
    }
}

#ifdef _WIN32
// Another program holding the file open (a spreadsheet showing the last export) makes the save
// fail on Windows; the old bytes stay and no temporary file is left.
TEST_F(PortableFileTest, TargetHeldOpenByAnotherProgram) {
    MakeDocument();
    const std::string path = Path("held.txt");
    WriteAll(path, "old contents");
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(doc.ExportText(0, path), kFileFailed);
    CloseHandle(h);
    EXPECT_EQ(ReadAll(path), "old contents");
    EXPECT_EQ(FileCount(), 1);
    EXPECT_EQ(doc.ExportText(0, path), kFileOk);
    EXPECT_NE(ReadAll(path), "old contents");
}
#endif

class FileCommandsTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        Fill(*doc.GetChannel(1), Local(2008, 3, 5, 9, 0, 0), 10, {C(1.0), C(2.0)}, "A");
        doc.RecalcRanges(RecalcMode::ChangedData);
    }
    ScriptedUi ui;
    CFileCommands commands{doc, ui, prompts};
};

// A never-saved document goes straight to the dialog, then saves without one; a read-only
// file shows its path, then the dialog, which loops on a wrong name; an older-series path is
// refused without a dialog.
TEST_F(FileCommandsTest, OverwriteAsksForANameOnlyWithoutAGoodOne) {
    ui.answers = {Path("first.klg")};
    commands.OnFileSave();
    EXPECT_EQ(ui.asked, std::vector<std::string>{"save-all"});
    EXPECT_EQ(std::tuple(prompts.shown.size(), fs::exists(Path("first.klg")), doc.m_szPathName,
                         doc.m_bDataModified, ui.waitDepth),
              std::tuple(0u, true, Path("first.klg"), 0u, 0));
    doc.m_bDataModified = 1;
    commands.OnFileSave();
    EXPECT_EQ(std::tuple(ui.asked.size(), doc.m_bDataModified), std::tuple(1u, 0u));

    const std::string ro = Path("ro.klg");
    WriteAll(ro, "x");
    fs::permissions(ro, fs::perms::owner_read);
    doc.SetPathName(ro);
    ui.answers = {Path("wrong.txt"), Path("right.klg")};
    commands.OnFileSave();
    EXPECT_EQ(prompts.shown, (std::vector<int>{msg::kReadOnlyFile, msg::kWrongExtension}));
    EXPECT_EQ(prompts.extras[0], "\n" + ro);
    EXPECT_EQ(ui.asked, (std::vector<std::string>{"save-all", "save-all", "save-all"}));
    EXPECT_EQ(std::tuple(ReadAll(ro), fs::exists(Path("right.klg")), fs::exists(Path("wrong.txt"))),
              std::tuple("x", true, false));

    WriteAll(Path("old.ksv"), "x");
    doc.SetPathName(Path("old.ksv"));
    commands.OnFileSave();
    EXPECT_EQ(std::tuple(prompts.shown.size(), prompts.shown.back(), ui.asked.size(),
                         ReadAll(Path("old.ksv"))),
              std::tuple(3u, msg::kWrongExtension, 3u, "x"));
}

TEST_F(FileCommandsTest, SaveAsAndExportLoopOnAWrongExtensionAndExportKeepsTheDelimiter) {
    ui.answers = {Path("out.txt"), Path("out.KLG")};
    commands.OnFileSaveAs(1);
    EXPECT_EQ(ui.asked, (std::vector<std::string>{"save-range", "save-range"}));
    EXPECT_EQ(std::pair(prompts.shown, fs::exists(Path("out.KLG"))),
              std::pair(std::vector<int>{msg::kWrongExtension}, true));
    ui.answers = {Path("no/such/dir/x.klg")};
    commands.OnFileSaveAs(0);
    EXPECT_EQ(prompts.shown.back(), msg::kSaveFailed);
    ui.asked.clear();
    commands.OnFileSaveAs(0); // Cancel
    EXPECT_EQ(ui.asked.size(), 1u);

    // The delimiter chosen is kept even when the name is wrong.
    prompts.shown.clear();
    ui.chosenDivide = 2;
    ui.answers = {Path("out.csv"), Path("out.prn")};
    commands.OnExportText(0);
    EXPECT_EQ(
        std::tuple(prompts.shown, ui.preselected,
                   store.GetInt("Text File Section", "DivideCode", 0), fs::exists(Path("out.csv"))),
        std::tuple(std::vector<int>{msg::kWrongExtension}, std::vector<uint32_t>{1, 2}, 2, false));
    EXPECT_NE(ReadAll(Path("out.prn")).find("\"Date/Time\"\t"), std::string::npos);
}

TEST_F(FileCommandsTest, OpenAndRecentEntries) {
    ASSERT_EQ(doc.SaveKlgFile(0, Path("a.klg")), kFileOk);
    ASSERT_EQ(doc.SaveKlgFile(0, Path("b.klg")), kFileOk);
    // Entry 2 loads and moves to the front.
    commands.OnOpenRecentFile(2);
    EXPECT_EQ(std::tuple(doc.m_recentFiles[0], doc.m_recentFiles[1], doc.m_szPathName),
              std::tuple(Path("a.klg"), Path("b.klg"), Path("a.klg")));
    // Empty or foreign entries do nothing, not even a message.
    doc.m_recentFiles[2] = "notes.txt";
    commands.OnOpenRecentFile(3);
    commands.OnOpenRecentFile(4);
    EXPECT_TRUE(prompts.shown.empty());

    WriteAll(Path("DATA.klg"), ReadAll(Path("a.klg")));
    ui.answers = {Path("DATA.klg")};
    prompts.readMode = IDocumentPrompts::kReadNew;
    commands.OnFileOpen();
    EXPECT_EQ(std::tuple(doc.m_szPathName, ui.waitDepth), std::tuple(Path("DATA.klg"), 0));

    // A file that cannot be read says which and why, once, and the document stays; a missing
    // one has its own message only; a cancelled question is no failure.
    WriteAll(Path("bad.klg"), std::string(100, '\x5a'));
    prompts.shown.clear();
    prompts.extras.clear();
    ui.answers = {Path("bad.klg"), Path("gone.klg")};
    commands.OnFileOpen();
    commands.OnFileOpen();
    doc.m_recentFiles[3] = Path("bad.klg");
    commands.OnOpenRecentFile(4);
    prompts.readMode = IDocumentPrompts::kReadCancel;
    ui.answers = {Path("bad.klg")};
    commands.OnFileOpen();
    ASSERT_EQ(prompts.shown,
              (std::vector<int>{msg::kFileTooShort, msg::kFileNotFound, msg::kFileTooShort}));
    EXPECT_EQ(std::tuple(prompts.extras[0], prompts.extras[2], doc.m_szPathName),
              std::tuple("\n\n" + Path("bad.klg"), "\n\n" + Path("bad.klg"), Path("DATA.klg")));

    // Ctrl+N asks nothing, even over unsaved data.
    doc.m_bDataModified = 1;
    commands.OnFileNew();
    EXPECT_EQ(std::tuple(doc.HasAnyData(), prompts.readModeAsked), std::tuple(false, 5));
}

} // namespace
} // namespace saroko::test
