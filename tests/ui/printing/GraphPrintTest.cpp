// The graph print: print colours on the screen while the dialog is open, the settings saved
// on OK only, one PDF page with the picture where its method puts it, the printer setup and
// the PDF files of the jobs.
#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "document/CommandState.h"
#include "printing/PrintDialogs.h"
#include "printing/Printing.h"
#include "printing/PrintingCommands.h"
#include "ui/printing/PrintTestSupport.h"

namespace saroko::test {
namespace {

using ui::CGraphPrintDlg;

class GraphPrintTest : public PrintFixture {
protected:
    // Picks the method in the dialog, then OK.
    static std::function<int(QDialog&)> Choose(int method) {
        return [=](QDialog& dlg) {
            Click(dlg, CGraphPrintDlg::kIdMethodFit + method);
            return Click(dlg, ui::kIdOk);
        };
    }
    static QLineEdit* Scale(QDialog& dlg, int id) {
        return dlg.findChild<QLineEdit*>(QString::number(id));
    }
};

TEST_F(GraphPrintTest, ColourPrintIsOnePageInPrintColours) {
    const PaletteEntries screen = view->Palette().Entries();
    PaletteEntries expected = screen;
    ApplyColourPrintPalette(expected);
    bool seenOnScreen = false;
    Answer({[&](QDialog& dlg) {
        // While the dialog is open the graph shows the print colours.
        EXPECT_EQ(view->Palette().Entries(), expected);
        const GraphRect& plot = view->Model().m_rcPlot;
        const QImage shown = view->grab().toImage();
        seenOnScreen = shown.pixel(plot.left + 2, plot.top + 2) == qRgb(231, 231, 231);
        return Choose(kPrintFillPaper)(dlg);
    }});
    EXPECT_TRUE(ui::RunPrintingCommand(cmd::kPrintColour, *view, main.get()));
    EXPECT_TRUE(seenOnScreen);
    EXPECT_EQ(view->Palette().Entries(), screen);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_EQ(store.GetInt("Print Graph Section", "PrintMethod", -1), 1);
    EXPECT_EQ(setupRuns, 0);

    // Filled to the paper: the plot's light grey reaches the bottom right of the page.
    const QImage page = PdfPage(pdf, 1, 30);
    if (!page.isNull()) {
        EXPECT_NE(page.pixel(page.width() - 3, page.height() - 3), qRgb(255, 255, 255));
    }
}

TEST_F(GraphPrintTest, MonochromePrintHasNoColour) {
    Answer({Choose(kPrintFitPaper)});
    EXPECT_TRUE(ui::RunPrintingCommand(cmd::kPrintMono, *view, main.get()));
    ASSERT_EQ(PdfPages(pdf), 1);
    const QImage page = PdfPage(pdf, 1, 40);
    if (page.isNull())
        GTEST_SKIP() << "no pdftoppm";
    // The traces and texts are there, in black, over the top of the page only: fitted to the
    // width of a portrait page, a 4:3 picture leaves the lower part empty.
    int coloured = 0, darkTop = 0, darkBottom = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            if (std::abs(qRed(c) - qGreen(c)) > 40 || std::abs(qGreen(c) - qBlue(c)) > 40)
                ++coloured;
            if (qGray(c) < 64)
                ++(y < page.height() * 3 / 5 ? darkTop : darkBottom);
        }
    EXPECT_EQ(coloured, 0);
    EXPECT_GT(darkTop, 100);
    EXPECT_EQ(darkBottom, 0);
}

TEST_F(GraphPrintTest, DialogShowsTheStoredSettingsAndCancelKeepsThem) {
    StoreGraphPrintSettings(doc, {kPrintScale, 5, 7});
    doc.SetPathName("/data/a-long-file-name.klg");
    const PaletteEntries screen = view->Palette().Entries();
    Answer({[](QDialog& dlg) {
        auto* d = static_cast<CGraphPrintDlg*>(&dlg);
        EXPECT_TRUE(static_cast<QRadioButton*>(d->GetDlgItem(1002))->isChecked());
        EXPECT_EQ(static_cast<QLineEdit*>(d->GetDlgItem(101))->text(), QStringLiteral("5"));
        EXPECT_EQ(static_cast<QLineEdit*>(d->GetDlgItem(102))->text(), QStringLiteral("7"));
        EXPECT_EQ(static_cast<QLabel*>(d->GetDlgItem(203))->text(),
                  QStringLiteral("a-long-file-n"));
        Click(dlg, CGraphPrintDlg::kIdMethodFit + kPrintFitPaper);
        return Click(dlg, ui::kIdCancel);
    }});
    EXPECT_TRUE(ui::RunPrintingCommand(cmd::kPrintMono, *view, main.get()));
    EXPECT_EQ(dialogsRun, 1);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_EQ(view->Palette().Entries(), screen);
    EXPECT_EQ(store.GetInt("Print Graph Section", "PrintMethod", -1), kPrintScale);
}

TEST_F(GraphPrintTest, ScalesAreWholeNumbers) {
    Answer({[](QDialog& dlg) {
        Scale(dlg, CGraphPrintDlg::kIdVertical)->setText(QStringLiteral("4294967296"));
        Click(dlg, ui::kIdOk);
        EXPECT_EQ(dlg.result(), QDialog::Rejected); // still open
        EXPECT_TRUE(Scale(dlg, CGraphPrintDlg::kIdVertical)->hasFocus() || !dlg.isActiveWindow());
        Scale(dlg, CGraphPrintDlg::kIdHorizontal)->setText(QStringLiteral("2"));
        Scale(dlg, CGraphPrintDlg::kIdVertical)->setText(QStringLiteral("3"));
        return Choose(kPrintScale)(dlg);
    }});
    ui::RunPrintingCommand(cmd::kPrintColour, *view, main.get());
    EXPECT_EQ(frameworkMessages, QStringList{QString::fromUtf8("正の整数を入力してください。")});
    EXPECT_EQ(std::tuple(doc.m_nPrintMethod, doc.m_nHorizontalScale, doc.m_nVerticalScale),
              std::tuple(2u, 2u, 3u));
    EXPECT_EQ(PdfPages(pdf), 1);
}

TEST_F(GraphPrintTest, PrinterSetup) {
    // Cancelled, from the command or the dialog's button: the printer chosen before stays.
    setupAnswer = [](QPrinter& p) {
        p.setOutputFileName(QStringLiteral("/tmp/elsewhere.pdf"));
        p.setPageOrientation(QPageLayout::Landscape);
        return false;
    };
    EXPECT_TRUE(ui::RunPrintingCommand(cmd::kPrintSetup, *view, main.get()));
    EXPECT_EQ(setupRuns, 1);
    EXPECT_EQ(PrintSetup().Printer().outputFileName(), pdf);
    EXPECT_EQ(PrintSetup().Printer().pageLayout().orientation(), QPageLayout::Portrait);
    Answer({[](QDialog& dlg) {
        Click(dlg, ui::kIdPrinterSetup);
        return Click(dlg, ui::kIdCancel);
    }});
    ui::RunPrintingCommand(cmd::kPrintColour, *view, main.get());
    EXPECT_EQ(setupRuns, 2);
    EXPECT_EQ(PrintSetup().Printer().outputFileName(), pdf);

    // Without a printer the setup is asked; given none, nothing is printed.
    PrintSetup().Printer().setOutputFileName(QString());
    Answer({Choose(kPrintFitPaper)});
    ui::RunPrintingCommand(cmd::kPrintColour, *view, main.get());
    EXPECT_EQ(setupRuns, 3);
    EXPECT_EQ(setupLimits, std::make_pair(1, 1));
    EXPECT_FALSE(QFileInfo::exists(pdf));
    // Now a PDF file is named in the setup: the page is printed there.
    setupAnswer = [this](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    };
    Answer({Choose(kPrintFitPaper)});
    ui::RunPrintingCommand(cmd::kPrintColour, *view, main.get());
    EXPECT_EQ(setupRuns, 4);
    EXPECT_EQ(PdfPages(pdf), 1);
}

TEST_F(GraphPrintTest, EachPdfJobAsksForAFileOfItsOwn) {
    doc.SetPathName(Path("run.klg"));
    ui::CPrintSetup::SetFileHook([this](const QString& proposed) {
        proposals << proposed;
        return proposed; // the user takes the name offered
    });
    // The names are the core's; here each job takes the next one.
    Answer({Choose(kPrintFitPaper), Ok()});
    EXPECT_TRUE(ui::PrintGraph(*view, true, main.get()));
    EXPECT_EQ(ui::PrintDataList(*view, main.get()), 3);
    const QString dir = QFileInfo(pdf).absolutePath() + QStringLiteral("/run");
    ASSERT_EQ(proposals, (QStringList{dir + ".pdf", dir + "-2.pdf"}));
    EXPECT_EQ(PdfPages(proposals[0]), 1);
    EXPECT_EQ(PdfPages(proposals[1]), 3);
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "not the file of the setup";
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(GraphPrintTest, ReplacingAPdfIsAskedFirst) {
    Answer({Choose(kPrintFitPaper)});
    ASSERT_TRUE(ui::PrintGraph(*view, true, main.get()));
    EXPECT_TRUE(questions.isEmpty());
    QFile first(pdf);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray colour = first.readAll();
    first.close();

    // No: the file question comes back with that name; ｷｬﾝｾﾙ there prints nothing.
    replaceAnswer = false;
    pdfAnswers = {pdf, QString()};
    Answer({Choose(kPrintFitPaper)});
    EXPECT_FALSE(ui::PrintGraph(*view, false, main.get()));
    EXPECT_EQ(questions,
              QStringList{QString::fromUtf8("out.pdf は既に存在します。\n上書きしますか?")});
    ASSERT_EQ(proposals.size(), 3);
    EXPECT_EQ(proposals[2], pdf);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), colour);
    first.close();

    replaceAnswer = true;
    Answer({Choose(kPrintFitPaper)});
    EXPECT_TRUE(ui::PrintGraph(*view, false, main.get()));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_NE(first.readAll(), colour);
}

TEST_F(GraphPrintTest, JobThatCannotStartSaysSo) {
    const QString nowhere = QString::fromStdString(Path("no/such/folder/x.pdf"));
    PrintSetup().Printer().setOutputFileName(nowhere);
    pdfAnswers = {nowhere, nowhere};
    Answer({Choose(kPrintFitPaper), Ok()});
    EXPECT_FALSE(ui::PrintGraph(*view, true, main.get()));
    EXPECT_EQ(ui::PrintDataList(*view, main.get()), 0);
    EXPECT_EQ(frameworkMessages,
              QStringList(2, QString::fromUtf8("印刷ジョブを開始できませんでした。")));
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(GraphPrintTest, CommandsWithoutDataDoNothing) {
    doc.ClearAllChannels();
    doc.RecalcRanges(1);
    Answer({});
    for (int id : {cmd::kPrintColour, cmd::kPrintMono, cmd::kPrintDataList, cmd::kDataList})
        EXPECT_TRUE(ui::RunPrintingCommand(id, *view, main.get())) << id;
    EXPECT_EQ(dialogsRun, 0);
    EXPECT_FALSE(ui::RunPrintingCommand(cmd::kCopy, *view, main.get()));
    EXPECT_FALSE(ui::RunPrintingCommand(cmd::kZoomIn, *view, main.get()));
}

} // namespace
} // namespace saroko::test
