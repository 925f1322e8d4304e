#pragma once
// The recordings archive of one saroko-cli run: opened on first use (so verbs that touch no
// file never open it), left alone with --no-archive. Its one message about a failure goes to
// stderr once, and the verb's work goes on.
#include <string>

#include "core/archive/ArchiveSession.h"

namespace saroko::cli {

void SetArchiveEnabled(bool enabled);
// The archive at `path` instead of the user's (tests, and --archive).
void SetArchivePath(const std::string& path);
archive::CArchiveSession& CliArchive();
// The archive file of this run.
std::string CliArchivePath();
// Prints the archive's message, if it has one to say.
void SayArchiveMessage();

} // namespace saroko::cli
