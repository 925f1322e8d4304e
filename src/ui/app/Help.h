#pragma once
// The help file beside the program; nothing happens when it is not there.
namespace saroko::ui {

void OpenHelpFile();

} // namespace saroko::ui
