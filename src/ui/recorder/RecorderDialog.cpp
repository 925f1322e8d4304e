#include "ui/recorder/RecorderDialog.h"

#include <QPushButton>

#include "core/settings/WindowPlacement.h"
#include "platform/QtSettingsStore.h"

namespace saroko::ui {

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
    : CDialogBase(helpTopic, parent), m_sink(this), m_services(services) {
    m_services.sink = &m_sink;
}

QPushButton* CRecorderDialog::AddButton(int id, const QString& text) {
    auto* b = Item(id, new QPushButton(text, this));
    b->setAutoDefault(false);
    return b;
}

void CRecorderDialog::reject() {
    if (!InExchange())
        QDialog::reject();
}

} // namespace saroko::ui
