// The DVH series editor "DVH Series": the structure database (curve colours, visibility) of a list.
#pragma once

#include "dvh/Records.h"

#include <QColor>
#include <QDialog>

#include <QHash>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QColorDialog;
class QComboBox;
class QGroupBox;
class QMenu;
class QPushButton;
class QTableWidget;
class PlanListWindowHost;
class Workspace;

class TFormDVHs : public QDialog {
    Q_OBJECT
public:
    explicit TFormDVHs(PlanListWindowHost* main);

    /// Columns "Structure", "Color", "R", "G", "B", "Show graph"; table row r - 1 holds grid row r
    /// (database entry r - 1), and one empty row follows the entries.
    QTableWidget* StringGrid1;
    QGroupBox* GroupBox1;  // "Add Structure"
    QComboBox* ComboBox1;  // the name to add
    QPushButton* Button4;  // "OK" of the add group
    QMenu* PopupMenu1;     // of ComboBox1
    QAction* CurrentPlan1; // "Current Plan"
    QAction* All1;         // "All"
    QColorDialog* ColorDialog1;
    QPushButton* Button1;  // "Delete"
    QPushButton* Button3;  // "OK"

    /// The list edited, in `PlanListName`; -1 when it was deleted meanwhile.
    int PlanListIndex = -1;
    /// Database entry and grid column of the selected cell, -1 for none.
    int SelectedRow = -1;
    int SelectedCol = -1;
    /// Asks the user for a colour; false when cancelled (tests answer it directly).
    std::function<bool(QColor&)> PickColor;

    /// Opens the editor on list `list` (not locked): the current plan's names to add, the grid.
    void Open(int list);
    void FillSeriesGrid();
    /// Grid cell (column, row) chosen: row counts the header as row 0.
    void StringGrid1SelectCell(int col, int row);
    void StringGrid1DblClick();
    void Button4Click();
    void Button1Click();
    void Button3Click();
    void CurrentPlan1Click();
    void All1Click();
    /// Keeps the editor on its list when list `deleted` goes; closes it when that was its list.
    void PlanListDeleted(int deleted);

private:
    PlanListNameClass* EditedList();
    void FillNames(const std::vector<std::string>& names, QAction* checked);
    PlanListWindowHost* m_host;
    Workspace* m_main;  // the host's plan lists and plans
    // The bytes behind each name offered, so that a name read as Windows-1252 goes back unchanged.
    QHash<QString, std::string> m_nameBytes;
};
