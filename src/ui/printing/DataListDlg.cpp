#include "printing/DataListDlg.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "graph/ZorvicView.h"
#include "platform/QtSettingsStore.h"
#include "printing/PrintSetup.h"

namespace saroko::ui {

// The table, painted by the dialog itself: the statistics block, the column headings and the
// rows of the current window.
class CDataListTable : public QWidget {
public:
    explicit CDataListTable(CDataListDlg& dlg) : QWidget(&dlg), m_dlg(dlg) {
        setFont(ProgramFont());
        const QFontMetrics fm(font());
        m_nChar = fm.horizontalAdvance(QLatin1Char('0'));
        m_nLine = fm.height() + 4;
        setFixedSize(Left() + kDateChars * m_nChar + kChannelCount * Column() + kMargin,
                     (kHeadLines + CDataListDlg::kVisibleRows) * m_nLine + 2 * kMargin);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        CZorvicView& view = m_dlg.View();
        const CZorvicDoc& doc = view.Doc();
        const CChannelPalette& pal = view.Palette();
        const CQtCp932Codec codec;
        const int ascent = QFontMetrics(font()).ascent() + 2;
        auto text = [&](int x, int line, const QString& s, const QColor& c = Qt::black) {
            p.setPen(c);
            p.drawText(x, kMargin + line * m_nLine + ascent, s);
        };
        auto colour = [&](int index) {
            const PaletteEntry& e = pal.Entry(index);
            return QColor(e.red, e.green, e.blue);
        };
        const int rowsTop = kMargin + kHeadLines * m_nLine;

        // Statistics of the calculation range, one colour per line, named in the same colours.
        const int statColour[3] = {kPalList1, kPalList2, kPalList3};
        text(Left(), 0, QString::fromUtf8("計算範囲"));
        int x = Left();
        const char* labels[] = {"最高", "／", "最低", "／", "平均"};
        for (int i = 0; i < 5; ++i) {
            const QString s = QString::fromUtf8(labels[i]);
            text(x, 1, s, i % 2 ? QColor(Qt::black) : colour(statColour[i / 2]));
            x += QFontMetrics(font()).horizontalAdvance(s);
        }
        for (int k = 0; k < kChannelCount; ++k) {
            const ListColumnTexts c = ListColumn(doc, k + 1);
            const int cx = ColumnX(k);
            text(cx, 0, QString::fromStdString(c.heading), colour(ChannelPaletteIndex(k + 1)));
            text(cx, 1, QString::fromStdString(codec.Cp932ToUtf8(c.unit)));
            text(cx, 2, QString::fromStdString(c.max), colour(statColour[0]));
            text(cx, 3, QString::fromStdString(c.min), colour(statColour[1]));
            text(cx, 4, QString::fromStdString(c.avg), colour(statColour[2]));
        }
        text(Left() + 7 * m_nChar, kHeadLines - 1, QString::fromUtf8("日時"));

        p.setPen(QColor(160, 160, 160));
        p.drawLine(0, kMargin + 5 * m_nLine + 1, width(), kMargin + 5 * m_nLine + 1);
        p.drawLine(0, rowsTop - 1, width(), rowsTop - 1);
        for (int k = 0; k <= kChannelCount; ++k)
            p.drawLine(ColumnX(k) - m_nChar, kMargin, ColumnX(k) - m_nChar, height());

        const std::vector<ListRowTexts>& rows = m_dlg.Rows();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const int line = kHeadLines + static_cast<int>(r);
            text(Left(), line, QString::fromStdString(rows[r].time));
            for (int k = 0; k < kChannelCount; ++k)
                text(ColumnX(k), line,
                     QString::fromStdString(rows[r].cells[static_cast<std::size_t>(k)]));
        }

        // Every paint tells the graph which span the table shows.
        const CListWindow& w = m_dlg.Window();
        if (w.Start() <= doc.GetRange()->dataEnd)
            view.PostViewMessage({UM_LIST_RANGE, w.Span(), w.Start()});
    }

private:
    static constexpr int kMargin = 6;
    static constexpr int kDateChars = 21;
    static constexpr int kHeadLines = 7; // heading, unit, three statistics, gap, "日時"

    int Left() const { return kMargin; }
    int Column() const { return 8 * m_nChar; }
    int ColumnX(int k) const { return Left() + kDateChars * m_nChar + k * Column(); }

    CDataListDlg& m_dlg;
    int m_nChar = 7;
    int m_nLine = 16;
};

CDataListDlg::CDataListDlg(CZorvicView& view, QWidget* parent)
    : QDialog(parent), m_view(view), m_window(view.Doc()) {
    setWindowTitle(QString::fromUtf8("データ一覧表示"));
    setFont(ProgramFont());
    m_pTable = new CDataListTable(*this);
    m_pScroll = new QScrollBar(Qt::Vertical);
    m_pScroll->setObjectName(QString::number(kIdScrollBar));
    m_pScroll->setRange(0, kListThumbMax);
    m_pScroll->setSingleStep(1);
    m_pScroll->setPageStep(10);

    auto* top = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(m_pTable);
    body->addWidget(m_pScroll);
    top->addLayout(body);
    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton(QString::fromUtf8("閉じる"));
    close->setObjectName(QString::number(kIdClose));
    auto* help = new QPushButton(QString::fromUtf8("ﾍﾙﾌﾟ"));
    help->setObjectName(QString::number(kIdHelp));
    close->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [] { RequestPrintingHelp(kHelpTopic); });
    connect(m_pScroll, &QScrollBar::actionTriggered, this, &CDataListDlg::OnScrollAction);
    connect(m_pScroll, &QScrollBar::sliderReleased, this, &CDataListDlg::OnSliderReleased);

    const CZorvicDoc& doc = view.Doc();
    m_window.Open(FirstSampleAtOrAfter(ChannelsOf(doc), doc.GetRange()->viewStart));
    Shown();
}

QWidget* CDataListDlg::Table() const {
    return m_pTable;
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
    default:
        break; // page steps and the ends do nothing
    }
    Shown();
}

void CDataListDlg::OnSliderReleased() {
    m_window.ThumbReleased(m_pScroll->sliderPosition());
    Shown();
}

void CDataListDlg::Shown() {
    m_rows = ListWindowRows(m_view.Doc(), m_window.Start(), m_window.End(), kVisibleRows);
    // The thumb shows where the window is, not where the bar would have put it.
    m_bPlacing = true;
    m_pScroll->setSliderPosition(m_window.Thumb());
    m_pScroll->setValue(m_window.Thumb());
    m_bPlacing = false;
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
