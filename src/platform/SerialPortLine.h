#pragma once
// The recorder's line on a real serial device through QSerialPort: exclusive, 8N1, flow
// control and modem lines as the port has them; waits keep the windows painting.
#include <QElapsedTimer>

#include <memory>

#include "core/recorder/SerialLine.h"

class QSerialPort;

namespace saroko {

class CQtSerialLine final : public ISerialLine {
public:
    CQtSerialLine();
    ~CQtSerialLine() override;

    int Open(const std::string& device, uint32_t baud) override;
    void Close() override;
    bool IsOpen() const override;
    void Purge() override;
    int WriteByte(uint8_t b) override;
    bool TryReadByte(uint8_t& b) override;
    void WaitForInput(uint32_t maxMs) override;
    void Gather(uint32_t ms) override;
    uint32_t TickCount() const override;
    void Sleep(uint32_t ms) override;

    // Why the last Open failed, in the system's words (for the command line).
    const std::string& LastError() const { return m_szError; }

private:
    void PumpEventsWhenDue();

    std::unique_ptr<QSerialPort> m_port;
    std::string m_szError;
    QElapsedTimer m_pumpTimer;
};

} // namespace saroko
