#include "ui/printing/PrintDialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <limits>

#include "ui/base/MessageSink.h"
#include "ui/graph/GraphPainter.h"
#include "ui/printing/PrintSetup.h"

namespace saroko::ui {
namespace {

// The framework's check of an unsigned integer field.
constexpr const char* kUnsignedCheck =
    QT_TRANSLATE_NOOP("CPrintDialogBase", "正の整数を入力してください。");

// The file name as the dialogs paint it: on the dialog's light grey, no frame.
QLabel* FileNameLabel(const QString& name) {
    auto* label = new QLabel(name);
    label->setAutoFillBackground(false);
    label->setStyleSheet(QStringLiteral("background: transparent; color: black;"));
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

bool ParseUnsigned(const QString& text, uint32_t& out) {
    bool ok = false;
    const qulonglong v = text.trimmed().toULongLong(&ok);
    if (!ok || v > std::numeric_limits<uint32_t>::max())
        return false;
    out = static_cast<uint32_t>(v);
    return true;
}

} // namespace

CPrintDialogBase::CPrintDialogBase(const QString& title, int helpTopic, QWidget* parent)
    : CDialogBase(helpTopic, parent) {
    setWindowTitle(title);
    setFont(ProgramFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(pal);
    setAutoFillBackground(true);
}

void CPrintDialogBase::Build(const QString& heading, int fileNameId, const QString& fileName,
                             QWidget* extraGroupRow, QWidget* middle) {
    auto* top = new QVBoxLayout(this);
    top->addWidget(new QLabel(heading));

    auto* group = new QGroupBox(tr("印刷ﾃﾞｰﾀ"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(tr("ﾌｧｲﾙ名")), 0, 0);
    grid->addWidget(Item(fileNameId, FileNameLabel(fileName)), 0, 1);
    if (extraGroupRow)
        grid->addWidget(extraGroupRow, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    top->addWidget(group);
    if (middle)
        top->addWidget(middle);

    auto* buttons = new QHBoxLayout;
    auto* ok = Item(kIdOk, new QPushButton(QStringLiteral("OK")));
    auto* cancel = Item(kIdCancel, new QPushButton(tr("ｷｬﾝｾﾙ")));
    auto* help = Item(kIdHelp, new QPushButton(tr("ﾍﾙﾌﾟ")));
    auto* setup = Item(kIdPrinterSetup, new QPushButton(tr("ﾌﾟﾘﾝﾀの設定")));
    ok->setDefault(true);
    for (QPushButton* b : {ok, cancel, help, setup})
        buttons->addWidget(b);
    top->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelp(help);
    connect(setup, &QPushButton::clicked, this, [this] { OnPrinterSetup(); });
}

void CPrintDialogBase::OnPrinterSetup() {
    if (m_setup)
        m_setup();
}

CGraphPrintDlg::CGraphPrintDlg(const QString& fileName, const GraphPrintSettings& settings,
                               QWidget* parent)
    : CPrintDialogBase(tr("グラフ印刷"), kHelpTopic, parent), m_settings(settings) {
    auto* methods = new QGroupBox(tr("印刷方法"));
    auto* grid = new QGridLayout(methods);
    m_pMethod = new QButtonGroup(this);
    const char* labels[] = {QT_TR_NOOP("用紙に適したｻｲｽﾞに伸縮"), QT_TR_NOOP("用紙いっぱいに伸縮"),
                            QT_TR_NOOP("任意のｽｹｰﾙを指定")};
    for (int i = 0; i < 3; ++i) {
        auto* radio = Item(kIdMethodFit + i, new QRadioButton(tr(labels[i])));
        m_pMethod->addButton(radio, i);
        grid->addWidget(radio, i, 0, 1, 4);
    }
    // Whole numbers only; the radio buttons leave the edits enabled whatever is chosen.
    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), this);
    m_pHorizontal = Item(kIdHorizontal, new QLineEdit(QString::number(settings.horizontalScale)));
    m_pVertical = Item(kIdVertical, new QLineEdit(QString::number(settings.verticalScale)));
    for (QLineEdit* e : {m_pHorizontal, m_pVertical}) {
        e->setValidator(digits);
        e->setMaximumWidth(80);
    }
    grid->addWidget(new QLabel(tr("横ｽｹｰﾙ :")), 3, 1);
    grid->addWidget(m_pHorizontal, 3, 2);
    grid->addWidget(new QLabel(tr("縦ｽｹｰﾙ : ")), 4, 1);
    grid->addWidget(m_pVertical, 4, 2);
    if (QAbstractButton* b = m_pMethod->button(static_cast<int>(settings.method)))
        b->setChecked(true);
    Build(tr("グラフの印刷を行います。"), kIdFileName, fileName, nullptr, methods);
    GetDlgItem(kIdOk)->setFocus();
}

void CGraphPrintDlg::accept() {
    GraphPrintSettings s = m_settings;
    for (auto [edit, value] :
         {std::pair{m_pHorizontal, &s.horizontalScale}, std::pair{m_pVertical, &s.verticalScale}}) {
        if (!ParseUnsigned(edit->text(), *value)) {
            ShowFrameworkMessage(CPrintDialogBase::tr(kUnsignedCheck), this);
            edit->setFocus();
            edit->selectAll();
            return;
        }
    }
    if (m_pMethod->checkedId() >= 0)
        s.method = static_cast<uint32_t>(m_pMethod->checkedId());
    m_settings = s;
    QDialog::accept();
}

CListPrintDlg::CListPrintDlg(const QString& fileName, std::function<int()> countPages,
                             QWidget* parent)
    : CPrintDialogBase(tr("データ一覧印刷"), kHelpTopic, parent),
      m_countPages(std::move(countPages)) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(new QLabel(tr("ﾍﾟｰｼﾞ数")));
    m_pPages = Item(kIdPages, FileNameLabel(QString()));
    h->addWidget(m_pPages, 1);
    Build(tr("ｸﾞﾗﾌ表示範囲のﾃﾞｰﾀ一覧を印刷します。"), kIdFileName, fileName, row, nullptr);
    Recount();
}

void CListPrintDlg::Recount() {
    m_nPages = m_countPages ? m_countPages() : 0;
    m_pPages->setText(QString::number(m_nPages));
}

void CListPrintDlg::OnPrinterSetup() {
    CPrintDialogBase::OnPrinterSetup();
    Recount();
}

void CListPrintDlg::accept() {
    Recount();
    QDialog::accept();
}

CPrintProgressDlg::CPrintProgressDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("印刷中"));
    setFont(ProgramFont());
    setModal(false);
    auto* v = new QVBoxLayout(this);
    m_pText = new QLabel;
    m_pText->setObjectName(QString::number(kIdText));
    m_pText->setMinimumWidth(260);
    m_pText->setAlignment(Qt::AlignCenter);
    v->addWidget(m_pText);
    auto* cancel = new QPushButton(tr("ｷｬﾝｾﾙ"));
    cancel->setObjectName(QString::number(kIdCancel));
    v->addWidget(cancel, 0, Qt::AlignHCenter);
    connect(cancel, &QPushButton::clicked, this, &CPrintProgressDlg::Cancel);
}

CPrintProgressDlg::~CPrintProgressDlg() {
    if (m_bCancelled)
        QApplication::restoreOverrideCursor();
}

void CPrintProgressDlg::ShowPage(int page, int lastPage) {
    m_pText->setText(QString::fromStdString(PrintProgressText(page, lastPage)));
}

void CPrintProgressDlg::Cancel() {
    if (m_bCancelled)
        return;
    m_bCancelled = true;
    // The job still finishes its page: the user sees it is busy, not the box.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    hide();
}

} // namespace saroko::ui
