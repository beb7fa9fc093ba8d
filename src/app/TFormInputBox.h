// The input box: one prompt, one line of text, "OK" and "Cancel", shared by several commands.
#pragma once

#include "widgets/TFormDialog.h"

#include <functional>
#include <map>

class QLabel;
class QLineEdit;
class QPushButton;

/// The caller sets `Mode` (1 new plan list, 2 rename a list, 3 copy a list, 4 name a structure
/// set, 9 prescribed dose), the prompt, the caption and the mode's members, then shows the
/// box. OK runs the work registered for the mode; modes are added with `SetModeHandler`.
/// While shown, the main window and the comparison window are disabled.
class TFormInputBox : public TFormDialog {
    Q_OBJECT
public:
    explicit TFormInputBox(QWidget* owner = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;  // "OK"
    QPushButton* Button2;  // "Cancel"

    /// 0 when idle.
    int Mode = 0;
    /// Mode 2: the plan list to rename.
    int ListIndex = 0;
    /// Mode 9: the entry of the open-file list whose file waits for its dose.
    int OpenFileIndex = 0;
    /// Mode 9's answer in Gy, rounded to 3 decimals; 0 until a number was entered.
    float PrescribedDose = 0;

    /// The OK work of a mode. Returns true to keep the box open (its text is then emptied
    /// and it keeps its mode), false to close it.
    using ModeHandler = std::function<bool(TFormInputBox&)>;
    void SetModeHandler(int mode, ModeHandler handler);

    /// Mode 9: called with the dose (Gy) once the box has closed; reads the waiting file.
    std::function<void(float doseGy)> OnDoseEntered;
    /// Mode 9 Cancel: drops the plan that waited for the dose.
    std::function<void()> OnDoseCancelled;

    /// Shows the box asking the prescribed dose of a plan sum (mode 9).
    void AskPrescribedDose(int openFileIndex);

    void Edit1Change();
    void Button1Click();
    void Button2Click();

protected:
    void FormShow() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool DoseEntry();
    void SetOpenersEnabled(bool enabled);

    std::map<int, ModeHandler> m_modes;
};
