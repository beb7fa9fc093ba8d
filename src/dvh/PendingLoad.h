// A plan load that waits for the user's answer in a dialog, bound to the plan it fills.
#pragma once

#include "dvh/ModFile.h"
#include "dvh/Records.h"
#include "platform/OpenedFile.h"

#include <memory>
#include <optional>

#include <string>
#include <vector>

/// Plan sums (codes 3 and 13) carry no prescribed dose of their own: the user gives it.
inline bool IsPlanSumType(int fileType) {
    return fileType == FileTypePlanSum || fileType == FileTypePlanSumDescription;
}

/// What the opener does next with a plan it is loading.
enum class LoadStep {
    Nothing,         ///< nothing to do (no row, no entry, a plan that is not read again)
    ShowExisting,    ///< the plan is loaded already: show and draw `PlanIndex`
    ChoosePlanList,  ///< no plan list matched: the plan-list choice dialog continues
    AskDose,         ///< a plan sum: the input box asks the prescribed dose, then reads
    Read,            ///< read the waiting file into `PlanIndex` now
    Refused,         ///< a multi-plan export: "Plan Comparison DVH File cannot read this program."
};

/// The next step of a load and the plan it concerns (-1 for none).
struct LoadOrder {
    LoadStep Step = LoadStep::Nothing;
    int PlanIndex = -1;
};

/// A load handed to a dialog. The continuation (plan-list choice, dose prompt, Cancel, the
/// name-override file) acts on `PlanIndex` only while that plan still carries `Key`, so it can
/// never fill, rename or remove whatever plan happens to be last.
struct PendingLoad {
    bool Active = false;
    /// Index into `OpenFile` of the file waiting to be read.
    int OpenFileIndex = -1;
    /// The plan the read fills.
    int PlanIndex = -1;
    /// The plan was appended for this load: Cancel removes it. A reload of a loaded plan
    /// leaves this false, so Cancel never removes a plan the user already had.
    bool Appended = false;
    /// The plan's key when the load began: the check that `PlanIndex` is still this plan.
    std::string Key;
    /// The file's path and type code, taken from the entry when the load began.
    std::string FilePath;
    int FileType = 0;
    /// The plan list chosen for the plan (-1 none); given to the plan when it is read.
    int PlanListIndex = -1;
    /// The prescribed dose of a plan sum in Gy, valid only when `ModDoseKnown` (from the
    /// name-override file) or once the user entered it for this load.
    bool DoseKnown = false;
    bool ModDoseKnown = false;
    float PrescribedDose = 0;
    /// A name-override file to apply after reading (saved-DVH store). An XiO export's goes to
    /// the XiO dialog instead, which applies the structure names while it reads, and whose dose
    /// field shows its dose (cGy).
    bool UseModFile = false;
    std::string ModFilePath;
    /// What that file held when it was taken with the export: it is never read again, since by
    /// then it may be another save's.
    std::optional<ModFileContent> Companion;
    /// What the load took of the companion beside the export, whether applied or not: the
    /// plan keeps it (an export read alone took none).
    CompanionVersion CompanionRead;
    /// The export, held open from the start of the load: every pass of its read takes this
    /// file, the one its companion was taken with, whatever a save puts at its name meanwhile.
    std::shared_ptr<const platform::OpenedFile> Export;
};

/// An XiO export between its names pass and the XiO dialog's answer, bound to the plan it
/// fills: OK, Cancel and a failure act on `PlanIndex` only while that plan still has `Key`.
struct XiOLoadRequest {
    bool Active = false;
    int PlanIndex = -1;
    std::string Key;
    /// The plan was appended for this load: Cancel or a failed read removes it again.
    bool Appended = false;
    std::string FilePath;
    /// The structure names of the file, in block order.
    std::vector<std::string> Names;
    /// A ".mod" companion from the saved-DVH store: its aliases are applied after reading,
    /// and its dose line (cGy, as written) fills the dialog's dose field.
    bool UseModFile = false;
    std::string ModFilePath;
    std::optional<ModFileContent> Companion;
    /// What the load took of that companion, for the plan to keep.
    CompanionVersion CompanionRead;
    /// The companion's dose line as written (cGy), for the dialog's dose field; "" without one.
    std::string ModDoseText() const { return Companion ? Companion->PrescribedDoseText() : std::string(); }
    /// The export the names were read from, read again for the curves.
    std::shared_ptr<const platform::OpenedFile> Export;
};

/// What the XiO dialog hands back on OK.
struct XiODialogAnswer {
    std::string PatientName;
    std::string PatientID;
    std::string PlanName;
    std::string PlanID;
    /// Gy, above 0 (the dialog refuses anything else).
    float DoseGy = 0;
    /// Item of "Select Plan": 0 "N/A", k the plan list k - 1.
    int PlanListItem = 0;
    /// Item of "Normal Tissue": 0 "---", k the file's structure k - 1.
    int NormalTissueItem = 0;
};
