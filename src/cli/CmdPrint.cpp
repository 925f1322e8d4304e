// saroko-cli print-graph and print-list: the pages of the program's print commands, printed
// by its own printing code into a PDF file.
#ifdef SAROKO_CLI_HAS_GUI
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <cstdlib>
#include <iostream>

#include "cli/CliCommon.h"
#include "cli/CliVerb.h"
#include "core/channels/ChannelPalette.h"
#include "core/graph/GraphModel.h"
#include "core/printing/PrintLayout.h"
#include "ui/printing/Printing.h"

namespace saroko::cli {
namespace {

const char kGraphUsage[] =
    "usage: saroko-cli print-graph [--mono] [--method fit|fill|scale --hscale N --vscale N]\n"
    "                              [--size WxH] -o OUT.pdf FILE...\n"
    "  Loads the files as 'info' does and prints the graph as the colour (or monochrome)\n"
    "  graph print does: the view's picture, legend pane included, on one A4 page.\n"
    "  --method M     fit (to the paper), fill (the paper) or scale (printer pixels per\n"
    "                 view pixel, --hscale and --vscale); default the program's setting\n"
    "  --size WxH     the view's size in pixels, default 1280x800\n";

const char kListUsage[] =
    "usage: saroko-cli print-list [--from T --to T] -o OUT.pdf FILE...\n"
    "  Loads the files as 'info' does and prints the data list as the program does: its\n"
    "  headings, page numbers and one row per sample time, on A4 pages.\n"
    "  --from T, --to T  the time window, T as \"YYYY/MM/DD HH:MM:SS\" (local time); default\n"
    "                    the whole data\n";

int RunPrintGraph(const std::vector<std::string>& args);
int RunPrintList(const std::vector<std::string>& args);
const Verb kGraphVerb{"print-graph", "print the graph into a PDF file", kGraphUsage,
                      &RunPrintGraph};
const Verb kListVerb{"print-list", "print the data list into a PDF file", kListUsage,
                     &RunPrintList};
const VerbRegistrar regGraph{kGraphVerb};
const VerbRegistrar regList{kListVerb};

bool IsPdf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path))
               .suffix()
               .compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

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

bool ParseSize(const std::string& text, int& w, int& h) {
    const auto x = text.find_first_of("xX");
    uint32_t a = 0, b = 0;
    if (x == std::string::npos || !ParseCount(text.substr(0, x), a) ||
        !ParseCount(text.substr(x + 1), b) || a == 0 || b < kMinViewBottom || a > 16384 ||
        b > 16384)
        return false;
    w = static_cast<int>(a);
    h = static_cast<int>(b);
    return true;
}

int RunPrintGraph(const std::vector<std::string>& args) {
    const Options o =
        ParseOptions(args, {"--method", "--hscale", "--vscale", "--size", "-o"}, {"--mono"});
    if (!o.error.empty())
        return UsageError(kGraphVerb, o.error);
    if (o.positional.empty())
        return UsageError(kGraphVerb, "no file given");
    const std::string* out = o.Value("-o");
    if (!out || !IsPdf(*out))
        return UsageError(kGraphVerb, "-o wants a .pdf file");
    int width = 1280, height = 800;
    if (const std::string* s = o.Value("--size"); s && !ParseSize(*s, width, height))
        return UsageError(kGraphVerb, "--size wants WIDTHxHEIGHT, at least 225 high");

    auto session = OpenSession();
    if (!LoadFiles(*session, o.positional))
        return kExitFailed;
    CZorvicDoc& doc = *session->doc;
    GraphPrintSettings settings = GraphPrintSettingsOf(doc);
    if (const std::string* m = o.Value("--method")) {
        const char* names[] = {"fit", "fill", "scale"};
        int method = -1;
        for (int i = 0; i < 3; ++i)
            if (*m == names[i])
                method = i;
        if (method < 0)
            return UsageError(kGraphVerb, "--method wants fit, fill or scale");
        settings.method = static_cast<uint32_t>(method);
    }
    for (const auto& [name, slot] :
         {std::pair{"--hscale", &settings.horizontalScale}, {"--vscale", &settings.verticalScale}})
        if (const std::string* v = o.Value(name); v && !ParseCount(*v, *slot))
            return UsageError(kGraphVerb, std::string(name) + " wants a whole number");

    const CChannelPalette palette(session->store);
    const QImage picture =
        ui::GraphPrintPicture(QSize(width, height), doc, palette, !o.Has("--mono"));
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, *out, doc);
    if (!ui::PrintPicture(printer, picture, settings, ui::MetricsOf(printer))) {
        std::cerr << "saroko-cli print-graph: cannot write " << *out << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

int RunPrintList(const std::vector<std::string>& args) {
    const Options o = ParseOptions(args, {"--from", "--to", "-o"}, {});
    if (!o.error.empty())
        return UsageError(kListVerb, o.error);
    if (o.positional.empty())
        return UsageError(kListVerb, "no file given");
    const std::string* out = o.Value("-o");
    if (!out || !IsPdf(*out))
        return UsageError(kListVerb, "-o wants a .pdf file");
    uint32_t from = 0, to = 0;
    const std::string* fromText = o.Value("--from");
    const std::string* toText = o.Value("--to");
    if ((fromText && !ParseLocalDateTime(*fromText, from)) ||
        (toText && !ParseLocalDateTime(*toText, to)))
        return UsageError(kListVerb, "--from and --to want local times as \"YYYY/MM/DD HH:MM:SS\"");

    auto session = OpenSession();
    if (!LoadFiles(*session, o.positional))
        return kExitFailed;
    CZorvicDoc& doc = *session->doc;
    GraphRange& r = *doc.GetRange();
    if (fromText)
        r.viewStart = from;
    if (toText)
        r.viewEnd = to;
    if (r.viewEnd < r.viewStart)
        return UsageError(kListVerb, "the time window ends before it starts");

    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, *out, doc);
    const CQtCp932Codec codec;
    const int pages = CDataListPrint(doc, codec, ui::ListPageOf(printer).height).PageCount();
    if (pages <= 0) {
        std::cerr << "saroko-cli print-list: no rows in the time window\n";
        return kExitFailed;
    }
    if (ui::PrintListPages(printer, doc, {1, pages}) != pages) {
        std::cerr << "saroko-cli print-list: cannot write " << *out << "\n";
        return kExitFailed;
    }
    std::cout << pages << (pages == 1 ? " page\n" : " pages\n");
    return kExitOk;
}

} // namespace
} // namespace saroko::cli
#endif
