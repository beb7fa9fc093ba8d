// Runs a dialog's show and close handlers on every show and every way it goes away.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

/// Watches `dialog`: `formShow` runs each time it is shown, `formClose` each time it is
/// hidden. OK, Cancel, Escape, the close box and a plain `hide()` all end in a hide, so a
/// close handler that enables the dialog's opener again runs however the dialog was left.
///
/// Make it a member of the dialog: it goes before the dialog's base class hides the dying
/// window, so no handler runs on a half-destroyed dialog or opener.
class ShowCloseHandlers : public QObject {
    Q_OBJECT
public:
    ShowCloseHandlers(QWidget* dialog, std::function<void()> formShow, std::function<void()> formClose);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_dialog;
    std::function<void()> m_formShow;
    std::function<void()> m_formClose;
};
