#include "ui/app/MessageSink.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "ui/document/ReadConfirmDlg.h"
#include "core/messages/StringTable.h"

namespace saroko::ui {
namespace {

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

ReadModeHandler& ReadHandler() {
    static ReadModeHandler handler;
    return handler;
}

} // namespace

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }
void SetReadModeHandler(ReadModeHandler handler) { ReadHandler() = std::move(handler); }

int ShowMessage(int id, const QString& extra, QWidget* parent) {
    if (Handler())
        return Handler()(id, extra);
    const MessageDef* def = FindMessage(id);
    if (!def)
        return kIdOk;
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(kAppTitle));
    box.setText(QCoreApplication::translate("Message", def->text) + extra);
    switch (def->icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    switch (def->buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return kIdOk;
    case QMessageBox::Yes:
        return kIdYes;
    case QMessageBox::No:
        return kIdNo;
    default:
        return kIdCancel;
    }
}

int CUiPrompts::ShowMessage(int id, std::string_view extra) {
    return ui::ShowMessage(id, QString::fromUtf8(extra.data(), static_cast<qsizetype>(extra.size())),
                           m_pParent);
}

int CUiPrompts::AskReadMode() {
    if (ReadHandler())
        return ReadHandler()();
    CReadConfirmDlg dlg(m_pParent);
    if (dlg.exec() != QDialog::Accepted)
        return kReadCancel;
    return dlg.m_nMode;
}

} // namespace saroko::ui
