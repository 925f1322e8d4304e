// Linked into every test program that may create a Qt application: tests run without a
// display unless the caller chose a platform. ctest's environment carries only TZ.
// The windows speak Japanese, as the tests' texts are written, whatever the runner's locale.
#include <QCoreApplication>
#include <cstdlib>

#include "platform/Translations.h"

namespace {
const bool kOffscreen = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The programs the tests start (saroko-cli, saroko) speak Japanese too, unless told.
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", "C.UTF-8", 1);
    return true;
}();
} // namespace

static void PinLanguage() {
    saroko::InstallTranslations(saroko::Language::kJapanese);
}
Q_COREAPP_STARTUP_FUNCTION(PinLanguage)
