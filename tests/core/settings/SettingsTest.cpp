// The document's settings in the store, the message table and the program's language.
#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "core/TestSupport.h"
#include "core/messages/Translate.h"
#include "core/settings/Language.h"
#include "core/settings/OverlaySettingsStore.h"

namespace saroko::test {
namespace {

const char* const kComm = "KM4x Communication Section";

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
    const RecorderSettings block{0, 10, "Ch.1", "Ch.2", 0x31, clock.Now()};
    EXPECT_EQ(doc.m_recSettings.ToBytes(), block.ToBytes());
    // Reading never writes.
    EXPECT_EQ(std::tuple(doc.m_fScaleUpper, doc.m_fScaleLower, store.WriteCount()),
              std::tuple(600.0f, -200.0f, 0u));
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

    EXPECT_EQ((std::vector{store.GetString(kComm, "StartMode", ""),
                           store.GetString(kComm, "DateTime", ""),
                           store.GetString(kComm, "ChanName2", ""),
                           store.GetString("Graph Scale Section", "ScaleUpper", ""),
                           store.GetString("Graph Scale Section", "ScaleLower", "")}),
              (std::vector<std::string>{"0x30", "20080701134530", "ｺｰﾙ", "12.5", "-3.25"}));
    EXPECT_EQ(store.GetInt(kComm, "SensorType", -1), 1);

    CZorvicDoc other(store, clock);
    other.OnNewDocument();
    EXPECT_EQ(Numbers(other), Numbers(doc));
    EXPECT_EQ(other.m_recSettings.ToBytes(), doc.m_recSettings.ToBytes());
    EXPECT_EQ(std::tuple(other.m_fScaleUpper, other.m_fScaleLower), std::tuple(12.5f, -3.25f));
}

TEST_F(SettingsTest, OddStoredValues) {
    // DateTime: the 1970 marker, garbage and the empty text all mean "now".
    for (const char* text : {"19700101090000", "", "abc", "2008"}) {
        SCOPED_TRACE(text);
        store.WriteString(kComm, "DateTime", text);
        doc.LoadCommSettings();
        EXPECT_EQ(doc.m_recSettings.startTime, clock.Now());
    }
    store.WriteString(kComm, "DateTime", "20081231235959");
    doc.LoadCommSettings();
    EXPECT_EQ(doc.m_recSettings.startTime, Local(2008, 12, 31, 23, 59, 59));

    // StartMode: written as hex text, read back; a plain number is taken as it is; only the
    // low byte counts; unreadable text gives 49.
    const std::vector<std::pair<const char*, int>> modes = {
        {"0x31", 0x31}, {"0x00", 0}, {"48", 48}, {"0x130", 0x30}, {"305", 0x31}, {"zz", 49}};
    for (const auto& [text, want] : modes) {
        store.WriteString(kComm, "StartMode", text);
        doc.LoadCommSettings();
        EXPECT_EQ(doc.m_recSettings.startMode, want) << text;
    }

    // Names are cut to 8 bytes; flags are built from three entries.
    store.WriteString(kComm, "ChanName1", "ABCDEFGHIJ");
    store.WriteInt(kComm, "TempUnit", 1);
    store.WriteInt(kComm, "RecMode", 0);
    store.WriteInt(kComm, "SensorType", 1);
    doc.LoadCommSettings();
    EXPECT_EQ(std::tuple(std::string(doc.m_recSettings.chanName1, 8), doc.m_recSettings.flags),
              std::tuple("ABCDEFGH", 0x05));

    // Scale texts go through a text-to-number reading: "abc" is 0; an integer entry holding
    // text reads as its default.
    store.WriteString("Graph Scale Section", "ScaleUpper", "abc");
    store.WriteString("Graph Scale Section", "ScaleLower", "-12.5xyz");
    store.WriteString("Text File Section", "DivideCode", "tab");
    doc.LoadScaleSettings();
    doc.LoadTextFileSettings();
    EXPECT_EQ(std::tuple(doc.m_fScaleUpper, doc.m_fScaleLower, doc.m_nDivideCode),
              std::tuple(0.0f, -12.5f, 1u));
}

TEST(StoredInt, ParsesWholeDecimalNumbersOnly) {
    int v = 0, w = 0;
    EXPECT_TRUE(ParseStoredInt(" 42 ", v) && ParseStoredInt("-7", w));
    EXPECT_EQ(std::pair(v, w), std::pair(42, -7));
    EXPECT_FALSE(ParseStoredInt("4x", v));
    EXPECT_FALSE(ParseStoredInt("", v));
    EXPECT_FALSE(ParseStoredInt("99999999999", v));
}

// Every box says something; only the unsaved-data exit box answers No when Enter is pressed.
TEST(StringTable, EveryMessageHasATextAndOnlyTheExitBoxDefaultsToNo) {
    for (const MessageDef& m : AllMessages()) {
        EXPECT_NE(std::string_view(m.text).size(), 0u) << m.id;
        EXPECT_EQ(DefaultAnswerIsNo(m.id), m.id == msg::kQuitUnsaved) << m.id;
    }
    EXPECT_EQ(std::pair(FindMessage(msg::kLoadOverflow)->buttons,
                        FindMessage(msg::kQuitUnsaved)->buttons),
              std::pair(MsgButtons::OkCancel, MsgButtons::YesNo));
}

TEST(OverlaySettingsStore, ShowsOverlaidEntriesUntilTheUserWritesThem) {
    CMemorySettingsStore base;
    base.WriteInt(kComm, "PortNo", 3);
    base.WriteString(kComm, "ChanName1", "ROOM");
    COverlaySettingsStore store(base);
    store.Overlay(kComm, "PortNo", "1");
    store.Overlay(kComm, "COM1", "/tmp/demo-recorder");
    EXPECT_EQ(std::tuple(store.GetInt(kComm, "PortNo", 9), store.GetString(kComm, "COM1", ""),
                         store.GetString(kComm, "ChanName1", ""), base.Has(kComm, "COM1")),
              std::tuple(1, "/tmp/demo-recorder", "ROOM", false));

    // Saving the section writes the user's choice through and ends the overlay of that entry.
    store.WriteInt(kComm, "PortNo", 2);
    EXPECT_EQ(std::tuple(store.GetInt(kComm, "PortNo", 9), base.GetInt(kComm, "PortNo", 9),
                         store.GetString(kComm, "COM1", "")),
              std::tuple(2, 2, "/tmp/demo-recorder"));
}

TEST(LanguageTest, SettingOverridesTheLocaleWhichFallsBackToJapaneseForC) {
    using L = Language;
    // clang-format off
    const struct { const char* choice; const char* locale; L expected; } cases[] = {
        {"auto", "ja_JP.UTF-8", L::kJapanese}, {"auto", "ja", L::kJapanese},
        {"auto", "C",           L::kJapanese}, {"auto", "C.UTF-8", L::kJapanese},
        {"auto", "POSIX",       L::kJapanese}, {"auto", "", L::kJapanese},
        {"auto", "en_US.UTF-8", L::kEnglish},  {"auto", "de_DE@euro", L::kEnglish},
        {"auto", "jv_ID",       L::kEnglish},  {"",     "fr_FR", L::kEnglish},
        {"ja",   "en_US.UTF-8", L::kJapanese}, {"en", "ja_JP.UTF-8", L::kEnglish},
        {"EN",   "C",           L::kJapanese}, // not a choice: the locale decides
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ResolveLanguage(c.choice, c.locale), c.expected) << c.choice << " " << c.locale;
}

// A translated printf format is used only when it converts the same arguments: a faulty
// translation must never make snprintf read an int as a string.
TEST(LanguageTest, TranslatedFormatsKeepTheirConversions) {
    SetTranslateFn([](const char*, const char* text) -> std::string {
        const std::string_view t = text;
        if (t == "%4d年 %2d月")
            return "%04d/%02d";
        if (t == "%2d時")
            return "%s h";
        return "%d%%";
    });
    EXPECT_EQ(TranslateFormat("Dates", "%4d年 %2d月"), "%04d/%02d");
    EXPECT_EQ(TranslateFormat("Dates", "%2d時"), "%2d時") << "a string where an int goes";
    EXPECT_EQ(TranslateFormat("Dates", "%d"), "%d%%") << "a literal percent converts nothing";
    EXPECT_EQ(TranslateFormat("Dates", "%d %d"), "%d %d") << "an argument left out";
    SetTranslateFn(nullptr);
    EXPECT_EQ(TranslateText("Menu", "開く(O)..."), "開く(O)...");
}

} // namespace
} // namespace saroko::test
