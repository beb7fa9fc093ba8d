// The BrainLAB tool bar: plans from clipboard tables, curves captured one copy at a time, and
// clipboard structures added to the current BrainSCAN plan.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "widgets/TextBytes.h"
#include "import/ClipboardPlan.h"
#include "import/ClipboardTable.h"
#include "dvh/DvhLineFields.h"
#include "import/ui/TFormBSCAN.h"
#include "import/ui/TFormiPlan.h"
#include "import/ui/TFormiPlanImport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>

namespace {

/// The clipboard's text as the program's bytes, line ends CR LF; "" without text.
std::string ClipboardBytes() { return NormaliseLineEnds(ToBytes(QApplication::clipboard()->text())); }

}  // namespace

void TForm1::ConnectBrainLab() {
    const auto added = [this](int plan) {
        RefillFileList();
        ShowPlan(plan);
        DrawDvhChart(plan);
    };
    FormBSCAN->OnPlanAdded = added;
    FormiPlan->OnPlanAdded = added;
    connect(SpeedButton1, &QAction::triggered, this, &TForm1::SpeedButton1Click);
    connect(Adddatatocurrentplan1, &QAction::triggered, this, &TForm1::Adddatatocurrentplan1Click);
    UpdateBrainLabActions();
}

void TForm1::UpdateBrainLabActions() {
    if (!Adddatatocurrentplan1) return;
    const bool brainScan = CurrentPlanIndex >= 0 && CurrentPlanIndex < PDatasetCount() &&
                           PDataset[CurrentPlanIndex].FileType == FileTypeBrainScan;
    Adddatatocurrentplan1->setEnabled(brainScan);
}

void TForm1::SpeedButton1Click() {
    FormiPlan->FromClipboardTable = false;
    ClipboardText = ClipboardBytes();
    const ClipboardRecognition r = ClassifyClipboardText(ClipboardText);
    if (r.Kind == ClipboardKind::BrainScanTable) {
        const auto names = BrainScanNames(ClipboardText);
        FormBSCAN->Fill(names, NormalTissueItem(names, {"Body", "Expanded"}));
        FormBSCAN->show();
        FormBSCAN->raise();
        return;
    }
    if (r.Kind == ClipboardKind::IPlanTable) {
        const auto names = IPlanTableNames(ClipboardText);
        FormiPlan->Fill(names, NormalTissueItem(names, {"Body", "Tissue"}));
        FormiPlan->FromClipboardTable = true;
        FormiPlan->DoseFromCapture = false;
        double dose;
        const bool number = r.DoseText != "None" && dvhtext::ParseNumber(r.DoseText, dose);
        FormiPlan->SetDoseField(number ? FromBytes(r.DoseText) : QString());
        FormiPlan->show();
        FormiPlan->raise();
        return;
    }
    ClipboardText.clear();
    FormiPlanImport->Open();
}

void TForm1::Adddatatocurrentplan1Click() {
    const AddStructuresResult check = CheckClipboardStructures(*this, ClipboardBytes());
    if (check.Outcome == AddStructuresOutcome::Duplicate) {
        QMessageBox::information(this, "Duplication of data",
                                 "This structure data is already existing in current plan.");
        return;
    }
    if (check.Outcome == AddStructuresOutcome::NoStructures) {
        QMessageBox::information(
            this, "BrainSCAN",
            "The current plan has no structure whose prescribed dose the new structures could take.");
        return;
    }
    if (check.Outcome != AddStructuresOutcome::Added) return;
    ParseClipboardStructure();
}

void TForm1::ParseClipboardStructure() {
    const AddStructuresResult result = AppendClipboardStructures(*this);
    if (result.Outcome == AddStructuresOutcome::Failed) {
        QMessageBox::critical(this, "BrainSCAN",
                              "The copied table cannot be read: " + FromBytes(result.Read.detail) +
                                  ". No structure was added.");
        return;
    }
    if (result.Outcome != AddStructuresOutcome::Added) return;
    ShowPlan(CurrentPlanIndex);
    DrawDvhChart(CurrentPlanIndex);
}
