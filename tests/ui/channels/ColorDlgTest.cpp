// The colour dialog: live palette animation while it is open, the component fields' checks
// and Tab walk, OK's guard, Cancel's restore and what OK stores.
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "channels/ChannelColorDlg.h"
#include "channels/ChannelCommands.h"
#include "document/CommandState.h"
#include "ui/channels/ChannelUiTest.h"

namespace saroko::test {
namespace {

using ui::CChannelColorDlg;

class ColorDlgTest : public ChannelUiTest {
protected:
    std::unique_ptr<CChannelColorDlg> Open() {
        auto dlg = std::make_unique<CChannelColorDlg>(
            doc, view->Palette(), store, [this] { ++repaints; }, nullptr);
        Show(*dlg);
        return dlg;
    }
    static void Leave(CChannelColorDlg& dlg, int component, const QString& text) {
        dlg.Edit(component)->setFocus(Qt::MouseFocusReason);
        dlg.Edit(component)->setText(text);
        QTest::keyClick(dlg.Edit(component), Qt::Key_Tab);
    }
    int repaints = 0;
};

TEST_F(ColorDlgTest, ScrollBarsAnimateTheLivePaletteAndCancelRestoresIt) {
    const PaletteEntries before = view->Palette().Entries();
    auto dlg = Open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Cｈ．カラー変更"));
    EXPECT_EQ(dlg->Edit(kRed)->text(), QStringLiteral("  0"));
    dlg->Bar(kRed)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->Palette().Entries(), before) << "no channel selected: nothing";
    dlg->ChannelButton(3)->click(); // no data in Ch.3: allowed
    EXPECT_EQ(dlg->SelectedLabel()->text(), QStringLiteral("3"));
    EXPECT_EQ(QApplication::focusWidget(), dlg->Bar(kRed));
    EXPECT_EQ(dlg->Edit(kBlue)->text(), QStringLiteral("255"));
    dlg->Bar(kRed)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->Palette().Entry(2).red, 1) << "the live palette follows";
    EXPECT_EQ(dlg->Edit(kRed)->text(), QStringLiteral("  1"));
    EXPECT_GT(repaints, 0);
    dlg->Bar(kRed)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dlg->Bar(kRed)->value(), 1) << "page steps change nothing";
    dlg->Button(ui::kIdcDefaults)->click();
    EXPECT_EQ(dlg->SelectedLabel()->text(), QStringLiteral("3"));
    dlg->Button(ui::kIdcCancel)->click();
    EXPECT_EQ(view->Palette().Entries(), before);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(store.WriteCount(), 0u);
}

TEST_F(ColorDlgTest, FieldsCheckOnLeavingAndTabWalksOn) {
    auto dlg = Open();
    dlg->ChannelButton(1)->click();
    struct Case {
        int component;
        const char* text;
        int message;
        int value; // of the live entry afterwards
    } const cases[] = {
        {kRed, "1000", 0, 100}, // three characters are read
        {kGreen, "  7", 0, 7},
        {kBlue, "1 2", 57730, 175}, // which text fails how: the core's
    };
    auto live = [this](int component) {
        const PaletteEntry& e = view->Palette().Entry(0);
        return component == kRed ? e.red : component == kGreen ? e.green : e.blue;
    };
    for (const Case& c : cases) {
        shown.clear();
        Leave(*dlg, c.component, QString::fromUtf8(c.text));
        EXPECT_EQ(shown, c.message ? std::vector<int>{c.message} : std::vector<int>{}) << c.text;
        EXPECT_EQ(live(c.component), c.value) << c.text;
        if (c.message != 0) {
            EXPECT_EQ(QApplication::focusWidget(), dlg->Edit(c.component)) << "back to the field";
            EXPECT_EQ(dlg->Edit(c.component)->text(), QString::fromUtf8(c.text)) << "as typed";
            Leave(*dlg, c.component, QString::number(c.value)); // valid again
        }
    }
    // Tab from each field.
    Leave(*dlg, kRed, QStringLiteral("5"));
    EXPECT_EQ(QApplication::focusWidget(), dlg->Edit(kGreen));
    Leave(*dlg, kBlue, QStringLiteral("5"));
    EXPECT_EQ(QApplication::focusWidget(), dlg->Button(ui::kIdcOk));
    dlg->Edit(kRed)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(dlg->Edit(kRed), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), dlg->ChannelButton(8));
    // Enter in a field neither closes the dialog nor changes it.
    dlg->Edit(kRed)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(dlg->Edit(kRed), Qt::Key_Return);
    QTest::keyClick(dlg->Edit(kRed), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(ColorDlgTest, OkIsIgnoredWhileAFieldHoldsARejectedValue) {
    auto dlg = Open();
    dlg->ChannelButton(2)->click();
    dlg->Edit(kRed)->setFocus(Qt::MouseFocusReason);
    dlg->Edit(kRed)->setText(QStringLiteral("300"));
    QTest::mouseClick(dlg->Button(ui::kIdcOk), Qt::LeftButton);
    EXPECT_EQ(shown, std::vector<int>{57731});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dlg->Edit(kRed));
    EXPECT_EQ(store.WriteCount(), 0u);
    dlg->close(); // the close box checks first, then acts as Cancel only when valid
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(ColorDlgTest, DefaultsThenOkStoresTheDefaultsThroughTheCommand) {
    PaletteEntries odd = view->Palette().Entries();
    odd[0] = {1, 2, 3, 1};
    view->Palette().SetEntries(odd);
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CChannelColorDlg*>(d);
        dlg->Button(ui::kIdcDefaults)->click();
        dlg->Button(ui::kIdcOk)->click();
    });
    EXPECT_TRUE(ui::RunChannelCommand(cmd::kChannelColours, *view, nullptr));
    EXPECT_EQ(view->Palette().Entry(0), (PaletteEntry{255, 0, 175, 1}));
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.1Red", -1), 255);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.1Blue", -1), 175);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.8Flags", -1), 1);
}

} // namespace
} // namespace saroko::test
