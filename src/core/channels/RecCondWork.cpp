#include "core/channels/RecCondWork.h"
#include "core/messages/Translate.h"

#include <algorithm>
#include <cstring>

namespace saroko {
namespace {

constexpr bool InRow(int n) {
    return n >= 1 && n <= kChannelCount;
}

ChannelName Spaces() {
    ChannelName n{};
    std::memset(n.data(), ' ', kNameBytes);
    return n;
}

int MessageOf(int error) {
    if (error == kRcNameTooLong)
        return msg::kNameTooLong;
    if (error == kRcNotInteger)
        return kMsgEnterInteger;
    if (error == kRcNotConvertible)
        return msg::kDateNotConvertible;
    return DateRangeMessage(error);
}

} // namespace

CRecCondWork::CRecCondWork(const CZorvicDoc& doc, bool withDelete) : m_bWithDelete(withDelete) {
    for (int n = 1; n <= kChannelCount; ++n) {
        Channel& c = Ch(n);
        if (const ChannelRecord* ch = doc.GetChannel(n)) {
            std::memcpy(c.name.data(), ch->name, sizeof ch->name);
            c.name[8] = '\0';
            c.start = ch->startTime;
            c.present = ch->present;
        }
    }
    Reset();
    ClearForm();
}

void CRecCondWork::Reset() {
    for (Channel& c : m_ch) {
        c.deleted = false;
        if (c.present != 0) {
            c.editName = c.name;
            c.tmValid = ToCalendarFields(c.start, c.tm);
            c.timeText = FormatDateTimeText(c.tm);
        } else {
            c.name = c.editName = Spaces();
            c.timeText = m_bWithDelete ? std::string(26, ' ') : std::string(" ");
            c.tm = {};
            c.tmValid = false;
        }
    }
}

void CRecCondWork::Undo() {
    Reset();
    ClearForm();
    m_nSel = 0;
}

void CRecCondWork::ClearForm() {
    form.name.clear();
    form.date.fill("0");
}

void CRecCondWork::LoadForm() {
    const Channel& c = Ch(m_nSel);
    form.name.assign(c.editName.data(), FieldLength(c.editName.data(), kNameBytes));
    const int v[6] = {c.tm.year, c.tm.month, c.tm.day, c.tm.hour, c.tm.minute, c.tm.second};
    for (std::size_t i = 0; i < 6; ++i)
        form.date[i] = std::to_string(v[i]);
}

int CRecCondWork::FocusOf(int error) {
    if (error >= kDateYear && error <= kDateSecond)
        return kRcYear + DateCodeField(error);
    if (error == kRcNotConvertible)
        return kRcYear;
    return kRcName; // accepted, a long name, or a field that is no integer
}

bool CRecCondWork::CheckChannel(int n) {
    if (n == 0 || !Present(n))
        return true;
    m_nError = 0;
    int v[6] = {};
    for (std::size_t i = 0; i < 6; ++i)
        if (!ParseFieldInteger(form.date[i], v[i])) {
            m_nError = kRcNotInteger;
            return false;
        }
    if (form.name.size() > kNameBytes) {
        m_nError = kRcNameTooLong;
        return false;
    }
    m_nError = CheckDateFields(v[0], v[1], v[2], v[3], v[4], v[5]);
    if (m_nError != 0)
        return false;
    // A date before 1970 UTC would be kept in the list but never reach the channel; it is
    // refused here like the calculation range refuses it.
    Channel& c = Ch(n);
    uint32_t t = 0;
    if (!FromCalendarFields({v[0], v[1], v[2], v[3], v[4], v[5]}, c.start, t)) {
        m_nError = kRcNotConvertible;
        return false;
    }
    c.tmValid =
        ToCalendarFields(t, c.tm); // a time inside a clock change moves on as the calendar does
    c.timeText = FormatDateTimeText(c.tm);
    return true;
}

void CRecCondWork::TakeName(int n) {
    Channel& c = Ch(n);
    c.editName = {};
    std::memcpy(c.editName.data(), form.name.data(),
                std::min<std::size_t>(form.name.size(), kNameBytes));
}

void CRecCondWork::MarkDeleted(int n) {
    Channel& c = Ch(n);
    c.deleted = true;
    c.editName = {};
    c.tm = {};
    c.tmValid = false;
    c.timeText = TranslateText("Channels", kDeletedTime);
}

RecCondOutcome CRecCondWork::Select(int channel) {
    RecCondOutcome o;
    if (!InRow(channel) || !Present(channel))
        return o; // a button without data does nothing at all
    if (m_nSel == 0 || !Present(m_nSel)) {
        m_nSel = channel;
    } else if (m_bWithDelete && m_nMode == 1) {
        MarkDeleted(m_nSel);
        m_nSel = channel;
    } else if (CheckChannel(m_nSel)) {
        TakeName(m_nSel);
        m_nSel = channel;
    } else {
        o.messageId = MessageOf(m_nError);
    }
    if (m_bWithDelete && Ch(m_nSel).deleted) {
        ClearForm();
        m_nSel = 0;
    } else {
        LoadForm();
    }
    o.reloadForm = true;
    o.focus = FocusOf(m_nError);
    return o;
}

RecCondOutcome CRecCondWork::Ok() {
    RecCondOutcome o;
    if (m_bWithDelete && m_nMode == 1) {
        if (m_nSel != 0 && Present(m_nSel))
            MarkDeleted(m_nSel);
    } else if (!CheckChannel(m_nSel)) {
        o.messageId = MessageOf(m_nError);
        LoadForm();
        o.reloadForm = true;
        o.focus = FocusOf(m_nError);
        return o;
    } else if (m_nSel != 0 && Present(m_nSel)) {
        TakeName(m_nSel);
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        Channel& c = Ch(n);
        c.name = c.editName;
        uint32_t t = 0;
        if (c.present != 0 && c.tmValid && FromCalendarFields(c.tm, c.start, t))
            c.start = t;
    }
    o.closed = true;
    return o;
}

std::string CRecCondWork::NameText(int channel) const {
    const Channel& c = Ch(channel);
    return std::string(c.editName.data(), FieldLength(c.editName.data(), kNameBytes));
}

std::string CRecCondWork::TimeText(int channel) const {
    return Ch(channel).timeText;
}

void CRecCondWork::Apply(CZorvicDoc& doc) const {
    int remaining = 0;
    for (const Channel& c : m_ch)
        remaining += c.present != 0 ? 1 : 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord* ch = doc.GetChannel(n);
        if (!ch)
            continue;
        const Channel& c = Ch(n);
        std::memcpy(ch->name, c.name.data(), sizeof ch->name);
        ch->startTime = c.start;
        if (m_bWithDelete && c.deleted) {
            --remaining;
            ClearChannel(*ch);
            doc.m_bShow[static_cast<std::size_t>(n - 1)] = 1;
        }
    }
    if (!m_bWithDelete || remaining > 0)
        doc.RecalcRanges(RecalcMode::ChangedData);
    else
        doc.ClearAllChannels();
}

} // namespace saroko
