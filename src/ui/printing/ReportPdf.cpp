#include "ui/printing/ReportPdf.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "ui/graph/GraphPainter.h"
#include "platform/QtSettingsStore.h"
#include "core/printing/DataList.h"

namespace saroko::ui {
namespace {

constexpr int kDpi = 1200;
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
    CReportWriter(QPdfWriter& writer, int pages) : m_writer(writer), m_nPages(pages) {}

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
        const QFont font = ReportFont(points, bold);
        const QFontMetricsF fm(font, &m_writer);
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
        const QFont font = ReportFont(kBodyPoints, bold);
        const QFontMetricsF fm(font, &m_writer);
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
    double RowHeight() const {
        return QFontMetricsF(ReportFont(kBodyPoints), &m_writer).height() * 1.35;
    }
    void Rule() {
        if (!Dry()) {
            m_painter.setPen(QPen(Qt::black, Mm(0.2)));
            m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        }
        m_y += Mm(1.2);
    }
    // The text cut in its middle to `mm` wide.
    QString Elided(const QString& text, double mm) const {
        const QFontMetricsF fm(ReportFont(kBodyPoints), &m_writer);
        return fm.elidedText(text, Qt::ElideMiddle, Mm(mm));
    }
    // A line to write on by hand, from `x` to `x + width` (mm), under a label.
    void WritingLine(double x, double width, const QString& label) {
        if (Dry())
            return;
        const QFontMetricsF fm = BodyTextPen();
        m_painter.drawText(QPointF(Mm(x), m_y + fm.ascent()), label);
        m_painter.setPen(QPen(Qt::black, Mm(0.2)));
        const double y = m_y + RowHeight() * 2.2;
        m_painter.drawLine(QPointF(Mm(x), y), QPointF(Mm(x + width), y));
    }

private:
    // Sets the body font in black and returns its metrics on the page.
    QFontMetricsF BodyTextPen() {
        const QFont font = ReportFont(kBodyPoints);
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        return QFontMetricsF(font, &m_writer);
    }
    void StartPage() {
        ++m_nPage;
        m_y = 0;
        if (Dry())
            return;
        const QFontMetricsF fm = BodyTextPen();
        const QString page = QStringLiteral("%1 / %2").arg(m_nPage).arg(m_nPages);
        m_painter.drawText(QPointF(m_width - fm.horizontalAdvance(page), fm.ascent()), page);
    }

    QPdfWriter& m_writer;
    QPainter m_painter;
    int m_nPages; // 0 on the dry pass
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

// The limits across the plot, in the graph's own pixels, each value once, naming its channels
// when not every channel has it; a limit outside the value window is not drawn.
void DrawLimits(QPainter& p, const CGraphModel& model, const CZorvicDoc& doc,
                const ReportFigures& r, const QFont& font) {
    const GraphRect& plot = model.m_rcPlot;
    const GraphRange& range = *doc.GetRange();
    if (model.m_fValuePerPixel == 0)
        return;
    p.save();
    p.setClipRect(
        QRect(plot.left, plot.top, plot.right + 1 - plot.left, plot.bottom + 1 - plot.top));
    p.setFont(font);
    const QFontMetricsF fm(font);
    const auto line = [&](double v, const QColor& colour, const QString& label) {
        const double y = plot.bottom + 0.5 - (v - range.viewLower) / model.m_fValuePerPixel;
        if (y < plot.top || y > plot.bottom + 1)
            return;
        QPen pen(colour, 1.5);
        pen.setDashPattern({6, 3});
        p.setPen(pen);
        p.drawLine(QPointF(plot.left, y), QPointF(plot.right + 1, y));
        p.setPen(colour);
        p.drawText(QPointF(plot.right - 4 - fm.horizontalAdvance(label), y - 3), label);
    };
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
                label += QStringLiteral(" (") + users.join(QStringLiteral(", ")) +
                         QLatin1Char(')');
            line(*v, high ? QColor(220, 0, 0) : QColor(0, 0, 220), label);
        }
    }
    p.restore();
}

// Page 1's graph: the view over the report's window, the legend's statistics over it too,
// the value window widened to show both limits. The document's ranges are put back after.
void DrawGraph(CReportWriter& w, CZorvicDoc& doc, const CChannelPalette& palette,
               const ReportFigures& r) {
    const double scale =
        std::min(w.Width() / double(kViewWidth), (w.Height() - w.Y()) / double(kViewHeight));
    if (w.Dry()) {
        w.Skip(kViewHeight * scale);
        return;
    }
    const GraphRange kept = doc.m_range;
    GraphRange& range = *doc.GetRange();
    const auto period = SampledPeriod(r).value_or(std::pair(r.from, r.to));
    range.viewStart = period.first;
    range.viewEnd = std::max(period.second, period.first + 10);
    range.calcStart = period.first;
    range.calcEnd = period.second;
    std::vector<std::optional<double>> limits;
    for (const ChannelFigures& f : r.channels)
        limits.insert(limits.end(), {f.low, f.high});
    for (const auto& limit : limits) {
        if (!limit)
            continue;
        const float margin = std::max(1.0f, (range.viewUpper - range.viewLower) * 0.05f);
        if (*limit > range.viewUpper)
            range.viewUpper = static_cast<float>(*limit) + margin;
        if (*limit < range.viewLower)
            range.viewLower = static_cast<float>(*limit) - margin;
        range.fullUpper = std::max(range.fullUpper, range.viewUpper);
        range.fullLower = std::min(range.fullLower, range.viewLower);
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
    PaintView(p, QSize(kViewWidth, kViewHeight), model, print, font, true, PaintSurface::kPaper);
    DrawLimits(p, model, doc, r, font);
    p.restore();
    w.Skip(kViewHeight * scale);

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

void DrawExcursions(CReportWriter& w, const ReportFigures& r) {
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
    for (const ChannelFigures& f : r.channels) {
        w.Need(w.RowHeight() * 3);
        w.Line(QStringLiteral("Ch.%1  %2").arg(f.number).arg(FromCp932(f.name)), kBodyPoints, true);
        if (f.excursions.empty()) {
            w.Row(columns, {QString(), ReportPdf::tr("逸脱なし")});
            continue;
        }
        w.Row(columns, heads, true);
        int n = 0;
        for (const Excursion& e : f.excursions) {
            if (w.Need(w.RowHeight()))
                w.Row(columns, heads, true);
            w.Row(columns, {QString::number(++n),
                            e.kind == Excursion::kHigh ? ReportPdf::tr("上限超過")
                                                       : ReportPdf::tr("下限未満"),
                            TimeText(e.start), TimeText(e.end),
                            QString::fromStdString(FormatDuration(e.seconds))});
        }
        w.Skip(w.RowHeight() * 0.3);
    }
}

QString ModelText(uint32_t model) {
    return model == kModelKm41 ? QStringLiteral("KM-41") : ReportPdf::tr("不明 (%1)").arg(model);
}

QString OffsetsText(const std::vector<int>& offsets) {
    QStringList texts;
    for (const int o : offsets)
        texts << QString::fromStdString(FormatUtcOffset(o));
    return texts.join(QStringLiteral(" / "));
}

void DrawHeading(CReportWriter& w, const CZorvicDoc& doc, const ReportFigures& r,
                 const ReportProvenance& proof, const QString& fileName) {
    w.Line(ReportPdf::tr("＜測定データ レポート＞"), kTitlePoints, true);
    w.Line(ReportPdf::tr("ﾌｧｲﾙ名: %1").arg(fileName));
    if (const auto period = SampledPeriod(r))
        w.Line(ReportPdf::tr("期間: %1 ～ %2 (最初と最後のｻﾝﾌﾟﾙ)")
                   .arg(TimeText(period->first), TimeText(period->second)));
    else
        w.Line(ReportPdf::tr("期間: ｻﾝﾌﾟﾙなし"));
    if (WindowCutsData(r))
        w.Line(ReportPdf::tr("指定範囲: %1 ～ %2").arg(TimeText(r.from), TimeText(r.to)));
    w.Line(ReportPdf::tr("時刻はすべて現地時間 (%1) です。").arg(OffsetsText(proof.timeOffsets)));
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
    const double rows = 6 + static_cast<double>(proof.sources.size()) + 5;
    w.Need(w.RowHeight() * rows);
    w.Skip(w.RowHeight() * 0.5);
    w.Line(ReportPdf::tr("記録の出所"), kBodyPoints + 2, true);
    const std::vector<Column> columns = {
        {0, ReportPdf::tr("ﾌｧｲﾙ")}, {110, ReportPdf::tr("SHA-256")}, {230, ReportPdf::tr("ｱｰｶｲﾌﾞID")}};
    w.Row(columns, {columns[0].head, columns[1].head, columns[2].head}, true);
    w.Rule();
    for (const ReportSource& s : proof.sources) {
        w.Need(w.RowHeight());
        w.Row(columns,
              {w.Elided(QString::fromStdString(s.path), 106),
               s.sha256.empty() ? ReportPdf::tr("読めません") : QString::fromStdString(s.sha256),
               s.archiveId ? QString::number(*s.archiveId) : QStringLiteral("---")});
    }
    w.Line(ReportPdf::tr("ｱｰｶｲﾌﾞのﾁｪｰﾝﾍｯﾄﾞ: %1")
               .arg(proof.chainHead ? QString::fromStdString(*proof.chainHead)
                                    : QStringLiteral("---")));
    QStringList models;
    for (const uint32_t m : proof.recorderModels)
        models << ModelText(m);
    w.Line(ReportPdf::tr("記録計: %1").arg(models.isEmpty() ? QStringLiteral("---")
                                                              : models.join(QStringLiteral(", "))));
    w.Line(ReportPdf::tr("作成: %1    ﾌﾟﾛｸﾞﾗﾑ: Saroko %2")
               .arg(QString::fromStdString(FormatStampWithOffset(proof.madeAt)),
                    QString::fromStdString(proof.programVersion)));
    w.Skip(w.RowHeight());
    w.Need(w.RowHeight() * 3);
    w.WritingLine(0, 80, ReportPdf::tr("確認者 氏名"));
    w.WritingLine(95, 60, ReportPdf::tr("日付"));
    w.WritingLine(170, 90, ReportPdf::tr("署名"));
    w.Skip(w.RowHeight() * 3);
}

void Compose(CReportWriter& w, CZorvicDoc& doc, const CChannelPalette& palette,
             const ReportFigures& r, const ReportProvenance& proof, const QString& fileName) {
    DrawHeading(w, doc, r, proof, fileName);
    w.Skip(Mm(1));
    DrawGraph(w, doc, palette, r);
    w.NewPage();
    w.Skip(w.RowHeight());
    DrawFigures(w, doc, palette, r);
    DrawExcursions(w, r);
    DrawProof(w, proof);
}

} // namespace

bool WriteReportPdf(const QString& path, CZorvicDoc& doc, const CChannelPalette& palette,
                    const ReportOptions& options, const ReportProvenance& given) {
    const ReportFigures r = ComputeReportFigures(doc, options);
    ReportProvenance proof = given;
    DescribeReport(proof, r, given.madeAt);
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
    CReportWriter count(writer, 0);
    count.Begin();
    Compose(count, doc, palette, r, proof, fileName);
    CReportWriter w(writer, count.Pages());
    if (!w.Begin())
        return false;
    Compose(w, doc, palette, r, proof, fileName);
    return w.End();
}

} // namespace saroko::ui
