// What the plan-list editors need of the window that opens them.
#pragma once

#include "widgets/OwnerWindow.h"

class QWidget;
class Workspace;

/// The main window, seen by the index editor and the DVH series editor: the plan lists and
/// the current plan they edit and offer names from, and the index grid to refill after an
/// edit.
class PlanListWindowHost : public OwnerWindow {
public:
    virtual QWidget* HostWindow() = 0;
    virtual Workspace& HostWorkspace() = 0;
    virtual void UpdateIndexGrid(int listIndex) = 0;
};
