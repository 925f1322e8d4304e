#pragma once
// The program's paths are UTF-8 text on every system. std::filesystem and the C++ streams take
// a narrow string in the system's own code page, which on Windows is not UTF-8 (and the
// library there does not even read and write it alike): a path crosses over through these two.
#include <filesystem>
#include <string>
#include <string_view>

namespace saroko {

inline std::filesystem::path PathOfUtf8(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return std::filesystem::path(utf8);
#endif
}

inline std::string Utf8OfPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

} // namespace saroko
