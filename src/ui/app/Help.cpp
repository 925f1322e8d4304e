#include "ui/app/Help.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>

#include "core/messages/HelpTopics.h"
#include "platform/Translations.h"
#include "core/settings/WindowPlacement.h"

// The guide's pages live in a resource file of their own, linked from this static library.
static void InitHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace saroko::ui {
namespace {

QPointer<CHelpWindow>& Window() {
    static QPointer<CHelpWindow> window;
    return window;
}

std::function<void(const QUrl&)>& Interceptor() {
    static std::function<void(const QUrl&)> interceptor;
    return interceptor;
}

HelpLanguage LanguageOfWindows() {
    return InstalledLanguage() == Language::kEnglish ? HelpLanguage::kEnglish
                                                     : HelpLanguage::kJapanese;
}

bool OpenOriginalHelpFile([[maybe_unused]] int topic) {
#ifdef Q_OS_WIN
    const QString path =
        QString::fromStdString(HelpFilePath(QCoreApplication::applicationFilePath().toStdString()));
    if (!QFileInfo::exists(path))
        return false;
    // The viewer opens a context number's topic itself.
    if (topic != 0 && QProcess::startDetached(QStringLiteral("hh.exe"),
                                              {QStringLiteral("-mapid"), QString::number(topic),
                                               QDir::toNativeSeparators(path)}))
        return true;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#else
    return false;
#endif
}

} // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Saroko ﾍﾙﾌﾟ"));
    setOpenExternalLinks(true);
    resize(640, 560);
}

QUrl HelpPageUrl(int topic) {
    return QUrl(QStringLiteral("qrc:/saroko/help/") +
                QString::fromStdString(HelpPagePath(topic, LanguageOfWindows())));
}

void OpenHelpFile(int topic) {
    InitHelpResources();
    const QUrl url = HelpPageUrl(topic);
    if (Interceptor()) {
        Interceptor()(url);
        return;
    }
    if (OpenOriginalHelpFile(topic))
        return;
    QPointer<CHelpWindow>& window = Window();
    QWidget* owner = QApplication::activeModalWidget();
    if (window && window->parentWidget() != owner) {
        window->close();
        window = nullptr;
    }
    if (!window)
        window = new CHelpWindow(owner);
    window->setSource(url);
    window->show();
    window->raise();
    window->activateWindow();
}

void CloseHelpWindow() {
    delete Window().data();
}

CHelpWindow* HelpWindow() {
    return Window().data();
}

void SetHelpInterceptor(std::function<void(const QUrl&)> interceptor) {
    Interceptor() = std::move(interceptor);
}

} // namespace saroko::ui
