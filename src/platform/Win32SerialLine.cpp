#include "platform/Win32SerialLine.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

#include "core/recorder/Protocol.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace saroko {
namespace {

// Slices of a wait: `pump` runs between them, the port's event is waited on inside them.
constexpr DWORD kSliceMs = 20;
// The pump runs at most this often while bytes stream in one by one.
constexpr uint32_t kPumpEveryMs = 10;
// A byte the driver has not taken after this long is a write that failed.
constexpr DWORD kWriteTimeoutMs = 1000;

HANDLE H(void* h) {
    return static_cast<HANDLE>(h);
}

std::wstring Wide(const std::string& s) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), size);
    return out;
}

// Waits for an overlapped call that went pending, at most `ms`; cancels it when it does not
// end in time. The bytes it moved, or -1.
long Finish(HANDLE port, OVERLAPPED& ov, DWORD ms) {
    DWORD moved = 0;
    if (WaitForSingleObject(ov.hEvent, ms) != WAIT_OBJECT_0) {
        CancelIo(port);
        GetOverlappedResult(port, &ov, &moved, TRUE);
        return -1;
    }
    return GetOverlappedResult(port, &ov, &moved, FALSE) ? static_cast<long>(moved) : -1;
}

} // namespace

std::string CWin32SerialLine::SystemText(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out;
    if (n != 0 && text) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), nullptr, 0,
                                             nullptr, nullptr);
        out.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), out.data(), size, nullptr,
                            nullptr);
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
            out.pop_back();
    }
    if (text)
        LocalFree(text);
    return out.empty() ? "error " + std::to_string(error) : out;
}

struct CWin32SerialLine::Pending {
    OVERLAPPED ov{};
    DWORD mask = 0;
    bool pending = false;
};

CWin32SerialLine::CWin32SerialLine(std::function<void()> pump)
    : m_pump(std::move(pump)), m_wait(std::make_unique<Pending>()) {}

CWin32SerialLine::~CWin32SerialLine() {
    Close();
}

std::string CWin32SerialLine::DevicePath(const std::string& device) {
    if (device.size() > 3 && device.size() <= 6 &&
        std::equal(
            device.begin(), device.begin() + 3, "COM",
            [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }) &&
        std::all_of(device.begin() + 3, device.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        std::string name = "COM" + device.substr(3);
        return "\\\\.\\" + name;
    }
    return device;
}

int CWin32SerialLine::Open(const std::string& device, uint32_t baud) {
    Close();
    m_szError.clear();
    HANDLE port = CreateFileW(Wide(DevicePath(device)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        m_szError = SystemText(GetLastError());
        return COMM_OPEN_FAILED;
    }
    m_hPort = port;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) {
        m_szError = SystemText(GetLastError());
        Close();
        return COMM_FAILED;
    }
    // The rate and the frame are ours; the flow control and the modem lines stay the port's.
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fAbortOnError = FALSE;
    // Reads return at once with what has come; a write has its own time-out.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    if (!SetCommState(port, &dcb) || !SetCommTimeouts(port, &timeouts) ||
        !SetCommMask(port, EV_RXCHAR)) {
        m_szError = SystemText(GetLastError());
        Close();
        return COMM_BAD_SETTINGS;
    }
    m_hRead = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hWrite = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_wait->ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!m_hRead || !m_hWrite || !m_wait->ov.hEvent) {
        m_szError = SystemText(GetLastError());
        Close();
        return COMM_NO_QUEUES;
    }
    return COMM_OK;
}

void CWin32SerialLine::Close() {
    if (m_hPort) {
        // A wait still pending ends when the mask is cleared; then nothing refers to it.
        if (m_wait->pending) {
            SetCommMask(H(m_hPort), 0);
            CancelIo(H(m_hPort));
            DWORD moved = 0;
            GetOverlappedResult(H(m_hPort), &m_wait->ov, &moved, TRUE);
            m_wait->pending = false;
        }
        CloseHandle(H(m_hPort));
        m_hPort = nullptr;
    }
    for (void** h : {&m_hRead, &m_hWrite})
        if (*h) {
            CloseHandle(H(*h));
            *h = nullptr;
        }
    if (m_wait->ov.hEvent) {
        CloseHandle(m_wait->ov.hEvent);
        m_wait->ov.hEvent = nullptr;
    }
    m_in.clear();
    m_nInPos = 0;
}

bool CWin32SerialLine::IsOpen() const {
    return m_hPort != nullptr;
}

void CWin32SerialLine::Purge() {
    if (!IsOpen())
        return;
    PurgeComm(H(m_hPort), PURGE_RXCLEAR | PURGE_TXCLEAR);
    m_in.clear();
    m_nInPos = 0;
}

int CWin32SerialLine::WriteByte(uint8_t b) {
    if (!IsOpen())
        return -1;
    OVERLAPPED ov{};
    ov.hEvent = H(m_hWrite);
    ResetEvent(ov.hEvent);
    DWORD written = 0;
    if (WriteFile(H(m_hPort), &b, 1, &written, &ov))
        return written == 1 ? 0 : -1;
    if (GetLastError() != ERROR_IO_PENDING)
        return -1;
    return Finish(H(m_hPort), ov, kWriteTimeoutMs) == 1 ? 0 : -1;
}

uint32_t CWin32SerialLine::Queued() {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(H(m_hPort), &errors, &stat))
        return 0;
    return stat.cbInQue;
}

bool CWin32SerialLine::Fill() {
    if (!IsOpen())
        return false;
    if (m_nInPos == m_in.size()) {
        m_in.clear();
        m_nInPos = 0;
    }
    const uint32_t queued = Queued();
    if (queued == 0)
        return false;
    std::vector<uint8_t> bytes(queued);
    OVERLAPPED ov{};
    ov.hEvent = H(m_hRead);
    ResetEvent(ov.hEvent);
    DWORD got = 0;
    if (!ReadFile(H(m_hPort), bytes.data(), queued, &got, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING)
            return false;
        const long n = Finish(H(m_hPort), ov, kSliceMs);
        got = n > 0 ? static_cast<DWORD>(n) : 0;
    }
    m_in.insert(m_in.end(), bytes.begin(), bytes.begin() + got);
    return got > 0;
}

bool CWin32SerialLine::TryReadByte(uint8_t& b) {
    if (m_nInPos == m_in.size() && !Fill())
        return false;
    b = m_in[m_nInPos++];
    return true;
}

void CWin32SerialLine::WaitForInput(uint32_t maxMs) {
    if (!IsOpen()) {
        Sleep(maxMs);
        return;
    }
    const uint32_t start = TickCount();
    for (;;) {
        PumpWhenDue();
        if (m_nInPos < m_in.size() || Fill())
            return;
        const uint32_t elapsed = TickCount() - start;
        if (elapsed >= maxMs)
            return;
        // One wait for a received byte stays pending across slices until it is answered.
        if (!m_wait->pending) {
            HANDLE event = m_wait->ov.hEvent;
            m_wait->ov = OVERLAPPED{};
            m_wait->ov.hEvent = event;
            ResetEvent(event);
            if (WaitCommEvent(H(m_hPort), &m_wait->mask, &m_wait->ov))
                continue; // answered at once: a byte has come
            if (GetLastError() != ERROR_IO_PENDING) {
                Sleep(std::min<uint32_t>(maxMs - elapsed, kSliceMs));
                continue;
            }
            m_wait->pending = true;
        }
        // A byte that came just before the wait began raises no event: look once more.
        if (Queued() > 0)
            continue;
        if (WaitForSingleObject(m_wait->ov.hEvent, std::min<uint32_t>(maxMs - elapsed, kSliceMs)) ==
            WAIT_OBJECT_0) {
            DWORD moved = 0;
            GetOverlappedResult(H(m_hPort), &m_wait->ov, &moved, FALSE);
            m_wait->pending = false;
        }
    }
}

void CWin32SerialLine::Gather(uint32_t ms) {
    const uint32_t start = TickCount();
    for (uint32_t elapsed = 0; elapsed < ms; elapsed = TickCount() - start) {
        PumpWhenDue();
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min<uint32_t>(ms - elapsed, kSliceMs)));
    }
    Fill();
}

void CWin32SerialLine::PumpWhenDue() {
    if (!m_pump)
        return;
    const uint32_t now = TickCount();
    if (!m_bPumped || now - m_nLastPump >= kPumpEveryMs) {
        m_pump();
        m_nLastPump = now;
        m_bPumped = true;
    }
}

uint32_t CWin32SerialLine::TickCount() const {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CWin32SerialLine::Sleep(uint32_t ms) {
    ::Sleep(ms);
}

} // namespace saroko

#endif // _WIN32
