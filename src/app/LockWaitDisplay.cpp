// The wait cursor and the status text of a lock wait, painted while the window's thread waits.
#include "app/LockWaitDisplay.h"

#include "dvh/LockWaitText.h"
#include "widgets/TextBytes.h"

#include <QApplication>
#include <QExposeEvent>
#include <QMainWindow>
#include <QStatusBar>
#include <QWindow>

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
        // Also what a message box closed just before the wait covered: its pixels stay on the
        // screen until the window beneath puts its own there again.
        ExposeWindows();
    } catch (...) {
        // Not shown: the wait is told no end, so the cursor is put back here.
        QApplication::restoreOverrideCursor();
        throw;
    }
}

void LockWaitDisplay::StillWaiting() { ExposeWindows(); }

void LockWaitDisplay::WaitEnds() {
    QApplication::restoreOverrideCursor();
    // What the program said meanwhile (a message of its own) stays.
    QStatusBar* bar = m_window->statusBar();
    if (bar->currentMessage() == m_text) bar->clearMessage();
    m_text.clear();
    bar->repaint();
}

void LockWaitDisplay::ExposeWindows() {
    // No event loop, not even one that leaves out user input: it would still run timers, queued
    // calls and deferred deletions in the middle of the command that waits. Nor repaint(): it
    // paints only what is marked dirty, and no widget knows that a closed box, or another
    // program's window, left its pixels over it. What the window system would say about that
    // (an expose) waits in its queue for the event loop, so each window is told here that all of
    // it is exposed: it paints what asked for an update meanwhile and puts the whole of itself
    // on the screen again. Input stays queued and reaches the program after the wait.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QWindow* window = widget->windowHandle();
        // An expose of a window that is not on the screen (hidden, minimised) would mark it
        // as shown.
        if (!widget->isVisible() || !window || !window->isExposed()) continue;
        QExposeEvent exposed(QRegion(QRect(QPoint(), window->size())));
        QCoreApplication::sendEvent(window, &exposed);
    }
}
