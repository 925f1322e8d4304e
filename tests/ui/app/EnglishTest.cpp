// Under English no Japanese is left: every message of the string table, every menu and
// action of the main frame, every dialog it opens, the help pages, and a failed exchange's
// message. Only the data and names the test itself puts in may be Japanese.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "core/channels/ChannelPalette.h"
#include "core/document/MenuTable.h"
#include "core/files/ScriptedFileUi.h"
#include "core/recorder/TranscriptLine.h"
#include "platform/Translations.h"
#include "support/QtApp.h"
#include "support/ShownTexts.h"
#include "support/SimRig.h"
#include "ui/app/Help.h"
#include "ui/app/MainFrame.h"
#include "ui/app/WindowArchive.h"
#include "ui/base/MessageSink.h"
#include "ui/channels/RecCondDlg.h"
#include "ui/document/DocumentPrompts.h"
#include "ui/document/ReadConfirmDlg.h"
#include "ui/document/RecordingsDlg.h"
#include "ui/graph/ZorvicView.h"
#include "ui/printing/PrintDialogs.h"
#include "ui/printing/PrintSetup.h"
#include "ui/recorder/DownloadDlg.h"

namespace saroko {
namespace {

using test::App;
using test::ShownTexts;

// Every modal window that comes up while it lives: its texts are kept under `where`, then it
// is closed (a message box by its escape button).
class ModalWalker {
public:
    ModalWalker() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w)
                return;
            for (const QString& t : ShownTexts(*w))
                seen << where + QStringLiteral(": ") + t;
            if (auto* box = qobject_cast<QMessageBox*>(w))
                seen << where + QStringLiteral(": ") + box->text();
            if (auto* dlg = qobject_cast<QDialog*>(w))
                dlg->reject();
        });
        m_timer.start(5);
    }
    QString where;
    QStringList seen;

private:
    QTimer m_timer;
};

void AddMenu(const QMenu& menu, QStringList& seen) {
    seen << menu.title();
    for (const QAction* a : menu.actions()) {
        seen << a->text() << a->toolTip();
        if (a->menu())
            AddMenu(*a->menu(), seen);
    }
}

TEST(English, NoJapaneseIsLeftButTheTestsOwnData) {
    App();
    ASSERT_TRUE(InstallTranslations(Language::kEnglish));
    QTemporaryDir dir;
    const QString demo = dir.filePath(QStringLiteral("demo.klg"));
    ASSERT_EQ(QProcess::execute(QStringLiteral(SAROKO_CLI), {"demo", "-o", demo}), 0);
    // The demo's channel names are the only Japanese it brings; the first is shown as a name
    // to send too.
    const QStringList data{QStringLiteral("室温"), QStringLiteral("冷蔵庫")};

    ModalWalker walker;
    // Every message as its box shows it.
    for (const MessageDef& def : AllMessages()) {
        walker.where = QString::number(def.id);
        ui::ShowMessage(def.id);
    }

    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    // The record-start dialog proposes the last names sent: "室温" in the recorder's bytes.
    std::memcpy(doc.m_recSettings.chanName1, "\x8E\xBA\x89\xB7", 4);
    ui::SetReadModeHandler([] { return IDocumentPrompts::kReadNew; });
    {
        CMainFrame frame(doc, store);
        test::ScriptedUi dialogs;
        frame.SetFileUi(&dialogs);
        // The archive and the data folder are the test's own.
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("LOCALAPPDATA",
                dir.filePath(QStringLiteral("data")).toUtf8()); // where Windows keeps them
        const CQtCp932Codec codec;
        doc.SetTextCodec(&codec);
        ui::CWindowArchive archive(doc, codec, &frame,
                                   dir.filePath(QStringLiteral("a.sqlite")).toStdString());
        frame.SetArchive(&archive);
        frame.show();
        ASSERT_EQ(frame.OpenFile(demo), kFileOk);
        for (QAction* top : frame.menuBar()->actions())
            AddMenu(*top->menu(), walker.seen);

        // Every command of the menus and keys, each dialog walked and closed; the help
        // window with every English page.
        std::vector<int> ids;
        for (const MenuDef& menu : MenuBar())
            for (const MenuItem& item : menu.items)
                ids.push_back(item.id);
        for (const Accelerator& a : AcceleratorTable())
            ids.push_back(a.id);
#ifdef _WIN32
        // Windows's print dialog is the system's own, in the system's language: no walker
        // closes it.
        ui::CPrintSetup::SetDialogHook([](QPrinter&, int, int) { return false; });
#endif
        for (const int id : ids) {
            if (id == cmd::kExit || id == 0)
                continue;
            walker.where = QStringLiteral("command ") + QString::number(id);
            frame.ExecuteCommand(id);
            QTest::qWait(10);
        }
#ifdef _WIN32
        ui::CPrintSetup::SetDialogHook({});
#endif
        ASSERT_TRUE(ui::HelpWindow());
        for (const QString& page : QDir(QStringLiteral(":/saroko/help/en")).entryList()) {
            ui::HelpWindow()->setSource(QUrl(QStringLiteral("qrc:/saroko/help/en/") + page));
            walker.seen << ui::HelpWindow()->documentTitle() << ShownTexts(*ui::HelpWindow());
        }

        // The dialogs no menu command opens.
        walker.where = QStringLiteral("legend");
        ui::CRecCondDeleteDlg(doc, frame.View()->Palette(), &frame).exec();
        walker.where = QStringLiteral("read confirm");
        ui::CReadConfirmDlg(&frame).exec();
        walker.where = QStringLiteral("progress");
        ui::CPrintProgressDlg(&frame).exec();
        walker.where = QStringLiteral("recordings");
        ui::CRecordingsDlg recordings(archive.Session(), &frame);
        recordings.VerifyAll();
        walker.seen << ShownTexts(recordings);
        std::vector<archive::Recording> all;
        archive.Session().Store().Recordings(all);
        ASSERT_FALSE(all.empty());
        ui::CRecordingHistoryDlg(archive.Session(), all.front(), &frame).exec();
        ui::AskChangeReason({0, "name", "A", "B", true}, &frame);
        doc.SetTextCodec(nullptr);
        doc.m_bDataModified = 0;
    }

    // A failed exchange names its transcript.
    sim::SimOptions silent;
    silent.fault = sim::FaultKind::Silence;
    test::SimRig rig(silent);
    CKeptTranscriptLine kept(rig.line, dir.path().toStdString());
    CommServices services = rig.Services();
    services.line = &kept;
    services.transcript = &kept;
    CChannelPalette palette;
    {
        ui::CDownloadDlg dlg(rig.doc, palette, services);
        dlg.show();
        walker.where = QStringLiteral("failed download");
        static_cast<QAbstractButton*>(dlg.GetDlgItem(ui::CDownloadDlg::kIdcDownload))->click();
        walker.seen << ShownTexts(dlg);
    }
    ui::SetReadModeHandler({});
    InstallTranslations(Language::kJapanese);

    EXPECT_FALSE(walker.seen.filter(QStringLiteral("Transcript of the exchange")).isEmpty())
        << "the failed exchange was seen";
    EXPECT_FALSE(walker.seen.filter(data.front()).isEmpty()) << "the dialogs showed the data";
    EXPECT_EQ(test::JapaneseAmong(walker.seen, data).toStdString(), "");
}

} // namespace
} // namespace saroko
