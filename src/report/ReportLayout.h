// The single-plan report page: chart, index table, structure statistics, patient block, footer.
#pragma once

#include "report/PageOperations.h"

#include <array>
#include <string>
#include <vector>

/// One structure group of the index table: the rows taken for one structure, in grid order.
struct tempRepo {
    std::string StructureName;  ///< the list row's `Name`, the group key
    std::vector<std::string> IndexLabel;
    std::vector<std::string> IndexValue;  ///< as shown: two decimals or "Null"
    std::vector<TColor> ValueColor;       ///< 0 black: no broken constraint
    int ItemCount() const { return static_cast<int>(IndexLabel.size()); }
};

/// What the report page is made from. Pointers may be null: no plan gives a blank page, no
/// list an empty index table.
struct ReportPageInput {
    const PDatasetClass* Plan = nullptr;
    /// The chosen plan list; its rows name the structure group of each grid row.
    const PlanListNameClass* List = nullptr;
    /// The index grid as shown: row 0 the column titles, row i + 1 index row i (columns
    /// "Structure", "Index", "Value"; an empty value means the row has no value).
    const std::vector<std::vector<std::string>>* GridCells = nullptr;
    /// The value colour of each index row (0 black); rows beyond it are black.
    const std::vector<TColor>* RowColor = nullptr;
    /// The row choice. A row without a bit is printed as its list row's `IndexPrint` says; a
    /// structure without a bit is printed.
    const std::vector<bool>* PrintIndex = nullptr;
    const std::vector<bool>* PrintStructure = nullptr;
    std::array<std::string, 3> CommentLine;
    TColor CommentColor = 0;
    /// The About box's version caption, "Version 1.0.0".
    std::string Version;
    /// The page in device units: 840 x 1188 for the preview, the printable area on paper.
    double Width = 840;
    double Height = 1188;
    /// How the page's device sizes texts; without it the footer keeps its place whatever the
    /// comment.
    PageTextMeasure Measure;
};

/// The laid-out page and what did not fit on it.
struct ReportPageLayout {
    PageDrawing Page;
    /// Too many index rows (50 or more, or rows that would reach the patient block): the index
    /// table is left empty.
    bool TooManyIndexRows = false;
    /// Structures below the last line of the statistics table were left off.
    bool StructuresLeftOff = false;
    /// Bits of the row choice to clear, so the next drawing leaves those rows off at once.
    std::vector<int> ClearIndexBits;
    std::vector<int> ClearStructureBits;
    /// Number of index rows taken for the table.
    int TakenIndexRows = 0;
};

/// Lays out the report page of `input`. The chart is one `PageChart` (number 0) over
/// (0.02 W, 0.01 H)-(W, 0.45 H); all other positions are fractions of W and H truncated to
/// whole units, text by its top-left corner.
ReportPageLayout LayOutReportPage(const ReportPageInput& input);

/// Clears `bits` of `mask`, leaving alone bits the mask does not have.
void ClearMaskBits(std::vector<bool>& mask, const std::vector<int>& bits);

/// The message a page ends with: "" when none. Too many index rows come first.
struct ReportPageMessage {
    std::string Text;
    std::string Caption;
};
ReportPageMessage ReportMessage(const ReportPageLayout& layout);

/// The prescribed dose of the patient block: the first structure's dose in Gy with one
/// decimal, unrounded beforehand; "-" for a plan without structures.
std::string ReportPrescribedDose(const PDatasetClass& plan);

/// The column split of the index table: the last group of the left column for groups of
/// `itemCounts` rows (0 when there is one group or none).
int ReportSplitGroup(const std::vector<int>& itemCounts);
