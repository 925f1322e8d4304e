#include "platform/FileHash.h"

#include "SarokoVersion.h"

namespace saroko {

ReportProvenance MakeReportProvenance(std::vector<ReportSource> sources, uint32_t now) {
    ReportProvenance p;
    p.sources = std::move(sources);
    p.madeAt = now;
    p.programVersion = SAROKO_VERSION;
    return p;
}

} // namespace saroko
