#include "platform/SerialPortLine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QThread>

#include <algorithm>
#include <chrono>

#include "core/recorder/Protocol.h"

#ifndef _WIN32
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace saroko {
namespace {

// Slices of a wait: events are handled between them, the port is polled inside them.
constexpr int kSliceMs = 20;
// Events are handled at most this often while bytes stream in one by one: the windows still
// repaint a hundred times a second, and a 9600-baud download costs little processor time.
constexpr qint64 kPumpEveryMs = 10;

// QSerialPort applies its own flow control at open; give it the one the port has now.
QSerialPort::FlowControl CurrentFlowControl(const std::string& device) {
#ifndef _WIN32
    const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return QSerialPort::NoFlowControl;
    termios tio{};
    const bool ok = ::tcgetattr(fd, &tio) == 0;
    ::close(fd);
    if (ok && (tio.c_cflag & CRTSCTS))
        return QSerialPort::HardwareControl;
    if (ok && (tio.c_iflag & (IXON | IXOFF)))
        return QSerialPort::SoftwareControl;
#else
    (void)device;
#endif
    return QSerialPort::NoFlowControl;
}

} // namespace

CQtSerialLine::CQtSerialLine() = default;
CQtSerialLine::~CQtSerialLine() {
    Close();
}

int CQtSerialLine::Open(const std::string& device, uint32_t baud) {
    Close();
    m_szError.clear();
    m_port = std::make_unique<QSerialPort>();
    m_port->setPortName(QString::fromStdString(device));
    m_port->setFlowControl(CurrentFlowControl(device));
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_szError = m_port->errorString().toStdString();
        const auto error = m_port->error();
        m_port.reset();
        return error == QSerialPort::UnsupportedOperationError ? COMM_BAD_SETTINGS
                                                               : COMM_OPEN_FAILED;
    }
    if (!m_port->setBaudRate(static_cast<qint32>(baud)) ||
        !m_port->setDataBits(QSerialPort::Data8) || !m_port->setParity(QSerialPort::NoParity) ||
        !m_port->setStopBits(QSerialPort::OneStop)) {
        m_szError = m_port->errorString().toStdString();
        Close();
        return COMM_BAD_SETTINGS;
    }
    return COMM_OK;
}

void CQtSerialLine::Close() {
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
}

bool CQtSerialLine::IsOpen() const {
    return m_port && m_port->isOpen();
}

void CQtSerialLine::Purge() {
    if (m_port)
        m_port->clear(QSerialPort::AllDirections);
}

int CQtSerialLine::WriteByte(uint8_t b) {
    if (!IsOpen())
        return -1;
    const char c = static_cast<char>(b);
    if (m_port->write(&c, 1) != 1)
        return -1;
    // Synchronous like the original write: the byte is with the driver when we return.
    while (m_port->bytesToWrite() > 0)
        if (!m_port->waitForBytesWritten(1000))
            return -1;
    return 0;
}

bool CQtSerialLine::TryReadByte(uint8_t& b) {
    if (!IsOpen() || m_port->bytesAvailable() <= 0)
        return false;
    char c = 0;
    if (m_port->read(&c, 1) != 1)
        return false;
    b = static_cast<uint8_t>(c);
    return true;
}

void CQtSerialLine::WaitForInput(uint32_t maxMs) {
    if (!IsOpen()) {
        Sleep(maxMs);
        return;
    }
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        PumpEventsWhenDue();
        if (m_port->bytesAvailable() > 0)
            return;
        const qint64 left = static_cast<qint64>(maxMs) - timer.elapsed();
        if (left <= 0)
            return;
        // Sleeps in poll() until the port has data or the slice ends: no spinning.
        m_port->waitForReadyRead(static_cast<int>(std::min<qint64>(left, kSliceMs)));
        if (m_port->bytesAvailable() > 0)
            return;
    }
}

void CQtSerialLine::Gather(uint32_t ms) {
    if (!IsOpen()) {
        Sleep(ms);
        return;
    }
    QElapsedTimer timer;
    timer.start();
    for (qint64 left = ms; left > 0; left = static_cast<qint64>(ms) - timer.elapsed()) {
        PumpEventsWhenDue();
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, kSliceMs)));
    }
    // The port's buffer fills only when it reads the device: take in what has come.
    m_port->waitForReadyRead(0);
}

void CQtSerialLine::PumpEventsWhenDue() {
    if (QCoreApplication::instance() &&
        (!m_pumpTimer.isValid() || m_pumpTimer.elapsed() >= kPumpEveryMs)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_pumpTimer.start();
    }
}

uint32_t CQtSerialLine::TickCount() const {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CQtSerialLine::Sleep(uint32_t ms) {
    QThread::msleep(ms);
}

} // namespace saroko
