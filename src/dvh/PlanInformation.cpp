// Filling and applying the plan information dialog's content.
#include "dvh/PlanInformation.h"

#include <algorithm>

std::vector<std::string> DistinctNames(const std::vector<std::string>& texts) {
    std::vector<std::string> names;
    for (const std::string& t : texts)
        if (!t.empty() && std::find(names.begin(), names.end(), t) == names.end())
            names.push_back(t);
    return names;
}

PlanInformation PlanInformationOf(const PDatasetClass& plan) {
    PlanInformation info;
    info.PatientName = plan.PatientName;
    info.PatientID = plan.PatientID;
    info.PlanName = plan.PlanName;
    info.PlanID = plan.PlanID;
    for (const DVHDatasetClass& s : plan.DVHDataset) info.ModifiedNames.push_back(s.ModifiedName);
    return info;
}

bool ApplyPlanInformation(std::vector<PDatasetClass>& plans, int planIndex,
                          const std::string& key, const PlanInformation& info) {
    if (planIndex < 0 || planIndex >= static_cast<int>(plans.size())) return false;
    PDatasetClass& plan = plans[planIndex];
    if (plan.Key != key) return false;
    const std::size_t n = std::min(info.ModifiedNames.size(), plan.DVHDataset.size());
    for (std::size_t i = 0; i < n; ++i) plan.DVHDataset[i].ModifiedName = info.ModifiedNames[i];
    plan.PatientName = info.PatientName;
    plan.PatientID = info.PatientID;
    plan.PlanName = info.PlanName;
    plan.PlanID = info.PlanID;
    return true;
}
