// What the main window shows while a lock wait goes on, seen from the wait's named points.
#pragma once

#include "app/Forms.h"
#include "app/TForm1.h"
#include "platform/FaultPoint.h"
#include "../support/LockHeldElsewhere.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QStatusBar>
#include <QWindow>

#include <chrono>

#include <string>
#include <string_view>

/// A press and a release on the middle of `widget`, queued for its window as the window system
/// delivers them: the window finds the widget, unless a modal box blocks it.
inline void PostClick(QWidget* widget) {
    QWidget* top = widget->window();
    const QPointF at = widget->mapTo(top, widget->rect().center());
    const QPointF global = top->mapToGlobal(at);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(top->windowHandle(),
                                    new QMouseEvent(type, at, global, Qt::LeftButton, held, Qt::NoModifier));
    }
}

/// What `Form1` showed each time a lock was found busy while this lived; a click on `clicked`,
/// where given, is queued there as a user's would be.
class LockWaitShown {
public:
    explicit LockWaitShown(QWidget* clicked = nullptr) {
        Seen() = {};
        Seen().clicked = clicked;
        platform::SetFaultHook(&Note);
    }
    ~LockWaitShown() { platform::SetFaultHook(nullptr); }
    LockWaitShown(const LockWaitShown&) = delete;
    LockWaitShown& operator=(const LockWaitShown&) = delete;

    int Waits() const { return Seen().waits; }
    /// The cursor was the wait cursor at the last wait.
    bool WaitCursor() const { return Seen().waitCursor; }
    /// The status bar's text at the last wait.
    const std::string& Status() const { return Seen().status; }

private:
    struct Shown {
        int waits = 0;
        bool waitCursor = false;
        std::string status;
        QWidget* clicked = nullptr;
    };
    static Shown& Seen() {
        static Shown shown;
        return shown;
    }
    static void Note(std::string_view point) {
        if (point != "lock busy") return;
        ++Seen().waits;
        const QCursor* cursor = QApplication::overrideCursor();
        Seen().waitCursor = cursor && cursor->shape() == Qt::WaitCursor;
        Seen().status = Form1->statusBar()->currentMessage().toStdString();
        if (Seen().clicked) PostClick(Seen().clicked);
    }
};

/// Which events the program's windows received while a lock wait held by `held` went on, and
/// which after it ("while" is while the wait cursor shows). At the wait's first pause `widget`
/// asks for an update, a key press is posted to it and a click on it to its window, as the
/// window system queues a user's, and a queued call is posted, as one is before the wait; at the
/// second pause the lock is let go, so that the wait ends however busy the machine is.
class LockWaitEvents : public QObject {
public:
    LockWaitEvents(QWidget* widget, LockHeldElsewhere& held) : m_widget(widget), m_held(held) {
        platform::SetLockWaitLimit(std::chrono::seconds(5));  // the second pause ends it
        Current() = this;
        platform::SetFaultHook(&Note);
        qApp->installEventFilter(this);
        PostCall();
    }
    ~LockWaitEvents() override {
        qApp->removeEventFilter(this);
        platform::SetFaultHook(nullptr);
        Current() = nullptr;
    }
    LockWaitEvents(const LockWaitEvents&) = delete;
    LockWaitEvents& operator=(const LockWaitEvents&) = delete;

    /// Exposes of the main window from the wait's start to its "lock busy" point.
    int ExposedAsTheWaitBegan() const { return m_exposedAsItBegan; }
    /// Paints of the widget during the wait after it asked for an update.
    int PaintedAfterItsUpdate() const { return m_paintedAfterUpdate; }
    int KeysDuringTheWait() const { return m_keysDuring; }
    int KeysAfterTheWait() const { return m_keysAfter; }
    int ClicksDuringTheWait() const { return m_clicksDuring; }
    int ClicksAfterTheWait() const { return m_clicksAfter; }
    /// Of the two queued calls, the one posted before the wait and the one posted during it.
    int CallsDuringTheWait() const { return m_callsDuring; }
    int CallsAfterTheWait() const { return m_callsAfter; }
    int Pauses() const { return m_pauses; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool waiting = Waiting();
        if (event->type() == QEvent::Expose && watched == Form1->windowHandle() && waiting)
            ++m_exposedDuring;
        if (event->type() == QEvent::Paint && watched == m_widget && waiting && m_updateAsked)
            ++m_paintedAfterUpdate;
        if (event->type() == QEvent::KeyPress && watched == m_widget)
            ++(waiting ? m_keysDuring : m_keysAfter);
        if (event->type() == QEvent::MouseButtonRelease && watched == m_widget)
            ++(waiting ? m_clicksDuring : m_clicksAfter);
        return false;
    }

private:
    static bool Waiting() {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor;
    }
    void PostCall() {
        QMetaObject::invokeMethod(this, [this] { ++(Waiting() ? m_callsDuring : m_callsAfter); },
                                  Qt::QueuedConnection);
    }
    static LockWaitEvents*& Current() {
        static LockWaitEvents* current = nullptr;
        return current;
    }
    static void Note(std::string_view point) {
        LockWaitEvents* self = Current();
        if (point == "lock busy") self->m_exposedAsItBegan = self->m_exposedDuring;
        if (point != "lock wait pause") return;
        if (++self->m_pauses == 1) {
            self->m_widget->update();
            self->m_updateAsked = true;
            auto* key = new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
            QCoreApplication::postEvent(self->m_widget, key);
            PostClick(self->m_widget);
            self->PostCall();
        } else if (self->m_pauses == 2) {
            self->m_held.Release();
        }
    }

    QWidget* m_widget;
    LockHeldElsewhere& m_held;
    bool m_updateAsked = false;
    int m_exposedDuring = 0;
    int m_exposedAsItBegan = 0;
    int m_paintedAfterUpdate = 0;
    int m_keysDuring = 0;
    int m_keysAfter = 0;
    int m_clicksDuring = 0;
    int m_clicksAfter = 0;
    int m_callsDuring = 0;
    int m_callsAfter = 0;
    int m_pauses = 0;
};
