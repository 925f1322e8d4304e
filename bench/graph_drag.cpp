// One step of a cursor drag on the largest document (8 channels of 16000 samples, 1280 x 800):
// the pointer move, the redraw from the cached graph layer and the legend refresh, as the
// view runs them for each mouse move; and its parts. The baseline of this machine is the plain
// copy of one layer (BM_LayerCopyBaseline in the same program).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <cmath>
#include <memory>

#include "core/document/ZorvicDoc.h"
#include "ui/graph/LegendPane.h"
#include "ui/graph/ZorvicView.h"

namespace {

using namespace saroko;

struct DragScene {
    CMemorySettingsStore store;
    FixedClock clock{1700000000};
    CZorvicDoc doc{store, clock};
    std::unique_ptr<CZorvicView> view;

    DragScene() {
        doc.OnNewDocument();
        for (int n = 1; n <= kChannelCount; ++n) {
            ChannelRecord& ch = *doc.GetChannel(n);
            ch.present = static_cast<uint32_t>(n);
            ch.startTime = 1700000000 + static_cast<uint32_t>(n) * 7;
            ch.interval = 10;
            ch.measureType = kTypeTemp13;
            for (int i = 0; i < kMaxSamples; ++i) {
                const double v = 20.0 * n + 15.0 * std::sin(i / (40.0 + 9 * n));
                ch.samples[i] = static_cast<uint16_t>(kCodeZero + static_cast<int>(v * 10));
            }
            ch.sampleCount = kMaxSamples;
        }
        doc.RecalcRanges(RecalcMode::NewData);
        view = std::make_unique<CZorvicView>(doc);
        view->setGeometry(0, 0, 1280, 800);
        view->show();
        QApplication::processEvents();
        // Both cursors in the middle, so that the legend walks half of every channel.
        GraphRange& r = doc.m_range;
        r.cursorA = r.cursorB = r.dataStart + (r.dataEnd - r.dataStart) / 2;
        view->repaint();
    }

    void Move(QPoint pt) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pt), view->mapToGlobal(QPointF(pt)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &move);
    }
};

DragScene& Scene() {
    static DragScene* scene = new DragScene;
    return *scene;
}

void BM_CursorDragStep(benchmark::State& state) {
    DragScene& s = Scene();
    CGraphModel& model = s.view->Model();
    model.m_nDragMode = kDragFlagA; // as after a press on flag A
    const int y = model.m_rcCursorBar.top + 4;
    const int left = model.m_rcPlot.left + 100, right = model.m_rcPlot.right - 100;
    int i = 0;
    for (auto _ : state) {
        s.Move({(i++ & 1) ? left : right, y});
        // The legend follows the dragged cursor's time.
        s.doc.m_range.cursorA = model.DropCursorTime(model.m_xCursorA);
        s.view->RefreshPane();
    }
    model.m_nDragMode = kDragNone;
}
BENCHMARK(BM_CursorDragStep)->Unit(benchmark::kMicrosecond);

void BM_CursorDropAndLegend(benchmark::State& state) {
    DragScene& s = Scene();
    CGraphModel& model = s.view->Model();
    const int left = model.m_rcPlot.left + 100, right = model.m_rcPlot.right - 100;
    int i = 0;
    for (auto _ : state) {
        const GraphRect flag = model.m_rcFlagA;
        const QPoint at((flag.left + flag.right) / 2, model.m_rcCursorBar.top + 4);
        const QPoint to((i++ & 1) ? left : right, at.y());
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), s.view->mapToGlobal(QPointF(at)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(s.view.get(), &press);
        s.Move(to);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(to),
                            s.view->mapToGlobal(QPointF(to)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(s.view.get(), &release);
    }
}
BENCHMARK(BM_CursorDropAndLegend)->Unit(benchmark::kMicrosecond);

void BM_LegendFill(benchmark::State& state) {
    DragScene& s = Scene();
    for (auto _ : state) {
        LegendData d = FillLegend(s.doc);
        benchmark::DoNotOptimize(d.rows.data());
    }
}
BENCHMARK(BM_LegendFill)->Unit(benchmark::kMicrosecond);

void BM_LegendPaint(benchmark::State& state) {
    CLegendPane& pane = *Scene().view->LegendPane();
    for (auto _ : state)
        pane.repaint();
}
BENCHMARK(BM_LegendPaint)->Unit(benchmark::kMicrosecond);

} // namespace
