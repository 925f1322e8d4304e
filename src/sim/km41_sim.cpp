// km41-sim: a simulated KM-41 recorder on a pseudo-terminal (on Windows, a COM port), for
// working without hardware.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "SarokoVersion.h"
#ifdef _WIN32
#include "platform/ComPortHost.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PtyHost.h"
#endif
#include "platform/CommandLine.h"
#include "platform/QtSettingsStore.h"
#include "sim/Km41Simulator.h"
#include "sim/SimOptionsParse.h"

using namespace saroko;

namespace {

#ifdef _WIN32
using CHost = CComPortHost;
#else
using CHost = CPtyHost;
#endif

std::atomic<bool> g_stop{false};
void OnSignal(int) {
    g_stop.store(true);
}

// Logs every frame the recorder receives.
class CLoggingPeer final : public ILinePeer {
public:
    CLoggingPeer(sim::CKm41Simulator& sim, const CHost& host) : m_sim(sim), m_host(host) {}
    void OnHostByte(uint8_t b, uint64_t nowUs) override {
        const std::size_t before = m_sim.Commands().size();
        m_sim.OnHostByte(b, nowUs);
        if (m_sim.Commands().size() != before)
            std::fprintf(stderr, "%10.3f frame 0x%02X; %s\n", nowUs / 1e6, m_sim.Commands().back(),
                         m_sim.Describe(m_host.NowUs()).c_str());
    }
    bool NextOutputTime(uint64_t& readyUs) override { return m_sim.NextOutputTime(readyUs); }
    uint8_t PopOutput() override { return m_sim.PopOutput(); }

private:
    sim::CKm41Simulator& m_sim;
    const CHost& m_host;
};

} // namespace

int main(int argc, char** argv) {
    FollowSystemTimeZone();
    sim::SimCommandLine cl;
    std::string error;
    const CQtCp932Codec codec;
    if (!sim::ParseSimCommandLine(ProgramArguments(argc, argv), cl, error, &codec)) {
        std::cerr << "km41-sim: " << error << "\n";
        return 2;
    }
    if (cl.help || cl.version) {
        std::cout << (cl.help ? sim::kSimUsage : "km41-sim " SAROKO_VERSION "\n");
        return 0;
    }

    CHost host;
#ifdef _WIN32
    if (cl.port.empty() || !cl.link.empty()) {
        std::cerr
            << "km41-sim: on Windows --port COMn names the port to serve (--link is Linux's)\n";
        return 2;
    }
    const bool opened = host.Open(cl.port, error);
#else
    if (!cl.port.empty()) {
        std::cerr << "km41-sim: --port is Windows's; here the pseudo-terminal is made (--link)\n";
        return 2;
    }
    const bool opened = host.Open(error);
#endif
    if (!opened) {
        std::cerr << "km41-sim: " << error << "\n";
        return 1;
    }
    cl.options.epoch = static_cast<uint32_t>(std::time(nullptr));
    sim::CKm41Simulator recorder(cl.options);

#ifndef _WIN32
    if (!cl.link.empty()) {
        struct stat st {};
        if (::lstat(cl.link.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            ::unlink(cl.link.c_str());
        if (::symlink(host.DevicePath().c_str(), cl.link.c_str()) != 0) {
            std::perror(("km41-sim: symlink " + cl.link).c_str());
            return 1;
        }
    }
    std::signal(SIGHUP, OnSignal);
#endif
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    std::cout << host.DevicePath() << std::endl;
    if (cl.verbose)
        std::fprintf(stderr, "km41-sim on %s: %s\n", host.DevicePath().c_str(),
                     recorder.Describe(0).c_str());

    CLoggingPeer logging(recorder, host);
    ILinePeer& peer = cl.verbose ? static_cast<ILinePeer&>(logging) : recorder;
    host.Serve(peer, g_stop);

#ifndef _WIN32
    if (!cl.link.empty())
        ::unlink(cl.link.c_str());
#endif
    return 0;
}
