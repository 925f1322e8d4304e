#pragma once
// The serial devices the system lists, with what a user needs to get one working: the COM
// number bound to it, its /dev/serial/by-id name, and what stands in the way of opening it.
#include <QString>
#include <QStringList>
#include <map>
#include <string>
#include <vector>

#include "core/recorder/PortDiagnosis.h"

namespace saroko {

class ISettingsStore;

struct SerialPortEntry {
    std::string device; // /dev/ttyUSB0
    std::string description;
    std::string manufacturer;
    bool hasUsbIds = false;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::vector<int> comNumbers;       // COM numbers that open this device
    std::vector<PortFinding> findings; // empty: nothing stands in the way
    std::string byIdPath; // /dev/serial/by-id/usb-..., empty when the system names none
};

// Where the facts are read; tests point them at folders of their own.
struct FactSources {
    std::string proc = "/proc";
    std::string byId = "/dev/serial/by-id";
};

// Who holds which device open, and which programs run, from one walk over /proc (only what
// this user may read there).
struct ProcessScan {
    std::map<std::string, std::vector<PortHolder>> holders; // by the device's real path
    std::vector<std::string> commands;
};
ProcessScan ScanProcesses(const std::string& procRoot);

// The by-id names, keyed by the real path they lead to.
std::map<std::string, std::string> ScanByIdNames(const std::string& byIdDir);

DeviceFacts GatherDeviceFacts(const std::string& path, const ProcessScan& processes,
                              const std::map<std::string, std::string>& byId);
SystemFacts GatherSystemFacts(const ProcessScan& processes);

// The findings for one device path, gathered now (a path typed in or bound but not listed).
std::vector<PortFinding> DiagnoseDevicePath(const std::string& path,
                                            const FactSources& sources = {});

std::vector<SerialPortEntry> ListSerialPorts(const ISettingsStore* store,
                                             const FactSources& sources = {});
// The notes for the whole list (brltty, ModemManager).
std::vector<PortFinding> DiagnoseSerialSystem(const std::vector<SerialPortEntry>& ports,
                                              const FactSources& sources = {});

// One text per finding: the cause and what to do, for the user of `path`.
QStringList PortFindingTexts(const std::vector<PortFinding>& findings, const std::string& path);

} // namespace saroko
