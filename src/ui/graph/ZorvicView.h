#pragma once
// The graph view: paints the document through two off-screen layers (graph, screen), so that
// cursor changes redraw only from the cached graph layer, and a third one that marks the span
// the data list shows.
#include <QEvent>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include "core/channels/ChannelPalette.h"
#include "core/graph/GraphModel.h"
#include "core/graph/Legend.h"
#include "core/graph/ViewMessages.h"
#include "ui/graph/GraphPainter.h"

namespace saroko {

class CLegendPane;

// A message posted to the view, carried out when the event loop next runs.
class CViewMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();
    explicit CViewMessageEvent(const ViewMessage& m) : QEvent(EventType()), m_message(m) {}
    const ViewMessage& Message() const { return m_message; }

private:
    ViewMessage m_message;
};

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
    // Copies the legend's values from the document and repaints the pane at once.
    void RefreshPane();

    // The view's menu and accelerator commands (cursor selection and style, cursor steps,
    // zoom and scroll). False for an id the view does not carry out; a greyed command is
    // taken and does nothing.
    bool OnCommand(int id);
    // Moves the selected cursors one step; held strip buttons repeat it.
    void StepCursors(bool left);

    // The messages of the legend pane and the data list window: posted, carried out later.
    void PostViewMessage(const ViewMessage& m);
    // Carries out one message at once. Always 0.
    int OnViewMessage(const ViewMessage& m);

    CLegendPane* LegendPane() const { return m_pPane; }
    bool RepeatTimerActive() const { return m_repeatTimer.isActive(); }

    // The data list window's span marker.
    void OpenListMark();
    void CloseListMark();
    void ShowListRange(uint32_t start, uint32_t span);
    bool ListMarkOpen() const { return m_bListMark == 1; }

    // The layers as last painted (empty before the first paint), at the window's device
    // pixel ratio. The screen layer is what the window shows.
    const QImage& GraphLayer() const { return m_bmGraph; }
    const QImage& ScreenLayer();
    const QImage& ListMarkLayer() const { return m_bmListMark; }

signals:
    // A double click on a number box of the legend: the recording-conditions dialog.
    void editConditionsRequested();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnRepeatTimer();
    void PlacePane();
    // Drag feedback from the cached graph layer: the zoom rectangle, one strip with its thumb.
    void ShowZoomRect();
    void ShowStrip(const GraphRect& strip);
    // The full paint: layout, all layers, then the screen layer onto `wp`.
    void OnDraw(QPainter& wp, const QRegion& area);
    void CombineListMark(QPainter& wp);
    QRegion CursorArea() const;
    // The columns and flags of both cursors as the model places them now.
    QRegion CursorMarks() const;
    // Makes the screen layer again from the graph layer after a full paint.
    void SyncScreen();
    // A layer as large as the view in the screen's device pixels.
    QSize LayerSize() const;
    QImage NewLayer() const;
    void FitLayer(QImage& layer) const;
    GraphRect WindowRect() const;

    CZorvicDoc& m_doc;
    CChannelPalette m_palette;
    CGraphModel m_model;
    QFont m_font;
    CGraphPainter m_painter;
    CLegendPane* m_pPane = nullptr; // a child window, deleted with the view
    QTimer m_repeatTimer;

    QImage m_bmGraph;
    QImage m_bmScreen;
    QImage m_bmListMark;
    int m_bBitmapsMade = 0;
    int m_bListMark = 0;
    // The next paint only shows the screen layer (a cursor redraw), instead of a full paint.
    bool m_bShowScreenOnly = false;
    // Where the screen layer differs from the graph layer in the cursor area: the cursors as
    // last drawn. Empty when something else was drawn there too (the zoom rectangle), and
    // the next cursor redraw restores the whole area.
    QRegion m_cursorMarks;
    // A full paint drew the window without the screen layer; SyncScreen makes it.
    bool m_bScreenStale = false;
};

} // namespace saroko
