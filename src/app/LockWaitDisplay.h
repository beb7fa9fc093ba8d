// The main window's sign that the program waits for another program's turn on a lock file.
#pragma once

#include "platform/WaitNotice.h"

#include <QString>

class QMainWindow;

/// Shows a lock wait on `window` for as long as it lasts: the wait cursor and a status text
/// ("Waiting for another save of 12_H1.txt ..."). The window's thread waits without going back
/// to its event loop, so what is shown is painted at once and again at every pause; no user
/// input or timer is handled meanwhile. Installed as the process's watcher on construction
/// (on the window's thread) and removed on destruction.
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
    /// Paints the window and whichever other window is active now, without an event loop.
    void Repaint();

    QMainWindow* m_window;
    QString m_text;  // the wait's text, cleared at its end only while the status bar shows it
};
