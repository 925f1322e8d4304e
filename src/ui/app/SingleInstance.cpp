#include "ui/app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTimer>

#include "platform/LocalChannel.h"

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace saroko::ui {
namespace {

#if defined(Q_OS_UNIX)
// Of this user and closed to everybody else's writes: a folder nobody else can put a socket
// in, a socket nobody else made.
bool IsOwnAndClosed(const QString& path, mode_t type) {
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 &&
           (st.st_mode & S_IFMT) == type && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}
#endif

QString LockPath(const QString& name) {
#if defined(Q_OS_UNIX)
    return name + QStringLiteral(".lock");
#else
    return QDir::temp().filePath(name + QStringLiteral(".lock"));
#endif
}

} // namespace

QString CSingleInstance::ServerName() {
#if defined(Q_OS_UNIX)
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && IsOwnAndClosed(runtime, S_IFDIR))
        return runtime + QLatin1Char('/') + QLatin1String(kOpenFileServerName);
    // In the shared temporary folder anybody could take a fixed name first: use a folder of
    // this user's own there, and none at all when somebody else holds it.
    const QString folder =
        QDir::tempPath() + QStringLiteral("/saroko-") + QString::number(::geteuid());
    ::mkdir(QFile::encodeName(folder).constData(), S_IRWXU);
    if (!IsOwnAndClosed(folder, S_IFDIR))
        return {};
    return folder + QLatin1Char('/') + QLatin1String(kOpenFileServerName);
#elif defined(Q_OS_WIN)
    // Pipe names are seen by the whole machine: one for this user in this session.
    DWORD session = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
    wchar_t user[257] = {};
    DWORD size = 257;
    if (!::GetUserNameW(user, &size))
        return {};
    return QLatin1String(kOpenFileServerName) + QLatin1Char('-') + QString::number(session) +
           QLatin1Char('-') + QString::fromWCharArray(user);
#else
    return QLatin1String(kOpenFileServerName);
#endif
}

CSingleInstance::CSingleInstance(QObject* parent)
    : QObject(parent), m_pServer(new CLineListener('+', this)), m_pWatch(new CListenerWatch(this)) {
    // The answer goes back as soon as the whole path is in; the file opens afterwards.
    connect(m_pServer, &CLineListener::lineReceived, this, [this](const QByteArray& line) {
        const QString path = QString::fromUtf8(line).trimmed();
        if (!path.isEmpty())
            emit fileReceived(path);
    });
    connect(m_pWatch, &CListenerWatch::ended, this, [this] { RetryLater(50); });
}

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::HandOver(const QString& path, int timeoutMs) {
    const QString name = ServerName();
    if (name.isEmpty())
        return false;
#if defined(Q_OS_UNIX)
    if (!IsOwnAndClosed(name, S_IFSOCK))
        return false;
#endif
    return SendLine(name, path.toUtf8(), timeoutMs) == '+';
}

bool CSingleInstance::IsListening() const {
    return m_pServer->IsListening();
}

void CSingleInstance::Start() {
    m_bRetryPending = false;
    if (m_pServer->IsListening())
        return;
    const QString name = ServerName();
    if (name.isEmpty())
        return; // no private place for the name: this instance stays on its own
    if (!Listen(name))
        Watch(name);
}

bool CSingleInstance::Listen(const QString& name) {
    // Instances taking the name over at once must not remove each other's socket.
    QLockFile lock(LockPath(name));
    if (!lock.tryLock(2000))
        return false;
    // Listening replaces whatever socket holds the name, so ask first whether an instance
    // still answers there; what is left is a socket of one that ended without closing it.
    if (ListenerAnswers(name))
        return false;
    return m_pServer->Listen(name);
}

void CSingleInstance::Watch(const QString& name) {
    // A connection held open to the listener: it drops when the listener ends, quit or killed.
    // A start only comes after the last connection ended or could not be made.
    if (!m_pWatch->Watch(name))
        RetryLater(1000);
}

void CSingleInstance::RetryLater(int ms) {
    if (m_bRetryPending)
        return;
    m_bRetryPending = true;
    QTimer::singleShot(ms, this, &CSingleInstance::Start);
}

} // namespace saroko::ui
