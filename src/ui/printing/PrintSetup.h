#pragma once
// The view's one printer for the whole run: the printer or PDF file chosen in the printer
// setup, its page limits and the range the user picked. Both prints draw on it.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "printing/DataList.h"
#include "printing/PrintLayout.h"

class QDialog;
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

    PrinterMetrics Metrics() const;
    // The data list's logical page for the printable area.
    ListPageSize ListPage() const;

    // Tests answer the print dialog: change the printer, return true for OK.
    using DialogHook = std::function<bool(QPrinter& printer, int minPage, int maxPage)>;
    static void SetDialogHook(DialogHook hook);

private:
    std::unique_ptr<QPrinter> m_pPrinter;
    int m_nMinPage = 1;
    int m_nMaxPage = 1;
};

// Text of the framework's own messages (not in the string table), over `parent`; tests
// replace the box to record the text.
void ShowFrameworkMessage(const QString& text, QWidget* parent);
void SetFrameworkMessageHook(std::function<void(const QString&)> hook);

// Runs a modal dialog of the printing commands; tests answer in place of the user.
int ExecDialog(QDialog& dialog);
void SetDialogRunner(std::function<int(QDialog&)> runner);

// Help requests of the print dialogs go to the frame, which opens the help at the topic.
void SetPrintingHelpRequest(std::function<void(int topic)> help);
void RequestPrintingHelp(int topic);

} // namespace ui
} // namespace saroko
