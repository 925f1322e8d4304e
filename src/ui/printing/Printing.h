#pragma once
// The view's print procedures: the graph on one page (colour or monochrome), the data list
// page by page with its progress box, and the printer setup they share.
#include <QFont>
#include <QImage>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/channels/ChannelPalette.h"
#include "core/printing/DataList.h"
#include "core/printing/PrintLayout.h"
#include "core/report/ReportProvenance.h"

class QPainter;
class QPrinter;
class QWidget;

namespace saroko {

class CZorvicView;

namespace ui {

// The printer setup (57606). True when the user confirmed it.
bool PrinterSetup(CZorvicView& view, QWidget* parent);

// The graph print (32784 colour, 32785 monochrome). True when a page was printed. The
// footer names `sources`, as the list print's does.
bool PrintGraph(CZorvicView& view, bool colour, QWidget* parent,
                const std::vector<ReportSource>& sources = {});

// The picture of the view as it stands, legend pane included; null for an empty window.
QImage CaptureView(CZorvicView& view);

// The data list print (40002). Returns the number of pages printed.
int PrintDataList(CZorvicView& view, QWidget* parent,
                  const std::vector<ReportSource>& sources = {});

// The print commands' pages on any printer, the program's and the command line's.
PrinterMetrics MetricsOf(const QPrinter& printer);
ListPageSize ListPageOf(const QPrinter& printer);
// The graph page: the picture stretched onto its destination by the method. False when the
// job could not start (`cannotStart` is told) or the page failed.
bool PrintPicture(QPrinter& printer, const QImage& picture, const GraphPrintSettings& settings,
                  const PrinterMetrics& metrics, const std::function<void()>& cannotStart = {},
                  const QString& footer = {});
// The picture of a view of `size` in the print colours, legend pane included, as the window
// shows it.
QImage GraphPrintPicture(const QSize& size, CZorvicDoc& doc, const CChannelPalette& palette,
                         bool colour);
// The data list's pages of the shown window; `page` is told before each page, `cancelled`
// asked after it (a cancel abandons the job). The pages printed, 0 for a job that failed or
// was cancelled, -1 when it could not start.
struct ListPrintProgress {
    std::function<void(int page, int last)> page;
    std::function<bool()> cancelled;
};
int PrintListPages(QPrinter& printer, const CZorvicDoc& doc, PageRange range,
                   const ListPrintProgress& progress = {}, const QString& footer = {});

// The line at the foot of every graph and list page: the source files with the first 12 hex
// digits of their SHA-256; empty without sources.
QString SourcesFooterText(const std::vector<ReportSource>& sources);
// Draws it small at the bottom of `page` (the painter's logical units), on white.
void DrawFooter(QPainter& p, const QRect& page, const QString& text);

// The list page's font, in hundredths of an inch.
QFont ListPrintFont();
// Draws one laid-out page in the painter's logical units (hundredths of an inch).
void DrawListPage(QPainter& p, const ListPage& page, const QFont& font);

// The name the print dialogs show: the document's file name, 13 bytes at most.
QString DialogFileName(const std::string& fileName);

} // namespace ui
} // namespace saroko
