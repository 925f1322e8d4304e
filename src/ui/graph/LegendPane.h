#pragma once
// The legend pane: a child window over the lower part of the graph view that paints the
// legend's picture and turns its clicks into messages posted to the view.
#include <QFont>
#include <QTimer>
#include <QWidget>

#include "core/channels/ChannelPalette.h"
#include "core/graph/Legend.h"
#include "ui/graph/GraphPainter.h"

namespace saroko {

class CZorvicView;

class CLegendPane : public QWidget {
    Q_OBJECT
public:
    CLegendPane(CZorvicView& view, CZorvicDoc& doc, const CChannelPalette& palette,
                const QFont& font);

    // A fresh copy of what the pane shows; the caller repaints.
    void SetPaneData(const LegendData& data) {
        m_data = data;
        m_bNextReady = false;
    }
    // A fresh copy, and at once a repaint of the parts of the picture it changes.
    void Refresh(const LegendData& data);
    const LegendData& PaneData() const { return m_data; }
    const CLegendClicks& Clicks() const { return m_clicks; }
    bool ClickTimerActive() const { return m_clickTimer.isActive(); }
    // The picture as last painted.
    const LegendPicture& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Carry(const CLegendClicks::Outcome& out);
    void OnClickTimer();

    CZorvicView& m_view;
    CZorvicDoc& m_doc;
    const CChannelPalette& m_palette;
    QFont m_font;
    LegendData m_data;
    LegendPicture m_picture;
    // The picture a refresh built for its repaint; the paint takes it instead of building it
    // again, unless something else changed the pane's data since.
    LegendPicture m_next;
    bool m_bNextReady = false;
    // What the last paint was made with besides the picture: when either has changed since,
    // the whole pane is repainted.
    PaletteEntries m_paintedColours{};
    QSize m_paintedSize;
    CTextWidths m_widths;
    CLegendClicks m_clicks;
    QTimer m_clickTimer;
};

} // namespace saroko
