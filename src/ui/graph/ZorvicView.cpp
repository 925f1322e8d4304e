#include "ui/graph/ZorvicView.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <cstring>

#include "core/channels/ChannelMoves.h"
#include "core/document/CommandState.h"
#include "ui/graph/LegendPane.h"

namespace saroko {
namespace {

constexpr QImage::Format kLayerFormat = QImage::Format_RGB32;
constexpr int kListMarkPen = 3;

void CopyLayer(const QImage& from, QImage& to) {
    std::memcpy(to.bits(), from.constBits(), static_cast<std::size_t>(from.sizeInBytes()));
}

// A layer's device pixels behind a rectangle of logical pixels.
QRectF Physical(const QRect& r, qreal ratio) {
    return QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio);
}

// Copies the logical rectangle `area` of one layer into the same place of another.
void CopyArea(QPainter& to, const QImage& from, const QRect& area) {
    to.drawImage(QRectF(area), from, Physical(area, from.devicePixelRatio()));
}

// Copies `area` of a layer into the window piece by piece, each under a clip of its own. Under
// a clip of several rectangles the raster engine blends span by span, on worker threads, where
// it copies rows under one; and a cursor step's area is two columns, not their bounding box.
void CopyPieces(QPainter& to, const QImage& from, const QRegion& area) {
    for (const QRect& r : area) {
        to.setClipRect(r);
        CopyArea(to, from, r);
    }
    to.setClipping(false);
}

} // namespace

CZorvicView::CZorvicView(CZorvicDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_palette(doc.Store()), m_model(doc), m_font(ProgramFont()),
      m_painter(m_model, m_palette, m_font) {
    setFont(m_font);
    // Every pixel comes from the layers: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(320, 250);
    setFocusPolicy(Qt::StrongFocus);
    m_repeatTimer.setInterval(kRepeatMilliseconds);
    connect(&m_repeatTimer, &QTimer::timeout, this, &CZorvicView::OnRepeatTimer);
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
        SyncScreen();
        CopyPieces(wp, m_bmScreen, event->region());
        CombineListMark(wp);
        return;
    }
    m_bShowScreenOnly = false;
    OnDraw(wp, event->region());
}

void CZorvicView::OnDraw(QPainter& wp, const QRegion& area) {
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
    // They hold the screen's device pixels and are painted in logical ones. The graph layer
    // takes the base picture and the strips over it; nothing needs the base alone again.
    FitLayer(m_bmGraph);
    {
        QPainter p(&m_bmGraph);
        m_painter.DrawBase(p);
    }
    PlacePane();
    {
        QPainter p(&m_bmGraph);
        m_painter.DrawStrips(p);
    }
    // The window takes the graph layer with the thumbs and cursors drawn over it; the screen
    // layer is made of the same only when something reads it (a cursor step, a copy), so that
    // a run of full paints copies no layer.
    m_model.PrepareThumbs();
    m_bBitmapsMade = 1;
    // The legend pane cuts the view's clip into an L: copied piece by piece as well.
    CopyPieces(wp, m_bmGraph, area);
    m_painter.DrawThumbs(wp);
    m_painter.DrawCursors(wp);
    m_cursorMarks = CursorMarks();
    m_bScreenStale = true;
    CombineListMark(wp);
}

void CZorvicView::SyncScreen() {
    if (!m_bScreenStale)
        return;
    m_bScreenStale = false;
    FitLayer(m_bmScreen); // made when first read: a window only looked at never needs it
    CopyLayer(m_bmGraph, m_bmScreen);
    QPainter p(&m_bmScreen);
    m_painter.DrawThumbs(p);
    m_painter.DrawCursors(p);
    // The window's cursors stand where the full paint drew them, these where they are now.
    m_cursorMarks += CursorMarks();
}

const QImage& CZorvicView::ScreenLayer() {
    SyncScreen();
    return m_bmScreen;
}

void CZorvicView::CombineListMark(QPainter& wp) {
    if (m_bListMark != 1 || m_bmListMark.isNull())
        return;
    // NOT source OR destination: the marker's black frame shows white, its white is clear.
    const QRect plot = ToQRect(m_model.m_rcPlot);
    wp.save();
    wp.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
    CopyArea(wp, m_bmListMark, plot);
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
    RefreshPane();
}

QRegion CZorvicView::CursorArea() const {
    const GraphRect& p = m_model.m_rcPlot;
    const GraphRect& k = m_model.m_rcCursorBar;
    // The flags are one row taller than the strip; take that row too, or a moved flag would
    // leave its bottom edge behind.
    const QRect plot(p.left, p.top, p.right + 1 - p.left, p.bottom + 1 - p.top);
    const QRect strip(k.left, k.top, k.right - k.left, k.bottom + 1 - k.top);
    // Both as they are: the rectangle around them takes in part of the value strip, and with
    // it the thumb that only the screen layer has.
    return QRegion(plot) + QRegion(strip);
}

QRegion CZorvicView::CursorMarks() const {
    QRegion marks;
    for (int x : {m_model.m_xCursorA, m_model.m_xCursorB})
        for (const GraphRect& r : m_model.CursorMarks(x))
            marks += ToQRect(r);
    return marks;
}

void CZorvicView::RedrawCursors() {
    if (!m_bBitmapsMade)
        return;
    SyncScreen();
    // Only the old cursors are taken back to the graph layer, and only they and the new ones
    // are shown: a drag step moves a few columns, not the plot.
    QRegion area = m_cursorMarks.isEmpty() ? CursorArea() : m_cursorMarks;
    {
        QPainter p(&m_bmScreen);
        for (const QRect& r : area)
            CopyArea(p, m_bmGraph, r);
        m_painter.DrawCursors(p);
    }
    m_cursorMarks = CursorMarks();
    area += m_cursorMarks;
    m_bShowScreenOnly = true;
    repaint(area);
}

QSize CZorvicView::LayerSize() const {
    return size() * devicePixelRatioF();
}

void CZorvicView::FitLayer(QImage& layer) const {
    if (layer.size() != LayerSize() || layer.devicePixelRatio() != devicePixelRatioF())
        layer = NewLayer();
}

QImage CZorvicView::NewLayer() const {
    QImage layer(LayerSize(), kLayerFormat);
    layer.setDevicePixelRatio(devicePixelRatioF());
    return layer;
}

void CZorvicView::OpenListMark() {
    m_bListMark = 1;
    m_bmListMark = m_bmGraph.isNull() ? NewLayer() : m_bmGraph.copy();
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
    const int x2 =
        m_model.TimeToX(endTime > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(endTime));
    const GraphRect& plot = m_model.m_rcPlot;

    m_bmListMark = NewLayer();
    m_bmListMark.fill(Qt::white);
    {
        QPainter p(&m_bmListMark);
        p.setClipRect(
            QRect(plot.left, plot.top, plot.right + 1 - plot.left, plot.bottom + 1 - plot.top));
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

namespace saroko {

QEvent::Type CViewMessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void CZorvicView::PlacePane() {
    // Created by the first paint, then placed and filled by every one.
    if (!m_pPane)
        m_pPane = new CLegendPane(*this, m_doc, m_palette, m_font);
    const GraphRect& r = m_model.m_rcPane;
    const QPoint at = mapFromGlobal(QPoint(r.left, r.top));
    const QRect place(at, QSize(r.right - r.left, r.bottom - r.top));
    if (m_pPane->geometry() != place)
        m_pPane->setGeometry(place);
    m_pPane->SetPaneData(FillLegend(m_doc));
    m_pPane->show();
    m_pPane->update(); // inside a paint: repainted when this one is done
}

void CZorvicView::RefreshPane() {
    if (!m_pPane)
        return;
    m_pPane->Refresh(FillLegend(m_doc));
}

bool CZorvicView::OnCommand(int id) {
    switch (id) {
    case cmd::kCursorA:
    case cmd::kCursorB:
    case cmd::kCursorRight:
    case cmd::kCursorLeft:
    case cmd::kZoomIn:
    case cmd::kZoomOut:
    case cmd::kGraphRight:
    case cmd::kGraphLeft:
    case cmd::kGraphUp:
    case cmd::kGraphDown:
    case cmd::kCursorSolid:
    case cmd::kCursorDotted:
    case cmd::kCursorDashed:
        break;
    default:
        return false;
    }
    if (!GetCommandState(m_doc, id).enabled)
        return true; // a greyed command does nothing
    bool refresh = false;
    switch (id) {
    case cmd::kCursorA:
    case cmd::kCursorB:
        m_model.ToggleCursorSelect(id == cmd::kCursorB);
        RedrawCursors();
        break;
    case cmd::kCursorSolid:
        m_model.SetCursorStyle(kCursorSolid);
        RedrawCursors();
        break;
    case cmd::kCursorDotted:
        m_model.SetCursorStyle(kCursorDot);
        RedrawCursors();
        break;
    case cmd::kCursorDashed:
        m_model.SetCursorStyle(kCursorDash);
        RedrawCursors();
        break;
    case cmd::kCursorRight:
    case cmd::kCursorLeft:
        StepCursors(id == cmd::kCursorLeft);
        break;
    case cmd::kZoomIn:
        refresh = m_model.ZoomIn();
        break;
    case cmd::kZoomOut:
        refresh = m_model.ZoomOut();
        break;
    case cmd::kGraphRight:
    case cmd::kGraphLeft:
        refresh = m_model.ScrollTime(id == cmd::kGraphLeft);
        break;
    case cmd::kGraphUp:
    case cmd::kGraphDown:
        refresh = m_model.ScrollValue(id == cmd::kGraphUp);
        break;
    default:
        break;
    }
    if (refresh)
        RefreshGraph();
    return true;
}

void CZorvicView::StepCursors(bool left) {
    m_model.StepCursors(left);
    RedrawCursors();
    RefreshPane();
    m_repeatTimer.start();
}

void CZorvicView::OnRepeatTimer() {
    switch (m_model.m_nRepeatMode) {
    case kRepeatLeft:
        StepCursors(true);
        break;
    case kRepeatRight:
        StepCursors(false);
        break;
    default:
        // Nothing is held: the tick has nothing to do, and neither have the next ones.
        m_repeatTimer.stop();
        break;
    }
}

void CZorvicView::PostViewMessage(const ViewMessage& m) {
    QCoreApplication::postEvent(this, new CViewMessageEvent(m));
}

bool CZorvicView::event(QEvent* event) {
    if (event->type() == CViewMessageEvent::EventType()) {
        OnViewMessage(static_cast<CViewMessageEvent*>(event)->Message());
        return true;
    }
    return QWidget::event(event);
}

int CZorvicView::OnViewMessage(const ViewMessage& m) {
    switch (m.message) {
    case UM_TOGGLE_SHOW:
        if (ToggleChannelShow(m_doc, static_cast<int>(m.word)))
            RefreshGraph();
        break;
    case UM_EDIT_CONDITIONS:
        emit editConditionsRequested();
        break;
    case UM_MOVE_CHANNEL:
        if (ApplyLegendDrag(m_doc, m.word))
            RefreshGraph();
        break;
    case UM_JUMP_TO_MAX:
    case UM_JUMP_TO_MIN:
        if (m_model.JumpToExtreme(static_cast<int>(m.word), m.message == UM_JUMP_TO_MAX))
            RefreshGraph();
        break;
    case UM_LIST_RANGE: {
        const uint32_t start = static_cast<uint32_t>(m.param);
        if (m_model.FollowListRange(start, m.word))
            RefreshGraph();
        ShowListRange(start, m.word);
        break;
    }
    default:
        break;
    }
    return 0;
}

void CZorvicView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !AnyChannelPresent(m_doc) || !m_bBitmapsMade) {
        event->ignore(); // passed on unhandled
        return;
    }
    const QPoint pt = event->position().toPoint();
    switch (m_model.LeftButtonDown({pt.x(), pt.y()})) {
    case PressAction::kScrollTimeLeft:
        m_model.ScrollTime(true);
        RefreshGraph();
        break;
    case PressAction::kScrollTimeRight:
        m_model.ScrollTime(false);
        RefreshGraph();
        break;
    case PressAction::kScrollValueUp:
        m_model.ScrollValue(true);
        RefreshGraph();
        break;
    case PressAction::kScrollValueDown:
        m_model.ScrollValue(false);
        RefreshGraph();
        break;
    case PressAction::kStepLeft:
        StepCursors(true);
        break;
    case PressAction::kStepRight:
        StepCursors(false);
        break;
    case PressAction::kNone:
        break;
    }
}

void CZorvicView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || m_model.m_nDragMode == kDragNone)
        return;
    const QPoint pt = event->position().toPoint();
    switch (m_model.MouseMove({pt.x(), pt.y()})) {
    case DragFeedback::kZoomRect:
        ShowZoomRect();
        break;
    case DragFeedback::kTimeThumb:
        ShowStrip(m_model.m_rcTimeBar);
        break;
    case DragFeedback::kValueThumb:
        ShowStrip(m_model.m_rcValueBar);
        break;
    case DragFeedback::kCursors:
        RedrawCursors();
        break;
    case DragFeedback::kNone:
        break;
    }
}

void CZorvicView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    const CGraphModel::ReleaseOutcome out = m_model.LeftButtonUp({pt.x(), pt.y()});
    if (out.arrowPointer)
        unsetCursor();
    if (out.refreshGraph)
        RefreshGraph();
    if (out.redrawCursors)
        RedrawCursors();
    if (out.refreshPane)
        RefreshPane();
}

void CZorvicView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only the right button's double click has a meaning here.
    if (event->button() != Qt::RightButton)
        return;
    if (AnyChannelPresent(m_doc) && !m_model.ShowsEverything() && m_model.ZoomOut())
        RefreshGraph();
}

void CZorvicView::ShowZoomRect() {
    if (!m_bBitmapsMade)
        return;
    SyncScreen();
    const QRegion area = CursorArea();
    {
        QPainter p(&m_bmScreen);
        for (const QRect& r : area)
            CopyArea(p, m_bmGraph, r);
        const GraphRect& z = m_model.m_rcZoom;
        // From the press point to the pointer, both corners included.
        FrameRect(p, QRect(z.left, z.top, z.right - z.left, z.bottom - z.top),
                  m_painter.Colour(kPalLightEdge));
        m_painter.DrawCursors(p);
    }
    m_cursorMarks = QRegion(); // the frame is there too
    m_bShowScreenOnly = true;
    repaint(area);
}

void CZorvicView::ShowStrip(const GraphRect& strip) {
    if (!m_bBitmapsMade)
        return;
    SyncScreen();
    const QRect area(strip.left, strip.top, strip.right - strip.left + 1,
                     strip.bottom - strip.top + 1);
    {
        QPainter p(&m_bmScreen);
        CopyArea(p, m_bmGraph, area);
        m_painter.DrawThumbs(p);
    }
    if (CursorArea().intersects(area))
        m_cursorMarks = QRegion();
    m_bShowScreenOnly = true;
    repaint(area);
}

} // namespace saroko
