// Plan identity and structure aliases as edited in the plan information dialog.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <vector>

/// What the plan information dialog writes back into a plan.
struct PlanInformation {
    std::string PatientName;
    std::string PatientID;
    std::string PlanName;
    std::string PlanID;
    /// One alias per structure, in structure order ("" for none).
    std::vector<std::string> ModifiedNames;
};

/// The non-empty texts of `texts`, each once (exact comparison), in order of first appearance.
std::vector<std::string> DistinctNames(const std::vector<std::string>& texts);

/// The dialog's content for plan `plan`.
PlanInformation PlanInformationOf(const PDatasetClass& plan);

/// Writes `info` into plan `planIndex`, but only while that plan still carries `key` (the plan
/// the dialog was filled from): identity fields, and aliases for the structures the plan has,
/// never beyond them. Returns false, writing nothing, when the plan is gone or another one.
bool ApplyPlanInformation(std::vector<PDatasetClass>& plans, int planIndex,
                          const std::string& key, const PlanInformation& info);
