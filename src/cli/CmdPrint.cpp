// saroko-cli print-graph and print-list: the pages of the program's print commands, printed
// by its own printing code into a PDF file.
#ifdef SAROKO_CLI_HAS_GUI
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <cstdlib>
#include <iostream>

#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/channels/ChannelPalette.h"
#include "core/graph/GraphModel.h"
#include "core/printing/PrintLayout.h"
#include "ui/printing/Printing.h"

namespace saroko::cli {

extern const char kPrintGraphUsage[] =
    "usage: saroko-cli print-graph [--mono] [--method fit|fill|scale --hscale N --vscale N]\n"
    "                              [--size WxH] -o OUT.pdf FILE...\n"
    "  Loads the files as 'info' does and prints the graph as the colour (or monochrome)\n"
    "  graph print does: the view's picture, legend pane included, on one A4 page.\n"
    "  --method M     fit (to the paper), fill (the paper) or scale (printer pixels per\n"
    "                 view pixel, --hscale and --vscale); default the program's setting\n"
    "  --size WxH     the view's size in pixels, default 1280x800\n";

extern const char kPrintListUsage[] =
    "usage: saroko-cli print-list [--from T --to T] -o OUT.pdf FILE...\n"
    "  Loads the files as 'info' does and prints the data list as the program does: its\n"
    "  headings, page numbers and one row per sample time, on A4 pages.\n"
    "  --from T, --to T  the time window, T as \"YYYY/MM/DD HH:MM:SS\" (local time); default\n"
    "                    the whole data\n";

namespace {

// The printer the print commands print on when it goes to a PDF file: A4 portrait.
void SetUpPdf(QPrinter& printer, const std::string& path, const CZorvicDoc& doc) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QString::fromStdString(doc.m_szFileName));
}

bool ParseCount(const std::string& text, uint32_t& out) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    out = static_cast<uint32_t>(std::atoi(text.c_str()));
    return true;
}

// The checks both print verbs make, then the files loaded; null when the verb ends there,
// with `status` its exit status.
std::unique_ptr<CliSession> StartPrint(const CVerbOptions& o, int& status) {
    status = kExitUsage;
    if (o.Files().empty()) {
        o.Fail("no file given");
        return nullptr;
    }
    if (!HasExtension(o.Output(), "pdf")) {
        o.Fail("-o wants a .pdf file");
        return nullptr;
    }
    status = kExitFailed;
    auto session = OpenSession();
    return LoadFiles(*session, o.Files()) ? std::move(session) : nullptr;
}

} // namespace

void DeclarePrintGraph(CVerbOptions& o) {
    o.AddFlag("mono");
    o.AddValue("method");
    o.AddValue("hscale");
    o.AddValue("vscale");
    o.AddSize();
    o.AddOutput();
}

int RunPrintGraph(const CVerbOptions& o) {
    int status = 0;
    const auto session = StartPrint(o, status);
    if (!session)
        return status;
    CZorvicDoc& doc = *session->doc;
    GraphPrintSettings settings = GraphPrintSettingsOf(doc);
    if (const auto m = o.Value("method")) {
        const char* names[] = {"fit", "fill", "scale"};
        int method = -1;
        for (int i = 0; i < 3; ++i)
            if (*m == names[i])
                method = i;
        if (method < 0)
            return o.Fail("--method wants fit, fill or scale");
        settings.method = static_cast<uint32_t>(method);
    }
    for (const auto& [name, slot] :
         {std::pair{"hscale", &settings.horizontalScale}, {"vscale", &settings.verticalScale}})
        if (const auto v = o.Value(name); v && !ParseCount(*v, *slot))
            return o.Fail("--" + std::string(name) + " wants a whole number");

    const CChannelPalette palette(session->store);
    const QImage picture =
        ui::GraphPrintPicture(QSize(o.Size().width, o.Size().height), doc, palette, !o.Has("mono"));
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, o.Output(), doc);
    // One list for the page and for the event.
    const std::vector<ReportSource> sources = ReportSources(*session);
    if (!ui::PrintPicture(printer, picture, settings, ui::MetricsOf(printer), {},
                          ui::SourcesFooterText(sources))) {
        std::cerr << "saroko-cli print-graph: cannot write " << o.Output() << "\n";
        return kExitFailed;
    }
    RecordMade(*session, archive::EventKind::Printed, o.Output(), sources);
    return kExitOk;
}

void DeclarePrintList(CVerbOptions& o) {
    o.AddWindow();
    o.AddOutput();
}

int RunPrintList(const CVerbOptions& o) {
    int status = 0;
    const auto session = StartPrint(o, status);
    if (!session)
        return status;
    CZorvicDoc& doc = *session->doc;
    if (!o.ApplyWindow(*doc.GetRange()))
        return kExitUsage;

    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, o.Output(), doc);
    const CQtCp932Codec codec;
    const int pages = CDataListPrint(doc, codec, ui::ListPageOf(printer).height).PageCount();
    if (pages <= 0) {
        std::cerr << "saroko-cli print-list: no rows in the time window\n";
        return kExitFailed;
    }
    const std::vector<ReportSource> sources = ReportSources(*session);
    if (ui::PrintListPages(printer, doc, {1, pages}, {}, ui::SourcesFooterText(sources)) != pages) {
        std::cerr << "saroko-cli print-list: cannot write " << o.Output() << "\n";
        return kExitFailed;
    }
    std::cout << pages << (pages == 1 ? " page\n" : " pages\n");
    RecordMade(*session, archive::EventKind::Printed, o.Output(), sources);
    return kExitOk;
}

} // namespace saroko::cli
#endif
