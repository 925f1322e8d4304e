#include "ui/graph/GraphPainter.h"

#include <QFontMetrics>
#include <QImageWriter>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "core/graph/ColourTable.h"
#include "core/graph/LineRaster.h"
#include "platform/QtSettingsStore.h"
#include "ui/graph/GraphBitmaps.h"

namespace saroko {
namespace {

constexpr int kProgramFontPixels = 12;

int Sign(int v) {
    return (v > 0) - (v < 0);
}

// Our lines run from the first point up to, not including, the second, whichever way they
// point. Qt leaves out an end only by its own ordering, so each line is handed over as the
// inclusive line to the last pixel before the second point, drawn with square caps.
void AddLine(std::vector<QLine>& lines, int x1, int y1, int x2, int y2) {
    const int dx = x2 - x1, dy = y2 - y1;
    const int n = std::max(std::abs(dx), std::abs(dy));
    if (n == 0)
        return;
    const auto along = [n](int from, int d) {
        const long long num = 2LL * (n - 1) * d;
        const long long half = num >= 0 ? n : -n;
        return from + static_cast<int>((num + half) / (2LL * n));
    };
    if (std::abs(dx) >= std::abs(dy))
        lines.emplace_back(x1, y1, x2 - Sign(dx), along(y1, dy));
    else
        lines.emplace_back(x1, y1, along(x1, dx), y2 - Sign(dy));
}

QPen LinePen(const QColor& colour) {
    QPen pen(colour, 0);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

} // namespace

QFont ProgramFont() {
    QFont font;
    font.setFamilies({QString::fromUtf8("標準ゴシック"), QStringLiteral("IPAGothic"),
                      QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("monospace")});
    font.setPixelSize(kProgramFontPixels);
    font.setStyleHint(QFont::TypeWriter);
    // Plain pixels in palette colours only, as on an indexed display.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

TextMetrics MetricsOf(const QFont& font) {
    const QFontMetrics fm(font);
    return {fm.averageCharWidth(), fm.height()};
}

CGraphPainter::CGraphPainter(CGraphModel& model, const CChannelPalette& palette, const QFont& font)
    : m_model(model), m_palette(palette), m_font(font) {
    m_nAscent = QFontMetrics(m_font).ascent();
}

QColor CGraphPainter::Colour(int index) const {
    const PaletteEntry& e = m_palette.Entry(index);
    return QColor(e.red, e.green, e.blue);
}

void CGraphPainter::Line(QPainter& p, int index, int x1, int y1, int x2, int y2) const {
    std::vector<QLine> one;
    AddLine(one, x1, y1, x2, y2);
    if (one.empty())
        return;
    const QLine& l = one.front();
    // Straight lines as rectangles of whole logical pixels: one pixel wide at 100 %, as wide
    // as a logical pixel on a scaled screen, never a thin hairline.
    if (l.x1() == l.x2() || l.y1() == l.y2()) {
        p.fillRect(QRect(QPoint(std::min(l.x1(), l.x2()), std::min(l.y1(), l.y2())),
                         QPoint(std::max(l.x1(), l.x2()), std::max(l.y1(), l.y2()))),
                   Colour(index));
        return;
    }
    p.setPen(LinePen(Colour(index)));
    p.drawLine(l);
}

void CGraphPainter::Fill(QPainter& p, int index, const GraphRect& r) const {
    const GraphRect n = NormalizedRect(r.left, r.top, r.right, r.bottom);
    if (!n.IsEmpty())
        p.fillRect(ToQRect(n), Colour(index));
}

void CGraphPainter::SunkenFace(QPainter& p, const GraphRect& face) const {
    Fill(p, kPalPlot, face);
    const int l = face.left, t = face.top, r = face.right - 1, b = face.bottom - 1;
    Line(p, kPalLightEdge, r + 1, t - 1, r + 1, b + 1);
    Line(p, kPalLightEdge, r + 1, b + 1, l - 1, b + 1);
    Line(p, kPalDarkEdge, r + 1, t - 1, l - 1, t - 1);
    Line(p, kPalDarkEdge, l - 1, t - 1, l - 1, b + 2);
}

void CGraphPainter::Text(QPainter& p, int x, int y, const std::string& text) const {
    const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics fm(m_font);
    // Opaque text: the cell takes the background entry first.
    p.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), Colour(kPalBackground));
    p.setPen(Colour(kPalText));
    p.setFont(m_font);
    p.drawText(x, y + m_nAscent, s);
}

void CGraphPainter::DrawBase(QPainter& p, bool traces) {
    const GraphRect& c = m_model.m_rcClient;
    const GraphRect& plot = m_model.m_rcPlot;
    const int L = c.left, T = c.top, R = c.right, B = c.bottom;

    // On pixels the background goes round the plot only: the plot's face is filled over it
    // below, and at a high pixel density a second fill of most of the layer is most of a full
    // paint. Printers and PDF keep the one rectangle they always had.
    const GraphRect face{plot.left, plot.top, plot.right + 1, plot.bottom + 1};
    const int dev = p.device()->devType();
    const bool pixels =
        dev == QInternal::Image || dev == QInternal::Pixmap || dev == QInternal::Widget;
    if (pixels && face.left > L && face.top > T && face.right < R && face.bottom < B) {
        Fill(p, kPalBackground, {L, T, R, face.top});
        Fill(p, kPalBackground, {L, face.bottom, R, B});
        Fill(p, kPalBackground, {L, face.top, face.left, face.bottom});
        Fill(p, kPalBackground, {face.right, face.top, R, face.bottom});
    } else {
        Fill(p, kPalBackground, c);
    }
    Line(p, kPalLightEdge, R - 5, T + 4, R - 5, B - 4);
    Line(p, kPalLightEdge, L, T, R, T);
    Line(p, kPalLightEdge, L, T, L, B);
    Line(p, kPalLightEdge, L + 4, B - 5, R - 4, B - 5);
    Line(p, kPalDarkEdge, R - 1, T, R - 1, B);
    Line(p, kPalDarkEdge, L + 4, T + 4, R - 4, T + 4);
    Line(p, kPalDarkEdge, L + 4, T + 4, L + 4, B - 4);
    Line(p, kPalDarkEdge, L, B - 1, R, B - 1);

    SunkenFace(p, face);

    const int lineHeight = m_model.m_tm.height;
    for (const TimeTick& tick : m_model.TimeTicks()) {
        Line(p, kPalGrid, tick.x, plot.top, tick.x, plot.bottom + 1);
        Text(p, tick.labelX, m_model.TimeLabelY(), tick.date);
        Text(p, tick.labelX, m_model.TimeLabelY() + lineHeight, tick.time);
    }

    m_model.PlaceCursors();

    for (const ValueTick& tick : m_model.ValueTicks()) {
        Line(p, kPalGrid, plot.left, tick.y, plot.right + 1, tick.y);
        Text(p, m_model.ValueLabelX(), tick.labelY, tick.label);
    }

    const CZorvicDoc& doc = m_model.Doc();
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = doc.GetChannel(n);
        if (traces && ch && doc.m_bShow[static_cast<std::size_t>(n - 1)] == 1)
            DrawTrace(p, *ch, ChannelPaletteIndex(n));
    }
}

void CGraphPainter::DrawTrace(QPainter& p, const ChannelRecord& ch, int index) {
    const int dev = p.device()->devType();
    const bool pixels =
        dev == QInternal::Image || dev == QInternal::Pixmap || dev == QInternal::Widget;
    m_model.BuildTrace(ch, m_segments,
                       pixels ? CGraphModel::TraceDetail::kPixels
                              : CGraphModel::TraceDetail::kLines);
    if (m_segments.empty())
        return;
    const QColor colour = Colour(index);
    // On a plain image (the view's layers, the picture for files, clipboard and printer) the
    // pixels are written directly: a full paint stays within one screen frame.
    // A layer at a whole-number device pixel ratio k takes each logical pixel as a k x k block.
    QImage* image =
        p.device()->devType() == QInternal::Image ? static_cast<QImage*>(p.device()) : nullptr;
    const qreal ratio = p.device()->devicePixelRatio();
    const int k = static_cast<int>(ratio);
    if (image && image->isDetached() && p.transform().type() == QTransform::TxNone &&
        !p.hasClipping() && k >= 1 && k == ratio &&
        (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32 ||
         image->format() == QImage::Format_ARGB32_Premultiplied)) {
        const QRgb rgb = colour.rgb();
        const int w = image->width() / k, h = image->height() / k;
        uchar* bits = image->bits();
        const qsizetype stride = image->bytesPerLine();
        const auto put = [&](int x, int y) {
            if (static_cast<unsigned>(x) >= static_cast<unsigned>(w) ||
                static_cast<unsigned>(y) >= static_cast<unsigned>(h))
                return;
            for (int dy = 0; dy < k; ++dy) {
                QRgb* row = reinterpret_cast<QRgb*>(bits + (y * k + dy) * stride) + x * k;
                for (int dx = 0; dx < k; ++dx)
                    row[dx] = rgb;
            }
        };
        for (const GraphSegment& s : m_segments) {
            if (s.x1 != s.x2 || s.y1 == s.y2) {
                ForEachLinePixel(s, put);
                continue;
            }
            // A column, most of a dense trace: its rows straight down, the same pixels.
            if (static_cast<unsigned>(s.x1) >= static_cast<unsigned>(w))
                continue;
            const int top = std::max(s.y1 < s.y2 ? s.y1 : s.y2 + 1, 0);
            const int end = std::min(s.y1 < s.y2 ? s.y2 : s.y1 + 1, h);
            uchar* line = bits + static_cast<qsizetype>(top) * k * stride + s.x1 * k * 4;
            for (int row = top * k; row < end * k; ++row, line += stride)
                for (int dx = 0; dx < k; ++dx)
                    reinterpret_cast<QRgb*>(line)[dx] = rgb;
        }
        return;
    }
    if (!pixels) {
        // A printer or PDF keeps the lines as lines, one logical pixel wide, through the
        // centres of the pixels a screen would light; consecutive lines share their ends.
        std::vector<QLineF> lines;
        lines.reserve(m_segments.size());
        for (const GraphSegment& s : m_segments)
            if (s.x1 != s.x2 || s.y1 != s.y2)
                lines.emplace_back(s.x1 + 0.5, s.y1 + 0.5, s.x2 + 0.5, s.y2 + 0.5);
        QPen pen(colour, 1);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        p.save();
        p.setPen(pen);
        p.drawLines(lines.data(), static_cast<int>(lines.size()));
        p.restore();
        return;
    }
    if (ratio != 1.0) {
        // Any other ratio: whole logical pixels through the painter's own scaling.
        m_rects.clear();
        for (const GraphSegment& s : m_segments)
            ForEachLinePixel(s, [&](int x, int y) { m_rects.emplace_back(x, y, 1, 1); });
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRects(m_rects.data(), static_cast<int>(m_rects.size()));
        return;
    }
    m_points.clear();
    for (const GraphSegment& s : m_segments)
        ForEachLinePixel(s, [&](int x, int y) { m_points.emplace_back(x, y); });
    p.setPen(LinePen(colour));
    p.drawPoints(m_points.data(), static_cast<int>(m_points.size()));
}

void CGraphPainter::DrawStrips(QPainter& p) {
    const GraphRect& t = m_model.m_rcTimeBar;
    p.drawImage(t.left, t.top, GraphBitmap(kBmpTimeLeft));
    p.drawImage(t.right - 14, t.top, GraphBitmap(kBmpTimeRight));
    SunkenFace(p, {t.left + 16, t.top + 1, t.right - 16, t.bottom - 1});

    const GraphRect& v = m_model.m_rcValueBar;
    p.drawImage(v.left, v.top, GraphBitmap(kBmpValueUp));
    p.drawImage(v.left, v.bottom - 14, GraphBitmap(kBmpValueDown));
    SunkenFace(p, {v.left + 1, v.top + 16, v.right - 1, v.bottom - 16});

    const GraphRect& k = m_model.m_rcCursorBar;
    p.drawImage(k.left, k.top, GraphBitmap(kBmpCursorLeft));
    p.drawImage(k.right - 14, k.top, GraphBitmap(kBmpCursorRight));
    SunkenFace(p, {k.left + 16, k.top + 1, k.right - 16, k.bottom - 1});
}

void CGraphPainter::DrawThumbs(QPainter& p) {
    if (!m_model.m_rcValueThumb.IsEmpty())
        Fill(p, kPalThumb, m_model.ValueThumbFill());
    if (!m_model.m_rcTimeThumb.IsEmpty())
        Fill(p, kPalThumb, m_model.TimeThumbFill());
}

void CGraphPainter::DrawCursor(QPainter& p, char letter) {
    const CZorvicDoc& doc = m_model.Doc();
    const bool a = letter == 'A';
    const int x = a ? m_model.m_xCursorA : m_model.m_xCursorB;
    const bool selected = (a ? doc.m_nCursorASelect : doc.m_nCursorBSelect) == 1;
    const QColor ink = Colour(selected ? kPalCursorSelected : kPalCursorUnselected);
    const QColor gap = Colour(kPalPlot);
    const GraphRect& plot = m_model.m_rcPlot;

    // Dashes from the top down; the gaps are painted in the plot's background.
    const DashPattern dash = CursorDashPattern(static_cast<int>(doc.m_nCursorStyle));
    const int lx = m_model.CursorLineX(x);
    const int end = plot.bottom + 1;
    for (int y = plot.top; y < end;) {
        const int on = std::min(dash.on, end - y);
        p.fillRect(QRect(lx, y, 1, on), ink);
        y += on;
        if (dash.off == 0 || y >= end)
            continue;
        const int off = std::min(dash.off, end - y);
        p.fillRect(QRect(lx, y, 1, off), gap);
        y += off;
    }

    const GraphRect flag = m_model.FlagRect(x);
    p.drawImage(flag.left, flag.top, GraphBitmap(a ? kBmpFlagA : kBmpFlagB));
    (a ? m_model.m_rcFlagA : m_model.m_rcFlagB) = flag;
}

void CGraphPainter::DrawCursors(QPainter& p) {
    if (m_model.m_bBOnTop == 1) {
        DrawCursor(p, 'A');
        DrawCursor(p, 'B');
    } else {
        DrawCursor(p, 'B');
        DrawCursor(p, 'A');
    }
}

bool PaintGraph(QPainter& p, const QSize& size, CGraphModel& model, const CChannelPalette& palette,
                const QFont& font, PaintSurface surface, bool traces) {
    const GraphRect client{0, 0, size.width(), size.height()};
    if (model.Layout(client, client, MetricsOf(font)) != LayoutResult::kDrawn)
        return false;
    CGraphPainter painter(model, palette, font);
    painter.DrawBase(p, traces);
    if (surface == PaintSurface::kPaper)
        return true;
    painter.DrawStrips(p);
    model.PrepareThumbs();
    painter.DrawThumbs(p);
    painter.DrawCursors(p);
    return true;
}

int CTextWidths::Width(const std::string& cp932) {
    const auto it = m_widths.find(cp932);
    if (it != m_widths.end())
        return it->second;
    // Values along a long drag are many; a full table starts again.
    if (m_widths.size() >= 4096)
        m_widths.clear();
    const int w = m_metrics.horizontalAdvance(FromCp932(cp932));
    m_widths.emplace(cp932, w);
    return w;
}

LegendPicture PaintLegend(QPainter& p, const QSize& size, const CZorvicDoc& doc,
                          const LegendData& data, const CChannelPalette& palette, const QFont& font,
                          int frameRow, PaintSurface surface, const QRegion* only,
                          CTextWidths* widths) {
    LegendPicture picture =
        BuildLegendPicture(doc, data, MetricsOf(font), size.width(), size.height(), frameRow,
                           surface == PaintSurface::kPaper);
    DrawLegendPicture(p, size, picture, palette, font, only, widths);
    return picture;
}

void DrawLegendPicture(QPainter& p, const QSize& size, const LegendPicture& picture,
                       const CChannelPalette& palette, const QFont& font, const QRegion* only,
                       CTextWidths* widths) {
    const auto colour = [&palette](int index) {
        const PaletteEntry& e = palette.Entry(index);
        return QColor(e.red, e.green, e.blue);
    };
    const QFontMetrics fm(font);
    // Everything, or what reaches into `within` (the painter clipped to it).
    const auto paint = [&](const QRect* within) {
        const auto wanted = [within](const GraphRect& r) {
            return !within || within->intersects(ToQRect(r));
        };
        const auto lines = [&](const std::vector<LegendLine>& list) {
            for (const LegendLine& l : list) {
                if (!wanted(LegendLineArea(l)))
                    continue;
                const QColor c = colour(l.colour);
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
        p.fillRect(within ? *within : QRect(QPoint(0, 0), size), colour(kPalBackground));
        lines(picture.lines);
        p.setFont(font);
        for (const LegendText& t : picture.texts) {
            const int w = widths ? widths->Width(t.text) : fm.horizontalAdvance(FromCp932(t.text));
            if (!wanted(LegendTextArea(t, w, fm.height())))
                continue;
            const QString s = FromCp932(t.text);
            p.fillRect(QRect(t.x, t.y, w, fm.height()), colour(kPalBackground));
            p.setPen(colour(t.colour));
            p.drawText(t.x, t.y + fm.ascent(), s);
        }
        for (const GraphRect& b : picture.boxes)
            if (wanted(b))
                FrameRect(p, QRect(b.left, b.top, b.right - b.left - 1, b.bottom - b.top - 1),
                          colour(kPalFrame));
        lines(picture.arrows);
    };
    if (!only) {
        paint(nullptr);
        return;
    }
    // Rectangle by rectangle: under a clip of many rectangles the raster engine draws each
    // item span by span, many times slower.
    p.save();
    for (const QRect& r : *only) {
        p.setClipRect(r);
        paint(&r);
    }
    p.restore();
}

bool PaintView(QPainter& p, const QSize& size, CGraphModel& model, const CChannelPalette& palette,
               const QFont& font, bool legend, PaintSurface surface, bool traces) {
    if (!PaintGraph(p, size, model, palette, font, surface, traces))
        return false;
    if (legend) {
        // Laid out for a window at the screen's corner, the pane's place is in view pixels.
        const GraphRect& r = model.m_rcPane;
        p.save();
        p.translate(r.left, r.top);
        p.setClipRect(QRect(0, 0, r.right - r.left, r.bottom - r.top));
        PaintLegend(p, QSize(r.right - r.left, r.bottom - r.top), model.Doc(),
                    FillLegend(model.Doc()), palette, font, 0, surface);
        p.restore();
    }
    return true;
}

QImage RenderGraphImage(const QSize& size, CGraphModel& model, const CChannelPalette& palette,
                        const QFont& font, bool legend, qreal scale) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintView(p, size, model, palette, font, legend);
    p.end();
    return image;
}

bool SaveGraphPng(const QImage& image, const QString& path) {
    QImageWriter writer(path, "PNG");
    // Qt's PNG quality q is zlib's level (100 - q) * 9 / 91: 80 is level 1.
    writer.setQuality(80);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return writer.write(image);
    std::vector<uint32_t> table;
    const auto width = static_cast<std::size_t>(rgb.width());
    for (int y = 0; y < rgb.height(); ++y)
        if (!IndexColours(std::span(reinterpret_cast<const uint32_t*>(rgb.constScanLine(y)), width),
                          std::span(indexed.scanLine(y), width), table))
            return writer.write(image);
    indexed.setColorTable(QList<QRgb>(table.begin(), table.end()));
    indexed.setDotsPerMeterX(image.dotsPerMeterX());
    indexed.setDotsPerMeterY(image.dotsPerMeterY());
    return writer.write(indexed);
}

void FrameRect(QPainter& p, const QRect& r, const QColor& colour) {
    const int l = r.left(), t = r.top(), w = r.width() + 1, h = r.height() + 1;
    p.fillRect(QRect(l, t, w, 1), colour);
    p.fillRect(QRect(l, t + h - 1, w, 1), colour);
    p.fillRect(QRect(l, t, 1, h), colour);
    p.fillRect(QRect(l + w - 1, t, 1, h), colour);
}

} // namespace saroko
