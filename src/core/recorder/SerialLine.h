#pragma once
// One byte-stream interface for every transport to the recorder: the real serial port, the
// simulator's in-memory line and scripted fakes. Bytes go one at a time, as the recorder
// protocol wants them.
#include <cstddef>
#include <cstdint>
#include <string>

namespace saroko {

class ISettingsStore;

class ISerialLine {
public:
    virtual ~ISerialLine() = default;

    // Opens the device exclusively at `baud` 8N1. Returns 0 or a communication result code:
    // -1 cannot open, -5 line settings refused, -999 line state unreadable.
    virtual int Open(const std::string& device, uint32_t baud) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Discards what waits in both queues.
    virtual void Purge() = 0;
    // 0 when the byte was accepted, -1 otherwise.
    virtual int WriteByte(uint8_t b) = 0;
    // A byte that has already arrived, without waiting.
    virtual bool TryReadByte(uint8_t& b) = 0;
    // Waits until input arrives or `maxMs` pass. The windows keep painting meanwhile (user
    // input is not handled) and the wait does not spin the processor.
    virtual void WaitForInput(uint32_t maxMs) = 0;
    // Waits `ms` whatever arrives, so that a run of bytes gathers and is taken with one
    // wake-up instead of one per byte; the windows keep painting as in WaitForInput.
    virtual void Gather(uint32_t ms) = 0;
    // Millisecond tick count; wraps like a u32.
    virtual uint32_t TickCount() const = 0;
    // A pause during which nothing else is handled.
    virtual void Sleep(uint32_t ms) = 0;

    // Reads one byte: a waiting byte comes at once; 1 is returned only after more than
    // `timeoutMs` of silence, 0 when `dest` holds the byte. With `gatherMs`, a silent line is
    // looked at again every `gatherMs` instead of at its first byte; the last look is still
    // the one just after the time-out, so the time-out ends where it did.
    int ReadByte(uint8_t& dest, uint32_t timeoutMs, uint32_t gatherMs = 0);
};

// How long a read may let the next `expected` bytes gather: the time they take on the wire
// at `baud` (ten bits a byte), at most kMaxGatherMs; 0 (wait for the byte itself) when one
// byte or none is expected.
inline constexpr uint32_t kMaxGatherMs = 10;
uint32_t GatherMs(std::size_t expected, uint32_t baud);

// The device a COM number opens: the path bound to "COM<n>" in the communication section, else
// on Windows "COM%d" (device-namespace form from 10 on), elsewhere /dev/ttyS<n-1>.
std::string PortDeviceName(int portNo, const ISettingsStore* store);

// The port an exchange opens: the COM number the user chose and the device it stands for,
// worked out once by whoever starts the exchange and passed down as it is.
struct PortTarget {
    int portNo = 1;
    std::string device;
};
PortTarget ResolvePort(int portNo, const ISettingsStore* store);
// The name under which a device compares: on Windows the port name without the device
// namespace ("\\.\COM3" and "com3" are "COM3"), elsewhere the path as it is.
std::string NormalisedPortName(const std::string& device);
// Whether two names open the same device (the system's listing and a binding may differ).
bool SameSerialDevice(const std::string& a, const std::string& b);
// The section and entry that bind a COM number to a device path.
inline constexpr const char* kRecorderCommSection = "KM4x Communication Section";
std::string PortBindingEntry(int portNo);

} // namespace saroko
