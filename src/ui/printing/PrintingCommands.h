#pragma once
// The printing commands of the view's menu: colour and monochrome graph print, data list
// print, printer setup and the data list window.
#include <QString>
#include <functional>

class QWidget;

namespace saroko {

class CZorvicView;
namespace archive {
class CArchiveSession;
}

namespace ui {

// Carries out 32784, 32785, 40002, 57606 or 32779 over `parent`; false for any other id.
// The commands that need data are taken and do nothing while no channel holds any.
// `printed` is told of each page printed or report written: the command and the file written
// ("" for a printer). A report names the sources as `archive` knows them, when there is one.
using PrintedHook = std::function<void(int commandId, const QString& output)>;
bool RunPrintingCommand(int commandId, CZorvicView& view, QWidget* parent,
                        const PrintedHook& printed = {},
                        archive::CArchiveSession* archive = nullptr);

} // namespace ui
} // namespace saroko
