#include "core/recorder/MemoryLine.h"

#include <algorithm>

namespace saroko {

CMemoryLine::CMemoryLine(ILinePeer& peer, uint64_t startUs) : m_peer(peer), m_nowUs(startUs) {}

int CMemoryLine::Open(const std::string& device, uint32_t /*baud*/) {
    m_szDevice = device;
    ++m_nOpens;
    if (m_nOpenResult != 0)
        return m_nOpenResult;
    m_bOpen = true;
    return 0;
}

void CMemoryLine::Purge() {
    uint64_t t;
    while (m_peer.NextOutputTime(t) && t <= m_nowUs)
        m_peer.PopOutput();
}

int CMemoryLine::WriteByte(uint8_t b) {
    if (!m_bOpen || m_nWrites >= m_nWriteLimit)
        return -1;
    ++m_nWrites;
    m_events.push_back({m_nowUs, true, b});
    m_peer.OnHostByte(b, m_nowUs);
    return 0;
}

bool CMemoryLine::TryReadByte(uint8_t& b) {
    uint64_t t;
    if (!m_bOpen || !m_peer.NextOutputTime(t) || t > m_nowUs)
        return false;
    b = m_peer.PopOutput();
    m_events.push_back({m_nowUs, false, b});
    return true;
}

void CMemoryLine::WaitForInput(uint32_t maxMs) {
    const uint64_t limit = m_nowUs + uint64_t{maxMs} * 1000;
    uint64_t t;
    if (m_peer.NextOutputTime(t) && t <= limit)
        m_nowUs = std::max(m_nowUs, t);
    else
        m_nowUs = limit;
}

std::vector<uint8_t> CMemoryLine::Written() const {
    std::vector<uint8_t> out;
    for (const Event& e : m_events)
        if (e.written)
            out.push_back(e.byte);
    return out;
}

std::vector<uint8_t> CMemoryLine::Read() const {
    std::vector<uint8_t> out;
    for (const Event& e : m_events)
        if (!e.written)
            out.push_back(e.byte);
    return out;
}

void CScriptedPeer::AddReply(std::size_t afterHostBytes, std::vector<uint8_t> bytes) {
    m_script.push_back({afterHostBytes, std::move(bytes)});
}

void CScriptedPeer::OnHostByte(uint8_t b, uint64_t nowUs) {
    m_host.push_back(b);
    while (!m_script.empty() && m_script.front().after <= m_host.size()) {
        uint64_t t = nowUs;
        if (!m_out.empty())
            t = std::max(t, m_out.back().first);
        for (uint8_t r : m_script.front().bytes) {
            t += m_byteUs;
            m_out.emplace_back(t, r);
        }
        m_script.pop_front();
    }
}

bool CScriptedPeer::NextOutputTime(uint64_t& readyUs) {
    if (m_out.empty())
        return false;
    readyUs = m_out.front().first;
    return true;
}

uint8_t CScriptedPeer::PopOutput() {
    const uint8_t b = m_out.front().second;
    m_out.pop_front();
    return b;
}

} // namespace saroko
