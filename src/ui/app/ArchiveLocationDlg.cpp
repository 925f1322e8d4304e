#include "ui/app/ArchiveLocationDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/archive/ArchiveSpool.h"

namespace saroko::ui {

CArchiveLocationDlg::CArchiveLocationDlg(const std::string& location, Tester test, QWidget* parent)
    : CDialogBase(help::kArchiveLocation, parent), m_test(std::move(test)), m_szLocation(location) {
    setWindowTitle(tr("記録保管庫の場所"));
    auto* top = new QVBoxLayout(this);
    top->addWidget(new QLabel(tr("サーバー上の記録保管庫（PostgreSQL）の接続文字列:"), this));
    m_pEdit = Item(kIdcLocation, new QLineEdit(QString::fromStdString(location), this));
    m_pEdit->setPlaceholderText(QStringLiteral("postgresql://server/saroko?sslmode=verify-full"));
    m_pEdit->setMinimumWidth(420);
    top->addWidget(m_pEdit);
    auto* note = new QLabel(tr("空欄にすると、このコンピューターの記録保管庫を使います。"
                               "パスワードはここに書かず、~/.pgpass などに置いてください。"),
                            this);
    note->setWordWrap(true);
    top->addWidget(note);
    auto* tryButton = Item(kIdcTest, new QPushButton(tr("接続を確認(&T)"), this));
    connect(tryButton, &QPushButton::clicked, this, &CArchiveLocationDlg::TestConnection);
    auto* row = new QHBoxLayout;
    row->addWidget(tryButton);
    m_pResult = Item(kIdcResult, new QLabel(this));
    m_pResult->setWordWrap(true);
    row->addWidget(m_pResult, 1);
    top->addLayout(row);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("ｷｬﾝｾﾙ"));
    buttons->button(QDialogButtonBox::Help)->setText(tr("ﾍﾙﾌﾟ"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CArchiveLocationDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ConnectHelp(buttons->button(QDialogButtonBox::Help));
    top->addWidget(buttons);
}

bool CArchiveLocationDlg::CheckNoPassword(const std::string& text) {
    if (archive::ShownLocation(text) == text)
        return true;
    m_pResult->setText(tr("パスワードは接続文字列に書けません。~/.pgpass などに置いてください。"));
    FocusItem(kIdcLocation);
    return false;
}

void CArchiveLocationDlg::TestConnection() {
    const std::string text = m_pEdit->text().trimmed().toStdString();
    if (!CheckNoPassword(text))
        return;
    if (!archive::IsSiteLocation(text)) {
        m_pResult->setText(
            tr("接続文字列ではありません。このコンピューターの記録保管庫を使います。"));
        return;
    }
    CWaitCursor wait;
    const std::string problem = m_test(text);
    m_pResult->setText(problem.empty() ? tr("接続できました。")
                                       : tr("接続できません。") + QLatin1Char('\n') +
                                             QString::fromStdString(problem));
}

void CArchiveLocationDlg::accept() {
    const std::string text = m_pEdit->text().trimmed().toStdString();
    if (!CheckNoPassword(text))
        return;
    if (!text.empty() && !archive::IsSiteLocation(text)) {
        m_pResult->setText(
            tr("接続文字列ではありません。このコンピューターの記録保管庫を使います。"));
        FocusItem(kIdcLocation);
        return;
    }
    m_szLocation = text;
    QDialog::accept();
}

} // namespace saroko::ui
