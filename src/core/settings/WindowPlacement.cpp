#include "core/settings/WindowPlacement.h"

#include <algorithm>

namespace saroko {

WindowRect LoadWindowPlacement(const ISettingsStore& store, int desktopWidth, int desktopHeight) {
    WindowRect r;
    const int x = store.GetInt("WindowPosition", "frameX", 0);
    const int y = store.GetInt("WindowPosition", "frameY", 0);
    r.x = (x >= 0 && x <= desktopWidth - 100) ? x : 0;
    r.y = (y >= 0 && y <= desktopHeight - 100) ? y : 0;
    r.width = std::max(store.GetInt("WindowPosition", "Width", kMinFrameWidth), kMinFrameWidth);
    r.height = std::max(store.GetInt("WindowPosition", "Height", kMinFrameHeight), kMinFrameHeight);
    return r;
}

void SaveWindowPosition(ISettingsStore& store, const WindowRect& outer) {
    store.WriteInt("WindowPosition", "frameX", outer.x);
    store.WriteInt("WindowPosition", "frameY", outer.y);
    store.WriteInt("WindowPosition", "Width", outer.width);
    store.WriteInt("WindowPosition", "Height", outer.height);
}

WindowSize LoadFileDialogSize(const ISettingsStore& store, WindowSize least, int desktopWidth,
                              int desktopHeight) {
    // On a desktop smaller than the least size the desktop wins: the whole dialog stays reachable.
    const auto fit = [](int stored, int low, int high) {
        return std::min(std::max(stored, low), std::max(high, 1));
    };
    return {fit(store.GetInt("FileDialog", "Width", least.width), least.width, desktopWidth),
            fit(store.GetInt("FileDialog", "Height", least.height), least.height, desktopHeight)};
}

void SaveFileDialogSize(ISettingsStore& store, WindowSize size) {
    store.WriteInt("FileDialog", "Width", size.width);
    store.WriteInt("FileDialog", "Height", size.height);
}

bool ShouldSnapWindow(int clientHeight, bool minimised) {
    return !minimised && clientHeight < kSnapClientHeight;
}

std::string HelpFilePath(const std::string& programPath, char separator) {
    const auto pos = programPath.find_last_of("\\/");
    const std::string dir = pos == std::string::npos ? "." : programPath.substr(0, pos);
    return dir + separator + "SAROKO.chm";
}

} // namespace saroko
