#pragma once
// A recorder exchange on an in-memory line: scripted far end, fake clock, recorded messages.
#include <string>
#include <vector>

#include "core/messages/StringTable.h"
#include "core/recorder/MemoryLine.h"
#include "core/recorder/Protocol.h"
#include "core/recorder/RecorderComm.h"
#include "core/recorder/TranscriptLine.h"
#include "core/text/TimeUtil.h"
#include "support/DataFiles.h"

namespace saroko::test {

class CRecordingSink final : public IMessageSink {
public:
    int ShowMessage(int id, std::string_view extra = {}) override {
        ids.push_back(id);
        extras.emplace_back(extra);
        return answer;
    }
    std::vector<int> ids;
    std::vector<std::string> extras;
    int answer = kIdOk;
};

class CRecordingOwner final : public IDownloadOwner {
public:
    void ResetStatus() override { ++resets; }
    void ShowHeader() override { ++headers; }
    void SetTotalText(const std::string&) override {}
    void SetReceivedText(const std::string&) override {}
    void PaintProgress() override {}
    int resets = 0, headers = 0;
};

// Bytes the far end sends at fixed times (microseconds): from the line's start, or from the
// first byte the PC writes.
class CTimedPeer final : public ILinePeer {
public:
    explicit CTimedPeer(std::vector<std::pair<uint64_t, uint8_t>> plan = {},
                        bool fromFirstHostByte = false)
        : m_out(std::move(plan)), m_bWaiting(fromFirstHostByte) {}
    void At(uint64_t us, uint8_t b) { m_out.emplace_back(us, b); }
    void OnHostByte(uint8_t, uint64_t nowUs) override {
        if (!m_bWaiting)
            return;
        m_bWaiting = false;
        for (auto& out : m_out)
            out.first += nowUs;
    }
    bool NextOutputTime(uint64_t& t) override {
        if (m_bWaiting || m_next >= m_out.size())
            return false;
        t = m_out[m_next].first;
        return true;
    }
    uint8_t PopOutput() override { return m_out[m_next++].second; }

private:
    std::vector<std::pair<uint64_t, uint8_t>> m_out;
    std::size_t m_next = 0;
    bool m_bWaiting;
};

using Bytes = std::vector<uint8_t>;

inline Bytes Frame(uint8_t code, uint8_t p0 = 0, uint8_t p1 = 0, uint8_t p2 = 0, uint8_t p3 = 0) {
    const uint8_t p[4] = {p0, p1, p2, p3};
    const ShortFrame f = MakeShortRequest(code, std::span<const uint8_t, 4>(p));
    return Bytes(f.begin(), f.end());
}
inline Bytes Reply(uint8_t d0, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0, uint8_t lead = 0) {
    const uint8_t d[4] = {d0, d1, d2, d3};
    const ShortFrame f = MakeShortReply(lead, std::span<const uint8_t, 4>(d));
    return Bytes(f.begin(), f.end());
}
// An exchange saved under tests/data/recorder.
inline std::vector<TranscriptEntry> SavedExchange(const std::string& name) {
    return ParseTranscript(ReadDataFile("recorder/" + name));
}
inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
struct CommRig {
    explicit CommRig(uint64_t startUs = 0, uint64_t byteUs = 0)
        : peer(byteUs), line(peer, startUs), clock(line, 1210000000u) {}
    CommServices Services() {
        CommServices s;
        s.line = &line;
        s.sink = &sink;
        s.clock = &clock;
        s.port = {1, "/dev/ttyTEST"};
        return s;
    }
    // Releases `reply` once the PC has written everything in `sent` so far.
    void After(const Bytes& sent, const Bytes& reply) {
        m_sent += sent.size();
        peer.AddReply(m_sent, reply);
    }
    void Sent(const Bytes& sent) { m_sent += sent.size(); }
    // Plays an exchange saved under tests/data/recorder: each "<" line answers once the PC has
    // written every ">" byte above it (the times are not used). Returns what the PC must write.
    Bytes Play(const std::string& name) { return Play(SavedExchange(name)); }
    Bytes Play(const std::vector<TranscriptEntry>& exchange) {
        Bytes sent;
        for (const TranscriptEntry& e : exchange) {
            if (e.direction == '>')
                sent.insert(sent.end(), e.bytes.begin(), e.bytes.end());
            else
                peer.AddReply(sent.size(), e.bytes);
        }
        return sent;
    }
    // Opens port 1 over the line and runs one command.
    int Exec(int command, const CommandBlock& block = {}, int wake = 0, int mode = 0) {
        CRecorderComm comm(Services(), 9600);
        comm.Open();
        return comm.Execute(command, block, wake ? Wake::First : Wake::No,
                            ShowResultFromCode(mode));
    }

    CScriptedPeer peer;
    CMemoryLine line;
    CMemoryLineClock clock;
    CRecordingSink sink;
    std::size_t m_sent = 0;
};

} // namespace saroko::test
