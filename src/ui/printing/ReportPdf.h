#pragma once
// The PDF report (PDF/A-1b), the same from the program and from the command line: page 1 the
// graph with its legend pane over the sampled period, drawn for paper by the graph's painter,
// with the limits as lines; then the figures of each channel, the list of excursions, where
// the figures come from (files and hashes, version, recorder, times) and lines to sign.
#include <QString>

#include "core/archive/AuditTrail.h"
#include "core/channels/ChannelPalette.h"
#include "core/report/ReportFigures.h"
#include "core/report/ReportProvenance.h"

namespace saroko::ui {

// A4 landscape: the figures and their proof (core/archive's MakeReportProof) as they are,
// printed. The document's ranges and statistics are as before when it returns. False when the
// file cannot be written.
bool WriteReportPdf(const QString& path, CZorvicDoc& doc, const CChannelPalette& palette,
                    const ReportFigures& figures, const ReportProvenance& proof);

// The audit trail in the report's page style: what it covers, who made it and when, the check
// of the whole chain, then each event with every field, its hash under it. False when the file
// cannot be written.
bool WriteAuditTrailPdf(const QString& path, const archive::AuditTrail& trail);

} // namespace saroko::ui
