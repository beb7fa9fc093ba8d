// "BrainSCAN": completes a plan from a BrainSCAN table copied to the clipboard.
#pragma once

#include "import/ui/TFormBrainLabPlan.h"

/// OK refuses an empty dose ("Prescribed dose is not specified.") before a missing plan
/// choice ("Plan is not specified."), caption "BrainSCAN - DVH", and builds the structures
/// from the table in `ClipboardText`.
class TFormBSCAN : public TFormBrainLabPlan {
    Q_OBJECT
public:
    TFormBSCAN(Workspace& ws, QWidget* owner = nullptr);

    /// The structures of the BrainSCAN table in `ClipboardText` for a dose of `doseGy`.
    ReadResult BuildPlanDataset(float doseGy, std::vector<DVHDatasetClass>& out) const;

protected:
    ReadResult BuildStructures(float doseGy, std::vector<DVHDatasetClass>& out) override {
        return BuildPlanDataset(doseGy, out);
    }
    bool FieldsAccepted() override;
    QString MessageCaption() const override { return "BrainSCAN - DVH"; }
};
