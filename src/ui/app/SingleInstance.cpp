#include "ui/app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
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
#else
    return QLatin1String(kOpenFileServerName);
#endif
}

CSingleInstance::CSingleInstance(QObject* parent)
    : QObject(parent), m_pServer(new QLocalServer(this)) {
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QString path = QString::fromUtf8(socket->readLine()).trimmed();
                socket->write("+");
                socket->flush();
                if (!path.isEmpty())
                    emit fileReceived(path);
            });
        }
    });
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
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The receiver acknowledges once it has the whole path; it opens the file afterwards.
    if (!socket.waitForReadyRead(timeoutMs))
        return false;
    return socket.read(1) == "+";
}

bool CSingleInstance::IsListening() const {
    return m_pServer->isListening();
}

void CSingleInstance::Start() {
    m_bRetryPending = false;
    if (m_pServer->isListening())
        return;
    const QString name = ServerName();
    if (name.isEmpty())
        return; // no private place for the name: this instance stays on its own
    if (!Listen(name)) {
        Watch(name);
        return;
    }
    if (m_pWatch) {
        m_pWatch->disconnect(this);
        m_pWatch->deleteLater();
        m_pWatch = nullptr;
    }
}

bool CSingleInstance::Listen(const QString& name) {
    // Instances taking the name over at once must not remove each other's socket.
    QLockFile lock(LockPath(name));
    if (!lock.tryLock(2000))
        return false;
    // Listening replaces whatever socket holds the name, so ask first whether an instance
    // still answers there; what is left is a socket of one that ended without closing it.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(name);
    return m_pServer->listen(name);
}

void CSingleInstance::Watch(const QString& name) {
    if (m_pWatch) {
        m_pWatch->disconnect(this);
        m_pWatch->deleteLater();
    }
    // A connection held open to the listener: it drops when the listener ends, quit or killed.
    m_pWatch = new QLocalSocket(this);
    connect(m_pWatch, &QLocalSocket::disconnected, this, [this] { RetryLater(50); });
    connect(m_pWatch, &QLocalSocket::errorOccurred, this, [this](QLocalSocket::LocalSocketError e) {
        if (e != QLocalSocket::PeerClosedError)
            RetryLater(1000);
    });
    m_pWatch->connectToServer(name);
}

void CSingleInstance::RetryLater(int ms) {
    if (m_bRetryPending)
        return;
    m_bRetryPending = true;
    QTimer::singleShot(ms, this, &CSingleInstance::Start);
}

} // namespace saroko::ui
