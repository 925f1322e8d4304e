#include "ui/recorder/PortSelectDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/document/ZorvicDoc.h"
#include "core/recorder/SerialLine.h"

namespace saroko::ui {
namespace {

// "ＣＯＭ１" .. "ＣＯＭ９" in full-width letters and digits ("COM1" .. in English).
QString ComLabel(int n) {
    return CPortSelectDlg::tr("ＣＯＭ%1")
        .arg(CPortSelectDlg::tr("１２３４５６７８９").mid(n - 1, 1));
}

// The width of a device field: a name as long as the by-id names of common USB adapters.
const char kByIdSample[] = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

// A longer name keeps its beginning and its end, and shows whole in its tooltip.
void SetDeviceText(QLabel* label, const QString& device) {
    const QString shown =
        label->fontMetrics().elidedText(device, Qt::ElideMiddle, label->contentsRect().width());
    label->setText(shown);
    label->setToolTip(shown == device ? QString() : device);
}

} // namespace

QString PortEntryText(const SerialPortEntry& e) {
    QString s = QString::fromStdString(e.device);
    if (!e.description.empty())
        s += QStringLiteral("  ") + QString::fromStdString(e.description);
    if (!e.byIdPath.empty())
        s += QStringLiteral("  [") + QString::fromStdString(e.byIdPath) + QLatin1Char(']');
    return s;
}

QString PortAccessNote(const SerialPortEntry& e) {
    return PortFindingTexts(e.findings, e.device).join(QLatin1Char('\n'));
}

CPortSelectDlg::CPortSelectDlg(CZorvicDoc& doc, std::vector<SerialPortEntry> ports, QWidget* parent)
    : CRecorderDialog(CommServices{}, kHelpTopic, parent), m_doc(doc),
      m_sel(doc.Store(), static_cast<int>(doc.m_nPortNo)), m_ports(std::move(ports)) {
    setWindowTitle(tr("シリアルポートの選択"));

    auto* group = new QGroupBox(tr("ｼﾘｱﾙﾎﾟｰﾄ"), this);
    auto* grid = new QGridLayout(group);
    m_pRadios = new QButtonGroup(this);
    for (int i = 0; i < kPortChoices; ++i) {
        auto* radio = Item(kIdcCom1 + i, new QRadioButton(ComLabel(i + 1), group));
        m_pRadios->addButton(radio, i);
        m_pDevices[i] = Item(kIdcDevice1 + i, new QLabel(group));
        // A tenth more than the sample: other serial numbers' letters run wider.
        m_pDevices[i]->setFixedWidth(
            std::max(DialogUnitsX(this, 80),
                     m_pDevices[i]->fontMetrics().horizontalAdvance(kByIdSample) * 11 / 10));
        grid->addWidget(radio, i, 0);
        grid->addWidget(m_pDevices[i], i, 1);
    }
    grid->setColumnStretch(1, 1);
    if (m_sel.Index() >= 0)
        m_pRadios->button(m_sel.Index())->setChecked(true);
    connect(m_pRadios, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            OnChosen();
    });

    // Which device the chosen number opens: any listed device, or a path typed in.
    m_pBinding = new QGroupBox(tr("接続先ﾃﾞﾊﾞｲｽ"), this);
    auto* bl = new QVBoxLayout(m_pBinding);
    m_pBindDevice = Item(kIdcBindDevice, new QComboBox(m_pBinding));
    m_pBindDevice->setEditable(true);
    m_pBindDevice->setInsertPolicy(QComboBox::NoInsert);
    // As wide as the fields above, whatever the listed devices' descriptions make of an entry.
    m_pBindDevice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pBindDevice->setMinimumContentsLength(static_cast<int>(sizeof kByIdSample - 1));
    // An adapter is bound by its by-id name when it has one: it keeps the binding when it
    // comes back as another ttyUSB number.
    for (const SerialPortEntry& e : m_ports)
        m_pBindDevice->addItem(PortEntryText(e),
                               QString::fromStdString(e.byIdPath.empty() ? e.device : e.byIdPath));
    connect(m_pBindDevice, &QComboBox::activated, this,
            [this](int index) { BindChosen(m_pBindDevice->itemData(index).toString()); });
    connect(m_pBindDevice->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const QString text = m_pBindDevice->currentText().trimmed();
        const int listed = m_pBindDevice->findText(text);
        BindChosen(listed >= 0 ? m_pBindDevice->itemData(listed).toString() : text);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(m_pBindDevice, 1);
    QPushButton* usual = AddButton(kIdcBindDefault, tr("標準に戻す"));
    connect(usual, &QPushButton::clicked, this, [this] { BindChosen(QString()); });
    row->addWidget(usual);
    bl->addLayout(row);
    m_pNote = Item(kIdcBindNote, new QLabel(m_pBinding));
    m_pNote->setWordWrap(true);
    bl->addWidget(m_pNote);
#ifdef Q_OS_WIN
    m_pBinding->hide(); // COM numbers are the system's own device names there
#endif

    auto* buttons = new QVBoxLayout;
    QPushButton* ok = AddButton(kIdcOk, "OK");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(kIdcCancel, tr("ｷｬﾝｾﾙ"));
    QPushButton* help = AddButton(kIdcHelp, tr("ﾍﾙﾌﾟ"));
    for (QPushButton* b : {ok, cancel, help})
        buttons->addWidget(b);
    buttons->addStretch();
    connect(ok, &QPushButton::clicked, this, &CPortSelectDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CPortSelectDlg::reject);
    ConnectHelp(help);

    auto* left = new QVBoxLayout;
    left->addWidget(group);
    left->addWidget(m_pBinding);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    OnChosen();
}

void CPortSelectDlg::BindChosen(const QString& device) {
    if (m_sel.Index() < 0)
        return;
    m_sel.Bind(m_sel.Index() + 1, device.trimmed().toStdString());
    ShowDevices();
}

void CPortSelectDlg::OnChosen() {
    m_sel.SetIndex(m_pRadios->checkedId());
    m_pBinding->setEnabled(m_sel.Index() >= 0);
    ShowDevices();
}

void CPortSelectDlg::ShowDevices() {
    for (int i = 0; i < kPortChoices; ++i)
        SetDeviceText(m_pDevices[i], QString::fromStdString(m_sel.DeviceOf(i + 1)));
    if (m_sel.Index() < 0) {
        m_pBindDevice->setEditText(QString());
        m_pNote->clear();
        return;
    }
    const std::string device = m_sel.DeviceOf(m_sel.Index() + 1);
    m_pBindDevice->setEditText(QString::fromStdString(device));
    m_pBindDevice->setToolTip(QString::fromStdString(device));
    // A listed device brings its findings; any other path is looked at now.
    for (const SerialPortEntry& e : m_ports)
        if (SameSerialDevice(e.device, device) || (!e.byIdPath.empty() && e.byIdPath == device)) {
            m_pNote->setText(PortAccessNote(e));
            return;
        }
    m_pNote->setText(PortFindingTexts(DiagnoseDevicePath(device), device).join(QLatin1Char('\n')));
}

void CPortSelectDlg::accept() {
    m_sel.Apply(m_doc);
    QDialog::accept();
}

} // namespace saroko::ui
