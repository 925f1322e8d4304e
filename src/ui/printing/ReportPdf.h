#pragma once
// The PDF report, the same from the program and from the command line: page 1 the graph with
// its legend pane over the report's window, drawn as lines and text by the graph's painter,
// with the limits as lines; then the figures of each channel and the list of excursions.
#include <QString>

#include "core/channels/ChannelPalette.h"
#include "core/report/ReportFigures.h"

namespace saroko::ui {

// A4 landscape. The document's ranges and statistics are as before when it returns. False
// when the file cannot be written.
bool WriteReportPdf(const QString& path, CZorvicDoc& doc, const CChannelPalette& palette,
                    const ReportOptions& options);

} // namespace saroko::ui
