#pragma once
// Where a local archive lies: SQLite's locking does not hold over a network file system, so a
// local archive there is not used without a word.
#include <string>
#include <string_view>

namespace saroko::archive {

// The type of the file system holding `path` (absolute), from a mount table in the form of
// /proc/self/mounts (the longest mount point that contains it); "" when none does.
std::string FileSystemAt(std::string_view mounts, const std::string& path);
// NFS, SMB/CIFS, sshfs and the other file systems that are another machine's disk.
bool IsNetworkFileSystem(std::string_view type);
// The one message about a local archive at `path` on a network file system of `type`.
std::string NetworkArchiveMessage(const std::string& path, const std::string& type);

} // namespace saroko::archive
