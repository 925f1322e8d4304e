// Load and save of the settings sections the document owns.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/document/ZorvicDoc.h"
#include "core/text/ParseDecimal.h"

namespace saroko {
namespace {

constexpr const char* kTextSection = "Text File Section";
constexpr const char* kPrintSection = "Print Graph Section";
constexpr const char* kCommSection = "KM4x Communication Section";
constexpr const char* kUnitSection = "Unit Display Section";
constexpr const char* kCursorSection = "CursorAB Section";
constexpr const char* kScaleSection = "Graph Scale Section";

uint32_t U(int v) {
    return static_cast<uint32_t>(v);
}

// Copies at most 8 bytes of a CP932 name into a field, never splitting a double-byte
// character.
void CopyName8(char (&field)[8], const std::string& bytes) {
    std::memset(field, 0, sizeof field);
    std::size_t n = 0;
    while (n < bytes.size() && bytes[n] != '\0') {
        const unsigned char c = static_cast<unsigned char>(bytes[n]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        const std::size_t w = lead ? 2 : 1;
        if (n + w > sizeof field || n + w > bytes.size())
            break;
        n += w;
    }
    std::memcpy(field, bytes.data(), n);
}

std::string NameBytes(const char (&field)[8]) {
    return std::string(field, FieldLength(field, sizeof field));
}

// "0x31" as written by the save, or a plain decimal number; anything else fails.
bool ParseStartMode(const std::string& text, int& value) {
    std::string s = text;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.erase(s.begin());
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.pop_back();
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        char* end = nullptr;
        const long v = std::strtol(s.c_str() + 2, &end, 16);
        if (*end != '\0' || end == s.c_str() + 2 || v < 0 || v > 0xFFFF)
            return false;
        value = static_cast<int>(v);
        return true;
    }
    return ParseStoredInt(s, value);
}

} // namespace

std::string FormatScaleSetting(double value) {
    // The dialog's own text, so that a limit reads back from the store as it was shown.
    return FormatScale(value);
}

void CZorvicDoc::LoadTextFileSettings() {
    m_nDivideCode = U(m_store.GetInt(kTextSection, "DivideCode", 1));
}

void CZorvicDoc::SaveTextFileSettings() {
    m_store.WriteInt(kTextSection, "DivideCode", static_cast<int>(m_nDivideCode));
}

void CZorvicDoc::LoadPrintGraphSettings() {
    m_nPrintMethod = U(m_store.GetInt(kPrintSection, "PrintMethod", 0));
    m_nHorizontalScale = U(m_store.GetInt(kPrintSection, "HorizontalScale", 1));
    m_nVerticalScale = U(m_store.GetInt(kPrintSection, "VerticalScale", 1));
}

void CZorvicDoc::SavePrintGraphSettings() {
    m_store.WriteInt(kPrintSection, "PrintMethod", static_cast<int>(m_nPrintMethod));
    m_store.WriteInt(kPrintSection, "HorizontalScale", static_cast<int>(m_nHorizontalScale));
    m_store.WriteInt(kPrintSection, "VerticalScale", static_cast<int>(m_nVerticalScale));
}

void CZorvicDoc::LoadCommSettings() {
    m_recSettings = RecorderSettings{};
    m_nPortNo = U(m_store.GetInt(kCommSection, "PortNo", 1));
    // Unsigned, so an edited entry of any size wraps instead of overflowing.
    const unsigned unit = U(m_store.GetInt(kCommSection, "TempUnit", 0));
    const unsigned mode = U(m_store.GetInt(kCommSection, "RecMode", 0));
    const unsigned sensor = U(m_store.GetInt(kCommSection, "SensorType", 0));
    m_recSettings.flags = static_cast<uint16_t>(unit | mode * 2u | sensor * 4u);
    m_recSettings.intervalSec = static_cast<uint16_t>(m_store.GetInt(kCommSection, "Interval", 10));
    CopyName8(m_recSettings.chanName1,
              m_pCodec->Utf8ToCp932(m_store.GetString(kCommSection, "ChanName1", "Ch.1")));
    CopyName8(m_recSettings.chanName2,
              m_pCodec->Utf8ToCp932(m_store.GetString(kCommSection, "ChanName2", "Ch.2")));

    int startMode = 49;
    const std::string modeText = m_store.GetString(kCommSection, "StartMode", "");
    if (!modeText.empty() && !ParseStartMode(modeText, startMode))
        startMode = 49;
    m_recSettings.startMode = static_cast<uint16_t>(startMode & 0xFF);

    const std::string dt = m_store.GetString(kCommSection, "DateTime", "");
    uint32_t t = m_clock.Now();
    bool digits = dt.size() >= 14;
    for (std::size_t i = 0; digits && i < 14; ++i)
        digits = std::isdigit(static_cast<unsigned char>(dt[i])) != 0;
    if (digits && dt.compare(0, 14, "19700101090000") != 0) {
        auto field = [&](std::size_t pos, std::size_t len) {
            return std::atoi(dt.substr(pos, len).c_str());
        };
        uint32_t converted = 0;
        if (FromLocalFields(field(0, 4), field(4, 2), field(6, 2), field(8, 2), field(10, 2),
                            field(12, 2), converted))
            t = converted;
    }
    m_recSettings.startTime = t;
}

void CZorvicDoc::SaveCommSettings() {
    const uint16_t f = m_recSettings.flags;
    m_store.WriteInt(kCommSection, "PortNo", static_cast<int>(m_nPortNo));
    m_store.WriteInt(kCommSection, "TempUnit", f & 1);
    m_store.WriteInt(kCommSection, "RecMode", (f >> 1) & 1);
    m_store.WriteInt(kCommSection, "SensorType", (f >> 2) & 1);
    m_store.WriteInt(kCommSection, "Interval", m_recSettings.intervalSec);
    m_store.WriteString(kCommSection, "ChanName1",
                        m_pCodec->Cp932ToUtf8(NameBytes(m_recSettings.chanName1)));
    m_store.WriteString(kCommSection, "ChanName2",
                        m_pCodec->Cp932ToUtf8(NameBytes(m_recSettings.chanName2)));
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%02x", static_cast<unsigned>(m_recSettings.startMode));
    m_store.WriteString(kCommSection, "StartMode", buf);
    std::tm tm{};
    std::string dt;
    if (ToLocalTime(m_recSettings.startTime, tm)) {
        std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
        dt = buf;
    }
    m_store.WriteString(kCommSection, "DateTime", dt);
}

void CZorvicDoc::LoadUnitSettings() {
    m_nUnitCF = U(m_store.GetInt(kUnitSection, "UnitCF", 0));
    m_nUnitV = U(m_store.GetInt(kUnitSection, "UnitV", 0));
}

void CZorvicDoc::SaveUnitSettings() {
    m_store.WriteInt(kUnitSection, "UnitCF", static_cast<int>(m_nUnitCF));
    m_store.WriteInt(kUnitSection, "UnitV", static_cast<int>(m_nUnitV));
}

void CZorvicDoc::LoadCursorSettings() {
    m_nCursorStyle = U(m_store.GetInt(kCursorSection, "CursorStyle", 2));
    m_nCursorASelect = U(m_store.GetInt(kCursorSection, "CursorASelect", 1));
    m_nCursorBSelect = U(m_store.GetInt(kCursorSection, "CursorBSelect", 1));
}

void CZorvicDoc::SaveCursorSettings() {
    m_store.WriteInt(kCursorSection, "CursorStyle", static_cast<int>(m_nCursorStyle));
    m_store.WriteInt(kCursorSection, "CursorASelect", static_cast<int>(m_nCursorASelect));
    m_store.WriteInt(kCursorSection, "CursorBSelect", static_cast<int>(m_nCursorBSelect));
}

void CZorvicDoc::LoadScaleSettings() {
    m_nScaleMode = U(m_store.GetInt(kScaleSection, "ScaleMode", 0));
    m_fScaleUpper = static_cast<float>(
        std::atof(m_store.GetString(kScaleSection, "ScaleUpper", FormatScaleSetting(600)).c_str()));
    m_fScaleLower = static_cast<float>(std::atof(
        m_store.GetString(kScaleSection, "ScaleLower", FormatScaleSetting(-200)).c_str()));
}

void CZorvicDoc::SaveScaleSettings() {
    m_store.WriteInt(kScaleSection, "ScaleMode", static_cast<int>(m_nScaleMode));
    m_store.WriteString(kScaleSection, "ScaleUpper", FormatScaleSetting(m_fScaleUpper));
    m_store.WriteString(kScaleSection, "ScaleLower", FormatScaleSetting(m_fScaleLower));
}

void CZorvicDoc::SaveRecentFiles() {
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "File%zu", i + 1);
        m_store.WriteString("Recent File List", key,
                            i < m_recentFiles.size() ? m_recentFiles[i] : std::string());
    }
}

} // namespace saroko
