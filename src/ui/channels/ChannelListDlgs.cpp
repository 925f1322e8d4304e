#include "ui/channels/ChannelListDlgs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/graph/GraphPainter.h"

namespace saroko::ui {
namespace {

constexpr int kNameWidth = 96;
constexpr int kLabelWidth = 64;
constexpr int kNumberWidth = 36;

} // namespace

CChannelFlagDlg::CChannelFlagDlg(const CZorvicDoc& doc, const CChannelPalette& palette,
                                 CChannelFlagWork::Kind kind, QWidget* parent)
    : CChannelDialog(palette, kind == CChannelFlagWork::Kind::kShow ? help::kShow : help::kDelete,
                     kind == CChannelFlagWork::Kind::kShow ? tr("指定Cｈ．表示 ＯＮ／ＯＦＦ")
                                                           : tr("指定Ｃｈ．データ削除"),
                     parent),
      m_work(doc, kind) {
    m_pNames = new CRowColumn(
        palette,
        [this](int n) {
            const ChannelFlagRow& r = m_work.Row(n);
            return CRowColumn::Cell{
                FromCp932(std::string_view(r.name.data(), FieldLength(r.name.data(), 8))),
                ChannelPaletteIndex(n)};
        },
        kNameWidth, this);
    m_pLabels = new CRowColumn(
        palette,
        [this](int n) {
            return CRowColumn::Cell{QCoreApplication::translate("Channels", m_work.Label(n))};
        },
        kLabelWidth, this);

    auto* lists = new QHBoxLayout;
    lists->addWidget(ChannelButtons([this](int n) { OnChannel(n); }));
    lists->addWidget(PaintedGroup(tr("名前"), m_pNames));
    lists->addWidget(
        PaintedGroup(kind == CChannelFlagWork::Kind::kShow ? tr("表示") : tr("削除"), m_pLabels));
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addWidget(ButtonRow(0, {}));
    connect(Button(kIdcOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(kIdcCancel), &QPushButton::clicked, this, &QDialog::reject);
}

void CChannelFlagDlg::OnChannel(int n) {
    if (m_work.Toggle(n))
        m_pLabels->repaint();
}

COrderNumberColumn::COrderNumberColumn(CChannelOrderWork& work, const CChannelPalette& palette,
                                       QWidget* parent)
    : CRowColumn(
          palette, [](int n) { return Cell{QString::number(n)}; }, kNumberWidth, parent),
      m_work(work) {}

void COrderNumberColumn::paintEvent(QPaintEvent* event) {
    CRowColumn::paintEvent(event);
    if (m_work.DragRow() == 0)
        return;
    // The one-pixel frame around the number cell a drag started on.
    QPainter p(this);
    FrameRect(p, RowRect(m_work.DragRow(), width()).adjusted(1, 1, -2, -2),
              EntryColour(m_palette, kPalFrame));
}

void COrderNumberColumn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int row = RowAt(event->position().toPoint());
    m_work.BeginDrag(row);
    if (row != 0)
        setCursor(Qt::BusyCursor);
    repaint();
}

void COrderNumberColumn::mouseMoveEvent(QMouseEvent* event) {
    if (m_work.DragRow() != 0 && RowAt(event->position().toPoint()) != 0)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void COrderNumberColumn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_work.EndDrag(RowAt(event->position().toPoint()));
    unsetCursor();
    emit moved();
}

CChannelOrderDlg::CChannelOrderDlg(const CZorvicDoc& doc, const CChannelPalette& palette,
                                   QWidget* parent)
    : CChannelDialog(palette, help::kOrder, tr("Cｈ．データの並び替え"), parent), m_work(doc) {
    m_pNumbers = Item(1100, new COrderNumberColumn(m_work, palette, this));
    m_pNames = new CRowColumn(
        palette,
        [this](int row) {
            // The colour belongs to the row: data moved to row 3 show in Ch.3's colour.
            return CRowColumn::Cell{FromCp932(m_work.Name(row)), ChannelPaletteIndex(row)};
        },
        kNameWidth, this);
    connect(m_pNumbers, &COrderNumberColumn::moved, this, &CChannelOrderDlg::Refresh);

    auto* sortBox = new QGroupBox(tr("並び替え"), this);
    auto* grid = new QVBoxLayout(sortBox);
    m_pFrom = Item(kIdcFrom, new QComboBox(sortBox));
    m_pTo = Item(kIdcTo, new QComboBox(sortBox));
    for (int n = 1; n <= 8; ++n) {
        m_pFrom->addItem(QStringLiteral("Ch.%1").arg(n));
        m_pTo->addItem(QStringLiteral("Ch.%1").arg(n));
    }
    grid->addWidget(new QLabel(QStringLiteral("From:"), sortBox));
    grid->addWidget(m_pFrom);
    grid->addWidget(new QLabel(QStringLiteral("To:"), sortBox));
    grid->addWidget(m_pTo);
    QPushButton* sort = AddButton(kIdcSort, tr("並替"), sortBox);
    grid->addWidget(sort);
    grid->addStretch();
    connect(sort, &QPushButton::clicked, this, [this] {
        m_work.Sort(m_pFrom->currentIndex(), m_pTo->currentIndex());
        Refresh();
        m_pFrom->setFocus(Qt::OtherFocusReason);
    });

    auto* lists = new QHBoxLayout;
    lists->addWidget(PaintedGroup("Ch.", m_pNumbers));
    lists->addWidget(PaintedGroup(tr("名前"), m_pNames));
    lists->addWidget(sortBox);
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addWidget(ButtonRow(kIdcUndo, tr("元に戻す")));
    connect(Button(kIdcOk), &QPushButton::clicked, this, &CChannelOrderDlg::accept);
    connect(Button(kIdcCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(Button(kIdcUndo), &QPushButton::clicked, this, [this] {
        m_work.Reset();
        Refresh();
    });
    Refresh();
}

void CChannelOrderDlg::Refresh() {
    m_pNumbers->repaint();
    m_pNames->repaint();
    m_pFrom->setCurrentIndex(m_work.From() - 1);
    m_pTo->setCurrentIndex(m_work.To() - 1);
}

void CChannelOrderDlg::accept() {
    m_work.Accept();
    QDialog::accept();
}

} // namespace saroko::ui
