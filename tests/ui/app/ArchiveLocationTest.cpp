// ﾂｰﾙ → 記録保管庫の場所: a connection string is taken, tried by the button, and refused with
// a password in it or when it is no connection string at all; the help button reaches its page.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <QFile>

#include "core/messages/HelpTopics.h"
#include "support/QtApp.h"
#include "ui/app/ArchiveLocationDlg.h"
#include "ui/base/HelpRequest.h"

namespace saroko {
namespace {

using ui::CArchiveLocationDlg;

QPushButton* ButtonOf(QDialog& d, const QString& text) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

TEST(ArchiveLocationDlg, TakesTriesAndRefusesAsItShould) {
    test::App();
    std::vector<std::string> tried;
    CArchiveLocationDlg dlg(
        "",
        [&](const std::string& l) {
            tried.push_back(l);
            return l.find("down") == std::string::npos ? std::string() : "db: no connection";
        },
        nullptr);
    auto* test = qobject_cast<QPushButton*>(dlg.GetDlgItem(CArchiveLocationDlg::kIdcTest));
    ASSERT_TRUE(test);
    const struct {
        const char* text;
        const char* result; // what the result line says after the test button
        bool tried;
    } rows[] = {
        {"host=db dbname=saroko", "接続できました。", true},
        {" postgresql://down/saroko ", "接続できません。\ndb: no connection", true},
        {"postgresql://u:pw@db/saroko", "パスワードは接続文字列に書けません。", false},
        {"host=db password=pw", "パスワードは接続文字列に書けません。", false},
        {"/srv/archive.sqlite", "接続文字列ではありません。", false},
    };
    for (const auto& row : rows) {
        tried.clear();
        dlg.Field()->setText(QString::fromUtf8(row.text));
        test->click();
        EXPECT_TRUE(dlg.Result()->text().startsWith(QString::fromUtf8(row.result)))
            << row.text << ": " << dlg.Result()->text().toStdString();
        EXPECT_EQ(tried.size(), row.tried ? 1u : 0u) << row.text;
    }
    // OK keeps the dialog open on a refused text, and takes a connection string or nothing.
    for (const auto& [text, accepted] :
         std::initializer_list<std::pair<const char*, bool>>{{"postgresql://u:pw@db/s", false},
                                                             {"archive.sqlite", false},
                                                             {" host=db dbname=s ", true},
                                                             {"", true}}) {
        dlg.Field()->setText(QString::fromUtf8(text));
        dlg.setResult(QDialog::Rejected);
        ButtonOf(dlg, QStringLiteral("OK"))->click();
        EXPECT_EQ(dlg.result() == QDialog::Accepted, accepted) << text;
        if (accepted) {
            EXPECT_EQ(dlg.Location(), QString::fromUtf8(text).trimmed().toStdString());
        }
    }
    std::vector<int> asked;
    ui::SetHelpHandler([&](int topic) { asked.push_back(topic); });
    ButtonOf(dlg, QStringLiteral("ﾍﾙﾌﾟ"))->click();
    ui::SetHelpHandler({});
    ASSERT_EQ(asked.size(), 1u);
    for (const auto& [language, page] :
         {std::pair{HelpLanguage::kJapanese, "ja/archive-location.html"},
          std::pair{HelpLanguage::kEnglish, "en/archive-location.html"}}) {
        EXPECT_EQ(HelpPagePath(asked[0], language), page);
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/saroko/help/") + QString::fromUtf8(page)));
    }
}

} // namespace
} // namespace saroko
