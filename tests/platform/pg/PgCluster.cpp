#include "platform/pg/PgCluster.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace saroko::test {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string g_reason;

// Drops root for the server's programs; the tests' own user otherwise.
void BecomeServerUser() {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
        ::_exit(126);
}

// Runs argv as the server's user; the exit status, output to `log`.
int RunAsServerUser(const std::vector<std::string>& argv, const std::string& log) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        BecomeServerUser();
        if (std::freopen(log.c_str(), "a", stdout) == nullptr ||
            std::freopen(log.c_str(), "a", stderr) == nullptr)
            ::_exit(125);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

// The newest installed server's programs.
std::string FindBinaries() {
    if (const char* bin = std::getenv("SAROKO_PG_BINDIR"))
        return bin;
    std::vector<fs::path> found;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator("/usr/lib/postgresql", ec))
        if (fs::exists(e.path() / "bin" / "initdb", ec) &&
            fs::exists(e.path() / "bin" / "pg_ctl", ec))
            found.push_back(e.path() / "bin");
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        return std::stoi(a.parent_path().filename().string()) <
               std::stoi(b.parent_path().filename().string());
    });
    return found.empty() ? std::string() : found.back().string();
}

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string Capture(const std::string& command, int* status) {
    std::string out;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) {
        if (status)
            *status = -1;
        return out;
    }
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int rc = ::pclose(p);
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : 128;
    return out;
}

} // namespace

const std::string& CPgCluster::Reason() {
    return g_reason;
}

CPgCluster* CPgCluster::Get() {
    static std::unique_ptr<CPgCluster> cluster = [] {
        auto c = std::make_unique<CPgCluster>();
        if (!c->Init())
            c.reset();
        return c;
    }();
    return cluster.get();
}

bool CPgCluster::Init() {
    m_bin = FindBinaries();
    if (m_bin.empty()) {
        g_reason = "the PostgreSQL server is not installed (Debian's postgresql package): "
                   "the site archive's tests are skipped";
        return false;
    }
    char templ[] = "/tmp/saroko-pg-XXXXXX";
    if (!::mkdtemp(templ)) {
        g_reason = "no temporary folder for the test cluster";
        return false;
    }
    m_dir = templ;
    if (::geteuid() == 0 && ::chown(m_dir.c_str(), kNobody, kNobody) != 0) {
        g_reason = "the test cluster's folder cannot be given to nobody";
        return false;
    }
    // The watchdog: when the test program ends, however, its end of the pipe closes and the
    // server is stopped and its folder removed.
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const pid_t watchdog = ::fork();
    if (watchdog == 0) {
        ::close(fds[1]);
        char c;
        while (::read(fds[0], &c, 1) > 0) {
        }
        const std::string log = m_dir + "/stop.log";
        RunAsServerUser(
            {m_bin + "/pg_ctl", "stop", "-s", "-m", "immediate", "-w", "-D", m_dir + "/data"}, log);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
        ::_exit(0);
    }
    ::close(fds[0]);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    // fds[1] stays open for the life of this process (and closes with it).

    const std::string log = m_dir + "/initdb.log";
    if (RunAsServerUser({m_bin + "/initdb", "-D", m_dir + "/data", "-U", kAdmin, "-A", "trust",
                         "-E", "UTF8", "--locale=C", "--no-sync", "--no-instructions"},
                        log) != 0) {
        g_reason = "initdb failed, see " + log;
        return false;
    }
    if (!Start()) {
        g_reason = "the test cluster would not start";
        return false;
    }
    return true;
}

bool CPgCluster::Start() {
    // Only the socket in the cluster's own folder: nothing outside this machine's tests can
    // connect, and no other server is ever touched. fsync is off: the cluster is thrown away.
    const std::string options = "-c listen_addresses='' -c unix_socket_directories='" + m_dir +
                                "' -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
                                " -c max_connections=50";
    return RunAsServerUser({m_bin + "/pg_ctl", "start", "-s", "-w", "-t", "60", "-D",
                            m_dir + "/data", "-l", m_dir + "/server.log", "-o", options},
                           m_dir + "/pg_ctl.log") == 0;
}

bool CPgCluster::Stop() {
    return RunAsServerUser(
               {m_bin + "/pg_ctl", "stop", "-s", "-w", "-m", "fast", "-D", m_dir + "/data"},
               m_dir + "/pg_ctl.log") == 0;
}

std::string CPgCluster::Conninfo(const std::string& db, const std::string& user) const {
    return "host=" + m_dir + " dbname=" + db + " user=" + user;
}

void CPgCluster::CreateDatabase(const std::string& db) {
    Psql("postgres", "CREATE DATABASE " + db);
}

std::string CPgCluster::Psql(const std::string& db, const std::string& sql, int* status,
                             const std::string& user) const {
    return Capture(m_bin + "/psql -X -At -v ON_ERROR_STOP=1 -h " + Quoted(m_dir) + " -U " +
                       Quoted(user) + " -d " + Quoted(db) + " -c " + Quoted(sql),
                   status);
}

std::string CPgCluster::Shell(const std::string& db, const std::string& script, int* status) const {
    return Capture("env PGHOST=" + Quoted(m_dir) + " PGDATABASE=" + Quoted(db) + " PGUSER=" +
                       kAdmin + " PATH=" + Quoted(m_bin) + ":\"$PATH\" bash -c " + Quoted(script),
                   status);
}

} // namespace saroko::test
