// Whether a start of the window program finds a display, from its arguments and environment.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/settings/StartDisplay.h"

namespace saroko::test {
namespace {

TEST(StartDisplay, PlatformsAndWhatEachNeeds) {
    const std::string x = ":0", w = "wayland-0", none;
    const struct {
        const char* platform;
        const std::string& display;
        const std::string& wayland;
        bool finds;
    } cases[] = {
        // Qt's default: either desktop will do.
        {"", none, none, false},
        {"", x, none, true},
        {"", none, w, true},
        // Named: only its own kind of display counts.
        {"xcb", none, none, false},
        {"xcb", none, w, false},
        {"xcb", x, none, true},
        {"wayland", x, none, false},
        {"wayland", none, w, true},
        {"wayland-egl", x, none, false},
        {"wayland-egl", none, w, true},
        {"xcb:nograb", none, none, false},
        // A list is tried in turn: one usable entry is enough.
        {"wayland;xcb", none, none, false},
        {"wayland;xcb", x, none, true},
        {"wayland;xcb", none, w, true},
        {";", none, none, false},
        // Platforms that draw without a desktop.
        {"offscreen", none, none, true},
        {"offscreen:fontengine=freetype", none, none, true},
        {"minimal", none, none, true},
        {"xcb;offscreen", none, none, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindsDisplay({c.platform, c.display, c.wayland}), c.finds)
            << "'" << c.platform << "' display '" << c.display << "' wayland '" << c.wayland << "'";
}

TEST(StartDisplay, ArgumentsOverTheEnvironment) {
    const std::map<std::string, std::string> vars = {
        {"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", "wl"}};
    const auto env = [&vars](const char* name) {
        const auto it = vars.find(name);
        return it == vars.end() ? std::string() : it->second;
    };
    const auto of = [&env](std::vector<std::string> args) {
        const DisplayEnvironment e = DisplayEnvironmentOf(args, env);
        return std::tuple(e.platform, e.display, e.waylandDisplay);
    };
    EXPECT_EQ(of({}), std::tuple("xcb", "", "wl"));
    EXPECT_EQ(of({"FILE.klg"}), std::tuple("xcb", "", "wl"));
    EXPECT_EQ(of({"-platform", "offscreen", "FILE.klg"}), std::tuple("offscreen", "", "wl"));
    EXPECT_EQ(of({"--platform", "minimal"}), std::tuple("minimal", "", "wl"));
    EXPECT_EQ(of({"-display", ":1"}), std::tuple("xcb", ":1", "wl"));
    EXPECT_EQ(of({"--display", ":2", "-platform", "wayland"}), std::tuple("wayland", ":2", "wl"));
    // An option without its value, last on the line, changes nothing; nor does a look-alike.
    EXPECT_EQ(of({"-platform"}), std::tuple("xcb", "", "wl"));
    EXPECT_EQ(of({"---platform", "offscreen"}), std::tuple("xcb", "", "wl"));
    EXPECT_EQ(of({"-platformtheme", "gtk3"}), std::tuple("xcb", "", "wl"));
}

} // namespace
} // namespace saroko::test
