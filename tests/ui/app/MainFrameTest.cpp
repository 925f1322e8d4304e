// The real main frame on the offscreen platform, with the message boxes and file dialogs
// answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app/MainFrame.h"
#include "app/MessageSink.h"
#include "core/files/ScriptedFileUi.h"
#include "document/CommandState.h"
#include "document/ReadConfirmDlg.h"
#include "graph/ZorvicView.h"
#include "settings/WindowPlacement.h"
#include "support/QtApp.h"

namespace saroko {
namespace {

namespace fs = std::filesystem;

using test::App;

using ScriptedDialogs = test::ScriptedUi;

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(dir.isValid());
        ui::SetMessageHandler([this](int id, const QString& extra) {
            shown.push_back(id);
            extras.push_back(extra);
            return answer ? answer : kIdOk;
        });
        ui::SetReadModeHandler([this] { return readMode; });
        doc.OnNewDocument();
        frame = std::make_unique<CMainFrame>(doc, store);
        frame->SetFileUi(&dialogs);
        frame->PlaceWindow(1920, 1080);
        frame->show();
        QTest::qWait(20);
        demo = Path("demo.klg");
        ASSERT_EQ(QProcess::execute(
                      QStringLiteral(SAROKO_CLI),
                      {QStringLiteral("demo"), QStringLiteral("-o"), QString::fromStdString(demo)}),
                  0);
    }
    void TearDown() override {
        doc.m_bDataModified = 0;
        frame.reset();
        ui::SetMessageHandler({});
        ui::SetReadModeHandler({});
    }
    std::string Path(const std::string& name) const {
        return (dir.path() + QLatin1Char('/') + QString::fromStdString(name)).toStdString();
    }
    void Load(const std::string& path) {
        ASSERT_EQ(frame->OpenFile(QString::fromStdString(path)), kFileOk);
    }

    QTemporaryDir dir;
    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc{store, clock};
    ScriptedDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
    std::vector<int> shown;
    QStringList extras;
    int answer = 0;
    int readMode = IDocumentPrompts::kReadNew;
    std::string demo;
};

TEST_F(MainFrameTest, UpdateUiFollowsTheDocumentAndTheZoom) {
    // Which command is greyed when is the core's table; here the menu follows it.
    const auto enabled = [&](std::initializer_list<int> ids) {
        frame->UpdateCommandUi();
        std::vector<bool> on;
        for (int id : ids)
            on.push_back(frame->MenuAction(id)->isEnabled());
        return on;
    };
    const auto ids = {cmd::kFileSave, cmd::kCursorB, cmd::kZoomOut, cmd::kFileOpen, cmd::kDownload};
    EXPECT_EQ(enabled(ids), (std::vector<bool>{false, false, false, true, true}));
    EXPECT_TRUE(frame->MenuAction(cmd::kCursorA)->isChecked());
    EXPECT_FALSE(frame->ExecuteCommand(cmd::kZoomIn));

    Load(demo);
    EXPECT_EQ(enabled(ids), (std::vector<bool>{true, true, false, true, true}));
    QTest::qWait(20);

    // Ctrl+Up zooms in; Ctrl+Down is then possible and brings the whole range back.
    QTest::keyClick(frame.get(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_NE(doc.GetRange()->viewStart, doc.GetRange()->dataStart);
    EXPECT_EQ(enabled({cmd::kZoomOut}), std::vector<bool>{true});
    for (int i = 0; i < 10 && frame->QueryCommand(cmd::kZoomOut).enabled; ++i)
        QTest::keyClick(frame.get(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(enabled({cmd::kZoomOut}), std::vector<bool>{false});

    // Ctrl+A toggles the selection and stores it; keys without a handler do nothing.
    QTest::keyClick(frame.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    EXPECT_EQ(store.GetInt("CursorAB Section", "CursorASelect", -1), 0);
    QTest::keyClick(frame.get(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(frame.get(), Qt::Key_F6);
    EXPECT_TRUE(shown.empty());
}

TEST_F(MainFrameTest, OpenProcedureAndMessages) {
    const std::string lower = Path("data.klg");
    fs::copy_file(demo, lower);
    dialogs.answers = {lower};
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kFileOpen));
    EXPECT_EQ(doc.m_szPathName, lower);
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("data.klg")));

    std::ofstream(Path("notes.txt")) << "x";
    dialogs.answers = {Path("notes.txt"), Path("gone.klg")};
    frame->ExecuteCommand(cmd::kFileOpen);
    frame->ExecuteCommand(cmd::kFileOpen);
    EXPECT_EQ(shown, (std::vector<int>{msg::kWrongExtension, msg::kFileNotFound}));
    EXPECT_EQ(doc.m_szPathName, lower);
}

TEST_F(MainFrameTest, SavingThroughTheMenu) {
    Load(demo);
    // Never saved under its own name? The demo has a path; a new document has none.
    frame->ExecuteCommand(cmd::kFileNew);
    EXPECT_FALSE(doc.HasAnyData());
    readMode = IDocumentPrompts::kReadNew;
    Load(demo);
    doc.SetPathName("Untitled");
    dialogs.answers = {Path("first.klg")};
    frame->ExecuteCommand(cmd::kFileSave);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"save-all"});
    EXPECT_TRUE(fs::exists(Path("first.klg")));

    // A read-only file: the message with its path, then the dialog.
    fs::permissions(Path("first.klg"), fs::perms::owner_read);
    dialogs.answers = {Path("second.klg")};
    frame->ExecuteCommand(cmd::kFileSave);
    ASSERT_EQ(shown, std::vector<int>{msg::kReadOnlyFile});
    EXPECT_EQ(extras.front(), QStringLiteral("\n") + QString::fromStdString(Path("first.klg")));
    EXPECT_TRUE(fs::exists(Path("second.klg")));

    // Save as: the range's dialog (its loop on a wrong name is the core's).
    dialogs.asked.clear();
    dialogs.answers = {Path("range.klg")};
    frame->ExecuteCommand(cmd::kFileSaveRange);
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"save-range"});
    EXPECT_TRUE(fs::exists(Path("range.klg")));

    // The export remembers the chosen delimiter.
    dialogs.chosenDivide = 3;
    dialogs.answers = {Path("out.TXT")};
    frame->ExecuteCommand(cmd::kExportAll);
    EXPECT_EQ(store.GetInt("Text File Section", "DivideCode", 0), 3);
    EXPECT_TRUE(fs::exists(Path("out.TXT")));
}

TEST_F(MainFrameTest, RecentFilesInTheFileMenu) {
    frame->UpdateCommandUi();
    QAction* placeholder = frame->MenuAction(cmd::kRecentFirst);
    EXPECT_TRUE(placeholder->isVisible());
    EXPECT_FALSE(placeholder->isEnabled());
    EXPECT_EQ(placeholder->text(), QStringLiteral("以前開いたファイル"));

    Load(demo);
    ASSERT_EQ(doc.SaveKlgFile(0, Path("a.klg")), kFileOk);
    ASSERT_EQ(doc.SaveKlgFile(0, Path("b.klg")), kFileOk);
    frame->UpdateCommandUi();
    EXPECT_FALSE(placeholder->isVisible());
    QStringList entries;
    for (QAction* a : frame->FileMenu()->actions())
        if (a->text().startsWith(QLatin1Char('&')) && a->isVisible())
            entries << a->text();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries.mid(0, 2),
              (QStringList{QStringLiteral("&1 ") + QString::fromStdString(Path("b.klg")),
                           QStringLiteral("&2 ") + QString::fromStdString(Path("a.klg"))}));

    // Entry 2 loads and moves to the front.
    frame->ExecuteCommand(cmd::kRecentFirst + 1);
    EXPECT_EQ(doc.m_recentFiles.front(), Path("a.klg"));
    EXPECT_EQ(doc.m_szPathName, Path("a.klg"));
}

TEST_F(MainFrameTest, CtrlNAsksNothingAndTheClosePromptCanKeepTheWindow) {
    Load(demo);
    doc.m_bDataModified = 1;
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(doc.HasAnyData());
    EXPECT_TRUE(shown.empty());

    doc.m_bDataModified = 1;
    answer = kIdNo;
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(shown, std::vector<int>{msg::kQuitUnsaved});
    // The window's place is stored even when the answer keeps it open.
    EXPECT_TRUE(store.Has("WindowPosition", "Width"));
    answer = kIdYes;
    EXPECT_TRUE(frame->close());
}

TEST_F(MainFrameTest, WindowPlacementAndSnap) {
    SaveWindowPosition(store, {-5, 40, 300, 200});
    frame->PlaceWindow(1920, 1080);
    EXPECT_EQ(frame->pos(), QPoint(0, 40));
    EXPECT_EQ(frame->size(), QSize(639, 479));
    SaveWindowPosition(store, {2000, 40, 800, 600});
    frame->PlaceWindow(1920, 1080);
    EXPECT_EQ(frame->pos().x(), 0);
    EXPECT_EQ(frame->size(), QSize(800, 600));

    frame->move(100, 100);
    frame->resize(700, 200); // client below 250 pixels: snap
    QTest::qWait(20);
    EXPECT_EQ(frame->pos(), QPoint(0, 0));
    EXPECT_EQ(frame->size(), QSize(639, 250));
    frame->showMinimized();
    frame->move(50, 50);
    QTest::qWait(20);
    EXPECT_EQ(frame->pos(), QPoint(50, 50));
}

TEST_F(MainFrameTest, CopyPutsAnIndexedPictureOnTheClipboard) {
    Load(demo);
    frame->View()->repaint();
    QApplication::clipboard()->clear();
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kCopy));
    const QImage image = QApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), 23);
    EXPECT_EQ(image.size(), frame->View()->ScreenLayer().size());
    // The picture maps back to the screen exactly.
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32),
              frame->View()->ScreenLayer().convertToFormat(QImage::Format_RGB32));
}

TEST_F(MainFrameTest, UnitSwitchAndDroppedFiles) {
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kUnitSwitch));
    EXPECT_EQ(doc.m_nUnitCF, 0u); // nothing to switch without data

    // Two files dropped: one after another, the second with its own question.
    fs::copy_file(demo, Path("two.klg"));
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(QString::fromStdString(demo)),
                   QUrl::fromLocalFile(QString::fromStdString(Path("two.klg")))});
    int asked = 0;
    ui::SetReadModeHandler([&asked] {
        ++asked;
        return IDocumentPrompts::kReadAppend;
    });
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    frame->OpenDroppedFiles(mime->urls());
    delete mime;
    EXPECT_EQ(asked, 1);
    EXPECT_NE(doc.GetChannel(3)->present, 0u);
    EXPECT_NE(doc.GetChannel(4)->present, 0u);

    const float upper = doc.GetRange()->fullUpper;
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kUnitSwitch));
    EXPECT_EQ(doc.m_nUnitCF, 1u);
    EXPECT_EQ(store.GetInt("Unit Display Section", "UnitCF", 0), 1);
    EXPECT_GT(doc.GetRange()->fullUpper, upper);
}

TEST_F(MainFrameTest, AboutBox) {
    QString title, text;
    QTimer::singleShot(50, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QStringLiteral("about") && w->isVisible()) {
                title = w->windowTitle();
                for (QLabel* l : w->findChildren<QLabel*>())
                    text += l->text();
                static_cast<QDialog*>(w)->accept();
            }
        }
    });
    frame->ExecuteCommand(cmd::kAbout);
    EXPECT_EQ(title, QStringLiteral("バージョン情報"));
    EXPECT_EQ(text, QStringLiteral("Saroko Version 1.22 (J)"));
}

// Two real processes: the second start with a file hands it over and ends without a window.
TEST(SingleInstance, SecondStartHandsTheFileOver) {
    App();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString demo = dir.path() + QStringLiteral("/handed.klg");
    ASSERT_EQ(QProcess::execute(QStringLiteral(SAROKO_CLI),
                                {QStringLiteral("demo"), QStringLiteral("-o"), demo}),
              0);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    env.insert(QStringLiteral("SAROKO_TEST_STATUS_FILE"), dir.path() + QStringLiteral("/status"));

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(SAROKO_EXE), {});
    ASSERT_TRUE(first.waitForStarted());
    // Wait until the first instance listens.
    const QString socket = dir.path() + QStringLiteral("/__Pelnor_Saroko_Open_DataFile_");
    for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
        QTest::qWait(50);
    ASSERT_TRUE(QFile::exists(socket));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(SAROKO_EXE), {demo});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);

    // What the program reports after each open, waited for.
    auto status = [&dir] {
        QString text;
        for (int i = 0; i < 100 && text.isEmpty(); ++i) {
            QTest::qWait(50);
            QFile f(dir.path() + QStringLiteral("/status"));
            if (f.open(QIODevice::ReadOnly))
                text = QString::fromUtf8(f.readAll()).trimmed();
        }
        return text;
    };
    EXPECT_EQ(status(), demo);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();

    // Without a running instance a start with a file opens it itself.
    QFile::remove(dir.path() + QStringLiteral("/status"));
    QProcess alone;
    alone.setProcessEnvironment(env);
    alone.start(QStringLiteral(SAROKO_EXE), {demo});
    ASSERT_TRUE(alone.waitForStarted());
    EXPECT_EQ(status(), demo);
    EXPECT_EQ(alone.state(), QProcess::Running);
    alone.kill();
    alone.waitForFinished();
}

} // namespace
} // namespace saroko

namespace saroko {
namespace {

TEST(ReadConfirmDlg, ButtonsGiveTheMode) {
    App();
    for (const auto& [name, mode, result] :
         std::vector<std::tuple<const char*, int, int>>{{"new", 1, QDialog::Accepted},
                                                        {"append", 2, QDialog::Accepted},
                                                        {"cancel", 0, QDialog::Rejected}}) {
        ui::CReadConfirmDlg dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("読込確認"));
        QTimer::singleShot(0, &dlg, [&dlg, name = name] {
            QTest::mouseClick(dlg.findChild<QPushButton*>(QString::fromLatin1(name)),
                              Qt::LeftButton);
        });
        EXPECT_EQ(dlg.exec(), result) << name;
        EXPECT_EQ(dlg.m_nMode, mode) << name;
    }
}

} // namespace
} // namespace saroko
