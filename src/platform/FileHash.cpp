#include "platform/FileHash.h"

#include "SarokoVersion.h"
#include "platform/ArchiveSetup.h"

namespace saroko {

ReportProvenance MakeReportProvenance(std::vector<ReportSource> sources, uint32_t now) {
    ReportProvenance p;
    p.sources = std::move(sources);
    RecheckSources(p.sources, &Sha256OfFile);
    p.madeAt = now;
    p.programVersion = SAROKO_VERSION;
    return p;
}

} // namespace saroko
