#pragma once
// Moving the program's files from the places an older version kept them to the current ones,
// so that nothing is lost on the way: every file is copied and checked before any original
// goes, and a place that cannot be moved whole stays as it was.
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace saroko {

// One place: a file or a folder, where an older version kept it and where it goes now.
struct PlaceMove {
    std::string from;
    std::string to;
};

struct PlaceMoveFailure {
    std::string from; // the place left as it was (or, after the copy, not removed)
    std::string file; // the file or folder the move stopped at
    std::error_code error;
    bool copied = false; // everything is in the new place; only the old could not be removed
};

struct PlaceMoveResult {
    int moved = 0;
    std::vector<PlaceMoveFailure> failures;
};

// Copies one file to a path that does not exist yet; false with `error` set when it fails.
using PlaceCopyFn =
    std::function<bool(const std::string& from, const std::string& to, std::error_code& error)>;
bool CopyNewFile(const std::string& from, const std::string& to, std::error_code& error);

// Whether two files hold the same bytes (sizes first, then the bytes).
bool SameFileBytes(const std::string& a, const std::string& b, std::error_code& error);

// Moves each place whose old path exists and whose new one does not. Files go in path order,
// each copied and then compared with its original; only when every file of the place has
// arrived whole are the originals removed (and the old parent folder, once it is empty).
// Anything else than files and folders in a place, a failed copy or a copy that differs
// removes what was copied of that place and leaves the old place whole. The other places are
// moved all the same.
PlaceMoveResult MovePlaces(const std::vector<PlaceMove>& places,
                           const PlaceCopyFn& copy = CopyNewFile);

// One line per failure: the place, the file it stopped at and the system's reason.
std::string PlaceMoveFailureLines(const PlaceMoveResult& result);

} // namespace saroko
