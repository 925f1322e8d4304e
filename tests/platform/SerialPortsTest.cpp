// The facts behind the port diagnosis on a real pseudo-terminal: its permissions removed (as
// an unprivileged user sees it), and a fake /proc naming the process that holds it.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/SerialPorts.h"

namespace saroko {
namespace {

namespace fs = std::filesystem;

struct Pty {
    Pty() { EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0); }
    ~Pty() {
        ::close(slave);
        ::close(master);
    }
    int master = -1, slave = -1;
    char name[128] = {};
};

// The causes for `path` as the user nobody finds them (this user when not root), as "cause
// group" words.
std::string CausesAsNobody(const std::string& path, const FactSources& sources) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        std::string out;
        for (const PortFinding& f : DiagnoseDevicePath(path, sources))
            out += std::to_string(static_cast<int>(f.cause)) + f.group + " ";
        const ssize_t n = ::write(pipeFds[1], out.data(), out.size());
        ::_exit(n == static_cast<ssize_t>(out.size()) ? 0 : 3);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buf[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "child failed";
}

std::string Word(PortCause c, const std::string& group = {}) {
    return std::to_string(static_cast<int>(c)) + group + " ";
}

TEST(SerialPortFacts, PtyWithItsPermissionsRemoved) {
    QTemporaryDir empty;
    const FactSources none{empty.path().toStdString(), empty.path().toStdString()};
    Pty pty;
    struct stat st {};
    ASSERT_EQ(::stat(pty.name, &st), 0);
    const group* g = ::getgrgid(st.st_gid);
    ASSERT_TRUE(g);
    const std::string owningGroup = g->gr_name;

    ASSERT_EQ(::chmod(pty.name, 0), 0);
    EXPECT_EQ(CausesAsNobody(pty.name, none), Word(PortCause::kNoPermission));
    // Only the group may open it: a stranger is told to join that group.
    ASSERT_EQ(::chmod(pty.name, 0660), 0);
    if (::geteuid() == 0) {
        EXPECT_EQ(CausesAsNobody(pty.name, none), Word(PortCause::kNotInGroup, owningGroup));
    }
    const QStringList texts =
        PortFindingTexts({{PortCause::kNotInGroup, owningGroup, "nobody", {}}}, pty.name);
    EXPECT_TRUE(texts.value(0).contains(
        QString::fromStdString("sudo usermod -aG " + owningGroup + " nobody")));
    EXPECT_EQ(CausesAsNobody("/dev/ttyS97", none), Word(PortCause::kMissing));
}

TEST(SerialPortFacts, FakeProcNamesTheHolderAndByIdTheAdapter) {
    Pty pty;
    QTemporaryDir dir;
    const fs::path proc = dir.path().toStdString() + "/proc",
                   byId = dir.path().toStdString() + "/by-id";
    fs::create_directories(proc / "4711" / "fd");
    fs::create_directories(proc / "812" / "fd");
    fs::create_directories(byId);
    std::ofstream(proc / "4711" / "comm") << "minicom\n";
    std::ofstream(proc / "812" / "comm") << "ModemManager\n";
    fs::create_symlink(pty.name, proc / "4711" / "fd" / "3");
    fs::create_symlink("/dev/null", proc / "4711" / "fd" / "0");
    const fs::path link = byId / "usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    fs::create_symlink(pty.name, link);

    const ProcessScan scan = ScanProcesses(proc.string());
    const DeviceFacts d = GatherDeviceFacts(pty.name, scan, ScanByIdNames(byId.string()));
    EXPECT_EQ(d.byIdPath, link.string());
    EXPECT_TRUE(d.usb) << "an adapter by its by-id name";
    ASSERT_EQ(d.holders.size(), 1u);
    EXPECT_EQ(d.holders[0].pid, 4711);
    EXPECT_TRUE(GatherSystemFacts(scan).modemManagerRunning);
    // Which causes these facts give is the core's; the text names the holder.
    const QStringList texts = PortFindingTexts({{PortCause::kBusy, {}, {}, d.holders}}, pty.name);
    EXPECT_TRUE(texts.value(0).contains(QStringLiteral("minicom (PID 4711)")));
}

} // namespace
} // namespace saroko
