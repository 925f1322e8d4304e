#pragma once
// The graph's painting, shared by the window, the command line's PNG, the clipboard and the
// printer: every function draws on any QPainter from the geometry the model laid out.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/channels/ChannelPalette.h"
#include "core/graph/GraphModel.h"
#include "core/graph/Legend.h"

class QPainter;

namespace saroko {

// The program font: "標準ゴシック" at 12 pixels, falling back to the installed Japanese gothic.
QFont ProgramFont();
TextMetrics MetricsOf(const QFont& font);

inline QRect ToQRect(const GraphRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

class CGraphPainter {
public:
    CGraphPainter(CGraphModel& model, const CChannelPalette& palette, const QFont& font);

    // The entry's colour as it is now; looked up at every paint.
    QColor Colour(int index) const;
    const QFont& Font() const { return m_font; }

    // Frame, plot, grids, labels and (with `traces`) the traces of the shown channels; places
    // the cursors.
    void DrawBase(QPainter& p, bool traces = true);
    // The three strips: arrow buttons and tracks.
    void DrawStrips(QPainter& p);
    // Both thumbs from the model's thumb rectangles.
    void DrawThumbs(QPainter& p);
    // One cursor line and its flag; the flag's rectangle is kept in the model.
    void DrawCursor(QPainter& p, char letter);
    // Both cursors, the one on top last.
    void DrawCursors(QPainter& p);

    // A line from (x1, y1) up to, not including, (x2, y2) in palette entry `index`.
    void Line(QPainter& p, int index, int x1, int y1, int x2, int y2) const;
    // A rectangle outlined and filled with one entry (right and bottom exclusive).
    void Fill(QPainter& p, int index, const GraphRect& r) const;
    // The black track or plot face with its sunken edge one pixel outside.
    void SunkenFace(QPainter& p, const GraphRect& face) const;
    void Text(QPainter& p, int x, int y, const std::string& text) const;

private:
    void DrawTrace(QPainter& p, const ChannelRecord& ch, int index);

    CGraphModel& m_model;
    const CChannelPalette& m_palette;
    QFont m_font;
    int m_nAscent = 0;
    // Reused between paints, so that a full paint allocates nothing.
    std::vector<GraphSegment> m_segments;
    std::vector<QPoint> m_points;
    std::vector<QRect> m_rects;
};

// What the picture is for: the screen shows the controls (strips, thumbs, cursors and their
// columns in the legend); paper shows only what the data say.
enum class PaintSurface { kScreen, kPaper };

// Lays the graph out for a surface of `size` standing at the screen's top-left corner and
// paints the screen layer (graph, strips, thumbs, cursors; on paper the graph alone). False
// when the size is too small to draw anything. Without `traces` the caller draws its own.
bool PaintGraph(QPainter& p, const QSize& size, CGraphModel& model, const CChannelPalette& palette,
                const QFont& font, PaintSurface surface = PaintSurface::kScreen,
                bool traces = true);
// The widths of texts in one font, each measured once: the legend pane paints the same
// texts again at every cursor step.
class CTextWidths {
public:
    explicit CTextWidths(const QFont& font) : m_metrics(font) {}
    int Width(const std::string& cp932);

private:
    QFontMetrics m_metrics;
    std::unordered_map<std::string, int> m_widths;
};

// The legend pane's picture in the pane's own pixels from (0, 0), on any painter: the pane
// window, the command line's pictures and the report. `frameRow` 1..8 frames that row's name.
// With `only`, the items that cannot touch it are left out (the painter is clipped to it);
// `widths` measures the texts instead of the font.
LegendPicture PaintLegend(QPainter& p, const QSize& size, const CZorvicDoc& doc,
                          const LegendData& data, const CChannelPalette& palette, const QFont& font,
                          int frameRow = 0, PaintSurface surface = PaintSurface::kScreen,
                          const QRegion* only = nullptr, CTextWidths* widths = nullptr);
// The same for a picture built already.
void DrawLegendPicture(QPainter& p, const QSize& size, const LegendPicture& picture,
                       const CChannelPalette& palette, const QFont& font,
                       const QRegion* only = nullptr, CTextWidths* widths = nullptr);
// The view as the window shows it: the graph's screen layer and, with `legend`, the legend
// pane over its lower part, filled from the document as the view fills it.
bool PaintView(QPainter& p, const QSize& size, CGraphModel& model, const CChannelPalette& palette,
               const QFont& font, bool legend, PaintSurface surface = PaintSurface::kScreen,
               bool traces = true);

// The same into a new image of `size` logical pixels at `scale` device pixels each.
QImage RenderGraphImage(const QSize& size, CGraphModel& model, const CChannelPalette& palette,
                        const QFont& font, bool legend = false, qreal scale = 1.0);

// Writes a rendered picture as PNG: of at most 256 colours as an 8-bit picture with its colour
// table, at a light compression; the same pixels as the 32-bit picture, in a fraction of the time.
bool SaveGraphPng(const QImage& image, const QString& path);

// The outline QPainter::drawRect(r) draws with a one-pixel pen at 100 %, as whole logical
// pixels at any device pixel ratio.
void FrameRect(QPainter& p, const QRect& r, const QColor& colour);

} // namespace saroko
