// One QApplication for the GoogleTest cases of the window tests (run with offscreen Qt).
#pragma once

#include <QApplication>

inline QApplication* EnsureQtApp() {
    static int argc = 1;
    static char name[] = "tessaray-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = qApp ? nullptr : new QApplication(argc, argv);
    (void)app;
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}
