#pragma once
// The view's one printer for the whole run: the printer or PDF file chosen in the printer
// setup, its page limits and the range the user picked. Both prints draw on it.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "core/printing/DataList.h"
#include "core/printing/PrintLayout.h"

class QPrinter;
class QWidget;

namespace saroko {

class CZorvicView;

namespace ui {

class CPrintSetup : public QObject {
    Q_OBJECT
public:
    explicit CPrintSetup(QObject* parent = nullptr);
    ~CPrintSetup() override;

    // The view's setup object, made on first use; it lives as long as the view.
    static CPrintSetup& Of(CZorvicView& view);

    QPrinter& Printer() { return *m_pPrinter; }
    // A printer to print on: a named printer, or a PDF file to print into.
    bool HasPrinter() const;
    // With no printer chosen yet: the system's default printer, when there is one.
    void TakeDefaultPrinter();

    // The pages the print dialog offers.
    void SetPageLimits(int first, int last);
    // The range chosen in the print dialog, all pages unless the user picked some.
    PageRange ChosenRange(int pageCount) const;

    // The printer setup: the print dialog over `parent`; without OK the printer stays as it
    // was. `pdfName` is offered as the file when there is no printer to choose.
    bool RunSetup(QWidget* parent, const QString& pdfName = {});

    // The file a print into a PDF proposes: a fresh name from the document's name, in the
    // folder of the last PDF, else beside the document, else in the home folder.
    QString ProposedPdf(const CZorvicDoc& doc) const;
    // A job about to print into a PDF file asks for its own file, proposing a fresh name,
    // and asks before replacing a file that is there; false when the user gave none. A job
    // on a printer asks nothing.
    bool ChooseJobFile(QWidget* parent, const CZorvicDoc& doc);

    PrinterMetrics Metrics() const;
    // The data list's logical page for the printable area.
    ListPageSize ListPage() const;

    // Tests answer the print dialog: change the printer, return true for OK.
    using DialogHook = std::function<bool(QPrinter& printer, int minPage, int maxPage)>;
    static void SetDialogHook(DialogHook hook);
    // Tests answer the file question: the file chosen for `proposed`, empty for ｷｬﾝｾﾙ.
    using FileHook = std::function<QString(const QString& proposed)>;
    static void SetFileHook(FileHook hook);

private:
    std::unique_ptr<QPrinter> m_pPrinter;
    int m_nMinPage = 1;
    int m_nMaxPage = 1;
};

} // namespace ui
} // namespace saroko
