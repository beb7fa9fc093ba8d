// Open and save dialogs that carry a panel of the caller's (a preview beside the file list,
// say), can be made resizable, and reopen where they were closed.
#pragma once

#include "dialogs/TCustomDlgsUnit.h"

#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class TCustomDialogWindow;

/// Options of the open and save dialogs, as bits.
enum TOpenOption : unsigned {
    ofOverwritePrompt = 0x0002,   // save: ask before replacing a file
    ofAllowMultiSelect = 0x0200,  // open: several files at once
    ofFileMustExist = 0x1000,     // open: only existing files (always so with multiple selection)
    ofEnableSizing = 0x0800000,   // the dialog sizes itself
    ofOldStyleDialog = 0x1000000, // the dialog keeps a fixed size unless `DialogSizing`
};

class TCOpenDialog : public QObject, public TCustomDialogProperties {
    Q_OBJECT
public:
    explicit TCOpenDialog(QWidget* owner);
    ~TCOpenDialog() override;

    QString Title;
    /// Name filters separated by ";;", e.g. "Text (*.txt);;All files (*)".
    QString Filter;
    /// The chosen filter, counted from 1; the user's choice after `Execute`.
    int FilterIndex = 1;
    QString InitialDir;
    /// The chosen file; set before `Execute` it is proposed.
    QString FileName;
    /// Every chosen file (several with `ofAllowMultiSelect`).
    QStringList Files;
    /// Added to a typed name without one.
    QString DefaultExt;
    unsigned Options = ofEnableSizing | ofFileMustExist;

    using NotifyEvent = std::function<void(TCOpenDialog* sender)>;
    NotifyEvent OnShow;
    NotifyEvent OnClose;
    /// The user entered another folder.
    NotifyEvent OnFolderChange;
    /// The window is placed and about to appear; once per show.
    NotifyEvent OnShowWindow;

    /// Shows the dialog modally; true when a file was chosen.
    virtual bool Execute();
    /// The dialog window while `Execute` runs, else nullptr; its file view is a QFileDialog.
    TCustomDialogWindow* Handle() const { return m_window; }

protected:
    bool DoExecute(QFileDialog::AcceptMode mode);
    virtual void DoShow();
    virtual void DoShowWindow();
    virtual void DoFolderChange();
    virtual void DoClose();

private:
    QWidget* m_owner;
    QPointer<TCustomDialogWindow> m_window;
    bool m_showWindowPending = false;
};

class TCSaveDialog : public TCOpenDialog {
    Q_OBJECT
public:
    explicit TCSaveDialog(QWidget* owner) : TCOpenDialog(owner) { Options = ofEnableSizing | ofOverwritePrompt; }
    bool Execute() override;
};
