// The display, delete and reorder dialogs driven through their buttons, lists and mouse, and
// the commands that apply them to the document.
#include <QComboBox>
#include <QPushButton>

#include "channels/ChannelCommands.h"
#include "channels/ChannelListDlgs.h"
#include "document/CommandState.h"
#include "ui/channels/ChannelUiTest.h"

namespace saroko::test {
namespace {

using ui::CChannelDeleteDlg;
using ui::CChannelOrderDlg;
using ui::CChannelShowDlg;

class ChannelListDlgTest : public ChannelUiTest {};

TEST_F(ChannelListDlgTest, DisplayButtonsFlipOnlyChannelsWithDataAndOkCopiesTheFlags) {
    ASSERT_EQ(doc.m_bDataModified, 0u);
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CChannelShowDlg*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("指定Cｈ．表示 ＯＮ／ＯＦＦ"));
        dlg->ChannelButton(3)->click(); // no data: nothing
        dlg->ChannelButton(2)->click();
        EXPECT_STREQ(dlg->Work().Label(2), "ＯＦＦ");
        EXPECT_STREQ(dlg->Work().Label(3), "      ");
        dlg->Button(ui::kIdcOk)->click();
    });
    EXPECT_TRUE(ui::RunChannelCommand(cmd::kShowOnOff, *view, nullptr));
    EXPECT_EQ(doc.m_bShow, (std::array<uint32_t, 8>{1, 0, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(doc.m_bDataModified, 0u) << "display only";

    WhenModal([](QDialog* d) {
        static_cast<CChannelShowDlg*>(d)->ChannelButton(2)->click();
        static_cast<CChannelShowDlg*>(d)->Button(ui::kIdcCancel)->click();
    });
    ui::RunChannelCommand(cmd::kShowOnOff, *view, nullptr);
    EXPECT_EQ(doc.m_bShow[1], 0u) << "Cancel changes nothing";
}

TEST_F(ChannelListDlgTest, DeleteClearsTheChosenChannelsAfterOk) {
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CChannelDeleteDlg*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("指定Ｃｈ．データ削除"));
        EXPECT_STREQ(dlg->Work().Label(1), "しない");
        dlg->ChannelButton(2)->click();
        EXPECT_STREQ(dlg->Work().Label(2), " する ");
        dlg->Button(ui::kIdcOk)->click();
    });
    EXPECT_TRUE(ui::RunChannelCommand(cmd::kDeleteChannels, *view, nullptr));
    EXPECT_EQ(doc.GetChannel(2)->present, 0u);
    EXPECT_EQ(doc.GetChannel(1)->present, 1u);
    EXPECT_EQ(doc.m_bDataModified, 1u);
}

TEST_F(ChannelListDlgTest, ReorderWithTheListsAndTheMouseThenUndo) {
    CChannelOrderDlg dlg(doc, view->Palette(), nullptr);
    Show(dlg);
    EXPECT_EQ(dlg.FromList()->count(), 8);
    EXPECT_EQ(dlg.FromList()->itemText(7), QStringLiteral("Ch.8"));
    dlg.FromList()->setCurrentIndex(0);
    dlg.ToList()->setCurrentIndex(2); // Ch.1 to the empty row 3: a swap
    dlg.Button(CChannelOrderDlg::kIdcSort)->click();
    EXPECT_EQ(dlg.Work().Name(3), "OVEN");
    EXPECT_EQ(dlg.Work().Name(1), "");
    EXPECT_EQ(dlg.FromList()->currentIndex(), 0);
    EXPECT_EQ(dlg.ToList()->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), dlg.FromList());

    // Drag the number cell of row 4 onto row 1.
    QWidget* numbers = dlg.NumberColumn();
    const QPoint row4(10, ui::kRowPitch * 3 + 5), row1(10, 5);
    QTest::mousePress(numbers, Qt::LeftButton, {}, row4);
    EXPECT_EQ(dlg.Work().DragRow(), 4);
    EXPECT_EQ(numbers->cursor().shape(), Qt::BusyCursor);
    QTest::mouseRelease(numbers, Qt::LeftButton, {}, row1);
    EXPECT_EQ(dlg.Work().Name(1), "ROOF");
    EXPECT_EQ(dlg.Work().DragRow(), 0);

    // Released beside the number cells, at row 2's height: the drag ends without a move.
    QTest::mousePress(numbers, Qt::LeftButton, {}, row1);
    EXPECT_EQ(dlg.Work().DragRow(), 1);
    QTest::mouseRelease(numbers, Qt::LeftButton, {},
                        QPoint(numbers->width() + 30, ui::kRowPitch + 5));
    EXPECT_EQ(dlg.Work().Name(1), "ROOF");
    EXPECT_EQ(dlg.Work().DragRow(), 0);

    dlg.Button(ui::kIdcUndo)->click();
    EXPECT_EQ(dlg.Work().Name(1), "OVEN");
    EXPECT_EQ(dlg.Work().Name(4), "ROOF");
    EXPECT_EQ(dlg.ToList()->currentIndex(), 0);
}

TEST_F(ChannelListDlgTest, ReorderCommandRenumbersTheRecords) {
    const uint32_t start2 = doc.GetChannel(2)->startTime;
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CChannelOrderDlg*>(d);
        dlg->FromList()->setCurrentIndex(1);
        dlg->ToList()->setCurrentIndex(4);
        dlg->Button(CChannelOrderDlg::kIdcSort)->click();
        dlg->Button(ui::kIdcOk)->click();
    });
    EXPECT_TRUE(ui::RunChannelCommand(cmd::kReorderChannels, *view, nullptr));
    EXPECT_EQ(std::string(doc.GetChannel(5)->name), "DUCT");
    EXPECT_EQ(doc.GetChannel(5)->startTime, start2);
    EXPECT_EQ(doc.GetChannel(2)->present, 0u);
    EXPECT_EQ(doc.m_bDataModified, 0u);
    EXPECT_FALSE(ui::RunChannelCommand(cmd::kUnitSwitch, *view, nullptr)) << "not ours";
}

} // namespace
} // namespace saroko::test
