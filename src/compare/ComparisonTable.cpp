// Building the index comparison table, its clipboard text and its row value chart.
#include "compare/ComparisonTable.h"

#include "dvh/NumberText.h"
#include "dvh/RoundToDigits.h"
#include "planlist/IndexCalculator.h"
#include "planlist/IndexGridModel.h"
#include "planlist/IndexRowLookup.h"
#include "planlist/IndexTexts.h"

#include <algorithm>

const std::string& ComparisonTable::Cell(int col, int row) const {
    static const std::string empty;
    if (row < 0 || row >= RowCount()) return empty;
    const auto& cells = Cells[static_cast<std::size_t>(row)];
    if (col < 0 || col >= static_cast<int>(cells.size())) return empty;
    return cells[static_cast<std::size_t>(col)];
}

ComparisonTable BuildComparisonTable(const PlanListNameClass* list,
                                     const std::vector<const PDatasetClass*>& plans,
                                     bool caseSensitive) {
    ComparisonTable table;
    const std::size_t n = list ? list->IndexData.size() : 0;
    const std::size_t columns = 2 + std::max<std::size_t>(plans.size(), 1);
    table.Cells.assign(n + 1, std::vector<std::string>(columns));
    table.Value.assign(n, std::vector<std::optional<double>>(plans.size()));
    table.RowColor.assign(plans.size(), std::vector<TColor>(n, 0));
    table.Cells[0][0] = "Structure";
    table.Cells[0][1] = "Index";
    for (std::size_t i = 0; i < plans.size(); ++i)
        if (plans[i]) table.Cells[0][2 + i] = plans[i]->PlanID;

    for (std::size_t r = 0; r < n; ++r) {
        const IndexDataClass& row = list->IndexData[r];
        if (row.Name.empty()) continue;  // an empty index row stays an empty table row
        auto& cells = table.Cells[r + 1];
        if (r == 0 || row.Name != list->IndexData[r - 1].Name) cells[0] = row.Name;
        cells[1] = IndexLabel(row.Items, row.Value, row.ItemsCI, row.ValueCI,
                              IndexLabelStyle::Comparison);
        for (std::size_t i = 0; i < plans.size(); ++i) {
            if (!plans[i]) continue;
            const PDatasetClass& plan = *plans[i];
            const int s = FindIndexRowStructure(plan, row.Name, caseSensitive);
            if (s < 0 || !(plan.DVHDataset[static_cast<std::size_t>(s)].Volume > 0)) continue;
            const float v = CalcPlanIndex(plan, s, row.Items, row.Value, row.ItemsCI, row.ValueCI);
            table.RowColor[i][r] = ConstraintColor(row, v);
            // No value: the cell stays empty even when a lower limit coloured it.
            if (v == -1.0f) continue;
            const double shown = RoundToDigits(v, 2);
            cells[2 + i] = FormatFixed(shown, 2);
            table.Value[r][i] = shown;
        }
    }
    return table;
}

std::string ComparisonClipboardText(const ComparisonTable& table) {
    std::string text;
    for (const auto& row : table.Cells) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) text += '\t';
            text += row[c];
        }
        text += '\n';
    }
    return text;
}

RowValueChart BuildRowValueChart(const ComparisonTable& table, int tableRow) {
    RowValueChart chart;
    chart.BottomMax = table.ColumnCount() - 1.5;
    double smallest = 10000000, largest = 0;
    if (tableRow >= 1 && tableRow <= static_cast<int>(table.Value.size())) {
        const auto& values = table.Value[static_cast<std::size_t>(tableRow - 1)];
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!values[i]) continue;
            chart.Points.push_back({static_cast<double>(i + 1), *values[i]});
            smallest = std::min(smallest, *values[i]);
            largest = std::max(largest, *values[i]);
        }
    }
    if (smallest > 1000000) smallest = 0;
    if (largest < 1.0) largest = 1.0;
    chart.LeftMin = std::max(0.0, 0.95 * smallest);
    chart.LeftMax = 1.05 * largest;
    return chart;
}
