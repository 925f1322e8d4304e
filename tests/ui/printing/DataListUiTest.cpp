// The data list print into PDF files (pages, ranges, cancel, a job that cannot start) and
// the data list window (rows, scrolling, the span marked in the graph).
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include "document/CommandState.h"
#include "printing/DataListDlg.h"
#include "printing/PrintDialogs.h"
#include "printing/Printing.h"
#include "printing/PrintingCommands.h"
#include "ui/printing/PrintTestSupport.h"

namespace saroko::test {
namespace {

using ui::CDataListDlg;
using ui::CListPrintDlg;

class ListPrintUiTest : public PrintFixture {
protected:
    QString Label(QDialog& dlg, int id) const {
        return static_cast<ui::CPrintDialogBase&>(dlg).GetDlgItem(id)->property("text").toString();
    }
};

TEST_F(ListPrintUiTest, PagesCountedInTheDialogAndPrinted) {
    doc.SetPathName("/data/june.klg");
    setupAnswer = [](QPrinter& p) {
        // The 100 rows need 3 pages on A4; A6 holds 23 rows a page, so 5.
        p.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        return true;
    };
    Answer({[this](QDialog& dlg) {
        EXPECT_EQ(Label(dlg, CListPrintDlg::kIdPages), QStringLiteral("3"));
        EXPECT_EQ(Label(dlg, CListPrintDlg::kIdFileName), QStringLiteral("june.klg"));
        Click(dlg, ui::kIdPrinterSetup);
        EXPECT_EQ(setupLimits, std::make_pair(1, 3));
        EXPECT_EQ(Label(dlg, CListPrintDlg::kIdPages), QStringLiteral("5"));
        return Click(dlg, ui::kIdOk);
    }});
    EXPECT_TRUE(ui::RunPrintingCommand(cmd::kPrintDataList, *view, main.get()));
    EXPECT_EQ(PdfPages(pdf), 5);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(frameworkMessages.isEmpty());

    // A chosen range, clamped to the pages there are.
    PrintSetup().Printer().setPrintRange(QPrinter::PageRange);
    PrintSetup().Printer().setFromTo(2, 9);
    Answer({Ok()});
    ui::RunPrintingCommand(cmd::kPrintDataList, *view, main.get());
    EXPECT_EQ(PdfPages(pdf), 4);
}

TEST_F(ListPrintUiTest, CancelInTheProgressBoxAbandonsTheJob) {
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
    EXPECT_EQ(ui::PrintDataList(*view, main.get()), 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ListPrintUiTest, NoRowsPrintsNothing) {
    doc.GetRange()->viewStart = kT0 + 1000;
    doc.GetRange()->viewEnd = kT0 + 2000;
    Answer({[this](QDialog& dlg) {
        EXPECT_EQ(Label(dlg, CListPrintDlg::kIdPages), QStringLiteral("0"));
        return Click(dlg, ui::kIdOk);
    }});
    EXPECT_EQ(ui::PrintDataList(*view, main.get()), 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

class DataListWindowTest : public PrintFixture {
protected:
    void SetUp() override {
        PrintFixture::SetUp();
        // Six channels every 10 s for 50 minutes, each 1 s after the one before, then a second
        // recording on channel 7 an hour later.
        doc.ClearAllChannels();
        for (int n = 1; n <= 6; ++n)
            Fill(*doc.GetChannel(n), kT0 + static_cast<uint32_t>(n - 1), 10,
                 std::vector<uint16_t>(300, C(20.0 + n)));
        Fill(*doc.GetChannel(7), kT0 + 6600, 10, std::vector<uint16_t>(60, C(30.0)));
        doc.RecalcRanges(1);
        doc.GetRange()->viewStart = kT0;
        doc.GetRange()->viewEnd = kT0 + 600;
        view->RefreshGraph();
    }
    void Post() { QApplication::processEvents(); }
};

TEST_F(DataListWindowTest, OpensOnTheShownWindowAndMarksIt) {
    bool checked = false;
    Answer({[&](QDialog& d) {
        auto& dlg = static_cast<CDataListDlg&>(d);
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("データ一覧表示"));
        EXPECT_TRUE(view->ListMarkOpen());
        EXPECT_EQ(std::pair(dlg.Window().Start(), dlg.Window().End()), std::pair(kT0, kT0 + 90));
        // Which rows are the core's: 55 of them, to 90 s.
        EXPECT_EQ(dlg.Rows().size(), 55u);
        EXPECT_EQ(dlg.Rows().at(54).time, ListTimeText(kT0 + 90));
        const GraphRange& r = *doc.GetRange();
        EXPECT_EQ(dlg.ScrollBar()->value(),
                  int(100.0 * (kT0 - r.dataStart) / (r.dataEnd - r.dataStart)));

        // Each paint reports the span to the view, which marks it.
        dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        dlg.Table()->repaint();
        Post();
        const QImage mark = view->ListMarkLayer();
        EXPECT_FALSE(mark.isNull());
        const GraphRect& plot = view->Model().m_rcPlot;
        const int x1 = view->Model().TimeToX(kT0);
        EXPECT_EQ(mark.pixel(x1, (plot.top + plot.bottom) / 2), qRgb(0, 0, 0));

        // The painted rows, counted as bands of ink in the date column; the area scrolls to
        // the last of them.
        QScrollArea* area = dlg.RowArea();
        QWidget* rows = area->widget();
        const QImage picture = rows->grab().toImage();
        int bands = 0;
        bool inked = false;
        for (int y = 0; y < picture.height(); ++y) {
            bool ink = false;
            for (int x = 0; x < picture.width() / 5 && !ink; ++x)
                ink = qGray(picture.pixel(x, y)) < 128;
            bands += ink && !inked;
            inked = ink;
        }
        EXPECT_EQ(bands, 55);
        EXPECT_GE(area->verticalScrollBar()->maximum() + area->viewport()->height(),
                  rows->height());
        checked = true;
        return Click(dlg, CDataListDlg::kIdClose);
    }});
    EXPECT_TRUE(ui::RunPrintingCommand(cmd::kDataList, *view, main.get()));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(view->ListMarkOpen());
}

TEST_F(DataListWindowTest, ScrollBarMovesTheWindow) {
    CDataListDlg dlg(*view, main.get());
    QScrollBar* bar = dlg.ScrollBar();
    const uint32_t dataStart = doc.GetRange()->dataStart;
    const uint32_t dataEnd = doc.GetRange()->dataEnd;
    auto thumbOf = [&](uint32_t s) { return int(100.0 * (s - dataStart) / (dataEnd - dataStart)); };

    // Where each move leads is the core's; here each action reaches its move.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 50);
    EXPECT_EQ(dlg.Rows().front().time, ListTimeText(kT0 + 50));

    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 50);
    EXPECT_EQ(bar->value(), thumbOf(kT0 + 50));

    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dlg.Window().Start(), kT0);

    // Thumb dragged to the middle of the data and released: the gap between the recordings
    // leads to the second one's first sample.
    bar->setSliderDown(true);
    bar->setSliderPosition(70);
    EXPECT_EQ(dlg.Window().Start(), kT0); // nothing while it is held
    bar->setSliderDown(false);
    EXPECT_EQ(dlg.Window().Start(), kT0 + 6600);
    EXPECT_EQ(bar->value(), thumbOf(kT0 + 6600));

    // The graph follows the span the window reports.
    view->OpenListMark();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.Table()->repaint();
    Post();
    EXPECT_LE(doc.GetRange()->viewStart, kT0 + 6600);
    EXPECT_GE(doc.GetRange()->viewEnd, kT0 + 6600 + 90);
    view->CloseListMark();
}

} // namespace
} // namespace saroko::test
