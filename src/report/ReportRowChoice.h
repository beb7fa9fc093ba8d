// The report's row choice: which index rows and structures the single-plan report prints.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <vector>

/// Whether index row `row` of `list` is printed by `mask`: its bit when the mask has one,
/// else the row's own `IndexPrint` (a mask made for another list or an older grid); false for
/// a row the list does not have.
bool ReportIndexRowPrinted(const std::vector<bool>& mask, const PlanListNameClass* list, std::size_t row);

/// Whether structure `structure` is printed by `mask`: its bit, or true when the mask has none.
bool ReportStructurePrinted(const std::vector<bool>& mask, std::size_t structure);

/// The row choice a report command starts from, with the texts of the row-choice lists.
struct ReportRowChoice {
    std::vector<bool> PrintIndex;      ///< one bit per index row of the list, its `IndexPrint`
    std::vector<bool> PrintStructure;  ///< one bit per structure of the plan, all set
    std::vector<std::string> IndexItems;      ///< `Name` + " / " + the grid's index label, or "     NULL"
    std::vector<std::string> StructureItems;  ///< each structure's `Name`
};

/// Prepares the row choice for `list` and `plan` from the grid just refilled for them
/// (`gridCells` row i + 1 shows index row i; a missing cell reads as "").
ReportRowChoice PrepareReportRows(const PlanListNameClass& list,
                                  const std::vector<std::vector<std::string>>& gridCells,
                                  const PDatasetClass& plan);
