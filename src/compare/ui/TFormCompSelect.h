// The plan choice of the comparison window ("Select Plan").
#pragma once

#include "widgets/TFormDialog.h"

#include <functional>
#include <vector>

class QListWidget;
class QPushButton;

/// One check item per comparable plan; "OK" hands the checked plans to the comparison,
/// "Cancel" and the close box change nothing.
class TFormCompSelect : public TFormDialog {
    Q_OBJECT
public:
    explicit TFormCompSelect(QWidget* formComp);

    QListWidget* CheckListBox1;
    QPushButton* Button1;  // "OK"
    QPushButton* Button2;  // "Cancel"
    /// The plan index of each item, in item order.
    std::vector<int> ItemDatasetIndex;
    /// "OK": the checked plans' indices, in item order; the dialog has closed.
    std::function<void(const std::vector<int>&)> OnChosen;

    void Button1Click();
    void Button2Click();

protected:
    void FormShow() override;
    void FormClose() override;
};
