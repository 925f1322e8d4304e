#pragma once
// Windows ask for help at a topic (a dialog's help context number, 0 for the main window's
// page); the main frame, which owns the help window, installs the handler at start.
#include <functional>

namespace saroko::ui {

using HelpHandler = std::function<void(int topic)>;

// Asks for help at `topic`; nothing happens while no handler is installed.
void RequestHelp(int topic);
// Installs the handler; an empty one removes it.
void SetHelpHandler(HelpHandler handler);

} // namespace saroko::ui
