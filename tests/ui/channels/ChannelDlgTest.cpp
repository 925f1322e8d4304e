// The channel dialogs driven through their buttons, fields, lists and mouse, most of them run
// by their commands on a real view: each shows the core's result, applies it on OK, and shows
// a rule's message with the focus on its field (the rules' cases are the core's). Each dialog's
// picture must show the channels in their palette colours; with SAROKO_PICTURE_DIR set the
// pictures are kept there as PNG files.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "core/document/CommandState.h"
#include "core/text/DateFields.h"
#include "support/ViewRig.h"
#include "ui/channels/ChannelColorDlg.h"
#include "ui/channels/ChannelCommands.h"
#include "ui/channels/ChannelListDlgs.h"
#include "ui/channels/RecCondDlg.h"
#include "ui/channels/ScaleDlgs.h"

namespace saroko::test {
namespace {

using namespace ui; // the dialogs and their control ids

class ChannelDlgTest : public ViewRig {
protected:
    void SetUp() override {
        ViewRig::SetUp();
        Fill(*doc.GetChannel(1), Local(2008, 3, 5, 10, 0, 0), 60, {C(20), C(21), C(22), C(23)},
             "OVEN");
        Fill(*doc.GetChannel(2), Local(2008, 3, 5, 10, 1, 0), 60, {C(-5), C(-6), C(-7)}, "DUCT");
        Fill(*doc.GetChannel(4), Local(2008, 3, 5, 10, 2, 0), 60, {C(50), C(51)}, "ROOF");
        OpenView(false);
    }
    bool Run(int command) { return RunChannelCommand(command, *view, nullptr); }
    // The palette entries of `entries` that the dialog's picture does not show anywhere.
    std::vector<int> Missing(QWidget& dlg, const char* name, std::vector<int> entries) const {
        const QImage img = dlg.grab().toImage();
        const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
        if (!dir.isEmpty())
            img.save(QString::fromLocal8Bit(dir) + QStringLiteral("/%1.png").arg(name));
        std::erase_if(entries, [&](int index) {
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if ((img.pixel(x, y) & 0xFFFFFF) == (Entry(index) & 0xFFFFFF))
                        return true;
            return false;
        });
        return entries;
    }
    static void Type(CRecCondDlg& dlg, const QString& name, std::array<const char*, 6> date) {
        dlg.Field(kRcName)->setText(name);
        for (int i = 0; i < 6; ++i)
            dlg.Field(kRcYear + i)->setText(QString::fromUtf8(date[static_cast<std::size_t>(i)]));
    }
    static void Leave(CChannelColorDlg& dlg, int component, const QString& text) {
        dlg.Edit(component)->setFocus(Qt::MouseFocusReason);
        dlg.Edit(component)->setText(text);
        QTest::keyClick(dlg.Edit(component), Qt::Key_Tab);
    }
};

TEST_F(ChannelDlgTest, DisplayAndDeleteButtonsFlipOnlyChannelsWithDataAndOkApplies) {
    WhenModal([this](QDialog* d) {
        auto* dlg = static_cast<CChannelShowDlg*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("指定Cｈ．表示 ＯＮ／ＯＦＦ"));
        EXPECT_EQ(Missing(*dlg, "show", {3}), std::vector<int>{}) << "ROOF in Ch.4's colour";
        dlg->ChannelButton(3)->click(); // no data: nothing
        dlg->ChannelButton(2)->click();
        dlg->Button(kIdcOk)->click();
    });
    EXPECT_TRUE(Run(cmd::kShowOnOff));
    EXPECT_EQ(doc.m_bShow, (std::array<uint32_t, 8>{1, 0, 1, 1, 1, 1, 1, 1}));
    WhenModal([](QDialog* d) {
        static_cast<CChannelShowDlg*>(d)->ChannelButton(2)->click();
        static_cast<CChannelShowDlg*>(d)->Button(kIdcCancel)->click();
    });
    Run(cmd::kShowOnOff);
    EXPECT_EQ(doc.m_bShow[1], 0u) << "Cancel changes nothing";

    WhenModal([this](QDialog* d) {
        auto* dlg = static_cast<CChannelDeleteDlg*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("指定Ｃｈ．データ削除"));
        EXPECT_EQ(Missing(*dlg, "delete", {0}), std::vector<int>{});
        dlg->ChannelButton(2)->click();
        dlg->Button(kIdcOk)->click();
    });
    EXPECT_TRUE(Run(cmd::kDeleteChannels));
    EXPECT_EQ(doc.GetChannel(2)->present, 0u);
    EXPECT_EQ(doc.GetChannel(1)->present, 1u);
}

TEST_F(ChannelDlgTest, ReorderWithTheListsAndTheMouseUndoThenOkRenumbers) {
    WhenModal([this](QDialog* d) {
        auto* dlg = static_cast<CChannelOrderDlg*>(d);
        dlg->FromList()->setCurrentIndex(0);
        dlg->ToList()->setCurrentIndex(2); // Ch.1 to the empty row 3: a swap
        dlg->Button(CChannelOrderDlg::kIdcSort)->click();
        EXPECT_EQ(dlg->Work().Name(3), "OVEN");
        EXPECT_EQ(Missing(*dlg, "order", {2}), std::vector<int>{}) << "moved data, row 3's colour";
        EXPECT_EQ(QApplication::focusWidget(), dlg->FromList());

        // Drag the number cell of row 4 onto row 1.
        QWidget* numbers = dlg->NumberColumn();
        const QPoint row4(10, kRowPitch * 3 + 5), row1(10, 5);
        QTest::mousePress(numbers, Qt::LeftButton, {}, row4);
        EXPECT_EQ(numbers->cursor().shape(), Qt::BusyCursor);
        QTest::mouseRelease(numbers, Qt::LeftButton, {}, row1);
        EXPECT_EQ(dlg->Work().Name(1), "ROOF");
        // Released beside the number cells, at row 2's height: the drag ends without a move.
        QTest::mousePress(numbers, Qt::LeftButton, {}, row1);
        QTest::mouseRelease(numbers, Qt::LeftButton, {},
                            QPoint(numbers->width() + 30, kRowPitch + 5));
        EXPECT_EQ(dlg->Work().Name(1), "ROOF");

        dlg->Button(kIdcUndo)->click();
        EXPECT_EQ(dlg->Work().Name(4), "ROOF");
        EXPECT_EQ(dlg->ToList()->currentIndex(), 0);
        dlg->FromList()->setCurrentIndex(1);
        dlg->ToList()->setCurrentIndex(4);
        dlg->Button(CChannelOrderDlg::kIdcSort)->click();
        dlg->Button(kIdcOk)->click();
    });
    EXPECT_TRUE(Run(cmd::kReorderChannels));
    EXPECT_EQ(std::string(doc.GetChannel(5)->name), "DUCT");
    EXPECT_FALSE(Run(cmd::kUnitSwitch)) << "not ours";
}

TEST_F(ChannelDlgTest, ColourBarsAnimateTheLivePaletteAndCancelRestoresIt) {
    const PaletteEntries before = view->Palette().Entries();
    int repaints = 0;
    CChannelColorDlg dlg(
        doc, view->Palette(), store, [&repaints] { ++repaints; }, nullptr);
    Show(dlg);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Cｈ．カラー変更"));
    EXPECT_EQ(dlg.Edit(kRed)->text(), QStringLiteral("  0"));
    dlg.Bar(kRed)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->Palette().Entries(), before) << "no channel selected: nothing";
    dlg.ChannelButton(3)->click(); // no data in Ch.3: allowed
    EXPECT_EQ(Missing(dlg, "colour", {0, 1, 2, 3, 4, 5, 6, 7}), std::vector<int>{})
        << "the sample lines";
    EXPECT_EQ(dlg.SelectedLabel()->text(), QStringLiteral("3"));
    EXPECT_EQ(QApplication::focusWidget(), dlg.Bar(kRed));
    EXPECT_EQ(dlg.Edit(kBlue)->text(), QStringLiteral("255"));
    dlg.Bar(kRed)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    // The live palette follows.
    EXPECT_EQ(std::tuple(view->Palette().Entry(2).red, dlg.Edit(kRed)->text(), repaints > 0),
              std::tuple(1, QStringLiteral("  1"), true));
    dlg.Bar(kRed)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dlg.Bar(kRed)->value(), 1) << "page steps change nothing";
    dlg.Button(kIdcDefaults)->click();
    EXPECT_EQ(dlg.SelectedLabel()->text(), QStringLiteral("3"));
    dlg.Button(kIdcCancel)->click();
    EXPECT_EQ(std::tuple(view->Palette().Entries(), dlg.result(), store.WriteCount()),
              std::tuple(before, int{QDialog::Rejected}, 0u));
}

TEST_F(ChannelDlgTest, ColourFieldsCheckOnLeavingTabWalksOnAndOkStoresThroughTheCommand) {
    WhenModal([this](QDialog* d) {
        auto& dlg = *static_cast<CChannelColorDlg*>(d);
        const PaletteEntry& live = view->Palette().Entry(0);
        dlg.ChannelButton(1)->click();
        Leave(dlg, kGreen, QStringLiteral("  7"));
        EXPECT_EQ(live.green, 7);
        EXPECT_EQ(messages, std::vector<int>{});
        Leave(dlg, kBlue, QStringLiteral("1 2")); // which text fails how: the core's
        EXPECT_EQ(messages, std::vector<int>{57730});
        EXPECT_EQ(live.blue, 175);
        EXPECT_EQ(QApplication::focusWidget(), dlg.Edit(kBlue)) << "back to the field";
        EXPECT_EQ(dlg.Edit(kBlue)->text(), QStringLiteral("1 2")) << "as typed";
        // OK and the close box check the field first and then do nothing while it is wrong.
        QTest::mouseClick(dlg.Button(kIdcOk), Qt::LeftButton);
        EXPECT_EQ(messages, (std::vector<int>{57730, 57730}));
        EXPECT_EQ(QApplication::focusWidget(), dlg.Edit(kBlue));
        dlg.close();
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(store.WriteCount(), 0u);
        Leave(dlg, kBlue, QStringLiteral("175"));

        // Tab from each field.
        Leave(dlg, kRed, QStringLiteral("5"));
        EXPECT_EQ(QApplication::focusWidget(), dlg.Edit(kGreen));
        Leave(dlg, kBlue, QStringLiteral("5"));
        EXPECT_EQ(QApplication::focusWidget(), dlg.Button(kIdcOk));
        dlg.Edit(kRed)->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(dlg.Edit(kRed), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), dlg.ChannelButton(8));
        // Enter in a field neither closes the dialog nor changes it.
        dlg.Edit(kRed)->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(dlg.Edit(kRed), Qt::Key_Return);
        QTest::keyClick(dlg.Edit(kRed), Qt::Key_Escape);
        EXPECT_TRUE(dlg.isVisible());
        dlg.Button(kIdcDefaults)->click();
        dlg.Button(kIdcOk)->click();
    });
    EXPECT_TRUE(Run(cmd::kChannelColours));
    EXPECT_EQ(view->Palette().Entry(0), (PaletteEntry{255, 0, 175, 1}));
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.1Red", -1), 255);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.1Blue", -1), 175);
    EXPECT_EQ(store.GetInt(kChannelColorSection, "Ch.8Flags", -1), 1);
}

TEST_F(ChannelDlgTest, RecCondChecksShowTheirMessageAndFocusThenOkShiftsTheStart) {
    const uint32_t start = doc.GetChannel(2)->startTime;
    WhenModal([this](QDialog* d) {
        auto& dlg = *static_cast<CRecCondDlg*>(d);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("記録条件の編集"));
        EXPECT_EQ(Missing(dlg, "reccond", {1}), std::vector<int>{});
        dlg.ChannelButton(1)->click();
        EXPECT_EQ(dlg.Field(kRcName)->text(), QStringLiteral("OVEN"));
        EXPECT_EQ(dlg.Field(kRcYear)->text(), QStringLiteral("2008"));
        // Each case from Ch.1 to Ch.2; a failed one stays on Ch.1 with its fields reloaded.
        // clang-format off
        struct Case {
            const char* what;
            QString name;
            std::array<const char*, 6> date;
            int message;
            int focus;
        } const cases[] = {
            {"five full-width", QStringLiteral("ＡＢＣＤＥ"), {"2008", "3", "5", "10", "0", "0"}, 57712, kRcName},
            {"2001-02-29", QStringLiteral("A"), {"2001", "2", "29", "0", "0", "0"}, 57721, kRcDay},
            {"four full-width", QStringLiteral("ＡＢＣＤ"), {"2008", "3", "5", "10", "0", "0"}, 0, kRcName},
        };
        // clang-format on
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            messages.clear();
            Type(dlg, c.name, c.date);
            dlg.ChannelButton(2)->click();
            EXPECT_EQ(messages, c.message ? std::vector<int>{c.message} : std::vector<int>{});
            EXPECT_EQ(QApplication::focusWidget(), dlg.Field(c.focus));
            EXPECT_EQ(dlg.SelectedLabel()->text(), QString::number(c.message ? 1 : 2));
            if (c.message != 0) {
                EXPECT_EQ(dlg.Field(kRcName)->text(), QStringLiteral("OVEN")) << "reloaded";
            }
        }

        // Letters in a date field: the dialog framework's integer box, then the name's focus.
        dlg.Field(kRcMinute)->setText(QStringLiteral("ab"));
        QString boxText;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxText = box->text();
                box->accept();
            }
        });
        dlg.ChannelButton(1)->click();
        EXPECT_EQ(boxText, QString::fromUtf8(kEnterIntegerText));
        EXPECT_TRUE(messages.empty()) << "not a message of the program's table";
        EXPECT_EQ(dlg.Work().Selected(), 2);
        EXPECT_EQ(dlg.Field(kRcMinute)->text(), QStringLiteral("1"));
        dlg.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        EXPECT_EQ(QApplication::focusWidget(), dlg.Field(kRcName));

        dlg.Field(kRcName)->setText(QStringLiteral("ﾀﾞｸﾄ"));
        dlg.Field(kRcHour)->setText(QStringLiteral("11"));
        dlg.Button(kIdcOk)->click();
    });
    EXPECT_TRUE(Run(cmd::kEditConditions));
    EXPECT_EQ(doc.GetChannel(2)->startTime, start + 3600);
    EXPECT_EQ(std::string(doc.GetChannel(2)->name), "\xC0\xDE\xB8\xC4") << "CP932 bytes";
}

TEST_F(ChannelDlgTest, LegendVariantUndoesAndDeletesTheChannelsLeftInDeleteMode) {
    WhenModal([this](QDialog* d) {
        auto& dlg = *static_cast<CRecCondDeleteDlg*>(d);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("記録条件の編集 ／ データ削除"));
        EXPECT_TRUE(static_cast<QRadioButton*>(dlg.GetDlgItem(CRecCondDlg::kIdcEdit))->isChecked());
        dlg.ChannelButton(1)->click();
        static_cast<QRadioButton*>(dlg.GetDlgItem(CRecCondDlg::kIdcDelete))->click();
        dlg.ChannelButton(2)->click(); // Ch.1 marked
        EXPECT_EQ(Missing(dlg, "reccond-delete", {1}), std::vector<int>{});
        dlg.Button(kIdcUndo)->click();
        EXPECT_EQ(dlg.Field(kRcName)->text(), QString());
        EXPECT_EQ(dlg.Field(kRcYear)->text(), QStringLiteral("0"));
        EXPECT_EQ(dlg.SelectedLabel()->text(), QStringLiteral(" "));
        dlg.ChannelButton(2)->click();
        dlg.ChannelButton(4)->click();
        EXPECT_EQ(dlg.SelectedLabel()->text(), QStringLiteral("4"));
        dlg.Button(kIdcOk)->click(); // "削除" still chosen: Ch.4 goes too
    });
    EditConditionsFromLegend(*view, nullptr);
    EXPECT_EQ(doc.GetChannel(2)->present, 0u);
    EXPECT_EQ(doc.GetChannel(4)->present, 0u);
    EXPECT_EQ(doc.GetChannel(1)->present, 1u) << "the undone mark";
}

TEST_F(ChannelDlgTest, CalcRangeChecksFocusTheirFieldAndOkShowsExactlyTheRange) {
    GraphRange& r = *doc.GetRange();
    r.cursorA = Local(2008, 3, 5, 10, 3, 0);
    r.cursorB = Local(2008, 3, 5, 10, 1, 0);
    WhenModal([this, &r](QDialog* d) {
        auto& dlg = *static_cast<CCalcRangeDlg*>(d);
        EXPECT_EQ(dlg.Field(4)->text(), QStringLiteral(" 1")) << "the earlier cursor first";
        EXPECT_EQ(dlg.Field(10)->text(), QStringLiteral(" 3"));
        auto* end = static_cast<QLabel*>(dlg.GetDlgItem(CCalcRangeDlg::kIdcCurrentEnd));
        EXPECT_TRUE(end->text().endsWith(QStringLiteral(" まで")));
        // Which text fails how is the core's table; here the focus on a start and an end field.
        // clang-format off
        struct Case { int field; const char* text; int message; } const cases[] = {{0, "", 57713}, {8, "32", 57721}};
        // clang-format on
        for (const Case& c : cases) {
            messages.clear();
            const QString keep = dlg.Field(c.field)->text();
            dlg.Field(c.field)->setText(QString::fromUtf8(c.text));
            dlg.Button(kIdcOk)->click();
            EXPECT_EQ(messages, std::vector<int>{c.message}) << c.text;
            EXPECT_EQ(QApplication::focusWidget(), dlg.Field(c.field)) << c.text;
            EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";
            dlg.Field(c.field)->setText(keep);
        }
        dlg.Button(CCalcRangeDlg::kIdcWhole)->click();
        EXPECT_EQ(dlg.Field(3)->text().toStdString(), DateFieldTexts(r.dataStart)[3]);
        const char* texts[12] = {"2008", "3", "5", "10", "1", "0",
                                 "2008", "3", "5", "10", "3", "0"};
        for (int i = 0; i < 12; ++i)
            dlg.Field(i)->setText(QString::fromUtf8(texts[i]));
        dlg.Button(kIdcOk)->click();
    });
    EXPECT_TRUE(Run(cmd::kCalcRange));
    const uint32_t from = Local(2008, 3, 5, 10, 1, 0), to = Local(2008, 3, 5, 10, 3, 0);
    EXPECT_EQ(std::tuple(r.calcStart, r.calcEnd, r.viewStart, r.viewEnd),
              std::tuple(from, to, from, to));
}

TEST_F(ChannelDlgTest, FullScaleFieldsFollowTheRadiosChecksFocusAndOkSetsTheAxis) {
    WhenModal([this](QDialog* d) {
        auto& dlg = *static_cast<CFullScaleDlg*>(d);
        auto* manual = static_cast<QRadioButton*>(dlg.GetDlgItem(CFullScaleDlg::kIdcManual));
        EXPECT_TRUE(dlg.TimerActive());
        EXPECT_EQ(dlg.UpperField()->text(), QStringLiteral("600"));
        EXPECT_EQ(dlg.LowerField()->text(), QStringLiteral("-200"));
        EXPECT_FALSE(dlg.UpperField()->isEnabled()) << "automatic mode";
        manual->click();
        EXPECT_FALSE(dlg.UpperField()->isEnabled()) << "until the next tick";
        dlg.OnTimerTick();
        EXPECT_TRUE(dlg.UpperField()->isEnabled());
        // Which pair fails how is the core's table; here the focus on either field.
        // clang-format off
        struct Case { const char* upper; const char* lower; int message; QLineEdit* focus; } const cases[] = {
            {"0", "100", 57796, dlg.UpperField()}, {"100", "1 0", 57793, dlg.LowerField()},
        };
        // clang-format on
        for (const Case& c : cases) {
            messages.clear();
            dlg.UpperField()->setText(QString::fromUtf8(c.upper));
            dlg.LowerField()->setText(QString::fromUtf8(c.lower));
            dlg.Button(kIdcOk)->click();
            EXPECT_EQ(messages, std::vector<int>{c.message}) << c.upper << " " << c.lower;
            EXPECT_EQ(QApplication::focusWidget(), c.focus) << c.upper << " " << c.lower;
            EXPECT_TRUE(dlg.isVisible());
        }
        dlg.Button(kIdcDefaults)->click();
        EXPECT_TRUE(
            static_cast<QRadioButton*>(dlg.GetDlgItem(CFullScaleDlg::kIdcAuto))->isChecked());
        EXPECT_EQ(dlg.LowerField()->text(), QStringLiteral("-200"));
        EXPECT_FALSE(dlg.LowerField()->isEnabled());
        EXPECT_EQ(store.WriteCount(), 0u) << "nothing stored before OK";
        manual->click();
        dlg.UpperField()->setText(QStringLiteral("100"));
        dlg.LowerField()->setText(QStringLiteral("0"));
        dlg.Button(kIdcOk)->click();
    });
    EXPECT_TRUE(Run(cmd::kFullScale));
    EXPECT_EQ(std::tuple(doc.m_nScaleMode, doc.GetRange()->fullUpper, doc.GetRange()->fullLower),
              std::tuple(1u, 105.0f, -5.0f));
}

} // namespace
} // namespace saroko::test
