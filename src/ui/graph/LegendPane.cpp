#include "graph/LegendPane.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "graph/GraphPainter.h"
#include "graph/LineRaster.h"
#include "graph/ZorvicView.h"
#include "platform/QtSettingsStore.h"

namespace saroko {
namespace {

} // namespace

CLegendPane::CLegendPane(CZorvicView& view, CZorvicDoc& doc, const CChannelPalette& palette,
                         const QFont& font)
    : QWidget(&view), m_view(view), m_doc(doc), m_palette(palette), m_font(font),
      m_tm(MetricsOf(font)) {
    m_nAscent = QFontMetrics(m_font).ascent();
    setFont(m_font);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The view keeps the keyboard, so that its accelerators keep working.
    setFocusPolicy(Qt::NoFocus);
    m_clickTimer.setSingleShot(false);
    m_clickTimer.setInterval(kLegendClickMilliseconds);
    connect(&m_clickTimer, &QTimer::timeout, this, &CLegendPane::OnClickTimer);
}

QColor CLegendPane::Colour(int index) const {
    const PaletteEntry& e = m_palette.Entry(index);
    return QColor(e.red, e.green, e.blue);
}

void CLegendPane::paintEvent(QPaintEvent*) {
    m_picture = BuildLegendPicture(m_doc, m_data, m_tm, width(), height(), m_clicks.FrameRow());
    QPainter p(this);
    p.fillRect(rect(), Colour(kPalBackground));
    const auto lines = [&](const std::vector<LegendLine>& list) {
        for (const LegendLine& l : list) {
            const QColor c = Colour(l.colour);
            const GraphSegment& g = l.line;
            // The end point is left out, whichever way the line runs.
            if (g.y1 == g.y2)
                p.fillRect(g.x1 < g.x2 ? QRect(g.x1, g.y1, g.x2 - g.x1, 1)
                                       : QRect(g.x2 + 1, g.y1, g.x1 - g.x2, 1),
                           c);
            else if (g.x1 == g.x2)
                p.fillRect(g.y1 < g.y2 ? QRect(g.x1, g.y1, 1, g.y2 - g.y1)
                                       : QRect(g.x1, g.y2 + 1, 1, g.y1 - g.y2),
                           c);
            else
                ForEachLinePixel(g, [&](int x, int y) { p.fillRect(x, y, 1, 1, c); });
        }
    };
    lines(m_picture.lines);
    p.setFont(m_font);
    const QFontMetrics fm(m_font);
    for (const LegendText& t : m_picture.texts) {
        const QString s = FromCp932(t.text);
        p.fillRect(QRect(t.x, t.y, fm.horizontalAdvance(s), fm.height()), Colour(kPalBackground));
        p.setPen(Colour(t.colour));
        p.drawText(t.x, t.y + m_nAscent, s);
    }
    p.setPen(Colour(kPalFrame));
    p.setBrush(Qt::NoBrush);
    for (const GraphRect& b : m_picture.boxes)
        p.drawRect(b.left, b.top, b.right - b.left - 1, b.bottom - b.top - 1);
    lines(m_picture.arrows);
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
