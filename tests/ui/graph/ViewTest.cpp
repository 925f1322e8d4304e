// The real view and legend pane on the offscreen platform: the window against the one
// painter's picture, cursor redraws from the cached graph layer, the data list's marker, the
// mouse gestures, the view's commands, and the legend's click, double-click, drag and jump.
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>

#include "core/document/CommandState.h"
#include "support/ViewRig.h"
#include "ui/graph/LegendPane.h"

namespace saroko::test {
namespace {

constexpr uint32_t kT0 = 1000000;
constexpr uint32_t kInterval = 10;

// A move with the left button held; QTest's own move carries no buttons.
void DragTo(QWidget* w, QPoint pt) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pt), w->mapToGlobal(QPointF(pt)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void Drag(QWidget* w, QPoint from, QPoint to) {
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    DragTo(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

class ViewTest : public ViewRig {
protected:
    void SetUp() override {
        ViewRig::SetUp();
        std::vector<uint16_t> one, two;
        for (int i = 0; i < 500; ++i) {
            one.push_back(C(20.0 + (i % 50) * 0.5));
            two.push_back(C(10.0 + (i % 20)));
        }
        Fill(*doc.GetChannel(1), kT0, kInterval, one, "one");
        Fill(*doc.GetChannel(2), kT0 + 5, kInterval, two, "two");
        OpenView(true);
        ASSERT_NE(view->LegendPane(), nullptr);
    }
    GraphRange& R() { return *doc.GetRange(); }
    CGraphModel& M() { return view->Model(); }
    QPoint FlagCentre(bool b) {
        const GraphRect& f = b ? M().m_rcFlagB : M().m_rcFlagA;
        return {(f.left + f.right) / 2, M().m_rcCursorBar.top + 4};
    }
    static QPoint PaneRow(int row, int x = 22) { return {x, LegendRowY(row) + 5}; }
    void ZoomIn() {
        view->OnCommand(cmd::kZoomIn);
        QApplication::processEvents();
    }
    // The window above the legend pane, which is a window of its own over the graph.
    QRect AbovePane() const { return QRect(0, 0, 640, view->LegendPane()->geometry().top()); }
    QImage Expected() {
        CGraphModel m(doc);
        return RenderGraphImage(QSize(640, 480), m, view->Palette(), view->ViewFont())
            .copy(AbovePane());
    }
    QImage Shown() const {
        return view->grab(AbovePane()).toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(ViewTest, WindowShowsTheOnePaintersPictureAlsoAfterAPaletteOrRangeChange) {
    EXPECT_EQ(view->ScreenLayer().copy(AbovePane()), Expected());
    EXPECT_EQ(Shown(), Expected());
    // Changed palette entries recolour the next paint.
    const ChannelRecord& ch = *doc.GetChannel(1);
    const int x = M().TimeToX(ch.startTime + 10 * ch.interval);
    const int y = M().ValueToY(ch.samples[10], ch.measureType, ch.sensorCode);
    ASSERT_EQ(view->ScreenLayer().pixel(x, y), Entry(0));
    const PaletteEntry teal{0, 128, 128, 1};
    view->Palette().AnimatePalette(0, 1, &teal);
    view->RefreshGraph();
    EXPECT_EQ(view->ScreenLayer().pixel(x, y), qRgb(0, 128, 128));

    const qint64 graphKey = view->GraphLayer().cacheKey();
    view->Model().ZoomIn();
    view->RefreshGraph();
    EXPECT_NE(view->GraphLayer().cacheKey(), graphKey);
    EXPECT_EQ(view->ScreenLayer().copy(AbovePane()), Expected());
}

// A palette change the legend's picture cannot see (its rows and texts stay) still repaints
// the whole pane when the pane alone is refreshed; a refresh with nothing changed paints
// nothing.
TEST_F(ViewTest, ARecolouredPaletteRepaintsTheWholeLegend) {
    struct PaintSpy : QObject {
        QRect whole;
        int full = 0, any = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) {
                ++any;
                full += static_cast<QPaintEvent*>(e)->region().contains(whole);
            }
            return false;
        }
    } spy;
    CLegendPane* pane = view->LegendPane();
    spy.whole = pane->rect();
    QApplication::processEvents();
    pane->installEventFilter(&spy);
    pane->Refresh(pane->PaneData());
    EXPECT_EQ(spy.any, 0);
    const PaletteEntry teal{0, 128, 128, 1};
    view->Palette().AnimatePalette(0, 1, &teal);
    pane->Refresh(pane->PaneData());
    EXPECT_EQ(spy.full, 1);
    pane->removeEventFilter(&spy);
}

TEST_F(ViewTest, CursorRedrawUsesTheCachedGraphLayer) {
    const qint64 graphKey = view->GraphLayer().cacheKey();
    const int oldX = M().m_xCursorA;
    const int top = M().m_rcPlot.top;
    M().m_xCursorA = 300;
    doc.m_nCursorStyle = kCursorSolid;
    view->RedrawCursors();
    EXPECT_EQ(view->GraphLayer().cacheKey(), graphKey) << "no full paint, no trace walked";
    const QImage& screen = view->ScreenLayer();
    EXPECT_EQ(screen.pixel(300, top + 4), Entry(kPalCursorSelected));
    EXPECT_NE(screen.pixel(oldX, top + 1), Entry(kPalCursorSelected)) << "the old line is gone";
}

// A cursor step shows only the old and new cursors and the legend's changed cells: the
// window then holds what a full paint shows.
TEST_F(ViewTest, CursorStepsLeaveTheWindowAsAFullPaintWouldShowIt) {
    const auto shown = [this] {
        return view->screen()
            ->grabWindow(view->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const uint32_t t0 = R().dataStart, span = R().dataEnd - R().dataStart;
    // A and B (of the data span), the style, a zoom rectangle dragged out first: over each
    // other, apart, the flags overlapping, at the right edge, before channel 2's first sample.
    const std::tuple<double, double, int, bool> steps[] = {
        {0.5, 0.5, kCursorSolid, false},  {0.2, 0.5, kCursorSolid, false},
        {0.2, 0.202, kCursorDash, false}, {1.0, 0.202, kCursorDash, false},
        {0.0, 1.0, kCursorDot, false},    {0.6, 0.3, kCursorSolid, true}};
    for (const auto& [a, b, style, zoom] : steps) {
        const GraphRect p = M().m_rcPlot;
        if (zoom) {
            QTest::mousePress(view.get(), Qt::LeftButton, {}, {p.left + 50, p.top + 50});
            DragTo(view.get(), {p.left + 250, p.top + 150});
        }
        R().cursorA = t0 + static_cast<uint32_t>(a * span);
        R().cursorB = t0 + static_cast<uint32_t>(b * span);
        doc.m_nCursorStyle = static_cast<uint32_t>(style);
        M().PlaceCursors();
        view->RedrawCursors();
        view->RefreshPane();
        const QImage stepped = shown();
        M().m_nDragMode = kDragNone;
        view->repaint();
        QApplication::processEvents();
        EXPECT_EQ(stepped, shown()) << a << " " << b;
    }
}

TEST_F(ViewTest, ListMarkerShowsItsFrameWhiteOverTheGraphAndItsSpanMovesTheWindow) {
    const uint32_t start = R().viewStart + (R().viewEnd - R().viewStart) / 4;
    const uint32_t span = (R().viewEnd - R().viewStart) / 4;
    view->OpenListMark();
    view->ShowListRange(start, span);
    const int x1 = M().TimeToX(start), x2 = M().TimeToX(start + span);
    const int top = M().m_rcPlot.top;
    const int y = top + 60;
    const QImage shown = view->grab().toImage();
    for (int dx : {-1, 0, 1}) {
        EXPECT_EQ(shown.pixel(x1 + dx, y), qRgb(255, 255, 255)) << dx;
        EXPECT_EQ(shown.pixel(x2 + dx, y), qRgb(255, 255, 255)) << dx;
    }
    EXPECT_EQ(shown.pixel((x1 + x2) / 2, top + 1), qRgb(255, 255, 255)) << "top of the frame";
    EXPECT_EQ(shown.pixel(x1 + 3, y), view->ScreenLayer().pixel(x1 + 3, y)) << "inside: clear";
    EXPECT_EQ(view->ScreenLayer().pixel(x1, y), Entry(kPalPlot)) << "the layers stay as they are";

    // The messages' guards are the core's; here a posted span before the window reaches it.
    ZoomIn();
    const uint32_t width = R().viewEnd - R().viewStart;
    const uint32_t listStart = R().viewStart - 300;
    view->PostViewMessage({UM_LIST_RANGE, 120, listStart});
    QApplication::processEvents();
    EXPECT_EQ(R().viewStart, listStart);
    EXPECT_EQ(R().viewEnd, listStart + width);
    view->CloseListMark();
    EXPECT_EQ(Shown(), Expected());
}

TEST_F(ViewTest, ZoomRectangleShowsWhileDraggedAndZoomsOnRelease) {
    const GraphRect p = M().m_rcPlot;
    const float spp = M().m_fSecPerPixel, vpp = M().m_fValuePerPixel;
    const GraphRange before = R();
    const QPoint a(p.left + 100, p.top + 40), b(p.left + 300, p.top + 120);
    QTest::mousePress(view.get(), Qt::LeftButton, {}, b);
    DragTo(view.get(), a); // dragged up and left: the rectangle is normalised
    EXPECT_EQ(view->ScreenLayer().pixel(a.x() + 50, a.y()), Entry(kPalLightEdge));
    EXPECT_EQ(view->ScreenLayer().pixel(b.x(), b.y() - 30), Entry(kPalLightEdge));
    EXPECT_EQ(R(), before) << "nothing changes while dragging";
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, a);
    EXPECT_EQ(R().viewStart, before.viewStart + static_cast<uint32_t>(100 * spp));
    EXPECT_EQ(R().viewEnd, before.viewStart + static_cast<uint32_t>(300 * spp));
    EXPECT_FLOAT_EQ(R().viewUpper, static_cast<float>(before.viewUpper - 40.0 * vpp));
    EXPECT_FLOAT_EQ(R().viewLower, static_cast<float>(before.viewLower + (p.bottom - b.y()) * vpp));

    // Of zero width it only repaints (which release does what is the core's).
    const GraphRange zoomed = R();
    const qint64 key = view->GraphLayer().cacheKey();
    Drag(view.get(), {p.left + 100, p.top + 40}, {p.left + 100, p.top + 140});
    EXPECT_EQ(R(), zoomed);
    EXPECT_NE(view->GraphLayer().cacheKey(), key) << "repainted";
}

TEST_F(ViewTest, ThumbsFollowThePointerAndCommitOnRelease) {
    ZoomIn();
    GraphRect thumb = M().m_rcTimeThumb;
    GraphRect strip = M().m_rcTimeBar;
    GraphRange before = R();
    QPoint press((thumb.left + thumb.right) / 2, strip.top + 5);
    QTest::mousePress(view.get(), Qt::LeftButton, {}, press);
    DragTo(view.get(), press + QPoint(40, 3));
    EXPECT_EQ(M().m_rcTimeThumb.left, thumb.left + 40);
    EXPECT_EQ(view->ScreenLayer().pixel(thumb.right + 39, strip.top + 5), Entry(kPalThumb));
    EXPECT_EQ(view->ScreenLayer().pixel(thumb.left + 2, strip.top + 5), Entry(kPalPlot));
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, press + QPoint(40, 3));
    const uint32_t shift = static_cast<uint32_t>(40LL * (before.dataEnd - before.dataStart) /
                                                 (strip.right - strip.left - 30));
    EXPECT_EQ(R().viewStart, before.viewStart + shift);
    EXPECT_EQ(R().viewEnd - R().viewStart, before.viewEnd - before.viewStart);

    thumb = M().m_rcValueThumb;
    strip = M().m_rcValueBar;
    before = R();
    press = QPoint(strip.left + 5, (thumb.top + thumb.bottom) / 2);
    QTest::mousePress(view.get(), Qt::LeftButton, {}, press);
    DragTo(view.get(), press + QPoint(0, 20));
    EXPECT_EQ(view->ScreenLayer().pixel(press.x(), thumb.top + 2), Entry(kPalPlot)) << "moved";
    EXPECT_EQ(R(), before) << "only the drag fields change while dragging";
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, press + QPoint(0, 20));
    const double delta = static_cast<double>(before.fullUpper - before.fullLower) /
                         (strip.bottom - strip.top - 30) * 20;
    EXPECT_NEAR(R().viewUpper, before.viewUpper - delta, 1e-3);
    EXPECT_NEAR(R().viewLower, before.viewLower - delta, 1e-3);
}

TEST_F(ViewTest, FlagClickTogglesTheSelectionAndADraggedFlagSnapsToASample) {
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, FlagCentre(true));
    EXPECT_EQ(doc.m_nCursorBSelect, 0u);
    EXPECT_EQ(view->ScreenLayer().pixel(M().CursorLineX(M().m_xCursorB), M().m_rcPlot.top + 1),
              Entry(kPalCursorUnselected));

    ZoomIn(); // a few pixels per sample
    const QPoint from = FlagCentre(false);
    const QPoint to(M().m_rcPlot.left + 201, from.y());
    QTest::mousePress(view.get(), Qt::LeftButton, {}, from);
    DragTo(view.get(), to);
    EXPECT_EQ(view->ScreenLayer().pixel(to.x(), M().m_rcPlot.top + 1), Entry(kPalCursorSelected));
    const uint32_t expected = M().DropCursorTime(to.x());
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, to);
    EXPECT_EQ(R().cursorA, expected);
    EXPECT_EQ(view->LegendPane()->PaneData().cursorA, R().cursorA) << "the legend follows";
    EXPECT_EQ(view->LegendPane()->PaneData().rows[0].valueA,
              ValueAtCursor(*doc.GetChannel(1), R().cursorA));
}

TEST_F(ViewTest, HeldStepButtonRepeatsEveryHalfSecond) {
    R().cursorA = R().viewStart + 100;
    R().cursorB = R().viewStart + 300;
    view->RefreshGraph();
    const uint32_t a0 = R().cursorA;
    const GraphRect& k = M().m_rcCursorBar;
    const QPoint button(k.right - 5, k.top + 4);
    QTest::mousePress(view.get(), Qt::LeftButton, {}, button);
    EXPECT_EQ(R().cursorA, a0 + kInterval) << "one step at the press";
    QTest::qWait(1250);
    const uint32_t steps = (R().cursorA - a0) / kInterval;
    EXPECT_GE(steps, 2u);
    EXPECT_LE(steps, 3u);
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, button);
    const uint32_t released = R().cursorA;
    QTest::qWait(700);
    EXPECT_EQ(R().cursorA, released) << "no step after the release";
}

TEST_F(ViewTest, CommandsStepZoomScrollAndLeaveOthersAlone) {
    // Which key gives which command is the menu table's; here each command reaches the model.
    EXPECT_FALSE(view->OnCommand(cmd::kCopy));
    EXPECT_FALSE(view->OnCommand(cmd::kDownload));
    const GraphRange full = R();
    EXPECT_TRUE(view->OnCommand(cmd::kZoomOut)) << "greyed: everything is shown";
    const QPoint inPlot(M().m_rcPlot.left + 50, M().m_rcPlot.top + 50);
    QTest::mouseDClick(view.get(), Qt::RightButton, {}, inPlot); // so is a right double click
    EXPECT_EQ(R(), full);
    R().minInterval = kInterval;
    R().cursorA = R().viewStart + 100;
    R().cursorB = R().viewStart + 300;
    view->RefreshGraph();
    EXPECT_TRUE(view->OnCommand(cmd::kCursorRight));
    EXPECT_EQ(R().cursorA, R().viewStart + 110);
    EXPECT_EQ(R().cursorB, R().viewStart + 310);
    view->OnCommand(cmd::kCursorA);
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    view->OnCommand(cmd::kCursorLeft);
    EXPECT_EQ(R().cursorA, R().viewStart + 110) << "A unselected stays";
    EXPECT_EQ(R().cursorB, R().viewStart + 300);
    EXPECT_EQ(view->ScreenLayer().pixel(M().m_xCursorA, M().m_rcPlot.top + 1),
              Entry(kPalCursorUnselected));
    view->OnCommand(cmd::kCursorDashed);
    EXPECT_EQ(doc.m_nCursorStyle, 1u);
    EXPECT_EQ(store.GetInt("CursorAB Section", "CursorStyle", 2), 1);

    const uint32_t width = R().viewEnd - R().viewStart;
    view->OnCommand(cmd::kZoomIn);
    EXPECT_LT(R().viewEnd - R().viewStart, width);
    const uint32_t start = R().viewStart;
    view->OnCommand(cmd::kGraphRight);
    EXPECT_GT(R().viewStart, start);
    view->OnCommand(cmd::kZoomOut);
    EXPECT_GT(R().viewEnd - R().viewStart, (width >> 2) * 2 - 2);
    ZoomIn();
    const uint32_t zoomed = R().viewEnd - R().viewStart;
    QTest::mouseDClick(view.get(), Qt::RightButton, {}, inPlot);
    EXPECT_GT(R().viewEnd - R().viewStart, zoomed);
}

TEST_F(ViewTest, LegendSingleClickTogglesAfterTheTimerNotOnADoubleClick) {
    CLegendPane* pane = view->LegendPane();
    QSignalSpy edit(view.get(), &CZorvicView::editConditionsRequested);
    QTest::mouseClick(pane, Qt::LeftButton, {}, PaneRow(2));
    QApplication::processEvents();
    EXPECT_EQ(doc.m_bShow[1], 1u) << "not before the timer";
    EXPECT_TRUE(pane->ClickTimerActive());
    QTest::qWait(kLegendClickMilliseconds + 200);
    QApplication::processEvents();
    EXPECT_EQ(doc.m_bShow[1], 0u);
    EXPECT_EQ(pane->PaneData().rows[1].show, 0u) << "the pane shows the new flag";

    QTest::mouseDClick(pane, Qt::LeftButton, {}, PaneRow(1));
    QTest::qWait(kLegendClickMilliseconds + 200);
    QApplication::processEvents();
    EXPECT_EQ(doc.m_bShow[0], 1u) << "a double click does not toggle";
    EXPECT_EQ(edit.count(), 1);
    // The window's own focus, which holds whether or not the system made the window active.
    EXPECT_EQ(view->window()->focusWidget(), view.get()) << "the view keeps the keyboard";
}

TEST_F(ViewTest, LegendDragReordersAndRecoloursADoubleClickOnMaxJumpsToIt) {
    CLegendPane* pane = view->LegendPane();
    const ChannelRecord* one = doc.GetChannel(1);
    Drag(pane, PaneRow(1), PaneRow(3));
    QApplication::processEvents();
    EXPECT_EQ(doc.GetChannel(3), one);
    EXPECT_EQ(pane->PaneData().rows[0].present, 0u) << "the pane follows";
    // Its trace is now drawn in Ch.3's colour.
    const int i = 7;
    const int x = M().TimeToX(one->startTime + i * one->interval);
    const int y = M().ValueToY(one->samples[i], one->measureType, one->sensorCode);
    EXPECT_EQ(view->ScreenLayer().pixel(x, y), Entry(ChannelPaletteIndex(3)));
    // Dropped on a name instead of a box: nothing moves.
    Drag(pane, PaneRow(3), PaneRow(5, 60));
    QApplication::processEvents();
    EXPECT_EQ(doc.GetChannel(3), one);

    ChannelRecord& two = *doc.GetChannel(2);
    two.samples[400] = C(40.0);
    doc.CalcStatistics();
    const uint32_t tMax = two.startTime + 400 * two.interval;
    ZoomIn();
    ZoomIn();
    ASSERT_GT(tMax, R().viewEnd) << "the maximum lies outside the zoomed window";
    const uint32_t width = R().viewEnd - R().viewStart;
    QTest::mouseDClick(view->LegendPane(), Qt::LeftButton, {}, PaneRow(2, 450));
    QApplication::processEvents();
    EXPECT_EQ(R().viewStart, tMax - (width >> 1));
}

} // namespace
} // namespace saroko::test
