#include "platform/LocalChannel.h"
#ifndef _WIN32

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

#include "core/text/LineGather.h"

namespace saroko {
namespace {

// A descriptor closed with its owner.
class CFd {
public:
    explicit CFd(int fd = -1) : m_fd(fd) {}
    ~CFd() { Reset(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    void Reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

bool Address(const QString& name, sockaddr_un& addr) {
    const QByteArray path = QFile::encodeName(name);
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

int NewSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// A connected socket that never blocks, or -1. A listener whose queue is full counts as none.
int Connect(const QString& name) {
    sockaddr_un addr;
    if (!Address(name, addr))
        return -1;
    CFd fd(NewSocket());
    if (fd.Get() < 0)
        return -1;
    int r;
    do
        r = ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    while (r != 0 && errno == EINTR);
    if (r != 0)
        return -1;
    return fd.Release();
}

// Waits for `events` on `fd` until `deadline`; false when the time is up first.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(deadline.remainingTime()));
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

// One accepted connection: gathers bytes up to the first line end.
class CLineConnection : public QObject {
public:
    CLineConnection(int fd, CLineListener& listener, char reply)
        : QObject(&listener), m_fd(fd), m_notifier(fd, QSocketNotifier::Read, this),
          m_listener(listener), m_reply(reply) {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this] { Read(); });
    }

private:
    void Read();
    void Close() {
        m_notifier.setEnabled(false);
        m_fd.Reset();
        deleteLater();
    }

    CFd m_fd;
    QSocketNotifier m_notifier;
    CLineListener& m_listener;
    char m_reply;
    std::string m_line;
};

struct CLineListener::Impl {
    ~Impl() {
        // The socket file goes with the listener, unless another has put its own there since.
        struct stat st;
        if (fd.Get() >= 0 && ::lstat(path.c_str(), &st) == 0 &&
            std::pair(st.st_dev, st.st_ino) == bound)
            ::unlink(path.c_str());
    }
    CFd fd;
    std::unique_ptr<QSocketNotifier> notifier;
    char reply = 0;
    std::string path;
    std::pair<dev_t, ino_t> bound{};
};

void CLineConnection::Read() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::recv(m_fd.Get(), buf, sizeof buf, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0)
            return Close(); // the client went before its line ended
        const LineStep step = GatherLine(m_line, std::string_view(buf, static_cast<std::size_t>(n)),
                                         static_cast<std::size_t>(CLineListener::kMaxLine));
        if (step == LineStep::kTooLong)
            return Close();
        if (step == LineStep::kMore)
            continue;
        ::send(m_fd.Get(), &m_reply, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        // The connection is done before whatever the line sets off, a dialog's event loop too.
        const QByteArray line = QByteArray::fromStdString(m_line);
        CLineListener& listener = m_listener;
        Close();
        emit listener.lineReceived(line);
        return;
    }
}

CLineListener::CLineListener(char reply, QObject* parent)
    : QObject(parent), m_p(std::make_unique<Impl>()) {
    m_p->reply = reply;
}

CLineListener::~CLineListener() = default;

bool CLineListener::IsListening() const {
    return m_p->fd.Get() >= 0;
}

bool CLineListener::Listen(const QString& name) {
    if (IsListening())
        return false;
    sockaddr_un addr;
    if (!Address(name, addr))
        return false;
    CFd fd(NewSocket());
    if (fd.Get() < 0)
        return false;
    ::unlink(addr.sun_path);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
        return false;
    // Nobody connects before listen(), so the socket is closed to others before anyone can.
    if (::chmod(addr.sun_path, S_IRWXU) != 0 || ::listen(fd.Get(), 16) != 0) {
        ::unlink(addr.sun_path);
        return false;
    }
    struct stat st;
    if (::lstat(addr.sun_path, &st) == 0)
        m_p->bound = {st.st_dev, st.st_ino};
    m_p->path = addr.sun_path;
    m_p->fd.Reset(fd.Release());
    m_p->notifier = std::make_unique<QSocketNotifier>(m_p->fd.Get(), QSocketNotifier::Read);
    connect(m_p->notifier.get(), &QSocketNotifier::activated, this, [this] {
        for (;;) {
            const int client =
                ::accept4(m_p->fd.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (client < 0) {
                if (errno == EINTR || errno == ECONNABORTED)
                    continue;
                return; // none waiting, or out of descriptors: the next ready signal retries
            }
            new CLineConnection(client, *this, m_p->reply);
        }
    });
    return true;
}

std::optional<char> SendLine(const QString& name, QByteArrayView line, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    const CFd fd(Connect(name));
    if (fd.Get() < 0)
        return std::nullopt;
    QByteArray out = line.toByteArray();
    out.append('\n');
    qsizetype sent = 0;
    while (sent < out.size()) {
        const ssize_t n = ::send(fd.Get(), out.constData() + sent,
                                 static_cast<std::size_t>(out.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd.Get(), POLLOUT, deadline))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    for (;;) {
        char answer;
        const ssize_t n = ::recv(fd.Get(), &answer, 1, 0);
        if (n == 1)
            return answer;
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) ||
            !WaitFor(fd.Get(), POLLIN, deadline))
            return std::nullopt;
    }
}

bool ListenerAnswers(const QString& name) {
    return CFd(Connect(name)).Get() >= 0;
}

struct CListenerWatch::Impl {
    CFd fd;
    std::unique_ptr<QSocketNotifier> notifier;
};

CListenerWatch::CListenerWatch(QObject* parent) : QObject(parent), m_p(std::make_unique<Impl>()) {}

CListenerWatch::~CListenerWatch() = default;

bool CListenerWatch::Watch(const QString& name) {
    m_p->notifier.reset();
    m_p->fd.Reset(Connect(name));
    if (m_p->fd.Get() < 0)
        return false;
    m_p->notifier = std::make_unique<QSocketNotifier>(m_p->fd.Get(), QSocketNotifier::Read);
    connect(m_p->notifier.get(), &QSocketNotifier::activated, this, [this] {
        char buf[256];
        ssize_t n;
        do
            n = ::recv(m_p->fd.Get(), buf, sizeof buf, 0);
        while (n > 0 || (n < 0 && errno == EINTR));
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return; // only bytes, the listener still there
        m_p->notifier->setEnabled(false);
        m_p->fd.Reset();
        emit ended();
    });
    return true;
}

} // namespace saroko
#endif
