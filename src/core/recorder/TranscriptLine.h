#pragma once
// Logs every byte that passes a line as a hex dump with times: a user sends it along with a
// failed download, and saved transcripts replay as test fixtures.
#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/recorder/SerialLine.h"

namespace saroko {

class CTranscriptLine final : public ISerialLine {
public:
    CTranscriptLine(ISerialLine& inner, std::ostream& out);
    ~CTranscriptLine() override;

    int Open(const std::string& device, uint32_t baud) override;
    void Close() override;
    bool IsOpen() const override { return m_inner.IsOpen(); }
    void Purge() override;
    int WriteByte(uint8_t b) override;
    bool TryReadByte(uint8_t& b) override;
    void WaitForInput(uint32_t maxMs) override { m_inner.WaitForInput(maxMs); }
    void Gather(uint32_t ms) override { m_inner.Gather(ms); }
    uint32_t TickCount() const override { return m_inner.TickCount(); }
    void Sleep(uint32_t ms) override { m_inner.Sleep(ms); }

    // An exchange began once a byte went over the line, either way; only such a transcript
    // is worth keeping (an open that failed, or an open and a close, tells support nothing
    // the message does not).
    bool ExchangeBegan() const { return m_nBytes > 0; }

private:
    void Add(char direction, uint8_t b);
    void Note(const std::string& text);
    void Flush();
    uint32_t Elapsed() const { return m_inner.TickCount() - m_t0; }

    ISerialLine& m_inner;
    std::ostream& m_out;
    uint32_t m_t0 = 0;
    bool m_bStarted = false;
    char m_direction = 0;
    uint32_t m_lineStart = 0;
    uint32_t m_lastByte = 0;
    std::vector<uint8_t> m_bytes;
    uint64_t m_nBytes = 0;
};

// Keeps the transcript of every exchange that began in a folder of its own, whatever the user
// asked for: the last as kLastTranscript, the one before as kPreviousTranscript, so that
// support can read what went over the line when something failed. Until the first byte the
// transcript waits in memory, and an exchange that never began leaves the files as they were.
inline constexpr const char* kLastTranscript = "last-exchange.txt";
inline constexpr const char* kPreviousTranscript = "previous-exchange.txt";
class CKeptTranscriptLine final : public ISerialLine {
public:
    CKeptTranscriptLine(ISerialLine& inner, const std::string& folder);
    ~CKeptTranscriptLine() override;

    // Each opening starts a transcript; once its exchange begins, the last transcript becomes
    // the previous one and this one is written as the last.
    int Open(const std::string& device, uint32_t baud) override;
    void Close() override;
    bool IsOpen() const override { return m_inner.IsOpen(); }
    void Purge() override { Active().Purge(); }
    int WriteByte(uint8_t b) override;
    bool TryReadByte(uint8_t& b) override;
    void WaitForInput(uint32_t maxMs) override { m_inner.WaitForInput(maxMs); }
    void Gather(uint32_t ms) override { m_inner.Gather(ms); }
    uint32_t TickCount() const override { return m_inner.TickCount(); }
    void Sleep(uint32_t ms) override { m_inner.Sleep(ms); }

    // The file of the exchange in progress (or of the last one) once it began; empty while no
    // byte went over the line, or when the file could not be written.
    const std::string& Path() const { return m_bKept ? m_szPath : m_szNone; }

private:
    ISerialLine& Active() { return m_log ? static_cast<ISerialLine&>(*m_log) : m_inner; }
    void KeepIfBegun();
    void Finish();

    ISerialLine& m_inner;
    std::string m_szFolder;
    std::string m_szPath;
    const std::string m_szNone;
    std::ostringstream m_pending;
    std::ofstream m_file;
    std::ostream m_out{m_pending.rdbuf()}; // the pending text, then the file
    std::unique_ptr<CTranscriptLine> m_log;
    bool m_bKept = false;
    bool m_bTried = false; // the file was tried for this exchange
};

// One line of a transcript: direction '>' (written by the PC) or '<' (read), time in ms.
struct TranscriptEntry {
    uint32_t ms = 0;
    char direction = 0;
    std::vector<uint8_t> bytes;
};
// Reads back the byte lines of a transcript; notes and comments are skipped.
std::vector<TranscriptEntry> ParseTranscript(const std::string& text);

} // namespace saroko
