// The batch result's text exports: resampled DVH curves and the index table, for a spreadsheet.
#pragma once

#include "batch/BatchRecords.h"
#include "dvh/Records.h"
#include "platform/AtomicWrite.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The dose step typed in the result window: a positive decimal number. Empty, ".", "0.",
/// zero and anything that is not a number give nothing ("Step size is not specified.").
std::optional<double> ParseStepText(std::string_view text);
/// Decimals of the dose labels: those the step needs (its text without trailing zeros), at
/// least one: "0.5" and "2" give 1, "0.25" gives 2.
int StepDecimals(std::string_view text);
/// The most data lines a DVH export writes; a smaller step is refused ("Step size is too small.").
constexpr long kMaxDvhExportLines = 1000000;
/// Data lines of a DVH export: 10 steps beyond `endDose`; 0 when the step is not positive.
long DvhExportLineCount(double endDose, double step);

/// The cells "Structure" and "Index" of the result grid's row for each index row: the name
/// only where it changes from the row before, the label by the row's kind. Empty rows have two
/// empty cells.
struct ResultGridRow {
    std::string Structure;
    std::string Index;
};
std::vector<ResultGridRow> ResultGridRows(const PlanListNameClass& list);

/// A batch plan as the exports see it: its plan (null for a plan gone meanwhile) and, for the
/// DVH export, the structure of the chosen row (negative for none).
struct BatchExportPlan {
    const PDatasetClass* Plan = nullptr;
    int StructureIndex = kNoBatchStructure;
};

/// What the DVH export needs besides the plans.
struct DvhExportRequest {
    std::string StructureName;
    bool RelativeDose = false;  ///< dose in % of the prescribed dose, else Gy
    double Step = 0.5;
    int Decimals = 1;
    long Lines = 0;  ///< data lines, from `DvhExportLineCount`
};

/// The DVH export: the structure name, four lines of plan identity, the column titles, then
/// per dose step each plan's relative volume there with 2 decimals (0.00 beyond the curve's
/// end, as the calculator gives there; an empty cell for a plan without the structure).
/// Cells are TAB-terminated, lines end in CR LF, "." is the decimal separator.
std::string BatchDvhExportText(const DvhExportRequest& request, const std::vector<BatchExportPlan>& plans);

/// The index export: the grid's structure and index cells as two title lines, then one line
/// per plan with its identity and its value of every index row (2 decimals; empty where the
/// row has no values, the plan no structure, or the calculator no value).
std::string BatchIndexExportText(const PlanListNameClass& list, const std::vector<BatchExportPlan>& plans,
                                 const std::vector<BVClass>& bv);

/// Writes an export under the chosen path with its extension replaced by ".txt", through the
/// atomic write, whose failure names the file and the reason (a folder of that name is refused).
/// `writtenPath` gets the name used.
platform::WriteResult WriteBatchExport(const std::string& chosenPath, std::string_view text,
                                       std::string* writtenPath = nullptr);
