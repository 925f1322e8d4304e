#include "ui/printing/ReportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>
#include <map>
#include <memory>

#include "SarokoVersion.h"
#include "core/archive/DocumentArchive.h"
#include "core/archive/ReportProof.h"
#include "core/archive/Units.h"
#include "core/text/ParseDecimal.h"
#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"
#include "ui/base/DialogBase.h"
#include "ui/base/FileDialogSize.h"
#include "ui/base/MessageSink.h"
#include "ui/graph/ZorvicView.h"
#include "ui/printing/ExcursionCommentsDlg.h"
#include "ui/printing/PrintSetup.h"
#include "ui/printing/ReportPdf.h"

namespace saroko::ui {
namespace {

constexpr const char* kTimeFormat = "yyyy/MM/dd HH:mm:ss";

QDateTime ToEdit(uint32_t t) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return {};
    return QDateTime(QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                     QTime(tm.tm_hour, tm.tm_min, tm.tm_sec));
}

bool FromEdit(const QDateTimeEdit& edit, uint32_t& out) {
    const QDateTime d = edit.dateTime();
    return FromLocalFields(d.date().year(), d.date().month(), d.date().day(), d.time().hour(),
                           d.time().minute(), d.time().second(), out);
}

bool ReadNumber(const QLineEdit& edit, double& out) {
    int digits = 0;
    return ParseDecimal(edit.text().toStdString(), out, digits) == 1;
}

QString ProposedReport(const CZorvicDoc& doc) {
    if (doc.m_szPathName == "Untitled")
        return QDir::home().filePath(QStringLiteral("Saroko-report.pdf"));
    const QFileInfo info(QString::fromStdString(doc.m_szPathName));
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-report.pdf"));
}

// The file question, sized as the File menu's dialogs are.
QString AskReportPath(QWidget* parent, const QString& proposed, ISettingsStore& store) {
    QFileDialog dlg(parent, CReportDlg::tr("レポート出力"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters({CReportDlg::tr("PDF ﾌｧｲﾙ (*.pdf)")});
    dlg.setDefaultSuffix(QStringLiteral("pdf"));
    dlg.setDirectory(QFileInfo(proposed).absolutePath());
    dlg.selectFile(QFileInfo(proposed).fileName());
    if (RunSized(dlg, &store) != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

std::function<QString(const QString&)>& ReportPathHook() {
    static std::function<QString(const QString&)> hook;
    return hook;
}

} // namespace

CReportDlg::CReportDlg(uint32_t from, uint32_t to, const ReportDialogSettings& settings,
                       const std::vector<ChannelRow>& channels, const QString& unit,
                       QWidget* parent)
    : CDialogBase(kHelpTopic, parent), m_settings(settings), m_channels(channels) {
    const auto withUnit = [&unit](const QString& label) {
        return unit.isEmpty() ? label : label + QStringLiteral(" (") + unit + QLatin1Char(')');
    };
    setWindowTitle(tr("レポート出力"));
    auto* form = m_pForm = new QFormLayout(this);
    const auto timeEdit = [this](uint32_t t) {
        auto* e = new QDateTimeEdit(ToEdit(t), this);
        e->setDisplayFormat(QString::fromLatin1(kTimeFormat));
        return e;
    };
    m_pFrom = timeEdit(from);
    m_pTo = timeEdit(to);
    form->addRow(tr("開始:"), m_pFrom);
    form->addRow(tr("終了:"), m_pTo);
    const auto limitRow = [this, form](const QString& label, bool on, double value, QCheckBox*& box,
                                       QLineEdit*& edit) {
        box = new QCheckBox(label, this);
        box->setChecked(on);
        edit = new QLineEdit(QString::fromStdString(FormatScale(value)), this);
        edit->setEnabled(on);
        connect(box, &QCheckBox::toggled, edit, &QLineEdit::setEnabled);
        form->addRow(box, edit);
    };
    limitRow(withUnit(tr("下限")), settings.useLow, settings.low, m_pUseLow, m_pLow);
    limitRow(withUnit(tr("上限")), settings.useHigh, settings.high, m_pUseHigh, m_pHigh);
    m_pEnergy = new QLineEdit(QString::fromStdString(FormatScale(settings.activationEnergy)), this);
    form->addRow(tr("活性化ｴﾈﾙｷﾞｰ (kJ/mol):"), m_pEnergy);
    m_pChannels = new QTableWidget(static_cast<int>(channels.size()), 4, this);
    m_pChannels->setHorizontalHeaderLabels(
        {tr("Ch."), tr("名前"), withUnit(tr("下限")), withUnit(tr("上限"))});
    m_pChannels->verticalHeader()->hide();
    for (int row = 0; row < static_cast<int>(channels.size()); ++row) {
        const ChannelRow& ch = channels[static_cast<std::size_t>(row)];
        const auto fixed = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_pChannels->setItem(row, column, item);
        };
        fixed(0, QString::number(ch.number));
        fixed(1, ch.name);
        for (const ChannelLimits& l : settings.channelLimits) {
            if (l.channel != ch.number)
                continue;
            for (const auto& [column, v] : {std::pair{2, l.low}, {3, l.high}})
                if (v)
                    m_pChannels->setItem(
                        row, column, new QTableWidgetItem(QString::fromStdString(FormatScale(*v))));
        }
    }
    m_pChannels->resizeColumnsToContents();
    // A limit column holds the widest limit a user types, "-25.5", with the unit and the
    // cell's margins; its heading names the unit.
    const int limit =
        m_pChannels->fontMetrics().horizontalAdvance(QStringLiteral("-25.5 ") + unit) +
        2 * m_pChannels->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 12;
    for (const int column : {2, 3})
        m_pChannels->setColumnWidth(column, std::max(m_pChannels->columnWidth(column), limit));
    m_pChannels->setMinimumWidth(m_pChannels->horizontalHeader()->length() +
                                 2 * m_pChannels->frameWidth());
    m_pChannels->horizontalHeader()->setStretchLastSection(true);
    form->addRow(new QLabel(tr("ﾁｬﾝﾈﾙ毎の限度 (空欄は共通の下限・上限):"), this));
    form->addRow(m_pChannels);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    ConnectHelp(buttons->addButton(tr("ﾍﾙﾌﾟ"), QDialogButtonBox::HelpRole));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void CReportDlg::ShowUnits(const QStringList& lines, bool canCorrect) {
    auto* units = new QLabel(lines.join(QLatin1Char('\n')), this);
    units->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pCorrection = new QComboBox(this);
    m_pCorrection->addItem(tr("しない (記録された値)"));
    m_pCorrection->addItem(tr("校正の補正を適用"));
    m_pCorrection->setEnabled(canCorrect);
    auto* label = new QLabel(tr("補正(&K):"), this);
    label->setBuddy(m_pCorrection);
    // Under the period: the unit decides the limits below.
    m_pForm->insertRow(2, units);
    m_pForm->insertRow(3, label, m_pCorrection);
}

bool CReportDlg::Corrected() const {
    return m_pCorrection && m_pCorrection->isEnabled() && m_pCorrection->currentIndex() == 1;
}

void CReportDlg::accept() {
    ReportOptions o;
    ReportDialogSettings s = m_settings;
    uint32_t from = 0, to = 0;
    // The first field that fails keeps the dialog open with the focus on it.
    const auto fail = [this](QWidget* field, const QString& text) {
        ShowFrameworkMessage(text, this);
        field->setFocus();
    };
    if (!FromEdit(*m_pFrom, from))
        return fail(m_pFrom, tr("開始時刻が正しくありません。"));
    if (!FromEdit(*m_pTo, to) || to < from)
        return fail(m_pTo, tr("終了時刻が正しくありません。"));
    s.useLow = m_pUseLow->isChecked();
    s.useHigh = m_pUseHigh->isChecked();
    if (s.useLow && !ReadNumber(*m_pLow, s.low))
        return fail(m_pLow, tr("下限に数値を入力してください。"));
    if (s.useHigh && !ReadNumber(*m_pHigh, s.high))
        return fail(m_pHigh, tr("上限に数値を入力してください。"));
    if (!ReadNumber(*m_pEnergy, s.activationEnergy) || s.activationEnergy <= 0)
        return fail(m_pEnergy, tr("活性化ｴﾈﾙｷﾞｰに正の数値を入力してください。"));
    o.from = from;
    o.to = to;
    if (s.useLow)
        o.low = s.low;
    if (s.useHigh)
        o.high = s.high;
    // Each channel's row read by the command line's rule; rows for channels not shown now
    // are kept as remembered.
    std::vector<ChannelLimits> own;
    for (const ChannelLimits& l : s.channelLimits)
        if (std::none_of(m_channels.begin(), m_channels.end(),
                         [&](const ChannelRow& c) { return c.number == l.channel; }))
            own.push_back(l);
    for (int row = 0; row < m_pChannels->rowCount(); ++row) {
        const auto cell = [this, row](int column) {
            const QTableWidgetItem* item = m_pChannels->item(row, column);
            return item ? item->text().trimmed() : QString();
        };
        if (cell(2).isEmpty() && cell(3).isEmpty())
            continue;
        const int number = m_channels[static_cast<std::size_t>(row)].number;
        ChannelLimits l;
        const QString text = QStringLiteral("%1:%2:%3").arg(number).arg(cell(2), cell(3));
        const LimitsParse result = ParseChannelLimits(text.toStdString(), l);
        if (result != LimitsParse::kOk) {
            m_pChannels->setCurrentCell(row, result == LimitsParse::kLowAboveHigh ? 3 : 2);
            return fail(m_pChannels,
                        result == LimitsParse::kLowAboveHigh
                            ? tr("Ch.%1 の下限が上限を超えています。").arg(number)
                            : tr("Ch.%1 の限度に数値を入力してください。").arg(number));
        }
        own.push_back(l);
    }
    o.channelLimits = own;
    s.channelLimits = own;
    if (const int crossed = ChannelWithCrossedLimits(o))
        return fail(m_pChannels, tr("Ch.%1 の下限が上限を超えています。").arg(crossed));
    o.activationEnergy = s.activationEnergy;
    m_options = o;
    m_settings = s;
    QDialog::accept();
}

void SetReportPathHook(std::function<QString(const QString& proposed)> hook) {
    ReportPathHook() = std::move(hook);
}

bool RunReport(CZorvicView& view, QWidget* parent, QString* written,
               const std::vector<ReportSource>& sources, archive::CDocumentArchive* archive) {
    CZorvicDoc& doc = view.Doc();
    archive::CArchiveSession* session = archive ? &archive->Session() : nullptr;
    const GraphRange& r = *doc.GetRange();
    std::vector<CReportDlg::ChannelRow> channels;
    for (int n = 1; n <= kChannelCount; ++n)
        if (const ChannelRecord* ch = doc.GetChannel(n); ch && ch->present != 0)
            channels.push_back({n, FromCp932(std::string(ch->name, FieldLength(ch->name, 8)))});
    // The shown window's first and last sample, not its padded edges.
    const auto [from, to] = SampledWindow(doc, r.viewStart, r.viewEnd);
    // The limits are in the shown temperature unit; English writes the degree sign.
    const QString unit = doc.m_nUnitCF == 1 ? CReportDlg::tr("ﾟF") : CReportDlg::tr("ﾟC");
    // The storage units of the recordings shown, read as saroko-cli's report reads them.
    const archive::UnitsState units =
        session ? archive::LoadUnits(*session) : archive::UnitsState{};
    const std::vector<archive::UnitChannelSource> unitSources =
        archive ? archive::UnitSources(*archive, doc, units, true)
                : std::vector<archive::UnitChannelSource>{};
    const ReportDialogSettings remembered = LoadReportSettings(doc.Store());
    const ReportDialogSettings offered =
        archive::UnitReportSettings(remembered, units, unitSources, doc.m_nUnitCF == 1);
    CReportDlg dlg(from, to, offered, channels, unit, parent);
    if (const std::vector<ReportUnit> stated = archive::ReportUnits(units, unitSources, nullptr);
        !stated.empty()) {
        QStringList lines;
        for (const ReportUnit& u : stated)
            lines << QString::fromStdString(UnitHeadLine(u));
        dlg.ShowUnits(lines, AnyCorrection(stated));
    }
    if (ExecDialog(dlg) != QDialog::Accepted)
        return false;
    SaveReportSettings(doc.Store(),
                       archive::RememberedAfterUnitReport(remembered, offered, dlg.Settings()));
    // Corrected only while the figures are made and the pages drawn: the window, its legend
    // and the dialogs between show the values as read.
    const auto correct = [&] {
        return dlg.Corrected()
                   ? std::make_unique<archive::CCorrectedValues>(doc, units, unitSources)
                   : nullptr;
    };
    ReportFigures figures;
    std::map<int, int> outside; // each corrected channel's values outside the calibrated range
    {
        const auto corrected = correct();
        figures = ComputeReportFigures(doc, dlg.Options());
        if (corrected)
            outside = corrected->Corrected();
    }
    const auto recordingOf = [archive](int channel) {
        return archive ? archive->RecordingOf(channel) : std::string();
    };
    const std::vector<archive::NumberedExcursion> excursions =
        archive::NumberExcursions(figures, recordingOf);
    std::vector<ExcursionComment> comments;
    if (session && !AskExcursionComments(*session, excursions, comments, parent))
        return false;
    const QString path = ReportPathHook() ? ReportPathHook()(ProposedReport(doc))
                                          : AskReportPath(parent, ProposedReport(doc), doc.Store());
    if (path.isEmpty())
        return false;
    ReportProvenance proof = archive::MakeReportProof(sources, figures, doc.Clock().Now(),
                                                      SAROKO_VERSION, session, &Sha256OfFile);
    proof.comments = comments;
    proof.units = archive::ReportUnits(units, unitSources, dlg.Corrected() ? &outside : nullptr);
    const auto corrected = correct();
    if (!WriteReportPdf(path, doc, view.Palette(), figures, proof)) {
        ShowFrameworkMessage(CReportDlg::tr("レポートを書き込めませんでした。"), parent);
        return false;
    }
    if (written)
        *written = path;
    return true;
}

} // namespace saroko::ui
