#include "ui/graph/LegendPane.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "ui/graph/GraphPainter.h"
#include "ui/graph/ZorvicView.h"

namespace saroko {

CLegendPane::CLegendPane(CZorvicView& view, CZorvicDoc& doc, const CChannelPalette& palette,
                         const QFont& font)
    : QWidget(&view), m_view(view), m_doc(doc), m_palette(palette), m_font(font), m_widths(font) {
    setFont(m_font);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The view keeps the keyboard, so that its accelerators keep working.
    setFocusPolicy(Qt::NoFocus);
    m_clickTimer.setSingleShot(false);
    m_clickTimer.setInterval(kLegendClickMilliseconds);
    connect(&m_clickTimer, &QTimer::timeout, this, &CLegendPane::OnClickTimer);
}

void CLegendPane::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (m_bNextReady) {
        m_bNextReady = false;
        m_picture = std::move(m_next);
        DrawLegendPicture(p, size(), m_picture, m_palette, m_font, &event->region(), &m_widths);
    } else {
        m_picture = PaintLegend(p, size(), m_doc, m_data, m_palette, m_font, m_clicks.FrameRow(),
                                PaintSurface::kScreen, &event->region(), &m_widths);
    }
    if (event->region().contains(rect())) {
        m_paintedColours = m_palette.Entries();
        m_paintedSize = size();
    }
    if (hasFocus())
        m_view.setFocus();
}

void CLegendPane::Refresh(const LegendData& data) {
    SetPaneData(data);
    if (m_paintedSize != size() || m_paintedColours != m_palette.Entries()) {
        repaint();
        return;
    }
    LegendPicture now = BuildLegendPicture(m_doc, m_data, MetricsOf(m_font), width(), height(),
                                           m_clicks.FrameRow());
    QRegion changed;
    const auto measure = [this](const std::string& text) { return m_widths.Width(text); };
    for (const GraphRect& r : LegendChangedAreas(m_picture, now, measure,
                                                 QFontMetrics(m_font).height(), width(), height()))
        changed += ToQRect(r);
    if (changed.isEmpty())
        return;
    m_next = std::move(now);
    m_bNextReady = true;
    repaint(changed);
    m_bNextReady = false; // not painted (hidden): the next paint builds its own
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
