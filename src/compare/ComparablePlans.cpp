// The comparable-plan test of the plan choice and "Add ALL".
#include "compare/ComparablePlans.h"

#include "dvh/DvhExportRecogniser.h"
#include "platform/Paths.h"

bool IsComparablePlan(const PDatasetClass& plan) {
    if (plan.FileType == FileTypeBrainScan || plan.FileType == FileTypeIPlan) return true;
    if (plan.FilePath.empty() || !platform::FileExists(plan.FilePath)) return false;
    const DvhHeader header = RecogniseDvhHeaderFile(plan.FilePath);
    // A file that now holds another plan (or nothing the program knows) is not that plan.
    return header.identified && header.fields.PatientID == plan.PatientID &&
           header.fields.Date == plan.Date && header.fields.Time == plan.Time;
}

std::vector<int> ComparablePlanIndices(const std::vector<PDatasetClass>& plans) {
    std::vector<int> result;
    for (std::size_t i = 0; i < plans.size(); ++i)
        if (IsComparablePlan(plans[i])) result.push_back(static_cast<int>(i));
    return result;
}

std::string ComparePlanItemText(const PDatasetClass& plan) {
    return plan.PlanID + " // " + plan.PatientID + " // " + plan.PatientName + " // " + plan.Time +
           " " + plan.Date;
}
