// Message boxes that leave the windows behind them usable.
#pragma once

#include <QMessageBox>

/// A message box over `owner`, named `objectName`, that deletes itself once closed; the caller
/// shows it. Unlike a QMessageBox as made, it blocks no other window: a box shown at the end of
/// a wait for a lock would otherwise drop the clicks queued on the window during the wait, which
/// are to act after it, in order. The flows that show one go on from its answer, if any.
QMessageBox* NewUnblockingBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                              QMessageBox::StandardButtons buttons, QWidget* owner, const QString& objectName);
