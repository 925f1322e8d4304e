// The language of the windows: menus, message boxes (Qt's own buttons too) and dialog titles
// follow the program's language; each dialog's texts are checked where the frame opens it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <map>

#include "app/MainFrame.h"
#include "app/MessageSink.h"
#include "channels/ChannelPalette.h"
#include "document/CommandState.h"
#include "document/ReadConfirmDlg.h"
#include "messages/StringTable.h"
#include "platform/Translations.h"
#include "recorder/DownloadDlg.h"
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
    seen["read confirm"] = ui::CReadConfirmDlg().windowTitle();
    seen["download"] = ui::CDownloadDlg(doc, palette, services, nullptr).windowTitle();
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
        {Language::kJapanese, "menus",            "ﾌｧｲﾙ(&F)|編集(&E)|通信(&C)|ﾂｰﾙ(&T)|ｸﾞﾗﾌ操作(&G)|ﾍﾙﾌﾟ(&H)"},
        {Language::kJapanese, "open",             "開く(&O)...\tCtrl+O"},
        {Language::kJapanese, "quit",             quitJa},
        {Language::kJapanese, "quit buttons",     "いいえ(&N)|はい(&Y)"},
        {Language::kJapanese, "overflow buttons", "OK|キャンセル"},
        {Language::kJapanese, "read confirm",     "読込確認"},
        {Language::kJapanese, "access letter clashes",         ""},
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
