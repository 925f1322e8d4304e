#include "platform/PtyHost.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace saroko {
namespace {

uint64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000ULL + static_cast<uint64_t>(ts.tv_nsec);
}

constexpr uint64_t kMaxWaitUs = 100000; // how often `stop` is looked at

} // namespace

CPtyHost::CPtyHost() : m_startNs(MonotonicNs()) {}

CPtyHost::~CPtyHost() {
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

uint64_t CPtyHost::NowUs() const {
    return (MonotonicNs() - m_startNs) / 1000;
}

bool CPtyHost::Open(std::string& error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        error = std::string("ptsname: ") + std::strerror(errno);
        return false;
    }
    m_szSlave = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0) {
        error = "cannot open " + m_szSlave + ": " + std::strerror(errno);
        return false;
    }
    // Raw bytes: no echo, no line editing, no CR/LF translation.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    return true;
}

void CPtyHost::Serve(ILinePeer& peer, const std::atomic<bool>& stop) {
    std::vector<uint8_t> pending;
    uint8_t buf[512];
    while (!stop.load()) {
        uint64_t now = NowUs();
        uint64_t ready = 0;
        while (peer.NextOutputTime(ready) && ready <= now)
            pending.push_back(peer.PopOutput());
        if (!pending.empty()) {
            const ssize_t n = ::write(m_master, pending.data(), pending.size());
            if (n > 0)
                pending.erase(pending.begin(), pending.begin() + n);
        }

        uint64_t waitUs = kMaxWaitUs;
        if (peer.NextOutputTime(ready))
            waitUs = ready > now ? std::min(waitUs, ready - now) : 0;
        pollfd pfd{m_master, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
        if (!pending.empty())
            waitUs = std::min<uint64_t>(waitUs, 1000);
        const timespec ts{static_cast<time_t>(waitUs / 1000000),
                          static_cast<long>(waitUs % 1000000) * 1000};
        if (::ppoll(&pfd, 1, &ts, nullptr) <= 0)
            continue;
        if (pfd.revents & POLLIN) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            now = NowUs();
            for (ssize_t i = 0; i < n; ++i)
                peer.OnHostByte(buf[i], now);
        }
    }
}

} // namespace saroko
