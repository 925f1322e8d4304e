#include "ui/app/Help.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/messages/HelpTopics.h"
#include "core/settings/WindowPlacement.h"
#include "platform/Translations.h"

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

CHelpWindow::CHelpWindow(QWidget* parent)
    : QWidget(parent), m_pBrowser(new QTextBrowser(this)),
      m_pBack(new QPushButton(tr("戻る"), this)), m_pForward(new QPushButton(tr("進む"), this)) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Saroko ﾍﾙﾌﾟ"));
    m_pBrowser->setOpenExternalLinks(true);
    m_pBack->setObjectName(QStringLiteral("back"));
    m_pForward->setObjectName(QStringLiteral("forward"));
    auto* closeButton = new QPushButton(tr("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("close"));
    for (QPushButton* b : {m_pBack, m_pForward, closeButton})
        b->setAutoDefault(false);
    m_pBack->setEnabled(false);
    m_pForward->setEnabled(false);

    auto* row = new QHBoxLayout;
    row->addWidget(m_pBack);
    row->addWidget(m_pForward);
    row->addStretch();
    row->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_pBrowser, 1);

    connect(m_pBack, &QPushButton::clicked, m_pBrowser, &QTextBrowser::backward);
    connect(m_pForward, &QPushButton::clicked, m_pBrowser, &QTextBrowser::forward);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, m_pBack, &QPushButton::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, m_pForward, &QPushButton::setEnabled);
    const auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
    shortcut(QKeySequence(QKeySequence::Back), [this] { m_pBrowser->backward(); });
    shortcut(QKeySequence(QKeySequence::Forward), [this] { m_pBrowser->forward(); });
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
