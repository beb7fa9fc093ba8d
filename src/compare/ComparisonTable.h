// The index comparison table as plain data: every index row of a plan list for every compared plan.
#pragma once

#include "dvh/Records.h"

#include <optional>
#include <string>
#include <vector>

/// Row 0 holds the titles ("Structure", "Index", then each plan's ID); row r + 1 shows index
/// row r of the list. Column 0 the structure (on the first row of a run of one name), column 1
/// the label, column 2 + i the value of position i.
struct ComparisonTable {
    std::vector<std::vector<std::string>> Cells;
    /// Value[r][i]: the number shown in index row r for position i (rounded to 2 decimals),
    /// none where the cell is empty.
    std::vector<std::vector<std::optional<double>>> Value;
    /// RowColor[i][r]: the constraint font colour of position i's value in index row r, 0 none.
    std::vector<std::vector<TColor>> RowColor;

    int RowCount() const { return static_cast<int>(Cells.size()); }
    /// 2 + plans, and 3 without a plan (the table keeps one empty value column).
    int ColumnCount() const { return Cells.empty() ? 0 : static_cast<int>(Cells[0].size()); }
    /// The text of cell (`col`, `row`), "" outside the table.
    const std::string& Cell(int col, int row) const;
};

/// Builds the table of `list` for `plans` (a position whose plan is gone, nullptr, gets empty
/// cells). Without a list only the title row is built. Each value comes from the index
/// calculator on its plan; the structure is found by display name under `caseSensitive` (the
/// last match wins). Structures of volume 0 or less and results of -1 give empty cells; a
/// value beyond its constraint (strictly) takes the constraint's font colour.
ComparisonTable BuildComparisonTable(const PlanListNameClass* list,
                                     const std::vector<const PDatasetClass*>& plans,
                                     bool caseSensitive);

/// The table as text for other programs: every row from the titles on, cells joined by TAB,
/// each row ended by LF alone.
std::string ComparisonClipboardText(const ComparisonTable& table);

/// A point of a chart series.
struct ChartPoint {
    double x = 0;
    double y = 0;
};

/// The value chart of one table row: a point (plan number, value) per non-empty cell, and
/// the fixed axis ranges around them.
struct RowValueChart {
    std::vector<ChartPoint> Points;
    double BottomMin = 0.5, BottomMax = 1.5;
    double LeftMin = 0, LeftMax = 1.05;
};
/// The value chart of table row `tableRow` (1 = index row 0). The bottom axis runs half a plan
/// beyond the first and last plan; the left from 0.95 x the smallest value (never below 0) to
/// 1.05 x the largest (at least 1.05).
RowValueChart BuildRowValueChart(const ComparisonTable& table, int tableRow);
