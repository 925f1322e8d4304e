#pragma once
// The file dialogs of the File menu, as the file commands ask for them.
#include "core/files/FileCommands.h"
#include "core/settings/WindowPlacement.h"

class QFileDialog;
class QWidget;

namespace saroko::ui {

// Runs Qt's own file dialog, which is laid out for short English texts, with its columns
// (name, size, type, date) widened to what they show in the user's language and the dialog
// large enough to hold them, at the size the user left the last one (kept in `store` when
// given). A dialog of the desktop's own runs as it is. Returns exec()'s result.
int RunSized(QFileDialog& dlg, ISettingsStore* store);

class CQtFileDialogs final : public IFileCommandUi {
public:
    explicit CQtFileDialogs(QWidget* parent = nullptr, ISettingsStore* store = nullptr)
        : m_pParent(parent), m_pStore(store) {}
    bool AskOpenPath(std::string& path) override;
    bool AskSavePath(int range, std::string& path) override;
    bool AskTextPath(int range, uint32_t& divideCode, std::string& path) override;
    void SetWaitCursor(bool on) override;

private:
    QWidget* m_pParent;
    ISettingsStore* m_pStore;
};

} // namespace saroko::ui
