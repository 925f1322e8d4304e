// Pixels of the graph as the one painter draws them, checked at the positions the model
// computes. Runs on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <functional>

#include "core/TestSupport.h"
#include "graph/GraphPainter.h"
#include "support/QtApp.h"

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
    QImage Render(const QSize& size = {640, 480}) {
        QImage image = RenderGraphImage(size, model, palette, ProgramFont());
        EXPECT_EQ(model.m_rcPlot, (GraphRect{kLeft, kTop, kRight, kBottom}));
        return image;
    }
    // Channel 1 unless told; cursors moved out of the way to the window's start.
    ChannelRecord& Channel(uint32_t start, uint32_t interval, const std::vector<uint16_t>& codes,
                           int number = 1, uint8_t sensor = 0) {
        ChannelRecord& ch = *doc.GetChannel(number);
        Fill(ch, start, interval, codes, "", kTypeTemp13, sensor);
        return ch;
    }
    QRgb Ink(int number = 1) const { return Rgb(palette.Entry(number - 1)); }
    QRgb Entry(int index) const { return Rgb(palette.Entry(index)); }
    int CountInPlot(const QImage& img, QRgb colour) const {
        int n = 0;
        for (int y = kTop; y <= kBottom; ++y)
            for (int x = kLeft; x <= kRight; ++x)
                n += img.pixel(x, y) == colour;
        return n;
    }

    CChannelPalette palette;
    CGraphModel model{doc};
};

TEST_F(PaintTest, PlotIsBlackWithASunkenEdge) {
    SetView(kT0, kT0 + 1138, 690, -300); // no grid line on the edges
    const QImage img = Render();
    const int midX = 300, midY = 150;
    EXPECT_EQ(img.pixel(kLeft + 1, kTop + 3), Entry(kPalPlot));
    EXPECT_EQ(img.pixel(kRight, kBottom - 3), Entry(kPalPlot));
    EXPECT_EQ(img.pixel(kRight + 1, midY), Entry(kPalLightEdge)) << "right edge";
    EXPECT_EQ(img.pixel(midX, kBottom + 1), Entry(kPalLightEdge)) << "bottom edge";
    EXPECT_EQ(img.pixel(midX, kTop - 1), Entry(kPalDarkEdge)) << "top edge";
    EXPECT_EQ(img.pixel(kLeft - 1, midY), Entry(kPalDarkEdge)) << "left edge";
    EXPECT_EQ(img.pixel(kLeft - 1, kBottom + 1), Entry(kPalDarkEdge)) << "grey reaches the corner";
    // The client area's etched frame.
    EXPECT_EQ(img.pixel(200, 0), Entry(kPalLightEdge));
    EXPECT_EQ(img.pixel(200, 4), Entry(kPalDarkEdge));
    EXPECT_EQ(img.pixel(639, 200), Entry(kPalDarkEdge));
    EXPECT_EQ(img.pixel(635, 200), Entry(kPalLightEdge));
    EXPECT_EQ(img.pixel(200, 479), Entry(kPalDarkEdge));
}

TEST_F(PaintTest, GridLinesAtTheComputedPositions) {
    const QImage img = Render();
    const std::vector<TimeTick> times = model.TimeTicks();
    const std::vector<ValueTick> values = model.ValueTicks();
    ASSERT_GE(times.size(), 3u);
    ASSERT_GE(values.size(), 5u);
    auto onValueLine = [&](int y) {
        for (const ValueTick& v : values)
            if (v.y == y)
                return true;
        return false;
    };
    for (const TimeTick& t : times) {
        SCOPED_TRACE(t.time);
        for (int y : {kTop, kTop + 40, kBottom}) {
            EXPECT_EQ(img.pixel(t.x, y), Entry(kPalGrid));
            if (!onValueLine(y)) {
                EXPECT_EQ(img.pixel(t.x + 1, y), Entry(kPalPlot));
            }
        }
    }
    for (const ValueTick& v : values) {
        SCOPED_TRACE(v.label);
        EXPECT_EQ(img.pixel(kLeft + 2, v.y), Entry(kPalGrid));
        EXPECT_EQ(img.pixel(kRight, v.y), Entry(kPalGrid));
        if (v.y + 1 <= kBottom && !onValueLine(v.y + 1)) {
            EXPECT_EQ(img.pixel(kLeft + 2, v.y + 1), Entry(kPalPlot));
        }
        // The label's text stands left of the plot.
        bool text = false;
        for (int x = model.ValueLabelX(); x < kLeft - 3; ++x)
            for (int y = v.labelY; y < v.labelY + model.m_tm.height; ++y)
                text |= img.pixel(x, y) == Entry(kPalText);
        EXPECT_TRUE(text);
    }
}

TEST_F(PaintTest, TraceAtTimeToXAndValueToY) {
    std::vector<uint16_t> codes;
    for (int i = 0; i < 40; ++i)
        codes.push_back(C(-250.0 + 20.0 * i));
    Channel(kT0 + 10, 20, codes);
    const QImage img = Render();
    // 10 pixels apart: every sample has its plus sign; each line leaves out its end pixel,
    // which the next line or the marker draws.
    for (int i = 0; i < 40; ++i) {
        const int x = model.TimeToX(kT0 + 10 + 20 * i);
        const int y = model.ValueToY(codes[i], kTypeTemp13, 0);
        EXPECT_EQ(img.pixel(x, y), Ink()) << "sample " << i;
    }
    doc.GetChannel(1)->interval = 2; // one pixel apart, no markers
    const QImage dense = Render();
    for (int i = 0; i < 39; ++i) {
        const int x = model.TimeToX(kT0 + 10 + 2 * i);
        const int y = model.ValueToY(codes[i], kTypeTemp13, 0);
        EXPECT_EQ(dense.pixel(x, y), Ink()) << "sample " << i;
    }
    const int xLast = model.TimeToX(kT0 + 10 + 2 * 39);
    EXPECT_NE(dense.pixel(xLast, model.ValueToY(codes[39], kTypeTemp13, 0)), Ink())
        << "the last line stops short of its end";
}

TEST_F(PaintTest, MarkersExactlyWhenSamplesAreMoreThanThreePixelsApart) {
    // clang-format off
    struct Case { uint32_t interval; bool markers; };
    // clang-format on
    for (const Case c : {Case{8, true}, Case{6, false}}) {
        SCOPED_TRACE(c.interval);
        Channel(kT0 + 100, c.interval, std::vector<uint16_t>(20, C(100.0)));
        const QImage img = Render();
        const int x = model.TimeToX(kT0 + 100 + 5 * c.interval);
        const int y = model.ValueToY(C(100.0), kTypeTemp13, 0);
        EXPECT_EQ(img.pixel(x, y), Ink());
        for (int d : {-2, -1, 1, 2}) // half size 2 at the screen's corner
            EXPECT_EQ(img.pixel(x, y + d) == Ink(), c.markers) << d;
        EXPECT_NE(img.pixel(x, y - 3), Ink());
    }
}

TEST_F(PaintTest, LoneSampleIsOnePixel) {
    Channel(kT0 + 101, 6, {kCodeMissing, C(12.3), kCodeMissing, kCodeMissing});
    const QImage img = Render();
    EXPECT_EQ(CountInPlot(img, Ink()), 1);
    EXPECT_EQ(img.pixel(model.TimeToX(kT0 + 107), model.ValueToY(C(12.3), kTypeTemp13, 0)), Ink());

    Channel(kT0 + 101, 6, {kCodeMissing, kCodeMissing});
    EXPECT_EQ(CountInPlot(Render(), Ink()), 0) << "only missing samples draw nothing";
}

TEST_F(PaintTest, OverAndUnderOfPt100AndJPt100) {
    Channel(kT0 + 100, 6, {kCodeOver}, 1, 0); // Pt100
    Channel(kT0 + 200, 6, {kCodeOver}, 2, 1); // JPt100
    Channel(kT0 + 300, 6, {kCodeUnder}, 3, 1);
    const QImage img = Render();
    const auto at = [&](uint32_t t, double v, uint8_t sensor) {
        return img.pixel(model.TimeToX(kT0 + t), model.ValueToY(C(v), kTypeTemp13, sensor));
    };
    EXPECT_EQ(at(100, 600.0, 0), Ink(1));
    EXPECT_EQ(at(200, 500.0, 1), Ink(2));
    EXPECT_EQ(at(300, -200.0, 1), Ink(3));

    // With a window that does not reach them, the lines run to the plot's edges.
    SetView(kT0, kT0 + 1138, 100, -100);
    Channel(kT0 + 100, 60, {C(50.0), kCodeOver}, 1, 0);
    Channel(kT0 + 100, 60, {C(50.0), kCodeUnder}, 2, 0);
    Channel(kT0 + 100, 60, {}, 3);
    const QImage cut = Render();
    const auto reaches = [&](int y, QRgb ink) {
        for (int x = model.TimeToX(kT0 + 100); x <= model.TimeToX(kT0 + 160); ++x)
            if (cut.pixel(x, y) == ink)
                return true;
        return false;
    };
    // Each line stops one pixel short of its (cut) end.
    EXPECT_TRUE(reaches(kTop + 1, Ink(1))) << "Over runs to the top edge";
    EXPECT_TRUE(reaches(kBottom - 1, Ink(2))) << "Under runs to the bottom edge";
}

TEST_F(PaintTest, CursorAtViewEndIsOnTheLastPlotColumn) {
    const QImage img = Render();
    for (int y : {kTop, 150, kBottom})
        EXPECT_EQ(img.pixel(kRight - 1, y), Entry(kPalCursorSelected)) << y;
    EXPECT_EQ(img.pixel(kRight, 150), Entry(kPalPlot));
    EXPECT_EQ(img.pixel(kLeft, 150), Entry(kPalCursorSelected)) << "cursor A at the start";
    EXPECT_EQ(model.m_rcFlagB, (GraphRect{kRight - 11, kBottom + 2, kRight, kBottom + 13}));
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
        }
    }
}

TEST_F(PaintTest, TimeLabelNearTheRightEdgeIsShiftedLeft) {
    // A window ending on a grid line: its label would stand past the right edge.
    const uint32_t noon = Local(2008, 3, 5, 12, 0, 0);
    SetView(noon, noon + 600, 700, -300);
    const QImage img = Render();
    const std::vector<TimeTick> ticks = model.TimeTicks();
    ASSERT_FALSE(ticks.empty());
    ASSERT_GT(ticks.back().x + 24, 630);
    const int labelX = 640 - 8 * model.m_tm.aveCharWidth - 10;
    EXPECT_EQ(ticks.back().labelX, labelX);
    const int top = model.TimeLabelY(), bottom = top + 2 * model.m_tm.height;
    int inside = 0, beyond = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = labelX - 30; x < 640; ++x)
            if (img.pixel(x, y) == Entry(kPalText))
                (x >= 630 ? beyond : inside) += 1;
    EXPECT_GT(inside, 0);
    EXPECT_EQ(beyond, 0) << "the label ends 10 pixels inside the client area";
}

TEST_F(PaintTest, StripsButtonsTracksAndThumbs) {
    SetView(kT0, kT0 + 1138, 700, -300);
    doc.GetRange()->dataStart = kT0 - 1138;
    doc.GetRange()->dataEnd = kT0 + 2 * 1138; // the window is the middle third
    const QImage img = Render();
    const GraphRect& t = model.m_rcTimeBar;
    // Buttons: light top-left edge, black bottom-right edge.
    EXPECT_EQ(img.pixel(t.left, t.top), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(t.left + 14, t.top + 14), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(t.right - 14, t.top), qRgb(255, 255, 255));
    // Track black, thumb green over the middle third.
    const GraphRect thumb = model.TimeThumbFill();
    EXPECT_EQ(img.pixel(t.left + 20, t.top + 5), Entry(kPalPlot));
    EXPECT_EQ(img.pixel((thumb.left + thumb.right) / 2, t.top + 5), Entry(kPalThumb));
    EXPECT_EQ(img.pixel(thumb.left - 1, t.top + 5), Entry(kPalPlot));
    EXPECT_EQ(img.pixel(thumb.right, t.top + 5), Entry(kPalPlot));
    EXPECT_NEAR(thumb.left - (t.left + 16), (t.Width() - 31) / 3, 1);
    // The value thumb covers the whole track: the value window is the full scale.
    const GraphRect& v = model.m_rcValueBar;
    EXPECT_EQ(img.pixel(v.left + 5, (v.top + v.bottom) / 2), Entry(kPalThumb));
    EXPECT_EQ(img.pixel(v.left, v.top), qRgb(255, 255, 255));
    // The cursor strip: its track and both buttons.
    const GraphRect& k = model.m_rcCursorBar;
    EXPECT_EQ(img.pixel(k.left, k.top), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(k.right - 1, k.top + 10), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(200, k.top + 4), Entry(kPalPlot));
}

} // namespace
} // namespace saroko::test
