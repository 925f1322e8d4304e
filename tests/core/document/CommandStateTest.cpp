#include <gtest/gtest.h>

#include "core/TestSupport.h"
#include "document/CommandState.h"
#include "settings/WindowPlacement.h"

namespace saroko::test {
namespace {

class CommandStateTest : public DocTest {};

TEST_F(CommandStateTest, DataCommandsAreGreyWithoutData) {
    const int needData[] = {32784, 32785, 40002, 57603, 32789, 32790, 32807, 32808,
                            32779, 32768, 32769, 32775, 32780, 32781, 32782, 32783};
    const int always[] = {57601, 57606, 57634, 40003, 32776, 32806, 32770, 32771, 32772,
                          32787, 32773, 32786, 32774, 32792, 32793, 32794, 32809, 57664};
    for (int id : needData)
        EXPECT_FALSE(GetCommandState(doc, id).enabled) << id;
    for (int id : always)
        EXPECT_TRUE(GetCommandState(doc, id).enabled) << id;
    EXPECT_FALSE(GetCommandState(doc, cmd::kCursorA).enabled);
    EXPECT_TRUE(GetCommandState(doc, cmd::kCursorA).checked);
    EXPECT_FALSE(GetCommandState(doc, cmd::kZoomOut).enabled);

    Fill(*doc.GetChannel(4), Local(2008, 3, 5, 9, 0, 0), 10, {C(1.0), C(5.0)});
    doc.RecalcRanges(1);
    for (int id : needData)
        EXPECT_TRUE(GetCommandState(doc, id).enabled) << id;
    doc.m_nCursorBSelect = 0;
    EXPECT_TRUE(GetCommandState(doc, cmd::kCursorB).enabled);
    EXPECT_FALSE(GetCommandState(doc, cmd::kCursorB).checked);

    // Zoom out is available only while the view shows less than everything.
    EXPECT_FALSE(GetCommandState(doc, cmd::kZoomOut).enabled);
    doc.GetRange()->viewStart += 1;
    EXPECT_TRUE(GetCommandState(doc, cmd::kZoomOut).enabled);
    doc.GetRange()->viewStart -= 1;
    doc.GetRange()->viewLower += 0.5f;
    EXPECT_TRUE(GetCommandState(doc, cmd::kZoomOut).enabled);
}

TEST(WindowPlacement, ClampsAndSnap) {
    CMemorySettingsStore store;
    const auto placed = [&] {
        const WindowRect r = LoadWindowPlacement(store, 1920, 1080);
        return std::tuple(r.x, r.y, r.width, r.height);
    };
    EXPECT_EQ(std::get<0>(placed()), 0);
    EXPECT_EQ(std::get<2>(placed()), 639);
    EXPECT_EQ(std::get<3>(placed()), 479);
    const std::vector<std::tuple<int, int, int, int, int, int, int, int>> cases = {
        // stored x, y, w, h -> placed x, y, w, h on a 1920 x 1080 desktop
        {-5, 10, 300, 200, 0, 10, 639, 479},
        {1821, 981, 800, 600, 0, 0, 800, 600},
        {1820, 980, 1000, 700, 1820, 980, 1000, 700},
        {100, -1, 639, 479, 100, 0, 639, 479},
    };
    for (const auto& [x, y, w, h, wx, wy, ww, wh] : cases) {
        SaveWindowPosition(store, {x, y, w, h});
        EXPECT_EQ(placed(), std::tuple(wx, wy, ww, wh)) << x << "," << y;
    }
    EXPECT_TRUE(ShouldSnapWindow(249, false));
    EXPECT_FALSE(ShouldSnapWindow(250, false));
    EXPECT_FALSE(ShouldSnapWindow(0, true));
    EXPECT_EQ(HelpFilePath("/opt/saroko/bin/saroko"), "/opt/saroko/bin/SAROKO.chm");
    EXPECT_EQ(HelpFilePath("C:\\Saroko\\saroko.exe", '\\'), "C:\\Saroko\\SAROKO.chm");
    EXPECT_EQ(HelpFilePath("saroko"), "./SAROKO.chm");
}

} // namespace
} // namespace saroko::test
