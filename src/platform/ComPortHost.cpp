#include "platform/ComPortHost.h"

#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/Win32SerialLine.h"

namespace saroko {
namespace {

// How long a pass sleeps when nothing is due: a byte at 9600 baud takes about 1 ms.
constexpr DWORD kIdleMs = 1;

HANDLE H(void* h) {
    return static_cast<HANDLE>(h);
}

} // namespace

CComPortHost::CComPortHost() : m_start(std::chrono::steady_clock::now()) {}

CComPortHost::~CComPortHost() {
    if (m_hPort)
        CloseHandle(H(m_hPort));
}

uint64_t CComPortHost::NowUs() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - m_start)
                                     .count());
}

bool CComPortHost::Open(const std::string& port, std::string& error) {
    const std::string path = CWin32SerialLine::DevicePath(port);
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = "cannot open " + port + ": " + CWin32SerialLine::SystemText(GetLastError());
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(h, &dcb);
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    SetCommState(h, &dcb);
    // Reads return at once with what is there; a write the driver does not take in a second
    // has failed.
    COMMTIMEOUTS to{};
    to.ReadIntervalTimeout = MAXDWORD;
    to.WriteTotalTimeoutConstant = 1000;
    SetCommTimeouts(h, &to);
    m_hPort = h;
    m_szPort = port;
    return true;
}

void CComPortHost::Serve(ILinePeer& peer, const std::atomic<bool>& stop) {
    std::vector<uint8_t> pending;
    uint8_t buf[512];
    while (!stop.load()) {
        bool moved = false;
        uint64_t now = NowUs();
        uint64_t ready = 0;
        while (peer.NextOutputTime(ready) && ready <= now)
            pending.push_back(peer.PopOutput());
        if (!pending.empty()) {
            DWORD written = 0;
            if (WriteFile(H(m_hPort), pending.data(), static_cast<DWORD>(pending.size()), &written,
                          nullptr) &&
                written > 0) {
                pending.erase(pending.begin(), pending.begin() + written);
                moved = true;
            }
        }
        DWORD got = 0;
        if (ReadFile(H(m_hPort), buf, sizeof buf, &got, nullptr) && got > 0) {
            now = NowUs();
            for (DWORD i = 0; i < got; ++i)
                peer.OnHostByte(buf[i], now);
            moved = true;
        }
        if (!moved)
            Sleep(kIdleMs);
    }
}

} // namespace saroko
