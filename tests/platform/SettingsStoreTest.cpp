#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

#include "document/ZorvicDoc.h"
#include "platform/QtSettingsStore.h"

namespace saroko {
namespace {

TEST(QtSettingsStore, SectionsRoundTripThroughTheUserStore) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    {
        CQtSettingsStore store;
        store.WriteInt("Unit Display Section", "UnitCF", 1);
        store.WriteString("KM4x Communication Section", "StartMode", "0x30");
        store.WriteString("KM4x Communication Section", "ChanName1", "室温");
        store.Sync();
    }
    CQtSettingsStore store;
    EXPECT_EQ(store.GetInt("Unit Display Section", "UnitCF", 0), 1);
    EXPECT_EQ(store.GetInt("Unit Display Section", "UnitV", 7), 7);
    EXPECT_EQ(store.GetInt("KM4x Communication Section", "StartMode", 49), 49); // text, not int
    EXPECT_EQ(store.GetString("KM4x Communication Section", "ChanName1", ""), "室温");
    EXPECT_EQ(store.GetString("Nowhere", "Nothing", "dflt"), "dflt");

    // The document on the real store, with the platform's codec: names become CP932 bytes.
    FixedClock clock(1'200'000'000);
    CQtCp932Codec codec;
    CZorvicDoc doc(store, clock);
    doc.SetTextCodec(&codec);
    doc.OnNewDocument();
    EXPECT_EQ(doc.m_recSettings.startMode, 0x30);
    EXPECT_EQ(std::string(doc.m_recSettings.chanName1, 4), "\x8e\xba\x89\xb7");
    EXPECT_EQ(doc.m_nUnitCF, 1u);
    std::memcpy(doc.m_recSettings.chanName2, "\x8e\xba\x89\xb7\x8e\xba\x89\xb7", 8);
    doc.SaveCommSettings();
    EXPECT_EQ(store.GetString("KM4x Communication Section", "ChanName2", ""), "室温室温");
}

TEST(QtCp932Codec, ConvertsBothWays) {
    ASSERT_TRUE(CQtCp932Codec::Available());
    CQtCp932Codec codec;
    EXPECT_EQ(codec.Utf8ToCp932("室温 ｺｰﾙ ﾟC"), "\x8e\xba\x89\xb7 \xba\xb0\xd9 \xdf"
                                                "C");
    EXPECT_EQ(codec.Cp932ToUtf8("\x87\x40"), "①");
    // The core's own codec agrees where it can.
    CBasicCp932Codec basic;
    EXPECT_EQ(basic.Cp932ToUtf8("\xba\xb0\xd9 C"), "ｺｰﾙ C");
    EXPECT_EQ(basic.Utf8ToCp932("ｺｰﾙ"), "\xba\xb0\xd9");
    EXPECT_EQ(basic.Utf8ToCp932("室"), "?");
}

} // namespace
} // namespace saroko
