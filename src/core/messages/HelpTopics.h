#pragma once
// The user guide's pages: one per dialog, found by the dialog's help context number, and the
// main window's page for everything else (the help menu, F1).
#include <string>

namespace saroko {

enum class HelpLanguage { kJapanese, kEnglish };

// The page's path inside the guide, e.g. "ja/download.html"; "ja/index.html" for topic 0 and
// for a number no dialog uses.
std::string HelpPagePath(int topic, HelpLanguage language);

} // namespace saroko
