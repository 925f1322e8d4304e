// The graph view's paint of the largest document (8 channels of 16000 samples) at 1280 x 800:
// the full repaint of all layers, the cursor redraw from the cached graph layer, the trace
// geometry alone, and a plain copy of one layer as the baseline of this machine.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <memory>

#include "core/document/ZorvicDoc.h"
#include "ui/graph/ZorvicView.h"

namespace {

using namespace saroko;

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

struct Scene {
    CMemorySettingsStore store;
    FixedClock clock{1700000000};
    CZorvicDoc doc{store, clock};
    std::unique_ptr<CZorvicView> view;

    Scene() {
        doc.OnNewDocument();
        for (int n = 1; n <= kChannelCount; ++n) {
            ChannelRecord& ch = *doc.GetChannel(n);
            ch.present = static_cast<uint32_t>(n);
            ch.startTime = 1700000000 + static_cast<uint32_t>(n) * 7;
            ch.interval = 10;
            ch.measureType = kTypeTemp13;
            ch.sensorCode = 1;
            for (int i = 0; i < kMaxSamples; ++i) {
                const double v =
                    20.0 * n + 15.0 * std::sin(i / (40.0 + 9 * n)) + ((i * 7919) % 13) * 0.3;
                ch.samples[i] = static_cast<uint16_t>(kCodeZero + static_cast<int>(v * 10));
            }
            ch.sampleCount = kMaxSamples;
        }
        doc.RecalcRanges(RecalcMode::NewData);
        view = std::make_unique<CZorvicView>(doc);
        view->setGeometry(0, 0, kWidth, kHeight);
        view->show();
        QApplication::processEvents();
    }
};

Scene& TheScene() {
    static Scene* scene = new Scene;
    return *scene;
}

void BM_LayerCopyBaseline(benchmark::State& state) {
    const QImage& layer = TheScene().view->GraphLayer();
    for (auto _ : state) {
        QImage copy = layer.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_LayerCopyBaseline)->Unit(benchmark::kMicrosecond);

void BM_FullRepaint(benchmark::State& state) {
    CZorvicView& view = *TheScene().view;
    for (auto _ : state)
        view.repaint();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_CursorRedraw(benchmark::State& state) {
    CZorvicView& view = *TheScene().view;
    CGraphModel& model = view.Model();
    const int left = model.m_rcPlot.left + 100, right = model.m_rcPlot.right - 100;
    int i = 0;
    for (auto _ : state) {
        model.m_xCursorA = (i++ & 1) ? left : right;
        view.RedrawCursors();
    }
}
BENCHMARK(BM_CursorRedraw)->Unit(benchmark::kMicrosecond);

void BM_TraceGeometry(benchmark::State& state) {
    Scene& s = TheScene();
    CGraphModel& model = s.view->Model();
    std::vector<GraphSegment> segments;
    std::size_t count = 0;
    for (auto _ : state) {
        count = 0;
        for (int n = 1; n <= kChannelCount; ++n) {
            model.BuildTrace(*s.doc.GetChannel(n), segments, CGraphModel::TraceDetail::kPixels);
            count += segments.size();
        }
        benchmark::DoNotOptimize(segments.data());
    }
    state.counters["segments"] = static_cast<double>(count);
}
BENCHMARK(BM_TraceGeometry)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
