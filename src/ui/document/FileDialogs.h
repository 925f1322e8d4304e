#pragma once
// The file dialogs of the File menu, as the file commands ask for them.
#include "core/files/FileCommands.h"
#include "core/settings/WindowPlacement.h"

#include "ui/base/FileDialogSize.h"

class QWidget;

namespace saroko::ui {

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
