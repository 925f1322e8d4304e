#pragma once
// A document with a graph model on it, and a way to set the range block in one line.
#include "core/TestSupport.h"
#include "graph/GraphModel.h"

namespace saroko::test {

struct Window {
    uint32_t dataStart, dataEnd, viewStart, viewEnd;
    float fullUpper, fullLower, viewUpper, viewLower;
};

class GraphTest : public DocTest {
protected:
    void SetWindow(const Window& w) {
        GraphRange& r = *doc.GetRange();
        r.dataStart = r.calcStart = w.dataStart;
        r.dataEnd = r.calcEnd = w.dataEnd;
        r.viewStart = r.cursorA = w.viewStart;
        r.viewEnd = r.cursorB = w.viewEnd;
        r.fullUpper = w.fullUpper;
        r.fullLower = w.fullLower;
        r.viewUpper = w.viewUpper;
        r.viewLower = w.viewLower;
    }
    // The view at the screen's top-left corner, as the command line renders it.
    LayoutResult LayOut(int width, int height) {
        return model.Layout({0, 0, width, height}, {0, 0, width, height}, kMetrics);
    }
    // SetWindow, then the layout on 640 x 480.
    void Show(const Window& w) {
        SetWindow(w);
        ASSERT_EQ(LayOut(640, 480), LayoutResult::kDrawn);
    }
    GraphRange& Range() { return *doc.GetRange(); }
    // The view window against what a case expects (the caller's SCOPED_TRACE names the case).
    void ExpectView(uint32_t start, uint32_t end, float upper, float lower) {
        EXPECT_EQ(Range().viewStart, start);
        EXPECT_EQ(Range().viewEnd, end);
        EXPECT_FLOAT_EQ(Range().viewUpper, upper);
        EXPECT_FLOAT_EQ(Range().viewLower, lower);
    }

    static constexpr TextMetrics kMetrics{6, 13};
    CGraphModel model{doc};
};

} // namespace saroko::test
