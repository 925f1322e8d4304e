#include "ui/document/RecordingsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QTimeZone>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <set>

#include "core/archive/ArchiveFiles.h"
#include "core/archive/ArchiveSettings.h"
#include "core/archive/ArchiveSpool.h"
#include "core/archive/DocumentArchive.h"
#include "core/archive/Signatures.h"
#include "core/text/TimeUtil.h"
#include "platform/ArchiveSetup.h"
#include "ui/base/MessageSink.h"

namespace saroko::ui {
namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;

// Sorts by the value kept beside the text: times and counts in their own order.
class CSortedItem final : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int c = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(c, kSortRole), b = other.data(c, kSortRole);
        if (a.isValid() && b.isValid())
            return QVariant::compare(a, b) == QPartialOrdering::Less;
        return text(c) < other.text(c);
    }
};

QString LocalText(int64_t utc) {
    return QDateTime::fromSecsSinceEpoch(utc).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

int64_t UtcSecs(const std::string& text) {
    return QDateTime::fromString(QString::fromStdString(text), Qt::ISODate).toSecsSinceEpoch();
}

int64_t SeenUtc(const archive::Recording& r) {
    return UtcSecs(r.firstSeen);
}

bool IsBad(const std::string& status) {
    return status == archive::kStatusChanged || status == archive::kStatusMissing;
}

// A row or an event that waits on this computer for a site archive's server.
constexpr char kWaiting[] = "waiting";

QString StatusText(const std::string& status) {
    if (status == kWaiting)
        return CRecordingsDlg::tr("送信待ち");
    if (status == archive::kStatusVerified)
        return CRecordingsDlg::tr("確認済み");
    if (status == archive::kStatusChanged)
        return CRecordingsDlg::tr("変更あり");
    if (status == archive::kStatusMissing)
        return CRecordingsDlg::tr("ﾌｧｲﾙなし");
    return CRecordingsDlg::tr("未確認");
}

// What a "created" or "changed" event names, in the window's words; other details as stored.
QString DetailText(const std::string& detail) {
    static const std::pair<const char*, const char*> kWords[] = {
        {"downloaded", QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "吸い上げ")},
        {"imported", QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "取り込み")},
        {"saved", QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "保存")},
        {archive::kKeyRegistered, QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "登録")},
        {archive::kKeyRetired, QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "廃止")},
        {archive::kReasonRequiredSetting,
         QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "変更には理由が必要")},
        {"changed", QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "内容が保管時と違う")},
        {archive::kChangeName,
         QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "チャンネル名")},
        {archive::kChangeStart,
         QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "記録開始時刻")},
        {archive::kChangeUnit, QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "単位")},
        {archive::kChangeLimits,
         QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "縦軸フルスケール")},
        {archive::kChangeDeleted,
         QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "チャンネル削除")},
        {archive::kChangeOrder,
         QT_TRANSLATE_NOOP("saroko::ui::CRecordingHistoryDlg", "チャンネル番号")},
    };
    for (const auto& [word, text] : kWords)
        if (detail == word)
            return CRecordingHistoryDlg::tr(text);
    return QString::fromStdString(detail);
}

QString KindText(archive::EventKind kind) {
    switch (kind) {
    case archive::EventKind::Created:
        return CRecordingHistoryDlg::tr("作成");
    case archive::EventKind::Opened:
        return CRecordingHistoryDlg::tr("読み込み");
    case archive::EventKind::Changed:
        return CRecordingHistoryDlg::tr("変更");
    case archive::EventKind::Saved:
        return CRecordingHistoryDlg::tr("保存");
    case archive::EventKind::Exported:
        return CRecordingHistoryDlg::tr("ﾃｷｽﾄ出力");
    case archive::EventKind::Reported:
        return CRecordingHistoryDlg::tr("ﾚﾎﾟｰﾄ出力");
    case archive::EventKind::Printed:
        return CRecordingHistoryDlg::tr("印刷");
    case archive::EventKind::Commented:
        return CRecordingHistoryDlg::tr("ｺﾒﾝﾄ");
    case archive::EventKind::Unit:
        return CRecordingHistoryDlg::tr("保管場所");
    case archive::EventKind::Assigned:
        return CRecordingHistoryDlg::tr("保管場所の割り当て");
    case archive::EventKind::Calibrated:
        return CRecordingHistoryDlg::tr("校正");
    case archive::EventKind::Key:
        return CRecordingHistoryDlg::tr("署名鍵");
    case archive::EventKind::Signed:
        return CRecordingHistoryDlg::tr("電子署名");
    case archive::EventKind::Setting:
        return CRecordingHistoryDlg::tr("保管庫の設定");
    }
    return {};
}

} // namespace

CRecordingsDlg::CRecordingsDlg(archive::CArchiveSession& session, QWidget* parent)
    : CDialogBase(kHelpTopic, parent), m_session(session) {
    setObjectName(QStringLiteral("recordings"));
    setWindowTitle(tr("記録ﾃﾞｰﾀ一覧"));
    BuildControls();
    LayOut();
    Connect();
    Refill();
}

void CRecordingsDlg::BuildControls() {
    const QDate today = QDate::currentDate();
    m_pUseFrom = new QCheckBox(tr("開始日(&S):"), this);
    m_pFrom = new QDateEdit(today.addMonths(-1), this);
    m_pUseTo = new QCheckBox(tr("終了日(&E):"), this);
    m_pTo = new QDateEdit(today, this);
    for (QDateEdit* d : {m_pFrom, m_pTo}) {
        d->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        d->setCalendarPopup(true);
        d->setEnabled(false);
    }
    m_pName = new QLineEdit(this);
    m_pName->setPlaceholderText(tr("チャンネル名の一部"));
    m_pUnit = new QComboBox(this);
    m_pUnit->addItem(tr("すべての保管場所"));
    m_pList = new QTreeWidget(this);
    m_pList->setColumnCount(kColumns);
    m_pList->setHeaderLabels({tr("ﾌｧｲﾙ名"), tr("取得"), tr("取り込み日時"), tr("記録計"),
                              tr("チャンネル名"), tr("最初のデータ"), tr("最後のデータ"),
                              tr("データ数"), tr("状態"), tr("最終検証")});
    m_pList->setRootIsDecorated(false);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setSortingEnabled(true);
    m_pList->sortByColumn(kSeen, Qt::DescendingOrder);
    m_pList->setAllColumnsShowFocus(true);
    m_pOpen = new QPushButton(tr("開く(&O)"), this);
    m_pHistory = new QPushButton(tr("履歴(&H)..."), this);
    m_pVerify = new QPushButton(tr("すべて検証(&V)"), this);
    m_pTrail = new QPushButton(tr("監査証跡(&A)..."), this);
    m_pClose = new QPushButton(tr("閉じる"), this);
    m_pHelp = new QPushButton(tr("ﾍﾙﾌﾟ"), this);
    m_pSummary = new QLabel(this);
    m_pWaiting = new QLabel(this);
    m_pWaiting->setWordWrap(true);
}

void CRecordingsDlg::LayOut() {
    auto* filter = new QHBoxLayout;
    filter->addWidget(m_pUseFrom);
    filter->addWidget(m_pFrom);
    filter->addWidget(m_pUseTo);
    filter->addWidget(m_pTo);
    auto* nameLabel = new QLabel(tr("名前(&N):"), this);
    nameLabel->setBuddy(m_pName);
    filter->addWidget(nameLabel);
    filter->addWidget(m_pName, 1);
    auto* unitLabel = new QLabel(tr("保管場所(&U):"), this);
    unitLabel->setBuddy(m_pUnit);
    filter->addWidget(unitLabel);
    filter->addWidget(m_pUnit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pSummary, 1);
    for (QPushButton* b : {m_pOpen, m_pHistory, m_pVerify, m_pTrail, m_pClose, m_pHelp})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(m_pList, 1);
    layout->addWidget(m_pWaiting);
    layout->addLayout(buttons);
    resize(1180, 460);
}

void CRecordingsDlg::Connect() {
    connect(m_pUseFrom, &QCheckBox::toggled, m_pFrom, &QWidget::setEnabled);
    connect(m_pUseTo, &QCheckBox::toggled, m_pTo, &QWidget::setEnabled);
    for (QCheckBox* c : {m_pUseFrom, m_pUseTo})
        connect(c, &QCheckBox::toggled, this, &CRecordingsDlg::Refill);
    for (QDateEdit* d : {m_pFrom, m_pTo})
        connect(d, &QDateEdit::dateChanged, this, &CRecordingsDlg::Refill);
    connect(m_pName, &QLineEdit::textChanged, this, &CRecordingsDlg::Refill);
    connect(m_pUnit, &QComboBox::currentIndexChanged, this, &CRecordingsDlg::Refill);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, &CRecordingsDlg::OpenChosen);
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_pOpen->setEnabled(!Chosen().empty());
        m_pHistory->setEnabled(Chosen().size() == 1);
    });
    connect(m_pOpen, &QPushButton::clicked, this, &CRecordingsDlg::OpenChosen);
    connect(m_pHistory, &QPushButton::clicked, this, &CRecordingsDlg::ShowHistory);
    connect(m_pVerify, &QPushButton::clicked, this, &CRecordingsDlg::VerifyAll);
    connect(m_pTrail, &QPushButton::clicked, this,
            [this] { CAuditTrailDlg(m_session, this).exec(); });
    connect(m_pClose, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelp(m_pHelp);
}

archive::RecordingFilter CRecordingsDlg::Filter() const {
    archive::RecordingFilter f;
    // Whole local days: from the first second of the first to the last of the last.
    if (m_pUseFrom->isChecked())
        f.from = m_pFrom->date().startOfDay().toSecsSinceEpoch();
    if (m_pUseTo->isChecked())
        f.to = m_pTo->date().addDays(1).startOfDay().toSecsSinceEpoch() - 1;
    f.name = m_pName->text().trimmed().toStdString();
    return f;
}

void CRecordingsDlg::ReadArchive() {
    m_recordings.clear();
    std::vector<archive::KeptFile> kept;
    std::vector<archive::FileCheck> checks;
    if (m_session.Enabled()) {
        m_session.Store().Recordings(m_recordings);
        m_session.Store().KeptFiles(kept);
        m_session.Store().Checks(checks);
    }
    m_files = archive::ListedFiles(m_recordings, kept);
    m_nHeld = m_files.size();
    // What waits for the server: rows of their own for the recordings it brings.
    std::set<std::string> held;
    for (const archive::Recording& r : m_recordings)
        held.insert(r.sha256);
    const archive::WaitingWork waiting =
        m_session.Enabled()
            ? archive::WhatWaits(m_session.Store(), {},
                                 [&](const std::string& h) { return held.count(h) > 0; })
            : archive::WaitingWork{};
    for (const archive::Recording& r : waiting.recordings) {
        m_files.push_back(
            {m_recordings.size(), r.path, {}, {}, r.source == archive::kSourceDownload});
        m_recordings.push_back(r);
    }
    m_pWaiting->setVisible(!waiting.events.empty());
    m_pWaiting->setText(tr("%n 件が送信待ちです（新しい記録ﾃﾞｰﾀ %1 件）。"
                           "サーバーにつながると順に送られます。",
                           nullptr, static_cast<int>(waiting.events.size()))
                            .arg(waiting.recordings.size()));
    m_units = archive::LoadUnits(m_session);
    {
        const QSignalBlocker block(m_pUnit);
        while (m_pUnit->count() > 1)
            m_pUnit->removeItem(1);
        for (const archive::Unit& u : m_units.units)
            m_pUnit->addItem(QString::fromStdString(u.fields.name));
    }
    std::map<std::string, const archive::FileCheck*> last;
    for (const archive::FileCheck& c : checks)
        last[c.path] = &c;
    m_status.clear();
    m_checkedAt.clear();
    for (const archive::ListedFile& f : m_files) {
        if (m_status.size() >= m_nHeld) {
            m_status.push_back(kWaiting);
            m_checkedAt.emplace_back();
            continue;
        }
        const auto it = last.find(f.path);
        const archive::FileCheck* check =
            it != last.end() && it->second->recordingId == m_recordings[f.recording].id ? it->second
                                                                                        : nullptr;
        m_status.push_back(
            archive::ShownStatus(QuickStatusOf(m_recordings[f.recording], f.path), check));
        // The check's time only beside what that check found.
        m_checkedAt.push_back(check && check->status == m_status.back() ? check->checkedAt
                                                                        : std::string());
    }
    m_bRead = true;
}

void CRecordingsDlg::Refill() {
    if (!m_bRead)
        ReadArchive();
    const archive::RecordingFilter filter = Filter();
    m_pList->setSortingEnabled(false);
    m_pList->clear();
    const QIcon changed = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QIcon missing = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon waitingIcon = style()->standardIcon(QStyle::SP_ArrowUp);
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const archive::ListedFile& f = m_files[i];
        const archive::Recording& r = m_recordings[f.recording];
        if (!archive::Matches(r, filter))
            continue;
        if (const int unit = m_pUnit->currentIndex(); unit > 0) {
            const archive::Unit* u = m_units.UnitOf(r.sha256);
            if (!u || u->id != unit)
                continue;
        }
        QStringList names;
        for (const archive::ChannelInfo& c : r.channels)
            names << QStringLiteral("CH%1 %2").arg(c.number).arg(QString::fromStdString(c.name));
        const auto [first, last] = archive::SampleSpan(r);
        const QString path = QString::fromStdString(f.path);
        auto* item = new CSortedItem(m_pList);
        item->setData(kFile, kIndexRole, static_cast<qulonglong>(i));
        item->setText(kFile, QFileInfo(path).fileName());
        item->setToolTip(kFile, path);
        item->setText(kSource, r.source == "download" ? tr("吸い上げ") : tr("ﾌｧｲﾙ"));
        item->setText(kSeen, LocalText(SeenUtc(r)));
        item->setData(kSeen, kSortRole, static_cast<qlonglong>(SeenUtc(r)));
        item->setText(kRecorder, r.recorder.empty() ? QStringLiteral("-")
                                                    : QString::fromStdString(r.recorder));
        item->setText(kChannels, names.join(QStringLiteral(", ")));
        item->setText(kFirst, r.channels.empty() ? QString() : LocalText(first));
        item->setData(kFirst, kSortRole, static_cast<qlonglong>(first));
        item->setText(kLast, r.channels.empty() ? QString() : LocalText(last));
        item->setData(kLast, kSortRole, static_cast<qlonglong>(last));
        item->setText(kSamples, QString::number(archive::SampleTotal(r)));
        item->setData(kSamples, kSortRole, archive::SampleTotal(r));
        item->setTextAlignment(kSamples, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(kStatus, StatusText(m_status[i]));
        // Not by the word alone: a file in trouble stands out by its colour and its icon.
        if (IsBad(m_status[i])) {
            item->setIcon(kStatus, m_status[i] == archive::kStatusMissing ? missing : changed);
            for (int c = 0; c < kColumns; ++c)
                item->setForeground(c, QColor(0xb0, 0x00, 0x20));
        }
        if (m_status[i] == kWaiting)
            item->setIcon(kStatus, waitingIcon);
        if (!m_checkedAt[i].empty()) {
            item->setText(kChecked, LocalText(UtcSecs(m_checkedAt[i])));
            item->setData(kChecked, kSortRole, static_cast<qlonglong>(UtcSecs(m_checkedAt[i])));
        }
    }
    m_pList->setSortingEnabled(true);
    for (int c = 0; c < kColumns; ++c)
        m_pList->resizeColumnToContents(c);
    // The state's longest word fits with its icon whatever rows are shown.
    int wordWidth = 0;
    for (const char* status : {archive::kStatusVerified, archive::kStatusUnverified,
                               archive::kStatusChanged, archive::kStatusMissing, kWaiting})
        wordWidth =
            std::max(wordWidth, m_pList->fontMetrics().horizontalAdvance(StatusText(status)));
    const int iconWidth = m_pList->style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_pList->setColumnWidth(kStatus,
                            std::max(m_pList->columnWidth(kStatus), wordWidth + iconWidth + 24));
    m_pOpen->setEnabled(false);
    m_pHistory->setEnabled(false);
    m_pVerify->setEnabled(m_nHeld > 0);
}

std::vector<const archive::ListedFile*> CRecordingsDlg::Chosen() const {
    std::vector<const archive::ListedFile*> out;
    // In the order shown, so the first one on the screen is the one opened as new.
    for (int row = 0; row < m_pList->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_pList->topLevelItem(row);
        if (item->isSelected())
            out.push_back(&m_files[item->data(kFile, kIndexRole).toULongLong()]);
    }
    return out;
}

void CRecordingsDlg::OpenChosen() {
    QStringList paths;
    for (const archive::ListedFile* f : Chosen())
        paths << QString::fromStdString(f->path);
    if (paths.isEmpty())
        return;
    accept();
    emit openRequested(paths);
}

void CRecordingsDlg::ShowHistory() {
    const std::vector<const archive::ListedFile*> chosen = Chosen();
    if (chosen.size() != 1)
        return;
    CRecordingHistoryDlg(m_session, m_recordings[chosen.front()->recording], this).exec();
}

bool CRecordingsDlg::VerifyAll() {
    if (!m_bRead)
        ReadArchive();
    // What waits is not the archive's yet: it has no row to keep a check on.
    QProgressDialog progress(tr("記録ﾌｧｲﾙを検証しています..."), tr("キャンセル"), 0,
                             static_cast<int>(m_nHeld), this);
    progress.setWindowTitle(tr("すべて検証"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const std::string now = UtcText(QDateTime::currentSecsSinceEpoch());
    std::vector<archive::FileCheck> checks;
    QStringList failed;
    bool cancelled = false;
    for (std::size_t i = 0; i < m_nHeld; ++i) {
        progress.setValue(static_cast<int>(i));
        if (progress.wasCanceled()) {
            cancelled = true;
            break;
        }
        const archive::ListedFile& f = m_files[i];
        archive::FileCheck c =
            archive::CheckListedFile(m_recordings[f.recording], f, &Sha256OfFile, now);
        m_status[i] = c.status;
        m_checkedAt[i] = c.checkedAt;
        if (c.status != archive::kStatusVerified)
            failed << QFileInfo(QString::fromStdString(f.path)).fileName();
        checks.push_back(std::move(c));
    }
    // What was checked is kept, cancelled or not: it is shown until the next check.
    if (m_session.Enabled())
        m_session.Store().SaveChecks(checks);
    if (cancelled) {
        m_pSummary->setText(tr("検証は中止されました。"));
        Refill();
        return false;
    }
    progress.setValue(static_cast<int>(m_nHeld));
    std::vector<archive::Event> events;
    m_session.Store().Events(events);
    const std::optional<archive::ChainBreak> broken = archive::CheckChain(m_session.Hash(), events);
    // The files that failed by name, the first few when there are many.
    constexpr int kNamed = 5;
    QString summary;
    if (failed.isEmpty()) {
        summary = tr("すべての記録ﾌｧｲﾙは元のままです。");
    } else {
        QStringList named = failed.mid(0, kNamed);
        if (failed.size() > kNamed)
            named << tr("ほか %n 件", nullptr, static_cast<int>(failed.size() - kNamed));
        summary = tr("%n 件の記録ﾌｧｲﾙが元のままではありません: %1。", nullptr,
                     static_cast<int>(failed.size()))
                      .arg(named.join(QStringLiteral(", ")));
    }
    summary += QLatin1Char(' ');
    summary += broken
                   ? tr("履歴は %1 番で途切れています。").arg(broken->seq)
                   : tr("履歴 %n 件はつながっています。", nullptr, static_cast<int>(events.size()));
    m_pSummary->setText(summary);
    m_pSummary->setToolTip(failed.join(QLatin1Char('\n')));
    m_pSummary->setWordWrap(true);
    Refill();
    return true;
}

bool CRecordingHistoryDlg::WriteTrail(bool pdf) {
    return WriteAuditTrailFile(
        m_session, {m_recording.id, {}, {}},
        QFileInfo(QString::fromStdString(m_recording.path)).completeBaseName(), pdf, this);
}

CRecordingHistoryDlg::CRecordingHistoryDlg(archive::CArchiveSession& session,
                                           const archive::Recording& recording, QWidget* parent)
    : CDialogBase(kHelpTopic, parent), m_session(session), m_recording(recording),
      m_pList(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("history"));
    setWindowTitle(
        tr("履歴: %1").arg(QFileInfo(QString::fromStdString(recording.path)).fileName()));
    m_pList->setRootIsDecorated(false);
    enum { kSeq, kTime, kWhat, kOld, kNew, kReason, kUser, kCount };
    m_pList->setHeaderLabels({tr("番号"), tr("日時"), tr("操作"), tr("変更前"), tr("変更後"),
                              tr("理由"), tr("ユーザー")});
    // The archive's events, then those that wait on this computer for its server (a recording
    // that waits has only those).
    std::vector<archive::Event> events;
    if (recording.id > 0)
        session.Store().Events(events, recording.id);
    const std::size_t held = events.size();
    for (archive::Event& e : archive::WhatWaits(session.Store(), recording.sha256).events)
        events.push_back(std::move(e));
    for (std::size_t i = 0; i < events.size(); ++i) {
        const archive::Event& e = events[i];
        auto* item = new QTreeWidgetItem(m_pList);
        item->setText(kSeq, i < held ? QString::number(e.seq) : CRecordingsDlg::tr("送信待ち"));
        item->setText(kTime, LocalText(UtcSecs(e.timeUtc)));
        // The event and what it was in one text: "Created, downloaded".
        item->setText(kWhat, e.detail.empty()
                                 ? KindText(e.kind)
                                 : tr("%1、%2").arg(KindText(e.kind), DetailText(e.detail)));
        item->setText(kOld, QString::fromStdString(e.oldValue));
        item->setText(kNew, QString::fromStdString(e.newValue));
        item->setText(kReason, QString::fromStdString(e.reason));
        item->setText(kUser, QString::fromStdString(e.user + "@" + e.host));
        for (int c = kWhat; c < kCount; ++c)
            item->setToolTip(c, item->text(c));
    }
    // A written file's path and hash would push the reason out of sight: the old value is cut
    // to a width, the new one takes what is left, and both are whole in their tips.
    constexpr int kValueWidth = 220;
    for (int c = 0; c < m_pList->columnCount(); ++c) {
        m_pList->resizeColumnToContents(c);
        if (c == kOld || c == kNew)
            m_pList->setColumnWidth(c, std::min(m_pList->columnWidth(c), kValueWidth));
    }
    m_pList->header()->setStretchLastSection(false);
    m_pList->header()->setSectionResizeMode(kNew, QHeaderView::Stretch);
    m_pList->setTextElideMode(Qt::ElideMiddle);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_pPdf = buttons->addButton(tr("PDF 出力(&P)..."), QDialogButtonBox::ActionRole);
    m_pCsv = buttons->addButton(tr("CSV 出力(&C)..."), QDialogButtonBox::ActionRole);
    m_pPdf->setEnabled(HasAuditPdfWriter());
    connect(m_pPdf, &QPushButton::clicked, this, [this] { WriteTrail(true); });
    connect(m_pCsv, &QPushButton::clicked, this, [this] { WriteTrail(false); });
    ConnectHelp(buttons->addButton(tr("ﾍﾙﾌﾟ"), QDialogButtonBox::HelpRole));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addWidget(buttons);
    resize(1100, 440);
    m_pList->scrollToBottom(); // the newest events first in view
}

} // namespace saroko::ui
