#pragma once
// Every message box of the program goes through here: ShowMessage for the string table's
// messages (its text, the caption "Saroko", the table's icon and buttons), the framework's own
// texts beside it. Tests install handlers to record what is shown and answer in place of the
// user.
#include <QString>
#include <functional>
#include <string_view>

#include "core/messages/StringTable.h"

class QWidget;

namespace saroko::ui {

using MessageHandler = std::function<int(int id, const QString& extra)>;

// Shows message `id` (its text followed by `extra`) and returns the answer (kIdOk, ...).
int ShowMessage(int id, const QString& extra = {}, QWidget* parent = nullptr);
// Replaces the message boxes; an empty handler restores them.
void SetMessageHandler(MessageHandler handler);

// A warning of the framework's own (a text not in the string table), over `parent`.
void ShowFrameworkMessage(const QString& text, QWidget* parent);
void SetFrameworkMessageHandler(std::function<void(const QString&)> handler);
// A Yes/No question of the framework's own (Yes is true).
bool AskFrameworkQuestion(const QString& text, QWidget* parent);
void SetFrameworkQuestionHandler(std::function<bool(const QString&)> handler);

// The core's messages as boxes over a window. A box shown during an exchange takes the
// ordinary cursor for as long as it is up.
class CWindowSink final : public IMessageSink {
public:
    explicit CWindowSink(QWidget* parent) : m_pParent(parent) {}
    int ShowMessage(int id, std::string_view extra = {}) override;

private:
    QWidget* m_pParent;
};

} // namespace saroko::ui
