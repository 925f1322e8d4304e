#pragma once
// Serves a line peer (the simulated recorder) on a pseudo-terminal, so that programs open it
// as an ordinary serial device.
#include <atomic>
#include <cstdint>
#include <string>

#include "core/recorder/MemoryLine.h"

namespace saroko {

class CPtyHost {
public:
    CPtyHost();
    ~CPtyHost();
    CPtyHost(const CPtyHost&) = delete;
    CPtyHost& operator=(const CPtyHost&) = delete;

    // Creates the pseudo-terminal; false with `error` set when the system refuses.
    bool Open(std::string& error);
    // The device path a program opens, e.g. /dev/pts/3.
    const std::string& DevicePath() const { return m_szSlave; }
    // Microseconds since the host was made: the peer's clock.
    uint64_t NowUs() const;
    // Passes bytes both ways, each at its time, until `stop` turns true.
    void Serve(ILinePeer& peer, const std::atomic<bool>& stop);

private:
    int m_master = -1;
    int m_slave = -1; // held open so the master never sees a hang-up between clients
    std::string m_szSlave;
    uint64_t m_startNs = 0;
};

} // namespace saroko
