#pragma once
// The size of Qt's own file dialogs, the same for every one the program opens.
class QFileDialog;

namespace saroko {
class ISettingsStore;
}

namespace saroko::ui {

// Runs Qt's own file dialog, which is laid out for short English texts, with its columns
// (name, size, type, date) widened to what they show in the user's language and the dialog
// large enough to hold them, at the size the user left the last one (kept in `store` when
// given). A dialog of the desktop's own runs as it is. Returns exec()'s result.
int RunSized(QFileDialog& dlg, ISettingsStore* store);

} // namespace saroko::ui
