// The language of the windows: Qt's own texts follow the program's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/MessageSink.h"
#include "messages/StringTable.h"
#include "platform/Translations.h"
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
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_TRUE(InstallTranslations(c.language)) << "the translation files are installed";
        const Shown shown = OpenBox(c.id);
        EXPECT_EQ(shown.buttons, c.buttons) << c.id;
    }
    InstallTranslations(Language::kJapanese);
}

} // namespace
} // namespace saroko
