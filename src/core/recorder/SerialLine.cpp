#include "core/recorder/SerialLine.h"

#include <algorithm>
#include <cstdio>

#include "core/settings/SettingsStore.h"

namespace saroko {

int ISerialLine::ReadByte(uint8_t& dest, uint32_t timeoutMs, uint32_t gatherMs) {
    const uint32_t t0 = TickCount();
    for (;;) {
        if (TryReadByte(dest))
            return 0;
        const uint32_t elapsed = TickCount() - t0; // u32 difference survives the wrap
        if (elapsed > timeoutMs)
            return 1;
        const uint32_t left = timeoutMs - elapsed + 1;
        if (gatherMs == 0)
            WaitForInput(left);
        else
            Gather(std::min(left, gatherMs));
    }
}

uint32_t GatherMs(std::size_t expected, uint32_t baud) {
    if (expected <= 1 || baud == 0)
        return 0;
    const uint64_t wireMs = (uint64_t{expected} * 10 * 1000 + baud - 1) / baud;
    return static_cast<uint32_t>(std::min<uint64_t>(wireMs, kMaxGatherMs));
}

std::string NormalisedPortName(const std::string& device) {
#ifdef _WIN32
    std::string name = device.rfind("\\\\.\\", 0) == 0 ? device.substr(4) : device;
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return name;
#else
    return device;
#endif
}

bool SameSerialDevice(const std::string& a, const std::string& b) {
    return NormalisedPortName(a) == NormalisedPortName(b);
}

std::string PortBindingEntry(int portNo) {
    return "COM" + std::to_string(portNo);
}

std::string PortDeviceName(int portNo, const ISettingsStore* store) {
    if (store) {
        std::string bound = store->GetString(kRecorderCommSection, PortBindingEntry(portNo), "");
        if (!bound.empty())
            return bound;
    }
    char buf[32];
#ifdef _WIN32
    std::snprintf(buf, sizeof buf, portNo < 10 ? "COM%d" : "\\\\.\\COM%d", portNo);
#else
    std::snprintf(buf, sizeof buf, "/dev/ttyS%d", portNo - 1);
#endif
    return buf;
}

PortTarget ResolvePort(int portNo, const ISettingsStore* store) {
    return PortTarget{portNo, PortDeviceName(portNo, store)};
}

} // namespace saroko
