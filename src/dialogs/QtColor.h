// A stored colour (0x00BBGGRR) as Qt paints it.
#pragma once

#include "dvh/Records.h"

#include <QColor>

inline QColor ToQColor(TColor c) { return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)); }
