#include "ui/printing/DataListDlg.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "platform/QtSettingsStore.h"
#include "ui/graph/ZorvicView.h"

namespace saroko::ui {

// The table, painted by the dialog itself in two parts on one column grid: the head (the
// statistics block and the column headings) stays put, the rows of the current window lie
// below it in a scrolled area tall enough for every row a window can hold.
class CDataListTable : public QWidget {
public:
    enum class Part { kHead, kRows };

    CDataListTable(CDataListDlg& dlg, Part part, int rows)
        : QWidget(&dlg), m_dlg(dlg), m_part(part) {
        setFont(ProgramFont());
        const QFontMetrics fm(font());
        m_nChar = fm.horizontalAdvance(QLatin1Char('0'));
        m_nLine = fm.height() + 4;
        const int lines = part == Part::kHead ? kHeadLines : rows;
        setFixedSize(Left() + kDateChars * m_nChar + kChannelCount * Column() + kMargin,
                     lines * m_nLine + kMargin);
    }
    int LineHeight() const { return m_nLine; }
    void SetLines(int lines) { setFixedHeight(lines * m_nLine + kMargin); }
    // The fewest lines that fill `height`.
    int LinesFor(int height) const {
        return std::max(0, (height - kMargin + m_nLine - 1) / m_nLine);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        if (m_part == Part::kHead)
            PaintHead(p);
        else
            PaintRows(p);
        p.setPen(QColor(160, 160, 160));
        for (int k = 0; k <= kChannelCount; ++k)
            p.drawLine(ColumnX(k) - m_nChar, m_part == Part::kHead ? kMargin : 0,
                       ColumnX(k) - m_nChar, height());
    }

private:
    static constexpr int kMargin = 6;
    static constexpr int kDateChars = 21;
    // The name's two lines, heading, unit, three statistics, "日時".
    static constexpr int kHeadLines = 8;
    static constexpr int kStatLine = 3; // the line of the unit and the statistics' labels

    void Text(QPainter& p, int x, int line, const QString& s, const QColor& c = Qt::black) const {
        const int top = m_part == Part::kHead ? kMargin : 0;
        p.setPen(c);
        p.drawText(x, top + line * m_nLine + QFontMetrics(font()).ascent() + 2, s);
    }
    QColor Colour(int index) const {
        const PaletteEntry& e = m_dlg.View().Palette().Entry(index);
        return QColor(e.red, e.green, e.blue);
    }

    void PaintHead(QPainter& p) {
        CZorvicView& view = m_dlg.View();
        const CZorvicDoc& doc = view.Doc();
        const CQtCp932Codec codec;
        // Statistics of the calculation range, one colour per line, named in the same colours.
        const int statColour[3] = {kPalList1, kPalList2, kPalList3};
        Text(p, Left(), kStatLine - 1, CDataListDlg::tr("計算範囲"));
        int x = Left();
        // The slashes are translated too: a full-width one has no place between English words.
        const char* labels[] = {
            QT_TRANSLATE_NOOP("CDataListDlg", "最高"), QT_TRANSLATE_NOOP("CDataListDlg", "／"),
            QT_TRANSLATE_NOOP("CDataListDlg", "最低"), QT_TRANSLATE_NOOP("CDataListDlg", "／"),
            QT_TRANSLATE_NOOP("CDataListDlg", "平均")};
        for (int i = 0; i < 5; ++i) {
            const QString s = CDataListDlg::tr(labels[i]);
            Text(p, x, kStatLine, s, i % 2 ? QColor(Qt::black) : Colour(statColour[i / 2]));
            x += QFontMetrics(font()).horizontalAdvance(s);
        }
        for (int k = 0; k < kChannelCount; ++k) {
            const ListColumnTexts c = ListColumn(doc, k + 1);
            const int cx = ColumnX(k);
            const QColor colour = Colour(ChannelPaletteIndex(k + 1));
            Text(p, cx, 0, QString::fromStdString(codec.Cp932ToUtf8(c.name1)), colour);
            Text(p, cx, 1, QString::fromStdString(codec.Cp932ToUtf8(c.name2)), colour);
            Text(p, cx, 2, QString::fromStdString(c.heading), colour);
            Text(p, cx, 3, QString::fromStdString(codec.Cp932ToUtf8(c.unit)));
            Text(p, cx, 4, QString::fromStdString(c.max), Colour(statColour[0]));
            Text(p, cx, 5, QString::fromStdString(c.min), Colour(statColour[1]));
            Text(p, cx, 6, QString::fromStdString(c.avg), Colour(statColour[2]));
        }
        Text(p, Left() + 7 * m_nChar, kHeadLines - 1, CDataListDlg::tr("日時"));
        p.setPen(QColor(160, 160, 160));
        p.drawLine(0, kMargin + 7 * m_nLine + 1, width(), kMargin + 7 * m_nLine + 1);
        p.drawLine(0, height() - 1, width(), height() - 1);

        // Every paint tells the graph which span the table shows.
        const CListWindow& w = m_dlg.Window();
        if (w.Start() <= doc.GetRange()->dataEnd)
            view.PostViewMessage({UM_LIST_RANGE, w.Span(), w.Start()});
    }

    void PaintRows(QPainter& p) {
        const std::vector<ListRowTexts>& rows = m_dlg.Rows();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const int line = static_cast<int>(r);
            Text(p, Left(), line, QString::fromStdString(rows[r].time));
            for (int k = 0; k < kChannelCount; ++k)
                Text(p, ColumnX(k), line,
                     QString::fromStdString(rows[r].cells[static_cast<std::size_t>(k)]));
        }
    }

    int Left() const { return kMargin; }
    int Column() const { return 8 * m_nChar; }
    int ColumnX(int k) const { return Left() + kDateChars * m_nChar + k * Column(); }

    CDataListDlg& m_dlg;
    Part m_part;
    int m_nChar = 7;
    int m_nLine = 16;
};

CDataListDlg::CDataListDlg(CZorvicView& view, QWidget* parent)
    : CDialogBase(kHelpTopic, parent), m_view(view), m_window(view.Doc()) {
    setWindowTitle(tr("データ一覧表示"));
    setFont(ProgramFont());
    // Rows for the fullest window this document can give; the area shows as many as the
    // screen has room for and scrolls through the rest.
    const int rows = std::max<int>(kVisibleRows, static_cast<int>(m_window.RowBound()));
    m_pHead = new CDataListTable(*this, CDataListTable::Part::kHead, 0);
    m_pTable = new CDataListTable(*this, CDataListTable::Part::kRows, rows);
    m_pRowArea = new QScrollArea;
    m_pRowArea->setFrameShape(QFrame::NoFrame);
    m_pRowArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pRowArea->setWidget(m_pTable);
    // The area opens as tall as the screen has room for, at least kVisibleRows lines (fewer
    // when no window holds more), and grows with the dialog up to every row a window can
    // hold; it scrolls inside while it is shorter.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() - m_pHead->height() - 160
                            : m_pTable->height();
    const int line = m_pTable->LineHeight();
    const int fewest = std::min(kVisibleRows, rows);
    const int shown = std::clamp(room / line, fewest, rows);
    m_pRowArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Room for the area's bar is kept even while it is hidden, so that the columns never move.
    m_pRowArea->setFixedWidth(
        m_pTable->width() +
        (fewest < rows ? m_pRowArea->verticalScrollBar()->sizeHint().width() : 0));
    m_pRowArea->setMinimumHeight(fewest * line);
    m_pRowArea->setMaximumHeight(m_pTable->height());
    m_pRowArea->resize(m_pRowArea->width(), shown * line);
    m_nAreaRows = shown;
    m_pScroll = new QScrollBar(Qt::Vertical);
    m_pScroll->setObjectName(QString::number(kIdScrollBar));
    m_pScroll->setRange(0, kListThumbMax);
    m_pScroll->setSingleStep(1);
    m_pScroll->setPageStep(10);

    auto* top = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    auto* table = new QVBoxLayout;
    table->setSpacing(0);
    table->addWidget(m_pHead, 0, Qt::AlignLeft);
    table->addWidget(m_pRowArea, 1, Qt::AlignLeft);
    body->addLayout(table);
    body->addWidget(m_pScroll);
    top->addLayout(body);
    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton(tr("閉じる"));
    close->setObjectName(QString::number(kIdClose));
    auto* help = new QPushButton(tr("ﾍﾙﾌﾟ"));
    help->setObjectName(QString::number(kIdHelp));
    close->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    top->addLayout(buttons);
    // As wide as the table, as tall as the user likes.
    setFixedWidth(sizeHint().width());
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    ConnectHelp(help);
    connect(m_pScroll, &QScrollBar::actionTriggered, this, &CDataListDlg::OnScrollAction);
    connect(m_pScroll, &QScrollBar::sliderReleased, this, &CDataListDlg::OnSliderReleased);
    for (QObject* o :
         {static_cast<QObject*>(m_pHead), static_cast<QObject*>(m_pRowArea->viewport()),
          static_cast<QObject*>(m_pScroll)})
        o->installEventFilter(this);
    resize(width(), sizeHint().height() - m_pRowArea->sizeHint().height() + shown * line);

    const CZorvicDoc& doc = view.Doc();
    m_window.Open(FirstSampleAtOrAfter(ChannelsOf(doc), doc.GetRange()->viewStart));
    Shown();
}

QWidget* CDataListDlg::Table() const {
    return m_pHead;
}

QScrollArea* CDataListDlg::RowArea() const {
    return m_pRowArea;
}

void CDataListDlg::OnScrollAction(int action) {
    if (m_bPlacing)
        return; // our own placing of the thumb, not the user's
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        m_window.LineDown();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        m_window.LineUp();
        break;
    case QAbstractSlider::SliderMove:
        if (m_pScroll->isSliderDown())
            return; // the thumb follows the pointer until it is released
        // The wheel moves the thumb without holding it: one line step its way.
        if (m_pScroll->sliderPosition() > m_pScroll->value())
            m_window.LineDown();
        else if (m_pScroll->sliderPosition() < m_pScroll->value())
            m_window.LineUp();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        m_window.PageDown();
        break;
    case QAbstractSlider::SliderPageStepSub:
        m_window.PageUp();
        break;
    default:
        break; // the ends do nothing
    }
    Shown();
}

bool CDataListDlg::eventFilter(QObject* watched, QEvent* event) {
    // A taller area shows more lines: the table fills it rather than leaving it grey.
    if (watched == m_pRowArea->viewport() && event->type() == QEvent::Resize) {
        m_nAreaRows = m_pTable->LinesFor(static_cast<QResizeEvent*>(event)->size().height());
        m_pTable->SetLines(std::max(static_cast<int>(m_rows.size()), m_nAreaRows));
    }
    // The wheel anywhere on the table or the bar moves the window, a line step a notch; the
    // rows' own area scrolls only by its bar.
    if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        for (int steps = m_wheel.Add(wheel->angleDelta().y()); steps != 0;
             steps += steps > 0 ? -1 : 1)
            steps > 0 ? m_window.LineDown() : m_window.LineUp();
        Shown();
        return true;
    }
    return CDialogBase::eventFilter(watched, event);
}

void CDataListDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp) {
        m_pScroll->triggerAction(event->key() == Qt::Key_PageDown
                                     ? QAbstractSlider::SliderPageStepAdd
                                     : QAbstractSlider::SliderPageStepSub);
        return;
    }
    CDialogBase::keyPressEvent(event);
}

void CDataListDlg::OnSliderReleased() {
    m_window.ThumbReleased(m_pScroll->sliderPosition());
    Shown();
}

void CDataListDlg::Shown() {
    m_rows = ListWindowRows(m_view.Doc(), m_window.Start(), m_window.End());
    // Scrolled, the area ends with the window's last row rather than with empty lines.
    m_pTable->SetLines(std::max(static_cast<int>(m_rows.size()), m_nAreaRows));
    m_pRowArea->verticalScrollBar()->setValue(0); // a new window is read from its first row
    // The thumb shows where the window is, not where the bar would have put it.
    m_bPlacing = true;
    m_pScroll->setSliderPosition(m_window.Thumb());
    m_pScroll->setValue(m_window.Thumb());
    m_bPlacing = false;
    m_pHead->update();
    m_pTable->update();
}

void CDataListDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    m_view.update();
}

void RunDataListWindow(CZorvicView& view, QWidget* parent) {
    view.OpenListMark();
    {
        CDataListDlg dlg(view, parent);
        ExecDialog(dlg);
    }
    view.CloseListMark();
}

} // namespace saroko::ui
