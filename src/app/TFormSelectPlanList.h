// "Select Plan": the choice of a plan list for a plan that matched none by its names.
#pragma once

#include "widgets/TFormDialog.h"

#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

/// `ListBox1` holds "N/A" and every plan-list name; OK is the only way out. While shown the
/// main window is disabled.
class TFormSelectPlanList : public TFormDialog {
    Q_OBJECT
public:
    explicit TFormSelectPlanList(QWidget* owner = nullptr);

    QListWidget* ListBox1;
    QPushButton* Button1;  // "OK"

    /// Index into `OpenFile` of the file waiting to be read.
    int OpenFileIndex = -1;

    /// Called once the dialog has closed, with the chosen list's index (-1 for "N/A").
    std::function<void(int listIndex)> OnChosen;

    /// Fills `ListBox1` with "N/A" and `names`, selects "N/A" and shows the dialog.
    void Ask(int openFileIndex, const std::vector<std::string>& names);

    void Button1Click();

protected:
    void FormShow() override;
    void FormClose() override;
};
