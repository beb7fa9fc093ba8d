// The window of a customisable dialog: the dialog's own controls as one widget, room for a
// caller's sub form, and no minimise or maximise box.
#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class TCustomDialogWindow : public QDialog {
    Q_OBJECT
public:
    /// Takes `mainWidget` in as a plain child (a dialog widget loses its own window); the
    /// customizer places it.
    TCustomDialogWindow(QWidget* parent, QWidget* mainWidget);

    QWidget* MainWidget() const { return m_main; }

    /// Runs each time the window is about to appear, before the window system maps it, so
    /// what it places is where the user first sees it.
    std::function<void()> OnShowWindow;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPointer<QWidget> m_main;
};
