#pragma once
// The data list: one row per sample time with a date column and eight value columns. The row
// merge, the cell texts and the printed page's layout (in hundredths of an inch) live here;
// the printer and the list window only draw what these functions lay out.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/document/RowMerge.h"
#include "core/document/ZorvicDoc.h"

namespace saroko {

// The number of rows the merge gives from `first` to `last`.
int CountListRows(const ListChannels& channels, uint32_t first, uint32_t last, uint32_t step);

// "%4d/%02d/%02d %2d:%02d'%02d" in local time.
std::string ListTimeText(uint32_t t);

// The printed list and the list window differ only in the texts of special samples.
enum class ListStyle { kPrint, kWindow };

// A value cell, six characters: blank for no sample or a hidden channel.
std::string ListCellText(const CZorvicDoc& doc, const ChannelRecord& ch, bool shown, int32_t code,
                         ListStyle style);

bool IsCp932LeadByte(unsigned char c);
// The heading's two name lines: the first 4 bytes, 5 when the 4th begins a double-byte
// character, then the rest of the 8 name bytes.
std::pair<std::string, std::string> SplitChannelName(const ChannelRecord& ch);
// The longest prefix of a UTF-8 text that takes at most `maxBytes` bytes in CP932, cut
// between characters.
std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes);

// The printed page, in hundredths of an inch.
inline constexpr int kListFirstRowY = 121;
inline constexpr int kListRowPitch = 21;
inline constexpr int kListColumnPitch = 57;

struct ListText {
    int x = 0;
    int y = 0;        // top of the text
    std::string text; // UTF-8
    bool operator==(const ListText&) const = default;
};
struct ListLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const ListLine&) const = default;
};
struct ListPage {
    int number = 0;
    int rows = 0;
    std::vector<ListText> texts;
    std::vector<ListLine> lines;
};

// The logical page of a printable area given in whole millimetres.
struct ListPageSize {
    int width = 0;
    int height = 0;
    bool operator==(const ListPageSize&) const = default;
};
ListPageSize ListPageSizeOf(int widthMm, int heightMm);
int ListRowsPerPage(int pageHeight);
// Pages for `rows` rows; 0 when there are none or not one row fits on a page.
int ListPageCount(int rows, int pageHeight);

// The print job's layout: the shown time window of the document, page after page.
class CDataListPrint {
public:
    // `codec` turns the channels' CP932 names and units into text.
    CDataListPrint(const CZorvicDoc& doc, const ITextCodec& codec, int pageHeight);

    int RowCount() const { return m_nRows; }
    int PageCount() const { return m_nPages; }
    // Lays out the next page: heading, rule, ticks and its rows.
    ListPage NextPage();
    // Lays out pages without keeping them, to reach the first page to print.
    void SkipPages(int count);

private:
    void Heading(ListPage& page) const;

    const CZorvicDoc& m_doc;
    const ITextCodec& m_codec;
    ListChannels m_channels;
    int m_nHeight;
    int m_nRows = 0;
    int m_nPages = 0;
    int m_nRowsDone = 0;
    int m_nPage = 0;
    CDataListMerge m_merge;
};

} // namespace saroko
