// The QSerialPort line on a real pseudo-terminal: time-outs as the protocol counts them, no
// processor burnt while waiting, exclusive opening, and the port's own flow control kept.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include "core/recorder/CommRig.h"
#include "core/recorder/Protocol.h"
#include "platform/PtyHost.h"
#include "platform/SerialPortLine.h"

namespace saroko::test {
namespace {

double ThreadCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec +
           u.ru_stime.tv_usec / 1e6;
}

class SerialLineOnPty : public ::testing::Test {
protected:
    void Serve(ILinePeer& peer) {
        std::string error;
        ASSERT_TRUE(m_host.Open(error)) << error;
        m_thread = std::thread([this, &peer] { m_host.Serve(peer, m_stop); });
    }
    void TearDown() override {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    CPtyHost m_host;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST_F(SerialLineOnPty, ReadTimesOutOnlyAfterTheSilence) {
    CTimedPeer peer({{200'000, 0x41}}, true);
    Serve(peer);
    CQtSerialLine line;
    ASSERT_EQ(line.Open(m_host.DevicePath(), 9600), 0);
    ASSERT_EQ(line.WriteByte(0x00), 0);

    using clock = std::chrono::steady_clock;
    auto t0 = clock::now();
    uint8_t b = 0;
    ASSERT_EQ(line.ReadByte(b, 500), 0);
    double ms = std::chrono::duration<double, std::milli>(clock::now() - t0).count();
    EXPECT_EQ(b, 0x41);
    EXPECT_GT(ms, 150);
    EXPECT_LT(ms, 300);

    t0 = clock::now();
    const double cpu0 = ThreadCpuSeconds();
    EXPECT_EQ(line.ReadByte(b, 500), 1);
    ms = std::chrono::duration<double, std::milli>(clock::now() - t0).count();
    const double cpu = ThreadCpuSeconds() - cpu0;
    EXPECT_GT(ms, 500);
    EXPECT_LT(ms, 650);
    EXPECT_LT(cpu, 0.05) << "the wait must sleep, not spin";
}

TEST_F(SerialLineOnPty, ExclusiveAndFlowControlKept) {
    CTimedPeer peer;
    Serve(peer);
    // The port was set up for hardware flow control before we came.
    const int fd = ::open(m_host.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    tio.c_cflag |= CRTSCTS;
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &tio), 0);
    ::close(fd);

    CQtSerialLine first, second;
    ASSERT_EQ(first.Open(m_host.DevicePath(), 9600), 0);
    EXPECT_EQ(second.Open(m_host.DevicePath(), 9600), COMM_OPEN_FAILED);
    EXPECT_FALSE(second.LastError().empty());
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.WriteByte(0), -1);

    // Root may open an exclusive terminal; others are refused.
    const int probe = ::open(m_host.DevicePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (probe >= 0) {
        termios now{};
        ASSERT_EQ(tcgetattr(probe, &now), 0);
        EXPECT_TRUE(now.c_cflag & CRTSCTS);
        ::close(probe);
    }
    first.Close();
    EXPECT_EQ(second.Open(m_host.DevicePath(), 9600), 0);
}

} // namespace
} // namespace saroko::test
