#include "core/settings/StartDisplay.h"

#include <string_view>

namespace saroko {

DisplayEnvironment DisplayEnvironmentOf(const std::vector<std::string>& args,
                                        const std::function<std::string(const char*)>& env) {
    DisplayEnvironment out{env("QT_QPA_PLATFORM"), env("DISPLAY"), env("WAYLAND_DISPLAY")};
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg.starts_with("--"))
            arg.remove_prefix(1);
        if (arg == "-platform")
            out.platform = args[++i];
        else if (arg == "-display")
            out.display = args[++i];
    }
    return out;
}

namespace {

bool PlatformFinds(std::string_view name, const DisplayEnvironment& env) {
    name = name.substr(0, name.find(':')); // "offscreen:fontengine=freetype"
    if (name == "xcb")
        return !env.display.empty();
    if (name.starts_with("wayland"))
        return !env.waylandDisplay.empty();
    return true;
}

} // namespace

bool FindsDisplay(const DisplayEnvironment& env) {
    if (env.platform.empty())
        return !env.display.empty() || !env.waylandDisplay.empty();
    // "wayland;xcb": Qt tries each in turn.
    std::string_view rest = env.platform;
    while (true) {
        const std::size_t end = rest.find(';');
        const std::string_view name = rest.substr(0, end);
        if (!name.empty() && PlatformFinds(name, env))
            return true;
        if (end == std::string_view::npos)
            return false;
        rest.remove_prefix(end + 1);
    }
}

} // namespace saroko
