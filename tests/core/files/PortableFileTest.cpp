// What must hold alike on every platform the program runs on: file names beyond ASCII, and the
// very bytes of a saved file and a text export (the cross check runs the Linux and the Windows
// build of this test on the same input and compares what they wrote).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/TestSupport.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace saroko::test {
namespace {

namespace fs = std::filesystem;

class PortableFileTest : public DocTest {
protected:
    // Shift-JIS names, every special code, the recorder's fields, a hidden channel, a summer
    // start and a start in the hour that repeats when daylight saving ends in Europe.
    void MakeDocument() {
        const uint32_t t0 = Local(2008, 3, 5, 9, 7, 0);
        Fill(*doc.GetChannel(1), t0, 10, {C(20.0), kCodeOver, kCodeMissing, C(-3.5)},
             "\x89\xb7\x93\x78", kTypeTemp13, 1);
        doc.GetChannel(1)->modelCode = kModelKm41;
        doc.GetChannel(1)->recModeCode = 128;
        doc.m_bShow[1] = 0;
        Fill(*doc.GetChannel(2), t0, 60, {kCodeUnder, C(5.0)}, "\xbc\xde\xad\xdd");
        Fill(*doc.GetChannel(4), Local(2008, 7, 1, 12, 0, 0), 1, {C(30.0), C(30.1)}, "SUMMER");
        Fill(*doc.GetChannel(7), 1224981000u + 3600, 5, {32768 + 505}, "RH", kTypeHumidity);
        doc.RecalcRanges(1);
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
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::u8string name = e.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{klgName, txtName}));

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
    EXPECT_EQ(*other.GetRange(), *doc.GetRange());
    EXPECT_EQ(other.m_bDataModified, 0u);
    EXPECT_EQ(other.m_szPathName, Utf8Path(klgName));
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
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 1);
    EXPECT_EQ(doc.ExportText(0, path), kFileOk);
    EXPECT_NE(ReadAll(path), "old contents");
}
#endif

} // namespace
} // namespace saroko::test
