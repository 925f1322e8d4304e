#include "graph/ZorvicView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <cstring>

namespace saroko {
namespace {

constexpr QImage::Format kLayerFormat = QImage::Format_RGB32;
constexpr int kListMarkPen = 3;

void CopyLayer(const QImage& from, QImage& to) {
    std::memcpy(to.bits(), from.constBits(), static_cast<std::size_t>(from.sizeInBytes()));
}

} // namespace

CZorvicView::CZorvicView(CZorvicDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_palette(doc.Store()), m_model(doc), m_font(ProgramFont()),
      m_painter(m_model, m_palette, m_font) {
    setFont(m_font);
    // Every pixel comes from the layers: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(320, 250);
}

CZorvicView::~CZorvicView() = default;

GraphRect CZorvicView::WindowRect() const {
    const QPoint g = mapToGlobal(QPoint(0, 0));
    return {g.x(), g.y(), g.x() + width(), g.y() + height()};
}

void CZorvicView::paintEvent(QPaintEvent* event) {
    QPainter wp(this);
    if (m_bShowScreenOnly && m_bBitmapsMade) {
        m_bShowScreenOnly = false;
        wp.drawImage(event->rect(), m_bmScreen, event->rect());
        CombineListMark(wp);
        return;
    }
    m_bShowScreenOnly = false;
    OnDraw(wp);
}

void CZorvicView::OnDraw(QPainter& wp) {
    const GraphRect client{0, 0, width(), height()};
    const GraphRect window = WindowRect();
    switch (m_model.Layout(window, client, MetricsOf(m_font))) {
    case LayoutResult::kDrawn:
        break;
    case LayoutResult::kResize: {
        // Grow the top-level window until the view's bottom edge reaches the minimum.
        QWidget* top = this->window();
        top->resize(top->width(), top->height() + (kMinViewBottom - window.bottom));
        return;
    }
    case LayoutResult::kEmpty:
        return;
    }

    // The layers are remade at every paint; at an unchanged size their memory is reused.
    const QSize size = this->size();
    for (QImage* layer : {&m_bmBase, &m_bmGraph, &m_bmScreen})
        if (layer->size() != size)
            *layer = QImage(size, kLayerFormat);
    {
        QPainter p(&m_bmBase);
        m_painter.DrawBase(p);
    }
    // (The legend pane is placed and refreshed here once it exists.)

    CopyLayer(m_bmBase, m_bmGraph);
    {
        QPainter p(&m_bmGraph);
        m_painter.DrawStrips(p);
    }
    CopyLayer(m_bmGraph, m_bmScreen);
    {
        QPainter p(&m_bmScreen);
        m_model.PrepareThumbs();
        m_painter.DrawThumbs(p);
        m_painter.DrawCursors(p);
    }
    m_bBitmapsMade = 1;
    wp.drawImage(0, 0, m_bmScreen);
    CombineListMark(wp);
}

void CZorvicView::CombineListMark(QPainter& wp) {
    if (m_bListMark != 1 || m_bmListMark.isNull())
        return;
    // NOT source OR destination: the marker's black frame shows white, its white is clear.
    const QRect plot = ToQRect(m_model.m_rcPlot);
    wp.save();
    wp.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
    wp.drawImage(plot, m_bmListMark, plot);
    wp.restore();
}

void CZorvicView::RefreshGraph() {
    if (!m_bBitmapsMade) {
        repaint();
        return;
    }
    QRegion region;
    for (const GraphRect& r : m_model.RefreshRects())
        if (!r.IsEmpty())
            region += ToQRect(r);
    m_bShowScreenOnly = false;
    repaint(region);
    // (The legend pane is refreshed here once it exists.)
}

QRect CZorvicView::CursorArea() const {
    const GraphRect& p = m_model.m_rcPlot;
    const GraphRect& k = m_model.m_rcCursorBar;
    // The flags are one row taller than the strip; take that row too, or a moved flag would
    // leave its bottom edge behind.
    const QRect plot(p.left, p.top, p.right + 1 - p.left, p.bottom + 1 - p.top);
    const QRect strip(k.left, k.top, k.right - k.left, k.bottom + 1 - k.top);
    return plot.united(strip);
}

void CZorvicView::RedrawCursors() {
    if (!m_bBitmapsMade)
        return;
    const QRect area = CursorArea();
    {
        QPainter p(&m_bmScreen);
        p.drawImage(area, m_bmGraph, area);
        m_painter.DrawCursors(p);
    }
    m_bShowScreenOnly = true;
    repaint(area);
}

void CZorvicView::OpenListMark() {
    m_bListMark = 1;
    m_bmListMark = m_bmGraph.isNull() ? QImage(size(), kLayerFormat) : m_bmGraph.copy();
}

void CZorvicView::CloseListMark() {
    m_bmListMark = QImage();
    m_bListMark = 0;
    update();
}

void CZorvicView::ShowListRange(uint32_t start, uint32_t span) {
    if (m_bListMark != 1 || !m_bBitmapsMade)
        return;
    const uint64_t endTime = static_cast<uint64_t>(start) + span;
    const int x1 = m_model.TimeToX(start);
    const int x2 = m_model.TimeToX(endTime > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(endTime));
    const GraphRect& plot = m_model.m_rcPlot;

    m_bmListMark = QImage(size(), kLayerFormat);
    m_bmListMark.fill(Qt::white);
    {
        QPainter p(&m_bmListMark);
        p.setClipRect(QRect(plot.left, plot.top, plot.right + 1 - plot.left,
                            plot.bottom + 1 - plot.top));
        QPen pen(Qt::black, kListMarkPen);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        // Pixel centres: the 3-pixel pen covers one pixel either side of the frame's line.
        const QPointF corners[] = {{x1 + 0.5, plot.top + 1.5},
                                   {x2 + 0.5, plot.top + 1.5},
                                   {x2 + 0.5, plot.bottom - 0.5},
                                   {x1 + 0.5, plot.bottom - 0.5}};
        p.drawPolygon(corners, 4);
    }
    m_bShowScreenOnly = true;
    repaint(ToQRect({plot.left, plot.top, plot.right + 1, plot.bottom + 1}));
}

} // namespace saroko
