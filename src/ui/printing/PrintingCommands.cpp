#include "ui/printing/PrintingCommands.h"

#include "core/archive/DocumentArchive.h"
#include "core/document/CommandState.h"
#include "ui/graph/ZorvicView.h"
#include "ui/printing/DataListDlg.h"
#include "ui/printing/PrintSetup.h"
#include "ui/printing/Printing.h"
#include "ui/printing/ReportDlg.h"
#include <QPrinter>

namespace saroko::ui {

bool RunPrintingCommand(int commandId, CZorvicView& view, QWidget* parent,
                        const PrintedHook& printed, archive::CDocumentArchive* archive) {
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
    // One list for the page and for the events: the recordings as they were read.
    const std::vector<ReportSource> sources =
        archive ? archive->Shown() : std::vector<ReportSource>{};
    const auto tell = [&](bool done, const QString& output) {
        if (done && printed)
            printed(commandId, output, sources);
    };
    const auto printerFile = [&view] { return CPrintSetup::Of(view).Printer().outputFileName(); };
    switch (commandId) {
    case cmd::kPrintColour:
    case cmd::kPrintMono:
        tell(PrintGraph(view, commandId == cmd::kPrintColour, parent, sources), printerFile());
        break;
    case cmd::kPrintDataList:
        tell(PrintDataList(view, parent, sources) > 0, printerFile());
        break;
    case cmd::kReport: {
        QString written;
        tell(RunReport(view, parent, &written, sources, archive), written);
        break;
    }
    default:
        RunDataListWindow(view, parent);
        break;
    }
    return true;
}

} // namespace saroko::ui
