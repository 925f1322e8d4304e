#pragma once
// The serial devices the system lists, with what a user needs to get one working: the COM
// number bound to it and whether this user may open it.
#include <string>
#include <vector>

namespace saroko {

class ISettingsStore;

struct SerialPortEntry {
    std::string device; // /dev/ttyUSB0
    std::string description;
    std::string manufacturer;
    bool hasUsbIds = false;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::vector<int> comNumbers; // COM numbers that open this device
    bool accessible = false;     // this user may read and write it
    std::string group;           // the device's group
    bool inGroup = false;        // this user belongs to it
};

std::vector<SerialPortEntry> ListSerialPorts(const ISettingsStore* store);

} // namespace saroko
