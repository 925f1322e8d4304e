#pragma once
// Serves a line peer (the simulated recorder) on a Windows COM port, one end of a virtual
// null-modem pair whose other end a program opens as the recorder's port.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "core/recorder/MemoryLine.h"

namespace saroko {

class CComPortHost {
public:
    CComPortHost();
    ~CComPortHost();
    CComPortHost(const CComPortHost&) = delete;
    CComPortHost& operator=(const CComPortHost&) = delete;

    // Opens `port` ("COM5") alone, 9600 baud 8N1; false with `error` set in the system's words.
    bool Open(const std::string& port, std::string& error);
    // The port's name as given.
    const std::string& DevicePath() const { return m_szPort; }
    // Microseconds since the host was made: the peer's clock.
    uint64_t NowUs() const;
    // Passes bytes both ways, each at its time, until `stop` turns true.
    void Serve(ILinePeer& peer, const std::atomic<bool>& stop);

private:
    void* m_hPort = nullptr;
    std::string m_szPort;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace saroko
