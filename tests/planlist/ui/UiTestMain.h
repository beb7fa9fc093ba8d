// A QApplication for the widget tests of this folder.
#pragma once

#include <QApplication>

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down in exit handlers, after the devices QTest made, crashes.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
