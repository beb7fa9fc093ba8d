// Controls both plan-list editors share: the "Current Plan" / "All" name menu and the colour picker.
#pragma once

#include <QColor>

#include <functional>

class QAction;
class QColorDialog;
class QMenu;
class QWidget;

/// The popup of a structure-name box: offer the current plan's names or all names of the list.
struct NameChoiceMenu {
    QMenu* menu;
    QAction* currentPlan;  // "Current Plan", checked at start
    QAction* all;          // "All"
};

/// Builds the menu as `PopupMenu1` with `CurrentPlan1` and `All1`, one of the two checked.
NameChoiceMenu MakeNameChoiceMenu(QWidget* owner);

/// Builds the colour dialog `ColorDialog1` and returns the picker the editors call: it opens on
/// the colour passed in and gives the chosen one back; false when the user cancelled.
std::function<bool(QColor&)> MakeColorPicker(QWidget* owner, QColorDialog*& dialog);
