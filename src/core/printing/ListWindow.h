#pragma once
// The data list window's time window [start, end] and its scroll bar: what a line step, a
// released thumb and the opening place it on. The window shows the merge's rows over it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/printing/DataList.h"

namespace saroko {

// A channel with data, from its first to its last sample time.
struct ListSpan {
    uint32_t first = 0;
    uint32_t last = 0;
    uint32_t interval = 1;
    bool Contains(uint32_t t) const { return t >= first && t <= last; }
};

// The spans of channels 1..8 that hold samples.
std::vector<ListSpan> ListSpansOf(const CZorvicDoc& doc);

// The earliest first sample time at or after `from` over the channels; 0xFFFFFFFF when no
// channel has one.
uint32_t FirstSampleAtOrAfter(const ListChannels& channels, uint32_t from);

inline constexpr int kListThumbMax = 100;

class CListWindow {
public:
    CListWindow(uint32_t dataStart, uint32_t dataEnd, uint32_t step, std::vector<ListSpan> spans);
    // The document's data range, shortest interval and channel spans.
    explicit CListWindow(const CZorvicDoc& doc);

    // Places the window at `start`.
    void Open(uint32_t start);
    // Each returns false when the window stays where it is.
    bool LineDown();
    bool LineUp();
    // By the window's length, with the line steps' fallbacks at gaps and ends.
    bool PageDown();
    bool PageUp();
    bool ThumbReleased(int position);

    uint32_t Start() const { return m_start; }
    uint32_t End() const { return m_end; }
    // The shown span in seconds, as the graph marks it.
    uint32_t Span() const { return m_end > m_start ? m_end - m_start : 0; }
    int Thumb() const { return m_nThumb; }
    uint32_t Step() const { return m_step; }
    // The most rows any window can hold: each channel gives at most one row per sample time
    // inside it, and channels off each other's times give rows of their own.
    std::size_t RowBound() const;

private:
    bool Down(uint32_t steps);
    bool Up(uint32_t steps);
    bool Contained(uint32_t t) const;
    // Outside every span: the earliest start after `t` (up to `limit`), else the latest end
    // before `t`. False when neither exists.
    bool Fallback(uint32_t t, int64_t limit, uint32_t& out) const;
    void MoveTo(uint32_t start);

    uint32_t m_dataStart;
    uint32_t m_dataEnd;
    uint32_t m_step;
    std::vector<ListSpan> m_spans;
    uint32_t m_start = 0;
    uint32_t m_end = 0;
    int m_nThumb = 0;
};

// One row of the window as texts: date and time, then the eight cells.
struct ListRowTexts {
    std::string time;
    std::array<std::string, kChannelCount> cells;
};
// Every row of [start, end] in the window's texts: a line step moves by less than the
// window, so rows left out here would never be shown at all.
std::vector<ListRowTexts> ListWindowRows(const CZorvicDoc& doc, uint32_t start, uint32_t end);

// A channel column's heading and statistics block: the channel's name, "Ch.n", its unit, then
// maximum, minimum and average over the calculation range; blank for a channel without data.
struct ListColumnTexts {
    std::string name1, name2; // CP932: the name's two lines, as the printed list has them
    std::string heading;
    std::string unit; // CP932
    std::string max;
    std::string min;
    std::string avg;
};
ListColumnTexts ListColumn(const CZorvicDoc& doc, int number);

// The mouse wheel on the list: one line step a notch (120 eighths of a degree), a fine wheel's
// parts of a notch added up until they make one. Away from the user (positive) is up.
class CWheelSteps {
public:
    static constexpr int kNotch = 120;
    // The line steps down (positive) or up (negative) that `angleDelta` makes now.
    int Add(int angleDelta);
    void Reset() { m_nRest = 0; }

private:
    int m_nRest = 0;
};

} // namespace saroko
