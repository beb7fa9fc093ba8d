// The plan dialogs of the BrainLAB clipboard import: identity, dose, normal tissue, plan list.
#pragma once

#include "dvh/ReadResult.h"
#include "dvh/Records.h"
#include "import/ui/TFormPlanFields.h"

#include <functional>
#include <string>
#include <vector>

class Workspace;

/// What `TFormBSCAN` and `TFormiPlan` share. Created once; the clipboard command fills and
/// shows it. OK checks the fields, parses the structures and only then appends the open-file
/// entry and the plan (file type 5 or 6), closes, and hands the new plan's index to
/// `OnPlanAdded`. Cancel and the close box take back the opening's `ImportPlanNumber`.
/// While shown the main window is disabled.
class TFormBrainLabPlan : public TFormPlanFields {
    Q_OBJECT
public:
    /// Receives the index of the plan that OK appended.
    std::function<void(int)> OnPlanAdded;

    /// Refills the lists and identity for one opening: `names` under "---" with
    /// `normalTissueItem` selected, the plan lists under "N/A" (selected), "temp" for an
    /// empty patient name or ID, plan name `kind`, plan ID "Plan_" + `ImportPlanNumber`.
    void Fill(const std::vector<std::string>& names, int normalTissueItem);

    void Button1Click() override;
    void Button2Click() override;

protected:
    TFormBrainLabPlan(Workspace& ws, QWidget* owner, const char* objectName, const char* kind, int fileType);

    /// The structures of the new plan, for a prescribed dose of `doseGy`.
    virtual ReadResult BuildStructures(float doseGy, std::vector<DVHDatasetClass>& out) = 0;
    /// OK's checks of the fields in this dialog's order; the first refusal is shown.
    virtual bool FieldsAccepted() = 0;
    /// Whether OK needs the dose field as a number above 0.
    virtual bool NeedsTypedDose() const { return true; }
    /// The caption of this dialog's message boxes.
    virtual QString MessageCaption() const = 0;

    void ShowError(const QString& caption, const QString& text);

    void FormShow() override;
    void FormClose() override;

    Workspace& m_ws;

private:
    const char* m_kind;
    int m_fileType;
    bool m_added = false;
};
