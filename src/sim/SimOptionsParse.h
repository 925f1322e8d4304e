#pragma once
// The command-line options of km41-sim, parsed into SimOptions.
#include <string>
#include <vector>

#include "Km41Simulator.h"

namespace saroko::sim {

struct SimCommandLine {
    SimOptions options;
    std::string link; // symlink to the device, made at start and removed at exit
    bool verbose = false;
};

extern const char* const kSimUsage;

// False with `error` set for an unknown option or a bad value.
bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& out,
                         std::string& error);

} // namespace saroko::sim
