// A QApplication for the widget tests of this folder.
#pragma once

#include <QApplication>

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
