// The application object of a UI test program, answering of common dialogs, and the close box.
#pragma once

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

#include <deque>
#include <functional>

/// The one application object of the test program: the one that exists, else a new one
/// that is never destroyed (tearing Qt down in exit handlers crashes).
inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "tessaray_ui_test";
    static char* argv[] = {name, nullptr};
    if (!qApp) new QApplication(argc, argv);
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

/// Runs `answer` on the first modal window that opens while `action` runs (the way a user
/// answers a common dialog), then returns whether the answer ran.
inline bool AnswerModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer) {
    bool answered = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer.stop();
            answered = true;
            answer(modal);
        }
    });
    timer.start();
    action();
    timer.stop();
    return answered;
}

/// Answers the modal windows that open while `action` runs, one answer each, in order.
/// Returns how many were answered.
inline int AnswerModals(const std::function<void()>& action,
                        std::deque<std::function<void(QWidget*)>> answers) {
    int answered = 0;
    QWidget* last = nullptr;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last || answers.empty()) return;
        last = modal;
        auto answer = std::move(answers.front());
        answers.pop_front();
        ++answered;
        answer(modal);
    });
    timer.start();
    action();
    timer.stop();
    return answered;
}

/// Presses "Yes" on a question box (the question before a file is replaced), as a user would.
inline void AnswerYes(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->button(QMessageBox::Yes))
        box->button(QMessageBox::Yes)->click();
}

/// Closes `window` as its close box (or Alt+F4) does: the window system's close arrives as a
/// spontaneous close event, which the window may refuse, and the window goes when it accepts.
/// (`QWindow::close()` from code is no such event: windows cannot tell it from their own.)
inline void ClickCloseBox(QWidget* window) {
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(window, &event);  // as the window system delivers it: sendEvent would clear the mark
    if (event.isAccepted()) window->hide();
}
