// The Windows side of FileIo.h. Names come as UTF-8 and go to the wide API (the narrow one
// would read them in the ANSI code page); a save replaces its target only after the new bytes
// are flushed to the disk, and any failure leaves the old file as it was.
#if defined(_WIN32)
#include <windows.h>

#include <algorithm>
#include <climits>
#include <random>

#include "core/files/FileIo.h"

namespace saroko {
namespace {

// Empty for a name that is empty, not UTF-8 or holds a NUL: such a name opens nothing.
std::wstring Widen(const std::string& s) {
    if (s.empty() || s.size() > INT_MAX || s.find('\0') != std::string::npos)
        return {};
    const int len = static_cast<int>(s.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), len, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), len, w.data(), n);
    return w;
}

DWORD Attributes(const std::wstring& w) {
    return w.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(w.c_str());
}

bool IsFileAttr(DWORD a) {
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    bool Close() {
        const bool ok = !Valid() || CloseHandle(m_h) != 0;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

// Writes everything in chunks the API takes, flushes it to the disk and closes the file.
bool WriteAllAndClose(Handle& f, std::string_view data) {
    bool ok = true;
    for (std::size_t done = 0; ok && done < data.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
        DWORD put = 0;
        ok = ::WriteFile(f.Get(), data.data() + done, chunk, &put, nullptr) && put == chunk;
        done += put;
    }
    ok = FlushFileBuffers(f.Get()) && ok;
    return f.Close() && ok;
}

HANDLE OpenForReading(const std::wstring& w) {
    return CreateFileW(w.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A save of "data.klg" writes "data.klg.~<digits>.tmp" beside it.
bool IsTempFileOf(const std::wstring& name, const std::wstring& target) {
    const std::wstring prefix = target + L".~", suffix = L".tmp";
    if (name.size() <= prefix.size() + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size() - suffix.size(); ++i)
        if (name[i] < L'0' || name[i] > L'9')
            return false;
    return true;
}

// Removes what killed saves of `target` left beside it. A save still running holds its file
// open without sharing, so the removal fails for it alone.
void RemoveLeftoverTemps(const std::wstring& target) {
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW((folder + name + L".~*.tmp").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const DWORD skip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((found.dwFileAttributes & skip) == 0 && IsTempFileOf(found.cFileName, name))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(h, &found));
    FindClose(h);
}

} // namespace

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const std::wstring w = Widen(path);
    if (!IsFileAttr(Attributes(w)))
        return false;
    Handle f(OpenForReading(w));
    if (!f.Valid())
        return false;
    uint8_t buf[65536];
    while (out.size() < maxBytes) {
        const DWORD want = static_cast<DWORD>(std::min(sizeof buf, maxBytes - out.size()));
        DWORD got = 0;
        if (!::ReadFile(f.Get(), buf, want, &got, nullptr))
            return false;
        out.insert(out.end(), buf, buf + got);
        if (got == 0)
            break;
    }
    return true;
}

bool IsReadOnlyFile(const std::string& path) {
    const DWORD a = Attributes(Widen(path));
    return IsFileAttr(a) && (a & FILE_ATTRIBUTE_READONLY) != 0;
}

bool IsReadableFile(const std::string& path) {
    const std::wstring w = Widen(path);
    if (!IsFileAttr(Attributes(w)))
        return false;
    return Handle(OpenForReading(w)).Valid();
}

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    const std::wstring w = Widen(path);
    const DWORD a = Attributes(w);
    if (w.empty() || (a != INVALID_FILE_ATTRIBUTES && !IsFileAttr(a)))
        return false;
    std::random_device rd;
    const std::wstring tmp = w + L".~" + std::to_wstring(rd() % 1000000) + L".tmp";
    RemoveLeftoverTemps(w);
    Handle f(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr));
    if (!f.Valid())
        return false;
    bool ok = WriteAllAndClose(f, data);
    // A target that is read-only or held open by another program refuses the move.
    if (ok)
        ok =
            MoveFileExW(tmp.c_str(), w.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileW(tmp.c_str());
    return ok;
}

// Creates the file only when no file of that name exists (CREATE_NEW); nothing stays behind
// when the write fails.
bool WriteNewFile(const std::string& path, std::string_view data) {
    const std::wstring w = Widen(path);
    if (w.empty())
        return false;
    Handle f(CreateFileW(w.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr));
    if (!f.Valid())
        return false;
    const bool ok = WriteAllAndClose(f, data);
    if (!ok)
        DeleteFileW(w.c_str());
    return ok;
}

bool CanWriteFile(const std::string& path) {
    const std::wstring w = Widen(path);
    const DWORD a = Attributes(w);
    if (w.empty() || (a != INVALID_FILE_ATTRIBUTES && !IsFileAttr(a)) || IsReadOnlyFile(path))
        return false;
    // A probe beside the target tells whether its folder takes new files.
    std::random_device rd;
    const std::string probe = path + ".~" + std::to_string(rd() % 1000000) + ".tmp";
    if (!WriteNewFile(probe, {}))
        return false;
    DeleteFileW(Widen(probe).c_str());
    return true;
}

} // namespace saroko
#endif
