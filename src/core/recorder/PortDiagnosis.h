#pragma once
// Why a serial device will not open, and what to do about it: rules on facts gathered from
// the system (device node, this user's groups, the processes holding it, brltty and
// ModemManager), so that they are tested without the system.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace saroko {

struct PortHolder {
    int pid = 0;
    std::string command; // as /proc/PID/comm names it
};

struct DeviceFacts {
    std::string path;
    std::string byIdPath; // the /dev/serial/by-id name leading to it, empty when none
    bool exists = false;
    bool accessible = false;         // this process may read and write it
    bool owner = false;              // this user owns the node
    std::string group;               // the node's group
    bool groupReadWrite = false;     // its members may read and write it
    bool inGroup = false;            // among this process's groups
    bool inGroupList = false;        // the group database lists this user in it (maybe since login)
    std::vector<PortHolder> holders; // processes with the device open, as far as readable
    bool usb = false;                // a USB serial adapter (ttyUSB, ttyACM)
};

struct SystemFacts {
    std::string user;
    bool brlttyInstalled = false;
    bool brlttyRunning = false;
    bool modemManagerRunning = false;
};

enum class PortCause {
    kMissing,        // no such device (an adapter unplugged, or taken by brltty)
    kNotInGroup,     // join the group, then log in again
    kGroupNotActive, // joined, but this login does not have it yet
    kNoPermission,   // neither owner nor group nor others may open it
    kBusy,           // other processes hold it open
    kBrltty,         // brltty claims USB serial adapters
    kModemManager,   // ModemManager probes new serial devices
    // On Windows:
    kInUse,      // another program has the port open (Windows does not say which)
    kNoSuchPort, // no COM port of that name
    kNoDriver,   // a USB serial adapter is plugged in, but no driver serves it
};

struct PortFinding {
    PortCause cause;
    std::string group;               // kNotInGroup, kGroupNotActive
    std::string user;                // kNotInGroup
    std::vector<PortHolder> holders; // kBusy
};

// What stands in the way of opening the device, most direct cause first; empty when nothing
// does. brltty and ModemManager are named only for a USB adapter in trouble.
std::vector<PortFinding> DiagnosePort(const DeviceFacts& device, const SystemFacts& system);
// Notes for the whole list: brltty when no USB adapter shows at all, ModemManager running.
std::vector<PortFinding> DiagnoseSystem(const SystemFacts& system, bool anyUsbListed);

// On Windows: what opening the port answered and what the system lists.
struct WindowsPortFacts {
    bool listed = false;               // the system lists a port of that name
    unsigned long openError = 0;       // the system's error code opening it gave; 0 when it opened
    bool adapterWithoutDriver = false; // a USB serial adapter present with no driver installed
};
// The system's error codes the rules tell apart.
inline constexpr unsigned long kWinFileNotFound = 2;
inline constexpr unsigned long kWinPathNotFound = 3;
inline constexpr unsigned long kWinAccessDenied = 5;
inline constexpr unsigned long kWinSharingViolation = 32;

// The USB vendor and product of a device from one of its hardware ids as Windows lists them
// ("USB\VID_0403&PID_6001&REV_0600", "FTDIBUS\VID_0403+PID_6001+A50285BIA\0000"), in either
// case; false when the id names no pair of four hexadecimal digits each.
bool ParseUsbIds(std::string_view hardwareId, uint16_t& vendor, uint16_t& product);

// What stands in the way on Windows; empty when nothing does. A driverless adapter is named
// only when the port cannot be had otherwise.
std::vector<PortFinding> DiagnoseWindowsPort(const WindowsPortFacts& port);

// The path to bind a COM number to: the by-id name when there is one, as it survives
// replugging and a change of the adapter's ttyUSB number.
std::string BindingPathOf(const DeviceFacts& device);

} // namespace saroko
