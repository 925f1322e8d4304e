#include "ui/recorder/RecordStartDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <vector>

#include "core/document/ZorvicDoc.h"

namespace saroko::ui {
namespace {

QString U(const char* text) {
    return QString::fromUtf8(text);
}

// Keeps the messages of one exchange until the dialog has shown what it received.
class CDeferredSink final : public IMessageSink {
public:
    int ShowMessage(int id, std::string_view extra = {}) override {
        m_shown.emplace_back(id, std::string(extra));
        return kIdOk;
    }
    void Replay(IMessageSink& sink) const {
        for (const auto& [id, extra] : m_shown)
            sink.ShowMessage(id, extra);
    }

private:
    std::vector<std::pair<int, std::string>> m_shown;
};

// A radio pair's member: the checked button's index, -1 when none is checked.
int Checked(const QButtonGroup* group, int firstId) {
    const int id = group->checkedId();
    return id < 0 ? -1 : id - firstId;
}

void SetChecked(QButtonGroup* group, int firstId, int value) {
    if (value >= 0 && group->button(firstId + value)) {
        group->button(firstId + value)->setChecked(true);
        return;
    }
    // No button chosen: an exclusive group cannot uncheck its last button.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

void SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

// The group boxes of the fields, built before they are laid out.
struct CRecordStartDlg::Boxes {
    QGroupBox* names = nullptr;
    QGroupBox* interval = nullptr;
    QGroupBox* start = nullptr;
    QGroupBox* mode = nullptr;
    QGroupBox* unit = nullptr;
    QGroupBox* sensor = nullptr;
    QGroupBox* now = nullptr;
    QGroupBox* end = nullptr;
};

CRecordStartDlg::CRecordStartDlg(CZorvicDoc& doc, const CommServices& services, QWidget* parent)
    : CRecorderDialog(services, kHelpTopic, parent), m_doc(doc) {
    setWindowTitle(tr("記録スタート"));
    Boxes boxes;
    BuildNamesAndStart(boxes);
    BuildChoicesAndClocks(boxes);
    LayOut(boxes, BuildButtons());
    ConnectControls();
    LoadDocumentBlock();
}

void CRecordStartDlg::BuildNamesAndStart(Boxes& boxes) {
    // Channel names and interval.
    boxes.names = new QGroupBox(tr("ﾁｬﾝﾈﾙ名"), this);
    auto* ng = new QGridLayout(boxes.names);
    m_pName1 = Item(kIdcName1, new QLineEdit(boxes.names));
    m_pName2 = Item(kIdcName2, new QLineEdit(boxes.names));
    ng->addWidget(new QLabel(U("Ch.1:"), boxes.names), 0, 0);
    ng->addWidget(m_pName1, 0, 1);
    ng->addWidget(new QLabel(U("Ch.2:"), boxes.names), 1, 0);
    ng->addWidget(m_pName2, 1, 1);

    boxes.interval = new QGroupBox(tr("記録間隔"), this);
    auto* ig = new QVBoxLayout(boxes.interval);
    m_pInterval = Item(kIdcInterval, new QComboBox(boxes.interval));
    for (const IntervalEntry& e : kIntervalTable)
        m_pInterval->addItem(QStringLiteral("  %1").arg(U(e.label)));
    m_pInterval->setCurrentIndex(-1);
    ig->addWidget(m_pInterval);
    ig->addStretch();

    // Start method and the scheduled date.
    boxes.start = new QGroupBox(tr("記録開始日時"), this);
    auto* sg = new QGridLayout(boxes.start);
    m_pStart = new QButtonGroup(this);
    auto* scheduled = Item(kIdcScheduled, new QRadioButton(tr("予約ｽﾀｰﾄ"), boxes.start));
    auto* immediate = Item(kIdcImmediate, new QRadioButton(tr("即時ｽﾀｰﾄ"), boxes.start));
    m_pStart->addButton(scheduled, kIdcScheduled);
    m_pStart->addButton(immediate, kIdcImmediate);
    sg->addWidget(scheduled, 0, 0, 1, 4);
    sg->addWidget(immediate, 0, 4, 1, 4);
    static const int kDateIds[6] = {kIdcYear, kIdcMonth, kIdcDay, kIdcHour, kIdcMinute, kIdcSecond};
    static const char* const kDateUnits[6] = {QT_TR_NOOP("年"), QT_TR_NOOP("月"), QT_TR_NOOP("日"),
                                              QT_TR_NOOP("時"), QT_TR_NOOP("分"), QT_TR_NOOP("秒")};
    for (int i = 0; i < 6; ++i) {
        m_pDate[i] = Item(kDateIds[i], new QLineEdit(boxes.start));
        m_pDate[i]->setFixedWidth(DialogUnitsX(this, i == 0 ? 26 : 18));
        auto* cell = new QHBoxLayout;
        cell->addWidget(m_pDate[i]);
        cell->addWidget(new QLabel(tr(kDateUnits[i]), boxes.start));
        cell->addStretch();
        sg->addLayout(cell, 1 + i / 3, (i % 3) * 2, 1, 2);
    }
}

void CRecordStartDlg::BuildChoicesAndClocks(Boxes& boxes) {
    // Recording mode, the hidden unit, sensor.
    auto radioPair = [this](const char* title, int id0, const char* label0, int id1,
                            const char* label1, QButtonGroup*& group) {
        auto* box = new QGroupBox(tr(title), this);
        auto* l = new QVBoxLayout(box);
        group = new QButtonGroup(this);
        for (auto [id, label] : {std::pair{id0, label0}, std::pair{id1, label1}}) {
            auto* b = Item(id, new QRadioButton(tr(label), box));
            group->addButton(b, id);
            l->addWidget(b);
        }
        return box;
    };
    boxes.mode = radioPair(QT_TR_NOOP("記録モード"), kIdcOneTime, QT_TR_NOOP("ワンタイム"),
                           kIdcEndless, QT_TR_NOOP("エンドレス"), m_pMode);
    boxes.unit = radioPair(QT_TR_NOOP("本体温度単位"), kIdcCelsius, QT_TR_NOOP("摂氏（ﾟC）"),
                           kIdcFahrenheit, QT_TR_NOOP("華氏（ﾟF）"), m_pUnit);
    boxes.unit->hide(); // the recorder's unit is not offered
    boxes.sensor = radioPair(QT_TR_NOOP("センサ種類"), kIdcPt100, QT_TR_NOOP("Ｐｔ１００"),
                             kIdcJPt100, QT_TR_NOOP("ＪＰｔ１００"), m_pSensor);

    // Clocks.
    auto clockBox = [this](const char* title, int dateId, int timeId, QLabel** labels) {
        auto* box = new QGroupBox(tr(title), this);
        auto* l = new QVBoxLayout(box);
        labels[0] = Item(dateId, new QLabel(box));
        labels[1] = Item(timeId, new QLabel(box));
        for (int i = 0; i < 2; ++i) {
            labels[i]->setMinimumWidth(DialogUnitsX(this, 70));
            l->addWidget(labels[i]);
        }
        return box;
    };
    boxes.now = clockBox(QT_TR_NOOP("現在日時"), kIdcNowDate, kIdcNowTime, m_pClock);
    boxes.end = clockBox(QT_TR_NOOP("予定終了日時"), kIdcEndDate, kIdcEndTime, m_pClock + 2);
}

QVBoxLayout* CRecordStartDlg::BuildButtons() {
    auto* buttons = new QVBoxLayout;
    QPushButton* set = AddButton(kIdcSet, tr("設定"));
    set->setDefault(true);
    for (QPushButton* b :
         {set, AddButton(kIdcStop, tr("停止")), AddButton(kIdcReceive, tr("設定値受信")),
          AddButton(kIdcEnd, tr("終了")), AddButton(kIdcHelp, tr("ﾍﾙﾌﾟ"))})
        buttons->addWidget(b);
    buttons->addStretch();
    return buttons;
}

void CRecordStartDlg::LayOut(const Boxes& boxes, QVBoxLayout* buttons) {
    auto* fields = new QGridLayout;
    fields->addWidget(boxes.names, 0, 0, 1, 2);
    fields->addWidget(boxes.interval, 0, 2);
    fields->addWidget(boxes.start, 1, 0, 1, 3);
    fields->addWidget(boxes.mode, 2, 0);
    fields->addWidget(boxes.sensor, 2, 1);
    fields->addWidget(boxes.unit, 2, 2);
    fields->addWidget(boxes.now, 3, 0);
    fields->addWidget(boxes.end, 3, 1, 1, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CRecordStartDlg::ConnectControls() {
    connect(m_pInterval, &QComboBox::activated, this, &CRecordStartDlg::OnIntervalChosen);
    // The date is needed only for a scheduled start; a click greys it at once, and the
    // timer notices a change made any other way.
    connect(m_pStart, &QButtonGroup::idToggled, this,
            [this](int, bool) { EnableDateFields(m_pStart->checkedId() == kIdcScheduled); });
    auto button = [this](int id) { return static_cast<QPushButton*>(GetDlgItem(id)); };
    connect(button(kIdcSet), &QPushButton::clicked, this, &CRecordStartDlg::OnSet);
    connect(button(kIdcStop), &QPushButton::clicked, this, &CRecordStartDlg::OnStop);
    connect(button(kIdcReceive), &QPushButton::clicked, this, &CRecordStartDlg::OnReceive);
    connect(button(kIdcEnd), &QPushButton::clicked, this, [this] { done(kIdEnd); });
    ConnectHelp(button(kIdcHelp));
}

// The document's block as it stands, and the clocks ticking.
void CRecordStartDlg::LoadDocumentBlock() {
    m_form = FormFromSettings(m_doc.m_recSettings);
    m_nIntervalIndex = m_form.intervalIndex;
    WriteControls();
    EnableDateFields(m_form.startMethod == kStartScheduled);
    m_nPrevStartMethod = m_form.startMethod;
    UpdateClocks();

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(kTimerMs);
    connect(m_pTimer, &QTimer::timeout, this, &CRecordStartDlg::OnTimer);
    m_pTimer->start();
}

void CRecordStartDlg::ReadControls() {
    m_form.name1 = ToCp932(m_pName1->text());
    m_form.name2 = ToCp932(m_pName2->text());
    m_form.intervalIndex = m_pInterval->currentIndex();
    m_form.startMethod = Checked(m_pStart, kIdcScheduled);
    m_form.recordMode = Checked(m_pMode, kIdcOneTime);
    m_form.unit = Checked(m_pUnit, kIdcCelsius);
    m_form.sensor = Checked(m_pSensor, kIdcPt100);
    std::string* date[6] = {&m_form.date.year, &m_form.date.month,  &m_form.date.day,
                            &m_form.date.hour, &m_form.date.minute, &m_form.date.second};
    for (int i = 0; i < 6; ++i)
        *date[i] = m_pDate[i]->text().toStdString();
}

void CRecordStartDlg::WriteControls() {
    SetText(m_pName1, FromCp932(m_form.name1));
    SetText(m_pName2, FromCp932(m_form.name2));
    if (m_form.intervalIndex >= 0)
        m_pInterval->setCurrentIndex(m_form.intervalIndex);
    SetChecked(m_pStart, kIdcScheduled, m_form.startMethod);
    SetChecked(m_pMode, kIdcOneTime, m_form.recordMode);
    SetChecked(m_pUnit, kIdcCelsius, m_form.unit);
    SetChecked(m_pSensor, kIdcPt100, m_form.sensor);
    const std::string* date[6] = {&m_form.date.year, &m_form.date.month,  &m_form.date.day,
                                  &m_form.date.hour, &m_form.date.minute, &m_form.date.second};
    for (int i = 0; i < 6; ++i)
        SetText(m_pDate[i], QString::fromStdString(*date[i]));
}

void CRecordStartDlg::EnableDateFields(bool enable) {
    for (QLineEdit* e : m_pDate)
        e->setEnabled(enable);
}

void CRecordStartDlg::OnTimer() {
    ReadControls();
    if (m_form.startMethod != m_nPrevStartMethod) {
        EnableDateFields(m_form.startMethod == kStartScheduled);
        m_nPrevStartMethod = m_form.startMethod;
        WriteControls();
    }
    UpdateClocks();
}

void CRecordStartDlg::OnIntervalChosen() {
    ReadControls();
    UpdateClocks();
}

void CRecordStartDlg::UpdateClocks() {
    const uint32_t now = Services().clock ? Services().clock->Now() : 0;
    const ClockTexts c = RecordStartClock(m_form, now, m_nIntervalIndex);
    const std::string* texts[4] = {&c.nowDate, &c.nowTime, &c.endDate, &c.endTime};
    for (int i = 0; i < 4; ++i)
        m_pClock[i]->setText(QString::fromStdString(*texts[i]));
}

void CRecordStartDlg::OnSet() {
    RecordStartResult r;
    {
        CExchange exchange(*this);
        ReadControls();
        // The clocks' timer reads the controls again while the exchange waits.
        const RecordStartForm form = m_form;
        r = RunRecordStart(Services(), m_doc, form);
    }
    if (r.focusId != 0)
        FocusItem(r.focusId);
}

void CRecordStartDlg::OnStop() {
    CExchange exchange(*this);
    RunRecordStop(Services());
}

void CRecordStartDlg::OnReceive() {
    CDeferredSink deferred;
    CommServices services = Services();
    services.sink = &deferred;
    {
        CExchange exchange(*this);
        ReadControls();
        RecordStartForm form = m_form;
        if (RunReadSettings(services, form) == COMM_OK) {
            m_form = form;
            if (m_form.intervalIndex >= 0)
                m_nIntervalIndex = m_form.intervalIndex;
            WriteControls();
            EnableDateFields(m_form.startMethod == kStartScheduled);
            m_nPrevStartMethod = m_form.startMethod;
            UpdateClocks();
            repaint();
        }
    }
    deferred.Replay(*Services().sink);
}

} // namespace saroko::ui
