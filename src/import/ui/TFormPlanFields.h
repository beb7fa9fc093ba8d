// The fields an imported plan is completed with: identity, prescribed dose, normal tissue and
// plan list, with OK and Cancel. The BrainLAB and XiO dialogs are this form with their own checks.
#pragma once

#include "widgets/TFormDialog.h"

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

/// Lays out the fields and keeps the dose field to what a dose can be: digits and one point,
/// typed or pasted, with its unit ("Gy" or "cGy") beside it. OK and Cancel call the
/// subclass's `Button1Click` and `Button2Click`; the close box closes the dialog as Cancel does.
class TFormPlanFields : public TFormDialog {
    Q_OBJECT
public:
    QLineEdit* Edit1;  // "Patient Name"
    QLineEdit* Edit2;  // "Patient ID"
    QLineEdit* Edit3;  // "Plan Name"
    QLineEdit* Edit4;  // "Plan ID"
    QLineEdit* Edit5;  // "Prescribed Dose", in the unit `Label6` shows
    QLabel* Label6;    // "Gy" or "cGy"
    QComboBox* ComboBox1;   // "Normal Tissue": "---" and the structures
    QListWidget* ListBox1;  // "Select Plan": "N/A" and the plan lists
    QPushButton* Button1;   // "OK"
    QPushButton* Button2;   // "Cancel"

    virtual void Button1Click() = 0;
    virtual void Button2Click() = 0;
    void Edit5Change();

protected:
    explicit TFormPlanFields(QWidget* owner);

    /// Fills the normal-tissue box ("---", then `names`, `normalTissueItem` chosen) and the
    /// plan box ("N/A", then `planLists`, "N/A" chosen).
    void FillChoices(const std::vector<std::string>& names, int normalTissueItem,
                     const std::vector<std::string>& planLists);
    /// A modeless error box named `boxName`, so that it can be found and answered.
    void ShowError(const char* boxName, const QString& caption, const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;
};
