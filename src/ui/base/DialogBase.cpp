#include "ui/base/DialogBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcut>

#include "ui/base/HelpRequest.h"
#include "ui/base/MessageSink.h"

namespace saroko::ui {
namespace {

std::function<int(QDialog&)>& Runner() {
    static std::function<int(QDialog&)> runner;
    return runner;
}

} // namespace

CDialogBase::CDialogBase(int helpTopic, QWidget* parent)
    : QDialog(parent), m_nHelpTopic(helpTopic) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // F1 asks for this dialog's page, as its help button does.
    new QShortcut(QKeySequence::HelpContents, this, this, &CDialogBase::RequestHelp);
}

QWidget* CDialogBase::GetDlgItem(int id) const {
    const auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

void CDialogBase::ConnectHelp(QAbstractButton* button) {
    connect(button, &QAbstractButton::clicked, this, &CDialogBase::RequestHelp);
}

void CDialogBase::RequestHelp() const {
    ui::RequestHelp(m_nHelpTopic);
}

int CDialogBase::Message(int id, const QString& extra) {
    return ShowMessage(id, extra, this);
}

void CDialogBase::FocusItem(int id) {
    if (QWidget* w = GetDlgItem(id))
        w->setFocus(Qt::OtherFocusReason);
}

CWaitCursor::CWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
    QApplication::restoreOverrideCursor();
}

int ExecDialog(QDialog& dialog) {
    if (Runner())
        return Runner()(dialog);
    return dialog.exec();
}

void SetDialogRunner(std::function<int(QDialog&)> runner) {
    Runner() = std::move(runner);
}

} // namespace saroko::ui
