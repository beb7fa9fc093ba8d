// A dialog's show and hide events drive its show and close handlers.
#include "dialogs/ShowCloseHandlers.h"

#include <QEvent>
#include <QWidget>

ShowCloseHandlers::ShowCloseHandlers(QWidget* dialog, std::function<void()> formShow,
                                     std::function<void()> formClose)
    : m_dialog(dialog), m_formShow(std::move(formShow)), m_formClose(std::move(formClose)) {
    dialog->installEventFilter(this);
}

bool ShowCloseHandlers::eventFilter(QObject* watched, QEvent* event) {
    // Spontaneous shows and hides come from the window system (minimising, another desktop):
    // the dialog stays open through them.
    if (watched == m_dialog && !event->spontaneous()) {
        if (event->type() == QEvent::Show && m_formShow) m_formShow();
        if (event->type() == QEvent::Hide && m_formClose) m_formClose();
    }
    return false;
}
