// The language of the windows: menus, message boxes (Qt's own buttons too) and dialogs follow
// the program's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <map>

#include "app/MainFrame.h"
#include "app/MessageSink.h"
#include "channels/ChannelListDlgs.h"
#include "channels/ScaleDlgs.h"
#include "document/CommandState.h"
#include "document/ReadConfirmDlg.h"
#include "messages/StringTable.h"
#include "platform/Translations.h"
#include "printing/PrintDialogs.h"
#include "recorder/DownloadDlg.h"
#include "recorder/PortSelectDlg.h"
#include "recorder/RecordStartDlg.h"
#include "support/QtApp.h"

namespace saroko {
namespace {

// Opens the real message box of `id` and closes it: its text, then its buttons sorted.
QStringList OpenBox(int id) {
    QStringList shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            for (QAbstractButton* b : box->buttons())
                shown << b->text();
            shown.sort();
            shown.prepend(box->text());
            box->reject();
        }
    });
    ui::SetMessageHandler({});
    ui::ShowMessage(id, {}, nullptr);
    return shown;
}

bool HasJapanese(const QString& s) {
    for (QChar c : s)
        if ((c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) ||
            (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    return false;
}

// What a user sees in `language`, by what it is.
std::map<std::string, QString> SeeProgram(Language language) {
    test::App();
    EXPECT_TRUE(InstallTranslations(language)) << "the translation files are installed";
    std::map<std::string, QString> seen;
    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    {
        CMainFrame frame(doc, store);
        QStringList menus;
        for (QAction* top : frame.menuBar()->actions()) {
            menus << top->text();
            QString letters;
            for (QAction* a : top->menu()->actions()) {
                const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
                if (amp < 0 || amp + 1 >= a->text().size())
                    continue;
                const QChar letter = a->text().at(amp + 1).toLower();
                if (letters.contains(letter))
                    seen["access letter clashes"] += a->text() + QLatin1Char(' ');
                letters += letter;
            }
        }
        seen["menus"] = menus.join(QLatin1Char('|'));
        seen["open"] = frame.MenuAction(cmd::kFileOpen)->text();
    }
    const QStringList quit = OpenBox(msg::kQuitUnsaved);
    seen["quit"] = quit.value(0);
    seen["quit buttons"] = quit.mid(1).join(QLatin1Char('|'));
    seen["overflow buttons"] = OpenBox(msg::kLoadOverflow).mid(1).join(QLatin1Char('|'));

    CChannelPalette palette;
    const CommServices services{};
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.push_back(std::make_unique<ui::CReadConfirmDlg>(nullptr));
    dialogs.push_back(std::make_unique<ui::CDownloadDlg>(doc, palette, services, nullptr));
    dialogs.push_back(std::make_unique<ui::CChannelShowDlg>(doc, palette, nullptr));
    dialogs.push_back(std::make_unique<ui::CChannelOrderDlg>(doc, palette, nullptr));
    dialogs.push_back(std::make_unique<ui::CFullScaleDlg>(doc, palette, nullptr));
    dialogs.push_back(std::make_unique<ui::CRecordStartDlg>(doc, services, nullptr));
    dialogs.push_back(std::make_unique<ui::CPortSelectDlg>(doc, std::vector<SerialPortEntry>{}));
    dialogs.push_back(std::make_unique<ui::CListPrintDlg>(
        QString(), [] { return 1; }, nullptr));
    seen["read confirm"] = dialogs[0]->windowTitle();
    seen["download"] = dialogs[1]->windowTitle();
    for (const auto& dlg : dialogs) {
        // Every text a dialog shows: title, labels, group titles, buttons.
        QStringList texts{dlg->windowTitle()};
        for (const QLabel* l : dlg->findChildren<QLabel*>())
            texts << l->text();
        for (const QGroupBox* g : dlg->findChildren<QGroupBox*>())
            texts << g->title();
        for (const QAbstractButton* b : dlg->findChildren<QAbstractButton*>())
            texts << b->text();
        if (std::any_of(texts.begin(), texts.end(), HasJapanese) !=
            (language == Language::kJapanese))
            seen["dialogs in the other language"] += texts.join(QStringLiteral(" | "));
    }
    InstallTranslations(Language::kJapanese);
    return seen;
}

TEST(LanguageTest, EnglishCoversMenusMessagesAndDialogsAndJapaneseStaysAsWritten) {
    const std::string quitJa(MessageText(msg::kQuitUnsaved));
    // clang-format off
    const struct { Language language; const char* what; std::string want; } cases[] = {
        {Language::kEnglish,  "menus",            "&File|&Edit|&Communication|&Tools|&Graph|&Help"},
        {Language::kEnglish,  "open",             "&Open...\tCtrl+O"},
        {Language::kEnglish,  "quit",             "Confirm exit\n\nThe data has not been saved.\nExit the application anyway?"},
        {Language::kEnglish,  "quit buttons",     "&No|&Yes"},
        {Language::kEnglish,  "overflow buttons", "Cancel|OK"},
        {Language::kEnglish,  "read confirm",     "Confirm loading"},
        {Language::kEnglish,  "download",         "Download recording"},
        {Language::kEnglish,  "access letter clashes",         ""},
        {Language::kEnglish,  "dialogs in the other language", ""},
        {Language::kJapanese, "menus",            "ﾌｧｲﾙ(&F)|編集(&E)|通信(&C)|ﾂｰﾙ(&T)|ｸﾞﾗﾌ操作(&G)|ﾍﾙﾌﾟ(&H)"},
        {Language::kJapanese, "open",             "開く(&O)...\tCtrl+O"},
        {Language::kJapanese, "quit",             quitJa},
        {Language::kJapanese, "quit buttons",     "いいえ(&N)|はい(&Y)"},
        {Language::kJapanese, "overflow buttons", "OK|キャンセル"},
        {Language::kJapanese, "read confirm",     "読込確認"},
        {Language::kJapanese, "access letter clashes",         ""},
        {Language::kJapanese, "dialogs in the other language", ""},
    };
    // clang-format on
    const std::map<std::string, QString> english = SeeProgram(Language::kEnglish);
    const std::map<std::string, QString> japanese = SeeProgram(Language::kJapanese);
    for (const auto& c : cases) {
        const auto& seen = c.language == Language::kEnglish ? english : japanese;
        EXPECT_EQ(seen.count(c.what) ? seen.at(c.what).toStdString() : "", c.want) << c.what;
    }
}

} // namespace
} // namespace saroko
