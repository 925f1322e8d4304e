#include "platform/SerialPorts.h"

#include <QSerialPortInfo>

#include <algorithm>

#include "recorder/SerialLine.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace saroko {

std::vector<SerialPortEntry> ListSerialPorts(const ISettingsStore* store) {
    std::vector<SerialPortEntry> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry e;
        e.device = info.systemLocation().toStdString();
        e.description = info.description().toStdString();
        e.manufacturer = info.manufacturer().toStdString();
        e.hasUsbIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
        e.vendorId = info.vendorIdentifier();
        e.productId = info.productIdentifier();
        for (int n = 1; n <= 9; ++n)
            if (PortDeviceName(n, store) == e.device) e.comNumbers.push_back(n);
#ifndef _WIN32
        e.accessible = ::access(e.device.c_str(), R_OK | W_OK) == 0;
        struct stat st {};
        if (::stat(e.device.c_str(), &st) == 0) {
            if (const group* g = ::getgrgid(st.st_gid)) e.group = g->gr_name;
            std::vector<gid_t> groups(
                static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
            const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
            e.inGroup = ::getegid() == st.st_gid ||
                        std::find(groups.begin(), groups.begin() + std::max(n, 0), st.st_gid) !=
                            groups.begin() + std::max(n, 0);
        }
#else
        e.accessible = true;
#endif
        out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        return a.device < b.device;
    });
    return out;
}

} // namespace saroko
