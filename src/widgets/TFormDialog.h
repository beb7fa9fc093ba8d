// Base of the program's dialogs: created once, shown without a modal loop, fixed in size.
#pragma once

#include "dialogs/ShowCloseHandlers.h"

#include <QDialog>

/// A dialog in the program's manner: `show()` returns at once, `FormShow` runs when it
/// appears and `FormClose` when it goes (however it is closed). Enter and Escape have no
/// effect of their own. A dialog `closableByUser` has a close box (the system menu's close,
/// Alt+F4 too), which closes it and then runs `CloseBoxClick`; any other dialog refuses the
/// window manager's close and ends only through its own buttons.
///
/// A dialog that disables the window that opened it must not be that window's child (a
/// disabled window disables its children), so such dialogs are created without a parent and
/// centred on `Owner()` when shown.
class TFormDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFormDialog(QWidget* owner, bool closableByUser = false);

    QWidget* Owner() const { return m_owner; }
    void SetOwner(QWidget* owner) { m_owner = owner; }

    /// Enables or disables the window that opened the dialog (the main window's controls
    /// when it is the main window).
    void SetOwnerEnabled(bool enabled);

protected:
    virtual void FormShow() {}
    virtual void FormClose() {}
    /// What the close box does beyond closing: a dialog whose Cancel does more than close
    /// does it here too.
    virtual void CloseBoxClick() {}

    /// Fixed size, always on top, a title bar with the close box only where the user may
    /// close the dialog.
    void SetFixedDialogFrame(int width, int height);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* m_owner;
    bool m_closableByUser;
    ShowCloseHandlers m_handlers;
};
