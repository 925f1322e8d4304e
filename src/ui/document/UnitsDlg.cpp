#include "ui/document/UnitsDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/base/MessageSink.h"

namespace saroko::ui {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string S(const QLineEdit* e) {
    return e->text().trimmed().toStdString();
}

QLineEdit* NumberEdit(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setMaximumWidth(80);
    return e;
}

} // namespace

CUnitsDlg::CUnitsDlg(archive::CArchiveSession& session, QWidget* parent)
    : CDialogBase(kHelpTopic, parent), m_session(session) {
    setObjectName(QStringLiteral("units"));
    setWindowTitle(tr("保管場所と校正"));

    m_pList = new QListWidget(this);
    m_pList->setMinimumWidth(180);
    m_pNew = new QPushButton(tr("新規(&N)"), this);
    auto* left = new QVBoxLayout;
    auto* listLabel = new QLabel(tr("保管場所(&U):"), this);
    listLabel->setBuddy(m_pList);
    left->addWidget(listLabel);
    left->addWidget(m_pList, 1);
    left->addWidget(m_pNew);

    m_pName = new QLineEdit(this);
    m_pLocation = new QLineEdit(this);
    m_pRecorder = new QLineEdit(this);
    m_pRecorder->setPlaceholderText(tr("機種と製造番号など"));
    m_pEnergy = NumberEdit(this);
    m_pEnergy->setPlaceholderText(QStringLiteral("83.144"));
    m_pNote = new QLineEdit(this);
    auto* form = new QFormLayout;
    form->addRow(tr("名前(&A):"), m_pName);
    form->addRow(tr("場所(&L):"), m_pLocation);
    form->addRow(tr("記録計(&R):"), m_pRecorder);
    for (int c = 0; c < archive::kUnitChannels; ++c) {
        auto* row = new QHBoxLayout;
        m_low[static_cast<std::size_t>(c)] = NumberEdit(this);
        m_high[static_cast<std::size_t>(c)] = NumberEdit(this);
        row->addWidget(new QLabel(tr("下限"), this));
        row->addWidget(m_low[static_cast<std::size_t>(c)]);
        row->addWidget(new QLabel(tr("上限"), this));
        row->addWidget(m_high[static_cast<std::size_t>(c)]);
        row->addWidget(new QLabel(QStringLiteral("°C"), this));
        row->addStretch(1);
        form->addRow(tr("Ch.%1 の限度:").arg(c + 1), row);
    }
    auto* energyRow = new QHBoxLayout;
    energyRow->addWidget(m_pEnergy);
    energyRow->addWidget(new QLabel(QStringLiteral("kJ/mol"), this));
    energyRow->addStretch(1);
    auto* energyLabel = new QLabel(tr("活性化ｴﾈﾙｷﾞｰ(&E):"), this);
    energyLabel->setBuddy(m_pEnergy);
    form->addRow(energyLabel, energyRow);
    form->addRow(tr("メモ(&M):"), m_pNote);

    auto* calibrations = new QHBoxLayout;
    for (int c = 0; c < archive::kUnitChannels; ++c) {
        CalibrationFields& f = m_cal[static_cast<std::size_t>(c)];
        auto* box = new QGroupBox(tr("Ch.%1 の校正").arg(c + 1), this);
        box->setObjectName(QStringLiteral("calibration%1").arg(c + 1));
        auto* g = new QFormLayout(box);
        f.certificate = new QLineEdit(box);
        f.calibrated = new QLineEdit(box);
        f.due = new QLineEdit(box);
        for (QLineEdit* d : {f.calibrated, f.due})
            d->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
        f.kind = new QComboBox(box);
        f.kind->addItems({tr("なし"), tr("ｵﾌｾｯﾄ"), tr("2点 (直線)")});
        f.pages = new QStackedWidget(box);
        f.pages->addWidget(new QWidget(box));
        auto* offsetPage = new QWidget(box);
        auto* o = new QHBoxLayout(offsetPage);
        o->setContentsMargins(0, 0, 0, 0);
        f.offset = NumberEdit(offsetPage);
        o->addWidget(new QLabel(tr("測定値に加える"), offsetPage));
        o->addWidget(f.offset);
        o->addWidget(new QLabel(QStringLiteral("°C"), offsetPage));
        o->addStretch(1);
        f.pages->addWidget(offsetPage);
        auto* linePage = new QWidget(box);
        auto* l = new QGridLayout(linePage);
        l->setContentsMargins(0, 0, 0, 0);
        f.raw1 = NumberEdit(linePage);
        f.true1 = NumberEdit(linePage);
        f.raw2 = NumberEdit(linePage);
        f.true2 = NumberEdit(linePage);
        l->addWidget(new QLabel(tr("測定値"), linePage), 0, 1);
        l->addWidget(new QLabel(tr("真の値"), linePage), 0, 2);
        l->addWidget(new QLabel(tr("1 点目"), linePage), 1, 0);
        l->addWidget(f.raw1, 1, 1);
        l->addWidget(f.true1, 1, 2);
        l->addWidget(new QLabel(tr("2 点目"), linePage), 2, 0);
        l->addWidget(f.raw2, 2, 1);
        l->addWidget(f.true2, 2, 2);
        f.pages->addWidget(linePage);
        connect(f.kind, &QComboBox::currentIndexChanged, f.pages, &QStackedWidget::setCurrentIndex);
        g->addRow(tr("証明書番号:"), f.certificate);
        g->addRow(tr("校正日:"), f.calibrated);
        g->addRow(tr("有効期限:"), f.due);
        g->addRow(tr("補正:"), f.kind);
        g->addRow(f.pages);
        calibrations->addWidget(box);
    }

    m_pReason = new QLineEdit(this);
    m_pReason->setPlaceholderText(tr("変更の理由（記録保管庫の履歴に残ります）"));
    m_pSave = new QPushButton(tr("保存(&S)"), this);
    auto* close = new QPushButton(tr("閉じる"), this);
    auto* help = new QPushButton(tr("ﾍﾙﾌﾟ"), this);
    auto* buttons = new QHBoxLayout;
    auto* reasonLabel = new QLabel(tr("理由(&Y):"), this);
    reasonLabel->setBuddy(m_pReason);
    buttons->addWidget(reasonLabel);
    buttons->addWidget(m_pReason, 1);
    for (QPushButton* b : {m_pSave, close, help})
        buttons->addWidget(b);

    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(calibrations);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(m_pList, &QListWidget::currentRowChanged, this, &CUnitsDlg::Show);
    connect(m_pNew, &QPushButton::clicked, this, &CUnitsDlg::StartNew);
    connect(m_pSave, &QPushButton::clicked, this, &CUnitsDlg::Save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelp(help);
    m_pSave->setEnabled(m_session.Enabled());
    m_pNew->setEnabled(m_session.Enabled());
    Reload(1);
}

void CUnitsDlg::Reload(int select) {
    m_state = archive::LoadUnits(m_session);
    const QSignalBlocker block(m_pList);
    m_pList->clear();
    for (const archive::Unit& u : m_state.units)
        m_pList->addItem(Q(u.fields.name));
    if (m_state.units.empty()) {
        StartNew();
        return;
    }
    const int row = std::clamp(select, 1, static_cast<int>(m_state.units.size())) - 1;
    m_pList->setCurrentRow(row);
    Show(row);
}

void CUnitsDlg::Show(int row) {
    const archive::Unit* u = m_state.Find(row + 1);
    m_nShown = u ? u->id : 0;
    const archive::UnitForm f = archive::FormOf(u ? u->fields : archive::UnitFields{});
    m_pName->setText(Q(f.name));
    m_pLocation->setText(Q(f.location));
    m_pRecorder->setText(Q(f.recorder));
    m_pEnergy->setText(Q(f.energy));
    m_pNote->setText(Q(f.note));
    for (std::size_t c = 0; c < m_low.size(); ++c) {
        m_low[c]->setText(Q(f.low[c]));
        m_high[c]->setText(Q(f.high[c]));
        const auto& list = u ? u->calibrations[c] : std::vector<archive::CalibrationEntry>{};
        const archive::CalibrationForm k =
            archive::FormOf(list.empty() ? saroko::Calibration{} : list.back().calibration);
        CalibrationFields& w = m_cal[c];
        w.certificate->setText(Q(k.certificate));
        w.calibrated->setText(Q(k.calibrated));
        w.due->setText(Q(k.due));
        w.kind->setCurrentIndex(static_cast<int>(k.kind));
        w.offset->setText(Q(k.offset));
        w.raw1->setText(Q(k.raw1));
        w.true1->setText(Q(k.true1));
        w.raw2->setText(Q(k.raw2));
        w.true2->setText(Q(k.true2));
    }
    m_pReason->clear();
}

void CUnitsDlg::StartNew() {
    {
        const QSignalBlocker block(m_pList);
        m_pList->clearSelection();
        m_pList->setCurrentRow(-1);
    }
    Show(-1);
    m_pName->setFocus();
}

bool CUnitsDlg::Save() {
    archive::UnitForm form;
    form.name = S(m_pName);
    form.location = S(m_pLocation);
    form.recorder = S(m_pRecorder);
    form.energy = S(m_pEnergy);
    form.note = S(m_pNote);
    for (std::size_t c = 0; c < m_low.size(); ++c) {
        form.low[c] = S(m_low[c]);
        form.high[c] = S(m_high[c]);
    }
    const auto refuse = [this](archive::UnitResult r, QWidget* field) {
        ShowFrameworkMessage(Q(archive::UnitResultMessage(r)), this);
        if (field)
            field->setFocus();
        return false;
    };
    archive::UnitFields fields;
    if (const archive::UnitResult r = archive::ReadUnitForm(form, fields);
        r != archive::UnitResult::kOk)
        return refuse(r, r == archive::UnitResult::kEmptyName ? m_pName : nullptr);
    std::array<saroko::Calibration, archive::kUnitChannels> cal;
    for (std::size_t c = 0; c < m_cal.size(); ++c) {
        const CalibrationFields& w = m_cal[c];
        archive::CalibrationForm k{
            S(w.certificate), S(w.calibrated),
            S(w.due),         static_cast<Correction::Kind>(w.kind->currentIndex()),
            S(w.offset),      S(w.raw1),
            S(w.true1),       S(w.raw2),
            S(w.true2)};
        if (const archive::UnitResult r = archive::ReadCalibrationForm(k, cal[c]);
            r != archive::UnitResult::kOk)
            return refuse(r, w.certificate);
    }
    const std::string reason = S(m_pReason);
    int id = m_nShown;
    archive::UnitResult r = id == 0 ? archive::CreateUnit(m_session, m_state, fields, reason)
                                    : archive::ChangeUnit(m_session, m_state, id, fields, reason);
    if (r != archive::UnitResult::kOk && r != archive::UnitResult::kNoChange)
        return refuse(r, m_pName);
    if (id == 0) {
        m_state = archive::LoadUnits(m_session);
        id = static_cast<int>(m_state.units.size());
    }
    for (std::size_t c = 0; c < cal.size(); ++c) {
        const archive::Unit* u = m_state.Find(id);
        // A channel never calibrated and left empty is no calibration.
        if (u && u->calibrations[c].empty() && cal[c] == saroko::Calibration{})
            continue;
        r = archive::SetCalibration(m_session, m_state, id, static_cast<int>(c) + 1, cal[c],
                                    reason);
        if (r != archive::UnitResult::kOk && r != archive::UnitResult::kNoChange)
            return refuse(r, m_cal[c].certificate);
    }
    Reload(id);
    return true;
}

} // namespace saroko::ui
