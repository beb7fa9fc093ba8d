// The program's version as every window shows it: the About box, the splash and report footers.
#pragma once

#include <QString>

/// "Version 1.0.0".
inline QString VersionText() { return QStringLiteral("Version 1.0.0"); }
