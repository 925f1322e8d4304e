#pragma once
// What the archive adds to a report's proof, the same for the window and saroko-cli.
#include "core/archive/ArchiveSession.h"
#include "core/report/ReportProvenance.h"

namespace saroko::archive {

// A source as a report names it: the path it was read from, and the hash and id of the
// bytes read then (no id while the archive's write waits).
ReportSource SourceOf(const std::string& readFrom, const Recording& archived);
// A file opened: its bytes' hash, and, when it is a changed recording, that recording's id and
// archived hash beside it.
ReportSource OpenedSource(const std::string& readFrom, const Opening& o);
// The recording events about a source are about: the archived one of a changed file.
const std::string& EventTarget(const ReportSource& s);

// The proof takes this run's account and host; each source without an archive id takes the id of
// the recording its hash names, and the proof takes the chain head as it stands now, before the
// report's own event.
void AddArchiveProof(ReportProvenance& proof, CArchiveSession& session);

// A report's whole proof, built before anything is painted, the same for the PDF and for
// `report --json`: the sources (the recordings behind the channels shown, each read again
// with `rehash` to say whether it still holds the bytes read), their archive ids and the
// chain head (with `session`), who made it, when (with the offset then), by which version,
// and the recorder models and UTC offsets the figures' data have.
ReportProvenance MakeReportProof(std::vector<ReportSource> sources, const ReportFigures& figures,
                                 uint32_t now, const std::string& version, CArchiveSession* session,
                                 const FileHasher& rehash);

} // namespace saroko::archive
