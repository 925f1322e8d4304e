#pragma once
// One QApplication for a whole test program (OffscreenPlatform.cpp picks the platform), never
// destroyed: tearing Qt down during static destruction crashes at exit.
#include <QApplication>

namespace saroko::test {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "saroko-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace saroko::test
