#pragma once
// Whole-file reads and safe writes. A write goes to a temporary file beside the target, is
// flushed, and only then replaces the target, so a failed save never destroys the old file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace saroko {

// Reads at most `maxBytes` bytes; returns false when the file cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& out);
// Temporary files that killed saves of the same target left beside it are removed first.
bool WriteFileAtomically(const std::string& path, std::string_view data);
// True when the file exists and its write permission is withheld.
bool IsReadOnlyFile(const std::string& path);
// True when the file exists and can be opened for reading.
bool IsReadableFile(const std::string& path);
// True when a file can be created or replaced at `path`: it is no folder, it is not read-only
// and its folder exists and takes new files (tried with a probe that is removed at once).
bool CanWriteFile(const std::string& path);
// Creates `path` with `data` only when no file of that name exists; false otherwise or when
// the write fails (nothing is left behind then).
bool WriteNewFile(const std::string& path, std::string_view data);

} // namespace saroko
