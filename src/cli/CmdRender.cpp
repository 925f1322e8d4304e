// saroko-cli render: the graph view's picture of a set of files, written as PNG or as a PDF
// page through the same painting code as the window.
#ifdef SAROKO_CLI_HAS_GUI
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <cstdlib>
#include <iostream>

#include "cli/CliCommon.h"
#include "cli/CliVerb.h"
#include "core/channels/ChannelPalette.h"
#include "core/graph/GraphModel.h"
#include "ui/graph/GraphPainter.h"

namespace saroko::cli {
namespace {

const char kUsage[] =
    "usage: saroko-cli render [--size WxH] [--scale N] [--from T --to T] [--print colour|mono]\n"
    "                         [--legend] -o OUT.png|OUT.pdf FILE...\n"
    "  Loads the files as 'info' does and writes the graph as the view shows it (graph,\n"
    "  strips, thumbs and cursors) at the given client size. Needs no display.\n"
    "  --size WxH     client size in pixels, default 1280x800 (height at least 225)\n"
    "  --scale N      device pixels per pixel, as on a scaled screen (1 to 4, e.g. 1.5)\n"
    "  --from T       start of the time window, T as \"YYYY/MM/DD HH:MM:SS\" (local time)\n"
    "  --to T         end of the time window; both default to the whole data\n"
    "  --print MODE   paint with the colour or the monochrome print palette\n"
    "  --legend       with the legend pane under the graph, as the window shows it\n"
    "  -o OUT         the picture to write: .png, or .pdf for one page drawn as lines and\n"
    "                 text, one point per 4/3 pixels\n";

int RunRender(const std::vector<std::string>& args);
const Verb kVerb{"render", "write the graph of data files as a PNG or PDF picture", kUsage,
                 &RunRender};
const VerbRegistrar reg{kVerb};

constexpr int kMaxSide = 16384;
constexpr double kPointsPerPixel = 0.75; // a 96 dpi screen pixel on the PDF page

enum class Format { kPng, kPdf, kOther };

Format FormatOf(const std::string& path) {
    const QString ext = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (ext == QLatin1String("png"))
        return Format::kPng;
    if (ext == QLatin1String("pdf"))
        return Format::kPdf;
    return Format::kOther;
}

// One page of the client's size, painted as vectors: the painter's unit is one view pixel.
bool WritePdf(const QString& path, const QSize& size, CGraphModel& model,
              const CChannelPalette& palette, bool legend) {
    QPdfWriter writer(path);
    writer.setResolution(96);
    writer.setCreator(QStringLiteral("saroko-cli"));
    const QSizeF points(size.width() * kPointsPerPixel, size.height() * kPointsPerPixel);
    if (!writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point),
                                          QPageLayout::Portrait, QMarginsF(0, 0, 0, 0))))
        return false;
    QPainter p;
    if (!p.begin(&writer))
        return false;
    // Scale from the writer's own unit (its rounded page) to exactly the client size.
    const QRect page = p.viewport();
    p.setWindow(0, 0, size.width(), size.height());
    p.setViewport(page);
    PaintView(p, size, model, palette, ProgramFont(), legend);
    return p.end();
}

bool ParseSize(const std::string& text, int& w, int& h) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos || x == 0 || x + 1 >= text.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != x && (text[i] < '0' || text[i] > '9'))
            return false;
    if (x > 5 || text.size() - x - 1 > 5)
        return false;
    w = std::atoi(text.substr(0, x).c_str());
    h = std::atoi(text.substr(x + 1).c_str());
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide;
}

int RunRender(const std::vector<std::string>& args) {
    const Options o =
        ParseOptions(args, {"--size", "--scale", "--from", "--to", "--print", "-o"}, {"--legend"});
    if (!o.error.empty())
        return UsageError(kVerb, o.error);
    if (o.positional.empty())
        return UsageError(kVerb, "no file given");
    const std::string* out = o.Value("-o");
    if (!out || out->empty())
        return UsageError(kVerb, "no output file given (-o OUT.png)");
    const Format format = FormatOf(*out);
    if (format == Format::kOther)
        return UsageError(kVerb, "-o wants a .png or a .pdf file");

    int width = 1280, height = 800;
    if (const std::string* s = o.Value("--size")) {
        if (!ParseSize(*s, width, height))
            return UsageError(kVerb, "--size wants WIDTHxHEIGHT, for example 1280x800");
        if (height < kMinViewBottom)
            return UsageError(kVerb, "--size: the view is never lower than 225 pixels");
    }
    double scale = 1.0;
    if (const std::string* s = o.Value("--scale")) {
        char* end = nullptr;
        scale = std::strtod(s->c_str(), &end);
        if (s->empty() || *end != '\0' || !(scale >= 1.0 && scale <= 4.0) ||
            width * scale > kMaxSide || height * scale > kMaxSide)
            return UsageError(kVerb, "--scale wants a ratio from 1 to 4, for example 2");
    }
    uint32_t from = 0, to = 0;
    const std::string* fromText = o.Value("--from");
    const std::string* toText = o.Value("--to");
    if (fromText && !ParseLocalDateTime(*fromText, from))
        return UsageError(kVerb, "--from wants a local time as \"YYYY/MM/DD HH:MM:SS\"");
    if (toText && !ParseLocalDateTime(*toText, to))
        return UsageError(kVerb, "--to wants a local time as \"YYYY/MM/DD HH:MM:SS\"");
    bool colourPrint = false, monoPrint = false;
    if (const std::string* m = o.Value("--print")) {
        colourPrint = *m == "colour" || *m == "color";
        monoPrint = *m == "mono";
        if (!colourPrint && !monoPrint)
            return UsageError(kVerb, "--print wants colour or mono");
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        std::cerr << "saroko-cli render: no graphics support in this build\n";
        return kExitFailed;
    }

    auto session = OpenSession();
    if (!LoadFiles(*session, o.positional))
        return kExitFailed;
    CZorvicDoc& doc = *session->doc;
    GraphRange& r = *doc.GetRange();
    if (fromText)
        r.viewStart = from;
    if (toText)
        r.viewEnd = to;
    if (r.viewEnd <= r.viewStart)
        return UsageError(kVerb, "the time window ends before it starts");

    CChannelPalette palette(session->store);
    if (colourPrint || monoPrint) {
        PaletteEntries entries = palette.Entries();
        if (colourPrint)
            ApplyColourPrintPalette(entries);
        else
            ApplyMonoPrintPalette(entries);
        palette.SetEntries(entries);
    }
    CGraphModel model(doc);
    const QString path = QString::fromStdString(*out);
    const bool legend = o.Has("--legend");
    const bool written =
        format == Format::kPdf
            ? WritePdf(path, QSize(width, height), model, palette, legend)
            : RenderGraphImage(QSize(width, height), model, palette, ProgramFont(), legend, scale)
                  .save(path, "PNG");
    if (!written) {
        std::cerr << "saroko-cli render: cannot write " << *out << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace
} // namespace saroko::cli
#endif
