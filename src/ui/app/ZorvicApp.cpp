#include "ui/app/ZorvicApp.h"

#include <QApplication>
#include <clocale>
#include <QFileInfo>
#include <QScreen>

#include "ui/app/MainFrame.h"
#include "ui/app/SingleInstance.h"
#include "platform/QtSettingsStore.h"
#include "platform/Translations.h"
#include "core/recorder/SerialLine.h"
#include "core/settings/OverlaySettingsStore.h"

// The program's resources live in a static library: register them explicitly.
static void InitResources() { Q_INIT_RESOURCE(saroko); }

namespace saroko {

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt takes the user's locale for the C library too; numbers in files, settings and on the
    // screen keep the decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    InitResources();
    QCoreApplication::setOrganizationName(QString::fromUtf8(kOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(kApplication));
    QGuiApplication::setDesktopFileName(QStringLiteral("saroko"));
    CQtSettingsStore userStore;
    InstallTranslations(LanguageOfStart(userStore));

    // At most one path of a data file.
    QString file;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!args.at(i).startsWith(QLatin1Char('-'))) {
            file = QFileInfo(args.at(i)).absoluteFilePath();
            break;
        }
    }

    // A start with a file hands it to the instance already running and ends without a window.
    if (!file.isEmpty() && ui::CSingleInstance::HandOver(file))
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

    ui::CSingleInstance instance;
    instance.Start();
    QObject::connect(&instance, &ui::CSingleInstance::fileReceived, &frame,
                     [&frame](const QString& path) {
                         frame.raise();
                         frame.activateWindow();
                         frame.OpenFile(path);
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
    frame.show();
    return app.exec();
}

} // namespace saroko
