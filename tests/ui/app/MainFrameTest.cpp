// The real main frame on the offscreen platform, with the message boxes and file dialogs
// answered by the test; the program's language in its menus, message boxes and dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/document/CommandState.h"
#include "core/files/ScriptedFileUi.h"
#include "core/messages/StringTable.h"
#include "platform/Translations.h"
#include "support/QtApp.h"
#include "support/ShownTexts.h"
#include "ui/app/Help.h"
#include "ui/app/MainFrame.h"
#include "ui/base/HelpRequest.h"
#include "ui/base/MessageSink.h"
#include "ui/document/DocumentPrompts.h"
#include "ui/document/FileDialogs.h"
#include "ui/document/ReadConfirmDlg.h"

namespace saroko {
namespace {

namespace fs = std::filesystem;

using test::App;

// A recording written by the command-line program's demo.
QString MakeDemo(const QString& path) {
    EXPECT_EQ(QProcess::execute(QStringLiteral(SAROKO_CLI),
                                {QStringLiteral("demo"), QStringLiteral("-o"), path}),
              0);
    return path;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        ui::SetMessageHandler([this](int id, const QString& extra) {
            shown.push_back(id);
            extras.push_back(extra);
            return answer;
        });
        ui::SetReadModeHandler([] { return IDocumentPrompts::kReadNew; });
        doc.OnNewDocument();
        frame = std::make_unique<CMainFrame>(doc, store);
        frame->SetFileUi(&dialogs);
        frame->PlaceWindow(1920, 1080);
        frame->show();
        QTest::qWait(20);
        demo = MakeDemo(dir.path() + QStringLiteral("/demo.klg")).toStdString();
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
    test::ScriptedUi dialogs;
    std::unique_ptr<CMainFrame> frame;
    std::vector<int> shown;
    QStringList extras;
    int answer = kIdOk;
    std::string demo;
};

TEST_F(MainFrameTest, MenusFollowTheCommandStateAndKeysReachTheView) {
    // Which command is greyed when is the core's table; here the menu follows it.
    frame->UpdateCommandUi();
    EXPECT_FALSE(frame->MenuAction(cmd::kFileSave)->isEnabled());
    EXPECT_FALSE(frame->ExecuteCommand(cmd::kZoomIn));
    Load(demo);
    EXPECT_TRUE(frame->MenuAction(cmd::kFileSave)->isEnabled());
    QTest::qWait(20);
    QApplication::setActiveWindow(frame.get()); // shortcuts go to the active window

    // Ctrl+Up zooms in; Ctrl+Down brings the whole range back.
    QTest::keyClick(frame.get(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_NE(doc.GetRange()->viewStart, doc.GetRange()->dataStart);
    QTest::keyClick(frame.get(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_FALSE(frame->QueryCommand(cmd::kZoomOut).enabled);

    // Ctrl+A toggles the selection and stores it.
    QTest::keyClick(frame.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    EXPECT_EQ(store.GetInt("CursorAB Section", "CursorASelect", -1), 0);
}

TEST_F(MainFrameTest, FileCommandsReachTheDocumentAndWriteTheFiles) {
    // The procedures' questions and refusals are the core's; here each command reaches its own.
    const std::string lower = Path("data.klg");
    fs::copy_file(demo, lower);
    dialogs.answers = {lower};
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kFileOpen));
    EXPECT_EQ(doc.m_szPathName, lower);

    // A read-only file: the message with its path, then the dialog.
    fs::permissions(lower, fs::perms::owner_read);
    dialogs.answers = {Path("first.klg")};
    frame->ExecuteCommand(cmd::kFileSave);
    ASSERT_EQ(shown, std::vector<int>{msg::kReadOnlyFile});
    EXPECT_EQ(extras.front(), QStringLiteral("\n") + QString::fromStdString(lower));
    EXPECT_TRUE(fs::exists(Path("first.klg")));

    dialogs.answers = {Path("range.klg"), Path("out.TXT")};
    frame->ExecuteCommand(cmd::kFileSaveRange);
    frame->ExecuteCommand(cmd::kExportAll);
    EXPECT_EQ(dialogs.asked,
              (std::vector<std::string>{"open", "save-all", "save-range", "text-all"}));
    EXPECT_TRUE(fs::exists(Path("range.klg")));
    EXPECT_TRUE(fs::exists(Path("out.TXT")));
}

// A damaged file, dropped or named on the command line (or by another start): its message
// names it and says why, and the data shown stay. (The File menu's way is the core's test.)
TEST_F(MainFrameTest, AnUnreadableFileSaysWhichAndWhyAndLeavesTheData) {
    Load(demo);
    const QString bad = QString::fromStdString(Path("damaged.klg"));
    std::ofstream(bad.toStdString(), std::ios::binary) << std::string(100, '\x5a');
    for (const bool dropped : {true, false}) {
        shown.clear();
        extras.clear();
        if (dropped)
            frame->OpenDroppedFiles({QUrl::fromLocalFile(bad)});
        else
            EXPECT_EQ(frame->OpenFile(bad), kFileFailed);
        EXPECT_EQ(std::tuple(shown, extras.value(0), doc.m_szPathName, doc.GetChannel(1)->present),
                  std::tuple(std::vector<int>{msg::kFileTooShort}, "\n\n" + bad, demo, 1u))
            << dropped;
    }
}

TEST_F(MainFrameTest, TheClosePromptCanKeepTheWindow) {
    doc.m_bDataModified = 1;
    answer = kIdNo;
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(shown, std::vector<int>{msg::kQuitUnsaved});
    // The window's place is stored even when the answer keeps it open.
    EXPECT_TRUE(store.Has("WindowPosition", "Width"));
    answer = kIdYes;
    EXPECT_TRUE(frame->close());
}

TEST_F(MainFrameTest, UnitSwitchAndDroppedFiles) {
    // Two files dropped: one after another, the second with its own question.
    fs::copy_file(demo, Path("two.klg"));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(demo)),
                  QUrl::fromLocalFile(QString::fromStdString(Path("two.klg")))});
    int asked = 0;
    ui::SetReadModeHandler([&asked] {
        ++asked;
        return IDocumentPrompts::kReadAppend;
    });
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
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
    EXPECT_GT(doc.GetRange()->fullUpper, upper);
}

#ifndef _WIN32 // the hand-over on a Unix socket: the named pipe has its own test
// A scratch folder for the program's settings, temporary and runtime files, with a file to
// hand over.
struct Scratch {
    // Where the program listens: the runtime folder, else a folder of this user's own.
    QString Socket(bool runtimeDir) const {
        const QString folder =
            runtimeDir ? dir.path()
                       : dir.path() + QStringLiteral("/saroko-") + QString::number(::geteuid());
        return folder + QStringLiteral("/__Pelnor_Saroko_Open_DataFile_");
    }
    // What the program reports after each open, waited for.
    QString Opened() const {
        QString text;
        const auto read = [&] {
            QFile f(dir.path() + QStringLiteral("/status"));
            text =
                f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
            return !text.isEmpty();
        };
        return QTest::qWaitFor(read, 5000) ? text : QString();
    }

    QTemporaryDir dir;
    const QString demo = MakeDemo(dir.path() + QStringLiteral("/handed.klg"));
};

// The program started on its own in the scratch folder, ended with the test.
class Program : public QProcess {
public:
    Program(const Scratch& s, bool runtimeDir, const QStringList& args = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Every folder of the user's in the scratch folder: a start moves older ones.
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR"})
            env.insert(QString::fromLatin1(v), s.dir.path());
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (runtimeDir)
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), s.dir.path());
        env.insert(QStringLiteral("SAROKO_TEST_STATUS_FILE"),
                   s.dir.path() + QStringLiteral("/status"));
        setProcessEnvironment(env);
        start(QStringLiteral(SAROKO_EXE), args);
        EXPECT_TRUE(waitForStarted());
    }
    ~Program() override {
        kill();
        waitForFinished();
    }
};

bool Answers(const QString& socket) {
    return QTest::qWaitFor(
        [&] {
            QLocalSocket probe;
            probe.connectToServer(socket);
            return probe.waitForConnected(100);
        },
        10000);
}

// A later start with the file hands it to `running` and ends without a window.
void ExpectHandedOver(const Scratch& s, bool runtimeDir, const Program& running) {
    Program later(s, runtimeDir, {s.demo});
    ASSERT_TRUE(later.waitForFinished(10000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(s.Opened(), s.demo) << runtimeDir;
    EXPECT_EQ(running.state(), QProcess::Running);
}

// A socket that is not the program's: it takes whatever is handed to it and answers "+".
// Stopping it drops every connection and leaves the socket file, as a killed instance does.
class FakeListener {
public:
    explicit FakeListener(const QString& path) : m_path(path.toStdString()) {
        EXPECT_TRUE(m_server.listen(path)) << m_path;
        QObject::connect(&m_server, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* client = m_server.nextPendingConnection()) {
                ++m_nAccepted;
                QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                    m_received += client->readAll().toStdString();
                    if (m_received.find('\n') != std::string::npos)
                        client->write("+");
                });
            }
        });
    }
    void Stop() {
        qDeleteAll(m_server.findChildren<QLocalSocket*>());
        // Closing removes the socket file; a second name for it keeps it.
        fs::create_hard_link(m_path, m_path + ".kept");
        m_server.close();
        fs::rename(m_path + ".kept", m_path);
    }
    int Accepted() const { return m_nAccepted; }
    const std::string& Received() const { return m_received; }

private:
    std::string m_path;
    QLocalServer m_server;
    int m_nAccepted = 0;
    std::string m_received;
};

// Two real processes, without a runtime folder: through a folder of this user's own (the
// runtime folder's way is the next test's).
TEST(SingleInstance, SecondStartHandsTheFileOver) {
    App();
    const Scratch s;
    const Program first(s, false);
    ASSERT_TRUE(Answers(s.Socket(false)));
    ExpectHandedOver(s, false, first);
}

// When the instance that listens ends, one that runs beside it takes the name over, so that
// a later start with a file still finds a window.
TEST(SingleInstance, AnotherRunningInstanceTakesTheNameOver) {
    App();
    const Scratch s;
    FakeListener listening(s.Socket(true));
    const Program beside(s, true);
    // It leaves the listener in place and keeps a connection to it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening.Accepted() >= 2; }, 10000));
    listening.Stop();
    ASSERT_TRUE(Answers(s.Socket(true)));
    ExpectHandedOver(s, true, beside);
}

// A path goes only to a socket of this user's own, with a mode that lets nobody else in, in a
// folder only this user can write (the runtime folder too); otherwise the start opens the file
// in a window of its own and the socket receives nothing.
TEST(SingleInstance, HandsOverOnlyToThisUsersOwnSocket) {
    App();
    // clang-format off
    const struct { const char* what; bool shared, runtimeDir; mode_t socketMode, folderMode; uid_t owner; } cases[] = {
        {"the fixed name in the shared folder",  true,  false, 0755, 0700, ::geteuid()},
        {"a runtime folder others may write to", true,  true,  0700, 0707, ::geteuid()},
        {"a socket others may write to",         false, false, 0702, 0700, ::geteuid()},
        {"a folder its group may write to",      false, false, 0700, 0720, ::geteuid()},
        {"a socket of another user",             false, false, 0700, 0700, 65534},
    };
    // clang-format on
    for (const auto& c : cases) {
        if (c.owner != ::geteuid() && ::geteuid() != 0)
            continue; // only root can give a socket away
        const Scratch s;
        // The scratch folder stands for the shared temporary folder too.
        const QString socket = s.Socket(c.shared);
        const QByteArray folder = QFile::encodeName(QFileInfo(socket).path());
        ASSERT_TRUE(QDir().mkpath(QString::fromLocal8Bit(folder)));
        FakeListener other(socket);
        const QByteArray name = QFile::encodeName(socket);
        ASSERT_EQ(::chmod(name.constData(), c.socketMode), 0);
        ASSERT_EQ(::lchown(name.constData(), c.owner, static_cast<gid_t>(-1)), 0);
        ASSERT_EQ(::chmod(folder.constData(), c.folderMode), 0);

        const Program start(s, c.runtimeDir, {s.demo});
        EXPECT_EQ(s.Opened(), s.demo) << c.what;
        EXPECT_EQ(start.state(), QProcess::Running) << c.what;
        EXPECT_EQ(other.Received(), "") << c.what;
    }
}
#endif

// The two sentences break into lines only between clauses (or at spaces), the texts whole
// and in order; a picture in each language when SAROKO_PICTURE_DIR names a folder.
TEST(ReadConfirmDlg, SentencesBreakBetweenClauses) {
    App();
    for (const bool english : {false, true}) {
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        ui::CReadConfirmDlg dlg;
        dlg.show();
        const QList<QLabel*> labels = dlg.findChildren<QLabel*>(QStringLiteral("text"));
        ASSERT_EQ(labels.size(), 2);
        const QString first = ui::CReadConfirmDlg::tr(
            "読み込むファイルのデータだけを見たい時は、［新規］ボタンをクリックしてください。");
        QString joined = labels[0]->text();
        joined.replace(QLatin1Char('\n'), english ? QStringLiteral(" ") : QString());
        EXPECT_EQ(joined, first);
        for (QLabel* label : labels) {
            const QStringList lines = label->text().split(QLatin1Char('\n'));
            // The Japanese sentences are longer than a line.
            EXPECT_TRUE(english || lines.size() >= 2) << label->text().toStdString();
            for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
                const QString next = lines[i + 1];
                const bool clause = english || lines[i].endsWith(QStringLiteral("、")) ||
                                    lines[i].endsWith(QStringLiteral("。")) ||
                                    lines[i].endsWith(QStringLiteral("］")) ||
                                    next.startsWith(QStringLiteral("［"));
                EXPECT_TRUE(clause) << lines[i].toStdString() << " | " << next.toStdString();
            }
        }
        const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
        if (!dir.isEmpty())
            dlg.grab().save(QString::fromLocal8Bit(dir) +
                            (english ? QStringLiteral("/read-confirm-en.png")
                                     : QStringLiteral("/read-confirm-ja.png")));
    }
    InstallTranslations(Language::kJapanese);
}

TEST(ReadConfirmDlg, ButtonsGiveTheMode) {
    App();
    for (const auto& [name, mode, result] :
         std::vector<std::tuple<const char*, int, int>>{{"new", 1, QDialog::Accepted},
                                                        {"append", 2, QDialog::Accepted},
                                                        {"cancel", 0, QDialog::Rejected}}) {
        ui::CReadConfirmDlg dlg;
        QTimer::singleShot(0, &dlg, [&dlg, name = name] {
            QTest::mouseClick(dlg.findChild<QPushButton*>(QString::fromLatin1(name)),
                              Qt::LeftButton);
        });
        EXPECT_EQ(dlg.exec(), result) << name;
        EXPECT_EQ(dlg.m_nMode, mode) << name;
    }
}

// Each dialog the frame opens speaks the program's language, and its help button and F1 reach
// the guide at that dialog's page in that language.
TEST_F(MainFrameTest, EachDialogSpeaksTheProgramsLanguageAndOpensItsHelpPage) {
    Load(demo);
    std::vector<std::string> opened;
    ui::SetHelpInterceptor(
        [&](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    // clang-format off
    const std::pair<int, const char*> cases[] = {
        {cmd::kDownload, "download"},          {cmd::kRecordStart, "record-start"},
        {cmd::kSelectPort, "port-select"},     {cmd::kDataList, "data-list"},
        {cmd::kPrintColour, "graph-print"},    {cmd::kPrintDataList, "list-print"},
        {cmd::kShowOnOff, "channel-show"},     {cmd::kDeleteChannels, "channel-delete"},
        {cmd::kReorderChannels, "channel-order"}, {cmd::kChannelColours, "channel-color"},
        {cmd::kCalcRange, "calc-range"},       {cmd::kEditConditions, "rec-cond"},
        {cmd::kFullScale, "full-scale"},       {cmd::kReport, "report"},
    };
    // clang-format on
    for (const bool english : {true, false}) {
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        const std::string base = english ? "qrc:/saroko/help/en/" : "qrc:/saroko/help/ja/";
        for (const auto& [id, page] : cases) {
            opened.clear();
            std::string japanese;
            QTimer::singleShot(0, [&japanese, english] {
                auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                ASSERT_TRUE(dlg);
                japanese = test::JapaneseAmong(test::ShownTexts(*dlg)).toStdString();
                for (QPushButton* b : dlg->findChildren<QPushButton*>())
                    if (b->text() == (english ? QStringLiteral("Help") : QStringLiteral("ﾍﾙﾌﾟ")))
                        b->click();
                QApplication::setActiveWindow(dlg); // shortcuts go to the active window
                QTest::keyClick(dlg, Qt::Key_F1);
                dlg->reject();
            });
            EXPECT_TRUE(frame->ExecuteCommand(id)) << page;
            // The report dialog's table shows the demo's channel names: the test's own data.
            for (const char* name : {"室温", "冷蔵庫", " | "})
                for (std::size_t at; (at = japanese.find(name)) != std::string::npos;)
                    japanese.erase(at, std::strlen(name));
            EXPECT_EQ(japanese.empty(), english) << page << ": " << japanese;
            const std::string want = base + page + ".html";
            EXPECT_EQ(opened, std::vector<std::string>({want, want})) << "button, then F1";
            EXPECT_TRUE(QFile::exists(QString::fromStdString(want.substr(3)))) << want;
        }
    }
    // A frame that is gone answers no more help requests.
    frame.reset();
    opened.clear();
    ui::RequestHelp(0);
    EXPECT_TRUE(opened.empty());
    ui::SetHelpInterceptor({});
}

// The help window goes back and forward through the pages it showed, by its buttons and by
// Alt+arrow, and Escape closes it.
TEST(HelpWindow, BackForwardAndEscape) {
    App();
    ui::OpenHelpFile(0);
    ui::CHelpWindow* help = ui::HelpWindow();
    ASSERT_TRUE(help);
    auto* back = help->findChild<QPushButton*>(QStringLiteral("back"));
    auto* forward = help->findChild<QPushButton*>(QStringLiteral("forward"));
    EXPECT_FALSE(back->isEnabled());
    ui::OpenHelpFile(1341450); // the download dialog's page, in the same window
    ASSERT_EQ(ui::HelpWindow(), help);
    const auto page = [help] { return help->source().fileName().toStdString(); };
    EXPECT_EQ(std::tuple(page(), back->isEnabled(), forward->isEnabled()),
              std::tuple("download.html", true, false));
    back->click();
    EXPECT_EQ(std::tuple(page(), back->isEnabled(), forward->isEnabled()),
              std::tuple("index.html", false, true));
    forward->click();
    EXPECT_EQ(page(), "download.html");
    QApplication::setActiveWindow(help); // shortcuts go to the active window
    QTest::keyClick(help, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(page(), "index.html");
    QTest::keyClick(help, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(page(), "download.html");
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([] { return ui::HelpWindow() == nullptr; }, 2000));
}

// Qt's file dialog shows every cell of its rows whole in both languages (a size near the next
// unit, a folder, a text file's type), and opens at the size the user left it.
TEST(FileDialog, ColumnsShowWholeAndTheSizeIsKept) {
    App();
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("20261228-235959-2.klg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1023 * 1024 + 1000, 'x'));
    file.close();
    QDir(dir.path()).mkdir(QStringLiteral("控え"));
    for (const Language language : {Language::kEnglish, Language::kJapanese}) {
        InstallTranslations(language);
        CMemorySettingsStore store;
        std::vector<QSize> opened;
        for (int pass = 0; pass < 2; ++pass) {
            QFileDialog dlg(nullptr, QStringLiteral("x"), dir.path());
            dlg.setOption(QFileDialog::DontUseNativeDialog);
            // Looked at once the folder is listed, after the dialog's own placement (queued as
            // it opens); closed whatever happens.
            const auto look = [&] {
                auto* tree = dlg.findChild<QTreeView*>(QStringLiteral("treeView"));
                if (tree && QTest::qWaitFor([tree] {
                        return tree->model()->rowCount(tree->rootIndex()) == 2;
                    })) {
                    for (int c = 0; c < 4; ++c)
                        EXPECT_LE(static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(c),
                                  tree->header()->sectionSize(c))
                            << "column " << c << ", language " << static_cast<int>(language);
                    EXPECT_GE(tree->viewport()->width(), tree->header()->length());
                    opened.push_back(dlg.size());
                    // The user's own size: taller only, the test screen is 800 wide.
                    dlg.resize(dlg.size() + QSize(0, 60));
                }
                dlg.reject();
            };
            QTimer::singleShot(0, &dlg, [&] { QTimer::singleShot(0, &dlg, look); });
            ui::RunSized(dlg, &store);
        }
        ASSERT_EQ(opened.size(), 2u);
        EXPECT_EQ(opened[1], opened[0] + QSize(0, 60));
    }
    InstallTranslations(Language::kJapanese);
}

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

// Enter on the unsaved-data exit box keeps the data; other questions keep Yes as default.
TEST(MessageBox, TheExitBoxDefaultsToNo) {
    App();
    for (const auto& [id, want] : {std::pair(msg::kQuitUnsaved, QMessageBox::No),
                                   std::pair(msg::kOverwriteConfirm, QMessageBox::Yes)}) {
        QMessageBox::StandardButton seen = QMessageBox::NoButton;
        QTimer::singleShot(0, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = box->standardButton(box->defaultButton());
                box->reject();
            }
        });
        ui::SetMessageHandler({});
        ui::ShowMessage(id, {}, nullptr);
        EXPECT_EQ(seen, want) << id;
    }
}

// What a user sees in `language`: the menus, then a message box with Qt's own buttons.
std::string SeeProgram(Language language) {
    App();
    EXPECT_TRUE(InstallTranslations(language)) << "the translation files are installed";
    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    QStringList seen;
    {
        CMainFrame frame(doc, store);
        for (QAction* top : frame.menuBar()->actions())
            seen << top->text();
    }
    seen << OpenBox(msg::kQuitUnsaved);
    InstallTranslations(Language::kJapanese);
    return seen.join(QLatin1Char('|')).toStdString();
}

// The dialogs' own texts are checked where the frame opens them.
TEST(LanguageTest, EnglishCoversMenusAndMessagesAndJapaneseStaysAsWritten) {
    EXPECT_EQ(SeeProgram(Language::kEnglish),
              "&File|&Edit|&Communication|&Tools|&Graph|&Help|Confirm exit\n\nThe data has not "
              "been saved.\nExit the application anyway?|&No|&Yes");
    EXPECT_EQ(SeeProgram(Language::kJapanese),
              "ﾌｧｲﾙ(&F)|編集(&E)|通信(&C)|ﾂｰﾙ(&T)|ｸﾞﾗﾌ操作(&G)|ﾍﾙﾌﾟ(&H)|" +
                  std::string(MessageText(msg::kQuitUnsaved)) + "|いいえ(&N)|はい(&Y)");
}

} // namespace
} // namespace saroko
