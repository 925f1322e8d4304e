#pragma once
// Qt's own warnings (a runtime folder it does not like, fonts it cannot find) are not the
// program's messages: they reach standard error only when --verbose or the environment
// variable SAROKO_QT_WARNINGS=1 asks for them. Fatal ones always do.
namespace saroko::cli {

// First thing in main, before any Qt object exists.
void InstallQtMessageFilter();
void ShowQtMessages(bool show);

} // namespace saroko::cli
