#include "core/printing/DataList.h"
#include "core/messages/Translate.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace saroko {
namespace {

constexpr const char* kBlankCell = "      ";
constexpr const char* kUntitled = "Untitled";
constexpr std::size_t kHeadingNameBytes = 16;
constexpr std::size_t kNameBytes = 8;
constexpr std::size_t kNameFirstLine = 4;

constexpr int kTickX[] = {21, 205, 262, 319, 376, 433, 490, 547, 604, 661};

} // namespace

int CountListRows(const ListChannels& channels, uint32_t first, uint32_t last, uint32_t step) {
    CDataListMerge merge(channels, first, last, step);
    DataListRow row;
    int n = 0;
    while (merge.Next(row))
        ++n;
    return n;
}

std::string ListTimeText(uint32_t t) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return std::string(19, ' ');
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d/%02d/%02d %2d:%02d'%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

std::string ListCellText(const CZorvicDoc& doc, const ChannelRecord& ch, bool shown, int32_t code,
                         ListStyle style) {
    if (!shown || code == kNoSample || code == kCodeEnd)
        return kBlankCell;
    const bool print = style == ListStyle::kPrint;
    switch (code) {
    case kCodeMissing:
        return print ? " ---- " : "  --- ";
    case kCodeOver:
        return print ? " Over " : "  Over";
    case kCodeUnder:
        return " Under";
    default:
        break;
    }
    return doc.FormatValue(ch.measureType, 1,
                           doc.ToValue(static_cast<uint16_t>(code), ch.measureType, 1));
}

bool IsCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::pair<std::string, std::string> SplitChannelName(const ChannelRecord& ch) {
    const std::size_t len = FieldLength(ch.name, kNameBytes);
    // Walk the characters from the start: a trail byte can look like a lead byte, and taking
    // the 4th byte alone for a lead would split the character before it.
    std::size_t cut = 0;
    while (cut < len && cut < kNameFirstLine) {
        const unsigned char c = static_cast<unsigned char>(ch.name[cut]);
        cut += IsCp932LeadByte(c) ? 2 : 1;
    }
    cut = std::min(cut, len);
    return {std::string(ch.name, cut), std::string(ch.name + cut, len - cut)};
}

std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes) {
    std::size_t i = 0;
    std::size_t width = 0;
    while (i < utf8.size()) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (i + len > utf8.size())
            break; // a cut-off character at the end is not shown
        uint32_t cp = c;
        if (len == 3)
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
        else if (len > 1)
            cp = 0x80; // any two-byte or four-byte character is double-byte in CP932
        // ASCII and the half-width katakana take one byte in CP932, everything else two.
        const std::size_t w = (cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F)) ? 1 : 2;
        if (width + w > maxBytes)
            break;
        width += w;
        i += len;
    }
    return std::string(utf8.substr(0, i));
}

ListPageSize ListPageSizeOf(int widthMm, int heightMm) {
    return {widthMm * 1000 / 254, heightMm * 1000 / 254};
}

int ListRowsPerPage(int pageHeight) {
    return pageHeight < kListFirstRowY ? 0 : (pageHeight - kListFirstRowY) / kListRowPitch;
}

int ListPageCount(int rows, int pageHeight) {
    const int perPage = ListRowsPerPage(pageHeight);
    if (rows <= 0 || perPage <= 0)
        return 0;
    return (rows + perPage - 1) / perPage;
}

CDataListPrint::CDataListPrint(const CZorvicDoc& doc, const ITextCodec& codec, int pageHeight)
    : m_doc(doc), m_codec(codec), m_channels(ChannelsOf(doc)), m_nHeight(pageHeight),
      m_merge(m_channels, doc.GetRange()->viewStart, doc.GetRange()->viewEnd,
              doc.GetRange()->minInterval) {
    const GraphRange& r = *doc.GetRange();
    // Counted with the very merge that prints, so the count and the pages always agree.
    m_nRows = CountListRows(m_channels, r.viewStart, r.viewEnd, r.minInterval);
    m_nPages = ListPageCount(m_nRows, pageHeight);
}

void CDataListPrint::Heading(ListPage& page) const {
    page.texts.push_back({21, 10, TranslateText("Printing", "＜測定データ リスト＞")});
    std::string name = TranslateText("Printing", "ﾌｧｲﾙ名:");
    if (m_doc.m_szFileName != kUntitled)
        name += CutToCp932Bytes(m_doc.m_szFileName, kHeadingNameBytes);
    page.texts.push_back({405, 10, name});
    page.texts.push_back({615, 10, "Page " + std::to_string(page.number)});
    for (int k = 0; k < kChannelCount; ++k) {
        const ChannelRecord* ch = m_channels[static_cast<std::size_t>(k)];
        const int x = 218 + kListColumnPitch * k;
        const bool data = ch != nullptr && ch->present != 0;
        // A channel that holds no sample at all is listed without a name.
        if (data && ch->samples[0] != kCodeEnd) {
            const auto [first, second] = SplitChannelName(*ch);
            page.texts.push_back({x, 48, m_codec.Cp932ToUtf8(first)});
            page.texts.push_back({x, 64, m_codec.Cp932ToUtf8(second)});
        }
        const std::string unit = data ? m_doc.FormatUnit(ch->measureType, 0) : "   ";
        page.texts.push_back({x + 2, 82, m_codec.Cp932ToUtf8(unit)});
        page.texts.push_back({x + 2, 102, "ch." + std::to_string(k + 1)});
    }
    page.texts.push_back({88, 82, TranslateText("Printing", "日  時")});
    page.lines.push_back({21, 99, 661, 99});
    for (int x : kTickX)
        page.lines.push_back({x, 92, x, 106});
}

ListPage CDataListPrint::NextPage() {
    ListPage page;
    page.number = ++m_nPage;
    Heading(page);
    DataListRow row;
    for (int y = kListFirstRowY; y + kListRowPitch <= m_nHeight && m_nRowsDone < m_nRows;
         y += kListRowPitch) {
        if (!m_merge.Next(row))
            break;
        ++m_nRowsDone;
        ++page.rows;
        page.texts.push_back({32, y, ListTimeText(row.time)});
        for (int k = 0; k < kChannelCount; ++k) {
            const std::size_t i = static_cast<std::size_t>(k);
            const std::string cell =
                row.codes[i] == kNoSample
                    ? std::string(kBlankCell)
                    : ListCellText(m_doc, *m_channels[i], m_doc.m_bShow[i] != 0, row.codes[i],
                                   ListStyle::kPrint);
            page.texts.push_back({213 + kListColumnPitch * k, y, cell});
        }
    }
    return page;
}

void CDataListPrint::SkipPages(int count) {
    for (int i = 0; i < count; ++i)
        NextPage();
}

} // namespace saroko
