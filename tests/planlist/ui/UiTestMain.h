// The application object of the widget tests of this folder: the test program's shared one.
#pragma once

#include "../../support/QtTestApp.h"

inline QApplication& TestApplication() { return TestApp(); }
