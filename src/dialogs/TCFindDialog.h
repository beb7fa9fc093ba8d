// Modeless find and replace dialogs that carry a panel of the caller's, can be made
// resizable (widening widens the text boxes and moves the buttons), and reopen where they
// were closed.
#pragma once

#include "dialogs/TCustomDlgsUnit.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ShowCloseHandlers;
class TCustomDialogWindow;

/// Options of the find and replace dialogs, as bits.
enum TFindOption : unsigned {
    frDown = 0x0001,
    frFindNext = 0x0002,  // set by Find Next
    frHideMatchCase = 0x0004,
    frHideWholeWord = 0x0008,
    frHideUpDown = 0x0010,
    frMatchCase = 0x0020,
    frDisableMatchCase = 0x0040,
    frDisableUpDown = 0x0080,
    frDisableWholeWord = 0x0100,
    frReplace = 0x0200,     // set by Replace
    frReplaceAll = 0x0400,  // set by Replace All
    frWholeWord = 0x0800,
};

/// The dialog's own controls.
class TFindDialogForm : public QWidget {
    Q_OBJECT
public:
    explicit TFindDialogForm(bool replace);
    QLineEdit* FindWhat;
    QLineEdit* ReplaceWith = nullptr;
    QCheckBox* WholeWord;
    QCheckBox* MatchCase;
    QGroupBox* Direction = nullptr;
    QRadioButton* Up = nullptr;
    QRadioButton* Down = nullptr;
    QPushButton* FindNext;
    QPushButton* Replace = nullptr;
    QPushButton* ReplaceAll = nullptr;
    QPushButton* Cancel;
};

class TCFindDialog : public QObject, public TCustomDialogProperties {
    Q_OBJECT
public:
    explicit TCFindDialog(QWidget* owner);
    ~TCFindDialog() override;

    QString FindText() const;
    void SetFindText(const QString& text);
    unsigned Options = frDown;

    using NotifyEvent = std::function<void(TCFindDialog* sender)>;
    NotifyEvent OnShow;
    NotifyEvent OnClose;
    /// Find Next: read `FindText` and `Options`.
    NotifyEvent OnFind;

    /// Shows the dialog without blocking (or brings it to the front); true when shown.
    bool Execute();
    void CloseDialog();
    /// The dialog window once made, else nullptr.
    TCustomDialogWindow* Handle() const { return m_window; }

protected:
    TCFindDialog(QWidget* owner, bool replace);
    virtual void DoShow();
    virtual void DoClose();
    /// Reads the choices the user made into `Options`, with `action` set among the three.
    void TakeChoices(unsigned action);

    TFindDialogForm* m_form = nullptr;

private:
    void ShowOptions();

    QWidget* m_owner;
    bool m_replace;
    QString m_findText;
    QPointer<TCustomDialogWindow> m_window;
    QPointer<ShowCloseHandlers> m_handlers;
};

class TCReplaceDialog : public TCFindDialog {
    Q_OBJECT
public:
    explicit TCReplaceDialog(QWidget* owner) : TCFindDialog(owner, true) {}

    QString ReplaceText() const;
    void SetReplaceText(const QString& text);
    /// Replace or Replace All: read `FindText`, `ReplaceText` and `Options`.
    NotifyEvent OnReplace;

private:
    friend class TCFindDialog;
    QString m_replaceText;
};
