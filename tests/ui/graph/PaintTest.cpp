// Pixels of the graph as the one painter draws them, checked at the positions the model
// computes. Runs on the offscreen platform.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "core/TestSupport.h"
#include "core/graph/LineRaster.h"
#include "support/QtApp.h"
#include "ui/graph/GraphPainter.h"

namespace saroko::test {
namespace {

QRgb Rgb(const PaletteEntry& e) {
    return qRgb(e.red, e.green, e.blue);
}

// 640 x 480 at the screen's corner: plot (46, 25) .. (614, 269), 2 s per column from T0,
// 1000 value units on 245 rows.
class PaintTest : public DocTest {
protected:
    static constexpr uint32_t kT0 = 1000000;
    static constexpr int kLeft = 46, kTop = 25, kRight = 614, kBottom = 269;

    void SetUp() override {
        App();
        DocTest::SetUp();
        SetView(kT0, kT0 + 1138, 700, -300);
        doc.m_nCursorStyle = kCursorSolid;
    }
    void SetView(uint32_t start, uint32_t end, float upper, float lower) {
        GraphRange& r = *doc.GetRange();
        r.dataStart = r.calcStart = start - 100000;
        r.dataEnd = r.calcEnd = end + 100000;
        r.viewStart = r.cursorA = start;
        r.viewEnd = r.cursorB = end;
        r.fullUpper = r.viewUpper = upper;
        r.fullLower = r.viewLower = lower;
    }
    QImage Render() {
        QImage image = RenderGraphImage({640, 480}, model, palette, ProgramFont());
        EXPECT_EQ(model.m_rcPlot, (GraphRect{kLeft, kTop, kRight, kBottom}));
        return image;
    }
    QRgb Ink(int number) const { return Rgb(palette.Entry(number - 1)); }
    QRgb Entry(int index) const { return Rgb(palette.Entry(index)); }

    CChannelPalette palette;
    CGraphModel model{doc};
};

TEST_F(PaintTest, PlotIsBlackWithGridLinesAtTheComputedPositions) {
    SetView(kT0, kT0 + 1138, 690, -300); // no grid line on the edges
    const QImage img = Render();
    std::set<int> xs, ys;
    for (const TimeTick& t : model.TimeTicks())
        xs.insert(t.x);
    for (const ValueTick& v : model.ValueTicks())
        ys.insert(v.y);
    ASSERT_GE(xs.size(), 3u);
    ASSERT_GE(ys.size(), 5u);
    int wrong = 0;
    for (int y = kTop; y <= kBottom; ++y)
        for (int x = kLeft + 1; x <= kRight; ++x) // the cursors stand on kLeft and kRight - 1
            wrong += x != kRight - 1 &&
                     img.pixel(x, y) != Entry(xs.count(x) || ys.count(y) ? kPalGrid : kPalPlot);
    EXPECT_EQ(wrong, 0);
    for (const ValueTick& v : model.ValueTicks()) {
        // The label's text stands left of the plot.
        bool text = false;
        for (int x = model.ValueLabelX(); x < kLeft - 3; ++x)
            for (int y = v.labelY; y < v.labelY + model.m_tm.height; ++y)
                text |= img.pixel(x, y) == Entry(kPalText);
        EXPECT_TRUE(text) << v.label;
    }
}

// Every pixel of a trace's segments is painted in its channel's colour (a later channel over
// an earlier one), and no other pixel of the plot is; the segments themselves are the core's.
TEST_F(PaintTest, TracesArePaintedExactlyAsTheirSegments) {
    std::vector<uint16_t> ramp;
    for (int i = 0; i < 40; ++i)
        ramp.push_back(C(-250.0 + 20.0 * i));
    const std::vector<uint16_t> hundred(20, C(100.0)), zero(20, C(0.0));
    struct Trace {
        uint32_t start, interval;
        std::vector<uint16_t> codes;
        uint8_t sensor;
    };
    struct Case {
        const char* what;
        float upper, lower;
        std::vector<Trace> channels;
    };
    const uint16_t kM = kCodeMissing;
    // clang-format off
    const Case cases[] = {
        {"samples 10 pixels apart, with markers", 700, -300, {{kT0 + 10, 20, ramp, 0}}},
        {"one pixel apart, no markers", 700, -300, {{kT0 + 10, 2, ramp, 0}}},
        {"4 and 3 pixels apart", 700, -300, {{kT0 + 100, 8, hundred, 0}, {kT0 + 100, 6, zero, 0}}},
        {"a lone sample; only missing ones", 700, -300, {{kT0 + 101, 6, {kM, C(12.3), kM, kM}, 0}, {kT0 + 101, 6, {kM, kM}, 0}}},
        {"Over of Pt100 and JPt100, Under", 700, -300, {{kT0 + 100, 6, {kCodeOver}, 0}, {kT0 + 200, 6, {kCodeOver}, 1}, {kT0 + 300, 6, {kCodeUnder}, 1}}},
        {"Over and Under cut at the plot's edges", 100, -100, {{kT0 + 100, 60, {C(50.0), kCodeOver}, 0}, {kT0 + 100, 60, {C(50.0), kCodeUnder}, 0}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc.OnNewDocument();
        SetView(kT0, kT0 + 1138, c.upper, c.lower);
        for (std::size_t i = 0; i < c.channels.size(); ++i) {
            const Trace& t = c.channels[i];
            Fill(*doc.GetChannel(static_cast<int>(i) + 1), t.start, t.interval, t.codes, "",
                 kTypeTemp13, t.sensor);
        }
        const QImage img = Render();
        std::map<std::pair<int, int>, QRgb> want;
        for (int n = 1; n <= static_cast<int>(c.channels.size()); ++n) {
            std::vector<GraphSegment> segments;
            model.BuildTrace(*doc.GetChannel(n), segments);
            for (const GraphSegment& s : segments)
                ForEachLinePixel(s, [&](int x, int y) { want[{x, y}] = Ink(n); });
        }
        ASSERT_FALSE(want.empty());
        int wrong = 0;
        for (int y = kTop; y <= kBottom; ++y)
            for (int x = kLeft + 1; x < kRight - 1; ++x) { // the cursors stand beside
                const QRgb got = img.pixel(x, y);
                const auto it = want.find({x, y});
                if (it != want.end() ? got != it->second
                                     : got == Ink(1) || got == Ink(2) || got == Ink(3))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(PaintTest, CursorStyles) {
    // clang-format off
    struct Case { uint32_t style; int on, off; };
    // clang-format on
    const int x = 300;
    doc.GetRange()->cursorA = kT0 + 2 * (x - kLeft); // 2 s per column
    for (const Case c :
         {Case{kCursorSolid, 1000, 0}, Case{kCursorDash, 18, 6}, Case{kCursorDot, 3, 3}}) {
        for (uint32_t selected : {1u, 0u}) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << " selected " << selected);
            doc.m_nCursorStyle = c.style;
            doc.m_nCursorASelect = selected;
            const QImage img = Render();
            ASSERT_EQ(model.m_xCursorA, x);
            const QRgb ink = Entry(selected ? kPalCursorSelected : kPalCursorUnselected);
            for (int y = kTop; y <= kBottom; ++y) {
                const int phase = (y - kTop) % (c.on + c.off);
                // Gaps take the plot's black, also over a grid line.
                EXPECT_EQ(img.pixel(x, y), phase < c.on ? ink : Entry(kPalPlot)) << y;
            }
            EXPECT_EQ(model.m_rcFlagA, (GraphRect{x - 5, kBottom + 2, x + 6, kBottom + 13}));
            // B at the window's end stands on the last plot column but one.
            EXPECT_EQ(img.pixel(kRight - 1, kTop), Entry(kPalCursorSelected));
            EXPECT_EQ(img.pixel(kRight, 150), Entry(kPalPlot));
            EXPECT_EQ(model.m_rcFlagB, (GraphRect{kRight - 11, kBottom + 2, kRight, kBottom + 13}));
        }
    }
}

// Written pictures read back to the same pixels: the graph (odd width, two ratios) as 8 bits a
// pixel, and a picture of 257 colours, one over the table's limit, in full colour.
TEST_F(PaintTest, SavedPngHoldsThePaintedPixels) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.png"));
    QImage many(257, 3, QImage::Format_RGB32);
    for (int x = 0; x < 257; ++x)
        for (int y = 0; y < 3; ++y)
            many.setPixel(x, y, qRgb(x & 0xFF, x >> 8, y));
    const QImage pictures[] = {RenderGraphImage({641, 480}, model, palette, ProgramFont()),
                               RenderGraphImage({641, 480}, model, palette, ProgramFont(), true, 2),
                               many};
    for (const QImage& painted : pictures) {
        ASSERT_TRUE(SaveGraphPng(painted, path));
        const QImage read(path);
        EXPECT_EQ(read.format() == QImage::Format_Indexed8, &painted != &pictures[2]);
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32),
                  painted.convertToFormat(QImage::Format_RGB32))
            << painted.width();
    }
}

} // namespace
} // namespace saroko::test
