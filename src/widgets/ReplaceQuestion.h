// The question before a user's file is replaced by a new one.
#pragma once

#include <QString>

class QWidget;

/// Asks on `parent`, under `caption`, whether the existing file `path` may be replaced
/// ("<name> already exists. Do you want to replace it?", "No" by default). True for "Yes".
bool ConfirmReplace(QWidget* parent, const QString& caption, const QString& path);
