#include "ui/app/SigningDlgs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

#include "platform/ArchiveSetup.h"
#include "platform/ReportSigning.h"
#include "platform/SigningKeys.h"
#include "ui/printing/SignedCopy.h"

namespace saroko::ui {
namespace {

QLineEdit* PasswordField(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMinimumWidth(260);
    return edit;
}

} // namespace

CSigningDlgBase::CSigningDlgBase(archive::CArchiveSession& session, int helpTopic, const char* name,
                                 const QString& title, QWidget* parent)
    : CDialogBase(helpTopic, parent), m_session(session), m_pTop(new QVBoxLayout(this)) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
}

QDialogButtonBox* CSigningDlgBase::AddFoot(int resultId, QDialogButtonBox::StandardButtons which) {
    // The result line keeps room for two lines from the start, so that a long message (a
    // fingerprint cannot be broken) does not squeeze the rest of the dialog when it wraps; it
    // can be selected, to copy a fingerprint.
    m_pResult = Item(resultId, new QLabel(this));
    m_pResult->setWordWrap(true);
    m_pResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pResult->setMinimumHeight(2 * m_pResult->fontMetrics().lineSpacing());
    m_pResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pTop->addWidget(m_pResult);
    auto* buttons = new QDialogButtonBox(which | QDialogButtonBox::Help, this);
    if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel))
        cancel->setText(QCoreApplication::translate("Signing", "ｷｬﾝｾﾙ"));
    if (QPushButton* close = buttons->button(QDialogButtonBox::Close))
        close->setText(QCoreApplication::translate("Signing", "閉じる"));
    buttons->button(QDialogButtonBox::Help)
        ->setText(QCoreApplication::translate("Signing", "ﾍﾙﾌﾟ"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ConnectHelp(buttons->button(QDialogButtonBox::Help));
    m_pTop->addWidget(buttons);
    return buttons;
}

CSigningKeysDlg::CSigningKeysDlg(archive::CArchiveSession& session, QWidget* parent)
    : CSigningDlgBase(session, help::kSigningKeys, "signingKeys", tr("署名鍵"), parent) {
    QVBoxLayout* top = m_pTop;
    top->addWidget(new QLabel(tr("記録保管庫に登録された署名鍵:"), this));
    m_pList = Item(kIdcList, new QTreeWidget(this));
    m_pList->setHeaderLabels({tr("指紋"), tr("名前"), tr("登録者"), tr("登録 (UTC)"), tr("状態")});
    m_pList->setRootIsDecorated(false);
    m_pList->setMinimumSize(640, 160);
    top->addWidget(m_pList);
    auto* retire = Item(kIdcRetire, new QPushButton(tr("選んだ鍵を廃止(&R)"), this));
    connect(retire, &QPushButton::clicked, this, &CSigningKeysDlg::RetireSelected);
    top->addWidget(retire, 0, Qt::AlignLeft);

    top->addWidget(new QLabel(
        tr("新しい鍵 (秘密鍵はこのﾕｰｻﾞｰの設定ﾌｫﾙﾀﾞに、ﾊﾟｽﾌﾚｰｽﾞで暗号化して置きます):"), this));
    auto* form = new QFormLayout;
    m_pName = Item(kIdcName, new QLineEdit(this));
    m_pName->setPlaceholderText(tr("例: 佐藤 花子 (品質保証)"));
    m_pPass = Item(kIdcPass, PasswordField(this));
    m_pPassAgain = Item(kIdcPassAgain, PasswordField(this));
    form->addRow(tr("名前(&N):"), m_pName);
    form->addRow(tr("ﾊﾟｽﾌﾚｰｽﾞ(&P):"), m_pPass);
    form->addRow(tr("もう一度(&A):"), m_pPassAgain);
    top->addLayout(form);
    auto* create = Item(kIdcCreate, new QPushButton(tr("鍵を作って登録(&C)"), this));
    connect(create, &QPushButton::clicked, this, &CSigningKeysDlg::CreateKey);
    top->addWidget(create, 0, Qt::AlignLeft);
    AddFoot(kIdcResult, QDialogButtonBox::Close);
    Reload();
}

void CSigningKeysDlg::Reload() {
    m_pList->clear();
    const auto keys = ArchiveKeys(m_session);
    if (!keys) {
        m_pResult->setText(tr("記録保管庫を読めません。"));
        return;
    }
    const std::vector<std::string> files = SigningKeyFiles();
    const std::set<std::string> mine(files.begin(), files.end());
    for (const auto& [fp, k] : *keys) {
        auto* item = new QTreeWidgetItem(m_pList);
        item->setText(0, QString::fromStdString(fp.substr(0, 16)));
        item->setToolTip(0, QString::fromStdString(fp));
        item->setData(0, Qt::UserRole, QString::fromStdString(fp));
        item->setText(1, QString::fromStdString(k.name));
        item->setText(2, QString::fromStdString(k.user + "@" + k.host));
        item->setText(3, QString::fromStdString(k.registeredAt));
        item->setText(4, k.Retired()      ? tr("廃止")
                         : mine.count(fp) ? tr("使用中 (このﾕｰｻﾞｰの鍵)")
                                          : tr("使用中"));
    }
    m_pList->header()->resizeSections(QHeaderView::ResizeToContents);
}

void CSigningKeysDlg::CreateKey() {
    if (m_pPass->text() != m_pPassAgain->text()) {
        m_pResult->setText(tr("2 つのﾊﾟｽﾌﾚｰｽﾞが違います。"));
        FocusItem(kIdcPassAgain);
        return;
    }
    CWaitCursor wait;
    const KeyResult r = CreateAndRegisterKey(m_session, m_pName->text().trimmed().toStdString(),
                                             m_pPass->text().toStdString());
    m_pPass->clear();
    m_pPassAgain->clear();
    if (!r.problem.empty()) {
        m_pResult->setText(QString::fromStdString(r.problem));
        return;
    }
    m_pResult->setText(tr("鍵を登録しました。指紋: %1").arg(QString::fromStdString(r.fingerprint)));
    m_pName->clear();
    Reload();
}

void CSigningKeysDlg::RetireSelected() {
    QTreeWidgetItem* item = m_pList->currentItem();
    if (!item) {
        m_pResult->setText(tr("廃止する鍵を選んでください。"));
        return;
    }
    const std::string problem =
        RetireKey(m_session, item->data(0, Qt::UserRole).toString().toStdString(), {});
    m_pResult->setText(problem.empty() ? tr("鍵を廃止しました。この鍵ではもう署名できません。")
                                       : QString::fromStdString(problem));
    Reload();
}

CSignReportDlg::CSignReportDlg(archive::CArchiveSession& session, const QString& report,
                               QWidget* parent)
    : CSigningDlgBase(session, help::kSignReport, "signReport", tr("ﾚﾎﾟｰﾄに署名"), parent) {
    QVBoxLayout* top = m_pTop;
    auto* form = new QFormLayout;
    auto* row = new QHBoxLayout;
    m_pReport = Item(kIdcReport, new QLineEdit(report, this));
    m_pReport->setMinimumWidth(360);
    row->addWidget(m_pReport, 1);
    auto* browse = Item(kIdcBrowse, new QPushButton(tr("参照(&B)..."), this));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, tr("署名するﾚﾎﾟｰﾄ"), m_pReport->text(),
                                                       tr("PDF ﾌｧｲﾙ (*.pdf)"));
        if (!f.isEmpty())
            m_pReport->setText(f);
    });
    row->addWidget(browse);
    // A label beside a row of widgets is given its field by hand, or "&R" shows as it is.
    auto* reportLabel = new QLabel(tr("ﾚﾎﾟｰﾄ(&R):"), this);
    reportLabel->setBuddy(m_pReport);
    form->addRow(reportLabel, row);
    m_pMeaning = Item(kIdcMeaning, new QComboBox(this));
    m_pMeaning->setEditable(true);
    m_pMeaning->addItem(tr("確認 (reviewed)"), QStringLiteral("reviewed"));
    m_pMeaning->addItem(tr("承認 (approved)"), QStringLiteral("approved"));
    form->addRow(tr("署名の意味(&M):"), m_pMeaning);
    m_pName = Item(kIdcName, new QComboBox(this));
    m_pName->setEditable(true);
    if (const auto keys = ArchiveKeys(session)) {
        const std::vector<std::string> files = SigningKeyFiles();
        for (const std::string& fp : files)
            if (const auto it = keys->find(fp); it != keys->end() && !it->second.Retired())
                m_pName->addItem(QString::fromStdString(it->second.name));
    }
    m_pName->setCurrentText(QString());
    form->addRow(tr("登録した氏名(&N):"), m_pName);
    m_pPass = Item(kIdcPass, PasswordField(this));
    form->addRow(tr("ﾊﾟｽﾌﾚｰｽﾞ(&P):"), m_pPass);
    top->addLayout(form);
    auto* note = new QLabel(tr("署名は記録保管庫に記録され、ﾚﾎﾟｰﾄの横に署名ﾍﾟｰｼﾞ付きの写し "
                               "(NAME.signed.pdf) を書きます。ﾊﾟｽﾌﾚｰｽﾞは毎回入力します。"),
                            this);
    note->setWordWrap(true);
    top->addWidget(note);
    QDialogButtonBox* buttons =
        AddFoot(kIdcResult, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_pResult->setStyleSheet(QStringLiteral("color: #c00000"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("署名"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSignReportDlg::accept);
}

void CSignReportDlg::accept() {
    const QString path = QFileInfo(m_pReport->text().trimmed()).absoluteFilePath();
    // A meaning picked from the list is its word; a site's own word is taken as typed.
    const int picked = m_pMeaning->findText(m_pMeaning->currentText());
    const std::string meaning = picked >= 0 ? m_pMeaning->itemData(picked).toString().toStdString()
                                            : m_pMeaning->currentText().trimmed().toStdString();
    CWaitCursor wait;
    const int64_t now = m_session.Context().nowUtc();
    const SignResult r = SignReport(
        m_session, path.toStdString(), m_pName->currentText().trimmed().toStdString(), meaning,
        m_pPass->text().toStdString(), now, m_session.Context().offsetMinutes(now));
    m_pPass->clear();
    if (!r.problem.empty()) {
        m_pResult->setText(QString::fromStdString(r.problem));
        FocusItem(kIdcPass);
        return;
    }
    const auto bytes = ReadWholeFile(path.toStdString());
    const std::string sha = bytes ? archive::Sha256Hex(m_session.Hash(), *bytes) : std::string();
    const QString copy = SignedCopyPath(path);
    if (!bytes ||
        !WriteSignedCopy(copy, QFileInfo(path).fileName().toStdString(), *bytes,
                         ReportSignatures(m_session, sha, path.toStdString()), m_session.Hash())) {
        m_pResult->setText(tr("署名しましたが、署名付きの写しを書けません: %1").arg(copy));
        return;
    }
    m_szCopy = copy;
    QDialog::accept();
}

} // namespace saroko::ui
