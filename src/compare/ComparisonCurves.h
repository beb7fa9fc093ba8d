// The curves of the comparison charts: one series per compared position, points in file order.
#pragma once

#include "compare/ComparedPlans.h"
#include "compare/ComparisonTable.h"

#include <string>
#include <vector>

/// The last structure of `plan` whose `Name` equals `name` exactly (display names and the
/// case option play no part), -1 for none.
int FindStructureByName(const PDatasetClass& plan, const std::string& name);

/// One curve of a comparison chart.
struct ComparisonSeries {
    std::string Title;  // the plan's ID, as the legend shows it
    TColor Color = 0;
    std::vector<ChartPoint> Points;
};

/// The series of structure `name` on a comparison chart (charts A-D, the table's row curves):
/// one per position, the first `maxPositions` only when it is not negative, in the position's
/// colour, titled with the plan ID. x is the dose in % (`dosePercent`) or Gy, y the volume in %.
/// A plan without the structure (or gone) keeps its empty series, so series i is position i.
std::vector<ComparisonSeries> ComparisonCurves(const ComparedPlans& compared,
                                               const std::vector<PDatasetClass>& plans,
                                               const std::string& name, bool dosePercent,
                                               int maxPositions = -1);

/// The comparison report's layouts 1-5: the next one, from 5 back to 1.
int NextReportStyle(int style);
/// Whether layout `style` prints chart `chart` (0 = A ... 3 = D): 1 all four, 2 and 3 A and
/// B, 4 A, 5 none.
bool ReportStyleUsesChart(int style, int chart);
