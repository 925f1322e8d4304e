#include "core/recorder/RecorderComm.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/messages/StringTable.h"
#include "core/messages/Translate.h"
#include "core/recorder/TranscriptLine.h"
#include "core/text/TimeUtil.h"

namespace saroko {
namespace {

// Stands in when a download runs without a window to report to.
class CSilentOwner final : public IDownloadOwner {
public:
    void ResetStatus() override {}
    void ShowHeader() override {}
    void SetTotalText(const std::string&) override {}
    void SetReceivedText(const std::string&) override {}
    void PaintProgress() override {}
};

// Status rule of CMD_BEGIN and the two starts: refused reads as "wrong mode".
int BeginStatus(uint8_t d0) {
    if (d0 == kStatusAccepted)
        return COMM_OK;
    return d0 == kStatusRefused ? COMM_NO_RESPONSE : COMM_BROKEN;
}
int EndStatus(uint8_t d0) {
    return d0 == kStatusAccepted ? COMM_OK : COMM_BROKEN;
}

std::string Format4u(const char* fmt, unsigned v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

} // namespace

ShowResult ShowResultFromCode(int code) {
    switch (code) {
    case 1:
        return ShowResult::Always;
    case 2:
        return ShowResult::OnFailure;
    default:
        return ShowResult::Never;
    }
}

CRecorderComm::CRecorderComm(const CommServices& services, uint32_t baud)
    : m_services(services), m_line(*services.line), m_nBaud(baud) {}

CRecorderComm::~CRecorderComm() {
    ClosePort();
}

int CRecorderComm::Open() {
    const int r = m_line.Open(m_services.port.device, m_nBaud);
    if (r < 0)
        return r;
    m_line.Purge();
    return COMM_OK;
}

void CRecorderComm::ClosePort() {
    if (m_line.IsOpen())
        m_line.Close();
}

int CRecorderComm::WriteByte(uint8_t b) {
    return m_line.WriteByte(b) == 0 ? 0 : -1;
}

int CRecorderComm::ReadByte(uint8_t& dest, uint32_t timeoutMs, uint32_t gatherMs) {
    return m_line.ReadByte(dest, timeoutMs, gatherMs);
}

void CRecorderComm::BusyWait(uint32_t ms) {
    const uint32_t t0 = m_line.TickCount();
    for (;;) {
        const uint32_t elapsed = m_line.TickCount() - t0;
        if (elapsed >= ms)
            return;
        m_line.Sleep(ms - elapsed);
    }
}

void CRecorderComm::DrainInput() {
    uint8_t b;
    while (ReadByte(b, kDrainQuietMs) == 0) {
    }
}

int CRecorderComm::WakeRecorder() {
    if (WriteByte(kWakeByte) == 0)
        BusyWait(kWakePauseMs);
    return 0;
}

int CRecorderComm::ShowCommResult(int code) {
    const int id = CommResultMessageId(code);
    if (id == 0 || !m_services.sink)
        return code;
    // A failure says where its bytes were logged, so the user can send them along; an
    // exchange that never began has no such file.
    const std::string transcript = m_services.transcript ? m_services.transcript->Path() : "";
    if (code != COMM_OK && !transcript.empty())
        m_services.sink->ShowMessage(
            id, TranslateText("Message", FindMessage(msg::kTranscriptNote)->text) + transcript);
    else
        m_services.sink->ShowMessage(id);
    return code;
}

int CRecorderComm::Execute(int command, const CommandBlock& block, Wake wake, ShowResult show) {
    m_nCommand = command;
    m_block = block;
    if (wake == Wake::First)
        WakeRecorder();
    const int result = RunCommand(command);
    if (show == ShowResult::Always || (show == ShowResult::OnFailure && result != 0))
        ShowCommResult(result);
    return result;
}

int CRecorderComm::RunCommand(int command) {
    switch (command) {
    case kExecDownload:
        return Download(false);
    case kExecDownloadPaced:
        return Download(true);
    case kExecWriteWords:
        return WriteWords();
    case kExecReadWords:
        return ReadWords();
    case kExecWriteSettings:
        return WriteSettings();
    case kExecReadSettings:
        return ReadSettings();
    case kExecBegin:
        return ShortCommand(CMD_BEGIN);
    case kExecEnd:
        return ShortCommand(CMD_END);
    case kExecWriteWord:
        return ShortCommand(CMD_WRITE_WORD);
    case kExecReadWord:
        return ShortCommand(CMD_READ_WORD);
    case kExecStartNow:
        return ShortCommand(CMD_START_NOW);
    case kExecStartDelayed:
        return ShortCommand(CMD_START_DELAYED);
    case kExecStop:
        return ShortCommand(CMD_STOP);
    case kExecQuery33:
        return ShortCommand(CMD_QUERY_33);
    case kExecDataCount:
        return ShortCommand(CMD_DATA_COUNT);
    case kExecIdentify:
        return ShortCommand(CMD_IDENTIFY);
    default:
        return COMM_FAILED;
    }
}

bool CRecorderComm::WriteAll(std::span<const uint8_t> bytes) {
    for (uint8_t b : bytes)
        if (WriteByte(b) != 0)
            return false;
    return true;
}

// Reads with the reply time-out and stops at the first silence: once a byte is missing the
// attempt has failed, and only whether anything came matters any more.
bool CRecorderComm::ReadCounted(uint8_t* dest, std::size_t count, int& received) {
    for (std::size_t i = 0; i < count; ++i) {
        if (ReadByte(dest[i], kReplyTimeoutMs) != 0)
            return false;
        ++received;
    }
    return true;
}

int CRecorderComm::Transact(int retries, const ShortFrame& request, uint8_t reply[5]) {
    int attempts = 0;
    for (;;) {
        DrainInput();
        bool failed = !WriteAll(request);
        std::memset(reply, 0, 5);
        int received = 0;
        uint8_t check = 0;
        failed = failed || !ReadCounted(reply, 5, received) || !ReadCounted(&check, 1, received);
        if (!failed)
            return check == Sum8(std::span<const uint8_t>(reply, 5)) ? COMM_OK : COMM_CHECKSUM;
        if (attempts < retries) {
            ++attempts;
            WakeRecorder();
            continue;
        }
        return received == 0 ? COMM_NO_RESPONSE : COMM_BROKEN;
    }
}

int CRecorderComm::ShortCommand(uint8_t code) {
    uint8_t zeros[4] = {};
    const uint8_t* params = m_block.params ? m_block.params : zeros;
    uint8_t reply[5];
    const int r =
        Transact(0, MakeShortRequest(code, std::span<const uint8_t, 4>(params, 4)), reply);
    if (r != COMM_OK)
        return r;
    if (m_block.reply)
        std::memcpy(m_block.reply, reply + 1, 4);
    const uint8_t d0 = reply[1];
    switch (code) {
    case CMD_BEGIN:
    case CMD_START_NOW:
    case CMD_START_DELAYED:
        return BeginStatus(d0);
    case CMD_END:
    case CMD_WRITE_WORD:
    case CMD_STOP:
        return EndStatus(d0);
    default:
        return COMM_OK;
    }
}

int CRecorderComm::WriteSettings() {
    if (!m_block.data)
        return COMM_FAILED;
    const CommandBlock outer = m_block;
    uint8_t params[4] = {}, reply[4] = {};
    auto zero = [&] {
        std::memset(params, 0, 4);
        std::memset(reply, 0, 4);
        if (outer.params)
            std::memset(outer.params, 0, 4);
        if (outer.reply)
            std::memset(outer.reply, 0, 4);
    };
    zero();
    m_block.params = outer.params ? outer.params : params;
    m_block.reply = outer.reply ? outer.reply : reply;
    int r = ShortCommand(CMD_BEGIN);
    if (r != COMM_OK)
        return r;

    const auto image = outer.data->ToBytes();
    const BlockWriteFrame frame = MakeBlockWrite(image);
    for (int attempt = 1;; ++attempt) {
        DrainInput();
        uint8_t ans[5] = {};
        uint8_t check = 0;
        int received = 0;
        const bool failed =
            !WriteAll(frame) || !ReadCounted(ans, 5, received) || !ReadCounted(&check, 1, received);
        if (failed) {
            if (attempt < kBlockAttempts) {
                WakeRecorder();
                continue;
            }
            return received == 0 ? COMM_NO_RESPONSE : COMM_BROKEN;
        }
        if (check != Sum8(std::span<const uint8_t>(ans, 5)))
            return COMM_CHECKSUM;
        if (ans[1] != kStatusAccepted)
            return COMM_BROKEN;
        break;
    }
    zero();
    return ShortCommand(CMD_END);
}

int CRecorderComm::ReadSettings() {
    if (!m_block.data)
        return COMM_FAILED;
    const ShortFrame request = MakeShortRequest(CMD_READ_BLOCK, 0u);
    for (int attempt = 1;; ++attempt) {
        DrainInput();
        BlockReadReply in{};
        int received = 0;
        const bool failed = !WriteAll(request) || !ReadCounted(in.data(), in.size(), received);
        if (failed) {
            if (attempt < kBlockAttempts) {
                WakeRecorder();
                continue;
            }
            return received == 0 ? COMM_NO_RESPONSE : COMM_BROKEN;
        }
        *m_block.data = RecorderSettings::FromBytes(&in[1]);
        if (GetU16(&in[33]) != Sum16(std::span<const uint8_t>(in.data(), 33)))
            return COMM_CHECKSUM;
        return COMM_OK;
    }
}

int CRecorderComm::WriteWords() {
    if (!m_block.words)
        return COMM_FAILED;
    const CommandBlock outer = m_block;
    uint8_t params[4] = {}, reply[4] = {};
    m_block.params = outer.params ? outer.params : params;
    m_block.reply = outer.reply ? outer.reply : reply;
    std::memset(m_block.params, 0, 4);
    std::memset(m_block.reply, 0, 4);
    int r = ShortCommand(CMD_BEGIN);
    if (r != COMM_OK)
        return r;
    for (uint16_t index = 0; index < 16; ++index) {
        PutU16(m_block.params, index);
        PutU16(m_block.params + 2, static_cast<uint16_t>((*outer.words)[index]));
        r = ShortCommand(CMD_WRITE_WORD);
        if (r != COMM_OK)
            return r;
    }
    std::memset(m_block.params, 0, 4);
    std::memset(m_block.reply, 0, 4);
    return ShortCommand(CMD_END);
}

int CRecorderComm::ReadWords() {
    if (!m_block.words)
        return COMM_FAILED;
    const CommandBlock outer = m_block;
    uint8_t params[4] = {}, reply[4] = {};
    m_block.params = outer.params ? outer.params : params;
    m_block.reply = outer.reply ? outer.reply : reply;
    for (uint32_t index = 0; index < 16; ++index) {
        PutU32(m_block.params, index);
        const int r = ShortCommand(CMD_READ_WORD);
        if (r != COMM_OK)
            return r;
        (*outer.words)[index] = GetU32(m_block.reply);
    }
    return COMM_OK;
}

int CRecorderComm::Download(bool paced) {
    if (!m_block.buffer)
        return COMM_FAILED;
    CSilentOwner silent;
    IDownloadOwner& owner = m_pOwner ? *m_pOwner : silent;
    IDownloadOwner* const saved = m_pOwner;
    m_pOwner = &owner;

    BusyWait(kDownloadPauseMs);
    owner.progress = 0;
    owner.steps = 20;

    const CommandBlock outer = m_block;
    uint8_t params[4] = {}, reply[4] = {};
    m_block.params = params;
    m_block.reply = reply;
    int r = ShortCommand(CMD_DATA_COUNT);
    m_block = outer;
    if (r == COMM_OK && GetU32(reply) == 0)
        r = COMM_NO_DATA;
    if (r == COMM_OK) {
        DrainInput();
        for (int attempt = 1;; ++attempt) {
            r = DownloadAttempt(paced);
            if (r == COMM_OK || attempt >= kBlockAttempts)
                break;
            WakeRecorder();
        }
    }
    m_pOwner = saved;
    return r;
}

int CRecorderComm::DownloadAttempt(bool paced) {
    IDownloadOwner& owner = *m_pOwner;
    uint8_t* const buf = m_block.buffer;
    owner.ResetStatus();
    for (uint8_t b : MakeShortRequest(paced ? CMD_DOWNLOAD_PACED : CMD_DOWNLOAD, 0u))
        WriteByte(b); // a lost request shows as a missing answer
    owner.downloadTime = m_services.clock ? m_services.clock->Now() : 0;

    uint8_t lead = 0;
    if (ReadByte(lead, kReplyTimeoutMs) != 0)
        return COMM_NO_RESPONSE;
    unsigned sum = lead;
    for (std::size_t i = 0; i < kDownloadHeaderSize; ++i) {
        if (ReadByte(buf[i], kReplyTimeoutMs) != 0)
            return COMM_BROKEN;
        sum += buf[i];
    }
    owner.ShowHeader();
    const uint32_t n = DownloadHeader::FromBytes(buf).count;
    // More records than the buffer and a channel hold cannot be a sound reply.
    if (n > kMaxRecords)
        return COMM_BROKEN;
    owner.SetTotalText(Format4u("/ %4u", n));

    const std::size_t end = kDownloadHeaderSize + kRecordSize * n;
    const uint32_t timeout = paced ? kPacedRecordTimeoutMs : kReplyTimeoutMs;
    for (std::size_t i = kDownloadHeaderSize; i < end; ++i) {
        const std::size_t inBlock = (i - kDownloadHeaderSize) % kPacingBlockBytes;
        if (paced && inBlock == 0)
            WriteByte(kPacingByte);
        // The records stream in: let them gather, but no more than come before the next
        // pacing byte is due (the recorder waits for it).
        const std::size_t coming = paced ? std::min(end - i, kPacingBlockBytes - inBlock) : end - i;
        if (ReadByte(buf[i], timeout, GatherMs(coming, m_nBaud)) != 0)
            return COMM_BROKEN;
        sum += buf[i];
        const uint32_t k = static_cast<uint32_t>((i - 5) / 4);
        owner.SetReceivedText(Format4u("%4u", k));
        const int step = static_cast<int>(static_cast<uint64_t>(owner.steps) * k / n);
        if (step != owner.progress) {
            owner.progress = step;
            owner.PaintProgress();
        }
    }
    uint8_t lo = 0, hi = 0;
    if (ReadByte(lo, kReplyTimeoutMs) != 0 || ReadByte(hi, kReplyTimeoutMs) != 0)
        return COMM_BROKEN;
    if (static_cast<uint16_t>(lo | (hi << 8)) != static_cast<uint16_t>(sum))
        return COMM_CHECKSUM;
    return COMM_OK;
}

} // namespace saroko
