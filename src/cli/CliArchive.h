#pragma once
// The recordings archive of one saroko-cli run: opened on first use (so verbs that touch no
// file never open it), left alone with --no-archive. Its one message about a failure goes to
// stderr once, and the verb's work goes on.
#include <string>
#include <vector>

#include "core/archive/ArchiveSession.h"
#include "core/report/ReportProvenance.h"

namespace saroko::cli {

struct CliSession;

void SetArchiveEnabled(bool enabled);
// The archive at `path` instead of the user's (tests, and --archive).
void SetArchivePath(const std::string& path);
archive::CArchiveSession& CliArchive();
// The archive file of this run.
std::string CliArchivePath();
// Prints the archive's message, if it has one to say.
void SayArchiveMessage();

// Records that each of `files` was opened; the sources as a report names them, in the same
// order (a file that is not a data file gives an empty hash). A changed recording is said so
// on stderr.
std::vector<ReportSource> RecordOpened(const CliSession& session,
                                       const std::vector<std::string>& files);
// Records what a verb made of its sources: `output` is the file written ("" for stdout, then
// `outputBytes` are hashed instead).
void RecordOutput(const CliSession& session, archive::EventKind kind,
                  const std::vector<ReportSource>& sources, const std::string& output,
                  const std::string& outputBytes = {});

} // namespace saroko::cli
