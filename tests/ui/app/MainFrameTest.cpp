// The real main frame on the offscreen platform, with the message boxes and file dialogs
// answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLocalSocket>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/Help.h"
#include "app/MainFrame.h"
#include "app/MessageSink.h"
#include "core/files/ScriptedFileUi.h"
#include "document/CommandState.h"
#include "document/ReadConfirmDlg.h"
#include "graph/ZorvicView.h"
#include "platform/Translations.h"
#include "recorder/DownloadDlg.h"
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
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    delete mime;
    // Nothing is opened inside the drop: the dragging program gets its answer first.
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(doc.GetChannel(1)->present, 0u);
    QApplication::processEvents();
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

// The program started on its own, with what the two-process tests need to watch it.
QProcessEnvironment ProgramEnvironment(const QString& dir, bool runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir);
    env.insert(QStringLiteral("TMPDIR"), dir);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (runtimeDir)
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
    env.insert(QStringLiteral("SAROKO_TEST_STATUS_FILE"), dir + QStringLiteral("/status"));
    return env;
}

// What the program reports after each open, waited for.
QString OpenedPath(const QString& dir) {
    QString text;
    for (int i = 0; i < 100 && text.isEmpty(); ++i) {
        QTest::qWait(50);
        QFile f(dir + QStringLiteral("/status"));
        if (f.open(QIODevice::ReadOnly))
            text = QString::fromUtf8(f.readAll()).trimmed();
    }
    return text;
}

QString MakeDemo(const QString& dir) {
    const QString demo = dir + QStringLiteral("/handed.klg");
    EXPECT_EQ(QProcess::execute(QStringLiteral(SAROKO_CLI),
                                {QStringLiteral("demo"), QStringLiteral("-o"), demo}),
              0);
    return demo;
}

QString PrivateFolder(const QString& tmp) {
    return tmp + QStringLiteral("/saroko-") + QString::number(::geteuid());
}

template <class Pred> bool WaitFor(Pred pred, int ms = 10000) {
    for (int waited = 0; !pred(); waited += 20) {
        if (waited >= ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

// A socket that is not the program's: it takes whatever is handed to it and answers "+".
// Stopping it drops every connection and leaves the socket file, as a killed instance does.
class FakeListener {
public:
    explicit FakeListener(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, name.constData(), std::min<std::size_t>(name.size(), 100));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0)
            << name.constData();
        EXPECT_EQ(::listen(m_fd, 8), 0);
        m_thread = std::thread([this] { Run(); });
    }
    ~FakeListener() { Stop(); }
    void Stop() {
        if (!m_thread.joinable())
            return;
        m_bStop = true;
        m_thread.join();
        ::close(m_fd);
    }
    int Accepted() const { return m_nAccepted; }
    std::string Received() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }

private:
    void Run() {
        std::vector<int> clients;
        while (!m_bStop) {
            std::vector<pollfd> fds{{m_fd, POLLIN, 0}};
            for (int c : clients)
                fds.push_back({c, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                clients.push_back(::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC));
                ++m_nAccepted;
            }
            for (std::size_t i = 1; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP)))
                    continue;
                char buf[512];
                const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
                if (n <= 0) {
                    ::close(fds[i].fd);
                    std::erase(clients, fds[i].fd);
                    continue;
                }
                std::lock_guard<std::mutex> lock(m_mutex);
                m_received.append(buf, static_cast<std::size_t>(n));
                if (m_received.find('\n') != std::string::npos)
                    (void)!::write(fds[i].fd, "+", 1);
            }
        }
        for (int c : clients)
            ::close(c);
    }

    int m_fd = -1;
    std::thread m_thread;
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nAccepted{0};
    std::mutex m_mutex;
    std::string m_received;
};

// Two real processes: the second start with a file hands it over and ends without a window,
// through the runtime folder or, without one, through a folder of this user's own.
TEST(SingleInstance, SecondStartHandsTheFileOver) {
    App();
    for (const bool runtimeDir : {true, false}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString demo = MakeDemo(dir.path());
        const QProcessEnvironment env = ProgramEnvironment(dir.path(), runtimeDir);
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(SAROKO_EXE), {});
        ASSERT_TRUE(first.waitForStarted());
        // Wait until the first instance listens.
        const QString socket = (runtimeDir ? dir.path() : PrivateFolder(dir.path())) +
                               QStringLiteral("/__Pelnor_Saroko_Open_DataFile_");
        ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); })) << runtimeDir;

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(SAROKO_EXE), {demo});
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(OpenedPath(dir.path()), demo) << runtimeDir;
        EXPECT_EQ(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
        if (!runtimeDir)
            continue;

        // Without a running instance a start with a file opens it itself.
        QFile::remove(dir.path() + QStringLiteral("/status"));
        QProcess alone;
        alone.setProcessEnvironment(env);
        alone.start(QStringLiteral(SAROKO_EXE), {demo});
        ASSERT_TRUE(alone.waitForStarted());
        EXPECT_EQ(OpenedPath(dir.path()), demo);
        EXPECT_EQ(alone.state(), QProcess::Running);
        alone.kill();
        alone.waitForFinished();
    }
}

// When the instance that listens ends, one that runs beside it takes the name over, so that
// a later start with a file still finds a window.
TEST(SingleInstance, AnotherRunningInstanceTakesTheNameOver) {
    App();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString demo = MakeDemo(dir.path());
    const QString socket = dir.path() + QStringLiteral("/__Pelnor_Saroko_Open_DataFile_");
    FakeListener listening(socket);
    QProcess beside;
    beside.setProcessEnvironment(ProgramEnvironment(dir.path(), true));
    beside.start(QStringLiteral(SAROKO_EXE), {});
    ASSERT_TRUE(beside.waitForStarted());
    // It leaves the listener in place and keeps a connection to it.
    ASSERT_TRUE(WaitFor([&] { return listening.Accepted() >= 2; }));
    listening.Stop();
    ASSERT_TRUE(WaitFor([&] {
        QLocalSocket probe;
        probe.connectToServer(socket);
        return probe.waitForConnected(100);
    }));

    QProcess later;
    later.setProcessEnvironment(ProgramEnvironment(dir.path(), true));
    later.start(QStringLiteral(SAROKO_EXE), {demo});
    ASSERT_TRUE(later.waitForFinished(10000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(OpenedPath(dir.path()), demo);
    EXPECT_EQ(beside.state(), QProcess::Running);
    beside.kill();
    beside.waitForFinished();
}

// Without a runtime folder, a path goes only to a socket of this user's own, with a mode that
// lets nobody else in, in a folder only this user can write; otherwise the start opens the
// file in a window of its own and the socket receives nothing.
TEST(SingleInstance, HandsOverOnlyToThisUsersOwnSocket) {
    App();
    // clang-format off
    const struct { const char* what; bool shared; mode_t socketMode, folderMode; uid_t owner; } cases[] = {
        {"the fixed name in the shared folder", true,  0755, 0700, ::geteuid()},
        {"a socket others may write to",        false, 0777, 0700, ::geteuid()},
        {"a folder others may write to",        false, 0700, 0777, ::geteuid()},
        {"a socket of another user",            false, 0700, 0700, 65534},
    };
    // clang-format on
    for (const auto& c : cases) {
        if (c.owner != ::geteuid() && ::geteuid() != 0)
            continue; // only root can give a socket away
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString demo = MakeDemo(dir.path());
        const QString folder = c.shared ? dir.path() : PrivateFolder(dir.path());
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString socket = folder + QStringLiteral("/__Pelnor_Saroko_Open_DataFile_");
        FakeListener other(socket);
        const QByteArray name = QFile::encodeName(socket);
        ASSERT_EQ(::chmod(name.constData(), c.socketMode), 0);
        ASSERT_EQ(::lchown(name.constData(), c.owner, static_cast<gid_t>(-1)), 0);
        if (!c.shared) {
            ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), c.folderMode), 0);
        }

        QProcess start;
        start.setProcessEnvironment(ProgramEnvironment(dir.path(), false));
        start.start(QStringLiteral(SAROKO_EXE), {demo});
        ASSERT_TRUE(start.waitForStarted());
        EXPECT_EQ(OpenedPath(dir.path()), demo) << c.what;
        EXPECT_EQ(start.state(), QProcess::Running) << c.what;
        EXPECT_EQ(other.Received(), "") << c.what;
        start.kill();
        start.waitForFinished();
    }
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

namespace saroko {
namespace {

// Each dialog's help button and F1 reach the guide at that dialog's page through the frame;
// the help menu and F1 in the main window open the main window's page.
TEST_F(MainFrameTest, HelpOpensEachDialogsPage) {
    Load(demo);
    std::vector<std::string> opened;
    ui::SetHelpInterceptor(
        [&](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    const std::string base = "qrc:/saroko/help/ja/";
    // clang-format off
    const std::pair<int, const char*> cases[] = {
        {cmd::kDownload, "download"},          {cmd::kRecordStart, "record-start"},
        {cmd::kSelectPort, "port-select"},     {cmd::kDataList, "data-list"},
        {cmd::kPrintColour, "graph-print"},    {cmd::kPrintDataList, "list-print"},
        {cmd::kShowOnOff, "channel-show"},     {cmd::kDeleteChannels, "channel-delete"},
        {cmd::kReorderChannels, "channel-order"}, {cmd::kChannelColours, "channel-color"},
        {cmd::kCalcRange, "calc-range"},       {cmd::kEditConditions, "rec-cond"},
        {cmd::kFullScale, "full-scale"},
    };
    // clang-format on
    for (const auto& [id, page] : cases) {
        opened.clear();
        QTimer::singleShot(0, [] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dlg);
            for (QPushButton* b : dlg->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("ﾍﾙﾌﾟ"))
                    b->click();
            QApplication::setActiveWindow(dlg); // shortcuts go to the active window
            QTest::keyClick(dlg, Qt::Key_F1);
            dlg->reject();
        });
        EXPECT_TRUE(frame->ExecuteCommand(id)) << page;
        const std::string want = base + page + ".html";
        EXPECT_EQ(opened, std::vector<std::string>({want, want})) << "button, then F1";
        const QString file = QString::fromStdString(want.substr(3));
        EXPECT_TRUE(QFile::exists(file)) << page;
        EXPECT_TRUE(QFile::exists(QString(file).replace(QStringLiteral("/ja/"), QStringLiteral("/en/"))));
    }
    opened.clear();
    frame->ExecuteCommand(cmd::kHelpContents);
    QApplication::setActiveWindow(frame.get());
    QTest::keyClick(frame->View(), Qt::Key_F1);
    EXPECT_EQ(opened, std::vector<std::string>({base + "index.html", base + "index.html"}));
    // The guide speaks the language of the windows.
    InstallTranslations(Language::kEnglish);
    EXPECT_EQ(ui::HelpPageUrl(ui::CDownloadDlg::kHelpTopic).toString(),
              QStringLiteral("qrc:/saroko/help/en/download.html"));
    InstallTranslations(Language::kJapanese);

    // Without the test's hand in between, the page shows in the help window.
    ui::SetHelpInterceptor({});
    ui::OpenHelpFile(ui::CDownloadDlg::kHelpTopic);
    ASSERT_TRUE(ui::HelpWindow());
    EXPECT_EQ(ui::HelpWindow()->documentTitle(), QStringLiteral("記録データ吸い上げ"));
    frame.reset();
    EXPECT_FALSE(ui::HelpWindow()) << "closed with the frame";
}

} // namespace
} // namespace saroko
