// The report's row choice: which index rows and structures the single-plan report prints.
#include "report/ReportRowChoice.h"

bool ReportIndexRowPrinted(const std::vector<bool>& mask, const PlanListNameClass* list, std::size_t row) {
    if (!list || row >= list->IndexData.size()) return false;
    return row < mask.size() ? mask[row] : list->IndexData[row].IndexPrint;
}

bool ReportStructurePrinted(const std::vector<bool>& mask, std::size_t structure) {
    return structure >= mask.size() || mask[structure];
}

ReportRowChoice PrepareReportRows(const PlanListNameClass& list,
                                  const std::vector<std::vector<std::string>>& gridCells,
                                  const PDatasetClass& plan) {
    ReportRowChoice choice;
    for (std::size_t i = 0; i < list.IndexData.size(); ++i) {
        const IndexDataClass& row = list.IndexData[i];
        const std::size_t gridRow = i + 1;
        const std::string label =
            gridRow < gridCells.size() && gridCells[gridRow].size() > 1 ? gridCells[gridRow][1] : std::string();
        choice.IndexItems.push_back(row.Name.empty() ? "     NULL" : row.Name + " / " + label);
        choice.PrintIndex.push_back(row.IndexPrint);
    }
    for (const DVHDatasetClass& s : plan.DVHDataset) {
        choice.StructureItems.push_back(s.Name);
        choice.PrintStructure.push_back(true);
    }
    return choice;
}
