// The question before a user's file is replaced by a new one.
#pragma once

#include <QString>

class QWidget;

/// Whether a save may go on to `path`. A file of that name is asked about on `parent`, under
/// `caption` ("<name> already exists. Do you want to replace it?", "No" by default): true for
/// "Yes". Nothing of that name, or something that is no file (a folder, a pipe), is not asked
/// about: true, and the write refuses the latter with the reason, as every save does.
bool MayReplace(QWidget* parent, const QString& caption, const QString& path);
