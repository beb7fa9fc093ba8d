// The content of the index grid (texts and constraint colours), built from a list and a plan.
#pragma once

#include "dvh/Records.h"

#include <array>
#include <string>
#include <vector>

/// The grid as plain data: row 0 holds the column titles, row i + 1 shows index row i.
struct IndexGridContent {
    using Row = std::array<std::string, 3>;  // "Structure", "Index", "Value"
    std::vector<Row> Cells;
    /// Font colour of each index row's value (0 = within its constraint or none).
    std::vector<TColor> RowColor;

    int RowCount() const { return static_cast<int>(Cells.size()); }
};

/// The grid's column titles.
inline const IndexGridContent::Row& IndexGridHeader() {
    static const IndexGridContent::Row header = {"Structure", "Index", "Value"};
    return header;
}

/// Whether value `v` breaks the row's constraint (tested only when `ConstraintsON`): above an
/// upper limit (`Constraints` > 0) or below the absolute value of a lower one (< 0). A value
/// of -1 (none) is below every positive lower limit.
bool BreaksConstraint(const IndexDataClass& row, float v);

/// The row's constraint font colour when `v` breaks its constraint, else 0.
TColor ConstraintColor(const IndexDataClass& row, float v);

/// Builds the grid of `list` for `plan` (nullptr: no current plan, so no values). Each row's
/// structure is found with the index-row rule under `caseSensitive`; a structure missing or
/// with fewer than two points leaves the value empty; otherwise the value is the calculator's,
/// with 2 decimals or "Null". The structure name shows on the first row of a group only.
IndexGridContent BuildIndexGrid(const PlanListNameClass& list, const PDatasetClass* plan,
                                bool caseSensitive);

/// The grid as tab-separated text for other programs: the plan's patient name, patient ID
/// and plan ID, an empty line, then every row of `cells` (header included) as its cell texts
/// joined by TAB. Every line ends with LF alone.
std::string IndexGridClipboardText(const PDatasetClass& plan,
                                   const std::vector<std::vector<std::string>>& cells);
/// The same text from built content.
std::string IndexGridClipboardText(const PDatasetClass& plan, const IndexGridContent& grid);
