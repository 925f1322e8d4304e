#pragma once
// The PDF report (PDF/A-1b), the same from the program and from the command line: page 1 the
// graph with its legend pane over the sampled period, drawn for paper by the graph's painter,
// with the limits as lines; then the figures of each channel, the list of excursions, where
// the figures come from (files and hashes, version, recorder, times) and lines to sign.
#include <QString>

#include "core/channels/ChannelPalette.h"
#include "core/report/ReportFigures.h"
#include "core/report/ReportProvenance.h"

namespace saroko::ui {

// A4 landscape: the figures and their proof (core/archive's MakeReportProof) as they are,
// printed. The document's ranges and statistics are as before when it returns. False when the
// file cannot be written.
bool WriteReportPdf(const QString& path, CZorvicDoc& doc, const CChannelPalette& palette,
                    const ReportFigures& figures, const ReportProvenance& proof);

} // namespace saroko::ui
