#include "ui/channels/ScaleDlgs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace saroko::ui {
namespace {

const char* const kUnits[6] = {
    QT_TRANSLATE_NOOP("CCalcRangeDlg", "年"), QT_TRANSLATE_NOOP("CCalcRangeDlg", "月"),
    QT_TRANSLATE_NOOP("CCalcRangeDlg", "日"), QT_TRANSLATE_NOOP("CCalcRangeDlg", "時"),
    QT_TRANSLATE_NOOP("CCalcRangeDlg", "分"), QT_TRANSLATE_NOOP("CCalcRangeDlg", "秒")};
constexpr int kPollMilliseconds = 500;

} // namespace

CCalcRangeDlg::CCalcRangeDlg(uint32_t calcStart, uint32_t calcEnd, const GraphRange& range,
                             const CChannelPalette& palette, QWidget* parent)
    : CChannelDialog(palette, help::kCalcRange, tr("計算範囲の設定"), parent),
      m_work(calcStart, calcEnd, range) {
    auto* current = new QGroupBox(tr("現在の計算範囲"), this);
    auto* cv = new QVBoxLayout(current);
    cv->addWidget(Item(kIdcCurrentStart,
                       new QLabel(QString::fromStdString(m_work.CurrentStartText()), current)));
    cv->addWidget(
        Item(kIdcCurrentEnd, new QLabel(QString::fromStdString(m_work.CurrentEndText()), current)));

    auto* fresh = new QGroupBox(tr("新たに設定する計算範囲"), this);
    auto* grid = new QGridLayout(fresh);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 6; ++i) {
            const int index = row * 6 + i;
            auto* f = Item(kIdcField + index, new QLineEdit(fresh));
            f->setFixedWidth(i == 0 ? 48 : 32);
            m_fields[static_cast<std::size_t>(index)] = f;
            grid->addWidget(f, row, i * 2);
            grid->addWidget(new QLabel(tr(kUnits[i]), fresh), row, i * 2 + 1);
        }
        grid->addWidget(new QLabel(row == 0 ? tr("から") : tr("まで"), fresh), row, 12);
    }
    grid->addWidget(new QLabel(tr("最初はＡＢカーソルの日時が表示されます。"), fresh), 2, 0, 1, 10);
    QPushButton* whole = AddButton(kIdcWhole, tr("ｸﾞﾗﾌ全体"), fresh);
    grid->addWidget(whole, 2, 10, 1, 3);
    connect(whole, &QPushButton::clicked, this, [this] {
        m_work.WholeGraph();
        ShowFields();
    });

    auto* top = new QVBoxLayout(this);
    top->addWidget(current);
    top->addWidget(fresh);
    top->addWidget(ButtonRow(0, {}));
    connect(Button(kIdcOk), &QPushButton::clicked, this, &CCalcRangeDlg::accept);
    connect(Button(kIdcCancel), &QPushButton::clicked, this, &QDialog::reject);
    ShowFields();
}

void CCalcRangeDlg::ShowFields() {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(QString::fromStdString(m_work.fields[i]));
}

void CCalcRangeDlg::accept() {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_work.fields[i] = m_fields[i]->text().toStdString();
    const CalcRangeCheck c = m_work.Check();
    if (c.messageId != 0) {
        // The field first, then the message; the dialog stays open.
        m_fields[static_cast<std::size_t>(c.focus)]->setFocus(Qt::OtherFocusReason);
        Message(c.messageId);
        return;
    }
    QDialog::accept();
}

CFullScaleDlg::CFullScaleDlg(const CZorvicDoc& doc, const CChannelPalette& palette, QWidget* parent)
    : CChannelDialog(palette, help::kFullScale, tr("縦軸フルスケール設定"), parent) {
    auto* modes = new QWidget(this);
    auto* mv = new QHBoxLayout(modes);
    m_pAuto = Item(kIdcAuto, new QRadioButton(tr("オート"), modes));
    m_pManual = Item(kIdcManual, new QRadioButton(tr("マニュアル"), modes));
    auto* group = new QButtonGroup(this);
    group->addButton(m_pAuto, 0);
    group->addButton(m_pManual, 1);
    mv->addWidget(m_pAuto);
    mv->addWidget(m_pManual);

    auto* limits = new QWidget(this);
    auto* grid = new QGridLayout(limits);
    m_pUpper = Item(kIdcUpper, new QLineEdit(limits));
    m_pLower = Item(kIdcLower, new QLineEdit(limits));
    grid->addWidget(new QLabel(tr("上限値 : "), limits), 0, 0);
    grid->addWidget(m_pUpper, 0, 1);
    grid->addWidget(new QLabel(tr("下限値 : "), limits), 1, 0);
    grid->addWidget(m_pLower, 1, 1);

    auto* top = new QVBoxLayout(this);
    top->addWidget(modes);
    top->addWidget(limits);
    top->addWidget(ButtonRow(kIdcDefaults, tr("初期値")));
    connect(Button(kIdcOk), &QPushButton::clicked, this, &CFullScaleDlg::accept);
    connect(Button(kIdcCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(Button(kIdcDefaults), &QPushButton::clicked, this,
            [this] { ShowForm(FullScaleDefaults()); });

    ShowForm(FullScaleFromDocument(doc));
    m_timer.setInterval(kPollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CFullScaleDlg::OnTimerTick);
    m_timer.start();
}

int CFullScaleDlg::RadioMode() const {
    return m_pManual->isChecked() ? 1 : 0;
}

void CFullScaleDlg::ShowForm(const FullScaleForm& f) {
    m_nMode = f.mode;
    (f.mode == 1 ? m_pManual : m_pAuto)->setChecked(true);
    m_pUpper->setText(QString::fromStdString(f.upper));
    m_pLower->setText(QString::fromStdString(f.lower));
    m_pUpper->setEnabled(f.mode == 1);
    m_pLower->setEnabled(f.mode == 1);
    m_nLastMode = f.mode;
}

void CFullScaleDlg::OnTimerTick() {
    m_nMode = RadioMode();
    if (m_nMode == m_nLastMode)
        return;
    m_pUpper->setEnabled(m_nMode == 1);
    m_pLower->setEnabled(m_nMode == 1);
    m_nLastMode = m_nMode;
}

void CFullScaleDlg::accept() {
    m_nMode = RadioMode();
    const FullScaleCheck c =
        CheckFullScale(m_pUpper->text().toStdString(), m_pLower->text().toStdString());
    if (c.messageId != 0) {
        (c.focus == kScaleLower ? m_pLower : m_pUpper)->setFocus(Qt::OtherFocusReason);
        Message(c.messageId);
        return;
    }
    m_fUpper = c.upper;
    m_fLower = c.lower;
    m_timer.stop();
    QDialog::accept();
}

} // namespace saroko::ui
