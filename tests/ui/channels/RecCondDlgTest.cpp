// The recording-conditions dialogs through their fields and buttons: the checks' messages and
// focus, the generic integer box, the start shift after OK and the deletions of the legend's
// variant.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "channels/ChannelCommands.h"
#include "channels/RecCondDlg.h"
#include "document/CommandState.h"
#include "ui/channels/ChannelUiTest.h"

namespace saroko::test {
namespace {

using ui::CRecCondDeleteDlg;
using ui::CRecCondDlg;

class RecCondDlgTest : public ChannelUiTest {
protected:
    static void Type(CRecCondDlg& dlg, const QString& name, std::array<const char*, 6> date) {
        dlg.Field(kRcName)->setText(name);
        for (int i = 0; i < 6; ++i)
            dlg.Field(kRcYear + i)->setText(QString::fromUtf8(date[static_cast<std::size_t>(i)]));
    }
};

TEST_F(RecCondDlgTest, ChecksShowTheirMessageAndFocusTheField) {
    // clang-format off
    struct Case {
        const char* what;
        QString name;
        std::array<const char*, 6> date;
        int message;
        int focus;
    } const cases[] = {
        {"nine bytes", QStringLiteral("ABCDEFGHI"), {"2008", "3", "5", "10", "0", "0"}, 57712, kRcName},
        {"five full-width", QStringLiteral("ＡＢＣＤＥ"), {"2008", "3", "5", "10", "0", "0"}, 57712, kRcName},
        {"four full-width", QStringLiteral("ＡＢＣＤ"), {"2008", "3", "5", "10", "0", "0"}, 0, kRcName},
        {"2001-02-29", QStringLiteral("A"), {"2001", "2", "29", "0", "0", "0"}, 57721, kRcDay},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        CRecCondDlg dlg(doc, view->Palette(), nullptr);
        Show(dlg);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("記録条件の編集"));
        dlg.ChannelButton(1)->click();
        EXPECT_EQ(dlg.Field(kRcName)->text(), QStringLiteral("OVEN"));
        EXPECT_EQ(dlg.Field(kRcYear)->text(), QStringLiteral("2008"));
        EXPECT_EQ(dlg.SelectedLabel()->text(), QStringLiteral("1"));
        Type(dlg, c.name, c.date);
        dlg.ChannelButton(2)->click();
        EXPECT_EQ(shown, c.message ? std::vector<int>{c.message} : std::vector<int>{});
        EXPECT_EQ(QApplication::focusWidget(), dlg.Field(c.focus));
        EXPECT_EQ(dlg.SelectedLabel()->text(), QString::number(c.message ? 1 : 2));
        if (c.message != 0) {
            EXPECT_EQ(dlg.Field(kRcName)->text(), QStringLiteral("OVEN")) << "reloaded";
        }
    }
}

TEST_F(RecCondDlgTest, LettersInADateFieldGiveTheIntegerBoxAndFocusTheName) {
    CRecCondDlg dlg(doc, view->Palette(), nullptr);
    Show(dlg);
    dlg.ChannelButton(1)->click();
    dlg.Field(kRcMinute)->setText(QStringLiteral("ab"));
    QString boxText;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            box->accept();
        }
    });
    dlg.ChannelButton(2)->click();
    EXPECT_EQ(boxText, QString::fromUtf8(kEnterIntegerText));
    EXPECT_TRUE(shown.empty()) << "not a message of the program's table";
    EXPECT_EQ(dlg.Work().Selected(), 1);
    EXPECT_EQ(dlg.Field(kRcMinute)->text(), QStringLiteral("0"));
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_EQ(QApplication::focusWidget(), dlg.Field(kRcName));
}

TEST_F(RecCondDlgTest, OkShiftsTheStartAndRenamesThroughTheCommand) {
    const uint32_t start = doc.GetChannel(2)->startTime;
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CRecCondDlg*>(d);
        dlg->ChannelButton(2)->click();
        dlg->Field(kRcName)->setText(QStringLiteral("ﾀﾞｸﾄ"));
        dlg->Field(kRcHour)->setText(QStringLiteral("11"));
        dlg->Button(ui::kIdcOk)->click();
    });
    EXPECT_TRUE(ui::RunChannelCommand(cmd::kEditConditions, *view, nullptr));
    EXPECT_EQ(doc.GetChannel(2)->startTime, start + 3600);
    EXPECT_EQ(std::string(doc.GetChannel(2)->name), "\xC0\xDE\xB8\xC4") << "CP932 bytes";
    EXPECT_EQ(std::string(doc.GetChannel(3)->name), "        ");
    EXPECT_EQ(doc.m_bDataModified, 1u);
    EXPECT_EQ(doc.GetRange()->calcEnd, doc.GetRange()->dataEnd);
}

TEST_F(RecCondDlgTest, LegendVariantDeletesTheChannelsLeftInDeleteMode) {
    WhenModal([](QDialog* d) {
        auto* dlg = static_cast<CRecCondDeleteDlg*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("記録条件の編集 ／ データ削除"));
        auto* editMode = static_cast<QRadioButton*>(dlg->GetDlgItem(CRecCondDlg::kIdcEdit));
        EXPECT_TRUE(editMode->isChecked());
        dlg->ChannelButton(2)->click();
        static_cast<QRadioButton*>(dlg->GetDlgItem(CRecCondDlg::kIdcDelete))->click();
        dlg->ChannelButton(4)->click();
        EXPECT_TRUE(dlg->Work().Deleted(2));
        EXPECT_EQ(dlg->SelectedLabel()->text(), QStringLiteral("4"));
        dlg->Button(ui::kIdcOk)->click(); // "削除" still chosen: Ch.4 goes too
    });
    ui::EditConditionsFromLegend(*view, nullptr);
    EXPECT_EQ(doc.GetChannel(2)->present, 0u);
    EXPECT_EQ(doc.GetChannel(4)->present, 0u);
    EXPECT_EQ(doc.GetChannel(1)->present, 1u);
}

TEST_F(RecCondDlgTest, UndoClearsTheFieldsAndTheMarks) {
    CRecCondDeleteDlg dlg(doc, view->Palette(), nullptr);
    Show(dlg);
    dlg.ChannelButton(1)->click();
    static_cast<QRadioButton*>(dlg.GetDlgItem(CRecCondDlg::kIdcDelete))->click();
    dlg.ChannelButton(2)->click();
    ASSERT_TRUE(dlg.Work().Deleted(1));
    dlg.Button(ui::kIdcUndo)->click();
    EXPECT_FALSE(dlg.Work().Deleted(1));
    EXPECT_EQ(dlg.Field(kRcName)->text(), QString());
    EXPECT_EQ(dlg.Field(kRcYear)->text(), QStringLiteral("0"));
    EXPECT_EQ(dlg.SelectedLabel()->text(), QStringLiteral(" "));
}

} // namespace
} // namespace saroko::test
