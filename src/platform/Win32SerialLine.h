#pragma once
// The recorder's line on a Windows COM port through the system's own serial calls: opened
// exclusively, 8N1 at the asked rate, the flow control the port has; reads never block, and the
// waits sleep on the port's "byte received" event in slices, handing each pause to `pump` so
// the windows keep painting. Needs nothing but the system, so the core's Windows tests take it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/recorder/SerialLine.h"

namespace saroko {

class CWin32SerialLine : public ISerialLine {
public:
    // `pump` runs between the slices of a wait (the window's events); it may be empty.
    explicit CWin32SerialLine(std::function<void()> pump = {});
    ~CWin32SerialLine() override;
    CWin32SerialLine(const CWin32SerialLine&) = delete;
    CWin32SerialLine& operator=(const CWin32SerialLine&) = delete;

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

    // Why the last Open failed, in the system's words.
    const std::string& LastError() const { return m_szError; }

    // The name CreateFile takes for a port: "COM3" and "com12" in the device namespace
    // ("\\.\COM12"); a name already in it, or any other path, as it is.
    static std::string DevicePath(const std::string& device);
    // A system error code (GetLastError) in the system's words.
    static std::string SystemText(unsigned long error);

private:
    // Takes in what the driver holds; true when something came.
    bool Fill();
    // Bytes waiting in the driver, without reading them.
    uint32_t Queued();
    void PumpWhenDue();

    std::function<void()> m_pump;
    void* m_hPort = nullptr;  // the port's handle, opened for overlapped calls
    void* m_hRead = nullptr;  // event of the reads
    void* m_hWrite = nullptr; // event of the writes
    // The wait for a received byte, which may stay pending across the slices of a wait.
    struct Pending;
    std::unique_ptr<Pending> m_wait;
    std::vector<uint8_t> m_in;
    std::size_t m_nInPos = 0;
    uint32_t m_nLastPump = 0;
    bool m_bPumped = false;
    std::string m_szError;
};

} // namespace saroko
