#include "ui/printing/Printing.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "core/channels/ChannelPalette.h"
#include "platform/QtSettingsStore.h"
#include "ui/base/DialogBase.h"
#include "ui/base/MessageSink.h"
#include "ui/graph/ZorvicView.h"
#include "ui/printing/PrintDialogs.h"
#include "ui/printing/PrintSetup.h"

namespace saroko::ui {
namespace {

constexpr std::size_t kDialogNameBytes = 13;
constexpr int kJobNameChars = 31;
constexpr int kListFontUnits = 14;
constexpr const char* kJobCannotStart =
    QT_TRANSLATE_NOOP("Printing", "印刷ジョブを開始できませんでした。");

// Invalidate, erase and update at once: the graph and its pane show the palette as it is.
void RepaintView(CZorvicView& view) {
    view.repaint();
    view.RefreshPane();
}

// A job that is not to be finished: what a printer can take back is taken back; a PDF that
// would hold only part of the list is removed.
void AbandonJob(QPrinter& printer, QPainter& painter) {
    const bool aborted = printer.abort();
    if (painter.isActive())
        painter.end();
    if (!aborted && printer.outputFormat() == QPrinter::PdfFormat &&
        !printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
}

} // namespace

PrinterMetrics MetricsOf(const QPrinter& p) {
    return {p.width(), p.height(), p.logicalDpiX(), p.logicalDpiY()};
}

ListPageSize ListPageOf(const QPrinter& p) {
    return ListPageSizeOf(p.widthMM(), p.heightMM());
}

bool PrintPicture(QPrinter& printer, const QImage& picture, const GraphPrintSettings& settings,
                  const PrinterMetrics& metrics, const std::function<void()>& cannotStart,
                  const QString& footer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (cannotStart)
            cannotStart();
        return false;
    }
    const GraphRect r = GraphPrintRect(settings, picture.width(), picture.height(), metrics);
    if (!r.IsEmpty())
        painter.drawImage(QRect(r.left, r.top, r.Width(), r.Height()), picture);
    DrawFooter(painter, QRect(0, 0, printer.width(), printer.height()), footer);
    return painter.end();
}

QImage GraphPrintPicture(const QSize& size, CZorvicDoc& doc, const CChannelPalette& palette,
                         bool colour) {
    CChannelPalette print;
    PaletteEntries entries = palette.Entries();
    if (colour)
        ApplyColourPrintPalette(entries);
    else
        ApplyMonoPrintPalette(entries);
    print.SetEntries(entries);
    CGraphModel model(doc);
    return RenderGraphImage(size, model, print, ProgramFont(), true);
}

int PrintListPages(QPrinter& printer, const CZorvicDoc& doc, PageRange range,
                   const ListPrintProgress& progress, const QString& footer) {
    const CQtCp932Codec codec;
    const ListPageSize size = ListPageOf(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return -1;
    CDataListPrint job(doc, codec, size.height);
    job.SkipPages(range.from - 1);
    const QFont font = ListPrintFont();
    bool failed = false, cancelled = false;
    int done = 0;
    for (int page = range.from; page <= range.to; ++page) {
        if (progress.page)
            progress.page(page, range.to);
        if (page > range.from && !printer.newPage()) {
            failed = true;
            break;
        }
        // The logical page in hundredths of an inch over the whole printable area.
        painter.setWindow(0, 0, size.width, size.height);
        painter.setViewport(0, 0, printer.width(), printer.height());
        DrawListPage(painter, job.NextPage(), font);
        DrawFooter(painter, QRect(0, 0, size.width, size.height), footer);
        ++done;
        if (progress.cancelled && progress.cancelled()) {
            cancelled = true;
            break;
        }
    }
    if (failed || cancelled) {
        AbandonJob(printer, painter);
        return 0;
    }
    return painter.end() ? done : 0;
}

QString SourcesFooterText(const std::vector<ReportSource>& sources) {
    if (sources.empty())
        return {};
    return QCoreApplication::translate("Printing", "元ﾌｧｲﾙ (SHA-256): %1")
        .arg(QString::fromStdString(SourcesFooter(sources)));
}

void DrawFooter(QPainter& p, const QRect& page, const QString& text) {
    if (text.isEmpty())
        return;
    // A fortieth of the page's height at most: the list keeps its rows, the graph its place.
    QFont font = ProgramFont();
    font.setPixelSize(std::max(1, std::min(page.height() / 110, page.width() / 80)));
    const QFontMetrics fm(font); // a pixel size: the same in the painter's units on every device
    p.save();
    p.setFont(font);
    const QRect box(page.left(), page.bottom() - fm.height() + 1,
                    fm.horizontalAdvance(text) + fm.averageCharWidth(), fm.height());
    p.fillRect(box, Qt::white);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    p.restore();
}

QString DialogFileName(const std::string& fileName) {
    return QString::fromStdString(CutToCp932Bytes(fileName, kDialogNameBytes));
}

bool PrinterSetup(CZorvicView& view, QWidget* parent) {
    CPrintSetup& setup = CPrintSetup::Of(view);
    return setup.RunSetup(parent, setup.ProposedPdf(view.Doc()));
}

QImage CaptureView(CZorvicView& view) {
    if (view.width() <= 0 || view.height() <= 0)
        return {};
    // The picture the window shows, pane included, rendered rather than read back from the
    // screen: no other window can lie over it.
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool PrintGraph(CZorvicView& view, bool colour, QWidget* parent,
                const std::vector<ReportSource>& sources) {
    CZorvicDoc& doc = view.Doc();
    CChannelPalette& palette = view.Palette();
    const PaletteEntries kept = palette.Entries();
    PaletteEntries print = kept;
    if (colour)
        ApplyColourPrintPalette(print);
    else
        ApplyMonoPrintPalette(print);
    palette.SetEntries(print);
    RepaintView(view);

    CPrintSetup& setup = CPrintSetup::Of(view);
    setup.SetPageLimits(1, 1);
    setup.Printer().setFromTo(1, 1);

    bool printed = false;
    CGraphPrintDlg dlg(DialogFileName(doc.m_szFileName), GraphPrintSettingsOf(doc), parent);
    dlg.SetPrinterSetup([&view, &dlg] { PrinterSetup(view, &dlg); });
    if (ExecDialog(dlg) == QDialog::Accepted) {
        StoreGraphPrintSettings(doc, dlg.Settings());
        RepaintView(view);
        const QImage picture = CaptureView(view);
        if (!setup.HasPrinter())
            PrinterSetup(view, parent);
        if (setup.HasPrinter() && !picture.isNull() && setup.ChooseJobFile(parent, doc)) {
            setup.Printer().setDocName(QString::fromStdString(doc.m_szFileName));
            printed = PrintPicture(
                setup.Printer(), picture, dlg.Settings(), setup.Metrics(),
                [parent] {
                    // A PDF in a folder that cannot be written, for example.
                    ShowFrameworkMessage(QCoreApplication::translate("Printing", kJobCannotStart),
                                         parent);
                },
                SourcesFooterText(sources));
        }
    }
    // Whatever happened, the screen gets its own colours back.
    palette.SetEntries(kept);
    RepaintView(view);
    return printed;
}

QFont ListPrintFont() {
    QFont font = ProgramFont();
    font.setPixelSize(kListFontUnits);
    return font;
}

void DrawListPage(QPainter& p, const ListPage& page, const QFont& font) {
    p.setFont(font);
    p.setPen(QPen(Qt::black, 1));
    for (const ListLine& l : page.lines)
        p.drawLine(l.x1, l.y1, l.x2, l.y2);
    constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
    for (const ListText& t : page.texts)
        p.drawText(QRect(t.x, t.y, 1000, kListRowPitch), kFlags, QString::fromStdString(t.text));
}

int PrintDataList(CZorvicView& view, QWidget* parent, const std::vector<ReportSource>& sources) {
    const CZorvicDoc& doc = view.Doc();
    CPrintSetup& setup = CPrintSetup::Of(view);
    QPrinter& printer = setup.Printer();
    setup.TakeDefaultPrinter();
    const CQtCp932Codec codec;

    PageRange range;
    auto countPages = [&] {
        const int pages = CDataListPrint(doc, codec, setup.ListPage().height).PageCount();
        if (pages > 0)
            setup.SetPageLimits(1, pages);
        range = setup.ChosenRange(pages);
        return pages;
    };
    CListPrintDlg dlg(DialogFileName(doc.m_szFileName), countPages, parent);
    dlg.SetPrinterSetup([&view, &dlg] { PrinterSetup(view, &dlg); });
    if (ExecDialog(dlg) != QDialog::Accepted || range.Empty())
        return 0;
    // With no printer installed the pages go to a PDF file, which the setup names.
    if (!setup.HasPrinter()) {
        if (!PrinterSetup(view, parent) || !setup.HasPrinter())
            return 0;
        if (countPages() == 0 || range.Empty())
            return 0;
    }
    if (!setup.ChooseJobFile(parent, doc))
        return 0;

    QWidget* main = parent ? parent->window() : nullptr;
    if (main)
        main->setEnabled(false);
    int done = 0;
    {
        CPrintProgressDlg progress(main);
        progress.show();
        printer.setDocName(QString::fromStdString(doc.m_szFileName).left(kJobNameChars));
        ListPrintProgress steps;
        steps.page = [&progress](int page, int last) {
            progress.ShowPage(page, last);
            QCoreApplication::processEvents();
        };
        steps.cancelled = [&progress] {
            QCoreApplication::processEvents();
            return progress.Cancelled();
        };
        done = PrintListPages(printer, doc, range, steps, SourcesFooterText(sources));
        if (done < 0) {
            ShowFrameworkMessage(QCoreApplication::translate("Printing", kJobCannotStart), main);
            done = 0;
        }
    }
    if (main)
        main->setEnabled(true);
    return done;
}

} // namespace saroko::ui
