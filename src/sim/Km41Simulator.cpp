#include "sim/Km41Simulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/document/ChannelRecord.h"
#include "core/recorder/Protocol.h"

namespace saroko::sim {
namespace {

constexpr uint64_t kResyncUs = 100000; // a frame left unfinished this long is dropped

uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

bool IsStatusCommand(uint8_t code) {
    switch (code) {
    case CMD_BEGIN:
    case CMD_END:
    case CMD_WRITE_WORD:
    case CMD_WRITE_BLOCK:
    case CMD_START_NOW:
    case CMD_START_DELAYED:
    case CMD_STOP:
        return true;
    default:
        return false;
    }
}

} // namespace

RecorderSettings SimOptions::DefaultSettings() {
    RecorderSettings s;
    s.flags = 0;
    s.intervalSec = 10;
    std::memcpy(s.chanName1, "ROOM-A", 6);
    std::memcpy(s.chanName2, "ROOM-B", 6);
    s.startMode = 0x30;
    return s;
}

uint16_t SimSampleCode(int channel, uint32_t index, uint32_t intervalSec) {
    const uint32_t h = Mix(index * 2654435761U + static_cast<uint32_t>(channel) * 0x9E3779B9U + 1);
    switch (h % 1499) {
    case 7:
        return kCodeOver;
    case 11:
        return kCodeUnder;
    case 13:
        return kCodeMissing;
    default:
        break;
    }
    const double hours = static_cast<double>(index) * intervalSec / 3600.0;
    const double pi2 = 6.283185307179586;
    const double base = channel == 0 ? 22.0 : 18.5;
    const double v = base + 2.5 * std::sin(pi2 * hours / 24.0) +
                     0.4 * std::sin(pi2 * hours / 1.7 + channel) +
                     0.1 * (static_cast<int>((h >> 8) % 5) - 2);
    return static_cast<uint16_t>(kCodeZero + std::lround(v * 10.0));
}

CKm41Simulator::CKm41Simulator(const SimOptions& options)
    : m_options(options), m_byteUs(options.paced ? 10000000ULL / options.baud : 0),
      m_settings(options.settings) {
    m_interval = m_settings.intervalSec ? m_settings.intervalSec : 10;
    m_bEndless = (m_settings.flags & RecorderSettings::kFlagEndless) != 0;
    if (options.preload > 0) {
        const uint32_t now = options.epoch;
        const uint32_t n = m_bEndless ? options.preload : std::min(options.preload, kMaxRecords);
        m_bStarted = true;
        m_firstRecord = now - (n - 1) * m_interval;
        m_stopAt = now;
        m_settings.startMode = options.preloadStartMode;
        if (options.preloadStartMode != 0)
            m_settings.startTime = m_firstRecord;
    }
}

void CKm41Simulator::Counts(uint32_t now, uint32_t& total, uint32_t& held) const {
    total = held = 0;
    if (!m_bStarted || now < m_firstRecord)
        return;
    const uint32_t last = std::min(now, m_stopAt);
    if (last < m_firstRecord)
        return;
    total = (last - m_firstRecord) / m_interval + 1;
    if (!m_bEndless)
        total = std::min(total, kMaxRecords);
    held = std::min(total, kMaxRecords);
}

uint32_t CKm41Simulator::RecordCount(uint64_t nowUs) const {
    uint32_t total, held;
    Counts(CalendarNow(nowUs), total, held);
    return held;
}

bool CKm41Simulator::IsRecording(uint64_t nowUs) const {
    const uint32_t now = CalendarNow(nowUs);
    if (!m_bStarted || now >= m_stopAt)
        return false;
    uint32_t total, held;
    Counts(now, total, held);
    return m_bEndless || total < kMaxRecords;
}

std::string CKm41Simulator::Describe(uint64_t nowUs) const {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s, %u records, interval %u s, %s",
                  IsRecording(nowUs) ? "recording" : "stopped", RecordCount(nowUs), m_interval,
                  m_bEndless ? "endless" : "one-time");
    return buf;
}

bool CKm41Simulator::FaultHits(uint8_t code, FaultKind kind) {
    if (m_options.fault != kind)
        return false;
    if (m_options.faultCommand != 0 && m_options.faultCommand != code)
        return false;
    if (m_options.faultTimes != 0 && m_nFaultHits >= m_options.faultTimes)
        return false;
    ++m_nFaultHits;
    return true;
}

void CKm41Simulator::BeginReply(uint8_t code) {
    m_bCutting = FaultHits(code, FaultKind::CutOff);
    m_cutLeft = m_options.cutAfter;
    m_bBadCheck = FaultHits(code, FaultKind::BadCheck);
}

bool CKm41Simulator::Emit(const uint8_t* bytes, std::size_t count, uint64_t t) {
    for (std::size_t i = 0; i < count; ++i) {
        if (m_bCutting) {
            if (m_cutLeft == 0)
                return false;
            --m_cutLeft;
        }
        const uint64_t ready = std::max(t, m_lastOutUs) + m_byteUs;
        m_lastOutUs = ready;
        m_out.emplace_back(ready, bytes[i]);
    }
    return true;
}

void CKm41Simulator::OnHostByte(uint8_t b, uint64_t nowUs) {
    // On a paced wire a byte is complete only a byte time after the one before it.
    const uint64_t t = std::max(nowUs, m_lastInUs + m_byteUs);
    m_lastInUs = t;

    if (m_tx == Tx::AwaitPacing) {
        if (b == kPacingByte) {
            ++m_nPacing;
            SendNextPacedBlock(t);
            return;
        }
        m_tx = Tx::Idle; // anything else ends the download and counts as new input
    }
    if (!m_rx.empty() && t - m_lastRxUs > kResyncUs)
        m_rx.clear();
    m_lastRxUs = t;
    if (m_rx.empty() && b == kWakeByte) {
        // A wake-up stops whatever was still being sent, so the next reply goes out at once
        // and not after the bytes that were dropped.
        m_out.clear();
        m_lastOutUs = t;
        m_tx = Tx::Idle;
        return;
    }
    m_rx.push_back(b);
    const std::size_t need = m_rx[0] == CMD_WRITE_BLOCK ? 35 : 6;
    if (m_rx.size() < need)
        return;
    bool good;
    if (need == 35)
        good = GetU16(&m_rx[33]) ==
               static_cast<uint16_t>(Sum16(std::span<const uint8_t>(m_rx.data(), 33)) +
                                     kHostCheckBias);
    else
        good = m_rx[5] == static_cast<uint8_t>(Sum8(std::span<const uint8_t>(m_rx.data(), 5)) +
                                               kHostCheckBias);
    if (good)
        OnFrame(t);
    else
        ++m_nBadFrames;
    m_rx.clear();
}

void CKm41Simulator::ShortReply(uint8_t code, uint8_t d0, uint8_t d1, uint8_t d2, uint8_t d3,
                                uint64_t t) {
    const uint8_t data[4] = {d0, d1, d2, d3};
    ShortFrame f = MakeShortReply(code, std::span<const uint8_t, 4>(data));
    BeginReply(code);
    if (m_bBadCheck)
        ++f[5];
    Emit(f.data(), f.size(), t);
}

void CKm41Simulator::ShortReplyU32(uint8_t code, uint32_t value, uint64_t t) {
    uint8_t d[4];
    PutU32(d, value);
    ShortReply(code, d[0], d[1], d[2], d[3], t);
}

void CKm41Simulator::OnFrame(uint64_t t) {
    const uint8_t code = m_rx[0];
    m_commands.push_back(code);
    if (FaultHits(code, FaultKind::Silence))
        return;
    const uint32_t now = CalendarNow(t);
    const uint8_t* p = &m_rx[1];
    uint8_t status = kStatusAccepted;
    if (IsStatusCommand(code) && FaultHits(code, FaultKind::Refuse))
        status = kStatusRefused;
    const bool refused = status == kStatusRefused;

    switch (code) {
    case CMD_IDENTIFY:
        ShortReply(code, m_options.identD0, m_options.identD1, 1, 0, t);
        break;
    case CMD_DATA_COUNT:
        ShortReplyU32(code, RecordCount(t), t);
        break;
    case CMD_QUERY_33:
        ShortReplyU32(code, now, t);
        break;
    case CMD_READ_WORD:
        ShortReplyU32(code, m_words[GetU32(p) & 15], t);
        break;
    case CMD_BEGIN:
        // The recorder takes no settings while it records.
        if (!refused && IsRecording(t))
            status = kStatusRefused;
        if (status == kStatusAccepted)
            m_bSetting = true;
        ShortReply(code, status, 0, 0, 0, t);
        break;
    case CMD_END:
        if (!refused)
            m_bSetting = false;
        ShortReply(code, status, 0, 0, 0, t);
        break;
    case CMD_WRITE_WORD:
        if (!refused && !m_bSetting)
            status = 0x15;
        if (status == kStatusAccepted)
            m_words[GetU16(p) & 15] = GetU16(p + 2);
        ShortReply(code, status, 0, 0, 0, t);
        break;
    case CMD_WRITE_BLOCK:
        if (!refused && !m_bSetting)
            status = 0x15;
        if (status == kStatusAccepted)
            m_settings = RecorderSettings::FromBytes(p);
        ShortReply(code, status, 0, 0, 0, t);
        break;
    case CMD_READ_BLOCK: {
        BlockReadReply r = MakeBlockReadReply(code, m_settings.ToBytes());
        BeginReply(code);
        if (m_bBadCheck)
            ++r[33];
        Emit(r.data(), r.size(), t);
        break;
    }
    case CMD_START_NOW:
    case CMD_START_DELAYED: {
        const uint32_t delay = code == CMD_START_DELAYED ? GetU32(p) : 0;
        if (!refused && IntervalIndex(m_settings.intervalSec) < 0)
            status = kStatusRefused;
        if (status == kStatusAccepted) {
            m_bStarted = true;
            m_interval = m_settings.intervalSec;
            m_bEndless = (m_settings.flags & RecorderSettings::kFlagEndless) != 0;
            m_firstRecord = now + delay;
            m_stopAt = UINT32_MAX;
        }
        ShortReply(code, status, 0, 0, 0, t);
        break;
    }
    case CMD_STOP:
        if (!refused && m_bStarted && now < m_stopAt) {
            if (now < m_firstRecord)
                m_bStarted = false; // a start still waiting is cancelled
            else
                m_stopAt = now;
        }
        ShortReply(code, status, 0, 0, 0, t);
        break;
    case CMD_DOWNLOAD:
    case CMD_DOWNLOAD_PACED:
        StartDownload(code == CMD_DOWNLOAD_PACED, t);
        break;
    default:
        break; // unknown frames go unanswered
    }
}

void CKm41Simulator::StartDownload(bool paced, uint64_t t) {
    const uint32_t now = CalendarNow(t);
    uint32_t total, held;
    Counts(now, total, held);
    const uint32_t oldest = total - held;
    const uint32_t newest = m_firstRecord + (total ? total - 1 : 0) * m_interval;

    m_download.assign(1 + kDownloadHeaderSize, 0);
    m_download[0] = paced ? CMD_DOWNLOAD_PACED : CMD_DOWNLOAD;
    PutU32(&m_download[1], total ? now - newest : 0);
    PutU16(&m_download[5], static_cast<uint16_t>(held));
    m_download.resize(1 + kDownloadHeaderSize + held * kRecordSize + 2);
    uint8_t* rec = &m_download[1 + kDownloadHeaderSize];
    for (uint32_t i = 0; i < held; ++i, rec += 4) {
        PutU16(rec, SimSampleCode(0, oldest + i, m_interval));
        PutU16(rec + 2, SimSampleCode(1, oldest + i, m_interval));
    }
    const std::size_t body = m_download.size() - 2;
    uint16_t sum = Sum16(std::span<const uint8_t>(m_download.data(), body));
    BeginReply(m_download[0]);
    if (m_bBadCheck)
        ++sum;
    PutU16(&m_download[body], sum);

    if (!paced || held == 0) {
        Emit(m_download.data(), m_download.size(), t);
        return;
    }
    m_dlPos = 1 + kDownloadHeaderSize;
    if (Emit(m_download.data(), m_dlPos, t))
        m_tx = Tx::AwaitPacing;
}

void CKm41Simulator::SendNextPacedBlock(uint64_t t) {
    const std::size_t recordEnd = m_download.size() - 2;
    const std::size_t count = std::min<std::size_t>(kPacingBlockBytes, recordEnd - m_dlPos);
    m_tx = Tx::Idle;
    if (!Emit(&m_download[m_dlPos], count, t))
        return;
    m_dlPos += count;
    if (m_dlPos < recordEnd)
        m_tx = Tx::AwaitPacing;
    else
        Emit(&m_download[recordEnd], 2, t);
}

bool CKm41Simulator::NextOutputTime(uint64_t& readyUs) {
    if (m_out.empty())
        return false;
    readyUs = m_out.front().first;
    return true;
}

uint8_t CKm41Simulator::PopOutput() {
    const uint8_t b = m_out.front().second;
    m_out.pop_front();
    return b;
}

} // namespace saroko::sim
