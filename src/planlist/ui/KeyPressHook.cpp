// A key-press handler for a widget, as a function.
#include "planlist/ui/KeyPressHook.h"

#include <QEvent>
#include <QKeyEvent>

KeyPressHook::KeyPressHook(QObject* watched, Handler handler)
    : QObject(watched), m_handler(std::move(handler)) {
    watched->installEventFilter(this);
}

bool KeyPressHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_handler)
        return m_handler(static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}
