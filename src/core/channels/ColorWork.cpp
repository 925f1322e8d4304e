#include "core/channels/ColorWork.h"

#include <cstdio>

#include "core/text/ParseInteger.h"

namespace saroko {

TabTarget TabFrom(int component, bool shift) {
    if (shift)
        return component == kBlue    ? TabTarget::kGreenEdit
               : component == kGreen ? TabTarget::kRedEdit
                                     : TabTarget::kChannel8;
    return component == kRed     ? TabTarget::kGreenEdit
           : component == kGreen ? TabTarget::kBlueEdit
                                 : TabTarget::kOk;
}

CChannelColorWork::CChannelColorWork(const PaletteEntries& current)
    : m_pOriginal(current), m_pWork(current) {}

void CChannelColorWork::Select(int channel) {
    if (channel < 1 || channel > 8)
        return;
    m_nSelChannel = channel;
    m_nSelIndex = channel - 1;
}

uint8_t& CChannelColorWork::Ref(int component) {
    PaletteEntry& e = m_pWork[static_cast<std::size_t>(m_nSelIndex)];
    return component == kRed ? e.red : component == kGreen ? e.green : e.blue;
}

int CChannelColorWork::Component(int component) const {
    if (m_nSelChannel == 0)
        return 0;
    const PaletteEntry& e = m_pWork[static_cast<std::size_t>(m_nSelIndex)];
    return component == kRed ? e.red : component == kGreen ? e.green : e.blue;
}

std::string CChannelColorWork::ComponentText(int component) const {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%3d", Component(component));
    return buf;
}

bool CChannelColorWork::Scroll(int component, ScrollAction action, int position) {
    if (m_nSelChannel == 0)
        return false;
    uint8_t& v = Ref(component);
    const uint8_t before = v;
    switch (action) {
    case ScrollAction::kLineLeft:
        if (v > 0)
            --v;
        break;
    case ScrollAction::kLineRight:
        if (v < 255)
            ++v;
        break;
    case ScrollAction::kThumbPosition:
        if (position >= 0 && position <= 255)
            v = static_cast<uint8_t>(position);
        break;
    case ScrollAction::kOther:
        break;
    }
    return v != before;
}

EditResult CChannelColorWork::LeaveEdit(int component, std::string_view text) {
    EditResult r;
    if (m_nErrorEdit != 0)
        return r;
    r.checked = true;
    if (m_nSelChannel == 0) {
        r.text = "  0";
        m_bValid = 1;
        return r;
    }
    r.text = std::string(text);
    int value = 0;
    // The field is read into a buffer of three characters.
    if (!ParseInteger(text.substr(0, 3), value)) {
        r.messageId = kMsgColorNotNumeric + component;
    } else if (value < 0 || value > 255) {
        r.messageId = kMsgColorRange + component;
    } else {
        Ref(component) = static_cast<uint8_t>(value);
        r.changed = true;
    }
    m_bValid = r.messageId == 0 ? 1 : 0;
    return r;
}

} // namespace saroko
