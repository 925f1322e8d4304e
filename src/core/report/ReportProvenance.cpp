#include "core/report/ReportProvenance.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/document/ChannelRecord.h"
#include "core/text/TimeUtil.h"

namespace saroko {
namespace {

constexpr uint32_t kDay = 86400;
constexpr std::size_t kShortHashDigits = 12;

} // namespace

int LocalUtcOffset(uint32_t t) {
    std::tm f{};
    if (!ToLocalTime(t, f))
        return 0;
    const int64_t local = DaysFromCivil(f.tm_year + 1900, static_cast<unsigned>(f.tm_mon + 1),
                                        static_cast<unsigned>(f.tm_mday)) *
                              kDay +
                          f.tm_hour * 3600 + f.tm_min * 60 + f.tm_sec;
    return static_cast<int>(local - static_cast<int64_t>(t));
}

std::vector<int> UtcOffsetsOver(uint32_t from, uint32_t to) {
    std::vector<int> offsets;
    const auto add = [&offsets](uint32_t t) {
        const int o = LocalUtcOffset(t);
        if (offsets.empty() || offsets.back() != o)
            offsets.push_back(o);
    };
    // Zones change their offset at most a few times a year and never twice in a day.
    for (uint64_t t = from; t < to; t += kDay)
        add(static_cast<uint32_t>(t));
    add(std::max(from, to));
    return offsets;
}

std::string FormatUtcOffset(int seconds) {
    const int a = std::abs(seconds);
    char text[24];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", seconds < 0 ? '-' : '+', a / 3600,
                  a % 3600 / 60);
    return text;
}

std::string FormatStampWithOffset(uint32_t t) {
    std::tm f{};
    if (!ToLocalTime(t, f))
        return "?";
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d (%s)", f.tm_year + 1900,
                  f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec,
                  FormatUtcOffset(LocalUtcOffset(t)).c_str());
    return text;
}

void DescribeReport(ReportProvenance& p, const ReportFigures& figures, uint32_t now) {
    p.madeAt = now;
    p.madeOffset = LocalUtcOffset(now);
    p.recorderModels.clear();
    for (const ChannelFigures& f : figures.channels)
        if (std::find(p.recorderModels.begin(), p.recorderModels.end(), f.model) ==
            p.recorderModels.end())
            p.recorderModels.push_back(f.model);
    const auto period = SampledPeriod(figures);
    p.timeOffsets = period ? UtcOffsetsOver(period->first, period->second)
                           : UtcOffsetsOver(figures.from, figures.to);
}

std::string RecorderModelName(uint32_t model) {
    return model == kModelKm41 ? "KM-41" : "";
}

std::string ShortHash(const std::string& sha256) {
    if (sha256.size() < kShortHashDigits)
        return std::string(kShortHashDigits, '-');
    return sha256.substr(0, kShortHashDigits);
}

bool SourceVerified(const ReportSource& s) {
    return s.rereadSame && !s.sha256.empty() && !DiffersFromArchive(s);
}

std::optional<std::pair<std::string, std::string>> DiffersFromArchive(const ReportSource& s) {
    if (s.archivedSha256.empty() || s.archivedSha256 == s.sha256)
        return std::nullopt;
    return std::pair(ShortHash(s.sha256), ShortHash(s.archivedSha256));
}

void RecheckSources(std::vector<ReportSource>& sources, const SourceHasher& hashFile) {
    for (ReportSource& s : sources) {
        const std::optional<std::string> now = s.sha256.empty() ? std::nullopt : hashFile(s.path);
        s.rereadSame = now && *now == s.sha256;
    }
}

std::string SourcesFooter(const std::vector<ReportSource>& sources) {
    std::string text;
    for (const ReportSource& s : sources) {
        if (!text.empty())
            text += "  ";
        const auto slash = s.path.find_last_of("/\\");
        text += slash == std::string::npos ? s.path : s.path.substr(slash + 1);
        text += ' ';
        text += ShortHash(s.sha256);
    }
    return text;
}

} // namespace saroko
