#pragma once
// Where a report's figures come from, so that a reader can check them: each source file with
// its SHA-256 (and its archive id when the archive knows it), the archive's chain head, when
// and by which version the report was made, the recorders, and the UTC offsets of its times.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/report/ReportFigures.h"
#include "core/report/ReportUnit.h"

namespace saroko {

struct ReportSource {
    std::string path;   // as given (UTF-8)
    std::string sha256; // 64 lower-case hex digits; empty when the file could not be read
    std::optional<int64_t> archiveId;
    // The hash the archive holds for the recording that lives at `path`, set only when the
    // file's bytes no longer match it (a changed kept download); empty otherwise. Its own
    // initialiser lets the sources built from three fields leave it out.
    std::string archivedSha256 = {};
    // Read again when the report was made, the file still gave `sha256`.
    bool rereadSame = false;
};

// Whether a report may call a source verified: its file, read again at report time, gave the
// bytes the figures came from, and the archive holds no other bytes for it.
bool SourceVerified(const ReportSource& s);
// The short hashes of the file and of the archived recording when the two differ.
std::optional<std::pair<std::string, std::string>> DiffersFromArchive(const ReportSource& s);
// Reads each source's file again: the hash of its bytes now, nullopt when it cannot be read.
using SourceHasher = std::function<std::optional<std::string>(const std::string& path)>;
void RecheckSources(std::vector<ReportSource>& sources, const SourceHasher& hashFile);

// A comment written on one of the report's excursions (what was done about it), as the
// archive keeps it.
struct ExcursionComment {
    int excursion = 0; // the report's number of the excursion, from 1
    std::string text;
    std::string user;
    std::string host;
    std::string timeUtc;
};

struct ReportProvenance {
    std::vector<ReportSource> sources;
    std::optional<std::string> chainHead; // hex, the newest event's hash
    uint32_t madeAt = 0;                  // UTC
    int madeOffset = 0;                   // seconds east of UTC at madeAt
    std::string programVersion;
    // Who made it: the account and host this run's archive events carry.
    std::string user;
    std::string host;
    std::vector<uint32_t> recorderModels;   // the channels' model codes, each once, by first use
    std::vector<int> timeOffsets;           // the local offsets over the report's period, in order
    std::vector<ExcursionComment> comments; // oldest first
    std::vector<ReportUnit> units;          // the storage units of the sources, when assigned
};

// Seconds east of UTC of local time at `t` (the zone's daylight saving included).
int LocalUtcOffset(uint32_t t);
// The offsets in force from `from` to `to`, each change once, in time order.
std::vector<int> UtcOffsetsOver(uint32_t from, uint32_t to);
// "UTC+09:00", "UTC-03:30", "UTC+00:00".
std::string FormatUtcOffset(int seconds);
// "2026/12/07 17:29:38 (UTC+09:00)": a time in local time with its offset.
std::string FormatStampWithOffset(uint32_t t);

// Fills what the figures and the clock tell: the made time and its offset, the models, the
// offsets over the sampled period (the window when nothing was sampled). Sources, chain head
// and version are the caller's.
void DescribeReport(ReportProvenance& p, const ReportFigures& figures, uint32_t now);

// The name of a recorder model code, "KM-41"; "" for a code the program does not know.
std::string RecorderModelName(uint32_t model);

// The first 12 hex digits of a hash, "------------" without one.
std::string ShortHash(const std::string& sha256);
// The footer of the graph and data-list prints: "name.klg 3f2a9c01b4de  other.klg ..." over
// the sources' file names (the part after the last slash).
std::string SourcesFooter(const std::vector<ReportSource>& sources);

} // namespace saroko
