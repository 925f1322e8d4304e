// The graph view on a screen of twice the pixel density (this program alone runs at
// QT_SCALE_FACTOR=2): the layers hold device pixels, and every logical pixel of the plot is a
// 2 x 2 block of the 100 % picture.
#include <gtest/gtest.h>

#include <QtGlobal>

#include "support/ViewRig.h"
#include "ui/graph/GraphPainter.h"

namespace saroko::test {
namespace {

// Before the program's QApplication is made.
const bool kScaled = [] {
    qputenv("QT_SCALE_FACTOR", "2");
    return true;
}();

using HiDpiTest = ViewRig;

TEST_F(HiDpiTest, PlotPixelsAreTheHundredPercentPixelsDoubled) {
    std::vector<uint16_t> codes;
    for (int i = 0; i < 5000; ++i) // several samples to a column: the trace's columns too
        codes.push_back(C(20.0 + (i % 50)));
    Fill(*doc.GetChannel(1), 1000000, 10, codes);
    OpenView(true);
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(view->devicePixelRatioF(), 2.0);
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
}

} // namespace
} // namespace saroko::test
