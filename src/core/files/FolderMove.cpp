#include "core/files/FolderMove.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/files/Utf8Path.h"

namespace saroko {
namespace fs = std::filesystem;
namespace {

// The entries of a place, parents before their children.
bool ListPlace(const fs::path& from, std::vector<fs::path>& entries, fs::path& failedAt,
               std::error_code& ec) {
    if (!fs::is_directory(fs::symlink_status(from, ec))) {
        entries.push_back(from);
        return !ec;
    }
    for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    if (ec)
        failedAt = from;
    std::sort(entries.begin(), entries.end());
    return !ec;
}

bool MoveOne(const PlaceMove& place, const PlaceCopyFn& copy, PlaceMoveFailure& failure) {
    const fs::path from = PathOfUtf8(place.from), to = PathOfUtf8(place.to);
    failure.from = place.from;
    std::vector<fs::path> entries;
    fs::path at;
    std::error_code ec;
    const bool folder = fs::is_directory(fs::symlink_status(from, ec));
    const auto fail = [&](const fs::path& where, std::error_code error) {
        failure.file = Utf8OfPath(where);
        failure.error = error;
        std::error_code ignored;
        fs::remove_all(to, ignored); // the new place did not exist: all of it is our copy
        return false;
    };
    if (!ListPlace(from, entries, at, ec))
        return fail(at, ec);
    if (!fs::create_directories(folder ? to : to.parent_path(), ec) && ec)
        return fail(to, ec);
    for (const fs::path& entry : entries) {
        const fs::path target = folder ? to / entry.lexically_relative(from) : to;
        const fs::file_status st = fs::symlink_status(entry, ec);
        if (ec)
            return fail(entry, ec);
        if (fs::is_directory(st)) {
            if (!fs::create_directories(target, ec) && ec)
                return fail(entry, ec);
        } else if (!fs::is_regular_file(st)) {
            // A link or a device has no bytes of its own to check.
            return fail(entry, std::make_error_code(std::errc::not_supported));
        } else if (!copy(Utf8OfPath(entry), Utf8OfPath(target), ec)) {
            return fail(entry, ec ? ec : std::make_error_code(std::errc::io_error));
        } else if (!SameFileBytes(Utf8OfPath(entry), Utf8OfPath(target), ec)) {
            return fail(entry, ec ? ec : std::make_error_code(std::errc::io_error));
        }
    }
    // Everything has arrived whole: only now do the originals go.
    if (fs::remove_all(from, ec) == static_cast<std::uintmax_t>(-1) || ec) {
        failure.file = Utf8OfPath(from);
        failure.error = ec;
        failure.copied = true;
        return false;
    }
    fs::remove(from.parent_path(), ec); // only when nothing else is left in it
    return true;
}

} // namespace

bool CopyNewFile(const std::string& from, const std::string& to, std::error_code& error) {
    return fs::copy_file(PathOfUtf8(from), PathOfUtf8(to), fs::copy_options::none, error);
}

bool SameFileBytes(const std::string& a, const std::string& b, std::error_code& error) {
    const std::uintmax_t size = fs::file_size(PathOfUtf8(a), error);
    if (error || fs::file_size(PathOfUtf8(b), error) != size || error)
        return false;
    std::ifstream fa(PathOfUtf8(a), std::ios::binary), fb(PathOfUtf8(b), std::ios::binary);
    if (!fa || !fb) {
        error = std::make_error_code(std::errc::io_error);
        return false;
    }
    std::vector<char> ba(1 << 16), bb(1 << 16);
    for (std::uintmax_t left = size; left > 0;) {
        const std::streamsize n =
            static_cast<std::streamsize>(std::min<std::uintmax_t>(left, ba.size()));
        if (!fa.read(ba.data(), n) || !fb.read(bb.data(), n)) {
            error = std::make_error_code(std::errc::io_error);
            return false;
        }
        if (!std::equal(ba.begin(), ba.begin() + n, bb.begin()))
            return false;
        left -= static_cast<std::uintmax_t>(n);
    }
    return true;
}

PlaceMoveResult MovePlaces(const std::vector<PlaceMove>& places, const PlaceCopyFn& copy) {
    PlaceMoveResult result;
    for (const PlaceMove& place : places) {
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(PathOfUtf8(place.from), ec)) ||
            fs::exists(fs::symlink_status(PathOfUtf8(place.to), ec)))
            continue;
        PlaceMoveFailure failure;
        if (MoveOne(place, copy, failure))
            ++result.moved;
        else
            result.failures.push_back(std::move(failure));
    }
    return result;
}

std::string PlaceMoveFailureLines(const PlaceMoveResult& result) {
    std::string lines;
    for (const PlaceMoveFailure& f : result.failures) {
        lines += '\n';
        lines += f.from;
        if (f.file != f.from) {
            lines += " (";
            lines += f.file;
            lines += ')';
        }
        lines += ": ";
        lines += f.error.message();
    }
    return lines;
}

} // namespace saroko
