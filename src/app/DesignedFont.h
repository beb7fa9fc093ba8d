// The face the windows are designed in, Tahoma, or the nearest face in widths where it is missing.
#pragma once

#include <QFont>
#include <QString>

/// Tahoma when the system has it or when the copy of Wine's font package can be added; else
/// the first installed face whose widths fit the designed controls; else the default face.
QString DesignedFontFamily();
/// The designed face at `pixelSize` pixels.
QFont DesignedFont(int pixelSize, bool bold = false);
/// Makes the designed face at 12 pixels the font of every window created afterwards.
void UseDesignedFont();
