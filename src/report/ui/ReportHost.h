// What the report windows need of the main window, without knowing it.
#pragma once

#include "dvh/Records.h"

class Workspace;

/// The main window as the report windows see it: its data, its index grid's size and the
/// page drawing and printing it owns.
class ReportHost {
public:
    virtual ~ReportHost() = default;
    /// The plans, the current plan, the row choice and the comment lines.
    virtual Workspace& ReportWorkspace() = 0;
    /// The plan list chosen in the main window, nullptr for none.
    virtual const PlanListNameClass* ReportPlanList() const = 0;
    /// Rows of the index grid, its title row included.
    virtual int IndexGridRowCount() const = 0;
    /// Draws the report page into the preview window.
    virtual void DrawReportPreview() = 0;
    /// Prints the report page.
    virtual void PrintReport() = 0;
};
