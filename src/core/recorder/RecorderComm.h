#pragma once
// One exchange with the recorder: the port is open from Open until ClosePort or destruction,
// and the sixteen numbered commands run through Execute.
#include <array>
#include <cstdint>
#include <string>

#include "core/document/RecorderSettings.h"
#include "core/recorder/Protocol.h"
#include "core/recorder/SerialLine.h"

namespace saroko {

class CKeptTranscriptLine;
class IClock;
class IMessageSink;
class ISettingsStore;

// What the download commands report to the window that runs them.
class IDownloadOwner {
public:
    virtual ~IDownloadOwner() = default;
    virtual void ResetStatus() = 0;
    // The header is in the buffer; the settings block was read before.
    virtual void ShowHeader() = 0;
    virtual void SetTotalText(const std::string& text) = 0;
    virtual void SetReceivedText(const std::string& text) = 0;
    virtual void PaintProgress() = 0;

    int steps = 20;
    int progress = 0;
    uint32_t downloadTime = 0;
};

// The storage a command works on; each command uses only what it needs and fails with
// COMM_FAILED when that is missing.
struct CommandBlock {
    uint8_t* params = nullptr;                 // 4 bytes sent as p0..p3
    uint8_t* reply = nullptr;                  // 4 bytes receiving d0..d3
    RecorderSettings* data = nullptr;          // commands 4 and 5
    std::array<uint32_t, 16>* words = nullptr; // commands 2 and 3
    uint8_t* buffer = nullptr;                 // kDownloadBufferSize bytes, commands 0 and 1
};

// The services an exchange needs from the program.
struct CommServices {
    ISerialLine* line = nullptr;
    IMessageSink* sink = nullptr;
    const IClock* clock = nullptr; // download time
    PortTarget port;               // the device the exchange opens
    std::string keepFolder;        // when set, every download is kept there
    // When set, a failure names the file of its transcript, if the exchange began.
    const CKeptTranscriptLine* transcript = nullptr;
};

// Whether Execute wakes the recorder before the command, and which results it shows.
enum class Wake { No, First };
enum class ShowResult { Never, Always, OnFailure };
// The command test's typed message field: 0 never, 1 always, 2 failures only, else never.
ShowResult ShowResultFromCode(int code);

class CRecorderComm {
public:
    CRecorderComm(const CommServices& services, uint32_t baud);
    ~CRecorderComm();
    CRecorderComm(const CRecorderComm&) = delete;
    CRecorderComm& operator=(const CRecorderComm&) = delete;

    void SetOwner(IDownloadOwner* owner) { m_pOwner = owner; }

    // Opens the port and shows nothing: a negative result is the caller's to show.
    int Open();

    // Runs command 0..15.
    int Execute(int command, const CommandBlock& block, Wake wake, ShowResult show);

    // Shows the message of a result, if it has one, and returns the result.
    int ShowCommResult(int code);

    // Port side.
    void ClosePort();
    int WriteByte(uint8_t b);
    int ReadByte(uint8_t& dest, uint32_t timeoutMs, uint32_t gatherMs = 0);
    void BusyWait(uint32_t ms);
    void DrainInput();
    int WakeRecorder();

    // One short frame: request code + params, reply byte 0 and d0..d3 into `reply`.
    int Transact(int retries, const ShortFrame& request, uint8_t reply[5]);

    const std::string& DeviceName() const { return m_services.port.device; }
    int PortNo() const { return m_services.port.portNo; }

private:
    bool WriteAll(std::span<const uint8_t> bytes);
    bool ReadCounted(uint8_t* dest, std::size_t count, int& received);
    int RunCommand(int command);
    int ShortCommand(uint8_t code);
    int WriteSettings();
    int ReadSettings();
    int WriteWords();
    int ReadWords();
    int Download(bool paced);
    int DownloadAttempt(bool paced);

    CommServices m_services;
    ISerialLine& m_line;
    uint32_t m_nBaud;
    IDownloadOwner* m_pOwner = nullptr;
    int m_nCommand = 0;
    CommandBlock m_block;
};

} // namespace saroko
