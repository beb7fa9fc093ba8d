// The BrainSCAN plan dialog: its checks and its table.
#include "import/ui/TFormBSCAN.h"

#include "dvh/Workspace.h"
#include "import/ClipboardDvh.h"

#include <QLineEdit>
#include <QListWidget>

TFormBSCAN::TFormBSCAN(Workspace& ws, QWidget* owner)
    : TFormBrainLabPlan(ws, owner, "FormBSCAN", "BrainSCAN", FileTypeBrainScan) {
    setTabOrder(Edit5, Edit1);
    Edit5->setFocus();
}

bool TFormBSCAN::FieldsAccepted() {
    if (Edit5->text().isEmpty()) {
        ShowError(MessageCaption(), "Prescribed dose is not specified.");
        return false;
    }
    if (ListBox1->currentRow() < 0) {
        ShowError(MessageCaption(), "Plan is not specified.");
        return false;
    }
    return true;
}

ReadResult TFormBSCAN::BuildPlanDataset(float doseGy, std::vector<DVHDatasetClass>& out) const {
    return ParseBrainScanTable(m_ws.ClipboardText, doseGy, BrainScanUse::NewPlan, out);
}
