#include "ui/printing/PrintSetup.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/messages/StringTable.h"
#include "ui/base/MessageSink.h"
#include "ui/graph/ZorvicView.h"
#include "ui/printing/Printing.h"

namespace saroko::ui {
namespace {

constexpr const char* kSetupName = "saroko-print-setup";

CPrintSetup::DialogHook& Hook() {
    static CPrintSetup::DialogHook hook;
    return hook;
}

CPrintSetup::FileHook& FileQuestionHook() {
    static CPrintSetup::FileHook hook;
    return hook;
}

// The file question of a job into a PDF; the replace question is ours, asked afterwards.
QString AskPdfFile(QWidget* parent, const QString& proposed) {
    if (FileQuestionHook())
        return FileQuestionHook()(proposed);
    QFileDialog dlg(parent, QCoreApplication::translate("Printing", "印刷結果を名前を付けて保存"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.setNameFilters({QCoreApplication::translate("Printing", "PDF ファイル (*.pdf)")});
    dlg.setDefaultSuffix(QStringLiteral("pdf"));
    dlg.setDirectory(QFileInfo(proposed).absolutePath());
    dlg.selectFile(QFileInfo(proposed).fileName());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

// What the print dialog may change, kept to put back when the user cancels.
struct SavedPrinter {
    explicit SavedPrinter(const QPrinter& p)
        : format(p.outputFormat()), name(p.printerName()), file(p.outputFileName()),
          layout(p.pageLayout()), range(p.printRange()), from(p.fromPage()), to(p.toPage()),
          copies(p.copyCount()), colour(p.colorMode()), duplex(p.duplex()) {}
    void Restore(QPrinter& p) const {
        p.setOutputFormat(format);
        if (format == QPrinter::NativeFormat)
            p.setPrinterName(name);
        p.setOutputFileName(file);
        p.setPageLayout(layout);
        p.setPrintRange(range);
        p.setFromTo(from, to);
        p.setCopyCount(copies);
        p.setColorMode(colour);
        p.setDuplex(duplex);
    }
    QPrinter::OutputFormat format;
    QString name;
    QString file;
    QPageLayout layout;
    QPrinter::PrintRange range;
    int from;
    int to;
    int copies;
    QPrinter::ColorMode colour;
    QPrinter::DuplexMode duplex;
};

} // namespace

CPrintSetup::CPrintSetup(QObject* parent)
    : QObject(parent), m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QString::fromLatin1(kSetupName));
}

CPrintSetup::~CPrintSetup() = default;

CPrintSetup& CPrintSetup::Of(CZorvicView& view) {
    if (auto* setup = view.findChild<CPrintSetup*>(QString::fromLatin1(kSetupName),
                                                   Qt::FindDirectChildrenOnly))
        return *setup;
    return *new CPrintSetup(&view);
}

bool CPrintSetup::HasPrinter() const {
    if (m_pPrinter->outputFormat() == QPrinter::PdfFormat)
        return !m_pPrinter->outputFileName().isEmpty();
    return m_pPrinter->isValid() && !m_pPrinter->printerName().isEmpty();
}

void CPrintSetup::TakeDefaultPrinter() {
    if (HasPrinter())
        return;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
        m_pPrinter->setOutputFormat(QPrinter::NativeFormat);
        m_pPrinter->setPrinterName(info.printerName());
    }
}

void CPrintSetup::SetPageLimits(int first, int last) {
    m_nMinPage = first;
    m_nMaxPage = last;
}

PageRange CPrintSetup::ChosenRange(int pageCount) const {
    const bool chosen = m_pPrinter->printRange() == QPrinter::PageRange;
    return ResolvePageRange(pageCount, chosen, m_pPrinter->fromPage(), m_pPrinter->toPage());
}

bool CPrintSetup::RunSetup(QWidget* parent, const QString& pdfName) {
    QPrinter& p = *m_pPrinter;
    const SavedPrinter saved(p);
    // With no printer installed the dialog prints to a file: offer one beside the data.
    if (!HasPrinter() && p.outputFileName().isEmpty() &&
        QPrinterInfo::availablePrinters().isEmpty()) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdfName.isEmpty() ? QDir::home().filePath(QStringLiteral("Saroko.pdf"))
                                              : pdfName);
    }
    bool ok = false;
    if (Hook()) {
        ok = Hook()(p, m_nMinPage, m_nMaxPage);
    } else {
        QPrintDialog dlg(&p, parent);
        dlg.setMinMax(m_nMinPage, m_nMaxPage);
        dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
        dlg.setOption(QAbstractPrintDialog::PrintPageRange, m_nMaxPage > m_nMinPage);
        dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
        dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        ok = dlg.exec() == QDialog::Accepted;
    }
    if (!ok)
        saved.Restore(p);
    return ok;
}

QString CPrintSetup::ProposedPdf(const CZorvicDoc& doc) const {
    QString folder;
    if (!m_pPrinter->outputFileName().isEmpty())
        folder = QFileInfo(m_pPrinter->outputFileName()).absolutePath();
    else if (doc.m_szPathName != "Untitled")
        folder = QFileInfo(QString::fromStdString(doc.m_szPathName)).absolutePath();
    else
        folder = QDir::homePath();
    return QString::fromStdString(
        FreshPdfName(folder.toStdString(), doc.m_szFileName, [](const std::string& f) {
            return QFileInfo::exists(QString::fromStdString(f));
        }));
}

bool CPrintSetup::ChooseJobFile(QWidget* parent, const CZorvicDoc& doc) {
    if (m_pPrinter->outputFormat() != QPrinter::PdfFormat)
        return true;
    QString proposed = ProposedPdf(doc);
    for (;;) {
        const QString file = AskPdfFile(parent, proposed);
        if (file.isEmpty())
            return false;
        // No: the file question again, with the name the user gave.
        if (QFileInfo::exists(file) &&
            !AskFrameworkQuestion(
                QCoreApplication::translate("Printing", "%1 は既に存在します。\n上書きしますか?")
                    .arg(QFileInfo(file).fileName()),
                parent)) {
            proposed = file;
            continue;
        }
        m_pPrinter->setOutputFileName(file);
        return true;
    }
}

PrinterMetrics CPrintSetup::Metrics() const {
    return MetricsOf(*m_pPrinter);
}

ListPageSize CPrintSetup::ListPage() const {
    return ListPageOf(*m_pPrinter);
}

void CPrintSetup::SetDialogHook(DialogHook hook) {
    Hook() = std::move(hook);
}

void CPrintSetup::SetFileHook(FileHook hook) {
    FileQuestionHook() = std::move(hook);
}

} // namespace saroko::ui
