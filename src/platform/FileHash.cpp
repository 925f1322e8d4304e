#include "platform/FileHash.h"

#include "SarokoVersion.h"
#include "platform/ArchiveSetup.h"

namespace saroko {

std::vector<ReportSource> HashSources(const std::vector<std::string>& paths) {
    std::vector<ReportSource> sources;
    sources.reserve(paths.size());
    for (const std::string& path : paths)
        sources.push_back({path, Sha256OfFile(path).value_or(""), {}});
    return sources;
}

ReportProvenance MakeReportProvenance(std::vector<ReportSource> sources, uint32_t now) {
    ReportProvenance p;
    p.sources = std::move(sources);
    p.madeAt = now;
    p.programVersion = SAROKO_VERSION;
    return p;
}

} // namespace saroko
