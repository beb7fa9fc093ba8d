// "DVH Series": the plan information dialog, identity and structure aliases of one plan.
#pragma once

#include "widgets/TFormDialog.h"
#include "dvh/PlanInformation.h"

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTableWidget;

/// Modeless: the main window stays usable. Filled from one plan; OK writes back into that
/// plan only (never into whichever plan became current meanwhile).
class TFormDVHmatch : public TFormDialog {
    Q_OBJECT
public:
    static constexpr int kRowsPerPage = 15;

    explicit TFormDVHmatch(QWidget* owner = nullptr);

    QTableWidget* StringGrid1;  // row 0 the header, rows 1-15 one page of structures
    QComboBox* ComboBox[kRowsPerPage];  // ComboBox1 .. ComboBox15, over column 1
    QScrollBar* ScrollBar1;
    QLineEdit* Edit1;  // patient name
    QLineEdit* Edit2;  // patient ID
    QLineEdit* Edit3;  // plan name
    QLineEdit* Edit4;  // plan ID
    QPushButton* Button1;  // "OK"
    QPushButton* Button2;  // "Cancel"

    std::vector<std::string> IndexStructureNames;
    std::vector<std::string> ModifiedNames;
    int SelectedRow = -1;

    /// OK: writes the edits into plan `planIndex` if it still has `key`; returns whether it did.
    std::function<bool(int planIndex, const std::string& key, const PlanInformation& info)>
        OnApply;

    /// Fills the dialog from plan `planIndex` and shows it. `indexGridNames` are the texts of
    /// the index grid's structure column; each distinct one becomes a choice of every box.
    void FillAndShow(const PDatasetClass& plan, int planIndex,
                     const std::vector<std::string>& indexGridNames);

    int Page() const;
    void StringGrid1SelectCell(int column, int row);
    void ScrollBar1Change();
    void ComboBoxChange(int comboIndex);
    void Button1Click();
    void Button2Click();

private:
    void ShowPage();
    void HideCombos();

    bool m_selecting = false;
    int m_planIndex = -1;
    std::string m_planKey;
    std::vector<std::string> m_structureNames;
    PlanInformation m_shown;  // as filled in, so that untouched fields keep their bytes
};
