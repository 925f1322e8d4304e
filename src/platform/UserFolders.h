#pragma once
// The folders the program keeps things in for the user: its settings, every download (the
// data folder) and the transcripts of the last exchanges with the recorder (the cache folder).
// On Linux these are ~/.config/saroko/saroko.conf, ~/.local/share/saroko/ and ~/.cache/saroko/
// (the XDG variables honoured); on Windows they follow the application's organisation and
// name, which must be set before, and the settings live in the registry.
#include <string>
#include <vector>

#include "core/files/FolderMove.h"

namespace saroko {

// The settings file; empty on Windows, where the registry holds the settings.
std::string SettingsFile();
std::string KeptDownloadsFolder();
std::string TranscriptFolder();
// The user's signing keys, one encrypted file per key (~/.config/saroko/keys on Linux,
// under the application's configuration folder on Windows); the folder is the user's alone.
std::string SigningKeysFolder();

// Where the versions before kept these on Linux (under "PELNOR CORPORATION"), and where each
// goes now; none on Windows, whose places stay as they were.
std::vector<PlaceMove> OlderUserPlaces();
// Moves them (see MovePlaces); called at the start of saroko and saroko-cli before anything
// reads the settings or the folders.
PlaceMoveResult MoveOlderUserFolders();

} // namespace saroko
