// The name-choice menu and colour picker of the index editor and the DVH series editor.
#include "planlist/ui/EditorChoices.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QMenu>

NameChoiceMenu MakeNameChoiceMenu(QWidget* owner) {
    NameChoiceMenu m;
    m.menu = new QMenu(owner);
    m.menu->setObjectName("PopupMenu1");
    auto* choice = new QActionGroup(m.menu);
    m.currentPlan = m.menu->addAction("Current Plan");
    m.currentPlan->setObjectName("CurrentPlan1");
    m.all = m.menu->addAction("All");
    m.all->setObjectName("All1");
    for (QAction* a : {m.currentPlan, m.all}) {
        a->setCheckable(true);
        choice->addAction(a);
    }
    m.currentPlan->setChecked(true);
    return m;
}

std::function<bool(QColor&)> MakeColorPicker(QWidget* owner, QColorDialog*& dialog) {
    dialog = new QColorDialog(owner);
    dialog->setObjectName("ColorDialog1");
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    return [dialog](QColor& color) {
        dialog->setCurrentColor(color);
        if (dialog->exec() != QDialog::Accepted) return false;
        color = dialog->currentColor();
        return true;
    };
}
