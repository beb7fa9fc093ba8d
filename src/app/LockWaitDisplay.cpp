// The wait cursor and the status text of a lock wait, painted while the window's thread waits.
#include "app/LockWaitDisplay.h"

#include "dvh/LockWaitText.h"
#include "widgets/TextBytes.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

LockWaitDisplay::LockWaitDisplay(QMainWindow* window) : m_window(window) {
    platform::SetWaitWatcher(this);
}

LockWaitDisplay::~LockWaitDisplay() { platform::SetWaitWatcher(nullptr); }

void LockWaitDisplay::WaitBegins(const std::string& lockPath) {
    const QString text = FromBytes(LockWaitText(lockPath));  // may name a file
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_text = text;
        m_window->statusBar()->showMessage(m_text);
        Repaint();
    } catch (...) {
        // Not shown: the wait is told no end, so the cursor is put back here.
        QApplication::restoreOverrideCursor();
        throw;
    }
}

void LockWaitDisplay::StillWaiting() { Repaint(); }

void LockWaitDisplay::WaitEnds() {
    QApplication::restoreOverrideCursor();
    // What the program said meanwhile (a message of its own) stays.
    QStatusBar* bar = m_window->statusBar();
    if (bar->currentMessage() == m_text) bar->clearMessage();
    m_text.clear();
    bar->repaint();
}

void LockWaitDisplay::Repaint() {
    // repaint(), not processEvents(): a click or a timer handled inside the wait would run
    // the program's commands in the middle of the one that waits.
    m_window->repaint();
    QWidget* active = QApplication::activeWindow();
    if (active && active != m_window && active->isVisible()) active->repaint();
}
