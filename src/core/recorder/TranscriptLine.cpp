#include "core/recorder/TranscriptLine.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "core/files/Utf8Path.h"

namespace saroko {
namespace {
constexpr std::size_t kBytesPerLine = 16;
constexpr uint32_t kGapMs = 20; // a pause this long starts a new line
} // namespace

CTranscriptLine::CTranscriptLine(ISerialLine& inner, std::ostream& out)
    : m_inner(inner), m_out(out) {}

CTranscriptLine::~CTranscriptLine() {
    Flush();
}

void CTranscriptLine::Note(const std::string& text) {
    Flush();
    if (!m_bStarted) {
        m_t0 = m_inner.TickCount();
        m_bStarted = true;
    }
    char stamp[32];
    const uint32_t t = Elapsed();
    std::snprintf(stamp, sizeof stamp, "%7u.%03u ", t / 1000, t % 1000);
    m_out << stamp << "# " << text << '\n';
    m_out.flush();
}

int CTranscriptLine::Open(const std::string& device, uint32_t baud) {
    const int r = m_inner.Open(device, baud);
    Note("open " + device + " " + std::to_string(baud) + " baud: " + std::to_string(r));
    return r;
}

void CTranscriptLine::Close() {
    m_inner.Close();
    Note("close");
}

void CTranscriptLine::Purge() {
    m_inner.Purge();
    Note("purge");
}

int CTranscriptLine::WriteByte(uint8_t b) {
    const int r = m_inner.WriteByte(b);
    if (r == 0)
        Add('>', b);
    else
        Note("write failed");
    return r;
}

bool CTranscriptLine::TryReadByte(uint8_t& b) {
    if (!m_inner.TryReadByte(b))
        return false;
    Add('<', b);
    return true;
}

void CTranscriptLine::Add(char direction, uint8_t b) {
    ++m_nBytes;
    if (!m_bStarted) {
        m_t0 = m_inner.TickCount();
        m_bStarted = true;
    }
    const uint32_t t = Elapsed();
    if (direction != m_direction || m_bytes.size() >= kBytesPerLine || t - m_lastByte >= kGapMs)
        Flush();
    if (m_bytes.empty()) {
        m_direction = direction;
        m_lineStart = t;
    }
    m_bytes.push_back(b);
    m_lastByte = t;
}

void CTranscriptLine::Flush() {
    if (m_bytes.empty())
        return;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%7u.%03u %c", m_lineStart / 1000, m_lineStart % 1000,
                  m_direction);
    m_out << buf;
    for (uint8_t b : m_bytes) {
        std::snprintf(buf, sizeof buf, " %02X", b);
        m_out << buf;
    }
    m_out << '\n';
    m_bytes.clear();
    m_direction = 0;
}

CKeptTranscriptLine::CKeptTranscriptLine(ISerialLine& inner, const std::string& folder)
    : m_inner(inner), m_szFolder(folder),
      m_szPath(Utf8OfPath(PathOfUtf8(folder) / kLastTranscript)) {}

CKeptTranscriptLine::~CKeptTranscriptLine() {
    Finish();
}

void CKeptTranscriptLine::Finish() {
    m_log.reset(); // writes its last line
    m_out.flush();
    m_out.rdbuf(m_pending.rdbuf());
    if (m_file.is_open())
        m_file.close();
}

int CKeptTranscriptLine::Open(const std::string& device, uint32_t baud) {
    Finish();
    m_pending.str({});
    m_out.clear();
    m_bKept = m_bTried = false;
    m_log = std::make_unique<CTranscriptLine>(m_inner, m_out);
    return m_log->Open(device, baud);
}

void CKeptTranscriptLine::Close() {
    Active().Close();
    Finish();
}

int CKeptTranscriptLine::WriteByte(uint8_t b) {
    const int r = Active().WriteByte(b);
    KeepIfBegun();
    return r;
}

bool CKeptTranscriptLine::TryReadByte(uint8_t& b) {
    const bool read = Active().TryReadByte(b);
    KeepIfBegun();
    return read;
}

void CKeptTranscriptLine::KeepIfBegun() {
    namespace fs = std::filesystem;
    if (m_bTried || !m_log || !m_log->ExchangeBegan())
        return;
    m_bTried = true;
    std::error_code ec;
    fs::create_directories(PathOfUtf8(m_szFolder), ec);
    if (fs::exists(PathOfUtf8(m_szPath), ec))
        fs::rename(PathOfUtf8(m_szPath), PathOfUtf8(m_szFolder) / kPreviousTranscript, ec);
    m_file.open(PathOfUtf8(m_szPath), std::ios::out | std::ios::trunc);
    // Without a file the exchange still runs; its transcript stays in memory and goes.
    if (!m_file)
        return;
    m_file << m_pending.str();
    m_out.rdbuf(m_file.rdbuf());
    m_bKept = true;
}

std::vector<TranscriptEntry> ParseTranscript(const std::string& text) {
    std::vector<TranscriptEntry> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        unsigned sec = 0, ms = 0;
        char dir = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), " %u.%u %c%n", &sec, &ms, &dir, &used) != 3 ||
            (dir != '>' && dir != '<'))
            continue;
        TranscriptEntry e;
        e.ms = sec * 1000 + ms;
        e.direction = dir;
        std::istringstream bytes(line.substr(static_cast<std::size_t>(used)));
        std::string hex;
        while (bytes >> hex)
            e.bytes.push_back(static_cast<uint8_t>(std::stoul(hex, nullptr, 16)));
        out.push_back(std::move(e));
    }
    return out;
}

} // namespace saroko
