#include "core/archive/ArchivePlace.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

#include "core/messages/Translate.h"

namespace saroko::archive {
namespace {

// The table writes a space, tab, line feed and backslash in a name as three octal digits.
std::string Unescaped(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool Contains(const std::string& mountPoint, const std::string& path) {
    if (mountPoint == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, mountPoint.size(), mountPoint) == 0 &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

} // namespace

std::string FileSystemAt(std::string_view mounts, const std::string& path) {
    std::istringstream lines{std::string(mounts)};
    std::string line, best, type;
    bool found = false;
    while (std::getline(lines, line)) {
        std::istringstream f(line);
        std::string device, point, fsType;
        if (!(f >> device >> point >> fsType))
            continue;
        point = Unescaped(point);
        // A later mount on the same point hides the earlier one.
        if (Contains(point, path) && (!found || point.size() >= best.size())) {
            best = point;
            type = fsType;
            found = true;
        }
    }
    return type;
}

bool IsNetworkFileSystem(std::string_view type) {
    constexpr std::string_view kNetwork[] = {
        "nfs",   "nfs4",          "cifs",      "smb3",
        "smbfs", "fuse.sshfs",    "sshfs",     "9p",
        "afs",   "ncpfs",         "glusterfs", "fuse.glusterfs",
        "ceph",  "fuse.smbnetfs", "davfs",     "fuse.davfs2"};
    return std::find(std::begin(kNetwork), std::end(kNetwork), type) != std::end(kNetwork);
}

std::string NetworkArchiveMessage(const std::string& path, const std::string& type) {
    const std::string format = TranslateFormat(
        "Archive", "記録保管庫 %s はネットワーク上のファイルシステム（%s）にあります。"
                   "複数のコンピューターから使うと、ファイルが壊れることがあります。");
    std::string text(static_cast<std::size_t>(
                         std::snprintf(nullptr, 0, format.c_str(), path.c_str(), type.c_str())),
                     '\0');
    std::snprintf(text.data(), text.size() + 1, format.c_str(), path.c_str(), type.c_str());
    text += '\n';
    text += TranslateText("Archive", "何台ものコンピューターで一つの記録保管庫を使うには、"
                                     "サーバー上の記録保管庫（PostgreSQL）をお使いください。");
    return text;
}

} // namespace saroko::archive
