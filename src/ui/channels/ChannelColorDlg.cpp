#include "ui/channels/ChannelColorDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace saroko::ui {
namespace {

constexpr int kNameWidth = 90;
constexpr int kSampleWidth = 216;
constexpr int kSwatchSize = 36;
const char* const kComponentLabels[3] = {"Red :", "Green :", "Blue :"};

// The zig-zag of the sample lines: its swing grows to the middle and shrinks again.
constexpr QPoint kZigZag[22] = {{0, 10},  {9, 10},   {19, 8},   {29, 12},  {39, 6},  {49, 14},
                                {59, 4},  {69, 16},  {79, 2},   {89, 18},  {99, 0},  {109, 20},
                                {119, 2}, {129, 18}, {139, 4},  {149, 16}, {159, 6}, {169, 14},
                                {179, 8}, {189, 12}, {199, 10}, {210, 10}};

// A sunken frame: dark edge left and top, light edge right and bottom.
void SunkenFrame(QPainter& p, const QRect& r, const CChannelPalette& pal) {
    p.setPen(EntryColour(pal, kPalDarkEdge));
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(EntryColour(pal, kPalLightEdge));
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

class CPainted final : public QWidget {
public:
    CPainted(std::function<void(QPainter&, const QRect&)> paint, QWidget* parent)
        : QWidget(parent), m_paint(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        m_paint(p, rect());
    }

private:
    std::function<void(QPainter&, const QRect&)> m_paint;
};

} // namespace

CNumberEdit::CNumberEdit(CChannelColorDlg* dialog, int component, QWidget* parent)
    : QLineEdit(parent), m_pDialog(dialog), m_nComponent(component) {
    setObjectName(QString::number(kIdcRedEdit + component));
    // Reached with the mouse; from here Tab moves on as the dialog decides.
    setFocusPolicy(Qt::ClickFocus);
}

bool CNumberEdit::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            m_bTabbed = 1;
            m_nShiftState = key->modifiers() & Qt::ShiftModifier ? -1 : 0;
            clearFocus(); // the check runs on the focus loss, then the dialog moves on
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CNumberEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // Enter neither closes the dialog nor reaches the field; Escape does not cancel.
        event->accept();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void CNumberEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A window that merely lost activation keeps its field where it was.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_pDialog->OnEditLeave(m_nComponent);
}

CChannelColorDlg::CChannelColorDlg(const CZorvicDoc& doc, CChannelPalette& palette,
                                   ISettingsStore& store, std::function<void()> repaintView,
                                   QWidget* parent)
    : CChannelDialog(palette, help::kColor, tr("Cｈ．カラー変更"), parent), m_doc(doc),
      m_live(palette), m_store(store), m_repaintView(std::move(repaintView)),
      m_work(palette.Entries()) {
    QHBoxLayout* lists = BuildLists();
    QGroupBox* change = BuildChange();
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addWidget(change);
    top->addWidget(ButtonRow(kIdcDefaults, tr("初期値")));
    ConnectControls();
    ShowComponents();
}

// The channel buttons, their names and the sample traces.
QHBoxLayout* CChannelColorDlg::BuildLists() {
    m_pNames = new CRowColumn(
        m_live,
        [this](int n) -> CRowColumn::Cell {
            const ChannelRecord* ch = m_doc.GetChannel(n);
            if (!ch || ch->present == 0)
                return {};
            return {FromCp932(std::string_view(ch->name, FieldLength(ch->name, 8))),
                    ChannelPaletteIndex(n)};
        },
        kNameWidth, this);
    m_pSample = new CPainted(
        [this](QPainter& p, const QRect& r) {
            p.fillRect(r, EntryColour(m_live, kPalPlot));
            SunkenFrame(p, r, m_live);
            for (int n = 1; n <= 8; ++n) {
                p.setPen(EntryColour(m_live, ChannelPaletteIndex(n)));
                const QPoint at(3, CRowColumn::RowRect(n, r.width()).center().y() - 10);
                QPoint line[22];
                for (int i = 0; i < 22; ++i)
                    line[i] = kZigZag[i] + at;
                p.drawPolyline(line, 22);
            }
        },
        this);
    m_pSample->setFixedSize(kSampleWidth, kRowPitch * 8);

    auto* lists = new QHBoxLayout;
    lists->addWidget(ChannelButtons([this](int n) { OnChannel(n); }));
    lists->addWidget(PaintedGroup(tr("名前"), m_pNames));
    auto* sampleBox = new QGroupBox(tr("ｸﾞﾗﾌ表示"), this);
    auto* sv = new QVBoxLayout(sampleBox);
    sv->setSpacing(0);
    sv->addWidget(m_pSample);
    sv->addStretch();
    lists->addWidget(sampleBox);

    return lists;
}

// The selected channel's swatch and its three components, each a bar and a field.
QGroupBox* CChannelColorDlg::BuildChange() {
    auto* change = new QGroupBox(tr("ｶﾗｰ変更"), this);
    auto* ch = new QHBoxLayout(change);
    auto* selBox = new QGroupBox(tr("選択Ch.   "), change);
    auto* selLayout = new QHBoxLayout(selBox);
    m_pSelected = Item(kIdcSelected, new QLabel(selBox));
    m_pSelected->setFixedWidth(20);
    m_pSwatch = new CPainted(
        [this](QPainter& p, const QRect& r) {
            const QColor fill = m_work.Selected() != 0 ? EntryColour(m_live, m_work.SelectedIndex())
                                                       : QColor(0, 0, 0);
            p.fillRect(r, fill);
            SunkenFrame(p, r, m_live);
        },
        selBox);
    m_pSwatch->setFixedSize(kSwatchSize, kSwatchSize);
    selLayout->addWidget(m_pSelected);
    selLayout->addWidget(m_pSwatch);
    ch->addWidget(selBox);

    auto* grid = new QGridLayout;
    for (int c = 0; c < 3; ++c) {
        grid->addWidget(new QLabel(QString::fromUtf8(kComponentLabels[c]), change), c, 0);
        auto* bar = Item(kIdcRedBar + c, new QScrollBar(Qt::Horizontal, change));
        bar->setRange(0, 255);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setMinimumWidth(160);
        m_bars[static_cast<std::size_t>(c)] = bar;
        grid->addWidget(bar, c, 1);
        auto* edit = new CNumberEdit(this, c, change);
        Item(kIdcRedEdit + c, edit);
        edit->setFixedWidth(40);
        m_edits[static_cast<std::size_t>(c)] = edit;
        grid->addWidget(edit, c, 2);
    }
    ch->addLayout(grid);

    return change;
}

void CChannelColorDlg::ConnectControls() {
    for (int c = 0; c < 3; ++c) {
        QScrollBar* bar = m_bars[static_cast<std::size_t>(c)];
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, c](int action) { OnScrollAction(c, action); });
        connect(bar, &QScrollBar::sliderReleased, this, [this, c] { OnThumbReleased(c); });
    }
    connect(Button(kIdcOk), &QPushButton::clicked, this, &CChannelColorDlg::accept);
    connect(Button(kIdcCancel), &QPushButton::clicked, this, &CChannelColorDlg::OnCancel);
    connect(Button(kIdcDefaults), &QPushButton::clicked, this, &CChannelColorDlg::OnDefaults);
}

void CChannelColorDlg::ShowComponents() {
    for (int c = 0; c < 3; ++c) {
        m_bars[static_cast<std::size_t>(c)]->setValue(m_work.Component(c));
        m_edits[static_cast<std::size_t>(c)]->setText(
            QString::fromStdString(m_work.ComponentText(c)));
    }
    m_pSelected->setText(m_work.Selected() != 0 ? QString::number(m_work.Selected()) : QString());
}

void CChannelColorDlg::OnChannel(int n) {
    m_work.Select(n);
    ShowComponents();
    m_pNames->repaint();
    m_pSample->repaint();
    m_pSwatch->repaint();
    m_bars[kRed]->setFocus(Qt::OtherFocusReason);
}

void CChannelColorDlg::Animate() {
    m_live.SetEntries(m_work.Work());
    if (m_repaintView)
        m_repaintView();
    m_pNames->repaint();
    m_pSample->repaint();
}

void CChannelColorDlg::AfterComponentChange(int component) {
    m_bars[static_cast<std::size_t>(component)]->setValue(m_work.Component(component));
    m_edits[static_cast<std::size_t>(component)]->setText(
        QString::fromStdString(m_work.ComponentText(component)));
    Animate();
    m_pSwatch->repaint();
}

void CChannelColorDlg::OnScrollAction(int component, int action) {
    QScrollBar* bar = m_bars[static_cast<std::size_t>(component)];
    if (action == QAbstractSlider::SliderMove && bar->isSliderDown())
        return; // the thumb follows the mouse; its position counts when it is released
    const ScrollAction a = action == QAbstractSlider::SliderSingleStepSub ? ScrollAction::kLineLeft
                           : action == QAbstractSlider::SliderSingleStepAdd
                               ? ScrollAction::kLineRight
                               : ScrollAction::kOther;
    const bool changed = m_work.Scroll(component, a);
    // Page steps and the rest move nothing: the bar stays on the component.
    bar->setSliderPosition(m_work.Component(component));
    if (changed)
        AfterComponentChange(component);
}

void CChannelColorDlg::OnThumbReleased(int component) {
    QScrollBar* bar = m_bars[static_cast<std::size_t>(component)];
    const bool changed =
        m_work.Scroll(component, ScrollAction::kThumbPosition, bar->sliderPosition());
    bar->setSliderPosition(m_work.Component(component));
    if (changed)
        AfterComponentChange(component);
}

void CChannelColorDlg::OnEditLeave(int component) {
    CNumberEdit* edit = m_edits[static_cast<std::size_t>(component)];
    const EditResult r = m_work.LeaveEdit(component, edit->text().toStdString());
    if (!r.checked)
        return;
    if (m_work.Selected() == 0)
        edit->setText(QString::fromStdString(r.text));
    if (r.messageId != 0) {
        m_work.SetErrorEdit(kIdcRedEdit + component);
        Message(r.messageId);
        edit->setFocus(Qt::OtherFocusReason);
        m_work.SetErrorEdit(0);
        edit->m_bTabbed = 0;
        return;
    }
    if (r.changed) {
        m_bars[static_cast<std::size_t>(component)]->setValue(m_work.Component(component));
        Animate();
        m_pSwatch->repaint();
    }
    if (edit->m_bTabbed) {
        edit->m_bTabbed = 0;
        QWidget* next = nullptr;
        switch (TabFrom(component, edit->m_nShiftState < 0)) {
        case TabTarget::kRedEdit:
            next = m_edits[kRed];
            break;
        case TabTarget::kGreenEdit:
            next = m_edits[kGreen];
            break;
        case TabTarget::kBlueEdit:
            next = m_edits[kBlue];
            break;
        case TabTarget::kOk:
            next = Button(kIdcOk);
            break;
        case TabTarget::kChannel8:
            next = ChannelButton(8);
            break;
        }
        next->setFocus(Qt::TabFocusReason);
    }
}

void CChannelColorDlg::OnDefaults() {
    m_work.Defaults();
    Animate();
    ShowComponents();
    m_pSwatch->repaint();
}

void CChannelColorDlg::accept() {
    if (!m_work.Valid())
        return;
    m_work.Save(m_store);
    QDialog::accept();
}

void CChannelColorDlg::OnCancel() {
    if (!m_work.Valid())
        return;
    m_live.SetEntries(m_work.Original());
    if (m_repaintView)
        m_repaintView();
    QDialog::reject();
}

void CChannelColorDlg::reject() {
    // The close box and Escape: a field being left is checked first.
    if (QPushButton* ok = Button(kIdcOk))
        ok->setFocus(Qt::OtherFocusReason);
    OnCancel();
}

} // namespace saroko::ui
