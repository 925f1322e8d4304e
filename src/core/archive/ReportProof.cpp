#include "core/archive/ReportProof.h"

namespace saroko::archive {

ReportSource SourceOf(const std::string& readFrom, const Recording& archived) {
    return {readFrom, archived.sha256,
            archived.id > 0 ? std::optional(archived.id) : std::nullopt, {}};
}

void AddArchiveProof(ReportProvenance& proof, CArchiveSession& session) {
    if (!session.Enabled())
        return;
    for (ReportSource& s : proof.sources)
        if (!s.archiveId && !s.sha256.empty())
            if (const std::optional<Recording> r = session.Find(s.sha256); r && r->id > 0)
                s.archiveId = r->id;
    if (std::string head = session.ChainHead(); !head.empty())
        proof.chainHead = std::move(head);
}

} // namespace saroko::archive
