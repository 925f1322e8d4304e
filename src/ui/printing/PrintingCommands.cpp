#include "ui/printing/PrintingCommands.h"

#include "core/document/CommandState.h"
#include "ui/graph/ZorvicView.h"
#include "ui/printing/DataListDlg.h"
#include "ui/printing/Printing.h"
#include "ui/printing/ReportDlg.h"

namespace saroko::ui {

bool RunPrintingCommand(int commandId, CZorvicView& view, QWidget* parent) {
    switch (commandId) {
    case cmd::kPrintSetup:
        PrinterSetup(view, parent);
        return true;
    case cmd::kPrintColour:
    case cmd::kPrintMono:
    case cmd::kPrintDataList:
    case cmd::kDataList:
    case cmd::kReport:
        break;
    default:
        return false;
    }
    if (!AnyChannelPresent(view.Doc()))
        return true; // greyed
    switch (commandId) {
    case cmd::kPrintColour:
        PrintGraph(view, true, parent);
        break;
    case cmd::kPrintMono:
        PrintGraph(view, false, parent);
        break;
    case cmd::kPrintDataList:
        PrintDataList(view, parent);
        break;
    case cmd::kReport:
        RunReport(view, parent);
        break;
    default:
        RunDataListWindow(view, parent);
        break;
    }
    return true;
}

} // namespace saroko::ui
