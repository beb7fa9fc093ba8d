// The folder picker with the customisation: a panel of the caller's beside or behind the
// folder view, sizing, caption, icon and the place it was closed at.
#pragma once

#include "dialogs/TCustomDlgsUnit.h"
#include "dialogs/TSelectFolderDialog.h"

#include <QPointer>

class TCustomDialogWindow;

class TCSelectFolderDialog : public TSelectFolderDialog, public TCustomDialogProperties {
    Q_OBJECT
public:
    explicit TCSelectFolderDialog(QWidget* owner);
    ~TCSelectFolderDialog() override;

    /// The window around the picker while `Execute` runs, else nullptr.
    TCustomDialogWindow* Window() const { return m_window; }

protected:
    int RunPickerWindow(QFileDialog& window) override;
    void DoShow() override;
    virtual void DoShowWindow();
    void DoClose() override;

private:
    QPointer<TCustomDialogWindow> m_window;
};
