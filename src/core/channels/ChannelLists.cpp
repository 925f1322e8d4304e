#include "core/channels/ChannelLists.h"
#include "core/messages/Translate.h"

#include <algorithm>
#include <cstring>

namespace saroko {
namespace {

constexpr std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}
constexpr bool InRow(int n) {
    return n >= 1 && n <= kChannelCount;
}

ChannelName NameOf(const ChannelRecord* ch) {
    ChannelName n{};
    if (ch)
        std::memcpy(n.data(), ch->name, 8);
    return n;
}

} // namespace

void ClearChannel(ChannelRecord& ch) {
    std::memset(ch.name, 0, sizeof ch.name);
    ch.present = 0;
    ch.measureType = kTypeTemp13;
    ch.interval = 1;
    ch.statMax = ch.statMin = ch.statAvg = 0;
    std::fill(std::begin(ch.samples), std::end(ch.samples), kCodeEnd);
    ch.terminator = kCodeEnd;
    ch.sampleCount = 0;
}

CChannelFlagWork::CChannelFlagWork(const CZorvicDoc& doc, Kind kind) : m_kind(kind) {
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = doc.GetChannel(n);
        ChannelFlagRow& r = m_rows[At(n - 1)];
        r.name = NameOf(ch);
        r.present = ch ? ch->present : 0;
        r.flag = kind == Kind::kShow ? doc.m_bShow[At(n - 1)] : 1;
    }
}

bool CChannelFlagWork::Toggle(int channel) {
    if (!InRow(channel) || m_rows[At(channel - 1)].present == 0)
        return false;
    uint32_t& f = m_rows[At(channel - 1)].flag;
    f = f != 0 ? 0 : 1;
    return true;
}

const char* CChannelFlagWork::Label(int channel) const {
    const ChannelFlagRow& r = Row(channel);
    if (r.present == 0)
        return "      ";
    if (m_kind == Kind::kShow)
        return r.flag != 0 ? SAROKO_TRANSLATE_NOOP("Channels", " ＯＮ ")
                           : SAROKO_TRANSLATE_NOOP("Channels", "ＯＦＦ");
    return r.flag != 0 ? SAROKO_TRANSLATE_NOOP("Channels", "しない")
                       : SAROKO_TRANSLATE_NOOP("Channels", " する ");
}

const ChannelFlagRow& CChannelFlagWork::Row(int channel) const {
    return m_rows.at(At(channel - 1));
}

void CChannelFlagWork::ApplyShow(CZorvicDoc& doc) const {
    for (int i = 0; i < kChannelCount; ++i)
        doc.m_bShow[At(i)] = m_rows[At(i)].flag;
}

void CChannelFlagWork::ApplyDelete(CZorvicDoc& doc) const {
    int remaining = kChannelCount;
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord* ch = doc.GetChannel(n);
        if (!ch)
            continue;
        if (m_rows[At(n - 1)].flag == 0) {
            ClearChannel(*ch);
            doc.m_bShow[At(n - 1)] = 1;
        }
        if (ch->present == 0)
            --remaining;
    }
    if (remaining > 0)
        doc.RecalcRanges(RecalcMode::ChangedData);
    else
        doc.ClearAllChannels();
}

CChannelOrderWork::CChannelOrderWork(const CZorvicDoc& doc) {
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = doc.GetChannel(n);
        m_nOrigNumber[At(n - 1)] = n;
        m_bOrigPresent[At(n - 1)] = ch ? ch->present : 0;
        m_szOrigName[At(n - 1)] = NameOf(ch);
    }
    Reset();
}

void CChannelOrderWork::Reset() {
    m_nOrder = m_nOrigNumber;
    m_bPresent = m_bOrigPresent;
    m_szName = m_szOrigName;
    m_nFrom = m_nTo = 1;
    m_nDragRow = 0;
}

void CChannelOrderWork::Sort(int fromItem, int toItem) {
    if (fromItem < 0 || toItem < 0)
        return;
    m_nFrom = fromItem + 1;
    m_nTo = toItem + 1;
    if (Present(m_nFrom))
        Move(m_nFrom, m_nTo);
}

void CChannelOrderWork::Move(int from, int to) {
    if (!InRow(from) || !InRow(to) || from == to)
        return;
    const ChannelOrder oldOrder = m_nOrder;
    const auto oldName = m_szName;
    MoveChannel(m_nOrder, m_bPresent, from, to);
    for (int i = 0; i < kChannelCount; ++i) {
        // The name of the channel now at row i, found where it stood before the move.
        ChannelName name{};
        for (int k = 0; k < kChannelCount; ++k)
            if (oldOrder[At(k)] == m_nOrder[At(i)]) {
                name = oldName[At(k)];
                break;
            }
        name[8] = '\0';
        m_szName[At(i)] = m_bPresent[At(i)] != 0 ? name : ChannelName{};
    }
}

int ChannelCellAt(int x, int y, int cellWidth, int cellHeight) {
    if (cellWidth <= 0 || cellHeight <= 0 || x < 0 || x >= cellWidth || y < 0 ||
        y >= cellHeight * kChannelCount)
        return 0;
    return y / cellHeight + 1;
}

void CChannelOrderWork::BeginDrag(int row) {
    m_nDragRow = InRow(row) && Present(row) ? row : 0;
}

void CChannelOrderWork::EndDrag(int row) {
    if (InRow(row) && m_nDragRow != 0)
        Move(m_nDragRow, row);
    m_nDragRow = 0;
}

bool CChannelOrderWork::Present(int row) const {
    return InRow(row) && m_bPresent[At(row - 1)] != 0;
}

std::string CChannelOrderWork::Name(int row) const {
    if (!InRow(row))
        return {};
    const ChannelName& n = m_szName[At(row - 1)];
    return std::string(n.data(), FieldLength(n.data(), 8));
}

} // namespace saroko
