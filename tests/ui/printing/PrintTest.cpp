// The graph print and the data list printed into PDF files, the printer setup, and the data list
// window.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>

#include "core/document/CommandState.h"
#include "platform/Translations.h"
#include "support/ViewRig.h"
#include "ui/base/MessageSink.h"
#include "ui/printing/DataListDlg.h"
#include "ui/printing/PrintDialogs.h"
#include "ui/printing/PrintSetup.h"
#include "ui/printing/Printing.h"
#include "ui/printing/PrintingCommands.h"
#include "ui/printing/ReportDlg.h"
#include <cstring>

namespace saroko::test {
namespace {

using ui::CDataListDlg;
using ui::CGraphPrintDlg;
using ui::CListPrintDlg;

// Two 1 s channels of 100 samples in a shown view, its printer a PDF file on A4 without
// margins, and the dialogs and questions answered by the test.
class PrintTest : public ViewRig {
protected:
    static constexpr uint32_t kT0 = 1200000000;

    void SetUp() override {
        ViewRig::SetUp();
        std::vector<uint16_t> a, b;
        for (int i = 0; i < 100; ++i) {
            a.push_back(C(20.0 + (i % 30) * 0.5));
            b.push_back(C(-5.0 + (i % 17)));
        }
        Fill(*doc.GetChannel(1), kT0, 1, a, "ROOM");
        Fill(*doc.GetChannel(2), kT0, 1, b, "OUTSIDE");
        OpenView(true);
        pdf = QString::fromStdString(Path("out.pdf"));
        QPrinter& p = PrintSetup().Printer();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        p.setPrintRange(QPrinter::AllPages);
        p.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        ui::SetFrameworkMessageHandler([this](const QString& t) { frameworkMessages << t; });
        // Each job into a PDF asks for its file: the next of `pdfAnswers`, else `pdf`.
        ui::CPrintSetup::SetFileHook([this](const QString& proposed) {
            proposals << proposed;
            return pdfAnswers.isEmpty() ? pdf : pdfAnswers.takeFirst();
        });
        ui::SetFrameworkQuestionHandler([this](const QString& t) {
            questions << t;
            return replaceAnswer;
        });
        ui::CPrintSetup::SetDialogHook([this](QPrinter& p, int lo, int hi) {
            ++setupRuns;
            setupLimits = {lo, hi};
            return setupAnswer ? setupAnswer(p) : false;
        });
    }
    void TearDown() override {
        ui::SetDialogRunner({});
        ui::CPrintSetup::SetDialogHook({});
        ui::CPrintSetup::SetFileHook({});
        ui::SetFrameworkQuestionHandler({});
        ui::SetFrameworkMessageHandler({});
        ViewRig::TearDown();
    }

    ui::CPrintSetup& PrintSetup() { return ui::CPrintSetup::Of(*view); }
    bool Run(int command) { return ui::RunPrintingCommand(command, *view, view.get()); }

    // Answers the next modal dialogs in turn: each gets the dialog and returns its result.
    void Answer(std::vector<std::function<int(QDialog&)>> answers) {
        auto queue =
            std::make_shared<std::vector<std::function<int(QDialog&)>>>(std::move(answers));
        ui::SetDialogRunner([this, queue](QDialog& dlg) {
            if (queue->empty())
                return static_cast<int>(QDialog::Rejected);
            auto next = queue->front();
            queue->erase(queue->begin());
            return next(dlg);
        });
    }
    static int Click(QDialog& dlg, int id) {
        auto* b = dlg.findChild<QAbstractButton*>(QString::number(id));
        EXPECT_NE(b, nullptr) << id;
        if (b)
            b->click();
        return dlg.result();
    }
    static std::function<int(QDialog&)> Ok() {
        return [](QDialog& dlg) { return Click(dlg, ui::kIdOk); };
    }
    // Picks the graph print's method, then OK.
    static std::function<int(QDialog&)> Choose(int method) {
        return [=](QDialog& dlg) {
            Click(dlg, CGraphPrintDlg::kIdMethodFit + method);
            return Click(dlg, ui::kIdOk);
        };
    }
    static QLineEdit* Scale(QDialog& dlg, int id) {
        return dlg.findChild<QLineEdit*>(QString::number(id));
    }
    static QString Pages(QDialog& dlg) {
        return static_cast<ui::CPrintDialogBase&>(dlg)
            .GetDlgItem(CListPrintDlg::kIdPages)
            ->property("text")
            .toString();
    }

    static int PdfPages(const QString& file) {
#ifdef SAROKO_PDFINFO
        QProcess p;
        p.start(QStringLiteral(SAROKO_PDFINFO), {file});
        p.waitForFinished(10000);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
#else
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        return static_cast<int>(
            QString::fromLatin1(f.readAll())
                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
#endif
    }
    // Page `page` of a PDF as an image at `dpi`, null without the poppler tools.
    QImage PdfPage(const QString& file, int page, int dpi) const {
#ifdef SAROKO_PDFTOPPM
        const QString stem = QString::fromStdString(Path("page"));
        QProcess p;
        p.start(QStringLiteral(SAROKO_PDFTOPPM),
                {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                 QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                 QString::number(page), QStringLiteral("-singlefile"), file, stem});
        p.waitForFinished(20000);
        return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
#else
        (void)file, (void)page, (void)dpi;
        return {};
#endif
    }

    QString pdf;
    QStringList frameworkMessages;
    QStringList proposals;  // the files the jobs proposed
    QStringList pdfAnswers; // the files the user gives, in turn; empty for ｷｬﾝｾﾙ
    QStringList questions;  // the replace questions
    bool replaceAnswer = true;
    int setupRuns = 0;
    std::pair<int, int> setupLimits;
    std::function<bool(QPrinter&)> setupAnswer;
};

TEST_F(PrintTest, ColourPrintIsOnePageInPrintColours) {
    const PaletteEntries screen = view->Palette().Entries();
    PaletteEntries expected = screen;
    ApplyColourPrintPalette(expected);
    Answer({[&](QDialog& dlg) {
        EXPECT_EQ(view->Palette().Entries(), expected);
        return Choose(kPrintFillPaper)(dlg);
    }});
    EXPECT_TRUE(Run(cmd::kPrintColour));
    EXPECT_EQ(view->Palette().Entries(), screen);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_EQ(store.GetInt("Print Graph Section", "PrintMethod", -1), kPrintFillPaper);
}

TEST_F(PrintTest, MonochromePrintHasNoColour) {
    Answer({Choose(kPrintFitPaper)});
    EXPECT_TRUE(Run(cmd::kPrintMono));
    ASSERT_EQ(PdfPages(pdf), 1);
    const QImage page = PdfPage(pdf, 1, 40);
    if (page.isNull())
        GTEST_SKIP() << "no pdftoppm";
    // The traces and texts are there, in black.
    int coloured = 0, dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            coloured += std::abs(qRed(c) - qGreen(c)) > 40 || std::abs(qGreen(c) - qBlue(c)) > 40;
            dark += qGray(c) < 64;
        }
    EXPECT_EQ(std::pair(coloured, dark > 100), std::pair(0, true));
}

TEST_F(PrintTest, ScalesAreWholeNumbers) {
    Answer({[](QDialog& dlg) {
        Scale(dlg, CGraphPrintDlg::kIdVertical)->setText(QStringLiteral("4294967296"));
        Click(dlg, ui::kIdOk);
        EXPECT_EQ(dlg.result(), QDialog::Rejected); // still open
        EXPECT_EQ(dlg.focusWidget(), Scale(dlg, CGraphPrintDlg::kIdVertical));
        Scale(dlg, CGraphPrintDlg::kIdHorizontal)->setText(QStringLiteral("2"));
        Scale(dlg, CGraphPrintDlg::kIdVertical)->setText(QStringLiteral("3"));
        return Choose(kPrintScale)(dlg);
    }});
    Run(cmd::kPrintColour);
    EXPECT_EQ(frameworkMessages, QStringList{QString::fromUtf8("正の整数を入力してください。")});
    EXPECT_EQ(std::tuple(doc.m_nPrintMethod, doc.m_nHorizontalScale, doc.m_nVerticalScale),
              std::tuple(2u, 2u, 3u));
    EXPECT_EQ(PdfPages(pdf), 1);
}

TEST_F(PrintTest, PrinterSetupAndCancel) {
    // Cancelled, from the command or the dialog's button: the printer chosen before stays.
    setupAnswer = [](QPrinter& p) {
        p.setOutputFileName(QStringLiteral("/tmp/elsewhere.pdf"));
        p.setPageOrientation(QPageLayout::Landscape);
        return false;
    };
    EXPECT_TRUE(Run(cmd::kPrintSetup));
    EXPECT_EQ(setupRuns, 1);
    EXPECT_EQ(PrintSetup().Printer().outputFileName(), pdf);
    EXPECT_EQ(PrintSetup().Printer().pageLayout().orientation(), QPageLayout::Portrait);
    // The dialog cancelled after a new method: nothing printed or stored, the colours back.
    const PaletteEntries screen = view->Palette().Entries();
    Answer({[](QDialog& dlg) {
        Click(dlg, ui::kIdPrinterSetup);
        Click(dlg, CGraphPrintDlg::kIdMethodFit + kPrintFillPaper);
        return Click(dlg, ui::kIdCancel);
    }});
    EXPECT_TRUE(Run(cmd::kPrintColour));
    EXPECT_EQ(setupRuns, 2);
    EXPECT_EQ(PrintSetup().Printer().outputFileName(), pdf);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_EQ(view->Palette().Entries(), screen);
    EXPECT_EQ(store.GetInt("Print Graph Section", "PrintMethod", -1), -1);

    // Without a printer the setup is asked; given none, nothing is printed.
    PrintSetup().Printer().setOutputFileName(QString());
    Answer({Choose(kPrintFitPaper)});
    Run(cmd::kPrintColour);
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
    Run(cmd::kPrintColour);
    EXPECT_EQ(setupRuns, 4);
    EXPECT_EQ(PdfPages(pdf), 1);
}

TEST_F(PrintTest, EachPdfJobAsksForAFileOfItsOwn) {
    doc.SetPathName(Path("run.klg"));
    ui::CPrintSetup::SetFileHook([this](const QString& proposed) {
        proposals << proposed;
        return proposed; // the user takes the name offered
    });
    // The names are the core's; here each job takes the next one.
    Answer({Choose(kPrintFitPaper), Ok()});
    EXPECT_TRUE(ui::PrintGraph(*view, true, view.get()));
    EXPECT_EQ(ui::PrintDataList(*view, view.get()), 3);
    const QString dir = QFileInfo(pdf).absolutePath() + QStringLiteral("/run");
    ASSERT_EQ(proposals, (QStringList{dir + ".pdf", dir + "-2.pdf"}));
    EXPECT_EQ(PdfPages(proposals[0]), 1);
    EXPECT_EQ(PdfPages(proposals[1]), 3);
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "not the file of the setup";
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(PrintTest, ReplacingAPdfIsAskedFirst) {
    Answer({Choose(kPrintFitPaper)});
    ASSERT_TRUE(ui::PrintGraph(*view, true, view.get()));
    const std::string colour = ReadAll(pdf.toStdString());

    // No: the file question comes back with that name; ｷｬﾝｾﾙ there prints nothing.
    replaceAnswer = false;
    pdfAnswers = {pdf, QString()};
    Answer({Choose(kPrintFitPaper)});
    EXPECT_FALSE(ui::PrintGraph(*view, false, view.get()));
    EXPECT_EQ(questions,
              QStringList{QString::fromUtf8("out.pdf は既に存在します。\n上書きしますか?")});
    ASSERT_EQ(proposals.size(), 3);
    EXPECT_EQ(proposals[2], pdf);
    EXPECT_EQ(ReadAll(pdf.toStdString()), colour);

    replaceAnswer = true;
    Answer({Choose(kPrintFitPaper)});
    EXPECT_TRUE(ui::PrintGraph(*view, false, view.get()));
    EXPECT_NE(ReadAll(pdf.toStdString()), colour);
}

// The report dialog's own limits per channel: an empty cell takes the common limit, a bad cell
// keeps the dialog open naming its channel, and a channel not in the file keeps what it had.
TEST_F(PrintTest, ReportDialogTakesEachChannelsLimits) {
    ReportDialogSettings remembered;
    remembered.useLow = true;
    remembered.low = 2;
    remembered.channelLimits = {{1, {}, 9.0}, {5, 1.0, 3.0}};
    // clang-format off
    const struct { const char* low1; const char* high1; const char* low2; const char* high2; const char* message; std::vector<ChannelLimits> own; } cases[] = {
        {"", "9", "", "", "", {{5, 1.0, 3.0}, {1, {}, 9.0}}},
        {"", "", "-1.5", "30", "", {{5, 1.0, 3.0}, {2, -1.5, 30.0}}},
        {"", "", "4", "4", "", {{5, 1.0, 3.0}, {2, 4.0, 4.0}}},
        {"", "", "4.1", "4", "Ch.2 の下限が上限を超えています。", {}},
        {"", "cold", "", "", "Ch.1 の限度に数値を入力してください。", {}},
        {"", "1.9", "", "", "Ch.1 の下限が上限を超えています。", {}}, // below the common low
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.low1) + ":" + c.high1 + " " + c.low2 + ":" + c.high2);
        ui::CReportDlg dlg(kT0, kT0 + 99, remembered, {{1, "ROOM"}, {2, "OUTSIDE"}});
        auto* table = dlg.findChild<QTableWidget*>();
        ASSERT_TRUE(table);
        EXPECT_EQ(table->item(0, 3)->text(), "9");
        for (const auto& [row, column, text] :
             {std::tuple{0, 2, c.low1}, {0, 3, c.high1}, {1, 2, c.low2}, {1, 3, c.high2}})
            table->setItem(row, column, new QTableWidgetItem(QString::fromUtf8(text)));
        frameworkMessages.clear();
        dlg.accept();
        if (*c.message) {
            EXPECT_EQ(frameworkMessages, QStringList{QString::fromUtf8(c.message)});
            EXPECT_NE(dlg.result(), QDialog::Accepted);
            continue;
        }
        EXPECT_TRUE(frameworkMessages.isEmpty()) << frameworkMessages.join('|').toStdString();
        EXPECT_EQ(dlg.Options().channelLimits, c.own);
        EXPECT_EQ(dlg.Settings().channelLimits, c.own);
        EXPECT_EQ(dlg.Options().low, 2.0);
    }
}

// The limit columns hold "-25.5" with the unit, which their headings and the common limits
// name; the last column is no narrower for stretching.
TEST_F(PrintTest, ReportDialogsLimitColumnsHoldANegativeLimitWithItsUnit) {
    const QString unit = QString::fromUtf8("ﾟC");
    ui::CReportDlg dlg(kT0, kT0 + 99, {}, {{1, "ROOM"}, {2, "OUTSIDE"}}, unit);
    dlg.show();
    QTableWidget& table = *dlg.ChannelTable();
    const int text = table.fontMetrics().horizontalAdvance(QStringLiteral("-25.5 ") + unit);
    for (const int column : {2, 3}) {
        EXPECT_GT(table.columnWidth(column), text) << column;
        EXPECT_TRUE(table.horizontalHeaderItem(column)->text().endsWith(QStringLiteral("(ﾟC)")));
    }
    EXPECT_GE(table.viewport()->width(), table.horizontalHeader()->length());
    QStringList boxes;
    for (const QCheckBox* box : dlg.findChildren<QCheckBox*>())
        boxes << box->text();
    EXPECT_EQ(boxes, (QStringList{QString::fromUtf8("下限 (ﾟC)"), QString::fromUtf8("上限 (ﾟC)")}));
}

TEST_F(PrintTest, JobThatCannotStartSaysSo) {
    const QString nowhere = QString::fromStdString(Path("no/such/folder/x.pdf"));
    PrintSetup().Printer().setOutputFileName(nowhere);
    pdfAnswers = {nowhere, nowhere};
    Answer({Choose(kPrintFitPaper), Ok()});
    EXPECT_FALSE(ui::PrintGraph(*view, true, view.get()));
    EXPECT_EQ(ui::PrintDataList(*view, view.get()), 0);
    EXPECT_EQ(frameworkMessages,
              QStringList(2, QString::fromUtf8("印刷ジョブを開始できませんでした。")));
    EXPECT_TRUE(view->isEnabled());
}

TEST_F(PrintTest, ListPagesCountedInTheDialogAndPrinted) {
    setupAnswer = [](QPrinter& p) {
        // The 100 rows need 3 pages on A4; A6 holds 23 rows a page, so 5.
        p.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        return true;
    };
    Answer({[this](QDialog& dlg) {
        EXPECT_EQ(Pages(dlg), QStringLiteral("3"));
        Click(dlg, ui::kIdPrinterSetup);
        EXPECT_EQ(setupLimits, std::make_pair(1, 3));
        EXPECT_EQ(Pages(dlg), QStringLiteral("5"));
        return Click(dlg, ui::kIdOk);
    }});
    EXPECT_TRUE(Run(cmd::kPrintDataList));
    EXPECT_EQ(PdfPages(pdf), 5);

    // A chosen range, clamped to the pages there are.
    PrintSetup().Printer().setPrintRange(QPrinter::PageRange);
    PrintSetup().Printer().setFromTo(2, 9);
    Answer({Ok()});
    Run(cmd::kPrintDataList);
    EXPECT_EQ(PdfPages(pdf), 4);

    // A window without rows: no pages, nothing printed.
    QFile::remove(pdf);
    doc.GetRange()->viewStart = kT0 + 1000;
    doc.GetRange()->viewEnd = kT0 + 2000;
    Answer({[](QDialog& dlg) {
        EXPECT_EQ(Pages(dlg), QStringLiteral("0"));
        return Click(dlg, ui::kIdOk);
    }});
    EXPECT_EQ(ui::PrintDataList(*view, view.get()), 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

TEST_F(PrintTest, CancelInTheListsProgressBoxAbandonsTheJob) {
    Answer({Ok()});
    // The box's button, pressed as soon as the box lets events through.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<ui::CPrintProgressDlg*>(w)) {
                EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("204"))->text(),
                          QString::fromUtf8("現在、1/3 ﾍﾟｰｼﾞ目を印刷中です。"));
                QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("2")),
                                  Qt::LeftButton);
            }
    });
    EXPECT_EQ(ui::PrintDataList(*view, view.get()), 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(view->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

class DataListWindowTest : public PrintTest {
protected:
    void SetUp() override {
        PrintTest::SetUp();
        // Six channels every 10 s for 50 minutes, each 1 s after the one before, then a second
        // recording on channel 7 an hour later.
        doc.ClearAllChannels();
        for (int n = 1; n <= 6; ++n)
            Fill(*doc.GetChannel(n), kT0 + static_cast<uint32_t>(n - 1), 10,
                 std::vector<uint16_t>(300, C(20.0 + n)));
        Fill(*doc.GetChannel(7), kT0 + 6600, 10, std::vector<uint16_t>(60, C(30.0)));
        doc.RecalcRanges(RecalcMode::NewData);
        doc.GetRange()->viewStart = kT0;
        doc.GetRange()->viewEnd = kT0 + 600;
        view->RefreshGraph();
    }
    // Paints the list, which reports its span to the view.
    static void Paint(CDataListDlg& dlg) {
        dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        dlg.Table()->repaint();
        QApplication::processEvents();
    }
};

TEST_F(DataListWindowTest, OpensOnTheShownWindowAndMarksIt) {
    bool checked = false;
    Answer({[&](QDialog& d) {
        auto& dlg = static_cast<CDataListDlg&>(d);
        EXPECT_TRUE(view->ListMarkOpen());
        EXPECT_EQ(std::pair(dlg.Window().Start(), dlg.Window().End()), std::pair(kT0, kT0 + 90));
        // Which rows are the core's: 55 of them, to 90 s.
        EXPECT_EQ(dlg.Rows().size(), 55u);
        EXPECT_EQ(dlg.Rows().at(54).time, ListTimeText(kT0 + 90));
        checked = true;
        return Click(dlg, CDataListDlg::kIdClose);
    }});
    EXPECT_TRUE(Run(cmd::kDataList));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(view->ListMarkOpen());
}

TEST_F(DataListWindowTest, ScrollBarMovesTheWindow) {
    CDataListDlg dlg(*view, view.get());
    QScrollBar* bar = dlg.ScrollBar();

    // Where each move leads is the core's; here each action reaches its move.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(dlg.Rows().front().time, ListTimeText(kT0 + 50));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 150);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 50);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dlg.Window().Start(), kT0);

    // Page Up/Down on the dialog; the wheel over the rows, the head or the bar, a line step
    // a notch, towards the user down.
    QTest::keyClick(&dlg, Qt::Key_PageDown);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 100);
    QTest::keyClick(&dlg, Qt::Key_PageUp);
    EXPECT_EQ(dlg.Window().Start(), kT0);
    const auto wheel = [](QWidget* w, int delta) {
        QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    };
    wheel(dlg.RowArea()->viewport(), -240);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 100);
    wheel(dlg.Table(), 120);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 50);
    wheel(bar, 60); // half a notch waits for the other half
    EXPECT_EQ(dlg.Window().Start(), kT0 + 50);
    wheel(bar, 60);
    EXPECT_EQ(dlg.Window().Start(), kT0);

    // Thumb dragged to the middle of the data and released: the gap between the recordings
    // leads to the second one's first sample.
    bar->setSliderDown(true);
    bar->setSliderPosition(70);
    EXPECT_EQ(dlg.Window().Start(), kT0); // nothing while it is held
    bar->setSliderDown(false);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 6600);

    // The graph follows the span the window reports.
    view->OpenListMark();
    Paint(dlg);
    EXPECT_LE(doc.GetRange()->viewStart, kT0 + 6600);
    EXPECT_GE(doc.GetRange()->viewEnd, kT0 + 6600 + 90);
    view->CloseListMark();
}

// The dialog is as wide as its table and as tall as the user makes it: the rows take the
// height given, down to the fewest rows it shows and up to every row a window can hold.
TEST_F(DataListWindowTest, TheRowsTakeTheHeightGiven) {
    CDataListDlg dlg(*view, view.get());
    Paint(dlg);
    QScrollArea& area = *dlg.RowArea();
    const int width = dlg.width();
    const auto lines = [&] {
        QApplication::processEvents();
        return area.viewport()->height();
    };
    dlg.resize(width + 300, dlg.height() + 200);
    const int taller = lines();
    EXPECT_EQ(dlg.width(), width) << "the width stays the table's";
    dlg.resize(width, 100);
    const int shortest = lines();
    EXPECT_LT(shortest, taller);
    // At its shortest, the area still holds the fewest rows shown and scrolls to the rest.
    const int pitch = QFontMetrics(area.widget()->font()).height() + 4;
    EXPECT_GE(shortest, CDataListDlg::kVisibleRows * pitch);
    EXPECT_LT(shortest, (CDataListDlg::kVisibleRows + 1) * pitch);
    EXPECT_TRUE(area.verticalScrollBar()->isVisible());
    // Taller than every row: the table fills the area, no bar is needed.
    dlg.resize(width, 5000);
    const int tallest = lines();
    EXPECT_GE(area.widget()->height(), tallest);
    EXPECT_FALSE(area.verticalScrollBar()->isVisible());
    const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
    if (!dir.isEmpty()) {
        dlg.resize(width, 900);
        QApplication::processEvents();
        dlg.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/data-list-tall.png"));
    }
}

// The columns are headed by the channels' names, as the printed list is; a picture of the
// window in each language when SAROKO_PICTURE_DIR names a folder.
TEST_F(DataListWindowTest, ColumnsAreHeadedByTheChannelNames) {
    std::memcpy(doc.GetChannel(1)->name, "OVENDOOR", 8);
    std::memcpy(doc.GetChannel(2)->name, "\x8c\xa7\x90\x85\x8e\xba\x31\x00", 8); // 県水室1
    for (const bool english : {false, true}) {
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        CDataListDlg dlg(*view, view.get());
        Paint(dlg);
        // The second line of the head holds Ch.1's "DOOR" in the channel's colour.
        const QImage head = dlg.Table()->grab().toImage();
        const int line = QFontMetrics(dlg.Table()->font()).height() + 4;
        const PaletteEntry& e = view->Palette().Entry(ChannelPaletteIndex(1));
        int inColour = 0;
        for (int y = 6 + line; y < 6 + 2 * line; ++y)
            for (int x = 0; x < head.width(); ++x)
                inColour += head.pixelColor(x, y) == QColor(e.red, e.green, e.blue);
        EXPECT_GT(inColour, 10) << english;
        const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
        if (!dir.isEmpty())
            dlg.grab().save(QString::fromLocal8Bit(dir) +
                            (english ? QStringLiteral("/data-list-en.png")
                                     : QStringLiteral("/data-list-ja.png")));
    }
    InstallTranslations(Language::kJapanese);
}

} // namespace
} // namespace saroko::test
