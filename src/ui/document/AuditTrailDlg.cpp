#include "ui/document/AuditTrailDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "core/text/TimeUtil.h"
#include "ui/base/MessageSink.h"

namespace saroko::ui {
namespace {

AuditPdfWriter& PdfWriter() {
    static AuditPdfWriter writer;
    return writer;
}

std::function<QString(const QString&)>& AuditPathHook() {
    static std::function<QString(const QString&)> hook;
    return hook;
}

// The edit's local time as the archive's seconds; the fields as saroko-cli's --from takes them.
int64_t Seconds(const QDateTimeEdit& edit) {
    const QDateTime d = edit.dateTime();
    uint32_t t = 0;
    FromLocalFields(d.date().year(), d.date().month(), d.date().day(), d.time().hour(),
                    d.time().minute(), d.time().second(), t);
    return t;
}

} // namespace

void SetAuditPdfWriter(AuditPdfWriter writer) {
    PdfWriter() = std::move(writer);
}

bool HasAuditPdfWriter() {
    return static_cast<bool>(PdfWriter());
}

void SetAuditPathHook(std::function<QString(const QString& proposed)> hook) {
    AuditPathHook() = std::move(hook);
}

bool WriteAuditTrailFile(archive::CArchiveSession& session, const archive::AuditScope& scope,
                         const QString& baseName, bool pdf, QWidget* parent) {
    const QString proposed = QDir::home().filePath(
        baseName + (pdf ? QStringLiteral("-audit.pdf") : QStringLiteral("-audit.csv")));
    const QString path =
        AuditPathHook()
            ? AuditPathHook()(proposed)
            : QFileDialog::getSaveFileName(parent, CAuditTrailDlg::tr("監査証跡の出力"), proposed,
                                           pdf ? CAuditTrailDlg::tr("PDF ﾌｧｲﾙ (*.pdf)")
                                               : CAuditTrailDlg::tr("CSV ﾌｧｲﾙ (*.csv)"));
    if (path.isEmpty())
        return false;
    archive::AuditTrail trail;
    std::string problem;
    bool written = archive::MakeAuditTrail(session, scope, trail, problem);
    if (written && pdf) {
        written = PdfWriter() && PdfWriter()(path, trail);
    } else if (written) {
        const std::string csv = archive::AuditCsv(trail.events);
        QSaveFile file(path);
        written = file.open(QIODevice::WriteOnly) &&
                  file.write(csv.data(), static_cast<qint64>(csv.size())) ==
                      static_cast<qint64>(csv.size()) &&
                  file.commit();
    }
    if (!written)
        ShowFrameworkMessage(CAuditTrailDlg::tr("監査証跡を書き込めませんでした。"), parent);
    return written;
}

CAuditTrailDlg::CAuditTrailDlg(archive::CArchiveSession& session, QWidget* parent)
    : CDialogBase(help::kAuditTrail, parent), m_session(session),
      m_units(archive::LoadUnits(session)) {
    setObjectName(QStringLiteral("auditTrail"));
    setWindowTitle(tr("監査証跡の出力"));
    m_pWhole = new QRadioButton(tr("記録保管庫全体(&W)"), this);
    m_pUseUnit = new QRadioButton(tr("保管場所(&U):"), this);
    m_pUnit = new QComboBox(this);
    for (const archive::Unit& u : m_units.units)
        m_pUnit->addItem(QString::fromStdString(u.fields.name), u.id);
    m_pWhole->setChecked(true);
    m_pUseUnit->setEnabled(m_pUnit->count() > 0);
    m_pUnit->setEnabled(false);
    connect(m_pUseUnit, &QRadioButton::toggled, m_pUnit, &QWidget::setEnabled);

    // The last month up to this minute, as a first proposal.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
    const auto timeEdit = [this](const QDateTime& t) {
        auto* e = new QDateTimeEdit(t, this);
        e->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        e->setCalendarPopup(true);
        e->setEnabled(false);
        return e;
    };
    m_pUseFrom = new QCheckBox(tr("開始(&S):"), this);
    m_pFrom = timeEdit(minute.addMonths(-1));
    m_pUseTo = new QCheckBox(tr("終了(&E):"), this);
    m_pTo = timeEdit(minute);
    connect(m_pUseFrom, &QCheckBox::toggled, m_pFrom, &QWidget::setEnabled);
    connect(m_pUseTo, &QCheckBox::toggled, m_pTo, &QWidget::setEnabled);

    auto* grid = new QGridLayout;
    grid->addWidget(m_pWhole, 0, 0, 1, 2);
    grid->addWidget(m_pUseUnit, 1, 0);
    grid->addWidget(m_pUnit, 1, 1);
    grid->addWidget(m_pUseFrom, 2, 0);
    grid->addWidget(m_pFrom, 2, 1);
    grid->addWidget(m_pUseTo, 3, 0);
    grid->addWidget(m_pTo, 3, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    m_pPdf = buttons->addButton(tr("PDF 出力(&P)..."), QDialogButtonBox::ActionRole);
    m_pCsv = buttons->addButton(tr("CSV 出力(&C)..."), QDialogButtonBox::ActionRole);
    m_pPdf->setEnabled(HasAuditPdfWriter());
    connect(m_pPdf, &QPushButton::clicked, this, [this] { WriteTrail(true); });
    connect(m_pCsv, &QPushButton::clicked, this, [this] { WriteTrail(false); });
    connect(buttons->addButton(tr("閉じる"), QDialogButtonBox::RejectRole), &QPushButton::clicked,
            this, &QDialog::reject);
    ConnectHelp(buttons->addButton(tr("ﾍﾙﾌﾟ"), QDialogButtonBox::HelpRole));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

archive::AuditScope CAuditTrailDlg::Scope() const {
    archive::AuditScope scope;
    if (m_pUseUnit->isChecked())
        scope.unitId = m_pUnit->currentData().toInt();
    if (m_pUseFrom->isChecked())
        scope.from = Seconds(*m_pFrom);
    if (m_pUseTo->isChecked())
        scope.to = Seconds(*m_pTo);
    return scope;
}

bool CAuditTrailDlg::WriteTrail(bool pdf) {
    const archive::AuditScope scope = Scope();
    if (scope.from && scope.to && *scope.to <= *scope.from) {
        ShowFrameworkMessage(tr("終了は開始より後の日時にしてください。"), this);
        m_pTo->setFocus();
        return false;
    }
    // The file is named after what it covers: the unit, or the archive.
    const archive::Unit* u = m_units.Find(scope.unitId);
    QString base = u ? QString::fromStdString(u->fields.name) : QStringLiteral("archive");
    base.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return WriteAuditTrailFile(m_session, scope, base, pdf, this);
}

} // namespace saroko::ui
