#include "ui/recorder/RecorderDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QShortcut>

#include "ui/app/Help.h"
#include "ui/app/MessageSink.h"
#include "platform/QtSettingsStore.h"
#include "core/settings/WindowPlacement.h"

namespace saroko::ui {

int CDialogSink::ShowMessage(int id, std::string_view extra) {
    // A box shown in the middle of an exchange takes the ordinary cursor.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = ui::ShowMessage(
        id, QString::fromUtf8(extra.data(), static_cast<qsizetype>(extra.size())), m_pParent);
    if (waiting)
        QApplication::restoreOverrideCursor();
    return answer;
}

CWaitCursor::CWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
    QApplication::restoreOverrideCursor();
}

int DialogUnitsX(const QWidget* w, int units) {
    // The platform's base unit: the average width of the letters, rounded.
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int base = (w->fontMetrics().horizontalAdvance(kLetters) / 26 + 1) / 2;
    return units * base / 4;
}

int DialogUnitsY(const QWidget* w, int units) {
    return units * w->fontMetrics().height() / 8;
}

CRecorderDialog::CRecorderDialog(const CommServices& services, int helpTopic, QWidget* parent)
    : QDialog(parent), m_sink(this), m_services(services), m_nHelpTopic(helpTopic) {
    m_services.sink = &m_sink;
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // F1 asks for this dialog's page, as its help button does.
    new QShortcut(QKeySequence::HelpContents, this, this, &CRecorderDialog::RequestHelp);
}

QWidget* CRecorderDialog::GetDlgItem(int id) const {
    const auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

QPushButton* CRecorderDialog::AddButton(int id, const QString& text) {
    auto* b = Item(id, new QPushButton(text, this));
    b->setAutoDefault(false);
    return b;
}

void CRecorderDialog::RequestHelp() {
    if (m_help) {
        m_help(m_nHelpTopic);
        return;
    }
    OpenHelpFile(m_nHelpTopic);
}

void CRecorderDialog::reject() {
    if (!InExchange())
        QDialog::reject();
}

void CRecorderDialog::FocusItem(int id) {
    if (QWidget* w = GetDlgItem(id))
        w->setFocus(Qt::OtherFocusReason);
}

} // namespace saroko::ui
