// The language of the windows: Qt's own texts follow the program's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/MainFrame.h"
#include "app/MessageSink.h"
#include "channels/ChannelListDlgs.h"
#include "channels/ScaleDlgs.h"
#include "document/CommandState.h"
#include "document/ReadConfirmDlg.h"
#include "document/ZorvicDoc.h"
#include "messages/StringTable.h"
#include "platform/Translations.h"
#include "printing/PrintDialogs.h"
#include "recorder/DownloadDlg.h"
#include "recorder/PortSelectDlg.h"
#include "recorder/RecordStartDlg.h"
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
    std::string menus; // the titles, "|" between them
    std::string open;
    std::string quitText;
    std::string clashes; // commands whose access letter another of their menu has too
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
        QStringList menus;
        for (QAction* a : frame.menuBar()->actions())
            menus << a->text();
        seen.menus = menus.join('|').toStdString();
        for (QAction* top : frame.menuBar()->actions()) {
            QString letters;
            for (QAction* a : top->menu()->actions()) {
                const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
                if (amp < 0 || amp + 1 >= a->text().size())
                    continue;
                const QChar letter = a->text().at(amp + 1).toLower();
                if (letters.contains(letter))
                    seen.clashes += a->text().toStdString() + " ";
                letters += letter;
            }
        }
        seen.open = frame.MenuAction(cmd::kFileOpen)->text().toStdString();
    }
    seen.quitText = OpenBox(msg::kQuitUnsaved).text.toStdString();
    InstallTranslations(Language::kJapanese);
    return seen;
}

TEST(LanguageTest, EnglishCoversMenusAndMessagesAndJapaneseStaysAsWritten) {
    const Seen en = SeeProgram(Language::kEnglish);
    EXPECT_EQ(en.menus, "&File|&Edit|&Communication|&Tools|&Graph|&Help");
    EXPECT_EQ(en.open, "&Open...\tCtrl+O");
    EXPECT_EQ(en.clashes, "");
    EXPECT_EQ(en.quitText,
              "Confirm exit\n\nThe data has not been saved.\nExit the application anyway?");
    const Seen ja = SeeProgram(Language::kJapanese);
    EXPECT_EQ(ja.menus, "ﾌｧｲﾙ(&F)|編集(&E)|通信(&C)|ﾂｰﾙ(&T)|ｸﾞﾗﾌ操作(&G)|ﾍﾙﾌﾟ(&H)");
    EXPECT_EQ(ja.open, "開く(&O)...\tCtrl+O");
    EXPECT_EQ(ja.clashes, "");
    EXPECT_EQ(ja.quitText, std::string(MessageText(msg::kQuitUnsaved)));
}

} // namespace
} // namespace saroko

namespace saroko {
namespace {

// Every text a dialog shows: title, labels, group titles, buttons.
QStringList TextsOf(const QWidget& w) {
    QStringList texts{w.windowTitle()};
    for (const QLabel* l : w.findChildren<QLabel*>())
        texts << l->text();
    for (const QGroupBox* g : w.findChildren<QGroupBox*>())
        texts << g->title();
    for (const QAbstractButton* b : w.findChildren<QAbstractButton*>())
        texts << b->text();
    return texts;
}

bool HasJapanese(const QString& s) {
    for (QChar c : s)
        if ((c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) ||
            (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    return false;
}

TEST(LanguageTest, EnglishDialogsShowNoJapaneseText) {
    App();
    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    CChannelPalette palette;
    const CommServices services{};
    for (Language language : {Language::kEnglish, Language::kJapanese}) {
        InstallTranslations(language);
        std::vector<std::unique_ptr<QWidget>> dialogs;
        dialogs.push_back(std::make_unique<ui::CReadConfirmDlg>(nullptr));
        dialogs.push_back(std::make_unique<ui::CChannelShowDlg>(doc, palette, nullptr));
        dialogs.push_back(std::make_unique<ui::CChannelOrderDlg>(doc, palette, nullptr));
        dialogs.push_back(std::make_unique<ui::CFullScaleDlg>(doc, palette, nullptr));
        dialogs.push_back(std::make_unique<ui::CDownloadDlg>(doc, palette, services, nullptr));
        dialogs.push_back(std::make_unique<ui::CRecordStartDlg>(doc, services, nullptr));
        dialogs.push_back(
            std::make_unique<ui::CPortSelectDlg>(doc, std::vector<SerialPortEntry>{}));
        dialogs.push_back(std::make_unique<ui::CListPrintDlg>(
            QString(), [] { return 1; }, nullptr));
        for (const auto& dlg : dialogs) {
            const QStringList texts = TextsOf(*dlg);
            const bool japanese = std::any_of(texts.begin(), texts.end(), HasJapanese);
            EXPECT_EQ(japanese, language == Language::kJapanese) << texts.join(" | ").toStdString();
        }
        if (language == Language::kEnglish) {
            EXPECT_EQ(dialogs[0]->windowTitle(), QStringLiteral("Confirm loading"));
            EXPECT_EQ(dialogs[4]->windowTitle(), QStringLiteral("Download recording"));
        }
    }
    InstallTranslations(Language::kJapanese);
}

} // namespace
} // namespace saroko
