#include "ui/channels/RecCondDlg.h"

#include <QButtonGroup>
#include <QCoreApplication>
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

constexpr int kNameWidth = 90;
constexpr int kTimeWidth = 250;
const char* const kUnits[6] = {
    QT_TRANSLATE_NOOP("CRecCondDlg", "年"), QT_TRANSLATE_NOOP("CRecCondDlg", "月"),
    QT_TRANSLATE_NOOP("CRecCondDlg", "日"), QT_TRANSLATE_NOOP("CRecCondDlg", "時"),
    QT_TRANSLATE_NOOP("CRecCondDlg", "分"), QT_TRANSLATE_NOOP("CRecCondDlg", "秒")};

} // namespace

CRecCondDlg::CRecCondDlg(const CZorvicDoc& doc, const CChannelPalette& palette, bool withDelete,
                         QWidget* parent)
    : CChannelDialog(palette, help::kRecCond,
                     withDelete ? tr("記録条件の編集 ／ データ削除") : tr("記録条件の編集"),
                     parent),
      m_work(doc, withDelete) {
    m_pNames = new CRowColumn(
        palette,
        [this](int n) -> CRowColumn::Cell {
            if (!m_work.Present(n))
                return {};
            if (m_work.Deleted(n))
                return {QCoreApplication::translate("Channels", CRecCondWork::kDeletedName),
                        ChannelPaletteIndex(n)};
            return {FromCp932(m_work.NameText(n)), ChannelPaletteIndex(n)};
        },
        kNameWidth, this);
    m_pTimes = new CRowColumn(
        palette,
        [this](int n) -> CRowColumn::Cell {
            if (!m_work.Present(n))
                return {};
            return {QString::fromStdString(m_work.TimeText(n))};
        },
        kTimeWidth, this);

    auto* lists = new QHBoxLayout;
    lists->addWidget(ChannelButtons([this](int n) { OnChannel(n); }));
    lists->addWidget(PaintedGroup(tr("名前"), m_pNames));
    lists->addWidget(PaintedGroup(tr("開始日時"), m_pTimes));

    auto* edit = new QGroupBox(tr("編集項目"), this);
    auto* grid = new QGridLayout(edit);
    grid->addWidget(new QLabel(tr("選択Ch."), edit), 0, 0);
    m_pSelected = Item(kIdcSelected, new QLabel(QStringLiteral(" "), edit));
    grid->addWidget(m_pSelected, 0, 1);
    grid->addWidget(new QLabel(tr("名前 :"), edit), 1, 0);
    m_fields[kRcName] = Item(kIdcName + kRcName, new QLineEdit(edit));
    grid->addWidget(m_fields[kRcName], 1, 1, 1, 6);
    grid->addWidget(new QLabel(tr("開始日時 :"), edit), 2, 0);
    for (int i = 0; i < 6; ++i) {
        auto* f = Item(kIdcName + kRcYear + i, new QLineEdit(edit));
        f->setFixedWidth(i == 0 ? 48 : 32);
        m_fields[static_cast<std::size_t>(kRcYear + i)] = f;
        const int row = 2 + i / 3, col = 1 + (i % 3) * 2;
        grid->addWidget(f, row, col);
        grid->addWidget(new QLabel(tr(kUnits[i]), edit), row, col + 1);
    }

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(edit, 1);
    if (withDelete) {
        auto* modeBox = new QGroupBox(tr("選択Ch. "), this);
        auto* v = new QVBoxLayout(modeBox);
        auto* editMode = Item(kIdcEdit, new QRadioButton(tr("編集"), modeBox));
        auto* deleteMode = Item(kIdcDelete, new QRadioButton(tr("削除"), modeBox));
        auto* group = new QButtonGroup(modeBox);
        group->addButton(editMode, 0);
        group->addButton(deleteMode, 1);
        editMode->setChecked(true);
        v->addWidget(editMode);
        v->addWidget(deleteMode);
        v->addStretch();
        // The choice takes effect at once; the fields are not read.
        connect(group, &QButtonGroup::idClicked, this, [this](int id) { m_work.SetMode(id); });
        bottom->addWidget(modeBox);
    }

    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addLayout(bottom);
    top->addWidget(ButtonRow(kIdcUndo, tr("元に戻す")));
    connect(Button(kIdcOk), &QPushButton::clicked, this, &CRecCondDlg::accept);
    connect(Button(kIdcCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(Button(kIdcUndo), &QPushButton::clicked, this, &CRecCondDlg::OnUndo);
    ShowForm();
}

void CRecCondDlg::ReadForm() {
    m_work.form.name = ToCp932(m_fields[kRcName]->text());
    for (int i = 0; i < 6; ++i)
        m_work.form.date[static_cast<std::size_t>(i)] =
            m_fields[static_cast<std::size_t>(kRcYear + i)]->text().toStdString();
}

void CRecCondDlg::ShowForm() {
    m_fields[kRcName]->setText(FromCp932(m_work.form.name));
    for (int i = 0; i < 6; ++i)
        m_fields[static_cast<std::size_t>(kRcYear + i)]->setText(
            QString::fromStdString(m_work.form.date[static_cast<std::size_t>(i)]));
    m_pSelected->setText(m_work.Selected() != 0 ? QString::number(m_work.Selected())
                                                : QStringLiteral(" "));
    m_pNames->repaint();
    m_pTimes->repaint();
}

void CRecCondDlg::Finish(const RecCondOutcome& o) {
    if (o.messageId != 0)
        Message(o.messageId);
    if (o.reloadForm)
        ShowForm();
    if (o.focus >= 0)
        m_fields[static_cast<std::size_t>(o.focus)]->setFocus(Qt::OtherFocusReason);
}

void CRecCondDlg::OnChannel(int n) {
    ReadForm();
    Finish(m_work.Select(n));
}

void CRecCondDlg::OnUndo() {
    m_work.Undo();
    ShowForm();
}

void CRecCondDlg::accept() {
    ReadForm();
    const RecCondOutcome o = m_work.Ok();
    if (o.closed) {
        m_pNames->repaint();
        QDialog::accept();
        return;
    }
    Finish(o);
}

} // namespace saroko::ui
