// What the main window shows at the moment a lock wait begins, seen from the "lock busy" point.
#pragma once

#include "app/Forms.h"
#include "app/TForm1.h"
#include "platform/FaultPoint.h"

#include <QApplication>
#include <QCursor>
#include <QStatusBar>

#include <string>
#include <string_view>

/// What `Form1` showed each time a lock was found busy while this lived.
class LockWaitShown {
public:
    LockWaitShown() {
        Seen() = {};
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
    }
};
