#include "ui/document/DocumentPrompts.h"

#include "ui/base/MessageSink.h"
#include "ui/document/ReadConfirmDlg.h"

namespace saroko::ui {
namespace {

ReadModeHandler& ReadHandler() {
    static ReadModeHandler handler;
    return handler;
}

} // namespace

void SetReadModeHandler(ReadModeHandler handler) {
    ReadHandler() = std::move(handler);
}

int CUiPrompts::ShowMessage(int id, std::string_view extra) {
    return ui::ShowMessage(
        id, QString::fromUtf8(extra.data(), static_cast<qsizetype>(extra.size())), m_pParent);
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
