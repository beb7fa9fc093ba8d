// The iPlan plan dialog: its checks, its table and the copy of the captured curves.
#include "import/ui/TFormiPlan.h"

#include "dvh/Workspace.h"
#include "import/ClipboardCapture.h"
#include "import/ClipboardDvh.h"

#include <QLineEdit>
#include <QListWidget>

TFormiPlan::TFormiPlan(Workspace& ws, QWidget* owner)
    : TFormBrainLabPlan(ws, owner, "FormiPlan", "iPlan", FileTypeIPlan) {
    // Unlike its BrainSCAN sister, this dialog is not kept above other windows.
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    SetDoseField("");
    Edit5->setReadOnly(true);
    Edit5->setFocusPolicy(Qt::ClickFocus);
}

void TFormiPlan::SetDoseField(const QString& text) {
    Edit5->setText(text);
    Edit5->setReadOnly(!text.isEmpty());
    Edit5->setFocusPolicy(text.isEmpty() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TFormiPlan::FieldsAccepted() {
    if (ListBox1->currentRow() < 0) {
        ShowError("iPlan - DVH", "Plan is not specified.");
        return false;
    }
    if (Edit5->text().isEmpty()) {
        ShowError("iPlan - Prescribed dose", "Input prescribed dose.");
        return false;
    }
    return true;
}

ReadResult TFormiPlan::BuildPlanDataset(float doseGy, std::vector<DVHDatasetClass>& out) const {
    return ParseIPlanTable(m_ws.ClipboardText, doseGy, out);
}

ReadResult TFormiPlan::BuildStructures(float doseGy, std::vector<DVHDatasetClass>& out) {
    if (FromClipboardTable) return BuildPlanDataset(doseGy, out);
    // Rescaled copies: the captured curves stay as taken, so a second OK cannot rescale twice.
    out = CapturedCurvesForPlan(m_ws.CaptureDVHDataset, DoseFromCapture ? std::nullopt : std::optional<float>(doseGy));
    return {};
}
