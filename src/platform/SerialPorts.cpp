#include "platform/SerialPorts.h"

#include <QCoreApplication>
#ifndef _WIN32
#include <QSerialPortInfo>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/recorder/SerialLine.h"

#ifdef _WIN32
#include <windows.h>
// The device manager's headers want windows.h before them.
#include <cfgmgr32.h>
#include <setupapi.h>
#else
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace saroko {
namespace {

namespace fs = std::filesystem;

std::string RealPath(const std::string& path) {
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    return ec ? path : real.string();
}

bool IsUsbName(const std::string& path) {
    return path.find("ttyUSB") != std::string::npos || path.find("ttyACM") != std::string::npos ||
           path.rfind("/dev/serial/by-id/", 0) == 0;
}

// A serial port as the system lists it.
struct SystemPort {
    std::string name;   // COM3, ttyUSB0
    std::string device; // what opens it: COM3, /dev/ttyUSB0
    std::string description;
    std::string manufacturer;
    bool hasUsbIds = false;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

#ifndef _WIN32
std::vector<SystemPort> SystemPorts() {
    std::vector<SystemPort> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                       info.description().toStdString(), info.manufacturer().toStdString(),
                       info.hasVendorIdentifier() && info.hasProductIdentifier(),
                       info.vendorIdentifier(), info.productIdentifier()});
    return out;
}
#endif

#ifdef _WIN32
// A USB serial adapter of a maker whose chips need a driver of their own, plugged in without
// one: Windows shows it with a problem code and makes no COM port for it.
bool DriverlessSerialAdapter() {
    HDEVINFO set =
        ::SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof dev;
    for (DWORD i = 0; !found && ::SetupDiEnumDeviceInfo(set, i, &dev); ++i) {
        ULONG status = 0, problem = 0;
        if (::CM_Get_DevNode_Status(&status, &problem, dev.DevInst, 0) != CR_SUCCESS ||
            !(status & DN_HAS_PROBLEM) ||
            (problem != CM_PROB_FAILED_INSTALL && problem != CM_PROB_NOT_CONFIGURED &&
             problem != CM_PROB_REINSTALL))
            continue;
        wchar_t ids[512] = {};
        if (!::SetupDiGetDeviceRegistryPropertyW(set, &dev, SPDRP_HARDWAREID, nullptr,
                                                 reinterpret_cast<BYTE*>(ids), sizeof ids - 2,
                                                 nullptr))
            continue;
        const QString id = QString::fromWCharArray(ids).toUpper();
        for (const char* vendor : {"VID_0403", "VID_067B", "VID_10C4", "VID_1A86"})
            found = found || id.contains(QLatin1String(vendor));
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return found;
}

std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD property) {
    wchar_t text[512] = {};
    if (!::SetupDiGetDeviceRegistryPropertyW(
            set, &dev, property, nullptr, reinterpret_cast<BYTE*>(text), sizeof text - 2, nullptr))
        return {};
    return QString::fromWCharArray(text).toStdString();
}

// The class of the serial and parallel ports in the device manager.
constexpr GUID kPortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// The COM ports of the device manager, with their names and USB ids; then the ports of the
// system's serial map that have no device of their own (virtual ones).
std::vector<SystemPort> SystemPorts() {
    std::vector<SystemPort> out;
    HDEVINFO set = ::SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set != INVALID_HANDLE_VALUE) {
        SP_DEVINFO_DATA dev{};
        dev.cbSize = sizeof dev;
        for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &dev); ++i) {
            HKEY key = ::SetupDiOpenDevRegKey(set, &dev, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
            if (key == INVALID_HANDLE_VALUE)
                continue;
            wchar_t name[64] = {};
            DWORD size = sizeof name - sizeof(wchar_t), type = 0;
            const bool named =
                ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name),
                                   &size) == ERROR_SUCCESS &&
                type == REG_SZ;
            ::RegCloseKey(key);
            // The printer ports share the class.
            if (!named || ::_wcsnicmp(name, L"COM", 3) != 0)
                continue;
            SystemPort p;
            p.name = QString::fromWCharArray(name).toStdString();
            p.device = p.name;
            p.description = DeviceProperty(set, dev, SPDRP_FRIENDLYNAME);
            if (p.description.empty())
                p.description = DeviceProperty(set, dev, SPDRP_DEVICEDESC);
            p.manufacturer = DeviceProperty(set, dev, SPDRP_MFG);
            p.hasUsbIds =
                ParseUsbIds(DeviceProperty(set, dev, SPDRP_HARDWAREID), p.vendorId, p.productId);
            out.push_back(std::move(p));
        }
        ::SetupDiDestroyDeviceInfoList(set);
    }
    HKEY map = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &map) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        wchar_t value[256] = {}, data[64] = {};
        DWORD valueSize = 255, dataSize = sizeof data - sizeof(wchar_t), type = 0;
        const LONG r = ::RegEnumValueW(map, i, value, &valueSize, nullptr, &type,
                                       reinterpret_cast<BYTE*>(data), &dataSize);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        if (r != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const std::string name = QString::fromWCharArray(data).toStdString();
        if (std::none_of(out.begin(), out.end(),
                         [&](const SystemPort& p) { return SameSerialDevice(p.name, name); }))
            out.push_back({name, name, {}, {}, false, 0, 0});
    }
    ::RegCloseKey(map);
    return out;
}

WindowsPortFacts GatherWindowsPortFacts(const std::string& name) {
    WindowsPortFacts f;
    const QString port = QString::fromStdString(name);
    for (const SystemPort& p : SystemPorts())
        f.listed = f.listed || SameSerialDevice(p.name, name);
    const std::wstring path = (QStringLiteral("\\\\.\\") + port).toStdWString();
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        f.openError = ::GetLastError();
    else
        ::CloseHandle(h);
    f.adapterWithoutDriver = DriverlessSerialAdapter();
    return f;
}
#endif

} // namespace

ProcessScan ScanProcesses(const std::string& procRoot) {
    ProcessScan scan;
    std::error_code ec;
    for (const fs::directory_entry& p : fs::directory_iterator(procRoot, ec)) {
        const std::string name = p.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit))
            continue;
        const int pid = std::atoi(name.c_str());
#ifndef _WIN32
        if (pid == ::getpid())
            continue;
#endif
        std::string command;
        std::getline(std::ifstream(p.path() / "comm"), command);
        scan.commands.push_back(command);
        std::error_code fdError; // other users' descriptors are not ours to read
        for (const fs::directory_entry& fd : fs::directory_iterator(p.path() / "fd", fdError)) {
            std::error_code linkError;
            const std::string target = fs::read_symlink(fd.path(), linkError).string();
            if (linkError || target.rfind("/dev/", 0) != 0)
                continue;
            std::vector<PortHolder>& list = scan.holders[target];
            if (list.empty() || list.back().pid != pid)
                list.push_back({pid, command});
        }
    }
    return scan;
}

std::map<std::string, std::string> ScanByIdNames(const std::string& byIdDir) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(byIdDir, ec))
        names[RealPath(e.path().string())] = e.path().string();
    return names;
}

DeviceFacts GatherDeviceFacts(const std::string& path, const ProcessScan& processes,
                              const std::map<std::string, std::string>& byId) {
    DeviceFacts d;
    d.path = path;
    const std::string real = RealPath(path);
    if (const auto it = byId.find(real); it != byId.end())
        d.byIdPath = it->second;
    d.usb = IsUsbName(path) || IsUsbName(real) || !d.byIdPath.empty();
    if (const auto it = processes.holders.find(real); it != processes.holders.end())
        d.holders = it->second;
#ifndef _WIN32
    struct stat st {};
    d.exists = ::stat(path.c_str(), &st) == 0;
    if (!d.exists)
        return d;
    d.accessible = ::access(path.c_str(), R_OK | W_OK) == 0;
    d.owner = st.st_uid == ::geteuid();
    d.groupReadWrite = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (const group* g = ::getgrgid(st.st_gid))
        d.group = g->gr_name;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int n = std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0);
    groups.resize(static_cast<std::size_t>(n));
    d.inGroup = ::getegid() == st.st_gid ||
                std::find(groups.begin(), groups.end(), st.st_gid) != groups.end();
    // The group database may list the user already, for the next login.
    if (const passwd* pw = ::getpwuid(::geteuid())) {
        int count = 64;
        std::vector<gid_t> listed(static_cast<std::size_t>(count));
        if (::getgrouplist(pw->pw_name, pw->pw_gid, listed.data(), &count) < 0) {
            listed.resize(static_cast<std::size_t>(count));
            ::getgrouplist(pw->pw_name, pw->pw_gid, listed.data(), &count);
        }
        listed.resize(static_cast<std::size_t>(std::max(count, 0)));
        d.inGroupList = std::find(listed.begin(), listed.end(), st.st_gid) != listed.end();
    }
#else
    d.exists = d.accessible = true;
#endif
    return d;
}

SystemFacts GatherSystemFacts(const ProcessScan& processes) {
    SystemFacts s;
#ifndef _WIN32
    if (const passwd* pw = ::getpwuid(::geteuid()))
        s.user = pw->pw_name;
    for (const char* bin : {"/usr/bin/brltty", "/usr/sbin/brltty", "/bin/brltty", "/sbin/brltty"})
        s.brlttyInstalled = s.brlttyInstalled || ::access(bin, X_OK) == 0;
#endif
    const auto runs = [&](const char* name) {
        return std::find(processes.commands.begin(), processes.commands.end(), name) !=
               processes.commands.end();
    };
    s.brlttyRunning = runs("brltty");
    s.modemManagerRunning = runs("ModemManager");
    return s;
}

std::vector<PortFinding> DiagnoseDevicePath(const std::string& path, const FactSources& src) {
#ifdef _WIN32
    (void)src;
    return DiagnoseWindowsPort(GatherWindowsPortFacts(path));
#endif
    const ProcessScan scan = ScanProcesses(src.proc);
    return DiagnosePort(GatherDeviceFacts(path, scan, ScanByIdNames(src.byId)),
                        GatherSystemFacts(scan));
}

std::vector<SerialPortEntry> ListSerialPorts(const ISettingsStore* store, const FactSources& src) {
    const ProcessScan scan = ScanProcesses(src.proc);
    const std::map<std::string, std::string> byId = ScanByIdNames(src.byId);
    const SystemFacts system = GatherSystemFacts(scan);
    std::vector<SerialPortEntry> out;
    for (const SystemPort& port : SystemPorts()) {
        SerialPortEntry e;
        e.device = port.device; // on Windows COM3, the name a user knows
        e.description = port.description;
        e.manufacturer = port.manufacturer;
        e.hasUsbIds = port.hasUsbIds;
        e.vendorId = port.vendorId;
        e.productId = port.productId;
#ifdef _WIN32
        e.findings = DiagnoseWindowsPort(GatherWindowsPortFacts(e.device));
#else
        const DeviceFacts facts = GatherDeviceFacts(e.device, scan, byId);
        e.byIdPath = facts.byIdPath;
        e.findings = DiagnosePort(facts, system);
#endif
        for (int n = 1; n <= 9; ++n) {
            const std::string bound = PortDeviceName(n, store);
            if (SameSerialDevice(bound, e.device) || (!e.byIdPath.empty() && bound == e.byIdPath))
                e.comNumbers.push_back(n);
        }
        out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        return a.device < b.device;
    });
    return out;
}

std::vector<PortFinding> DiagnoseSerialSystem(const std::vector<SerialPortEntry>& ports,
                                              const FactSources& src) {
    const bool anyUsb = std::any_of(ports.begin(), ports.end(), [](const SerialPortEntry& e) {
        return IsUsbName(e.device) || !e.byIdPath.empty();
    });
    return DiagnoseSystem(GatherSystemFacts(ScanProcesses(src.proc)), anyUsb);
}

QStringList PortFindingTexts(const std::vector<PortFinding>& findings, const std::string& path) {
    QStringList out;
    const QString device = QString::fromStdString(path);
    for (const PortFinding& f : findings) {
        const QString group = QString::fromStdString(f.group);
        switch (f.cause) {
        case PortCause::kMissing:
            out << QCoreApplication::translate(
                       "SerialPorts",
                       "ﾃﾞﾊﾞｲｽ %1 がありません。USB ｼﾘｱﾙ変換器ならつなぎ直してください。")
                       .arg(device);
            break;
        case PortCause::kNotInGroup:
            out << QCoreApplication::translate(
                       "SerialPorts",
                       "このﾕｰｻﾞｰには開けないﾃﾞﾊﾞｲｽです。ｸﾞﾙｰﾌﾟ \"%1\" に加えてください:\n"
                       "sudo usermod -aG %1 %2\n加えたあと、ﾛｸﾞｲﾝし直すと有効になります。")
                       .arg(group, QString::fromStdString(f.user.empty() ? "$USER" : f.user));
            break;
        case PortCause::kGroupNotActive:
            out << QCoreApplication::translate(
                       "SerialPorts",
                       "ｸﾞﾙｰﾌﾟ \"%1\" には加えられていますが、このﾛｸﾞｲﾝではまだ有効ではありません。"
                       "ﾛｸﾞｲﾝし直してください。")
                       .arg(group);
            break;
        case PortCause::kNoPermission:
            out << QCoreApplication::translate(
                       "SerialPorts",
                       "このﾕｰｻﾞｰには開けないﾃﾞﾊﾞｲｽです。許可を確かめてください: ls -l %1")
                       .arg(device);
            break;
        case PortCause::kBusy: {
            QStringList who;
            for (const PortHolder& h : f.holders)
                who << QStringLiteral("%1 (PID %2)")
                           .arg(QString::fromStdString(h.command))
                           .arg(h.pid);
            out << QCoreApplication::translate(
                       "SerialPorts",
                       "ほかのﾌﾟﾛｸﾞﾗﾑが使用中です: %1\nそのﾌﾟﾛｸﾞﾗﾑを終了してから通信してください。")
                       .arg(who.join(QStringLiteral(", ")));
            break;
        }
        case PortCause::kBrltty:
            out << QCoreApplication::translate(
                "SerialPorts", "brltty (点字ﾃﾞｨｽﾌﾟﾚｲ用) が USB ｼﾘｱﾙ変換器を奪うことがあります。"
                               "使わないなら削除してください: sudo apt remove brltty");
            break;
        case PortCause::kInUse:
            out << QCoreApplication::translate(
                       "SerialPorts",
                       "%1 はほかのﾌﾟﾛｸﾞﾗﾑが開いています。通信ｿﾌﾄや別の Saroko を終了してから"
                       "通信してください。")
                       .arg(device);
            break;
        case PortCause::kNoSuchPort:
            out << QCoreApplication::translate(
                       "SerialPorts",
                       "%1 というﾎﾟｰﾄはありません。USB ｼﾘｱﾙ変換器ならつなぎ直し、ﾃﾞﾊﾞｲｽ ﾏﾈｰｼﾞｬｰの"
                       "「ﾎﾟｰﾄ (COM と LPT)」で番号を確かめてください。")
                       .arg(device);
            break;
        case PortCause::kNoDriver:
            out << QCoreApplication::translate(
                "SerialPorts", "USB ｼﾘｱﾙ変換器のﾄﾞﾗｲﾊﾞｰが入っていません。変換器のﾒｰｶｰの"
                               "ﾄﾞﾗｲﾊﾞｰを入れてから、つなぎ直してください。");
            break;
        case PortCause::kModemManager:
            out << QCoreApplication::translate(
                "SerialPorts", "ModemManager が新しいｼﾘｱﾙﾃﾞﾊﾞｲｽを調べに開くことがあります。"
                               "止めるには: sudo systemctl stop ModemManager");
            break;
        }
    }
    return out;
}

} // namespace saroko
