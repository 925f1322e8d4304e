#include "core/recorder/PortDiagnosis.h"

#include <cctype>

namespace saroko {
namespace {

bool HeldBy(const DeviceFacts& d, const std::string& command) {
    for (const PortHolder& h : d.holders)
        if (h.command == command)
            return true;
    return false;
}

} // namespace

std::vector<PortFinding> DiagnosePort(const DeviceFacts& d, const SystemFacts& s) {
    std::vector<PortFinding> out;
    if (!d.exists) {
        out.push_back({PortCause::kMissing, {}, {}, {}});
    } else if (!d.accessible) {
        // Joining the group helps only a user who is not the owner, when the group may open it.
        if (d.owner || d.group.empty() || !d.groupReadWrite || d.inGroup)
            out.push_back({PortCause::kNoPermission, {}, {}, {}});
        else if (d.inGroupList)
            out.push_back({PortCause::kGroupNotActive, d.group, {}, {}});
        else
            out.push_back({PortCause::kNotInGroup, d.group, s.user, {}});
    }
    if (!d.holders.empty())
        out.push_back({PortCause::kBusy, {}, {}, d.holders});
    // Both services take USB adapters only; named when this adapter is in trouble.
    if (d.usb && !out.empty()) {
        if (s.brlttyInstalled || s.brlttyRunning || HeldBy(d, "brltty"))
            out.push_back({PortCause::kBrltty, {}, {}, {}});
        if (s.modemManagerRunning || HeldBy(d, "ModemManager"))
            out.push_back({PortCause::kModemManager, {}, {}, {}});
    }
    return out;
}

std::vector<PortFinding> DiagnoseSystem(const SystemFacts& s, bool anyUsbListed) {
    std::vector<PortFinding> out;
    // An adapter that brltty claimed leaves no device behind to diagnose.
    if (s.brlttyInstalled && !anyUsbListed)
        out.push_back({PortCause::kBrltty, {}, {}, {}});
    if (s.modemManagerRunning)
        out.push_back({PortCause::kModemManager, {}, {}, {}});
    return out;
}

namespace {

// Four hexadecimal digits after `key` ("VID_") somewhere in `id`, in either case.
bool HexAfter(std::string_view id, std::string_view key, uint16_t& out) {
    for (std::size_t at = 0; at + key.size() + 4 <= id.size(); ++at) {
        bool match = true;
        for (std::size_t k = 0; k < key.size() && match; ++k)
            match = std::toupper(static_cast<unsigned char>(id[at + k])) == key[k];
        if (!match)
            continue;
        unsigned value = 0;
        std::size_t k = 0;
        for (; k < 4; ++k) {
            const char c = id[at + key.size() + k];
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                break;
            value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                           ? c - '0'
                                                           : std::toupper(c) - 'A' + 10);
        }
        // Exactly four digits: a fifth one makes it some other field.
        const std::size_t end = at + key.size() + 4;
        if (k == 4 && (end == id.size() || !std::isxdigit(static_cast<unsigned char>(id[end])))) {
            out = static_cast<uint16_t>(value);
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseUsbIds(std::string_view hardwareId, uint16_t& vendor, uint16_t& product) {
    uint16_t v = 0, p = 0;
    if (!HexAfter(hardwareId, "VID_", v) || !HexAfter(hardwareId, "PID_", p))
        return false;
    vendor = v;
    product = p;
    return true;
}

std::vector<PortFinding> DiagnoseWindowsPort(const WindowsPortFacts& p) {
    std::vector<PortFinding> out;
    const bool gone = p.openError == kWinFileNotFound || p.openError == kWinPathNotFound;
    // Windows opens a COM port for one program at a time: a second one is refused access.
    if (p.openError == kWinAccessDenied || p.openError == kWinSharingViolation)
        out.push_back({PortCause::kInUse, {}, {}, {}});
    else if (gone || (!p.listed && p.openError != 0))
        out.push_back({PortCause::kNoSuchPort, {}, {}, {}});
    if (p.adapterWithoutDriver && (gone || !p.listed))
        out.push_back({PortCause::kNoDriver, {}, {}, {}});
    return out;
}

std::string BindingPathOf(const DeviceFacts& d) {
    return d.byIdPath.empty() ? d.path : d.byIdPath;
}

} // namespace saroko
