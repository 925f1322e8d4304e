#include "ui/app/ZorvicApp.h"

#include <QApplication>
#include <QBackingStore>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <memory>
#include <utility>

#include "SarokoVersion.h"

#include "core/recorder/SerialLine.h"
#include "core/settings/OverlaySettingsStore.h"
#include "core/settings/StartDisplay.h"
#include "platform/CommandLine.h"
#include "platform/QtSettingsStore.h"
#include "platform/Translations.h"
#include "platform/UserFolders.h"
#include "ui/app/MainFrame.h"
#include "ui/app/SingleInstance.h"
#include "ui/app/WindowArchive.h"
#include "ui/base/MessageSink.h"
#include "ui/graph/GraphPainter.h"
#include "ui/graph/ZorvicView.h"

// The program's resources live in a static library: register them explicitly.
static void InitResources() {
    Q_INIT_RESOURCE(saroko);
}

namespace saroko {

namespace {

const char kUsage[] = "usage: saroko [--screenshot PNG] [FILE]\n"
                      "  Starts the program and opens FILE, a data file (.klg or .ksv); a program\n"
                      "  already running opens it instead.\n"
                      "  --screenshot PNG  opens FILE in a window of its own, saves the window's\n"
                      "                    picture as PNG once it is painted, and ends\n"
                      "  --help            this text\n"
                      "  --version         the program's version\n";

// The program's options. Qt's own (-platform, -style, ...) are taken out by QApplication before
// the second parse; in the first they are single-dash words, so "-stylesheet" is not "-h".
struct StartOptions {
    QCommandLineParser parser;
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringLiteral("version")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"), QString(), QStringLiteral("PNG")};
    StartOptions() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({help, version, screenshot});
    }
};

// Saves the main window's picture once its graph has been painted, then ends the program with
// 0, or 1 when the picture cannot be written.
class CScreenshotOnPaint : public QObject {
public:
    CScreenshotOnPaint(CMainFrame& frame, QString path) : m_frame(frame), m_path(std::move(path)) {
        m_frame.View()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // Taken when the paint is done and shown: the next turn of the event loop.
        if (event->type() == QEvent::Paint && !m_bPending) {
            m_bPending = true;
            QTimer::singleShot(0, this, [this] { Take(); });
        }
        return false;
    }

private:
    void Take() {
        m_bPending = false;
        // A paint that only grew the window to its least height drew no graph yet.
        if (m_frame.View()->GraphLayer().isNull())
            return;
        m_frame.View()->removeEventFilter(this);
        // The pixels on the screen, as painted: the window's own buffer where the platform
        // keeps one in memory, else the window painted again into a picture of its own.
        QBackingStore* store = m_frame.backingStore();
        const auto* shown = store ? dynamic_cast<const QImage*>(store->paintDevice()) : nullptr;
        QImage picture = shown && shown->size() == m_frame.size() * shown->devicePixelRatio()
                             ? *shown
                             : m_frame.grab().toImage();
        // The window is opaque: what the system drew into the buffer itself (Windows's text
        // in the menu bar) leaves the alpha byte at nought, and the picture would show it black.
        if (picture.format() == QImage::Format_ARGB32_Premultiplied ||
            picture.format() == QImage::Format_ARGB32)
            picture.reinterpretAsFormat(QImage::Format_RGB32);
        // Written as the graph's pictures are: a light compression, a palette where it fits.
        const bool saved = SaveGraphPng(picture, m_path);
        if (!saved)
            std::fprintf(stderr, "saroko: cannot write %s\n", qPrintable(m_path));
        QCoreApplication::exit(saved ? 0 : 1);
    }

    CMainFrame& m_frame;
    QString m_path;
    bool m_bPending = false;
};

#ifndef Q_OS_WIN
// Without a display the window application would end the program with Qt's abort: one line
// in the program's language instead, and the status of a start that cannot be used so.
int SayNoDisplay(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromUtf8(kOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(kApplication));
    const CQtSettingsStore store;
    InstallTranslations(LanguageOfStart(store));
    std::fprintf(stderr, "saroko: %s\n",
                 qPrintable(QCoreApplication::translate(
                     "CZorvicApp", "ディスプレイが見つかりません。ウィンドウを開けません")));
    return 2;
}
#endif

// --help and --version are answered before the window application exists, so they work
// without a display, and so is a start that finds none. Returns the exit status then, -1 to
// go on.
int AnswerWithoutDisplay(int argc, char** argv) {
    StartOptions o;
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    o.parser.parse(args);
    if (o.parser.isSet(o.help) || o.parser.isSet(o.version)) {
        std::fputs(o.parser.isSet(o.help) ? kUsage : "saroko " SAROKO_VERSION "\n", stdout);
        return 0;
    }
#ifndef Q_OS_WIN
    const DisplayEnvironment env =
        DisplayEnvironmentOf(std::vector<std::string>(argv + 1, argv + argc), [](const char* name) {
            return qEnvironmentVariable(name).toStdString();
        });
    if (!FindsDisplay(env))
        return SayNoDisplay(argc, argv);
#endif
    return -1;
}

} // namespace

int RunApplication(int argc, char** argv) {
    FollowSystemTimeZone();
    if (const int status = AnswerWithoutDisplay(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    // Qt takes the user's locale for the C library too; numbers in files, settings and on the
    // screen keep the decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    InitResources();
    QCoreApplication::setOrganizationName(QString::fromUtf8(kOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(kApplication));
    QGuiApplication::setDesktopFileName(QStringLiteral("saroko"));
    const PlaceMoveResult moved = MoveOlderUserFolders(); // before the settings are read
    CQtSettingsStore userStore;
    InstallTranslations(LanguageOfStart(userStore));
    if (!moved.failures.empty())
        ui::ShowMessage(msg::kFolderMoveFailed,
                        QString::fromStdString(PlaceMoveFailureLines(moved)));

    // At most one path of a data file.
    StartOptions options;
    if (!options.parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "saroko: %s\n", ParseProblem(options.parser).c_str());
        return 2;
    }
    QString file;
    if (!options.parser.positionalArguments().isEmpty())
        file = QFileInfo(options.parser.positionalArguments().first()).absoluteFilePath();

    // A start with a file hands it to the instance already running and ends without a window;
    // a screenshot is of this start's own window.
    const QString screenshot = options.parser.value(options.screenshot);
    if (screenshot.isEmpty() && !file.isEmpty() && ui::CSingleInstance::HandOver(file))
        return 0;

    // A demo start (./run) puts a simulated recorder on COM1 for this run only.
    COverlaySettingsStore store(userStore);
    const QByteArray demoRecorder = qgetenv("SAROKO_DEMO_RECORDER");
    if (!demoRecorder.isEmpty()) {
        store.Overlay(kRecorderCommSection, "PortNo", "1");
        store.Overlay(kRecorderCommSection, PortBindingEntry(1), demoRecorder.toStdString());
    }
    SystemClock clock;
    CQtCp932Codec codec;
    CZorvicDoc doc(store, clock);
    doc.SetTextCodec(&codec);

    CMainFrame frame(doc, store);
    const QSize desktop = QGuiApplication::primaryScreen()
                              ? QGuiApplication::primaryScreen()->availableGeometry().size()
                              : QSize(1024, 768);
    frame.PlaceWindow(desktop.width(), desktop.height());
    // One archive for the run, in the data folder as it stands after any move of the folders.
    ui::CWindowArchive archive(doc, codec, &frame);
    frame.SetArchive(&archive);

    ui::CSingleInstance instance;
    if (screenshot.isEmpty())
        instance.Start();
    QObject::connect(&instance, &ui::CSingleInstance::fileReceived, &frame,
                     [&frame](const QString& path) {
                         frame.raise();
                         frame.activateWindow();
                         frame.OpenFile(path, CZorvicDoc::OpenOrder::kReadFirst);
                     });

    if (file.isEmpty()) {
        doc.OnNewDocument();
    } else {
        if (!QFileInfo(file).isReadable()) {
            // As the shell's open of a file that is gone: say so and end.
            doc.OnOpenDocument(file.toStdString());
            return 1;
        }
        frame.OpenFile(file);
    }
    std::unique_ptr<CScreenshotOnPaint> shot;
    if (!screenshot.isEmpty())
        shot = std::make_unique<CScreenshotOnPaint>(frame, screenshot);
    frame.show();
    // A problem found when the archive was opened, said once over the window.
    QMetaObject::invokeMethod(
        &frame, [&archive] { archive.SayProblem(); }, Qt::QueuedConnection);
    return app.exec();
}

} // namespace saroko
