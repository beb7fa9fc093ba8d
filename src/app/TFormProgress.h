// "Please wait...": the progress window the readers show while they read.
#pragma once

#include "widgets/TFormDialog.h"

class QProgressBar;

/// No behaviour of its own: a reader shows it, sets `ProgressBar1`'s maximum and position,
/// lets pending events run and closes it. It leaves the main window enabled.
class TFormProgress : public TFormDialog {
    Q_OBJECT
public:
    explicit TFormProgress(QWidget* owner = nullptr);

    QProgressBar* ProgressBar1;

    /// A read starts: the bar runs from 0 to `maximum` and the window shows.
    void Begin(int maximum);
    /// The read reached `position` (clamped to the bar's range).
    void Step(int position);
    /// The read ended: the bar is full and the window closes.
    void End();
};
