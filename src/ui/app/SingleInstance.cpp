#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace saroko::ui {

QString CSingleInstance::ServerName() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists())
        return QString::fromLocal8Bit(runtime) + QLatin1Char('/') +
               QLatin1String(kOpenFileServerName);
    return QLatin1String(kOpenFileServerName);
}

CSingleInstance::CSingleInstance(QObject* parent)
    : QObject(parent), m_pServer(new QLocalServer(this)) {}

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::HandOver(const QString& path, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
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

bool CSingleInstance::Listen() {
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(ServerName())) {
        if (m_pServer->serverError() != QAbstractSocket::AddressInUseError)
            return false;
        // A socket left by a crashed instance: take it over only when nobody answers.
        QLocalSocket probe;
        probe.connectToServer(ServerName());
        if (probe.waitForConnected(500))
            return false;
        QLocalServer::removeServer(ServerName());
        if (!m_pServer->listen(ServerName()))
            return false;
    }
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
    return true;
}

} // namespace saroko::ui
