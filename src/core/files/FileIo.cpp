// The POSIX side of FileIo.h; FileIoWin32.cpp is the Windows one.
#if !defined(_WIN32)
#include "core/files/FileIo.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace saroko {
namespace fs = std::filesystem;

namespace {

// A save of "data.klg" writes "data.klg.~<digits>.tmp" beside it.
bool IsTempFileOf(const std::string& name, const std::string& target) {
    const std::string prefix = target + ".~", suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size() - suffix.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

// Removes what killed saves of `target` left beside it. A save still running holds a lock on
// its file (an open file on Windows cannot be removed), so only abandoned ones go.
void RemoveLeftoverTemps(const fs::path& target) {
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string name = target.filename().string();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ignored;
        if (!IsTempFileOf(it->path().filename().string(), name) ||
            !fs::is_regular_file(fs::symlink_status(it->path(), ignored)))
            continue;
#if !defined(_WIN32)
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            fs::remove(it->path(), ignored);
        ::close(fd);
#else
        fs::remove(it->path(), ignored);
#endif
    }
}

} // namespace

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    // Read straight into a buffer of the file's size (plus one byte, to see the end), so a
    // large file is neither copied twice nor grown by doubling.
    const std::uintmax_t size = fs::file_size(path, ec);
    const std::size_t step = 65536;
    std::size_t have = 0;
    bool ok = true;
    out.resize(std::min<std::uintmax_t>(ec ? step : size + 1, maxBytes));
    while (have < maxBytes) {
        if (have == out.size())
            out.resize(std::min(maxBytes, have + step));
        const std::size_t want = out.size() - have;
        const std::size_t got = std::fread(out.data() + have, 1, want, f);
        have += got;
        if (got < want) {
            ok = !std::ferror(f);
            break;
        }
    }
    out.resize(have);
    std::fclose(f);
    return ok;
}

bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st))
        return false;
    const fs::perms writable =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((st.permissions() & writable) == fs::perms::none)
        return true;
#if !defined(_WIN32)
    if (::access(path.c_str(), W_OK) != 0)
        return true;
#endif
    return false;
}

bool IsReadableFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return false;
    std::random_device rd;
    const std::string tmp = path + ".~" + std::to_string(rd() % 1000000) + ".tmp";
    RemoveLeftoverTemps(fs::path(path));
    std::FILE* f = std::fopen(tmp.c_str(), "wbx");
    if (!f)
        return false;
#if !defined(_WIN32)
    ::flock(::fileno(f), LOCK_EX | LOCK_NB); // so that another save sees this one running
#endif
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fflush(f) == 0 && ok;
#if !defined(_WIN32)
    ok = ::fsync(::fileno(f)) == 0 && ok;
#endif
    ok = std::fclose(f) == 0 && ok;
    if (ok) {
        // Keep the permissions of the file being replaced.
        const fs::file_status st = fs::status(path, ec);
        if (!ec && fs::exists(st))
            fs::permissions(tmp, st.permissions(), ec);
        fs::rename(tmp, path, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(tmp, ec);
    return ok;
}

bool CanWriteFile(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec) || IsReadOnlyFile(path))
        return false;
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    if (!fs::is_directory(folder, ec))
        return false;
    std::random_device rd;
    const std::string probe = path + ".~" + std::to_string(rd() % 1000000) + ".tmp";
    if (!WriteNewFile(probe, {}))
        return false;
    fs::remove(probe, ec);
    return true;
}

bool WriteNewFile(const std::string& path, std::string_view data) {
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        std::error_code ec;
        fs::remove(path, ec);
    }
    return ok;
}

} // namespace saroko
#endif
