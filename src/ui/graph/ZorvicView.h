#pragma once
// The graph view: paints the document through three off-screen layers (base, graph, screen),
// so that cursor changes redraw only from the cached graph layer, and a fourth one that marks
// the span the data list shows.
#include <QImage>
#include <QWidget>

#include "channels/ChannelPalette.h"
#include "graph/GraphModel.h"
#include "graph/GraphPainter.h"

namespace saroko {

class CZorvicView : public QWidget {
    Q_OBJECT
public:
    explicit CZorvicView(CZorvicDoc& doc, QWidget* parent = nullptr);
    ~CZorvicView() override;

    CZorvicDoc& Doc() { return m_doc; }
    CGraphModel& Model() { return m_model; }
    CChannelPalette& Palette() { return m_palette; }
    const QFont& ViewFont() const { return m_font; }

    // After a range change: repaint the graph's changing areas at once.
    void RefreshGraph();
    // After a cursor change: redraw the cursors over the cached graph layer and show them.
    void RedrawCursors();

    // The data list window's span marker.
    void OpenListMark();
    void CloseListMark();
    void ShowListRange(uint32_t start, uint32_t span);
    bool ListMarkOpen() const { return m_bListMark == 1; }

    // The layers as last painted (empty before the first paint).
    const QImage& BaseLayer() const { return m_bmBase; }
    const QImage& GraphLayer() const { return m_bmGraph; }
    const QImage& ScreenLayer() const { return m_bmScreen; }
    const QImage& ListMarkLayer() const { return m_bmListMark; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The full paint: layout, all layers, then the screen layer onto `wp`.
    void OnDraw(QPainter& wp);
    void CombineListMark(QPainter& wp);
    QRect CursorArea() const;
    GraphRect WindowRect() const;

    CZorvicDoc& m_doc;
    CChannelPalette m_palette;
    CGraphModel m_model;
    QFont m_font;
    CGraphPainter m_painter;

    QImage m_bmBase;
    QImage m_bmGraph;
    QImage m_bmScreen;
    QImage m_bmListMark;
    int m_bBitmapsMade = 0;
    int m_bListMark = 0;
    // The next paint only shows the screen layer (a cursor redraw), instead of a full paint.
    bool m_bShowScreenOnly = false;
};

} // namespace saroko
