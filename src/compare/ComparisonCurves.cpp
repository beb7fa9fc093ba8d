// Series of the comparison charts and the cycle of report layouts.
#include "compare/ComparisonCurves.h"

#include <algorithm>

int FindStructureByName(const PDatasetClass& plan, const std::string& name) {
    for (int j = plan.DVHDatasetCount() - 1; j >= 0; --j)
        if (plan.DVHDataset[static_cast<std::size_t>(j)].Name == name) return j;
    return -1;
}

std::vector<ComparisonSeries> ComparisonCurves(const ComparedPlans& compared,
                                               const std::vector<PDatasetClass>& plans,
                                               const std::string& name, bool dosePercent,
                                               int maxPositions) {
    std::vector<ComparisonSeries> series;
    const int n = maxPositions < 0 ? compared.Count() : std::min(compared.Count(), maxPositions);
    for (int i = 0; i < n; ++i) {
        ComparisonSeries one;
        one.Color = compared.PositionColor(i);
        if (const PDatasetClass* plan = compared.Plan(i, plans)) {
            one.Title = plan->PlanID;
            if (const int s = FindStructureByName(*plan, name); s >= 0) {
                const DVHDatasetClass& structure = plan->DVHDataset[static_cast<std::size_t>(s)];
                one.Points.reserve(structure.DVset.size());
                for (const DVsetClass& p : structure.DVset)
                    one.Points.push_back({dosePercent ? p.DosePercent : p.DoseGy, p.VolumePercent});
            }
        }
        series.push_back(std::move(one));
    }
    return series;
}

int NextReportStyle(int style) { return style >= 1 && style < 5 ? style + 1 : 1; }

bool ReportStyleUsesChart(int style, int chart) {
    switch (style) {
    case 1: return chart >= 0 && chart <= 3;
    case 2:
    case 3: return chart == 0 || chart == 1;
    case 4: return chart == 0;
    default: return false;
    }
}
