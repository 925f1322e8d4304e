// ﾂｰﾙ → 署名鍵 and ﾌｧｲﾙ → ﾚﾎﾟｰﾄに署名, in both languages: a key made and retired from the
// window, a report refused with a wrong passphrase and signed with the right one, each help
// page reached. Pictures go to SAROKO_PICTURE_DIR when it is set.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include "core/archive/MemoryArchiveStore.h"
#include "core/messages/HelpTopics.h"
#include "core/printing/PdfAppend.h"
#include "platform/ArchiveSetup.h"
#include "platform/Translations.h"
#include "support/QtApp.h"
#include "ui/app/SigningDlgs.h"
#include "ui/base/HelpRequest.h"

namespace saroko {
namespace {

void Picture(QWidget& w, const QString& name) {
    const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
    QCoreApplication::processEvents(); // the layout as the user sees it
    if (!dir.isEmpty())
        w.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name +
                      QStringLiteral(".png"));
}

// Every mnemonic a label shows leads to its field (a label without one shows the "&").
void ExpectBuddies(QDialog& d) {
    for (QLabel* l : d.findChildren<QLabel*>())
        EXPECT_TRUE(!l->text().contains(QLatin1Char('&')) || l->buddy()) << l->text().toStdString();
}

QPushButton* Button(QDialog& d, const QString& text) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

TEST(SigningDlgs, AKeyIsMadeAndARefusedSignatureIsGivenWithTheRightPassphrase) {
    test::App();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    std::vector<std::string> help;
    bool english = false;
    ui::SetHelpHandler([&](int topic) {
        help.push_back(
            HelpPagePath(topic, english ? HelpLanguage::kEnglish : HelpLanguage::kJapanese));
        EXPECT_TRUE(
            QFile::exists(QStringLiteral(":/saroko/help/") + QString::fromStdString(help.back())));
    });
    for (const bool en : {false, true}) {
        english = en;
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        archive::CMemoryArchiveStore mem;
        archive::SessionContext context{"hanako", "qa-pc", "1.22",
                                        [] { return int64_t{1796630400}; },
                                        [](int64_t) { return 540; }};
        archive::CArchiveSession session(&mem, &Sha256, context);
        const QString report = home.filePath(english ? "r-en.pdf" : "r-ja.pdf");
        {
            QPdfWriter pdf(report);
            QPainter p(&pdf);
            p.drawText(100, 100, QStringLiteral("report"));
        }
        const std::string bytes = *ReadWholeFile(report.toStdString());
        archive::Recording r;
        r.sha256 = archive::Sha256Hex(&Sha256, "samples");
        r.path = "/data/a.klg";
        session.Record(archive::EventKind::Created, r, "imported");
        session.RecordAbout(
            archive::EventKind::Reported, r.sha256, {}, {},
            archive::FileText(report.toStdString(), archive::Sha256Hex(&Sha256, bytes)));

        ui::CSigningKeysDlg keys(session, nullptr);
        keys.show();
        const QString name =
            english ? QStringLiteral("Hanako Sato, QA") : QStringLiteral("佐藤 花子 (品質保証)");
        qobject_cast<QLineEdit*>(keys.GetDlgItem(keys.kIdcName))->setText(name);
        qobject_cast<QLineEdit*>(keys.GetDlgItem(keys.kIdcPass))
            ->setText(QStringLiteral("secret words"));
        qobject_cast<QLineEdit*>(keys.GetDlgItem(keys.kIdcPassAgain))
            ->setText(QStringLiteral("secret word"));
        qobject_cast<QPushButton*>(keys.GetDlgItem(keys.kIdcCreate))->click();
        EXPECT_EQ(keys.List()->topLevelItemCount(), 0) << "the passphrases differ";
        qobject_cast<QLineEdit*>(keys.GetDlgItem(keys.kIdcPass))
            ->setText(QStringLiteral("secret words"));
        qobject_cast<QLineEdit*>(keys.GetDlgItem(keys.kIdcPassAgain))
            ->setText(QStringLiteral("secret words"));
        qobject_cast<QPushButton*>(keys.GetDlgItem(keys.kIdcCreate))->click();
        ASSERT_EQ(keys.List()->topLevelItemCount(), 1) << keys.Result()->text().toStdString();
        EXPECT_EQ(keys.List()->topLevelItem(0)->text(1), name);
        Picture(keys, english ? "signing-keys-en" : "signing-keys-ja");
        ExpectBuddies(keys);

        ui::CSignReportDlg sign(session, report, nullptr);
        sign.show();
        qobject_cast<QComboBox*>(sign.GetDlgItem(sign.kIdcMeaning))->setCurrentIndex(1);
        qobject_cast<QComboBox*>(sign.GetDlgItem(sign.kIdcName))->setCurrentText(name);
        auto* pass = qobject_cast<QLineEdit*>(sign.GetDlgItem(sign.kIdcPass));
        pass->setText(QStringLiteral("wrong words"));
        QPushButton* ok = Button(sign, english ? QStringLiteral("Sign") : QStringLiteral("署名"));
        ASSERT_TRUE(ok);
        ok->click();
        EXPECT_EQ(sign.Result()->text(), english ? QStringLiteral("The passphrase is wrong.")
                                                 : QStringLiteral("ﾊﾟｽﾌﾚｰｽﾞが違います。"));
        EXPECT_TRUE(pass->text().isEmpty()) << "a passphrase is never kept";
        pass->setText(QStringLiteral("secret words"));
        Picture(sign, english ? "sign-report-en" : "sign-report-ja");
        ExpectBuddies(sign);
        QApplication::setActiveWindow(&sign);
        QTest::keyClick(&sign, Qt::Key_F1);
        ok->click();
        EXPECT_EQ(sign.result(), QDialog::Accepted) << sign.Result()->text().toStdString();
        const auto copy = ReadWholeFile(sign.SignedCopy().toStdString());
        ASSERT_TRUE(copy);
        EXPECT_EQ(PdfPageCount(*copy), 2);
        EXPECT_NE(mem.events.back().newValue.find("\nmeaning=approved\n"), std::string::npos);

        keys.List()->setCurrentItem(keys.List()->topLevelItem(0));
        qobject_cast<QPushButton*>(keys.GetDlgItem(keys.kIdcRetire))->click();
        EXPECT_EQ(keys.List()->topLevelItem(0)->text(4),
                  english ? QStringLiteral("Retired") : QStringLiteral("廃止"));
        QApplication::setActiveWindow(&keys);
        QTest::keyClick(&keys, Qt::Key_F1);
    }
    EXPECT_EQ(help, (std::vector<std::string>{"ja/sign-report.html", "ja/signing-keys.html",
                                              "en/sign-report.html", "en/signing-keys.html"}));
    ui::SetHelpHandler({});
    InstallTranslations(Language::kJapanese);
}

} // namespace
} // namespace saroko
