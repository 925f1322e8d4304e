// The facts behind the port diagnosis on a real pseudo-terminal: its permissions removed (as
// an unprivileged user sees it), and a fake /proc naming the process that holds it. The
// settings in the user's store and the CP932 codec.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#ifndef _WIN32
#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/document/ZorvicDoc.h"
#include "platform/QtSettingsStore.h"
#include "platform/SerialPorts.h"
#include "platform/UserFolders.h"

namespace saroko {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32 // pseudo-terminals, groups and /proc are Linux's
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

#endif

TEST(QtSettingsStore, SectionsRoundTripThroughTheUserStore) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    {
        CQtSettingsStore store;
        store.WriteInt("Unit Display Section", "UnitCF", 1);
        store.WriteString("KM4x Communication Section", "StartMode", "0x30");
        store.WriteString("KM4x Communication Section", "ChanName1", "室温");
        store.Sync();
    }
    CQtSettingsStore store;
    EXPECT_EQ(store.GetInt("Unit Display Section", "UnitCF", 0), 1);
    EXPECT_EQ(store.GetInt("Unit Display Section", "UnitV", 7), 7);
    EXPECT_EQ(store.GetInt("KM4x Communication Section", "StartMode", 49), 49); // text, not int
    EXPECT_EQ(store.GetString("KM4x Communication Section", "ChanName1", ""), "室温");

    // The document on the real store, with the platform's codec: names become CP932 bytes.
    FixedClock clock(1'200'000'000);
    CQtCp932Codec codec;
    CZorvicDoc doc(store, clock);
    doc.SetTextCodec(&codec);
    doc.OnNewDocument();
    EXPECT_EQ(doc.m_recSettings.startMode, 0x30);
    EXPECT_EQ(std::string(doc.m_recSettings.chanName1, 4), "\x8e\xba\x89\xb7");
    std::memcpy(doc.m_recSettings.chanName2, "\x8e\xba\x89\xb7\x8e\xba\x89\xb7", 8);
    doc.SaveCommSettings();
    EXPECT_EQ(store.GetString("KM4x Communication Section", "ChanName2", ""), "室温室温");
}

#ifndef _WIN32
// The XDG places of the program's short name, and the older ones whose files move there.
TEST(UserFolders, XdgPlacesAndTheOlderOnesTheyReplace) {
    QTemporaryDir home;
    const std::string h = home.path().toStdString(), old = "/PELNOR CORPORATION/Saroko";
    for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        ::setenv(v, (h + "/" + v).c_str(), 1);
    const std::vector<std::pair<std::string, std::string>> places = {
        {h + "/XDG_CONFIG_HOME" + old + ".conf", h + "/XDG_CONFIG_HOME/saroko/saroko.conf"},
        {h + "/XDG_DATA_HOME" + old, h + "/XDG_DATA_HOME/saroko"},
        {h + "/XDG_CACHE_HOME" + old, h + "/XDG_CACHE_HOME/saroko"}};
    std::vector<std::pair<std::string, std::string>> older;
    for (const PlaceMove& p : OlderUserPlaces())
        older.emplace_back(p.from, p.to);
    EXPECT_EQ(older, places);
    EXPECT_EQ(std::vector({SettingsFile(), KeptDownloadsFolder(), TranscriptFolder()}),
              std::vector({places[0].second, places[1].second + "/downloads", places[2].second}));
    // The store writes the new file, its folder made on the way.
    CQtSettingsStore().WriteInt("Unit Display Section", "UnitCF", 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(places[0].second));
}
#endif

TEST(QtCp932Codec, ConvertsBothWays) {
    ASSERT_TRUE(CQtCp932Codec::Available());
    CQtCp932Codec codec;
    EXPECT_EQ(codec.Utf8ToCp932("室温 ｺｰﾙ ﾟC"), "\x8e\xba\x89\xb7 \xba\xb0\xd9 \xdf"
                                                "C");
    EXPECT_EQ(codec.Cp932ToUtf8("\x87\x40"), "①");
    // ASCII skips the converter both ways: the printable part is what the converter makes of
    // it, and every byte comes back as it went, control codes too (Qt's converter would swap
    // 0x1A, 0x1C and 0x7F as an IBM code page does).
    std::string ascii, printable;
    for (char c = 1; c > 0; ++c)
        (c >= ' ' && c < 0x7F ? printable : ascii) += c;
    EXPECT_EQ(codec.Utf8ToCp932(printable), ToCp932(QString::fromLatin1(printable)));
    EXPECT_EQ(codec.Utf8ToCp932(codec.Cp932ToUtf8(ascii + printable)), ascii + printable);
    EXPECT_EQ(std::pair(codec.Cp932ToUtf8(ascii), codec.Utf8ToCp932(ascii)),
              std::pair(ascii, ascii));
    // The core's own codec agrees where it can.
    CBasicCp932Codec basic;
    EXPECT_EQ(basic.Cp932ToUtf8("\xba\xb0\xd9 C"), "ｺｰﾙ C");
    EXPECT_EQ(basic.Utf8ToCp932("ｺｰﾙ"), "\xba\xb0\xd9");
    EXPECT_EQ(basic.Utf8ToCp932("室"), "?");
    // Half-width katakana end to end, a lead byte takes its trail byte along, a cut character
    // is one '?'.
    for (const auto& [cp932, utf8] :
         std::vector<std::pair<std::string, std::string>>{{"\xa1\xdf", "｡ﾟ"},
                                                          {"\xa0\xe0", "\uFFFD\uFFFD"},
                                                          {"\x81\x40"
                                                           "A",
                                                           "\uFFFD"
                                                           "A"},
                                                          {"\xfc\x40"
                                                           "A\xfd"
                                                           "B",
                                                           "\uFFFD"
                                                           "A\uFFFD"
                                                           "B"}}) {
        EXPECT_EQ(basic.Cp932ToUtf8(cp932), utf8) << cp932;
        if (utf8.find("\uFFFD") == std::string::npos) {
            EXPECT_EQ(basic.Utf8ToCp932(utf8), cp932);
            EXPECT_EQ(codec.Utf8ToCp932(utf8), cp932);
        }
    }
    for (const auto& [utf8, cp932] : std::vector<std::pair<std::string, std::string>>{
             {"\uFF60\uFFA0", "??"}, {"\xef\xbd", "?"}, {"a\xc3", "a?"}, {"\xef\xbd\xa1", "\xa1"}})
        EXPECT_EQ(basic.Utf8ToCp932(utf8), cp932) << utf8;
}

} // namespace
} // namespace saroko
