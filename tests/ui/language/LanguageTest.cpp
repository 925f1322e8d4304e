// The language of the windows: Qt's own texts follow the program's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/MainFrame.h"
#include "app/MessageSink.h"
#include "document/CommandState.h"
#include "document/ZorvicDoc.h"
#include "messages/StringTable.h"
#include "platform/Translations.h"
#include "settings/SettingsStore.h"
#include "support/QtApp.h"

namespace saroko {
namespace {

using test::App;

struct Shown {
    QString text;
    QStringList buttons;
};

// Opens the real message box of `id`, reads it and closes it.
Shown OpenBox(int id) {
    Shown shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown.text = box->text();
            for (QAbstractButton* b : box->buttons())
                shown.buttons << b->text();
            shown.buttons.sort();
            box->reject();
        }
    });
    ui::SetMessageHandler({});
    ui::ShowMessage(id, {}, nullptr);
    return shown;
}

TEST(LanguageTest, MessageBoxButtonsSpeakTheProgramsLanguage) {
    App();
    // clang-format off
    const struct { Language language; int id; QStringList buttons; } cases[] = {
        {Language::kJapanese, msg::kQuitUnsaved,   {"いいえ(&N)", "はい(&Y)"}},
        {Language::kJapanese, msg::kLoadOverflow,  {"OK", "キャンセル"}},
        {Language::kEnglish,  msg::kQuitUnsaved,   {"&No", "&Yes"}},
        {Language::kEnglish,  msg::kLoadOverflow,  {"Cancel", "OK"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_TRUE(InstallTranslations(c.language)) << "the translation files are installed";
        const Shown shown = OpenBox(c.id);
        EXPECT_EQ(shown.buttons, c.buttons) << c.id;
    }
    InstallTranslations(Language::kJapanese);
}

// The window as a user sees it: menu titles, a command, a message's text.
struct Seen {
    QStringList menus;
    QString open;
    QString quitText;
};

Seen SeeProgram(Language language) {
    App();
    InstallTranslations(language);
    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    Seen seen;
    {
        CMainFrame frame(doc, store);
        for (QAction* a : frame.menuBar()->actions())
            seen.menus << a->text();
        seen.open = frame.MenuAction(cmd::kFileOpen)->text();
    }
    seen.quitText = OpenBox(msg::kQuitUnsaved).text;
    InstallTranslations(Language::kJapanese);
    return seen;
}

TEST(LanguageTest, EnglishCoversMenusAndMessagesAndJapaneseStaysAsWritten) {
    const Seen en = SeeProgram(Language::kEnglish);
    EXPECT_EQ(en.menus, QStringList({"&File", "&Edit", "&Communication", "&Tools", "&Graph",
                                     "&Help"}));
    EXPECT_EQ(en.open, QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_EQ(en.quitText,
              QStringLiteral("Confirm exit\n\nThe data has not been saved.\nExit the application anyway?"));
    const Seen ja = SeeProgram(Language::kJapanese);
    EXPECT_EQ(ja.menus, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "通信(&C)", "ﾂｰﾙ(&T)", "ｸﾞﾗﾌ操作(&G)",
                                     "ﾍﾙﾌﾟ(&H)"}));
    EXPECT_EQ(ja.open, QStringLiteral("開く(&O)...\tCtrl+O"));
    EXPECT_EQ(ja.quitText, QString::fromUtf8(MessageText(msg::kQuitUnsaved)));
}

} // namespace
} // namespace saroko
