// The main window's sign that the program waits for another program's turn on a lock file.
#pragma once

#include "platform/WaitNotice.h"

#include <QString>

class QMainWindow;

/// Shows a lock wait on `window` for as long as it lasts: the wait cursor and a status text
/// ("Waiting for another save of 12_H1.txt ..."). The window's thread waits without going back
/// to its event loop, so the program's windows are put on the screen again at once and at every
/// pause: what a closed box or another program's window uncovered, and what asked for an
/// update. No user input, timer or queued call is handled meanwhile; input waits for the end.
/// Installed as the process's watcher on construction (on the window's thread) and removed on
/// destruction.
class LockWaitDisplay final : public platform::WaitWatcher {
public:
    explicit LockWaitDisplay(QMainWindow* window);
    ~LockWaitDisplay() override;
    LockWaitDisplay(const LockWaitDisplay&) = delete;
    LockWaitDisplay& operator=(const LockWaitDisplay&) = delete;

    void WaitBegins(const std::string& lockPath) override;
    void StillWaiting() override;
    void WaitEnds() override;

private:
    /// Puts every shown window of the program on the screen again, without an event loop.
    void ExposeWindows();

    QMainWindow* m_window;
    QString m_text;  // the wait's text, cleared at its end only while the status bar shows it
};
