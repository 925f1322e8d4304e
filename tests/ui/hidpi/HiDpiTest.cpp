// The graph view on a screen of twice the pixel density (this program alone runs at
// QT_SCALE_FACTOR=2): the layers hold device pixels, every logical pixel of the plot is a 2 x 2
// block of the 100 % picture, and text is drawn at the finer pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "core/TestSupport.h"
#include "graph/GraphPainter.h"
#include "graph/ZorvicView.h"
#include "support/QtApp.h"

namespace saroko::test {
namespace {

// Before the program's QApplication is made.
const bool kScaled = [] {
    ::setenv("QT_SCALE_FACTOR", "2", 1);
    return true;
}();

class HiDpiTest : public DocTest {
protected:
    void SetUp() override {
        App();
        DocTest::SetUp();
        std::vector<uint16_t> codes;
        for (int i = 0; i < 500; ++i)
            codes.push_back(C(20.0 + (i % 50)));
        Fill(*doc.GetChannel(1), 1000000, 10, codes);
        doc.RecalcRanges(1);
        view = std::make_unique<CZorvicView>(doc);
        view->setGeometry(0, 0, 640, 480);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QApplication::processEvents();
        shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRgb Entry(int index) const {
        const PaletteEntry& e = view->Palette().Entry(index);
        return qRgb(e.red, e.green, e.blue);
    }

    std::unique_ptr<CZorvicView> view;
    QImage shown; // what the screen shows, in device pixels
};

TEST_F(HiDpiTest, PlotPixelsAreTheHundredPercentPixelsDoubled) {
    ASSERT_EQ(view->devicePixelRatioF(), 2.0);
    EXPECT_EQ(view->ScreenLayer().size(), QSize(1280, 960));
    ASSERT_EQ(shown.size(), QSize(1280, 960));
    CGraphModel m(doc);
    const QImage at100 = RenderGraphImage(QSize(640, 480), m, view->Palette(), view->ViewFont());

    const GraphRect& plot = view->Model().m_rcPlot;
    int mismatches = 0, trace = 0, grid = 0;
    for (int y = plot.top; y <= plot.bottom; ++y)
        for (int x = plot.left; x <= plot.right; ++x) {
            const QRgb want = at100.pixel(x, y);
            trace += want == Entry(0);
            grid += want == Entry(kPalGrid);
            for (int d = 0; d < 4; ++d)
                mismatches += shown.pixel(2 * x + d % 2, 2 * y + d / 2) != want;
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(trace, 500) << "the comparison covers the trace";
    EXPECT_GT(grid, 500) << "and the grid";
    // A grid column in particular: both device columns of the logical one, neither neighbour.
    const int x = view->Model().TimeTicks().front().x, y = plot.top + 2;
    ASSERT_EQ(at100.pixel(x, y), Entry(kPalGrid));
    EXPECT_EQ(shown.pixel(2 * x, 2 * y), Entry(kPalGrid));
    EXPECT_EQ(shown.pixel(2 * x + 1, 2 * y + 1), Entry(kPalGrid));
    EXPECT_EQ(shown.pixel(2 * x - 1, 2 * y), Entry(kPalPlot));
    EXPECT_EQ(shown.pixel(2 * x + 2, 2 * y), Entry(kPalPlot));
}

TEST_F(HiDpiTest, LabelsAreDrawnAtDevicePixels) {
    // A label scaled up from 100 % is made of uniform 2 x 2 blocks; one drawn at 200 % is not.
    const CGraphModel& m = view->Model();
    const TimeTick tick = m.TimeTicks().front();
    int fine = 0;
    for (int y = m.TimeLabelY(); y < m.TimeLabelY() + 2 * m.m_tm.height; ++y)
        for (int x = tick.labelX; x < tick.labelX + 8 * m.m_tm.aveCharWidth; ++x) {
            const QRgb c = shown.pixel(2 * x, 2 * y);
            fine += shown.pixel(2 * x + 1, 2 * y) != c || shown.pixel(2 * x, 2 * y + 1) != c ||
                    shown.pixel(2 * x + 1, 2 * y + 1) != c;
        }
    EXPECT_GT(fine, 20);
}

} // namespace
} // namespace saroko::test
