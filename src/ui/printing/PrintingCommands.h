#pragma once
// The printing commands of the view's menu: colour and monochrome graph print, data list
// print, printer setup and the data list window.
#include <QString>
#include <functional>
#include <vector>

#include "core/report/ReportProvenance.h"

class QWidget;

namespace saroko {

class CZorvicView;
namespace archive {
class CDocumentArchive;
}

namespace ui {

// Carries out 32784, 32785, 40002, 57606 or 32779 over `parent`; false for any other id.
// The commands that need data are taken and do nothing while no channel holds any.
// `printed` is told of each page printed or report written: the command, the file written
// ("" for a printer) and the sources it names, the recordings `archive` has behind the shown
// channels (none without an archive).
using PrintedHook = std::function<void(int commandId, const QString& output,
                                       const std::vector<ReportSource>& sources)>;
bool RunPrintingCommand(int commandId, CZorvicView& view, QWidget* parent,
                        const PrintedHook& printed = {},
                        archive::CDocumentArchive* archive = nullptr);

} // namespace ui
} // namespace saroko
