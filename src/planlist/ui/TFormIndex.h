// The index editor "Edit Index": one index row of a plan list, written back by OK.
#pragma once

#include "dialogs/ShowCloseHandlers.h"
#include "planlist/IndexEdit.h"

#include <QColor>
#include <QDialog>

#include <QHash>
#include <QString>

#include <functional>
#include <string>

class QActionGroup;
class QAction;
class QCheckBox;
class QColorDialog;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QWidget;
class PlanListWindowHost;
class Workspace;

class TFormIndex : public QDialog {
    Q_OBJECT
public:
    explicit TFormIndex(PlanListWindowHost* main);

    QComboBox* ComboBox2;     // structure, editable, offers names from PopupMenu1's choice
    QComboBox* ComboBox1;     // the 17 index kinds
    QLineEdit* Edit1;         // parameter of kinds 0-7
    QWidget* Panel2;          // conformity-index reference, kind 16 only
    QComboBox* ComboBox3;     // the 8 references
    QLineEdit* Edit3;         // parameter of references 4-7
    QGroupBox* GroupBox1;     // "Constraint"
    QRadioButton* RadioButton1;  // "None"
    QRadioButton* RadioButton2;  // "Upper"
    QRadioButton* RadioButton3;  // "Lower"
    QLineEdit* Edit2;         // constraint value
    QCheckBox* CViewOnOff;    // "Show constraint point"
    QFrame* Shape1;           // font colour of a broken constraint
    QPushButton* BitBtn1;     // "Font Color"
    QCheckBox* CheckBox1;     // "Print report"
    QPushButton* Button1;     // "OK"
    QPushButton* Button2;     // "Cancel"
    QMenu* PopupMenu1;        // of ComboBox2
    QAction* CurrentPlan1;    // "Current Plan"
    QAction* All1;            // "All"
    QColorDialog* ColorDialog1;

    /// The row being edited (0-based) and its list in `PlanListName`.
    int IndexRow = 0;
    int PlanListIndex = 0;
    /// Whether the edited row starts its structure group in the grid: a new name then carries
    /// over to the rest of the group. Set by the opener, which knows the grid.
    bool HeadsGroup = false;
    /// Asks the user for a colour starting at the given one; false when cancelled. The colour
    /// dialog unless replaced (tests answer it directly).
    std::function<bool(QColor&)> PickColor;

    /// Fills the controls from `row` (what the main window's LoadIndexIntoFormIndex does).
    void LoadIndex(const IndexDataClass& row);
    /// Opens the editor on row `row` of list `list`: loads it, offers the current plan's
    /// structures, and shows the dialog.
    void Open(int list, int row, bool headsGroup);
    /// The fields as the core's edit record.
    IndexEdit Fields() const;
    /// The square's colour as a TColor.
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor color);

    void FormShow();
    void FormClose();
    void ComboBox1Change();
    void ComboBox3Change();
    void CurrentPlan1Click();
    void All1Click();
    void BitBtn1Click();
    void Button1Click();
    void Button2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetFieldEnabled(QLineEdit* field, bool enabled);
    // Offers `names` in ComboBox2, keeping the typed text, and remembers their bytes.
    void OfferNames(const std::vector<std::string>& names, QAction* checked);
    void ShowBadNumber(QLineEdit* field);
    PlanListWindowHost* m_host;
    Workspace* m_main;  // the host's plan lists and plans
    TColor m_fontColor = 0;
    // The bytes behind each name shown, so that a name read as Windows-1252 goes back unchanged.
    QHash<QString, std::string> m_nameBytes;
    ShowCloseHandlers m_handlers;  // declared last: it goes first
};
