// The calculation range and full-scale dialogs: their checks with message and focus, the
// whole-graph button, the radio poll, and what the commands change.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "channels/ChannelCommands.h"
#include "channels/DateFields.h"
#include "channels/ScaleDlgs.h"
#include "document/CommandState.h"
#include "ui/channels/ChannelUiTest.h"

namespace saroko::test {
namespace {

using ui::CCalcRangeDlg;
using ui::CFullScaleDlg;

class ScaleDlgTest : public ChannelUiTest {};

TEST_F(ScaleDlgTest, CalcRangeFieldsChecksAndFocus) {
    GraphRange& r = *doc.GetRange();
    r.cursorA = Local(2008, 3, 5, 10, 3, 0);
    r.cursorB = Local(2008, 3, 5, 10, 1, 0);
    CCalcRangeDlg dlg(r.calcStart, r.calcEnd, r, view->Palette(), nullptr);
    Show(dlg);
    EXPECT_EQ(dlg.Field(0)->text(), QStringLiteral("2008"));
    EXPECT_EQ(dlg.Field(4)->text(), QStringLiteral(" 1")) << "the earlier cursor first";
    EXPECT_EQ(dlg.Field(10)->text(), QStringLiteral(" 3"));
    EXPECT_TRUE(static_cast<QLabel*>(dlg.GetDlgItem(CCalcRangeDlg::kIdcCurrentEnd))
                    ->text()
                    .endsWith(QStringLiteral(" まで")));
    // clang-format off
    struct Case { int field; const char* text; int message; int focus; } const cases[] = {
        // Which text fails how is the core's table; here the focus on a start and an end field.
        {0, "", 57713, 0},
        {8, "32", 57721, 8},
    };
    // clang-format on
    for (const Case& c : cases) {
        shown.clear();
        const QString keep = dlg.Field(c.field)->text();
        dlg.Field(c.field)->setText(QString::fromUtf8(c.text));
        dlg.Button(ui::kIdcOk)->click();
        EXPECT_EQ(shown, std::vector<int>{c.message}) << c.text;
        EXPECT_EQ(QApplication::focusWidget(), dlg.Field(c.focus)) << c.text;
        EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";
        dlg.Field(c.field)->setText(keep);
    }
    dlg.Button(CCalcRangeDlg::kIdcWhole)->click();
    EXPECT_EQ(dlg.Field(3)->text().toStdString(), DateFieldTexts(r.dataStart)[3]);
}

TEST_F(ScaleDlgTest, CalcRangeCommandShowsExactlyTheRange) {
    const uint32_t from = Local(2008, 3, 5, 10, 1, 0), to = Local(2008, 3, 5, 10, 3, 0);
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CCalcRangeDlg*>(d);
        const char* texts[12] = {"2008", "3", "5", "10", "1", "0",
                                 "2008", "3", "5", "10", "3", "0"};
        for (int i = 0; i < 12; ++i)
            dlg->Field(i)->setText(QString::fromUtf8(texts[i]));
        dlg->Button(ui::kIdcOk)->click();
    });
    EXPECT_TRUE(ui::RunChannelCommand(cmd::kCalcRange, *view, nullptr));
    EXPECT_EQ(doc.GetRange()->calcStart, from);
    EXPECT_EQ(doc.GetRange()->calcEnd, to);
    EXPECT_EQ(doc.GetRange()->viewStart, from);
    EXPECT_EQ(doc.GetRange()->viewEnd, to);
    EXPECT_FLOAT_EQ(doc.GetRange()->viewUpper, 51.0f + 58.0f * 0.05f);
}

TEST_F(ScaleDlgTest, FullScaleFieldsFollowTheRadiosAndTheChecksFocus) {
    CFullScaleDlg dlg(doc, view->Palette(), nullptr);
    Show(dlg);
    EXPECT_TRUE(dlg.TimerActive());
    EXPECT_EQ(dlg.UpperField()->text(), QStringLiteral("600"));
    EXPECT_EQ(dlg.LowerField()->text(), QStringLiteral("-200"));
    EXPECT_FALSE(dlg.UpperField()->isEnabled()) << "automatic mode";
    static_cast<QRadioButton*>(dlg.GetDlgItem(CFullScaleDlg::kIdcManual))->click();
    EXPECT_FALSE(dlg.UpperField()->isEnabled()) << "until the next tick";
    dlg.OnTimerTick();
    EXPECT_TRUE(dlg.UpperField()->isEnabled());
    struct Case {
        const char* upper;
        const char* lower;
        int message;
        QLineEdit* focus;
    } const cases[] = {
        // Which pair fails how is the core's table; here the focus on either field.
        {"0", "100", 57796, dlg.UpperField()},
        {"100", "1 0", 57793, dlg.LowerField()},
    };
    for (const Case& c : cases) {
        shown.clear();
        dlg.UpperField()->setText(QString::fromUtf8(c.upper));
        dlg.LowerField()->setText(QString::fromUtf8(c.lower));
        dlg.Button(ui::kIdcOk)->click();
        EXPECT_EQ(shown, std::vector<int>{c.message}) << c.upper << " " << c.lower;
        EXPECT_EQ(QApplication::focusWidget(), c.focus) << c.upper << " " << c.lower;
        EXPECT_TRUE(dlg.isVisible());
    }
    dlg.Button(ui::kIdcDefaults)->click();
    EXPECT_TRUE(static_cast<QRadioButton*>(dlg.GetDlgItem(CFullScaleDlg::kIdcAuto))->isChecked());
    EXPECT_EQ(dlg.LowerField()->text(), QStringLiteral("-200"));
    EXPECT_FALSE(dlg.LowerField()->isEnabled());
    EXPECT_EQ(store.WriteCount(), 0u) << "nothing stored before OK";
}

TEST_F(ScaleDlgTest, FullScaleCommandSetsTheAxisAndKeepsUnsavedData) {
    doc.m_bDataModified = 1;
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CFullScaleDlg*>(d);
        static_cast<QRadioButton*>(dlg->GetDlgItem(CFullScaleDlg::kIdcManual))->click();
        dlg->UpperField()->setText(QStringLiteral("100"));
        dlg->LowerField()->setText(QStringLiteral("0"));
        dlg->Button(ui::kIdcOk)->click();
    });
    EXPECT_TRUE(ui::RunChannelCommand(cmd::kFullScale, *view, nullptr));
    EXPECT_EQ(doc.m_nScaleMode, 1u);
    EXPECT_FLOAT_EQ(doc.GetRange()->fullUpper, 105.0f);
    EXPECT_FLOAT_EQ(doc.GetRange()->fullLower, -5.0f);
    EXPECT_EQ(store.GetString("Graph Scale Section", "ScaleUpper", ""), "100");
    EXPECT_EQ(doc.m_bDataModified, 1u);
}

} // namespace
} // namespace saroko::test
