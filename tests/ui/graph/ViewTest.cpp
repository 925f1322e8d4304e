// The graph view's layers on the offscreen platform: what each layer holds, cursor redraws
// from the cached graph layer, recolouring by palette entry, and the data list's marker.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "core/TestSupport.h"
#include "graph/LegendPane.h"
#include "graph/ZorvicView.h"
#include "support/QtApp.h"

namespace saroko::test {
namespace {

class ViewTest : public DocTest {
protected:
    static constexpr uint32_t kT0 = 1000000;

    void SetUp() override {
        App();
        DocTest::SetUp();
        std::vector<uint16_t> codes;
        for (int i = 0; i < 500; ++i)
            codes.push_back(C(20.0 + (i % 50)));
        Fill(*doc.GetChannel(1), kT0, 10, codes);
        doc.RecalcRanges(1);
        view = std::make_unique<CZorvicView>(doc);
        view->setGeometry(0, 0, 640, 480);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QApplication::processEvents();
        ASSERT_FALSE(view->ScreenLayer().isNull());
    }
    void TearDown() override {
        view.reset();
        DocTest::TearDown();
    }
    QRgb Entry(int index) const {
        return qRgb(view->Palette().Entry(index).red, view->Palette().Entry(index).green,
                    view->Palette().Entry(index).blue);
    }
    QImage Expected() {
        CGraphModel m(doc);
        return RenderGraphImage(QSize(640, 480), m, view->Palette(), view->ViewFont())
            .copy(AbovePane());
    }
    // The window above the legend pane, which is a window of its own over the graph.
    QRect AbovePane() const { return QRect(0, 0, 640, view->LegendPane()->geometry().top()); }
    QImage Shown() const {
        return view->grab(AbovePane()).toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<CZorvicView> view;
};

TEST_F(ViewTest, LayersHoldWhatTheyShould) {
    const CGraphModel& m = view->Model();
    const GraphRect& t = m.m_rcTimeBar;
    const int mid = (m.m_rcPlot.top + m.m_rcPlot.bottom) / 2;
    const QImage& base = view->BaseLayer();
    const QImage& graph = view->GraphLayer();
    const QImage& screen = view->ScreenLayer();
    ASSERT_EQ(base.size(), QSize(640, 480));
    // Strips only from the graph layer on.
    EXPECT_EQ(base.pixel(t.left, t.top), Entry(kPalBackground));
    EXPECT_EQ(graph.pixel(t.left, t.top), qRgb(255, 255, 255));
    // Thumbs and cursors only on the screen layer.
    const int thumbX = (m.m_rcTimeThumb.left + m.m_rcTimeThumb.right) / 2;
    EXPECT_EQ(graph.pixel(thumbX, t.top + 5), Entry(kPalPlot));
    EXPECT_EQ(screen.pixel(thumbX, t.top + 5), Entry(kPalThumb));
    EXPECT_NE(graph.pixel(m.m_xCursorA, m.m_rcPlot.top), Entry(kPalCursorSelected));
    EXPECT_EQ(screen.pixel(m.m_xCursorA, m.m_rcPlot.top), Entry(kPalCursorSelected));
    // Cursor B at the window's end: on the last column but one, over the traces.
    EXPECT_EQ(screen.pixel(m.CursorLineX(m.m_xCursorB), m.m_rcPlot.top + 1),
              Entry(kPalCursorSelected));
    EXPECT_EQ(m.CursorLineX(m.m_xCursorB), m.m_rcPlot.right - 1);
    EXPECT_EQ(graph.pixel(m.m_rcPlot.left + 1, mid), base.pixel(m.m_rcPlot.left + 1, mid));
}

TEST_F(ViewTest, WindowShowsTheOnePaintersPictureAlsoAfterARangeChange) {
    EXPECT_EQ(view->ScreenLayer().copy(AbovePane()), Expected());
    EXPECT_EQ(Shown(), Expected());
    const qint64 baseKey = view->BaseLayer().cacheKey();
    view->Model().ZoomIn();
    view->RefreshGraph();
    EXPECT_NE(view->BaseLayer().cacheKey(), baseKey);
    EXPECT_EQ(view->ScreenLayer().copy(AbovePane()), Expected());
}

TEST_F(ViewTest, CursorRedrawUsesTheCachedGraphLayer) {
    CGraphModel& m = view->Model();
    const qint64 baseKey = view->BaseLayer().cacheKey();
    const int oldX = m.m_xCursorA;
    const int top = m.m_rcPlot.top;
    m.m_xCursorA = 300;
    doc.m_nCursorStyle = kCursorSolid;
    view->RedrawCursors();
    EXPECT_EQ(view->BaseLayer().cacheKey(), baseKey) << "no full paint, no trace walked";
    const QImage& screen = view->ScreenLayer();
    EXPECT_EQ(screen.pixel(300, top + 4), Entry(kPalCursorSelected));
    EXPECT_EQ(screen.pixel(oldX, top + 4), view->GraphLayer().pixel(oldX, top + 4))
        << "the old line is gone";
    EXPECT_EQ(m.m_rcFlagA.left, 295);

    doc.m_nCursorASelect = 0;
    view->RedrawCursors();
    EXPECT_EQ(view->ScreenLayer().pixel(300, top + 4), Entry(kPalCursorUnselected));
}

TEST_F(ViewTest, ChangedPaletteEntriesRecolourTheNextPaint) {
    CGraphModel& m = view->Model();
    const ChannelRecord& ch = *doc.GetChannel(1);
    const int x = m.TimeToX(ch.startTime + 10 * ch.interval);
    const int y = m.ValueToY(ch.samples[10], ch.measureType, ch.sensorCode);
    ASSERT_EQ(view->ScreenLayer().pixel(x, y), Entry(0));
    const PaletteEntry teal{0, 128, 128, 1};
    view->Palette().AnimatePalette(0, 1, &teal);
    view->RefreshGraph();
    EXPECT_EQ(view->ScreenLayer().pixel(x, y), qRgb(0, 128, 128));
}

TEST_F(ViewTest, ListMarkerShowsItsFrameWhiteOverTheGraph) {
    CGraphModel& m = view->Model();
    const GraphRange& r = *doc.GetRange();
    const uint32_t start = r.viewStart + (r.viewEnd - r.viewStart) / 4;
    const uint32_t span = (r.viewEnd - r.viewStart) / 4;
    view->OpenListMark();
    ASSERT_TRUE(view->ListMarkOpen());
    view->ShowListRange(start, span);
    const int x1 = m.TimeToX(start), x2 = m.TimeToX(start + span);
    const int top = m.m_rcPlot.top;
    const int y = top + 60;
    const QImage& mark = view->ListMarkLayer();
    EXPECT_EQ(mark.pixel(x1, y), qRgb(0, 0, 0));
    EXPECT_EQ(mark.pixel((x1 + x2) / 2, y), qRgb(255, 255, 255));

    const QImage shown = view->grab().toImage();
    for (int dx : {-1, 0, 1}) {
        EXPECT_EQ(shown.pixel(x1 + dx, y), qRgb(255, 255, 255)) << dx;
        EXPECT_EQ(shown.pixel(x2 + dx, y), qRgb(255, 255, 255)) << dx;
    }
    EXPECT_EQ(shown.pixel((x1 + x2) / 2, top + 1), qRgb(255, 255, 255)) << "top of the frame";
    EXPECT_EQ(shown.pixel(x1 + 3, y), view->ScreenLayer().pixel(x1 + 3, y)) << "inside: clear";
    EXPECT_EQ(view->ScreenLayer().pixel(x1, y), Entry(kPalPlot)) << "the layers stay as they are";

    view->CloseListMark();
    EXPECT_FALSE(view->ListMarkOpen());
    EXPECT_EQ(Shown(), Expected());
}

} // namespace
} // namespace saroko::test
