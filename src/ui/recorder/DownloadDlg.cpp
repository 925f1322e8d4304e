#include "ui/recorder/DownloadDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

#include "core/channels/ChannelPalette.h"
#include "core/document/ZorvicDoc.h"
#include "core/text/TimeUtil.h"

namespace saroko::ui {
namespace {

QColor PaletteColour(const CChannelPalette& palette, int index) {
    const PaletteEntry& e = palette.Entry(index);
    return QColor(e.red, e.green, e.blue);
}

QLabel* Text(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

// The start time's text with two digits in every field, each the font's widest digit: room
// for any start from the beginning, so the dialog neither clips it nor grows when it comes.
int WidestStartTextWidth(const QFontMetrics& fm) {
    uint32_t t = 0;
    FromLocalFields(2035, 12, 28, 23, 59, 59, t);
    QString text = QString::fromStdString(FormatDownloadStart(t));
    QChar widest = QLatin1Char('0');
    for (char d = '1'; d <= '9'; ++d)
        if (fm.horizontalAdvance(QLatin1Char(d)) > fm.horizontalAdvance(widest))
            widest = QLatin1Char(d);
    for (QChar& c : text)
        if (c.isDigit())
            c = widest;
    return fm.horizontalAdvance(text);
}

} // namespace

CDownloadDlg::CDownloadDlg(CZorvicDoc& doc, const CChannelPalette& palette,
                           const CommServices& services, QWidget* parent)
    : CRecorderDialog(services, kHelpTopic, parent), m_doc(doc), m_palette(palette) {
    setWindowTitle(tr("記録データ吸い上げ"));
    QGroupBox* targets = BuildTargets();
    QVBoxLayout* buttons = BuildButtons();
    LayOut(targets, buttons, BuildStatus());
    ConnectButtons();
    ProposeTargets();
}

QGroupBox* CDownloadDlg::BuildTargets() {
    auto* targets = new QGroupBox(tr("ﾃﾞｰﾀ表示Ch."), this);
    auto* tg = new QGridLayout(targets);
    m_pList1 = Item(kIdcTarget1, new QComboBox(targets));
    m_pList2 = Item(kIdcTarget2, new QComboBox(targets));
    for (QComboBox* list : {m_pList1, m_pList2}) {
        for (int n = 1; n <= kChannelCount; ++n)
            list->addItem(QStringLiteral("  Ch.%1").arg(n));
        list->setCurrentIndex(-1);
    }
    tg->addWidget(Text(tr("ｹﾙﾌﾞﾗ Ch.1 :"), targets), 0, 0);
    tg->addWidget(m_pList1, 0, 1);
    tg->addWidget(Text(tr("ｹﾙﾌﾞﾗ Ch.2 :"), targets), 1, 0);
    tg->addWidget(m_pList2, 1, 1);
    // Where the download is kept in the archive: shown once there are units to choose from.
    m_pUnit = Item(kIdcStorageUnit, new QComboBox(targets));
    m_pUnit->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_pUnitLabel = Text(tr("保管場所(&U) :"), targets);
    m_pUnitLabel->setBuddy(m_pUnit);
    tg->addWidget(m_pUnitLabel, 2, 0);
    tg->addWidget(m_pUnit, 2, 1);
    OfferUnits({});

    return targets;
}

QVBoxLayout* CDownloadDlg::BuildButtons() {
    auto* buttons = new QVBoxLayout;
    QPushButton* download = AddButton(kIdcDownload, tr("吸い上げ"));
    download->setDefault(true);
    buttons->addWidget(download);
    buttons->addWidget(AddButton(kIdcEnd, tr("終了")));
    buttons->addWidget(AddButton(kIdcHelp, tr("ﾍﾙﾌﾟ")));
    buttons->addStretch();
    return buttons;
}

// The recorder's conditions, the counters and the progress bar.
QGroupBox* CDownloadDlg::BuildStatus() {
    auto* status = new QGroupBox(tr("吸い上げ状況"), this);
    auto* sg = new QGridLayout(status);
    struct Row {
        const char* label;
        int id;
        int unitId;
    } rows[] = {
        {QT_TR_NOOP("機種 : "), kIdcModel, 0},
        {QT_TR_NOOP("ｹﾙﾌﾞﾗ Ch.1 : "), kIdcName1, kIdcUnit1},
        {QT_TR_NOOP("ｹﾙﾌﾞﾗ Ch.2 : "), kIdcName2, kIdcUnit2},
        {QT_TR_NOOP("開始日時 : "), kIdcStart, 0},
        {QT_TR_NOOP("開始方法 :"), kIdcStartMode, 0},
        {QT_TR_NOOP("記録ﾓｰﾄﾞ : "), kIdcRecordMode, 0},
        {QT_TR_NOOP("ｾﾝｻ種類 : "), kIdcSensor, 0},
        {QT_TR_NOOP("記録間隔 : "), kIdcInterval, 0},
    };
    int r = 0;
    for (const Row& row : rows) {
        sg->addWidget(Text(tr(row.label), status), r, 0);
        sg->addWidget(StatusLabel(row.id), r, 1);
        if (row.unitId)
            sg->addWidget(StatusLabel(row.unitId), r, 2);
        ++r;
    }
    auto* counts = new QHBoxLayout;
    QLabel* received = Item(kIdcReceived, new QLabel(QStringLiteral("     0"), status));
    QLabel* total = Item(kIdcTotal, new QLabel(QStringLiteral("/     0"), status));
    // The counters are right-aligned numbers; a fixed pitch keeps them from jumping.
    for (QLabel* l : {received, total}) {
        l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    counts->addStretch();
    counts->addWidget(received);
    counts->addWidget(total);
    counts->addWidget(Text("Data", status));
    QLabel* left = Item(kIdcTimeLeft, new QLabel(status));
    // Room for "残り 0:00" from the start, so the counters do not move when it appears.
    left->setMinimumWidth(fontMetrics().horizontalAdvance(QString::fromUtf8("  残り 00:00")));
    left->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    counts->addWidget(left);
    sg->addLayout(counts, r++, 0, 1, 4);
    m_pProgress = new CDownloadProgress(m_palette, *this, status);
    sg->addWidget(m_pProgress, r++, 0, 1, 4, Qt::AlignHCenter);
    // Its line is there from the start, so the dialog keeps its size when a path comes.
    QLabel* kept = Item(kIdcKept, new QLabel(status));
    kept->setMinimumHeight(kept->fontMetrics().height());
    kept->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sg->addWidget(kept, r++, 0, 1, 4);
    // The unit stands right after the name.
    sg->setColumnStretch(3, 1);

    return status;
}

void CDownloadDlg::LayOut(QGroupBox* targets, QVBoxLayout* buttons, QGroupBox* status) {
    auto* top = new QHBoxLayout;
    top->addWidget(targets, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(status);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDownloadDlg::ConnectButtons() {
    auto button = [this](int id) { return static_cast<QPushButton*>(GetDlgItem(id)); };
    connect(button(kIdcDownload), &QPushButton::clicked, this, &CDownloadDlg::OnDownload);
    connect(button(kIdcEnd), &QPushButton::clicked, this, [this] { done(kIdEnd); });
    ConnectHelp(button(kIdcHelp));
}

CDownloadDlg::~CDownloadDlg() = default;

QLabel* CDownloadDlg::StatusLabel(int id) {
    auto* l = Item(id, new QLabel(this));
    l->setMinimumWidth(DialogUnitsX(this, id == kIdcUnit1 || id == kIdcUnit2 ? 16 : 60));
    if (id == kIdcStart)
        l->setMinimumWidth(std::max(l->minimumWidth(), WidestStartTextWidth(l->fontMetrics())));
    return l;
}

void CDownloadDlg::ProposeTargets() {
    DefaultTargets(m_doc, m_nTarget1, m_nTarget2);
    // With no free channel left a list keeps what it showed.
    if (m_nTarget1 != 0)
        m_pList1->setCurrentIndex(m_nTarget1 - 1);
    if (m_nTarget2 != 0)
        m_pList2->setCurrentIndex(m_nTarget2 - 1);
}

void CDownloadDlg::OfferUnits(const UnitOffer& offer) {
    m_pUnit->clear();
    m_pUnit->addItem(tr("(なし)"), 0);
    for (const auto& [id, name] : offer.units)
        m_pUnit->addItem(name, id);
    m_pUnit->setCurrentIndex(std::max(m_pUnit->findData(offer.offered), 0));
    m_pUnit->setVisible(!offer.units.empty());
    m_pUnitLabel->setVisible(!offer.units.empty());
}

int CDownloadDlg::ChosenUnit() const {
    return m_pUnit->currentData().toInt();
}

void CDownloadDlg::OnDownload() {
    const int t1 = m_pList1->currentIndex() + 1;
    const int t2 = m_pList2->currentIndex() + 1;
    CRecorderDownload download(Services(), m_doc, *this);
    m_szKept.clear();
    auto* kept = static_cast<QLabel*>(GetDlgItem(kIdcKept));
    kept->clear();
    kept->setToolTip({});
    {
        CExchange exchange(*this);
        m_pRunning = &download;
        m_nLastResult = download.Run(t1, t2);
        m_pRunning = nullptr;
    }
    if (m_nLastResult == COMM_OK) {
        m_bChanged = true;
        m_szKept = QString::fromStdString(download.KeptPath());
        if (m_keptHook && !m_szKept.isEmpty())
            m_keptHook(m_szKept, ChosenUnit());
    }
    if (!m_szKept.isEmpty()) {
        // A long path is shortened in its middle to the dialog's width; the tip has it whole.
        const QString note = tr("控え: %1");
        const int room =
            m_pProgress->width() - kept->fontMetrics().horizontalAdvance(note.arg(QString()));
        kept->setText(note.arg(kept->fontMetrics().elidedText(QDir::toNativeSeparators(m_szKept),
                                                              Qt::ElideMiddle, std::max(room, 0))));
        kept->setToolTip(QDir::toNativeSeparators(m_szKept));
    }
    progress = 0;
    steps = 20;
    ProposeTargets();
    ResetStatus();
    repaint();
}

void CDownloadDlg::ResetStatus() {
    for (int id : {kIdcModel, kIdcName1, kIdcName2, kIdcUnit1, kIdcUnit2, kIdcStart, kIdcStartMode,
                   kIdcRecordMode, kIdcSensor, kIdcInterval})
        static_cast<QLabel*>(GetDlgItem(id))->clear();
    SetReceivedText("    0");
    SetTotalText("/    0");
    m_pace.Reset();
    static_cast<QLabel*>(GetDlgItem(kIdcTimeLeft))->clear();
    m_pProgress->update();
}

void CDownloadDlg::ShowHeader() {
    if (!m_pRunning)
        return;
    const DownloadStatusTexts t = m_pRunning->StatusTexts();
    auto set = [this](int id, const QString& text) {
        static_cast<QLabel*>(GetDlgItem(id))->setText(text);
    };
    set(kIdcModel, QString::fromStdString(t.model));
    set(kIdcName1, FromCp932(t.name1));
    set(kIdcName2, FromCp932(t.name2));
    set(kIdcUnit1, QString::fromStdString(t.unit));
    set(kIdcUnit2, QString::fromStdString(t.unit));
    set(kIdcStart, QString::fromStdString(t.start));
    set(kIdcStartMode, QString::fromStdString(t.startMode));
    set(kIdcRecordMode, QString::fromStdString(t.recordMode));
    set(kIdcSensor, QString::fromStdString(t.sensor));
    set(kIdcInterval, QString::fromStdString(t.interval));
}

void CDownloadDlg::SetTotalText(const std::string& text) {
    static_cast<QLabel*>(GetDlgItem(kIdcTotal))->setText(QString::fromStdString(text));
    // The header has come: the records' rate is measured from here.
    if (InExchange() && Services().line)
        m_pace.Start(Services().line->TickCount(),
                     static_cast<uint32_t>(std::strtoul(text.c_str() + 1, nullptr, 10)));
}

void CDownloadDlg::SetReceivedText(const std::string& text) {
    // Called for every byte: only a new count is worth a repaint.
    auto* label = static_cast<QLabel*>(GetDlgItem(kIdcReceived));
    const QString s = QString::fromStdString(text);
    if (label->text() == s)
        return;
    label->setText(s);
    if (!InExchange() || !Services().line)
        return;
    m_pace.Update(Services().line->TickCount(),
                  static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10)));
    auto* left = static_cast<QLabel*>(GetDlgItem(kIdcTimeLeft));
    const QString t = QString::fromStdString(FormatTimeLeft(m_pace.SecondsLeft()));
    if (left->text() != t)
        left->setText(t);
}

void CDownloadDlg::PaintProgress() {
    m_pProgress->update();
}

CDownloadProgress::CDownloadProgress(const CChannelPalette& palette, const IDownloadOwner& owner,
                                     QWidget* parent)
    : QWidget(parent), m_palette(palette), m_owner(owner) {}

QSize CDownloadProgress::sizeHint() const {
    // 16 to 206 across and 139 to 151 down in the original's dialog units, with the scale
    // labels above the bar.
    const int labels = fontMetrics().height();
    return {DialogUnitsX(this, 190) + fontMetrics().horizontalAdvance(QStringLiteral("100%")),
            labels + 2 + DialogUnitsY(this, 12)};
}

QRect CDownloadProgress::BarRect() const {
    const int half = fontMetrics().horizontalAdvance(QStringLiteral("100%")) / 2;
    const int top = fontMetrics().height() + 2;
    return {half, top, DialogUnitsX(this, 190), DialogUnitsY(this, 12)};
}

void CDownloadProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect bar = BarRect();
    const int left = bar.x(), top = bar.y(), w = bar.width(), h = bar.height();

    // The scale: "0", "25", "50", "75", "100%" centred over their marks.
    p.setPen(PaletteColour(m_palette, kPalText));
    static const char* const kLabels[5] = {"0", "25", "50", "75", "100%"};
    for (int k = 0; k < 5; ++k) {
        const QString s = QString::fromLatin1(kLabels[k]);
        const int x = left + w * k / 4 - fontMetrics().horizontalAdvance(s) / 2;
        p.drawText(x, fontMetrics().ascent(), s);
    }

    // The empty frame, filled and outlined in the face colour.
    const QColor face = PaletteColour(m_palette, kPalBackground);
    p.fillRect(left, top, w, h, face);
    p.setPen(face);
    p.drawRect(left, top, w - 1, h - 1);

    // Quarter marks and the middle line, two pixels wide.
    const QColor marks = PaletteColour(m_palette, kPalFrame);
    for (int k = 0; k < 5; ++k) {
        const int x = std::min(left + w * k / 4, left + w - 2);
        p.fillRect(x, top, 2, h, marks);
    }
    p.fillRect(left, top + h / 2 - 1, w, 2, marks);

    const int filled = ProgressFillWidth(w, m_owner.progress, m_owner.steps);
    if (filled > 0)
        p.fillRect(left, top, filled, h, PaletteColour(m_palette, kPalProgress));
}

} // namespace saroko::ui
