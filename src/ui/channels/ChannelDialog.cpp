#include "ui/channels/ChannelDialog.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/channels/ChannelLists.h"
#include "core/channels/RecCondWork.h"
#include "core/settings/WindowPlacement.h"
#include "platform/QtSettingsStore.h"

namespace saroko::ui {

QColor EntryColour(const CChannelPalette& palette, int index) {
    const PaletteEntry& e = palette.Entry(index);
    return QColor(e.red, e.green, e.blue);
}

CRowColumn::CRowColumn(const CChannelPalette& palette, CellSource source, int width,
                       QWidget* parent)
    : QWidget(parent), m_palette(palette), m_source(std::move(source)) {
    setFixedSize(width, kRowPitch * 8);
}

int CRowColumn::RowAt(const QPoint& p) const {
    return ChannelCellAt(p.x(), p.y(), width(), kRowPitch);
}

QRect CRowColumn::RowRect(int row, int width) {
    return QRect(0, (row - 1) * kRowPitch, width, kRowPitch);
}

void CRowColumn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), EntryColour(m_palette, kPalBackground));
    for (int row = 1; row <= 8; ++row) {
        const Cell c = m_source(row);
        if (c.text.isEmpty())
            continue;
        p.setPen(EntryColour(m_palette, c.paletteIndex));
        p.drawText(RowRect(row, width()).adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   c.text);
    }
}

CChannelDialog::CChannelDialog(const CChannelPalette& palette, int helpTopic, const QString& title,
                               QWidget* parent)
    : CDialogBase(helpTopic, parent), m_palette(palette) {
    setWindowTitle(title);
}

QPushButton* CChannelDialog::ChannelButton(int channel) const {
    return qobject_cast<QPushButton*>(GetDlgItem(kIdcChannel1 + channel - 1));
}

QPushButton* CChannelDialog::Button(int id) const {
    return qobject_cast<QPushButton*>(GetDlgItem(id));
}

QPushButton* CChannelDialog::AddButton(int id, const QString& text, QWidget* parent) {
    auto* b = Item(id, new QPushButton(text, parent ? parent : this));
    b->setAutoDefault(false);
    return b;
}

QGroupBox* CChannelDialog::ChannelButtons(const std::function<void(int)>& clicked) {
    auto* box = new QGroupBox(QStringLiteral("Ch."), this);
    auto* col = new QVBoxLayout(box);
    col->setSpacing(0);
    for (int n = 1; n <= 8; ++n) {
        QPushButton* b = AddButton(kIdcChannel1 + n - 1, tr("１２３４５６７８").mid(n - 1, 1), box);
        b->setFixedSize(kRowPitch + 8, kRowPitch);
        connect(b, &QPushButton::clicked, this, [clicked, n] { clicked(n); });
        col->addWidget(b);
    }
    col->addStretch();
    return box;
}

QGroupBox* CChannelDialog::PaintedGroup(const QString& title, CRowColumn* column) {
    auto* box = new QGroupBox(title, this);
    auto* col = new QVBoxLayout(box);
    col->setSpacing(0);
    col->addWidget(column);
    col->addStretch();
    return box;
}

QWidget* CChannelDialog::ButtonRow(int extraId, const QString& extraText) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    QPushButton* ok = AddButton(kIdcOk, "OK", row);
    ok->setDefault(true);
    QPushButton* cancel = AddButton(kIdcCancel, tr("ｷｬﾝｾﾙ"), row);
    h->addStretch();
    h->addWidget(ok);
    h->addWidget(cancel);
    if (!extraText.isEmpty())
        h->addWidget(AddButton(extraId, extraText, row));
    QPushButton* helpButton = AddButton(kIdcHelp, tr("ﾍﾙﾌﾟ"), row);
    h->addWidget(helpButton);
    ConnectHelp(helpButton);
    return row;
}

int CChannelDialog::Message(int id) {
    if (id == kMsgEnterInteger && !FindMessage(id)) {
        // The dialog framework's own box for an integer field it cannot read.
        QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppTitle),
                        QCoreApplication::translate("Channels", kEnterIntegerText), QMessageBox::Ok,
                        this);
        box.setObjectName(QStringLiteral("enterInteger"));
        box.exec();
        return kIdOk;
    }
    return CDialogBase::Message(id);
}

} // namespace saroko::ui
