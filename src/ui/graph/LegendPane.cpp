#include "ui/graph/LegendPane.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/graph/GraphPainter.h"
#include "ui/graph/ZorvicView.h"

namespace saroko {

CLegendPane::CLegendPane(CZorvicView& view, CZorvicDoc& doc, const CChannelPalette& palette,
                         const QFont& font)
    : QWidget(&view), m_view(view), m_doc(doc), m_palette(palette), m_font(font) {
    setFont(m_font);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The view keeps the keyboard, so that its accelerators keep working.
    setFocusPolicy(Qt::NoFocus);
    m_clickTimer.setSingleShot(false);
    m_clickTimer.setInterval(kLegendClickMilliseconds);
    connect(&m_clickTimer, &QTimer::timeout, this, &CLegendPane::OnClickTimer);
}

void CLegendPane::paintEvent(QPaintEvent*) {
    QPainter p(this);
    m_picture = PaintLegend(p, size(), m_doc, m_data, m_palette, m_font, m_clicks.FrameRow());
    if (hasFocus())
        m_view.setFocus();
}

void CLegendPane::Carry(const CLegendClicks::Outcome& out) {
    for (const ViewMessage& m : out.post)
        m_view.PostViewMessage(m);
    if (out.busyPointer)
        setCursor(Qt::BusyCursor);
    if (out.startTimer)
        m_clickTimer.start();
    if (out.killTimer)
        m_clickTimer.stop();
    if (out.repaint)
        repaint();
}

void CLegendPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    Carry(m_clicks.ButtonDown(m_data, pt.x(), pt.y()));
    if (m_clicks.FrameRow() != 0)
        repaint(); // the frame around the pressed name
}

void CLegendPane::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    Carry(m_clicks.MouseMove(pt.x(), pt.y(), event->buttons() & Qt::LeftButton));
}

void CLegendPane::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    unsetCursor();
    Carry(m_clicks.ButtonUp(pt.x(), pt.y()));
}

void CLegendPane::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    Carry(m_clicks.DoubleClick(m_data, pt.x(), pt.y()));
}

void CLegendPane::OnClickTimer() {
    Carry(m_clicks.Timer());
}

} // namespace saroko
