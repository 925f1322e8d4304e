#pragma once
// The command-line options of km41-sim, parsed into SimOptions.
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
    bool verbose = false;
};

extern const char* const kSimUsage;

// False with `error` set for an unknown option or a bad value. Names are UTF-8 and go to the
// settings block in CP932 through `codec` (the core's ASCII and katakana codec when null).
bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& out,
                         std::string& error, const ITextCodec* codec = nullptr);

} // namespace saroko::sim
