#include "core/archive/Archive.h"
#include "core/archive/ArchiveFiles.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace saroko::archive {
namespace {

constexpr const char* kKindNames[] = {"created",    "opened",  "changed",   "saved",  "exported",
                                      "reported",   "printed", "commented", "unit",   "assigned",
                                      "calibrated", "key",     "signed",    "setting"};
static_assert(std::size(kKindNames) == static_cast<std::size_t>(EventKind::Setting) + 1);

std::string OffsetText(int minutes) {
    char buf[16];
    const int a = minutes < 0 ? -minutes : minutes;
    std::snprintf(buf, sizeof buf, "%c%02d:%02d", minutes < 0 ? '-' : '+', a / 60, a % 60);
    return buf;
}

// What a file's bytes hashed again say of it against the archived hash.
const char* StatusOfHash(const std::optional<std::string>& found, const std::string& expected) {
    return !found ? kStatusMissing : *found == expected ? kStatusVerified : kStatusChanged;
}

} // namespace

// A value on one line: backslash, line feed and carriage return escaped, nothing else.
void AppendField(std::string& out, const char* key, std::string_view value) {
    out += key;
    out += '=';
    for (char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    out += '\n';
}

std::string HexDigest(const Sha256Digest& d) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(64);
    for (uint8_t b : d) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

std::string Sha256Hex(const Sha256Fn& hash, std::string_view bytes) {
    return HexDigest(hash(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())));
}

const char* EventKindName(EventKind kind) {
    return kKindNames[static_cast<int>(kind)];
}

std::optional<EventKind> EventKindFromName(std::string_view name) {
    for (int i = 0; i < static_cast<int>(std::size(kKindNames)); ++i)
        if (name == kKindNames[i])
            return static_cast<EventKind>(i);
    return std::nullopt;
}

std::string CanonicalText(const Event& e) {
    std::string out = "saroko-event/1\n";
    AppendField(out, "seq", std::to_string(e.seq));
    AppendField(out, "time", e.timeUtc);
    AppendField(out, "offset", OffsetText(e.offsetMinutes));
    AppendField(out, "user", e.user);
    AppendField(out, "host", e.host);
    AppendField(out, "version", e.version);
    AppendField(out, "event", EventKindName(e.kind));
    AppendField(out, "detail", e.detail);
    AppendField(out, "recording", std::to_string(e.recordingId));
    AppendField(out, "sha256", e.recordingSha256);
    AppendField(out, "old", e.oldValue);
    AppendField(out, "new", e.newValue);
    AppendField(out, "reason", e.reason);
    out.pop_back();
    return out;
}

std::string EventHash(const Sha256Fn& hash, const std::string& prevHash, const Event& e) {
    return Sha256Hex(hash, prevHash + CanonicalText(e));
}

void SealEvent(const Sha256Fn& hash, const Event* last, Event& e) {
    e.seq = last ? last->seq + 1 : 1;
    e.prevHash = last ? last->hash : kGenesisHash;
    e.hash = EventHash(hash, e.prevHash, e);
}

std::optional<ChainBreak> CheckChain(const Sha256Fn& hash, const std::vector<Event>& events) {
    // Removed events before a renumbered one are found by the number it was sealed under.
    constexpr int64_t kRenumberSearch = 4096;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        const int64_t expected = static_cast<int64_t>(i) + 1;
        if (e.seq != expected) {
            for (std::size_t j = i + 1; j < events.size(); ++j)
                if (events[j].seq == expected)
                    return ChainBreak{expected, "reordered"};
            if (e.seq > expected)
                return ChainBreak{expected, "removed"};
            return ChainBreak{e.seq, "inserted"};
        }
        const std::string& prev = i == 0 ? kGenesisHash : events[i - 1].hash;
        const bool selfOk = EventHash(hash, e.prevHash, e) == e.hash;
        if (e.prevHash == prev) {
            if (!selfOk)
                return ChainBreak{e.seq, "changed"};
            continue;
        }
        // The link to the predecessor is broken: find what happened between the two.
        for (std::size_t j = i + 1; j < events.size(); ++j)
            if (events[j].hash == e.prevHash)
                return ChainBreak{e.seq, "reordered"};
        if (i >= 2 && e.prevHash == events[i - 2].hash)
            return ChainBreak{events[i - 1].seq, "inserted"};
        if (i == 1 && e.prevHash == kGenesisHash)
            return ChainBreak{events[0].seq, "inserted"};
        if (selfOk) // the predecessor was altered and sealed anew
            return ChainBreak{i == 0 ? e.seq : events[i - 1].seq, "changed"};
        Event original = e;
        for (int64_t n = 1; n <= kRenumberSearch; ++n) {
            original.seq = e.seq + n;
            if (EventHash(hash, e.prevHash, original) == e.hash)
                return ChainBreak{e.seq, "removed"};
        }
        return ChainBreak{e.seq, "changed"};
    }
    return std::nullopt;
}

std::vector<ListedFile> ListedFiles(const std::vector<Recording>& recordings,
                                    const std::vector<KeptFile>& kept) {
    std::map<int64_t, std::vector<const KeptFile*>> byRecording;
    for (const KeptFile& k : kept)
        if (!k.path.empty())
            byRecording[k.recordingId].push_back(&k);
    std::vector<ListedFile> out;
    out.reserve(recordings.size());
    for (std::size_t i = 0; i < recordings.size(); ++i) {
        const Recording& r = recordings[i];
        const auto it = byRecording.find(r.id);
        if (it == byRecording.end()) {
            out.push_back({i, r.path, r.transcriptPath, r.transcriptSha256, false});
            continue;
        }
        for (const KeptFile* k : it->second)
            out.push_back({i, k->path, k->transcriptPath, k->transcriptSha256, true});
    }
    return out;
}

FileCheck CheckListedFile(const Recording& r, const ListedFile& f, const FileHasher& hashFile,
                          const std::string& now, std::vector<FileProblem>* problems) {
    const auto check = [&](const std::string& path, const std::string& expected) {
        const std::optional<std::string> found = hashFile(path);
        if ((!found || *found != expected) && problems)
            problems->push_back({r.id, path, expected, found.value_or("")});
        return StatusOfHash(found, expected);
    };
    FileCheck c{f.path, r.id, check(f.path, r.sha256), now};
    // A kept exchange that no longer holds what it held changes the file's standing too.
    if (!f.transcriptPath.empty() &&
        check(f.transcriptPath, f.transcriptSha256) != kStatusVerified &&
        c.status == kStatusVerified)
        c.status = kStatusChanged;
    return c;
}

std::vector<FileProblem> CheckKeptFiles(const std::vector<Recording>& recordings,
                                        const std::vector<KeptFile>& kept,
                                        const FileHasher& hashFile, std::vector<FileCheck>* checks,
                                        const std::string& now) {
    std::vector<FileProblem> out;
    for (const ListedFile& f : ListedFiles(recordings, kept)) {
        const Recording& r = recordings[f.recording];
        // Only kept downloads are the archive's own; other files may move on.
        if ((!f.kept && r.source != kSourceDownload) || f.path.empty())
            continue;
        FileCheck c = CheckListedFile(r, f, hashFile, now, &out);
        if (checks)
            checks->push_back(std::move(c));
    }
    return out;
}

std::string FileText(const std::string& path, const std::string& sha256) {
    return path + " sha256:" + sha256;
}

std::pair<int64_t, int64_t> SampleSpan(const Recording& r) {
    int64_t first = 0, last = 0;
    bool any = false;
    for (const ChannelInfo& c : r.channels) {
        if (c.samples <= 0)
            continue;
        const int64_t end = c.startUtc + static_cast<int64_t>(c.samples - 1) * c.interval;
        first = any ? std::min(first, c.startUtc) : c.startUtc;
        last = any ? std::max(last, end) : end;
        any = true;
    }
    return {first, last};
}

int SampleTotal(const Recording& r) {
    int n = 0;
    for (const ChannelInfo& c : r.channels)
        n += c.samples;
    return n;
}

bool Matches(const Recording& r, const RecordingFilter& f) {
    const auto [first, last] = SampleSpan(r);
    if ((f.from && last < *f.from) || (f.to && first > *f.to))
        return false;
    if (f.name.empty())
        return true;
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string want = lower(f.name);
    return std::any_of(r.channels.begin(), r.channels.end(), [&](const ChannelInfo& c) {
        return lower(c.name).find(want) != std::string::npos;
    });
}

std::string RecordingStatus(const Recording& r, const FileHasher& hashFile) {
    return StatusOfHash(hashFile(r.path), r.sha256);
}

std::string QuickStatus(const Recording& r, std::optional<uint64_t> sizeNow) {
    if (!sizeNow)
        return kStatusMissing;
    return *sizeNow == r.size ? kStatusUnverified : kStatusChanged;
}

std::string ShownStatus(const std::string& quick, const FileCheck* last) {
    // A file found missing that is back is not known to be good or bad until hashed again.
    if (quick != kStatusUnverified || !last || last->status == kStatusMissing)
        return quick;
    return last->status;
}

} // namespace saroko::archive
