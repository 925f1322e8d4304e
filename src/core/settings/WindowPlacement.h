#pragma once
// The main window's remembered place: read with its clamps, saved at close, and the snap of a
// window whose client area became too low.
#include "core/settings/SettingsStore.h"

namespace saroko {

struct WindowRect {
    int x = 0, y = 0, width = 639, height = 479;
};

inline constexpr int kMinFrameWidth = 639;
inline constexpr int kMinFrameHeight = 479;
inline constexpr int kSnapClientHeight = 250;

// Reads "WindowPosition" for a desktop of the given client size.
WindowRect LoadWindowPlacement(const ISettingsStore& store, int desktopWidth, int desktopHeight);
void SaveWindowPosition(ISettingsStore& store, const WindowRect& outer);
// When the window must snap to (0, 0) with 639 x 250: a client height below 250, unless the
// window is being minimised.
bool ShouldSnapWindow(int clientHeight, bool minimised);

// The file dialogs' remembered size, in the section "FileDialog". `least` is what shows their
// columns (name, size, type, date) whole: a stored size is never smaller, nor larger than the
// desktop; nothing stored gives `least`.
struct WindowSize {
    int width = 0, height = 0;
    bool operator==(const WindowSize&) const = default;
};
WindowSize LoadFileDialogSize(const ISettingsStore& store, WindowSize least, int desktopWidth,
                              int desktopHeight);
void SaveFileDialogSize(ISettingsStore& store, WindowSize size);

// The help file beside the program: the program's folder and "\SAROKO.chm" on the original
// platform, "/SAROKO.chm" here.
std::string HelpFilePath(const std::string& programPath, char separator = '/');

} // namespace saroko
