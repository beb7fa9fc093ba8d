// "iPlan": turns an iPlan table, or curves captured one at a time, into a new plan.
#pragma once

#include "import/ui/TFormBrainLabPlan.h"

/// OK refuses a missing plan choice ("Plan is not specified.", caption "iPlan - DVH") before
/// an empty dose ("Input prescribed dose.", caption "iPlan - Prescribed dose"). With
/// `FromClipboardTable` the structures come from the table in `ClipboardText`, else from
/// copies of the captured curves, rescaled to the typed dose when their own was unknown.
class TFormiPlan : public TFormBrainLabPlan {
    Q_OBJECT
public:
    TFormiPlan(Workspace& ws, QWidget* owner = nullptr);

    /// `Edit5` holds the captured curves' reference dose and is read-only.
    bool DoseFromCapture = false;
    /// Which source OK reads: the table in `ClipboardText` (true) or the captured curves.
    bool FromClipboardTable = false;

    /// Sets the dose field: read-only with `text`, or empty and editable for "".
    void SetDoseField(const QString& text);

    /// The structures of the iPlan table in `ClipboardText` for a dose of `doseGy`.
    ReadResult BuildPlanDataset(float doseGy, std::vector<DVHDatasetClass>& out) const;

protected:
    ReadResult BuildStructures(float doseGy, std::vector<DVHDatasetClass>& out) override;
    bool FieldsAccepted() override;
    bool NeedsTypedDose() const override { return FromClipboardTable || !DoseFromCapture; }
    QString MessageCaption() const override { return "iPlan - DVH"; }
};
