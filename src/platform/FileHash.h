#pragma once
// A report's proof as far as the program knows it without the archive.
#include <vector>

#include "core/report/ReportProvenance.h"

namespace saroko {

// A report's proof as far as this program knows it: the sources (each file read again now,
// to say whether it still holds the bytes the figures came from), the made time and the
// program's version. The archive adds the archive ids and the chain head.
ReportProvenance MakeReportProvenance(std::vector<ReportSource> sources, uint32_t now);

} // namespace saroko
