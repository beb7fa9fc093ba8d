// A key-press handler for a widget, as a function: the main window's key handlers of the
// value field and the index grid hang on it.
#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

/// Calls `handler` for every key press of the widget it is installed on; a true result
/// swallows the key, false lets the widget handle it as usual.
class KeyPressHook : public QObject {
public:
    using Handler = std::function<bool(QKeyEvent*)>;
    KeyPressHook(QObject* watched, Handler handler);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};
