#include "core/recorder/PortDiagnosis.h"

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
