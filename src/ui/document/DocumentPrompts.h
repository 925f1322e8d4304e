#pragma once
// The document's questions, answered by message boxes and the read-confirm dialog.
#include <functional>

#include "core/document/ZorvicDoc.h"

class QWidget;

namespace saroko::ui {

using ReadModeHandler = std::function<int()>;
// Replaces the read-confirm dialog in tests.
void SetReadModeHandler(ReadModeHandler handler);

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
