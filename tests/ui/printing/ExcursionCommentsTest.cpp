// The report's comment step and the history window's audit-trail files, against the in-memory
// archive; pictures of the comment step in each language when SAROKO_PICTURE_DIR names a folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>

#include "core/archive/MemoryArchiveStore.h"
#include "platform/Translations.h"
#include "support/FakeHash.h"
#include "support/QtApp.h"
#include "ui/base/DialogBase.h"
#include "ui/document/RecordingsDlg.h"
#include "ui/printing/ExcursionCommentsDlg.h"
#include <gtest/gtest.h>

namespace saroko::test {
namespace {

using namespace saroko::archive;
using ui::CExcursionCommentsDlg;

constexpr uint32_t kT = 1796630400;

class ExcursionCommentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        a.sha256 = Sha256Hex(&FakeHash, "a");
        a.path = "/data/fridge.klg";
        a.source = "file";
        session.Record(EventKind::Created, a, "imported");
        ASSERT_TRUE(session.Flush());
        a.id = 1;
        // Ch.1 of the archived recording, Ch.2 of a file the archive does not hold.
        excursions = {{1, 1, {Excursion::kHigh, kT, kT + 600, 660}, a.sha256},
                      {2, 1, {Excursion::kLow, kT + 3600, kT + 3660, 120}, a.sha256},
                      {3, 2, {Excursion::kHigh, kT, kT + 60, 120}, ""}};
    }
    void TearDown() override { ui::SetDialogRunner({}); }

    CMemoryArchiveStore mem;
    CArchiveSession session{
        &mem,
        &FakeHash,
        {"sato", "pc1", "1.22", [] { return kT + 7200; }, [](int64_t) { return 540; }}};
    Recording a;
    std::vector<NumberedExcursion> excursions;
};

TEST_F(ExcursionCommentsTest, EachTypedCommentIsAnEventAndCancelMakesNoReport) {
    RecordComment(session, excursions[0], "door closed");
    ASSERT_TRUE(session.Flush());
    std::vector<ExcursionComment> comments;
    // Cancel: no report, nothing recorded.
    ui::SetDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(ui::AskExcursionComments(session, excursions, comments, nullptr));
    EXPECT_EQ(mem.events.size(), 2u);
    ui::SetDialogRunner([](QDialog& d) {
        auto& dlg = static_cast<CExcursionCommentsDlg&>(d);
        QTableWidget& t = *dlg.Table();
        EXPECT_EQ(t.item(0, CExcursionCommentsDlg::kEarlier)->text(), "door closed");
        EXPECT_TRUE(t.item(2, CExcursionCommentsDlg::kNew)->text().startsWith("("));
        EXPECT_FALSE(t.item(2, CExcursionCommentsDlg::kNew)->flags() & Qt::ItemIsEditable);
        t.item(0, CExcursionCommentsDlg::kNew)->setText("  product moved ");
        t.item(1, CExcursionCommentsDlg::kNew)->setText("   ");
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(ui::AskExcursionComments(session, excursions, comments, nullptr));
    ASSERT_EQ(mem.events.size(), 3u);
    EXPECT_EQ(mem.events.back().kind, EventKind::Commented);
    EXPECT_EQ(mem.events.back().newValue, "product moved");
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_EQ(std::tuple(comments[1].excursion, comments[1].text), std::tuple(1, "product moved"));
    const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
    for (const bool english : {false, true}) {
        if (dir.isEmpty())
            break;
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        CExcursionCommentsDlg dlg(excursions, StoredComments(session, excursions));
        dlg.Table()->item(1, CExcursionCommentsDlg::kNew)->setText("扉を閉めた");
        dlg.show();
        QApplication::processEvents();
        dlg.grab().save(QString::fromLocal8Bit(dir) +
                        (english ? "/excursion-comments-en.png" : "/excursion-comments-ja.png"));
    }
    InstallTranslations(Language::kJapanese);
}

TEST_F(ExcursionCommentsTest, TheHistoryWindowWritesTheRecordingsTrail) {
    RecordComment(session, excursions[0], "a, \"b\"");
    ASSERT_TRUE(session.Flush());
    const QString csv = QDir::temp().filePath(
        QStringLiteral("saroko-trail-%1.csv").arg(QCoreApplication::applicationPid()));
    QString proposed;
    ui::SetAuditPathHook([&](const QString& p) { return (proposed = p).isEmpty() ? p : csv; });
    ui::CRecordingHistoryDlg dlg(session, a);
    EXPECT_FALSE(dlg.PdfButton()->isEnabled()); // no page writer installed
    dlg.CsvButton()->click();
    EXPECT_TRUE(proposed.endsWith("fridge-audit.csv")) << proposed.toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), AuditCsv(mem.events));
    file.remove();
    ui::SetAuditPathHook({});
}

} // namespace
} // namespace saroko::test
