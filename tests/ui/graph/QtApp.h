#pragma once
// One QApplication for every test of this program, on the offscreen platform unless the
// environment names another: the tests never need a display.
#include <QApplication>
#include <QByteArray>

namespace saroko::test {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "test_ui_graph";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    // Never destroyed: tearing Qt down during static destruction crashes at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace saroko::test
