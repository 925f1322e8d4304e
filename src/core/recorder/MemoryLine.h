#pragma once
// A line that exists only in memory, with its own clock: the protocol runs against the
// simulator or a script at full speed, and time-outs cost no real time.
#include <cstdint>
#include <deque>
#include <vector>

#include "core/recorder/SerialLine.h"
#include "core/text/TimeUtil.h"

namespace saroko {

// The far end of a line: a recorder, simulated or scripted. Times are microseconds of the
// line's clock.
class ILinePeer {
public:
    virtual ~ILinePeer() = default;
    virtual void OnHostByte(uint8_t b, uint64_t nowUs) = 0;
    // When the next byte for the PC is on the wire; false when none is queued.
    virtual bool NextOutputTime(uint64_t& readyUs) = 0;
    virtual uint8_t PopOutput() = 0;
};

class CMemoryLine final : public ISerialLine {
public:
    // `startUs` sets the clock, so tests can start just before the tick count wraps.
    explicit CMemoryLine(ILinePeer& peer, uint64_t startUs = 0);

    int Open(const std::string& device, uint32_t baud) override;
    void Close() override { m_bOpen = false; }
    bool IsOpen() const override { return m_bOpen; }
    void Purge() override;
    int WriteByte(uint8_t b) override;
    bool TryReadByte(uint8_t& b) override;
    void WaitForInput(uint32_t maxMs) override;
    void Gather(uint32_t ms) override { m_nowUs += uint64_t{ms} * 1000; }
    uint32_t TickCount() const override { return static_cast<uint32_t>(m_nowUs / 1000); }
    void Sleep(uint32_t ms) override { m_nowUs += uint64_t{ms} * 1000; }

    uint64_t NowUs() const { return m_nowUs; }
    void Advance(uint64_t us) { m_nowUs += us; }

    // Faults of the PC's side.
    void SetOpenResult(int code) { m_nOpenResult = code; }
    void FailWritesAfter(std::size_t count) { m_nWriteLimit = count; }

    struct Event {
        uint64_t us;
        bool written; // false: read by the PC
        uint8_t byte;
    };
    const std::vector<Event>& Events() const { return m_events; }
    std::vector<uint8_t> Written() const;
    std::vector<uint8_t> Read() const;
    const std::string& Device() const { return m_szDevice; }
    int OpenCount() const { return m_nOpens; }
    void ClearEvents() { m_events.clear(); }

private:
    ILinePeer& m_peer;
    uint64_t m_nowUs;
    bool m_bOpen = false;
    int m_nOpenResult = 0;
    int m_nOpens = 0;
    std::size_t m_nWriteLimit = SIZE_MAX;
    std::size_t m_nWrites = 0;
    std::string m_szDevice;
    std::vector<Event> m_events;
};

// Calendar seconds that follow a memory line's clock.
class CMemoryLineClock final : public IClock {
public:
    CMemoryLineClock(const CMemoryLine& line, uint32_t epoch) : m_line(line), m_epoch(epoch) {}
    uint32_t Now() const override {
        return m_epoch + static_cast<uint32_t>(m_line.NowUs() / 1000000);
    }

private:
    const CMemoryLine& m_line;
    uint32_t m_epoch;
};

// A far end that answers from a script: each reply is released once the PC has written a
// given number of bytes in all, its bytes `byteUs` apart.
class CScriptedPeer final : public ILinePeer {
public:
    explicit CScriptedPeer(uint64_t byteUs = 0) : m_byteUs(byteUs) {}
    void AddReply(std::size_t afterHostBytes, std::vector<uint8_t> bytes);

    void OnHostByte(uint8_t b, uint64_t nowUs) override;
    bool NextOutputTime(uint64_t& readyUs) override;
    uint8_t PopOutput() override;

    const std::vector<uint8_t>& HostBytes() const { return m_host; }

private:
    struct Reply {
        std::size_t after;
        std::vector<uint8_t> bytes;
    };
    uint64_t m_byteUs;
    std::deque<Reply> m_script;
    std::deque<std::pair<uint64_t, uint8_t>> m_out;
    std::vector<uint8_t> m_host;
};

} // namespace saroko
