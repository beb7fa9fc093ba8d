// The program's message boxes: a question holds its windows until answered, a report none.
#pragma once

#include <QMessageBox>

/// What a message box is for, which decides whether it holds the program's windows.
enum class BoxRole {
    /// It only tells what happened. Every window stays usable: a box shown at the end of a wait
    /// for a lock would otherwise drop the clicks queued on the window during the wait, which
    /// are to act after it, in order.
    Report,
    /// Its answer acts. No click or key on any of the program's windows acts until it is
    /// answered, so that the answer finds what it asked about as it was asked.
    Question,
};

/// A message box over `owner`, named `objectName`, that deletes itself once closed; the caller
/// shows it with show() (a nested event loop would run the queued calls inside the caller).
/// The flows that show one go on from its answer, if any.
QMessageBox* NewMessageBox(BoxRole role, QMessageBox::Icon icon, const QString& caption, const QString& text,
                           QMessageBox::StandardButtons buttons, QWidget* owner, const QString& objectName);
