#pragma once
// Every message box of the program goes through ShowMessage: the text from the string table,
// the caption "Saroko", the table's icon and buttons. Tests install a handler to record the
// ids and answer in place of the user.
#include <QString>
#include <functional>

#include "core/document/ZorvicDoc.h"

class QWidget;

namespace saroko::ui {

using MessageHandler = std::function<int(int id, const QString& extra)>;

// Shows message `id` (its text followed by `extra`) and returns the answer (kIdOk, ...).
int ShowMessage(int id, const QString& extra = {}, QWidget* parent = nullptr);
// Replaces the message boxes; an empty handler restores them.
void SetMessageHandler(MessageHandler handler);

using ReadModeHandler = std::function<int()>;
// Replaces the read-confirm dialog in tests.
void SetReadModeHandler(ReadModeHandler handler);

// The document's questions, answered by message boxes and the read-confirm dialog.
class CUiPrompts final : public IDocumentPrompts {
public:
    explicit CUiPrompts(QWidget* parent = nullptr) : m_pParent(parent) {}
    void SetParent(QWidget* parent) { m_pParent = parent; }
    int ShowMessage(int id, std::string_view extra = {}) override;
    int AskReadMode() override;

private:
    QWidget* m_pParent;
};

} // namespace saroko::ui
