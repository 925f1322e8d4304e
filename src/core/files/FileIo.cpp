#include "files/FileIo.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace saroko {
namespace fs = std::filesystem;

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t buf[65536];
    bool ok = true;
    while (out.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buf, maxBytes - out.size());
        const std::size_t got = std::fread(buf, 1, want, f);
        out.insert(out.end(), buf, buf + got);
        if (got < want) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    return ok;
}

bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st))
        return false;
    const fs::perms writable = fs::perms::owner_write | fs::perms::group_write |
                               fs::perms::others_write;
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
    std::FILE* f = std::fopen(tmp.c_str(), "wbx");
    if (!f)
        return false;
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

} // namespace saroko
