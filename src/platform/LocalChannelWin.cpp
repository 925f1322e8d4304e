// The local channel on Windows: a named pipe \\.\pipe\<name>, the kind QLocalServer makes there,
// with the same one-line protocol, line limit and deadline as the Unix socket. The pipe is open
// to this user only (its access list names nobody else), and a client talks only to a pipe this
// user owns.
#ifdef _WIN32
#include "platform/LocalChannel.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <QWinEventNotifier>
#include <memory>
#include <utility>
#include <vector>

#include "core/text/LineGather.h"

#include <windows.h>
// The security and device headers want windows.h before them.
#include <aclapi.h>
#include <sddl.h>

namespace saroko {
namespace {

// A handle closed with its owner.
class CHandle {
public:
    explicit CHandle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~CHandle() { Reset(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    HANDLE Get() const { return m_h; }
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE Release() { return std::exchange(m_h, INVALID_HANDLE_VALUE); }
    void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (Valid())
            ::CloseHandle(m_h);
        m_h = h;
    }

private:
    HANDLE m_h;
};

std::wstring PipePath(const QString& name) {
    return (QStringLiteral("\\\\.\\pipe\\") + name).toStdWString();
}

// This process's user, as a SID in a buffer of its own.
std::vector<BYTE> UserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const CHandle owned(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> info(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, info.data(), size, &size))
        return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid;
    std::vector<BYTE> out(::GetLengthSid(sid));
    ::CopySid(static_cast<DWORD>(out.size()), out.data(), sid);
    return out;
}

// Whether the pipe behind `h` belongs to this user: a pipe somebody else made first under the
// name is not told anything.
bool OwnedByUser(HANDLE h) {
    const std::vector<BYTE> me = UserSid();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (me.empty() || ::GetSecurityInfo(h, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                        nullptr, nullptr, nullptr, &sd) != ERROR_SUCCESS)
        return false;
    const bool same = owner && ::EqualSid(owner, const_cast<BYTE*>(me.data()));
    ::LocalFree(sd);
    return same;
}

// Connects to the pipe, waiting for a free instance until `deadline`; an invalid handle when
// there is no such pipe, it is another user's, or the time is up.
HANDLE Connect(const QString& name, const QDeadlineTimer& deadline) {
    const std::wstring path = PipePath(name);
    for (;;) {
        HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            if (OwnedByUser(h))
                return h;
            ::CloseHandle(h);
            return INVALID_HANDLE_VALUE;
        }
        if (::GetLastError() != ERROR_PIPE_BUSY || deadline.hasExpired())
            return INVALID_HANDLE_VALUE;
        ::WaitNamedPipeW(path.c_str(), static_cast<DWORD>(std::max<qint64>(
                                           1, std::min<qint64>(deadline.remainingTime(), 50))));
    }
}

// One overlapped transfer on `h`, waited for until `deadline`; the bytes moved, or -1.
qint64 Transfer(HANDLE h, bool write, void* data, DWORD size, const QDeadlineTimer& deadline) {
    OVERLAPPED ov{};
    const CHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ov.hEvent = event.Get();
    DWORD done = 0;
    const BOOL ok =
        write ? ::WriteFile(h, data, size, nullptr, &ov) : ::ReadFile(h, data, size, nullptr, &ov);
    if (!ok && ::GetLastError() != ERROR_IO_PENDING)
        return -1;
    const DWORD wait = static_cast<DWORD>(std::max<qint64>(deadline.remainingTime(), 0));
    if (::WaitForSingleObject(ov.hEvent, wait) != WAIT_OBJECT_0) {
        ::CancelIo(h);
        ::GetOverlappedResult(h, &ov, &done, TRUE);
        return -1;
    }
    if (!::GetOverlappedResult(h, &ov, &done, FALSE))
        return -1;
    return done;
}

// An overlapped read kept going on a pipe, its completion reported through the event loop.
class CPendingRead {
public:
    CPendingRead() : m_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_ov.hEvent = m_event.Get();
    }
    ~CPendingRead() { Cancel(); }
    HANDLE Event() const { return m_event.Get(); }
    // Starts a read; its end, data or a broken pipe, sets the event.
    void Start(HANDLE h) {
        m_h = h;
        m_ov = OVERLAPPED{};
        m_ov.hEvent = m_event.Get();
        ::ResetEvent(m_event.Get());
        m_pending = ::ReadFile(h, m_buf, sizeof m_buf, nullptr, &m_ov) ||
                    ::GetLastError() == ERROR_IO_PENDING;
        if (!m_pending)
            ::SetEvent(m_event.Get()); // the failure comes through Finish like any other
    }
    // The bytes read, or -1 when the other end went.
    qint64 Finish() {
        DWORD n = 0;
        const bool was = std::exchange(m_pending, false);
        if (!was || !::GetOverlappedResult(m_h, &m_ov, &n, FALSE))
            return -1;
        return n;
    }
    const char* Data() const { return m_buf; }
    void Cancel() {
        if (m_pending) {
            DWORD n = 0;
            ::CancelIoEx(m_h, &m_ov);
            ::GetOverlappedResult(m_h, &m_ov, &n, TRUE);
            m_pending = false;
        }
    }

private:
    CHandle m_event;
    OVERLAPPED m_ov{};
    HANDLE m_h = INVALID_HANDLE_VALUE;
    bool m_pending = false;
    char m_buf[4096];
};

// Waits in the event loop until a client connects to the pipe instance `h`.
class CPendingConnect {
public:
    CPendingConnect() : m_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CPendingConnect() { Cancel(); }
    HANDLE Event() const { return m_event.Get(); }
    void Start(HANDLE h) {
        m_h = h;
        m_ov = OVERLAPPED{};
        m_ov.hEvent = m_event.Get();
        ::ResetEvent(m_event.Get());
        if (::ConnectNamedPipe(h, &m_ov)) {
            ::SetEvent(m_event.Get());
            return;
        }
        const DWORD e = ::GetLastError();
        m_pending = e == ERROR_IO_PENDING;
        if (e == ERROR_PIPE_CONNECTED || !m_pending)
            ::SetEvent(m_event.Get()); // connected already; a failure shows when read
    }
    void Finish() { m_pending = false; }
    void Cancel() {
        if (m_pending) {
            DWORD n = 0;
            ::CancelIoEx(m_h, &m_ov);
            ::GetOverlappedResult(m_h, &m_ov, &n, TRUE);
            m_pending = false;
        }
    }

private:
    CHandle m_event;
    OVERLAPPED m_ov{};
    HANDLE m_h = INVALID_HANDLE_VALUE;
    bool m_pending = false;
};

// The client must read its answer before the connection goes: it is closed when the client
// closes its end, or after this long.
constexpr int kAnswerGraceMs = 5000;

} // namespace

// One accepted connection: gathers bytes up to the first line end.
class CLineConnection : public QObject {
public:
    CLineConnection(HANDLE pipe, CLineListener& listener, char reply)
        : QObject(&listener), m_pipe(pipe), m_notifier(m_read.Event(), this), m_listener(listener),
          m_reply(reply) {
        connect(&m_notifier, &QWinEventNotifier::activated, this, [this] { Read(); });
        m_read.Start(m_pipe.Get());
    }
    ~CLineConnection() override { m_read.Cancel(); }

private:
    void Read();
    void Close() {
        m_notifier.setEnabled(false);
        m_read.Cancel();
        m_pipe.Reset();
        deleteLater();
    }

    CHandle m_pipe;
    CPendingRead m_read;
    QWinEventNotifier m_notifier;
    CLineListener& m_listener;
    char m_reply;
    std::string m_line;
    bool m_answered = false;
};

void CLineConnection::Read() {
    const qint64 n = m_read.Finish();
    if (n < 0)
        return Close(); // the client went (before its line ended, or after its answer)
    if (m_answered) {
        m_read.Start(m_pipe.Get()); // bytes after the line are not looked at
        return;
    }
    const LineStep step =
        GatherLine(m_line, std::string_view(m_read.Data(), static_cast<std::size_t>(n)),
                   static_cast<std::size_t>(CLineListener::kMaxLine));
    if (step == LineStep::kTooLong)
        return Close();
    if (step == LineStep::kMore) {
        m_read.Start(m_pipe.Get());
        return;
    }
    char reply = m_reply;
    Transfer(m_pipe.Get(), true, &reply, 1, QDeadlineTimer(1000));
    // Closing now could lose the answer before the client read it: the connection stays until
    // the client closes it, and does nothing more.
    m_answered = true;
    m_read.Start(m_pipe.Get());
    QTimer::singleShot(kAnswerGraceMs, this, [this] { Close(); });
    // The connection is done with before whatever the line sets off, a dialog's event loop too.
    const QByteArray line = QByteArray::fromStdString(m_line);
    emit m_listener.lineReceived(line);
}

struct CLineListener::Impl {
    ~Impl() {
        connecting.Cancel();
        notifier.reset();
    }
    // A new instance of the pipe, open to this user only.
    HANDLE NewInstance(bool first) {
        const std::vector<BYTE> sid = UserSid();
        LPWSTR sidText = nullptr;
        if (sid.empty() || !::ConvertSidToStringSidW(const_cast<BYTE*>(sid.data()), &sidText))
            return INVALID_HANDLE_VALUE;
        const std::wstring sddl = L"O:" + std::wstring(sidText) + L"D:P(A;;GA;;;" + sidText + L")";
        ::LocalFree(sidText);
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                    &sd, nullptr))
            return INVALID_HANDLE_VALUE;
        SECURITY_ATTRIBUTES sa{sizeof sa, sd, FALSE};
        const DWORD open =
            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
        HANDLE h = ::CreateNamedPipeW(path.c_str(), open,
                                      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                                          PIPE_REJECT_REMOTE_CLIENTS,
                                      PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, &sa);
        ::LocalFree(sd);
        return h;
    }
    std::wstring path;
    CHandle waiting; // the instance a client connects to next
    CPendingConnect connecting;
    std::unique_ptr<QWinEventNotifier> notifier;
    char reply = 0;
    bool listening = false;
};

CLineListener::CLineListener(char reply, QObject* parent)
    : QObject(parent), m_p(std::make_unique<Impl>()) {
    m_p->reply = reply;
}

CLineListener::~CLineListener() = default;

bool CLineListener::IsListening() const {
    return m_p->listening;
}

bool CLineListener::Listen(const QString& name) {
    if (IsListening() || name.isEmpty())
        return false;
    m_p->path = PipePath(name);
    // The first instance fails when the name is taken: a pipe has no file left behind to
    // replace, it goes with its last handle.
    m_p->waiting.Reset(m_p->NewInstance(true));
    if (!m_p->waiting.Valid())
        return false;
    m_p->listening = true;
    m_p->notifier = std::make_unique<QWinEventNotifier>(m_p->connecting.Event());
    connect(m_p->notifier.get(), &QWinEventNotifier::activated, this, [this] {
        m_p->connecting.Finish();
        HANDLE client = m_p->waiting.Release();
        m_p->waiting.Reset(m_p->NewInstance(false));
        new CLineConnection(client, *this, m_p->reply);
        if (m_p->waiting.Valid())
            m_p->connecting.Start(m_p->waiting.Get());
    });
    m_p->connecting.Start(m_p->waiting.Get());
    return true;
}

std::optional<char> SendLine(const QString& name, QByteArrayView line, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    const CHandle pipe(Connect(name, deadline));
    if (!pipe.Valid())
        return std::nullopt;
    QByteArray out = line.toByteArray();
    out.append('\n');
    qsizetype sent = 0;
    while (sent < out.size()) {
        const qint64 n = Transfer(pipe.Get(), true, out.data() + sent,
                                  static_cast<DWORD>(out.size() - sent), deadline);
        if (n <= 0)
            return std::nullopt;
        sent += n;
    }
    char answer = 0;
    if (Transfer(pipe.Get(), false, &answer, 1, deadline) != 1)
        return std::nullopt;
    return answer;
}

bool ListenerAnswers(const QString& name) {
    const std::wstring path = PipePath(name);
    const CHandle pipe(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    // Every instance busy is a listener there all the same.
    return pipe.Valid() || ::GetLastError() == ERROR_PIPE_BUSY;
}

struct CListenerWatch::Impl {
    CHandle pipe;
    CPendingRead read;
    std::unique_ptr<QWinEventNotifier> notifier;
};

CListenerWatch::CListenerWatch(QObject* parent) : QObject(parent), m_p(std::make_unique<Impl>()) {}

CListenerWatch::~CListenerWatch() {
    m_p->notifier.reset();
    m_p->read.Cancel();
}

bool CListenerWatch::Watch(const QString& name) {
    m_p->notifier.reset();
    m_p->read.Cancel();
    m_p->pipe.Reset(Connect(name, QDeadlineTimer(0)));
    if (!m_p->pipe.Valid())
        return false;
    m_p->notifier = std::make_unique<QWinEventNotifier>(m_p->read.Event());
    connect(m_p->notifier.get(), &QWinEventNotifier::activated, this, [this] {
        if (m_p->read.Finish() >= 0) {
            m_p->read.Start(m_p->pipe.Get()); // only bytes, the listener still there
            return;
        }
        m_p->notifier->setEnabled(false);
        m_p->pipe.Reset();
        emit ended();
    });
    m_p->read.Start(m_p->pipe.Get());
    return true;
}

} // namespace saroko
#endif
