#include "core/recorder/PortSelect.h"

#include "core/document/ZorvicDoc.h"
#include "core/recorder/SerialLine.h"

namespace saroko {

std::string DefaultPortDevice(int portNo) {
    return PortDeviceName(portNo, nullptr);
}

CPortSelection::CPortSelection(const ISettingsStore& store, int portNo) : m_store(store) {
    SetIndex(portNo - 1);
}

std::string CPortSelection::BindingOf(int portNo) const {
    if (auto it = m_pending.find(portNo); it != m_pending.end())
        return it->second;
    return m_store.GetString(kRecorderCommSection, PortBindingEntry(portNo), "");
}

std::string CPortSelection::DeviceOf(int portNo) const {
    const std::string bound = BindingOf(portNo);
    return bound.empty() ? DefaultPortDevice(portNo) : bound;
}

void CPortSelection::Bind(int portNo, const std::string& device) {
    if (portNo < 1 || portNo > kPortChoices)
        return;
    m_pending[portNo] =
        SameSerialDevice(device, DefaultPortDevice(portNo)) ? std::string() : device;
}

void CPortSelection::Apply(CZorvicDoc& doc) const {
    if (m_nIndex >= 0)
        doc.m_nPortNo = static_cast<uint32_t>(m_nIndex + 1);
    for (const auto& [portNo, device] : m_pending)
        if (device != m_store.GetString(kRecorderCommSection, PortBindingEntry(portNo), ""))
            doc.Store().WriteString(kRecorderCommSection, PortBindingEntry(portNo), device);
    doc.SaveCommSettings();
}

} // namespace saroko
