#pragma once
// A local stream channel under a name, for one line at a time: a client sends a line ending in
// '\n' and waits for a one-byte answer. The name is the path of a Unix socket file, the kind
// QLocalServer makes, so either side may be Qt's; the program needs no network library for it.
#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace saroko {

class CLineListener : public QObject {
    Q_OBJECT
public:
    // Lines longer than this are not taken: their connection is closed without an answer.
    static constexpr qsizetype kMaxLine = 64 * 1024;

    // Every line received is answered with `reply` before it is emitted.
    explicit CLineListener(char reply, QObject* parent = nullptr);
    ~CLineListener() override;

    // Listens under `name`, replacing a socket left there; only this user may connect.
    bool Listen(const QString& name);
    bool IsListening() const;

signals:
    void lineReceived(const QByteArray& line);

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};

// Sends `line` and '\n' to the listener under `name` and returns the first byte of its answer;
// nothing when it cannot connect or no answer comes within `timeoutMs` in all.
std::optional<char> SendLine(const QString& name, QByteArrayView line, int timeoutMs);

// Whether a listener takes a connection under `name`: a local connect is taken or refused at
// once, there is nothing to wait for.
bool ListenerAnswers(const QString& name);

// A connection held open to the listener under `name`, to learn when that listener ends.
class CListenerWatch : public QObject {
    Q_OBJECT
public:
    explicit CListenerWatch(QObject* parent = nullptr);
    ~CListenerWatch() override;

    // False when no connection could be made; `ended` follows only a connection that was.
    bool Watch(const QString& name);

signals:
    void ended();

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};

} // namespace saroko
