#include "ui/recorder/CommandTestDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/document/ZorvicDoc.h"

namespace saroko::ui {
namespace {

QString U(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

CCommandTestDlg::CCommandTestDlg(const CZorvicDoc& doc, const CommServices& services,
                                 QWidget* parent)
    : CRecorderDialog(services, 0, parent), m_doc(doc) {
    setWindowTitle(tr("コマンドテスト"));

    auto* top = new QGridLayout;
    m_pPrcNo = Item(kIdcPrcNo, new QLineEdit(QStringLiteral("0"), this));
    m_pMsg = Item(kIdcMsg, new QLineEdit(QStringLiteral("1"), this));
    top->addWidget(new QLabel(U("PrcNo :"), this), 0, 0);
    top->addWidget(m_pPrcNo, 0, 1);
    top->addWidget(new QLabel(U("Msg :"), this), 0, 2);
    top->addWidget(m_pMsg, 0, 3);

    static const int kPrmIds[4] = {kIdcPrm1, kIdcPrm2, kIdcPrm3, kIdcPrm4};
    auto* send = new QGroupBox(tr("送信ｺﾏﾝﾄﾞﾌﾚｰﾑ"), this);
    auto* sg = new QGridLayout(send);
    auto* receive = new QGroupBox(tr("受信ｺﾏﾝﾄﾞﾌﾚｰﾑ"), this);
    auto* rg = new QGridLayout(receive);
    for (int i = 0; i < 4; ++i) {
        const QString label = QStringLiteral("Prm%1 :").arg(i + 1);
        m_pPrm[static_cast<std::size_t>(i)] =
            Item(kPrmIds[i], new QLineEdit(QStringLiteral("00"), send));
        m_pPrm[static_cast<std::size_t>(i)]->setFixedWidth(DialogUnitsX(this, 24));
        sg->addWidget(new QLabel(label, send), i, 0);
        sg->addWidget(m_pPrm[static_cast<std::size_t>(i)], i, 1);
        QLabel* result = Item(kIdcResult1 + i, new QLabel(receive));
        result->setMinimumWidth(DialogUnitsX(this, 24));
        m_pResult[static_cast<std::size_t>(i)] = result;
        rg->addWidget(new QLabel(label, receive), i, 0);
        rg->addWidget(result, i, 1);
    }
    m_pPrcNo->setFixedWidth(DialogUnitsX(this, 24));
    m_pMsg->setFixedWidth(DialogUnitsX(this, 24));

    auto* frames = new QHBoxLayout;
    frames->addWidget(send);
    frames->addWidget(receive);

    auto* buttons = new QVBoxLayout;
    QPushButton* set = AddButton(kIdcSend, tr("設定"));
    set->setDefault(true);
    QPushButton* end = AddButton(kIdcEnd, tr("終了"));
    buttons->addWidget(set);
    buttons->addWidget(end);
    buttons->addStretch();
    connect(set, &QPushButton::clicked, this, &CCommandTestDlg::OnSend);
    connect(end, &QPushButton::clicked, this, [this] { done(kIdEnd); });

    auto* fields = new QVBoxLayout;
    fields->addLayout(top);
    fields->addLayout(frames);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ShowResult();
}

void CCommandTestDlg::OnSend() {
    std::array<std::string, 4> prm;
    for (std::size_t i = 0; i < 4; ++i)
        prm[i] = m_pPrm[i]->text().toStdString();
    const CommandTestInput in =
        ParseCommandTestFields(m_pPrcNo->text().toStdString(), prm, m_pMsg->text().toStdString());
    m_result = {};
    {
        CExchange exchange(*this);
        m_nLastResult = RunCommandTest(Services(), in, m_result);
    }
    ShowResult();
    repaint();
}

void CCommandTestDlg::ShowResult() {
    for (std::size_t i = 0; i < 4; ++i)
        m_pResult[i]->setText(QStringLiteral("%1").arg(m_result[i], 2, 16, QLatin1Char('0')));
}

} // namespace saroko::ui
