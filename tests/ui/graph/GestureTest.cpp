// The real view and legend pane driven by mouse and key events on the offscreen platform:
// zoom rectangle, thumb and flag drags, the held step button, the right double-click, the
// accelerators, and the legend's click, double-click, drag and jump.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "core/TestSupport.h"
#include "document/CommandState.h"
#include "document/MenuTable.h"
#include "graph/LegendPane.h"
#include "graph/ZorvicView.h"
#include "support/QtApp.h"

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

Qt::Key KeyOf(Accelerator::Key k) {
    const std::pair<Accelerator::Key, Qt::Key> keys[] = {
        {Accelerator::kKeyA, Qt::Key_A},    {Accelerator::kKeyB, Qt::Key_B},
        {Accelerator::kLeft, Qt::Key_Left}, {Accelerator::kRight, Qt::Key_Right},
        {Accelerator::kUp, Qt::Key_Up},     {Accelerator::kDown, Qt::Key_Down}};
    for (auto [a, q] : keys)
        if (a == k)
            return q;
    return Qt::Key_unknown;
}

class GestureTest : public DocTest {
protected:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        App();
        DocTest::SetUp();
        std::vector<uint16_t> one, two;
        for (int i = 0; i < 500; ++i) {
            one.push_back(C(20.0 + (i % 50) * 0.5));
            two.push_back(C(10.0 + (i % 20)));
        }
        Fill(*doc.GetChannel(1), kT0, kInterval, one, "one");
        Fill(*doc.GetChannel(2), kT0 + 5, kInterval, two, "two");
        doc.RecalcRanges(1);

        // The frame's accelerators, as keys on a host window around the view.
        host = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(host.get());
        layout->setContentsMargins(0, 0, 0, 0);
        view = new CZorvicView(doc, host.get());
        layout->addWidget(view);
        for (const Accelerator& a : AcceleratorTable()) {
            const Qt::Key key = KeyOf(a.key);
            if (key == Qt::Key_unknown)
                continue;
            Qt::KeyboardModifiers mods;
            if (a.mods & Accelerator::kCtrl)
                mods |= Qt::ControlModifier;
            if (a.mods & Accelerator::kShift)
                mods |= Qt::ShiftModifier;
            auto* action = new QAction(host.get());
            action->setShortcut(QKeySequence(mods | key));
            const int id = a.id;
            QObject::connect(action, &QAction::triggered, view,
                             [this, id] { view->OnCommand(id); });
            host->addAction(action);
        }
        host->setGeometry(0, 0, 640, 480);
        host->show();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        QApplication::processEvents();
        ASSERT_NE(view->LegendPane(), nullptr);
        view->setFocus();
    }
    void TearDown() override {
        host.reset();
        DocTest::TearDown();
    }
    GraphRange& R() { return *doc.GetRange(); }
    CGraphModel& M() { return view->Model(); }
    QRgb Entry(int index) const {
        const PaletteEntry& e = view->Palette().Entry(index);
        return qRgb(e.red, e.green, e.blue);
    }
    QPoint FlagCentre(bool b) {
        const GraphRect& f = b ? M().m_rcFlagB : M().m_rcFlagA;
        return {(f.left + f.right) / 2, M().m_rcCursorBar.top + 4};
    }
    static QPoint PaneRow(int row, int x = 22) { return {x, LegendRowY(row) + 5}; }
    void ZoomIn() {
        view->OnCommand(cmd::kZoomIn);
        QApplication::processEvents();
    }

    std::unique_ptr<QWidget> host;
    CZorvicView* view = nullptr;
};

TEST_F(GestureTest, ZoomRectangleShowsWhileDraggedAndZoomsOnRelease) {
    const GraphRect p = M().m_rcPlot;
    const float spp = M().m_fSecPerPixel, vpp = M().m_fValuePerPixel;
    const GraphRange before = R();
    const QPoint a(p.left + 100, p.top + 40), b(p.left + 300, p.top + 120);
    QTest::mousePress(view, Qt::LeftButton, {}, b);
    DragTo(view, a); // dragged up and left: the rectangle is normalised
    EXPECT_EQ(view->ScreenLayer().pixel(a.x() + 50, a.y()), Entry(kPalLightEdge));
    EXPECT_EQ(view->ScreenLayer().pixel(b.x(), b.y() - 30), Entry(kPalLightEdge));
    EXPECT_EQ(R(), before) << "nothing changes while dragging";
    QTest::mouseRelease(view, Qt::LeftButton, {}, a);
    EXPECT_EQ(R().viewStart, before.viewStart + static_cast<uint32_t>(100 * spp));
    EXPECT_EQ(R().viewEnd, before.viewStart + static_cast<uint32_t>(300 * spp));
    EXPECT_FLOAT_EQ(R().viewUpper, static_cast<float>(before.viewUpper - 40.0 * vpp));
    EXPECT_FLOAT_EQ(R().viewLower, static_cast<float>(before.viewLower + (p.bottom - b.y()) * vpp));
    EXPECT_NE(view->ScreenLayer().pixel(a.x() + 50, a.y()), Entry(kPalLightEdge))
        << "the rectangle is gone with the repaint";

    // Of zero width it only repaints (which release does what is the core's).
    const GraphRange zoomed = R();
    const qint64 key = view->BaseLayer().cacheKey();
    Drag(view, {p.left + 100, p.top + 40}, {p.left + 100, p.top + 140});
    EXPECT_EQ(R(), zoomed);
    EXPECT_NE(view->BaseLayer().cacheKey(), key) << "repainted";
}

TEST_F(GestureTest, TimeThumbFollowsThePointerAndCommitsOnRelease) {
    ZoomIn();
    const GraphRect thumb = M().m_rcTimeThumb;
    const GraphRect strip = M().m_rcTimeBar;
    const GraphRange before = R();
    const QPoint press((thumb.left + thumb.right) / 2, strip.top + 5);
    QTest::mousePress(view, Qt::LeftButton, {}, press);
    DragTo(view, press + QPoint(40, 3));
    EXPECT_EQ(M().m_rcTimeThumb.left, thumb.left + 40);
    EXPECT_EQ(view->ScreenLayer().pixel(thumb.right + 39, strip.top + 5), Entry(kPalThumb));
    EXPECT_EQ(view->ScreenLayer().pixel(thumb.left + 2, strip.top + 5), Entry(kPalPlot));
    QTest::mouseRelease(view, Qt::LeftButton, {}, press + QPoint(40, 3));
    const uint32_t shift = static_cast<uint32_t>(40LL * (before.dataEnd - before.dataStart) /
                                                 (strip.right - strip.left - 30));
    EXPECT_EQ(R().viewStart, before.viewStart + shift);
    EXPECT_EQ(R().viewEnd - R().viewStart, before.viewEnd - before.viewStart);
}

TEST_F(GestureTest, ValueThumbDragMovesTheValueWindow) {
    ZoomIn();
    const GraphRect thumb = M().m_rcValueThumb;
    const GraphRect strip = M().m_rcValueBar;
    const GraphRange before = R();
    const QPoint press(strip.left + 5, (thumb.top + thumb.bottom) / 2);
    QTest::mousePress(view, Qt::LeftButton, {}, press);
    DragTo(view, press + QPoint(0, 20));
    EXPECT_GT(M().m_rcValueThumb.top, thumb.top);
    EXPECT_EQ(R(), before) << "only the drag fields change while dragging";
    QTest::mouseRelease(view, Qt::LeftButton, {}, press + QPoint(0, 20));
    const double delta = static_cast<double>(before.fullUpper - before.fullLower) /
                         (strip.bottom - strip.top - 30) * 20;
    EXPECT_NEAR(R().viewUpper, before.viewUpper - delta, 1e-3);
    EXPECT_NEAR(R().viewLower, before.viewLower - delta, 1e-3);
}

TEST_F(GestureTest, DraggedFlagSnapsToASampleAndFillsTheLegend) {
    ZoomIn(); // a few pixels per sample
    const QPoint from = FlagCentre(false);
    const QPoint to(M().m_rcPlot.left + 201, from.y());
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    DragTo(view, to);
    EXPECT_EQ(M().m_xCursorA, to.x());
    EXPECT_EQ(view->ScreenLayer().pixel(to.x(), M().m_rcPlot.top + 1), Entry(kPalCursorSelected));
    const uint32_t expected = M().DropCursorTime(to.x());
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    EXPECT_EQ(R().cursorA, expected);
    const uint32_t offsetA = R().cursorA - kT0, offsetB = R().cursorA - (kT0 + 5);
    EXPECT_TRUE(offsetA % kInterval == 0 || offsetB % kInterval == 0)
        << "on a sample of one of the channels";
    EXPECT_EQ(doc.m_nCursorASelect, 1u) << "moved: no toggle";
    EXPECT_EQ(view->LegendPane()->PaneData().cursorA, R().cursorA) << "the legend follows";
    EXPECT_EQ(view->LegendPane()->PaneData().rows[0].valueA,
              ValueAtCursor(*doc.GetChannel(1), R().cursorA));
}

TEST_F(GestureTest, FlagClickWithoutMovingTogglesTheSelection) {
    const QPoint at = FlagCentre(true);
    const int x = M().m_xCursorB;
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    EXPECT_EQ(doc.m_nCursorBSelect, 0u);
    EXPECT_EQ(store.GetInt("CursorAB Section", "CursorBSelect", 1), 0);
    EXPECT_EQ(M().m_bBOnTop, 1) << "the clicked cursor is on top";
    EXPECT_EQ(view->ScreenLayer().pixel(M().CursorLineX(M().m_xCursorB), M().m_rcPlot.top + 1),
              Entry(kPalCursorUnselected));
    EXPECT_EQ(R().cursorB, M().DropCursorTime(at.x()));
    EXPECT_LE(std::abs(M().m_xCursorB - x), 6);
}

TEST_F(GestureTest, HeldStepButtonRepeatsEveryHalfSecond) {
    R().cursorA = R().viewStart + 100;
    R().cursorB = R().viewStart + 300;
    view->RefreshGraph();
    const uint32_t a0 = R().cursorA;
    const GraphRect& k = M().m_rcCursorBar;
    const QPoint button(k.right - 5, k.top + 4);
    QTest::mousePress(view, Qt::LeftButton, {}, button);
    EXPECT_EQ(R().cursorA, a0 + kInterval) << "one step at the press";
    QTest::qWait(1250);
    const uint32_t steps = (R().cursorA - a0) / kInterval;
    EXPECT_GE(steps, 2u);
    EXPECT_LE(steps, 3u);
    EXPECT_EQ(R().cursorB - R().cursorA, 200u);
    QTest::mouseRelease(view, Qt::LeftButton, {}, button);
    const uint32_t released = R().cursorA;
    QTest::qWait(700);
    EXPECT_EQ(R().cursorA, released) << "no step after the release";
}

TEST_F(GestureTest, RightDoubleClickZoomsOutUnlessEverythingIsShown) {
    const GraphRange full = R();
    const QPoint inPlot(M().m_rcPlot.left + 50, M().m_rcPlot.top + 50);
    QTest::mouseDClick(view, Qt::RightButton, {}, inPlot);
    EXPECT_EQ(R(), full);
    ZoomIn();
    ZoomIn();
    const uint32_t zoomed = R().viewEnd - R().viewStart;
    QTest::mouseDClick(view, Qt::RightButton, {}, inPlot);
    EXPECT_GT(R().viewEnd - R().viewStart, zoomed);
    EXPECT_GE(R().cursorA, R().viewStart) << "the cursors stay inside the window";
    EXPECT_LE(R().cursorB, R().viewEnd);
}

TEST_F(GestureTest, AcceleratorsStepZoomAndScroll) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    R().minInterval = kInterval;
    R().cursorA = R().viewStart + 100;
    R().cursorB = R().viewStart + 300;
    view->RefreshGraph();
    QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(R().cursorA, R().viewStart + 110);
    EXPECT_EQ(R().cursorB, R().viewStart + 310);
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(doc.m_nCursorASelect, 0u);
    QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(R().cursorA, R().viewStart + 110) << "A unselected stays";
    EXPECT_EQ(R().cursorB, R().viewStart + 300);
    EXPECT_EQ(view->ScreenLayer().pixel(M().m_xCursorA, M().m_rcPlot.top + 1),
              Entry(kPalCursorUnselected));

    const uint32_t width = R().viewEnd - R().viewStart;
    QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_LT(R().viewEnd - R().viewStart, width);
    const uint32_t start = R().viewStart;
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_GT(R().viewStart, start);
    QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_GT(R().viewEnd - R().viewStart, (width >> 2) * 2 - 2);
}

TEST_F(GestureTest, CommandsOfOthersAndGreyedCommandsAreLeftAlone) {
    EXPECT_FALSE(view->OnCommand(cmd::kCopy));
    EXPECT_FALSE(view->OnCommand(cmd::kDownload));
    EXPECT_TRUE(view->OnCommand(cmd::kCursorDashed));
    EXPECT_EQ(doc.m_nCursorStyle, 1u);
    EXPECT_EQ(store.GetInt("CursorAB Section", "CursorStyle", 2), 1);
    const GraphRange before = R();
    EXPECT_TRUE(view->OnCommand(cmd::kZoomOut)) << "greyed: everything is shown";
    EXPECT_EQ(R(), before);
}

TEST_F(GestureTest, LegendSingleClickTogglesAfterTheTimerNotOnADoubleClick) {
    CLegendPane* pane = view->LegendPane();
    QSignalSpy edit(view, &CZorvicView::editConditionsRequested);
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
    EXPECT_EQ(QApplication::focusWidget(), view) << "the view keeps the keyboard";
}

TEST_F(GestureTest, LegendDragReordersAndRecolours) {
    CLegendPane* pane = view->LegendPane();
    const ChannelRecord* one = doc.GetChannel(1);
    Drag(pane, PaneRow(1), PaneRow(3));
    QApplication::processEvents();
    EXPECT_EQ(doc.GetChannel(3), one);
    EXPECT_EQ(doc.GetChannel(1)->present, 0u);
    EXPECT_EQ(doc.GetChannel(2)->name, std::string("two"));
    EXPECT_NE(pane->PaneData().rows[2].present, 0u);
    EXPECT_EQ(pane->PaneData().rows[0].present, 0u);
    // Its trace is now drawn in Ch.3's colour.
    const int i = 7;
    const int x = M().TimeToX(one->startTime + i * one->interval);
    const int y = M().ValueToY(one->samples[i], one->measureType, one->sensorCode);
    EXPECT_EQ(view->ScreenLayer().pixel(x, y), Entry(ChannelPaletteIndex(3)));
    // Dropped on a name instead of a box: nothing moves.
    Drag(pane, PaneRow(3), PaneRow(5, 60));
    QApplication::processEvents();
    EXPECT_EQ(doc.GetChannel(3), one);
}

TEST_F(GestureTest, LegendBelowTheEighthRowIsNoRow) {
    CLegendPane* pane = view->LegendPane();
    ASSERT_GT(pane->height(), 163);
    QSignalSpy edit(view, &CZorvicView::editConditionsRequested);
    // y 163 is the first pixel below row 8 (rows are y 51..162).
    QTest::mousePress(pane, Qt::LeftButton, {}, QPoint(22, 163));
    EXPECT_EQ(pane->Clicks().PressRow(), 0);
    QTest::mouseRelease(pane, Qt::LeftButton, {}, QPoint(22, 163));
    EXPECT_FALSE(pane->ClickTimerActive());
    QTest::mouseDClick(pane, Qt::LeftButton, {}, QPoint(22, 163));
    QTest::mouseDClick(pane, Qt::LeftButton, {}, QPoint(450, 163));
    QApplication::processEvents();
    EXPECT_EQ(edit.count(), 0);
}

TEST_F(GestureTest, LegendDoubleClickOnMaxJumpsToIt) {
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
    EXPECT_EQ(R().viewEnd - R().viewStart, width);
    // The maximum's value lies in the middle of the value window.
    EXPECT_NEAR((R().viewUpper + R().viewLower) / 2, 40.0, 1e-3);
}

TEST_F(GestureTest, DataListSpanBeforeTheWindowMovesIt) {
    // The messages' guards are the core's; here the posted span reaches the window.
    ZoomIn();
    const uint32_t width = R().viewEnd - R().viewStart;
    const uint32_t listStart = R().viewStart - 300;
    view->OpenListMark();
    view->PostViewMessage({UM_LIST_RANGE, 120, listStart});
    QApplication::processEvents();
    EXPECT_EQ(R().viewStart, listStart);
    EXPECT_EQ(R().viewEnd, listStart + width);
    view->CloseListMark();
}

} // namespace
} // namespace saroko::test
