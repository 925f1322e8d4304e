#pragma once
// The sources a report or a print names, each with the SHA-256 of its bytes.
#include <string>
#include <vector>

#include "core/report/ReportProvenance.h"

namespace saroko {

// Each path (UTF-8) with its hash (the archive's file hash), empty when unreadable.
std::vector<ReportSource> HashSources(const std::vector<std::string>& paths);

// A report's proof as far as this program knows it: the sources, the made time and the
// program's version. The archive adds the archive ids and the chain head.
ReportProvenance MakeReportProvenance(std::vector<ReportSource> sources, uint32_t now);

} // namespace saroko
