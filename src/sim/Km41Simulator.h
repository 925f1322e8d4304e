#pragma once
// The KM-41's side of the serial protocol as a byte-in/byte-out state machine. It keeps a
// settings block, records both channels on its own clock, serves both downloads, and can be
// told to misbehave in the ways real lines and recorders do.
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/document/RecorderSettings.h"
#include "core/recorder/MemoryLine.h"

namespace saroko::sim {

enum class FaultKind {
    None,
    Silence,  // no reply at all
    Refuse,   // status 0x09 to every status command
    CutOff,   // the reply stops after `cutAfter` bytes
    BadCheck, // the check value is off by one
};

struct SimOptions {
    uint32_t epoch = 0; // calendar seconds at clock time 0
    bool paced = false; // bytes take their time at `baud`, 10 bits each
    uint32_t baud = 9600;
    uint8_t identD0 = 4; // another model answers other bytes
    uint8_t identD1 = 20;
    RecorderSettings settings = DefaultSettings();

    // Records already in memory when the simulator starts; the recording has stopped.
    uint32_t preload = 0;
    uint16_t preloadStartMode = 0x30;

    FaultKind fault = FaultKind::None;
    uint8_t faultCommand = 0; // wire code the fault applies to; 0 = every reply
    uint32_t faultTimes = 0;  // how many replies it spoils; 0 = all of them
    uint32_t cutAfter = 0;

    static RecorderSettings DefaultSettings();
};

// The sample the simulated sensors give for record `index` of a recording (0-based), on
// recorder channel 0 or 1: a room-temperature curve with an occasional Over, Under and
// missing sample.
uint16_t SimSampleCode(int channel, uint32_t index, uint32_t intervalSec);

class CKm41Simulator final : public ILinePeer {
public:
    explicit CKm41Simulator(const SimOptions& options);

    void OnHostByte(uint8_t b, uint64_t nowUs) override;
    bool NextOutputTime(uint64_t& readyUs) override;
    uint8_t PopOutput() override;

    // State, for tests and the console of km41-sim.
    const RecorderSettings& Settings() const { return m_settings; }
    uint32_t RecordCount(uint64_t nowUs) const;
    bool IsRecording(uint64_t nowUs) const;
    uint32_t FirstRecordTime() const { return m_firstRecord; }
    const std::array<uint32_t, 16>& Words() const { return m_words; }
    // Frames received, as their wire codes; frames with a wrong check value are left out.
    const std::vector<uint8_t>& Commands() const { return m_commands; }
    uint32_t PacingBytesSeen() const { return m_nPacing; }
    uint32_t BadFrames() const { return m_nBadFrames; }
    std::string Describe(uint64_t nowUs) const;

private:
    enum class Tx { Idle, AwaitPacing };

    uint32_t CalendarNow(uint64_t us) const {
        return m_options.epoch + static_cast<uint32_t>(us / 1000000);
    }
    void OnFrame(uint64_t t);
    void ShortReply(uint8_t code, uint8_t d0, uint8_t d1, uint8_t d2, uint8_t d3, uint64_t t);
    void ShortReplyU32(uint8_t code, uint32_t value, uint64_t t);
    void StartDownload(bool paced, uint64_t t);
    void SendNextPacedBlock(uint64_t t);
    // Queues reply bytes, honouring a cut-off; false once the cut has been reached.
    bool Emit(const uint8_t* bytes, std::size_t count, uint64_t t);
    bool FaultHits(uint8_t code, FaultKind kind);
    void BeginReply(uint8_t code);
    // Records held: total recorded (k) and how many of them remain in memory.
    void Counts(uint32_t now, uint32_t& total, uint32_t& held) const;

    SimOptions m_options;
    uint64_t m_byteUs;
    RecorderSettings m_settings;
    std::array<uint32_t, 16> m_words{};

    // Recording.
    bool m_bStarted = false;
    uint32_t m_firstRecord = 0;
    uint32_t m_stopAt = UINT32_MAX;
    uint16_t m_interval = 10;
    bool m_bEndless = false;
    bool m_bSetting = false;

    // Receiving.
    std::vector<uint8_t> m_rx;
    uint64_t m_lastRxUs = 0;
    uint64_t m_lastInUs = 0;
    std::vector<uint8_t> m_commands;
    uint32_t m_nBadFrames = 0;
    uint32_t m_nPacing = 0;

    // Sending.
    std::deque<std::pair<uint64_t, uint8_t>> m_out;
    uint64_t m_lastOutUs = 0;
    Tx m_tx = Tx::Idle;
    std::vector<uint8_t> m_download;
    std::size_t m_dlPos = 0;
    // The fault counts per reply; a cut-off reply stops emitting at m_cutLeft.
    uint32_t m_nFaultHits = 0;
    bool m_bCutting = false;
    uint32_t m_cutLeft = 0;
    bool m_bBadCheck = false;
};

} // namespace saroko::sim
