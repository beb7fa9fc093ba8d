// The comparison report page as drawing operations: charts, index table, patients, legend, footer.
#pragma once

#include "compare/ComparisonTable.h"
#include "report/PageOperations.h"

#include <array>
#include <string>
#include <vector>

/// At most this many compared plans are on the page (table columns, legend, chart curves).
inline constexpr int kPagePlans = 5;

/// What the page shows.
struct ComparisonPageInput {
    int ReportStyle = 1;
    /// The plan list of the table (the structure names of its rows); nullptr draws no rows.
    const PlanListNameClass* List = nullptr;
    /// The index table as last built (row 0 the titles, colours per position).
    const ComparisonTable* Table = nullptr;
    /// The compared plans in position order (nullptr where one has gone).
    std::vector<const PDatasetClass*> Plans;
    /// The colour of each position.
    std::vector<TColor> PositionColor;
    /// The shown structure of charts A-D (their captions).
    std::array<std::string, 4> ChartStructure;
    /// The program's version text ("Version 1.0.0").
    std::string Version;
};

/// Lays the page out on `width` x `height` device units; every position is a fraction of the
/// page truncated toward zero. `rowChecks` holds the row choice, item i for index row i (a
/// missing item counts as unchecked); the items of a checked row that does not fit, and of
/// every row after it, are cleared.
PageDrawing LayoutComparisonPage(const ComparisonPageInput& input, double width, double height,
                                 std::vector<bool>& rowChecks);

/// The chart rectangle of chart `chart` (0 = A) in layout `style` as fractions left, top,
/// right, bottom; false when the layout does not print that chart.
bool ComparisonChartFractions(int style, int chart, std::array<double, 4>& fractions);
