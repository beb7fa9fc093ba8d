// Registering a plan built from the clipboard, and adding clipboard structures to a plan.
#pragma once

#include "dvh/ReadResult.h"
#include "dvh/Records.h"

#include <string>
#include <string_view>
#include <vector>

class Workspace;

/// What the plan dialogs give for a new clipboard plan.
struct ClipboardPlanFields {
    std::string PatientName;
    std::string PatientID;
    std::string PlanName;
    std::string PlanID;
    int PlanListItem = 0;      ///< "Select Plan" row: 0 "N/A", k plan list k - 1
    int NormalTissueItem = 0;  ///< "Normal Tissue" item: 0 "---", k structure k - 1
};

/// The key text of a clipboard plan, the last part of its `FilePath`: `kind` ("BrainSCAN" or
/// "iPlan") + "-Plan_" + `number` + "_" + date + time, with every "/" and ":" removed.
std::string ClipboardPlanKeyText(const std::string& kind, int number, const std::string& date,
                                 const std::string& time);

/// Appends the open-file entry and the plan (file type 5 or 6) of a clipboard plan whose
/// `structures` were parsed already: `FilePath` = `ReadFolder` + "/" + the key text of
/// `ImportPlanNumber`, `Key` = patient ID + plan ID + date + " " + time. Structures get their
/// colour and visibility from the chosen plan list. Returns the new plan's index.
int AppendClipboardPlan(Workspace& ws, int fileType, const ClipboardPlanFields& fields, const std::string& date,
                        const std::string& time, std::vector<DVHDatasetClass>&& structures);

/// Whether a BrainSCAN table may be added to the current plan, and how adding ended.
enum class AddStructuresOutcome {
    Added,
    NotApplicable,  ///< no current plan, not a BrainSCAN plan, or no text: nothing happens
    NotATable,      ///< no BrainSCAN table: `ClipboardText` is emptied, nothing happens
    Duplicate,      ///< a name equals an existing structure's exactly
    NoStructures,   ///< the plan has no structure to take the prescribed dose from
    Failed,         ///< the table does not parse (`Read` says why); the plan is unchanged
};

struct AddStructuresResult {
    AddStructuresOutcome Outcome = AddStructuresOutcome::NotApplicable;
    ReadResult Read;
};

/// Checks `text` against the current plan of `ws` and keeps it in `ClipboardText`:
/// `Added` here means the table may be added (by `AppendClipboardStructures`).
AddStructuresResult CheckClipboardStructures(Workspace& ws, std::string text);

/// Appends the structures of the BrainSCAN table in `ClipboardText` to the current plan, all
/// or nothing, with the prescribed dose of its first structure. A new structure named "Body"
/// (any case) becomes the plan's `BodyIndex`, the last such one winning.
AddStructuresResult AppendClipboardStructures(Workspace& ws);
