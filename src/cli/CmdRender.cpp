// saroko-cli render: the graph view's picture of a set of files, written as PNG or as a PDF
// page through the same painting code as the window.
#ifdef SAROKO_CLI_HAS_GUI
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <iostream>

#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/channels/ChannelPalette.h"
#include "core/graph/GraphModel.h"
#include "ui/graph/GraphPainter.h"

namespace saroko::cli {

extern const char kRenderUsage[] =
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

namespace {

constexpr double kPointsPerPixel = 0.75; // a 96 dpi screen pixel on the PDF page

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

} // namespace

void DeclareRender(CVerbOptions& o) {
    o.AddSize();
    o.AddScale();
    o.AddWindow();
    o.AddValue("print");
    o.AddFlag("legend");
    o.AddOutput();
}

int RunRender(const CVerbOptions& o) {
    if (o.Files().empty())
        return o.Fail("no file given");
    const std::string& out = o.Output();
    if (out.empty())
        return o.Fail("no output file given (-o OUT.png)");
    const bool pdf = HasExtension(out, "pdf");
    if (!pdf && !HasExtension(out, "png"))
        return o.Fail("-o wants a .png or a .pdf file");
    bool colourPrint = false, monoPrint = false;
    if (const auto m = o.Value("print")) {
        colourPrint = *m == "colour" || *m == "color";
        monoPrint = *m == "mono";
        if (!colourPrint && !monoPrint)
            return o.Fail("--print wants colour or mono");
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        std::cerr << "saroko-cli render: no graphics support in this build\n";
        return kExitFailed;
    }

    auto session = OpenSession();
    if (!LoadFiles(*session, o.Files()))
        return kExitFailed;
    CZorvicDoc& doc = *session->doc;
    GraphRange& r = *doc.GetRange();
    if (!o.ApplyWindow(r))
        return kExitUsage;
    // The view cannot show a window of no time.
    if (r.viewEnd == r.viewStart)
        return o.Fail("the time window ends before it starts");

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
    const QString path = QString::fromStdString(out);
    const bool legend = o.Has("legend");
    const QSize size(o.Size().width, o.Size().height);
    const bool written =
        pdf ? WritePdf(path, size, model, palette, legend)
            : SaveGraphPng(RenderGraphImage(size, model, palette, ProgramFont(), legend, o.Scale()),
                           path);
    if (!written) {
        std::cerr << "saroko-cli render: cannot write " << out << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace saroko::cli
#endif
