#include "ui/printing/ReportPdf.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTimeZone>
#include <algorithm>
#include <deque>
#include <tuple>

#include "core/archive/AuditTrail.h"
#include "core/printing/DataList.h"
#include "core/report/ReportGraph.h"
#include "platform/QtSettingsStore.h"
#include "ui/graph/GraphPainter.h"

namespace saroko::ui {
namespace {

constexpr int kDpi = 1200;
// A trace keeps its extremes per column of this many page units: 300 columns an inch, the
// resolution of a common printer and finer than the trace's own pen (a graph pixel, about
// 1/120 inch on the page), so the trace looks the same as one through every sample.
constexpr double kTraceColumn = 4;
// The graph is laid out as a window of this size and scaled onto the page's width.
constexpr int kViewWidth = 1280;
constexpr int kViewHeight = 760;
constexpr double kBodyPoints = 8.5;
constexpr double kTitlePoints = 13;

// The report's own texts, Japanese in the source.
struct ReportPdf {
    Q_DECLARE_TR_FUNCTIONS(ReportPdf)
};

double Mm(double mm) {
    return mm * kDpi / 25.4;
}

QFont ReportFont(double points, bool bold = false) {
    QFont font = ProgramFont();
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

QString TimeText(uint32_t t) {
    return QString::fromStdString(ListTimeText(t));
}

// One column of a table: where it starts (mm from the left margin) and its heading.
struct Column {
    double x;
    QString head;
};

// Lays the report out twice: a dry pass that only measures, to count the pages, then the
// pass that paints and numbers them "n / m".
class CReportWriter {
public:
    CReportWriter(QPdfWriter& writer, int pages, const QString& title, const QStringList& header)
        : m_writer(writer), m_nPages(pages), m_szTitle(title), m_header(header) {}

    bool Dry() const { return m_nPages == 0; }
    bool Begin() {
        if (!Dry() && !m_painter.begin(&m_writer))
            return false;
        m_width = m_writer.width();
        m_height = m_writer.height();
        StartPage();
        return true;
    }
    bool End() { return Dry() || m_painter.end(); }
    int Pages() const { return m_nPage; }
    QPainter& Painter() { return m_painter; }
    double Y() const { return m_y; }
    void Skip(double units) { m_y += units; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void NewPage() {
        if (!Dry())
            m_writer.newPage();
        StartPage();
    }
    // A new page when `units` no longer fit below.
    bool Need(double units) {
        if (m_y + units <= m_height)
            return false;
        NewPage();
        return true;
    }

    void Line(const QString& text, double points = kBodyPoints, bool bold = false) {
        const auto& [font, fm] = FaceOf(points, bold);
        Need(fm.height() * 1.4);
        if (!Dry()) {
            m_painter.setFont(font);
            m_painter.setPen(Qt::black);
            m_painter.drawText(QPointF(0, m_y + fm.ascent()), text);
        }
        m_y += fm.height() * 1.4;
    }

    void Row(const std::vector<Column>& columns, const QStringList& cells, bool bold = false,
             const QColor& first = Qt::black) {
        const auto& [font, fm] = FaceOf(kBodyPoints, bold);
        if (!Dry()) {
            m_painter.setFont(font);
            for (std::size_t i = 0;
                 i < columns.size() && i < static_cast<std::size_t>(cells.size()); ++i) {
                m_painter.setPen(i == 1 ? first : QColor(Qt::black));
                m_painter.drawText(QPointF(Mm(columns[i].x), m_y + fm.ascent()),
                                   cells[static_cast<qsizetype>(i)]);
            }
        }
        m_y += fm.height() * 1.35;
    }
    double LineHeight() { return FaceOf(kBodyPoints).metrics.height() * 1.4; }
    double RowHeight() { return FaceOf(kBodyPoints).metrics.height() * 1.35; }
    void Rule() {
        if (!Dry()) {
            m_painter.setPen(QPen(Qt::black, Mm(0.2)));
            m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        }
        m_y += Mm(1.2);
    }
    // The text cut in its middle to `mm` wide.
    QString Elided(const QString& text, double mm) {
        return FaceOf(kBodyPoints).metrics.elidedText(text, Qt::ElideMiddle, Mm(mm));
    }
    // A line to write on by hand, from `x` to `x + width` (mm), under a label.
    void WritingLine(double x, double width, const QString& label) {
        if (Dry())
            return;
        const QFontMetricsF& fm = BodyTextPen();
        m_painter.drawText(QPointF(Mm(x), m_y + fm.ascent()), label);
        m_painter.setPen(QPen(Qt::black, Mm(0.2)));
        const double y = m_y + RowHeight() * 2.2;
        m_painter.drawLine(QPointF(Mm(x), y), QPointF(Mm(x + width), y));
    }

private:
    struct Face {
        QFont font;
        QFontMetricsF metrics;
    };
    // A font and its metrics on the page, each looked up once: finding a font is most of
    // what a line of text costs.
    const Face& FaceOf(double points, bool bold = false) {
        for (const auto& [p, b, face] : m_faces)
            if (p == points && b == bold)
                return face;
        const QFont font = ReportFont(points, bold);
        return std::get<2>(
            m_faces.emplace_back(points, bold, Face{font, QFontMetricsF(font, &m_writer)}));
    }
    // Sets the body font in black and returns its metrics on the page.
    const QFontMetricsF& BodyTextPen() {
        const Face& body = FaceOf(kBodyPoints);
        m_painter.setFont(body.font);
        m_painter.setPen(Qt::black);
        return body.metrics;
    }
    // Every page names the report, its files and period, who made it and whether the files
    // were verified, above a rule; the page number at the right.
    void StartPage() {
        ++m_nPage;
        m_y = 0;
        const auto& [titleFont, title] = FaceOf(kTitlePoints, true);
        const QFontMetricsF& body = FaceOf(kBodyPoints).metrics;
        if (!Dry()) {
            BodyTextPen();
            const QString page = QStringLiteral("%1 / %2").arg(m_nPage).arg(m_nPages);
            m_painter.drawText(QPointF(m_width - body.horizontalAdvance(page), body.ascent()),
                               page);
            m_painter.setFont(titleFont);
            m_painter.drawText(QPointF(0, title.ascent()), m_szTitle);
            BodyTextPen();
            double y = title.height() * 1.2;
            for (const QString& line : m_header) {
                m_painter.drawText(QPointF(0, y + body.ascent()),
                                   body.elidedText(line, Qt::ElideMiddle, m_width));
                y += body.height() * 1.25;
            }
        }
        m_y = title.height() * 1.2 + body.height() * 1.25 * static_cast<double>(m_header.size());
        Rule();
        m_y += Mm(1);
    }

    QPdfWriter& m_writer;
    QPainter m_painter;
    int m_nPages;                                       // 0 on the dry pass
    std::deque<std::tuple<double, bool, Face>> m_faces; // stays where it is as it grows
    QString m_szTitle;
    QStringList m_header;
    int m_width = 0;
    int m_height = 0;
    int m_nPage = 0;
    double m_y = 0;
};

QString UnitText(const CZorvicDoc& doc, int type) {
    return FromCp932(doc.FormatUnit(type, 0)).trimmed();
}

QString LimitText(const CZorvicDoc& doc, const std::optional<double>& limit) {
    if (!limit)
        return ReportPdf::tr("なし");
    return QString::fromStdString(FigureText(doc, kTypeTemp13, limit)) + QLatin1Char(' ') +
           UnitText(doc, kTypeTemp13);
}

bool AnyLimit(const ReportFigures& r) {
    return std::any_of(r.channels.begin(), r.channels.end(),
                       [](const ChannelFigures& f) { return f.low || f.high; });
}

// One limit line: where it lies in the graph's pixels, its colour and its text.
struct LimitMark {
    double y;
    QColor colour;
    QString text;
};

// The limits across the plot, in the graph's own pixels, each value once, naming its channels
// when not every channel has it. The labels stand at the plot's right edge where core placed
// them: lines closer than a text's height share one label, and no label covers another.
void DrawLimits(QPainter& p, const CGraphModel& model, const CZorvicDoc& doc,
                const ReportFigures& r, const QFont& font) {
    const GraphRect& plot = model.m_rcPlot;
    const GraphRange& range = *doc.GetRange();
    if (model.m_fValuePerPixel == 0)
        return;
    std::vector<LimitMark> marks;
    for (const bool high : {true, false}) {
        std::vector<double> drawn;
        for (const ChannelFigures& f : r.channels) {
            const std::optional<double>& v = high ? f.high : f.low;
            if (!v || std::find(drawn.begin(), drawn.end(), *v) != drawn.end())
                continue;
            drawn.push_back(*v);
            QStringList users;
            for (const ChannelFigures& g : r.channels)
                if ((high ? g.high : g.low) == v)
                    users << QStringLiteral("Ch.%1").arg(g.number);
            QString label = (high ? ReportPdf::tr("上限") : ReportPdf::tr("下限")) +
                            QLatin1Char(' ') + LimitText(doc, v);
            if (users.size() < static_cast<qsizetype>(r.channels.size()))
                label += QStringLiteral(" (") + users.join(QStringLiteral(", ")) + QLatin1Char(')');
            const double y = plot.bottom + 0.5 - (*v - range.viewLower) / model.m_fValuePerPixel;
            if (y >= plot.top && y <= plot.bottom + 1)
                marks.push_back({y, high ? QColor(220, 0, 0) : QColor(0, 0, 220), label});
        }
    }
    p.save();
    p.setClipRect(
        QRect(plot.left, plot.top, plot.right + 1 - plot.left, plot.bottom + 1 - plot.top));
    p.setFont(font);
    const QFontMetricsF fm(font);
    std::vector<double> ys, widths;
    for (const LimitMark& m : marks) {
        widths.push_back(fm.horizontalAdvance(m.text));
        QPen pen(m.colour, 1.5);
        pen.setDashPattern({6, 3});
        p.setPen(pen);
        p.drawLine(QPointF(plot.left, m.y), QPointF(plot.right + 1, m.y));
        ys.push_back(m.y);
    }
    const double gap = 2;
    const LabelText text{fm.height() + gap, fm.horizontalAdvance(QStringLiteral(" / ")),
                         (plot.right - plot.left) * 0.6};
    for (const LimitLabelPlace& place :
         PlaceLimitLabels(ys, widths, text, plot.top + 1, plot.bottom)) {
        // A shared label lists its lines from the top, each part in its line's colour.
        double x = plot.right - 4;
        for (auto it = place.lines.rbegin(); it != place.lines.rend(); ++it) {
            const LimitMark& m = marks[static_cast<std::size_t>(*it)];
            const QString part =
                it == place.lines.rbegin() ? m.text : m.text + QStringLiteral(" / ");
            x -= fm.horizontalAdvance(part);
            // Opaque, as PDF/A-1 has no transparency: the traces do not run through the text.
            p.fillRect(QRectF(x - 1, place.top, fm.horizontalAdvance(part) + 2, fm.height()),
                       Qt::white);
            p.setPen(m.colour);
            p.drawText(QPointF(x, place.top + fm.ascent()), part);
        }
    }
    p.restore();
}

// The traces over the report's plot, reduced to the first, extreme and last points of each
// column of the PDF's resolution; Over and Under as small triangles on the plot's top and
// bottom edges. `scale` is the page's device units per graph pixel.
void DrawTraces(QPainter& p, const CGraphModel& model, const CZorvicDoc& doc,
                const ReportFigures& r, const CChannelPalette& palette, double scale) {
    const GraphRect& g = model.m_rcPlot;
    const GraphRange& range = *doc.GetRange();
    if (model.m_fValuePerPixel == 0 || model.m_fSecPerPixel == 0)
        return;
    // Drawn in whole units of the page, which the PDF stores in fewer digits.
    ReportPlot plot;
    plot.left = g.left * scale;
    plot.right = (g.right + 1) * scale;
    plot.top = (g.top + 0.5) * scale;
    plot.bottom = (g.bottom + 0.5) * scale;
    plot.from = range.viewStart;
    plot.secondsPerUnit = model.m_fSecPerPixel / scale;
    plot.lower = range.viewLower;
    plot.valuesPerUnit = model.m_fValuePerPixel / scale;
    plot.columns = std::max(1, static_cast<int>((plot.right - plot.left) / kTraceColumn));
    p.save();
    p.scale(1 / scale, 1 / scale);
    p.setClipRect(
        QRectF(plot.left, g.top * scale, plot.right - plot.left, (g.bottom + 1 - g.top) * scale));
    std::vector<QPoint> points;
    for (const ChannelFigures& f : r.channels) {
        const ChannelRecord* ch = doc.GetChannel(f.number);
        if (!ch)
            continue;
        const PaletteEntry& e = palette.Entry(ChannelPaletteIndex(f.number));
        const QColor colour(e.red, e.green, e.blue);
        QPen pen(colour, scale);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const ReportTrace trace = BuildReportTrace(doc, *ch, plot, r.from, r.to);
        for (const std::vector<TracePoint>& run : trace.runs) {
            points.clear();
            for (const TracePoint& t : run) {
                const QPoint q(static_cast<int>(std::lround(t.x)),
                               static_cast<int>(std::lround(t.y)));
                if (points.empty() || points.back() != q)
                    points.push_back(q);
            }
            if (points.size() == 1)
                p.drawPoint(points[0]);
            else
                p.drawPolyline(points.data(), static_cast<int>(points.size()));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        const double half = 3 * scale, tall = 5 * scale;
        for (const EdgeMark& m : trace.marks) {
            const double edge = (m.over ? g.top : g.bottom + 1) * scale;
            const double inner = m.over ? edge + tall : edge - tall;
            const QPointF tri[3] = {{m.x - half, inner}, {m.x + half, inner}, {m.x, edge}};
            p.drawPolygon(tri, 3);
        }
    }
    p.restore();
}

bool AnyOverUnder(const ReportFigures& r) {
    return std::any_of(r.channels.begin(), r.channels.end(),
                       [](const ChannelFigures& f) { return f.over > 0 || f.under > 0; });
}

// Page 1's graph: the view over the report's window, the legend's statistics over it too, the
// value window over the measured values and the limits. The document's ranges are put back
// after.
void DrawGraph(CReportWriter& w, CZorvicDoc& doc, const CChannelPalette& palette,
               const ReportFigures& r) {
    // The line that says where Over and Under are drawn stays under the graph.
    const double note = AnyOverUnder(r) ? w.LineHeight() : 0;
    const double scale =
        std::min(w.Width() / double(kViewWidth), (w.Height() - w.Y() - note) / double(kViewHeight));
    if (w.Dry()) {
        w.Skip(kViewHeight * scale);
        if (note > 0)
            w.Skip(note);
        return;
    }
    const GraphRange kept = doc.m_range;
    GraphRange& range = *doc.GetRange();
    const auto period = SampledPeriod(r).value_or(std::pair(r.from, r.to));
    range.viewStart = period.first;
    range.viewEnd = std::max(period.second, period.first + 10);
    range.calcStart = period.first;
    range.calcEnd = period.second;
    if (const std::optional<ValueWindow> window = ReportValueWindow(r)) {
        range.viewLower = range.fullLower = static_cast<float>(window->lower);
        range.viewUpper = range.fullUpper = static_cast<float>(window->upper);
    }
    doc.CalcStatistics();

    CChannelPalette print;
    PaletteEntries entries = palette.Entries();
    ApplyColourPrintPalette(entries);
    print.SetEntries(entries);

    QPainter& p = w.Painter();
    p.save();
    p.translate(0, w.Y());
    p.scale(scale, scale);
    CGraphModel model(doc);
    const QFont font = ProgramFont();
    PaintView(p, QSize(kViewWidth, kViewHeight), model, print, font, true, PaintSurface::kPaper,
              false);
    DrawTraces(p, model, doc, r, print, scale);
    DrawLimits(p, model, doc, r, font);
    p.restore();
    w.Skip(kViewHeight * scale);
    if (note > 0)
        w.Line(ReportPdf::tr(
            "▲ Over (測定範囲の上を超えたｻﾝﾌﾟﾙ) はｸﾞﾗﾌの上端に、▼ Under (下を超えたｻﾝﾌﾟﾙ) "
            "は下端に示しています。目盛りは測定値と上限・下限に合わせています。"));

    doc.m_range = kept;
    doc.CalcStatistics();
}

void DrawFigures(CReportWriter& w, const CZorvicDoc& doc, const CChannelPalette& palette,
                 const ReportFigures& r) {
    // clang-format off
    const std::vector<Column> columns = {
        {0, ReportPdf::tr("Ch.")}, {9, ReportPdf::tr("名前")}, {31, ReportPdf::tr("単位")}, {41, ReportPdf::tr("間隔")},
        {55, ReportPdf::tr("ｻﾝﾌﾟﾙ")}, {70, ReportPdf::tr("欠測")}, {82, ReportPdf::tr("Over")}, {94, ReportPdf::tr("Under")},
        {108, ReportPdf::tr("最高")}, {122, ReportPdf::tr("最高の時刻")}, {157, ReportPdf::tr("最低")}, {171, ReportPdf::tr("最低の時刻")},
        {206, ReportPdf::tr("平均")}, {220, ReportPdf::tr("MKT")}, {236, ReportPdf::tr("上限超過")}, {256, ReportPdf::tr("下限未満")},
    };
    // clang-format on
    w.Line(ReportPdf::tr("チャンネル毎の集計"), kBodyPoints + 2, true);
    w.Row(
        columns,
        [&] {
            QStringList heads;
            for (const Column& c : columns)
                heads << c.head;
            return heads;
        }(),
        true);
    w.Rule();
    for (const ChannelFigures& f : r.channels) {
        if (w.Need(w.RowHeight()))
            w.Rule();
        const char* label = IntervalLabel(f.interval);
        const PaletteEntry& e = palette.Entry(ChannelPaletteIndex(f.number));
        const auto text = [&](const std::optional<double>& v) {
            return QString::fromStdString(FigureText(doc, f.type, v));
        };
        w.Row(columns,
              {QString::number(f.number), FromCp932(f.name), UnitText(doc, f.type),
               label ? QString::fromLatin1(label).trimmed()
                     : QStringLiteral("%1 sec.").arg(f.interval),
               QString::number(f.samples), QString::number(f.missing), QString::number(f.over),
               QString::number(f.under), text(f.max), f.max ? TimeText(f.maxTime) : QString(),
               text(f.min), f.min ? TimeText(f.minTime) : QString(), text(f.average),
               f.mkt ? text(f.mkt) : QStringLiteral("---"),
               QString::fromStdString(FormatDuration(f.secondsAboveHigh)),
               QString::fromStdString(FormatDuration(f.secondsBelowLow))},
              false, QColor(e.red, e.green, e.blue).darker(110));
    }
    w.Skip(w.RowHeight() * 0.5);
    w.Line(ReportPdf::tr("MKT: 平均動態温度 (活性化ｴﾈﾙｷﾞｰ %1 kJ/mol, R = 8.314462618 J/(mol·K))")
               .arg(r.activationEnergy, 0, 'g', 8));
    w.Line(ReportPdf::tr(
        "最高・最低・平均・MKT は Over/Under と欠測を除く値から、上限超過・下限未満は "
        "Over/Under を含めて求めています。"));
    w.Skip(w.RowHeight());
}

// The times of each channel's missing samples, four to a line; beyond kListedMissing their
// count, the first and the last.
void DrawMissing(CReportWriter& w, const ReportFigures& r) {
    w.Line(ReportPdf::tr("欠測"), kBodyPoints + 2, true);
    bool any = false;
    for (const ChannelFigures& f : r.channels) {
        if (f.missing == 0)
            continue;
        any = true;
        const QString name = FromCp932(f.name).trimmed();
        const QString head = name.isEmpty() ? QStringLiteral("Ch.%1: ").arg(f.number)
                                            : QStringLiteral("Ch.%1 %2: ").arg(f.number).arg(name);
        if (!ListsEveryMissing(f)) {
            w.Line(head + ReportPdf::tr("%1 件 (最初 %2, 最後 %3)")
                              .arg(f.missing)
                              .arg(TimeText(f.firstMissing), TimeText(f.lastMissing)));
            continue;
        }
        constexpr std::size_t kPerLine = 4;
        for (std::size_t i = 0; i < f.missingTimes.size(); i += kPerLine) {
            QStringList times;
            for (std::size_t k = i; k < std::min(i + kPerLine, f.missingTimes.size()); ++k)
                times << TimeText(f.missingTimes[k]);
            w.Line((i == 0 ? head : QString(head.size() + 2, QLatin1Char(' '))) +
                   times.join(QStringLiteral(", ")));
        }
    }
    if (!any)
        w.Line(ReportPdf::tr("欠測はありません。"));
    w.Skip(w.RowHeight() * 0.5);
}

// A comment as the report prints it under its excursion: the text on one line, who wrote it
// and when.
QString CommentText(const ExcursionComment& c) {
    QString text = QString::fromStdString(c.text).simplified();
    const std::optional<int64_t> t = archive::ParseUtcText(c.timeUtc);
    const QString when =
        t && *t >= 0 && *t <= UINT32_MAX
            ? QString::fromStdString(FormatStampWithOffset(static_cast<uint32_t>(*t)))
            : QString::fromStdString(c.timeUtc);
    return ReportPdf::tr("ｺﾒﾝﾄ: %1  (%2@%3  %4)")
        .arg(text, QString::fromStdString(c.user), QString::fromStdString(c.host), when);
}

void DrawExcursions(CReportWriter& w, const ReportFigures& r, const ReportProvenance& proof) {
    const std::vector<Column> columns = {{6, ReportPdf::tr("No.")},
                                         {18, ReportPdf::tr("種類")},
                                         {40, ReportPdf::tr("開始")},
                                         {80, ReportPdf::tr("終了")},
                                         {120, ReportPdf::tr("継続時間")}};
    QStringList heads;
    for (const Column& c : columns)
        heads << c.head;
    w.Line(ReportPdf::tr("逸脱一覧"), kBodyPoints + 2, true);
    if (!AnyLimit(r)) {
        w.Line(ReportPdf::tr("上限・下限が指定されていません。"));
        return;
    }
    int n = 0; // numbered across the channels, as comments name them
    for (const ChannelFigures& f : r.channels) {
        w.Need(w.RowHeight() * 3);
        w.Line(QStringLiteral("Ch.%1  %2").arg(f.number).arg(FromCp932(f.name)), kBodyPoints, true);
        if (f.excursions.empty()) {
            w.Row(columns, {QString(), ReportPdf::tr("逸脱なし")});
            continue;
        }
        w.Row(columns, heads, true);
        for (const Excursion& e : f.excursions) {
            if (w.Need(w.RowHeight()))
                w.Row(columns, heads, true);
            w.Row(columns, {QString::number(++n),
                            e.kind == Excursion::kHigh ? ReportPdf::tr("上限超過")
                                                       : ReportPdf::tr("下限未満"),
                            TimeText(e.start), TimeText(e.end),
                            QString::fromStdString(FormatDuration(e.seconds))});
            for (const ExcursionComment& c : proof.comments) {
                if (c.excursion != n)
                    continue;
                if (w.Need(w.RowHeight()))
                    w.Row(columns, heads, true);
                w.Row({{18, {}}}, {w.Elided(CommentText(c), 250)});
            }
        }
        w.Skip(w.RowHeight() * 0.3);
    }
}

QString ModelText(uint32_t model) {
    const std::string name = RecorderModelName(model);
    return !name.empty() ? QString::fromStdString(name) : ReportPdf::tr("不明 (%1)").arg(model);
}

QString OffsetsText(const std::vector<int>& offsets) {
    QStringList texts;
    for (const int o : offsets)
        texts << QString::fromStdString(FormatUtcOffset(o));
    return texts.join(QStringLiteral(" / "));
}

QString VerifiedText(const ReportSource& s) {
    return SourceVerified(s) ? ReportPdf::tr("検証: 済") : ReportPdf::tr("検証: 未");
}

QString FileNameOf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

// The lines every page carries under the title: the files (each verified or not when the
// report was made), the period, who made the report and when.
QStringList PageHeader(const ReportFigures& r, const ReportProvenance& proof,
                       const QString& fileName) {
    QStringList files;
    for (const ReportSource& s : proof.sources)
        files << QStringLiteral("%1 (%2)").arg(FileNameOf(s.path), VerifiedText(s));
    if (files.isEmpty())
        files << (fileName.isEmpty() ? QStringLiteral("---") : fileName);
    const auto period = SampledPeriod(r);
    const QString periodText = period ? ReportPdf::tr("期間: %1 ～ %2 (最初と最後のｻﾝﾌﾟﾙ)")
                                            .arg(TimeText(period->first), TimeText(period->second))
                                      : ReportPdf::tr("期間: ｻﾝﾌﾟﾙなし");
    const QString user =
        proof.user.empty() ? QStringLiteral("---") : QString::fromStdString(proof.user);
    const QString host =
        proof.host.empty() ? QStringLiteral("---") : QString::fromStdString(proof.host);
    QStringList header = {
        ReportPdf::tr("ﾌｧｲﾙ名: %1").arg(files.join(QStringLiteral(", "))),
        periodText + QStringLiteral("    ") +
            ReportPdf::tr("作成者: %1 (ﾎｽﾄ %2)    作成: %3")
                .arg(user, host, QString::fromStdString(FormatStampWithOffset(proof.madeAt)))};
    // A calibration past due at the recording's time is said on every page.
    if (const std::string due = PastDueWarning(proof.units); !due.empty())
        header << QString::fromStdString(due);
    return header;
}

void DrawHeading(CReportWriter& w, const CZorvicDoc& doc, const ReportFigures& r,
                 const ReportProvenance& proof) {
    if (WindowCutsData(r))
        w.Line(ReportPdf::tr("指定範囲: %1 ～ %2").arg(TimeText(r.from), TimeText(r.to)));
    w.Line(ReportPdf::tr("時刻はすべて現地時間 (%1) です。").arg(OffsetsText(proof.timeOffsets)));
    for (const std::string& line : UnitReportLines(proof.units))
        w.Line(QString::fromStdString(line));
    w.Line(ReportPdf::tr("下限: %1    上限: %2    活性化ｴﾈﾙｷﾞｰ: %3 kJ/mol")
               .arg(LimitText(doc, r.low), LimitText(doc, r.high))
               .arg(r.activationEnergy, 0, 'g', 8));
    for (const ChannelFigures& f : r.channels) {
        if (f.low == r.low && f.high == r.high)
            continue;
        w.Line(ReportPdf::tr("Ch.%1 %2 の限度: 下限 %3    上限 %4")
                   .arg(f.number)
                   .arg(FromCp932(f.name), LimitText(doc, f.low), LimitText(doc, f.high)));
    }
}

// Where the figures come from, and the lines for the reviewer on the paper copy.
void DrawProof(CReportWriter& w, const ReportProvenance& proof) {
    const double rows = 6 + 2 * static_cast<double>(proof.sources.size()) + 5;
    w.Need(w.RowHeight() * rows);
    w.Skip(w.RowHeight() * 0.5);
    w.Line(ReportPdf::tr("記録の出所"), kBodyPoints + 2, true);
    const std::vector<Column> columns = {{0, ReportPdf::tr("ﾌｧｲﾙ")},
                                         {100, ReportPdf::tr("SHA-256")},
                                         {215, ReportPdf::tr("ｱｰｶｲﾌﾞID")},
                                         {235, ReportPdf::tr("作成時の検証")}};
    w.Row(columns, {columns[0].head, columns[1].head, columns[2].head, columns[3].head}, true);
    w.Rule();
    for (const ReportSource& s : proof.sources) {
        const auto differs = DiffersFromArchive(s);
        w.Need(w.RowHeight() * (differs ? 2 : 1));
        // Verified: the file read again when the report was made gave the same bytes.
        const QString check = SourceVerified(s) ? ReportPdf::tr("済 (読み直して一致)")
                              : s.sha256.empty() || !s.rereadSame
                                  ? ReportPdf::tr("未 (読み直して不一致)")
                                  : ReportPdf::tr("未 (ｱｰｶｲﾌﾞと不一致)");
        w.Row(columns,
              {w.Elided(QString::fromStdString(s.path), 96),
               s.sha256.empty() ? ReportPdf::tr("読めません") : QString::fromStdString(s.sha256),
               s.archiveId ? QString::number(*s.archiveId) : QStringLiteral("---"), check},
              false, differs ? QColor(200, 0, 0) : QColor(Qt::black));
        if (differs)
            w.Row(columns,
                  {QString(), ReportPdf::tr("※ ｱｰｶｲﾌﾞの記録とﾊﾞｲﾄが異なります: ﾌｧｲﾙ %1 / ｱｰｶｲﾌﾞ %2")
                                  .arg(QString::fromStdString(differs->first),
                                       QString::fromStdString(differs->second))},
                  false, QColor(200, 0, 0));
    }
    w.Line(ReportPdf::tr("ｱｰｶｲﾌﾞのﾁｪｰﾝﾍｯﾄﾞ: %1")
               .arg(proof.chainHead ? QString::fromStdString(*proof.chainHead)
                                    : QStringLiteral("---")));
    QStringList models;
    for (const uint32_t m : proof.recorderModels)
        models << ModelText(m);
    w.Line(ReportPdf::tr("記録計: %1")
               .arg(models.isEmpty() ? QStringLiteral("---") : models.join(QStringLiteral(", "))));
    w.Line(ReportPdf::tr("作成: %1    ﾌﾟﾛｸﾞﾗﾑ: Saroko %2")
               .arg(QString::fromStdString(FormatStampWithOffset(proof.madeAt)),
                    QString::fromStdString(proof.programVersion)));
    w.Line(
        ReportPdf::tr("作成者: %1    ﾎｽﾄ: %2")
            .arg(proof.user.empty() ? QStringLiteral("---") : QString::fromStdString(proof.user),
                 proof.host.empty() ? QStringLiteral("---") : QString::fromStdString(proof.host)));
    w.Skip(w.RowHeight());
    w.Need(w.RowHeight() * 3);
    w.WritingLine(0, 80, ReportPdf::tr("確認者 氏名"));
    w.WritingLine(95, 60, ReportPdf::tr("日付"));
    w.WritingLine(170, 90, ReportPdf::tr("署名"));
    w.Skip(w.RowHeight() * 3);
}

void Compose(CReportWriter& w, CZorvicDoc& doc, const CChannelPalette& palette,
             const ReportFigures& r, const ReportProvenance& proof) {
    DrawHeading(w, doc, r, proof);
    w.Skip(Mm(1));
    DrawGraph(w, doc, palette, r);
    w.NewPage();
    w.Skip(w.RowHeight());
    DrawFigures(w, doc, palette, r);
    DrawMissing(w, r);
    DrawExcursions(w, r, proof);
    DrawProof(w, proof);
}

} // namespace

bool WriteReportPdf(const QString& path, CZorvicDoc& doc, const CChannelPalette& palette,
                    const ReportFigures& r, const ReportProvenance& proof) {
    QPdfWriter writer(path);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setResolution(kDpi);
    writer.setCreator(QStringLiteral("Saroko ") + QString::fromStdString(proof.programVersion));
    const QString fileName =
        doc.m_szPathName == "Untitled" ? QString() : QString::fromStdString(doc.m_szFileName);
    writer.setTitle(ReportPdf::tr("測定データ レポート") +
                    (fileName.isEmpty() ? QString() : QStringLiteral(" ") + fileName));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    const QString title = ReportPdf::tr("＜測定データ レポート＞");
    const QStringList header = PageHeader(r, proof, fileName);
    CReportWriter count(writer, 0, title, header);
    count.Begin();
    Compose(count, doc, palette, r, proof);
    CReportWriter w(writer, count.Pages(), title, header);
    if (!w.Begin())
        return false;
    Compose(w, doc, palette, r, proof);
    return w.End();
}

namespace {

// The audit trail's own texts.
struct AuditTrailPdf {
    Q_DECLARE_TR_FUNCTIONS(AuditTrailPdf)
};

// An event's time as it was local where it was recorded, with that offset.
QString EventTimeText(const archive::Event& e) {
    const std::optional<int64_t> t = archive::ParseUtcText(e.timeUtc);
    if (!t)
        return QString::fromStdString(e.timeUtc);
    return QDateTime::fromSecsSinceEpoch(*t + int64_t{e.offsetMinutes} * 60, QTimeZone::utc())
               .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
           QStringLiteral(" (") + QString::fromStdString(FormatUtcOffset(e.offsetMinutes * 60)) +
           QLatin1Char(')');
}

QString LocalStamp(int64_t utc) {
    return utc >= 0 && utc <= UINT32_MAX
               ? QString::fromStdString(FormatStampWithOffset(static_cast<uint32_t>(utc)))
               : QStringLiteral("---");
}

QStringList AuditHeader(const archive::AuditTrail& t) {
    const archive::AuditScope& s = t.scope;
    QString what = AuditTrailPdf::tr("対象: ｱｰｶｲﾌﾞ全体");
    if (s.recordingId > 0)
        what = AuditTrailPdf::tr("対象: 記録 #%1 (%2)")
                   .arg(s.recordingId)
                   .arg(QFileInfo(QString::fromStdString(t.recordingPath)).fileName());
    else if (s.unitId > 0)
        what = AuditTrailPdf::tr("対象: 保管場所 %1").arg(QString::fromStdString(t.unitName));
    QString period = AuditTrailPdf::tr("期間: すべて");
    if (s.from && s.to)
        period = AuditTrailPdf::tr("期間: %1 から %2 の前まで")
                     .arg(LocalStamp(*s.from), LocalStamp(*s.to));
    else if (s.from)
        period = AuditTrailPdf::tr("期間: %1 から").arg(LocalStamp(*s.from));
    else if (s.to)
        period = AuditTrailPdf::tr("期間: %1 の前まで").arg(LocalStamp(*s.to));
    return {what + QStringLiteral("    ") + period,
            AuditTrailPdf::tr("作成者: %1 (ﾎｽﾄ %2)    作成: %3    ﾌﾟﾛｸﾞﾗﾑ: Saroko %4")
                .arg(QString::fromStdString(t.user), QString::fromStdString(t.host),
                     LocalStamp(t.madeAt), QString::fromStdString(t.version))};
}

void ComposeAuditTrail(CReportWriter& w, const archive::AuditTrail& t) {
    if (t.chainBreak)
        w.Row({{0, {}}, {0, {}}},
              {QString(),
               AuditTrailPdf::tr("ﾁｪｰﾝ: 全 %1 件のうち番号 %2 の事象で途切れています (%3)。")
                   .arg(t.chainEvents)
                   .arg(t.chainBreak->seq)
                   .arg(QString::fromStdString(t.chainBreak->what))},
              true, QColor(200, 0, 0));
    else
        w.Line(AuditTrailPdf::tr("ﾁｪｰﾝ: 全 %1 件が正しくつながっています (作成時に検証)。")
                   .arg(t.chainEvents));
    w.Line(AuditTrailPdf::tr("ﾁｪｰﾝﾍｯﾄﾞ: %1")
               .arg(t.chainHead.empty() ? QStringLiteral("---")
                                        : QString::fromStdString(t.chainHead)));
    w.Line(AuditTrailPdf::tr("事象: %1 件").arg(t.events.size()), kBodyPoints, true);
    const std::vector<Column> columns = {
        {0, AuditTrailPdf::tr("番号")},     {14, AuditTrailPdf::tr("日時")},
        {62, AuditTrailPdf::tr("ﾕｰｻﾞｰ")},   {92, AuditTrailPdf::tr("操作")},
        {140, AuditTrailPdf::tr("記録")},   {168, AuditTrailPdf::tr("変更前")},
        {208, AuditTrailPdf::tr("変更後")}, {248, AuditTrailPdf::tr("理由")}};
    QStringList heads;
    for (const Column& c : columns)
        heads << c.head;
    const double widths[] = {13, 47, 29, 47, 27, 39, 39, 29};
    const auto heading = [&] {
        w.Row(columns, heads, true);
        w.Rule();
    };
    heading();
    for (const archive::Event& e : t.events) {
        if (w.Need(w.RowHeight() * 2.3))
            heading();
        QString kind = QString::fromLatin1(archive::EventKindName(e.kind));
        if (!e.detail.empty())
            kind += QStringLiteral(" (") + QString::fromStdString(e.detail) + QLatin1Char(')');
        const QString cells[] = {
            QString::number(e.seq),
            EventTimeText(e),
            QString::fromStdString(e.user + "@" + e.host),
            kind,
            e.recordingId > 0 ? QStringLiteral("#%1 %2")
                                    .arg(e.recordingId)
                                    .arg(QString::fromStdString(ShortHash(e.recordingSha256)))
                              : QStringLiteral("---"),
            QString::fromStdString(e.oldValue).simplified(),
            QString::fromStdString(e.newValue).simplified(),
            QString::fromStdString(e.reason).simplified()};
        QStringList row;
        for (std::size_t i = 0; i < std::size(cells); ++i)
            row << w.Elided(cells[i], widths[i]);
        w.Row(columns, row);
        w.Row({{14, {}}},
              {AuditTrailPdf::tr("前のﾊｯｼｭ %1    ﾊｯｼｭ %2")
                   .arg(QString::fromStdString(e.prevHash), QString::fromStdString(e.hash))});
        w.Skip(w.RowHeight() * 0.3);
    }
}

} // namespace

bool WriteAuditTrailPdf(const QString& path, const archive::AuditTrail& trail) {
    QPdfWriter writer(path);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setResolution(kDpi);
    writer.setCreator(QStringLiteral("Saroko ") + QString::fromStdString(trail.version));
    writer.setTitle(AuditTrailPdf::tr("監査証跡"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    const QString title = AuditTrailPdf::tr("＜監査証跡＞");
    const QStringList header = AuditHeader(trail);
    CReportWriter count(writer, 0, title, header);
    count.Begin();
    ComposeAuditTrail(count, trail);
    CReportWriter w(writer, count.Pages(), title, header);
    if (!w.Begin())
        return false;
    ComposeAuditTrail(w, trail);
    return w.End();
}

} // namespace saroko::ui
