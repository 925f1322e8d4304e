#pragma once
// Whether the window program will find a display, told before the window application starts:
// without one Qt ends the program with an abort, where a start from a shell without a desktop
// deserves one line and the usage status.
#include <functional>
#include <string>
#include <vector>

namespace saroko {

// What decides the display of a start on Linux.
struct DisplayEnvironment {
    std::string platform;       // a -platform argument, else QT_QPA_PLATFORM; empty: Qt's own
    std::string display;        // a -display argument, else DISPLAY (X11)
    std::string waylandDisplay; // WAYLAND_DISPLAY
};

// `args` are the program's arguments after its name; `env` reads an environment variable
// (empty when unset). Qt's own options are taken in both spellings, "-platform" and
// "--platform".
DisplayEnvironment DisplayEnvironmentOf(const std::vector<std::string>& args,
                                        const std::function<std::string(const char*)>& env);

// True when one of the platforms Qt will try has what it needs: "xcb" an X display, the
// "wayland" family a Wayland display, Qt's default either of them. Any other platform
// (offscreen, minimal, vnc, eglfs, linuxfb) needs no desktop, so it counts as found.
bool FindsDisplay(const DisplayEnvironment& env);

} // namespace saroko
