#pragma once
// The command-line options of km41-sim, parsed by QCommandLineParser into SimOptions. The
// simulator itself stays free of Qt (the Windows build has it without); this file is on the Qt
// side, with the program.
#include <string>
#include <vector>

#include "sim/Km41Simulator.h"

namespace saroko {
class ITextCodec;
}

namespace saroko::sim {

struct SimCommandLine {
    SimOptions options;
    std::string link; // symlink to the device, made at start and removed at exit
    std::string port; // on Windows: the COM port served, one end of a null-modem pair
    bool verbose = false;
    bool help = false;    // --help or -h: print kSimUsage
    bool version = false; // --version
};

extern const char* const kSimUsage;

// False with `error` set (one line that names the option) for an unknown option or a bad
// value. Names are UTF-8 and go to the settings block in CP932 through `codec` (the core's
// ASCII and katakana codec when null).
bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& out,
                         std::string& error, const ITextCodec* codec = nullptr);

} // namespace saroko::sim
