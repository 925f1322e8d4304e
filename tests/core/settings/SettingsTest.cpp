#include <gtest/gtest.h>

#include <cstring>

#include "core/TestSupport.h"
#include "settings/OverlaySettingsStore.h"

namespace saroko::test {
namespace {

class SettingsTest : public DocTest {
protected:
    // The whole-number settings of a document, in one row.
    static auto Numbers(CZorvicDoc& d) {
        return std::tie(d.m_nDivideCode, d.m_nPrintMethod, d.m_nHorizontalScale, d.m_nVerticalScale,
                        d.m_nPortNo, d.m_nUnitCF, d.m_nUnitV, d.m_nCursorStyle, d.m_nCursorASelect,
                        d.m_nCursorBSelect, d.m_nScaleMode);
    }
};

TEST_F(SettingsTest, FreshStoreGivesTheDefaults) {
    EXPECT_EQ(Numbers(doc), std::tuple(1u, 0u, 1u, 1u, 1u, 0u, 0u, 2u, 1u, 1u, 0u));
    RecorderSettings block;
    block.flags = 0;
    block.intervalSec = 10;
    std::memcpy(block.chanName1, "Ch.1\0\0\0\0", 8);
    std::memcpy(block.chanName2, "Ch.2\0\0\0\0", 8);
    block.startMode = 0x31;
    block.startTime = clock.Now();
    EXPECT_EQ(doc.m_recSettings.ToBytes(), block.ToBytes());
    EXPECT_FLOAT_EQ(doc.m_fScaleUpper, 600.0f);
    EXPECT_FLOAT_EQ(doc.m_fScaleLower, -200.0f);
    EXPECT_EQ(store.WriteCount(), 0u); // reading never writes
}

TEST_F(SettingsTest, EverySectionRoundTrips) {
    Numbers(doc) = std::tuple(3u, 2u, 5u, 7u, 4u, 1u, 1u, 0u, 0u, 1u, 1u);
    doc.m_recSettings.flags = 0x07;
    doc.m_recSettings.intervalSec = 600;
    std::memcpy(doc.m_recSettings.chanName1, "ABCDEFGH", 8);
    std::memset(doc.m_recSettings.chanName2, 0, 8);
    std::memcpy(doc.m_recSettings.chanName2, "\xBA\xB0\xD9", 3); // half-width katakana
    doc.m_recSettings.startMode = 0x30;
    doc.m_recSettings.startTime = Local(2008, 7, 1, 13, 45, 30); // summer time in Berlin
    doc.m_fScaleUpper = 12.5f;
    doc.m_fScaleLower = -3.25f;
    doc.SaveTextFileSettings();
    doc.SavePrintGraphSettings();
    doc.SaveCommSettings();
    doc.SaveUnitSettings();
    doc.SaveCursorSettings();
    doc.SaveScaleSettings();

    EXPECT_EQ(store.GetString("KM4x Communication Section", "StartMode", ""), "0x30");
    EXPECT_EQ(store.GetString("KM4x Communication Section", "DateTime", ""), "20080701134530");
    EXPECT_EQ(store.GetString("KM4x Communication Section", "ChanName2", ""), "ｺｰﾙ");
    EXPECT_EQ(store.GetInt("KM4x Communication Section", "SensorType", -1), 1);
    EXPECT_EQ(store.GetString("Graph Scale Section", "ScaleUpper", ""), "12.5");
    EXPECT_EQ(store.GetString("Graph Scale Section", "ScaleLower", ""), "-3.25");

    CZorvicDoc other(store, clock);
    other.OnNewDocument();
    EXPECT_EQ(Numbers(other), Numbers(doc));
    EXPECT_EQ(other.m_recSettings.ToBytes(), doc.m_recSettings.ToBytes());
    EXPECT_FLOAT_EQ(other.m_fScaleUpper, 12.5f);
    EXPECT_FLOAT_EQ(other.m_fScaleLower, -3.25f);
}

TEST_F(SettingsTest, OddStoredValues) {
    const char* comm = "KM4x Communication Section";
    // DateTime: the 1970 marker, garbage and the empty text all mean "now".
    for (const char* text : {"19700101090000", "", "abc", "2008"}) {
        SCOPED_TRACE(text);
        store.WriteString(comm, "DateTime", text);
        doc.LoadCommSettings();
        EXPECT_EQ(doc.m_recSettings.startTime, clock.Now());
    }
    store.WriteString(comm, "DateTime", "20081231235959");
    doc.LoadCommSettings();
    EXPECT_EQ(doc.m_recSettings.startTime, Local(2008, 12, 31, 23, 59, 59));

    // StartMode: written as hex text, read back; a plain number is taken as it is; only the
    // low byte counts; unreadable text gives 49.
    const std::vector<std::pair<const char*, int>> modes = {
        {"0x31", 0x31}, {"0x00", 0}, {"48", 48}, {"0x130", 0x30}, {"305", 0x31}, {"zz", 49}};
    for (const auto& [text, want] : modes) {
        SCOPED_TRACE(text);
        store.WriteString(comm, "StartMode", text);
        doc.LoadCommSettings();
        EXPECT_EQ(doc.m_recSettings.startMode, want);
    }

    // Names: cut to 8 bytes, never in the middle of a double-byte character.
    store.WriteString(comm, "ChanName1", "ABCDEFGHIJ");
    doc.LoadCommSettings();
    EXPECT_EQ(std::string(doc.m_recSettings.chanName1, 8), "ABCDEFGH");

    // Flags are built from three entries.
    store.WriteInt(comm, "TempUnit", 1);
    store.WriteInt(comm, "RecMode", 0);
    store.WriteInt(comm, "SensorType", 1);
    doc.LoadCommSettings();
    EXPECT_EQ(doc.m_recSettings.flags, 0x05);

    // Scale texts go through a text-to-number reading: "abc" is 0.
    store.WriteString("Graph Scale Section", "ScaleUpper", "abc");
    store.WriteString("Graph Scale Section", "ScaleLower", "-12.5xyz");
    doc.LoadScaleSettings();
    EXPECT_FLOAT_EQ(doc.m_fScaleUpper, 0.0f);
    EXPECT_FLOAT_EQ(doc.m_fScaleLower, -12.5f);

    // An integer entry holding text reads as its default.
    store.WriteString("Text File Section", "DivideCode", "tab");
    doc.LoadTextFileSettings();
    EXPECT_EQ(doc.m_nDivideCode, 1u);
}

TEST(ScaleSetting, SixSignificantDigitsWithoutTrailingPoint) {
    const std::vector<std::pair<double, const char*>> cases = {
        {600.0, "600"},       {-200.0, "-200"},       {12.5, "12.5"}, {0.00001, ".00001"},
        {123456.0, "123456"}, {1234567.0, "1234570"}, {-0.5, "-0.5"}, {0.0, "0"}};
    for (const auto& [v, want] : cases)
        EXPECT_EQ(FormatScaleSetting(v), want) << v;
}

TEST(StoredInt, ParsesWholeDecimalNumbersOnly) {
    int v = 0, w = 0;
    EXPECT_TRUE(ParseStoredInt(" 42 ", v) && ParseStoredInt("-7", w));
    EXPECT_EQ(std::pair(v, w), std::pair(42, -7));
    EXPECT_FALSE(ParseStoredInt("4x", v));
    EXPECT_FALSE(ParseStoredInt("", v));
    EXPECT_FALSE(ParseStoredInt("99999999999", v));
}

TEST(StringTable, EveryMessageHasAHeadlineAndTheRightButtons) {
    int count = 0;
    for (const MessageDef& m : AllMessages()) {
        ++count;
        EXPECT_GE(m.id, 57696);
        EXPECT_TRUE(m.id <= 57797 || m.id > 58000) << m.id; // the program's own lie above
        EXPECT_NE(std::string_view(m.text).size(), 0u);
    }
    EXPECT_EQ(count, 57);
    EXPECT_EQ(std::pair(FindMessage(57761)->buttons, FindMessage(57762)->buttons),
              std::pair(MsgButtons::OkCancel, MsgButtons::YesNo));
    EXPECT_EQ(
        (std::vector{FindMessage(57760)->icon, FindMessage(57696)->icon, FindMessage(57752)->icon}),
        (std::vector{MsgIcon::Question, MsgIcon::Information, MsgIcon::Exclamation}));
    EXPECT_EQ(MessageText(57749), "ファイル名指定エラー\n\n拡張子が違うか入力されていません。");
    EXPECT_EQ(MessageText(57751), "読み取り専用ファイルのため上書き保存できません。\n");
    EXPECT_EQ(FindMessage(57800), nullptr);
}

TEST(OverlaySettingsStore, ShowsOverlaidEntriesUntilTheUserWritesThem) {
    CMemorySettingsStore base;
    base.WriteInt("KM4x Communication Section", "PortNo", 3);
    base.WriteString("KM4x Communication Section", "ChanName1", "ROOM");
    COverlaySettingsStore store(base);
    store.Overlay("KM4x Communication Section", "PortNo", "1");
    store.Overlay("KM4x Communication Section", "COM1", "/tmp/demo-recorder");
    EXPECT_EQ(store.GetInt("KM4x Communication Section", "PortNo", 9), 1);
    EXPECT_EQ(store.GetString("KM4x Communication Section", "COM1", ""), "/tmp/demo-recorder");
    EXPECT_EQ(store.GetString("KM4x Communication Section", "ChanName1", ""), "ROOM");
    EXPECT_FALSE(base.Has("KM4x Communication Section", "COM1"));

    // Saving the section writes the user's choice through and ends the overlay of that entry.
    store.WriteInt("KM4x Communication Section", "PortNo", 2);
    EXPECT_EQ(store.GetInt("KM4x Communication Section", "PortNo", 9), 2);
    EXPECT_EQ(base.GetInt("KM4x Communication Section", "PortNo", 9), 2);
    EXPECT_EQ(store.GetString("KM4x Communication Section", "COM1", ""), "/tmp/demo-recorder");
}

} // namespace
} // namespace saroko::test
