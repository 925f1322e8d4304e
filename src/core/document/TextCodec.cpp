// The core's own CP932 codec: ASCII and half-width katakana both ways; any other character
// becomes '?' (towards CP932) or U+FFFD (towards UTF-8).
#include "core/document/ZorvicDoc.h"

namespace saroko {
namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string CBasicCp932Codec::Cp932ToUtf8(std::string_view bytes) const {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c >= 0xA1 && c <= 0xDF) {
            AppendUtf8(out, 0xFF61u + (c - 0xA1u));
        } else {
            if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < bytes.size())
                ++i;
            AppendUtf8(out, 0xFFFD);
        }
    }
    return out;
}

std::string CBasicCp932Codec::Utf8ToCp932(std::string_view text) const {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t cp = 0;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1Fu;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0Fu;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07u;
            len = 4;
        } else {
            cp = 0xFFFD;
        }
        if (i + len > text.size()) {
            out += '?';
            break;
        }
        for (std::size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        i += len;
        if (cp < 0x80)
            out += static_cast<char>(cp);
        else if (cp >= 0xFF61 && cp <= 0xFF9F)
            out += static_cast<char>(0xA1 + (cp - 0xFF61));
        else
            out += '?';
    }
    return out;
}

} // namespace saroko
