#include "ui/app/WindowArchive.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/archive/ArchiveFiles.h"
#include "core/archive/ArchiveSettings.h"
#include "core/archive/Units.h"
#include "core/document/ZorvicDoc.h"
#include "core/messages/StringTable.h"
#include "core/report/ReportProvenance.h"
#include "core/settings/SettingsStore.h"
#include "platform/SiteArchive.h"
#include "platform/UserFolders.h"
#include "ui/base/DialogBase.h"
#include "ui/base/MessageSink.h"

namespace saroko::ui {
namespace {

constexpr char kArchiveSection[] = "Archive Section";
constexpr char kAskReasonEntry[] = "AskReason";
// A site archive's connection string; empty for this computer's archive.
constexpr char kLocationEntry[] = "Location";

using ReasonFn = std::function<std::optional<QString>(const archive::DocumentChange&)>;
using TakeInFn = std::function<bool(const std::vector<std::string>&)>;

ReasonFn& ReasonHandler() {
    static ReasonFn handler;
    return handler;
}

TakeInFn& TakeInHandler() {
    static TakeInFn handler;
    return handler;
}

} // namespace

void SetReasonHandler(ReasonFn handler) {
    ReasonHandler() = std::move(handler);
}

void SetTakeInHandler(TakeInFn handler) {
    TakeInHandler() = std::move(handler);
}

CWindowArchive::CWindowArchive(CZorvicDoc& doc, const ITextCodec& codec, QWidget* parent,
                               const std::string& path)
    : m_doc(doc), m_codec(codec), m_pParent(parent), m_szPath(path) {
    if (m_szPath.empty())
        m_szPath = Location();
    if (m_szPath.empty())
        m_szPath = ArchiveFilePath();
    Open();
}

void CWindowArchive::Open() {
    const ITextCodec& codec = m_codec;
    m_handle = OpenArchive(true, codec, m_szPath);
    // A damaged archive is never written over: with the user's word it is set aside and a new
    // one begins; without it this run records nothing and says so once.
    if (m_handle.store && m_handle.session->LastStatus() == archive::StoreStatus::kCorrupt &&
        ShowMessage(msg::kArchiveSetAside, {}, m_pParent) == kIdYes) {
        const std::string stamp =
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
        m_handle = {};
        SetArchiveAside(m_szPath, stamp); // when it cannot be, the new open says so
        m_handle = OpenArchive(true, codec, m_szPath);
    }
    if (!m_handle.warning.empty())
        ShowMessage(msg::kArchiveProblem, QString::fromStdString(m_handle.warning), m_pParent);
    m_pDocument = std::make_unique<archive::CDocumentArchive>(
        *m_handle.session, m_doc, codec,
        [&codec](const std::string& p) { return DescribeFile(p, codec); }, &Sha256OfFile);
    // A site archive used here for the first time: the downloads kept here are offered once.
    if (archive::IsSiteLocation(m_szPath)) {
        const archive::FirstUseAnswer answer = archive::OfferKeptDownloads(
            *m_handle.session, KeptDownloadsFolder(), ReadFirstUse(m_szPath),
            [this](const std::vector<std::string>& paths) {
                return AskTakeIn(paths, m_szPath, m_pParent);
            },
            &ReadWholeFile, codec);
        if (answer != archive::FirstUseAnswer::kNotAsked)
            WriteFirstUse(m_szPath, answer);
    }
    ReadSetting();
}

void CWindowArchive::Downloaded(const QString& kept, const QString& transcript, int unit) {
    const archive::Recording r =
        RecordDownload(*m_handle.session, kept.toStdString(), transcript.toStdString(), m_codec);
    m_pDocument->Downloaded(r, kept.toStdString());
    // The same event as saroko-cli's `recorder download --unit`.
    if (unit > 0)
        archive::AssignRecording(*m_handle.session, archive::LoadUnits(*m_handle.session), r.sha256,
                                 unit, archive::kAssignedDownload);
    SayProblem();
}

std::vector<std::pair<int, std::string>> CWindowArchive::Units() {
    std::vector<std::pair<int, std::string>> out;
    for (const archive::Unit& u : archive::LoadUnits(*m_handle.session).units)
        out.emplace_back(u.id, u.fields.name);
    return out;
}

int CWindowArchive::OfferedUnit() {
    // The program speaks to one model, so the recorder's identity is known before it answers.
    return archive::OfferedUnit(*m_handle.session,
                                archive::RecorderIdentity(RecorderModelName(kModelKm41)));
}

void CWindowArchive::Commit() {
    if (!AsksReason()) {
        m_pDocument->Commit();
        SayProblem();
        return;
    }
    const std::vector<archive::DocumentChange> declined =
        m_pDocument->Commit([this](const archive::DocumentChange& c) -> std::optional<std::string> {
            if (std::optional<QString> reason = AskChangeReason(c, m_pParent))
                return reason->toStdString();
            return std::nullopt;
        });
    // A change whose reason was not given is taken back, and not recorded.
    if (!declined.empty()) {
        for (const archive::DocumentChange& c : declined)
            archive::UndoChange(m_doc, c, m_codec);
        m_pDocument->Resync();
        m_doc.RecalcRanges(RecalcMode::ChangedData);
        m_doc.UpdateAllViews();
    }
    SayProblem();
}

void CWindowArchive::SayProblem() {
    const std::string m = m_handle.session->TakeMessage();
    if (!m.empty())
        ShowMessage(msg::kArchiveProblem, QString::fromStdString(m), m_pParent);
}

std::string CWindowArchive::Location() const {
    return m_doc.Store().GetString(kArchiveSection, kLocationEntry, "");
}

void CWindowArchive::SetLocation(const std::string& location) {
    m_doc.Store().WriteString(kArchiveSection, kLocationEntry, location);
    m_pDocument.reset();
    m_handle = {};
    m_szPath = location.empty() ? ArchiveFilePath() : location;
    Open();
    m_pDocument->Resync();
    SayProblem();
}

bool CWindowArchive::AsksReason() const {
    return archive::ReasonRequired(m_reasonSetting,
                                   m_doc.Store().GetInt(kArchiveSection, kAskReasonEntry, 0) != 0);
}

void CWindowArchive::ReadSetting() {
    m_reasonSetting.reset();
    std::vector<archive::Event> events;
    if (m_handle.store && Session().Store().Events(events) == archive::StoreStatus::kOk)
        m_reasonSetting = archive::ArchiveSetting(events, archive::kReasonRequiredSetting);
}

void CWindowArchive::SetAsksReason(bool on) {
    if (!m_reasonSetting) {
        m_doc.Store().WriteInt(kArchiveSection, kAskReasonEntry, on ? 1 : 0);
        return;
    }
    // The archive's setting is the site's: changed by an event, turned off only with a reason.
    ReadSetting();
    std::string reason;
    if (!on && m_reasonSetting.value_or(false)) {
        archive::DocumentChange c;
        c.detail = archive::kReasonRequiredSetting;
        c.oldValue = "on";
        c.newValue = "off";
        const std::optional<QString> given = AskChangeReason(c, m_pParent);
        if (!given)
            return;
        reason = given->toStdString();
    }
    std::string problem;
    const auto change = archive::ChangeSetting(m_reasonSetting, archive::kReasonRequiredSetting, on,
                                               reason, problem);
    if (!change)
        return;
    Session().RecordAbout(archive::EventKind::Setting, "", change->detail, change->oldValue,
                          change->newValue, change->reason);
    if (Session().Flush())
        m_reasonSetting = on;
    SayProblem();
}

namespace {

// The archive's questions (the reason for a change, the first use's take-in): dialogs of the
// program's own, each with its help page.
constexpr int kChangeReasonHelp = 0x118A00A;
constexpr int kTakeInHelp = 0x180A00A;

class CArchiveQuestionDlg : public CDialogBase {
public:
    CArchiveQuestionDlg(int helpTopic, QWidget* parent) : CDialogBase(helpTopic, parent) {}
    using CDialogBase::ConnectHelp;
};

} // namespace

bool AskTakeIn(const std::vector<std::string>& paths, const std::string& location,
               QWidget* parent) {
    if (TakeInHandler())
        return TakeInHandler()(paths);
    CArchiveQuestionDlg dlg(kTakeInHelp, parent);
    dlg.setObjectName(QStringLiteral("takeIn"));
    dlg.setWindowTitle(QCoreApplication::translate("Archive", "記録保管庫への取り込み"));
    auto* layout = new QVBoxLayout(&dlg);
    const int count = static_cast<int>(paths.size());
    const QString lacking = QCoreApplication::translate(
        "Archive",
        "このｺﾝﾋﾟｭｰﾀｰに保管されている吸い上げﾃﾞｰﾀ %n 件が、記録保管庫 %1 にありません。"
        "取り込みますか？",
        "", count);
    const QString after = QCoreApplication::translate(
        "Archive", "取り込むと、それぞれ「作成、取り込み」として履歴に残ります。"
                   "この記録保管庫についてはもう尋ねません。");
    auto* text = new QLabel(
        lacking.arg(QString::fromStdString(archive::ShownLocation(location))) + '\n' + after, &dlg);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* list = new QListWidget(&dlg);
    for (const std::string& p : paths)
        list->addItem(QFileInfo(QString::fromStdString(p)).fileName());
    layout->addWidget(list, 1);
    auto* buttons = new QDialogButtonBox(&dlg);
    buttons
        ->addButton(QCoreApplication::translate("Archive", "取り込む(&Y)"),
                    QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    buttons->addButton(QCoreApplication::translate("Archive", "取り込まない(&N)"),
                       QDialogButtonBox::RejectRole);
    dlg.ConnectHelp(buttons->addButton(QCoreApplication::translate("Archive", "ﾍﾙﾌﾟ"),
                                       QDialogButtonBox::HelpRole));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    layout->addWidget(buttons);
    dlg.resize(520, 320);
    return dlg.exec() == QDialog::Accepted;
}

std::optional<QString> AskChangeReason(const archive::DocumentChange& change, QWidget* parent) {
    if (ReasonHandler())
        return ReasonHandler()(change);
    CArchiveQuestionDlg dlg(kChangeReasonHelp, parent);
    dlg.setObjectName(QStringLiteral("changeReason"));
    dlg.setWindowTitle(QCoreApplication::translate("Archive", "変更の理由"));
    auto* layout = new QVBoxLayout(&dlg);
    const QString what =
        change.detail == archive::kChangeName
            ? QCoreApplication::translate("Archive", "チャンネル名")
        : change.detail == archive::kReasonRequiredSetting
            ? QCoreApplication::translate("Archive", "記録保管庫の設定「変更には理由が必要」")
            : QCoreApplication::translate("Archive", "記録開始時刻");
    layout->addWidget(
        new QLabel(QCoreApplication::translate("Archive", "%1を変更しました: %2 → %3\n"
                                                          "変更の理由を入力してください。")
                       .arg(what, QString::fromStdString(change.oldValue),
                            QString::fromStdString(change.newValue)),
                   &dlg));
    auto* edit = new QLineEdit(&dlg);
    edit->setObjectName(QStringLiteral("reason"));
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    // A reason that is asked for is given: OK waits for text other than blanks.
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    QObject::connect(edit, &QLineEdit::textChanged, ok,
                     [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
    dlg.ConnectHelp(buttons->addButton(QCoreApplication::translate("Archive", "ﾍﾙﾌﾟ"),
                                       QDialogButtonBox::HelpRole));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    layout->addWidget(buttons);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text().trimmed();
}

} // namespace saroko::ui
