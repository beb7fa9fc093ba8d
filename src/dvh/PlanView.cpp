// Rules of the plan view, free of any window so that tests reach them.
#include "dvh/PlanView.h"

#include "dvh/NumberText.h"
#include "dvh/RoundToDigits.h"
#include "dvh/Workspace.h"

std::string CurveTitle(std::string_view displayName) {
    const std::size_t bracket = displayName.find('[');
    if (bracket == std::string_view::npos || bracket == 0) return std::string(displayName);
    return std::string(displayName.substr(0, bracket));
}

std::string PrescribedDoseText(const PDatasetClass& plan) {
    // A plan without structures has no dose to show; reading structure 0 would be out of range.
    if (plan.DVHDataset.empty()) return "";
    const double dose = RoundToDigits(plan.DVHDataset.front().PrescribedDose, 2);
    return FormatGeneral(dose) + " [Gy]";
}

void CurvePoints(const DVHDatasetClass& structure, bool dosePercent, bool volumePercent,
                 std::vector<double>& x, std::vector<double>& y) {
    x.resize(structure.DVset.size());
    y.resize(structure.DVset.size());
    for (std::size_t j = 0; j < structure.DVset.size(); ++j) {
        x[j] = CurveX(structure.DVset[j], dosePercent);
        y[j] = CurveY(structure.DVset[j], volumePercent);
    }
}

PixelSize ChartExportSize(PixelSize chart) {
    PixelSize out;
    out.width = static_cast<int>(1.5 * chart.height);
    out.height = static_cast<int>(1.5 * out.width);
    return out;
}

const PlanListNameClass* PlanListOfPlan(const Workspace& workspace, int planIndex) {
    if (planIndex < 0 || planIndex >= workspace.PDatasetCount()) return nullptr;
    const int list = workspace.PDataset[planIndex].PlanListIndex;
    if (list < 0 || list >= workspace.PlanListNameCount()) return nullptr;
    return &workspace.PlanListName[list];
}
