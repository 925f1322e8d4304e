#include <gtest/gtest.h>

#include <filesystem>

#include "core/TestSupport.h"
#include "support/DataFiles.h"

namespace saroko::test {
namespace {

class TextExportTest : public DocTest {
protected:
    // Channel 1 every 10 s, channel 2 every 60 s, channel 3 hidden, channel 5 humidity every
    // 20 s from 09:07:40; channels 4, 6, 7, 8 empty. 09:07:20 holds only Over and 09:07:30 only
    // a missing and a hidden sample: no line for them.
    void MakeDocument() {
        t0 = Local(2008, 3, 5, 9, 7, 0);
        Fill(*doc.GetChannel(1), t0, 10,
             {C(20.0), C(20.1), kCodeOver, kCodeMissing, C(20.4), C(20.5), C(20.6)});
        Fill(*doc.GetChannel(2), t0, 60, {C(5.0), kCodeUnder});
        Fill(*doc.GetChannel(3), t0, 30, {C(1.0), C(2.0), C(3.0)});
        doc.m_bShow[2] = 0;
        Fill(*doc.GetChannel(5), t0 + 40, 20, {32768 + 505, 32768 + 600}, "", kTypeHumidity);
        doc.RecalcRanges(1);
    }
    uint32_t t0 = 0;
};

TEST_F(TextExportTest, AllDataIsByteExactForEveryDelimiter) {
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
}

TEST_F(TextExportTest, EmptyDocumentGivesTheHeadingsAndOneEmptyLine) {
    EXPECT_EQ(doc.BuildTextExport(0), ReadDataFile("files/export-empty.txt"));
}

TEST_F(TextExportTest, DisplayedRangeStartsAtTheFirstSampleInside) {
    MakeDocument();
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
// the serial date agree across midnight and at a summer noon, whatever the zone's daylight saving.
TEST_F(TextExportTest, SerialDateFollowsTheLocalDate) {
    Fill(*doc.GetChannel(1), Local(2008, 3, 5, 23, 59, 0), 10, std::vector<uint16_t>(13, C(10.0)));
    Fill(*doc.GetChannel(2), Local(2008, 7, 1, 12, 0, 0), 60, {C(1.0)});
    doc.RecalcRanges(1);
    const std::string text = doc.BuildTextExport(0);
    EXPECT_NE(text.find("\"2008/03/05 23:59'50\",39512.9998842593,"), std::string::npos);
    EXPECT_NE(text.find("\"2008/03/06  0:00'00\",39513.0000000000,"), std::string::npos);
    EXPECT_NE(text.find("\"2008/07/01 12:00'00\",39630.5000000000,\"\",   1.0"), std::string::npos);
}

TEST_F(TextExportTest, SamplesNearTheEndOfTimeDoNotLoopForever) {
    Fill(*doc.GetChannel(1), 0xFFFFFFF0u, 5, {C(1.0), C(2.0), C(3.0)});
    doc.RecalcRanges(1);
    const std::string text = doc.BuildTextExport(0);
    int count = 0;
    for (std::size_t pos = 0; (pos = text.find("\r\n\"2", pos)) != std::string::npos; ++pos)
        ++count;
    EXPECT_EQ(count, 3);
}

// The folder and the missing-folder cases are KlgFileTest's: both go through the same safe write.
TEST_F(TextExportTest, ReadOnlyTargetIsKept) {
    MakeDocument();
    const std::string ro = Path("ro.txt");
    WriteAll(ro, "keep");
    std::filesystem::permissions(ro, std::filesystem::perms::owner_read);
    EXPECT_EQ(doc.ExportText(0, ro), kFileFailed);
    EXPECT_EQ(ReadAll(ro), "keep");
}

TEST(TemperatureText, MatchesTheGeneralFormatForEveryCode) {
    CMemorySettingsStore store;
    FixedClock clock(0);
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
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

} // namespace
} // namespace saroko::test
