#include "core/archive/ReportProof.h"

namespace saroko::archive {

ReportSource SourceOf(const std::string& readFrom, const Recording& archived) {
    return {
        readFrom, archived.sha256, archived.id > 0 ? std::optional(archived.id) : std::nullopt, {}};
}

ReportSource OpenedSource(const std::string& readFrom, const Opening& o) {
    ReportSource s = SourceOf(readFrom, o.recording);
    if (o.Changed()) {
        s.archivedSha256 = s.sha256;
        s.sha256 = o.foundSha256;
    }
    return s;
}

const std::string& EventTarget(const ReportSource& s) {
    return s.archivedSha256.empty() ? s.sha256 : s.archivedSha256;
}

void AddArchiveProof(ReportProvenance& proof, CArchiveSession& session) {
    // The account and host the report's own event will carry, archive or not.
    proof.user = session.Context().user;
    proof.host = session.Context().host;
    if (!session.Enabled())
        return;
    for (ReportSource& s : proof.sources)
        if (!s.archiveId && !s.sha256.empty())
            if (const std::optional<Recording> r = session.Find(s.sha256); r && r->id > 0)
                s.archiveId = r->id;
    if (std::string head = session.ChainHead(); !head.empty())
        proof.chainHead = std::move(head);
}

ReportProvenance MakeReportProof(std::vector<ReportSource> sources, const ReportFigures& figures,
                                 uint32_t now, const std::string& version, CArchiveSession* session,
                                 const FileHasher& rehash) {
    ReportProvenance p;
    p.sources = std::move(sources);
    RecheckSources(p.sources, rehash);
    p.programVersion = version;
    DescribeReport(p, figures, now);
    if (session)
        AddArchiveProof(p, *session);
    return p;
}

} // namespace saroko::archive
