#pragma once
// The view's print procedures: the graph on one page (colour or monochrome), the data list
// page by page with its progress box, and the printer setup they share.
#include <QFont>
#include <QImage>
#include <QString>

#include "printing/DataList.h"

class QPainter;
class QWidget;

namespace saroko {

class CZorvicView;

namespace ui {

// The printer setup (57606). True when the user confirmed it.
bool PrinterSetup(CZorvicView& view, QWidget* parent);

// The graph print (32784 colour, 32785 monochrome). True when a page was printed.
bool PrintGraph(CZorvicView& view, bool colour, QWidget* parent);

// The picture of the view as it stands, legend pane included; null for an empty window.
QImage CaptureView(CZorvicView& view);

// The data list print (40002). Returns the number of pages printed.
int PrintDataList(CZorvicView& view, QWidget* parent);

// The list page's font, in hundredths of an inch.
QFont ListPrintFont();
// Draws one laid-out page in the painter's logical units (hundredths of an inch).
void DrawListPage(QPainter& p, const ListPage& page, const QFont& font);

// The name the print dialogs show: the document's file name, 13 bytes at most.
QString DialogFileName(const std::string& fileName);

} // namespace ui
} // namespace saroko
