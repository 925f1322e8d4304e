#include "core/printing/ListWindow.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace saroko {
namespace {

constexpr uint64_t kMaxTime = std::numeric_limits<uint32_t>::max();
// Rows shown: the start and nine steps after it. Line steps move half of that.
constexpr uint64_t kWindowSteps = 9;
constexpr uint64_t kLineSteps = 5;

} // namespace

std::vector<ListSpan> ListSpansOf(const CZorvicDoc& doc) {
    std::vector<ListSpan> spans;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = doc.GetChannel(n);
        if (ch == nullptr || ch->present == 0)
            continue;
        // The samples counted up to the end code: a channel's stored count can disagree with
        // its samples, and a count of 0 would put its end before its start.
        const int count = ch->CountSamples();
        if (count == 0)
            continue;
        const uint64_t last = ch->startTime + static_cast<uint64_t>(count - 1) * ch->interval;
        spans.push_back(
            {ch->startTime, static_cast<uint32_t>(std::min(last, kMaxTime)), ch->interval});
    }
    return spans;
}

uint32_t FirstSampleAtOrAfter(const ListChannels& channels, uint32_t from) {
    uint64_t best = kMaxTime;
    for (const ChannelRecord* ch : channels) {
        if (ch == nullptr || ch->present == 0)
            continue;
        uint64_t t = ch->startTime;
        int j = 0;
        while (j < kMaxSamples && ch->samples[j] != kCodeEnd && t < from) {
            t += ch->interval;
            ++j;
        }
        if (j < kMaxSamples && ch->samples[j] != kCodeEnd)
            best = std::min(best, t);
    }
    return static_cast<uint32_t>(std::min(best, kMaxTime));
}

CListWindow::CListWindow(uint32_t dataStart, uint32_t dataEnd, uint32_t step,
                         std::vector<ListSpan> spans)
    : m_dataStart(dataStart), m_dataEnd(dataEnd), m_step(step), m_spans(std::move(spans)) {}

CListWindow::CListWindow(const CZorvicDoc& doc)
    : CListWindow(doc.GetRange()->dataStart, doc.GetRange()->dataEnd, doc.GetRange()->minInterval,
                  ListSpansOf(doc)) {}

void CListWindow::Open(uint32_t start) {
    MoveTo(start);
}

void CListWindow::MoveTo(uint32_t start) {
    m_start = start;
    // Summed wide: a start near the end of time must not wrap the window's end to 1970.
    m_end = static_cast<uint32_t>(std::min<uint64_t>(start + kWindowSteps * m_step, m_dataEnd));
    if (m_dataEnd <= m_dataStart || start <= m_dataStart) {
        m_nThumb = 0; // one instant of data: no range to divide by
        return;
    }
    const double pos = 100.0 * (static_cast<double>(start) - m_dataStart) /
                       (static_cast<double>(m_dataEnd) - m_dataStart);
    m_nThumb = std::min(kListThumbMax, static_cast<int>(pos));
}

bool CListWindow::Contained(uint32_t t) const {
    return std::any_of(m_spans.begin(), m_spans.end(),
                       [t](const ListSpan& s) { return s.Contains(t); });
}

bool CListWindow::Fallback(uint32_t t, int64_t limit, uint32_t& out) const {
    uint64_t after = UINT64_MAX;
    for (const ListSpan& s : m_spans)
        if (s.first > t && static_cast<int64_t>(s.first) <= limit)
            after = std::min<uint64_t>(after, s.first);
    if (after != UINT64_MAX) {
        out = static_cast<uint32_t>(after);
        return true;
    }
    bool found = false;
    for (const ListSpan& s : m_spans) {
        if (s.last < t && (!found || s.last > out)) {
            out = s.last;
            found = true;
        }
    }
    return found;
}

bool CListWindow::LineDown() {
    return Down(static_cast<uint32_t>(kLineSteps));
}
bool CListWindow::LineUp() {
    return Up(static_cast<uint32_t>(kLineSteps));
}
// A page is the window's own length: the row after its last is the first of the next page.
bool CListWindow::PageDown() {
    return Down(static_cast<uint32_t>(kWindowSteps + 1));
}
bool CListWindow::PageUp() {
    return Up(static_cast<uint32_t>(kWindowSteps + 1));
}

bool CListWindow::Down(uint32_t steps) {
    uint32_t next =
        static_cast<uint32_t>(std::min<uint64_t>(m_start + uint64_t{steps} * m_step, m_dataEnd));
    if (!Contained(next) && !Fallback(next, kMaxTime, next))
        return false;
    MoveTo(next);
    return true;
}

bool CListWindow::Up(uint32_t steps) {
    const int64_t back =
        static_cast<int64_t>(m_start) - static_cast<int64_t>(uint64_t{steps} * m_step);
    uint32_t next = static_cast<uint32_t>(std::max<int64_t>(back, m_dataStart));
    // Falling between channels, the window goes to a start it passed over, never back to the
    // old place: that would keep it from ever crossing a gap upwards.
    if (!Contained(next) && !Fallback(next, static_cast<int64_t>(m_start) - 1, next))
        return false;
    MoveTo(next);
    return true;
}

bool CListWindow::ThumbReleased(int position) {
    const uint64_t range = m_dataEnd > m_dataStart ? m_dataEnd - m_dataStart : 0;
    const uint32_t target =
        static_cast<uint32_t>(m_dataStart + range * static_cast<uint64_t>(position) / 100);
    uint64_t best = UINT64_MAX;
    for (const ListSpan& s : m_spans) {
        if (s.last < target)
            continue;
        uint64_t t = s.first;
        if (target > s.first && s.interval > 0)
            t = s.first + (static_cast<uint64_t>(target - s.first) + s.interval - 1) / s.interval *
                              s.interval;
        else if (target > s.first)
            continue;
        if (t <= s.last)
            best = std::min(best, t);
    }
    uint32_t next = 0;
    if (best != UINT64_MAX)
        next = static_cast<uint32_t>(best);
    else if (!Fallback(target, kMaxTime, next))
        return false;
    MoveTo(next);
    return true;
}

std::size_t CListWindow::RowBound() const {
    const uint64_t width = kWindowSteps * m_step;
    std::size_t rows = 0;
    for (const ListSpan& s : m_spans) {
        if (s.interval == 0) {
            ++rows;
            continue;
        }
        const uint64_t samples = static_cast<uint64_t>(s.last - s.first) / s.interval + 1;
        rows += static_cast<std::size_t>(std::min(samples, width / s.interval + 1));
    }
    return rows;
}

std::vector<ListRowTexts> ListWindowRows(const CZorvicDoc& doc, uint32_t start, uint32_t end) {
    std::vector<ListRowTexts> rows;
    if (end < start)
        return rows;
    const ListChannels channels = ChannelsOf(doc);
    CDataListMerge merge(channels, start, end, doc.GetRange()->minInterval);
    DataListRow row;
    while (merge.Next(row)) {
        ListRowTexts& out = rows.emplace_back();
        out.time = ListTimeText(row.time);
        for (std::size_t i = 0; i < channels.size(); ++i)
            out.cells[i] = row.codes[i] == kNoSample
                               ? std::string(6, ' ')
                               : ListCellText(doc, *channels[i], doc.m_bShow[i] != 0, row.codes[i],
                                              ListStyle::kWindow);
    }
    return rows;
}

ListColumnTexts ListColumn(const CZorvicDoc& doc, int number) {
    ListColumnTexts out;
    out.heading = "Ch." + std::to_string(number);
    const ChannelRecord* ch = doc.GetChannel(number);
    if (ch == nullptr || ch->present == 0) {
        out.unit = "   ";
        return out;
    }
    std::tie(out.name1, out.name2) = SplitChannelName(*ch);
    out.unit = doc.FormatUnit(ch->measureType, 0);
    out.max = doc.CellValueText(*ch, ch->statMax, false);
    out.min = doc.CellValueText(*ch, ch->statMin, false);
    out.avg = doc.CellValueText(*ch, ch->statAvg, true);
    return out;
}

int CWheelSteps::Add(int angleDelta) {
    m_nRest += angleDelta;
    const int steps = m_nRest / kNotch; // toward zero: a part notch either way waits
    m_nRest -= steps * kNotch;
    return -steps;
}

} // namespace saroko
