// Structures from BrainSCAN and iPlan clipboard tables and from single iPlan curves.
#pragma once

#include "dvh/ReadResult.h"
#include "dvh/Records.h"

#include <string_view>
#include <vector>

/// Which statistics a BrainSCAN table's structures get: a new plan's, or those of structures
/// added to a plan that exists (their minimum dose is found another way).
enum class BrainScanUse { NewPlan, AddedStructures };

/// Parses a BrainSCAN table (line ends CR LF or LF) into `out`, one structure per column,
/// each with `prescribedGy`, a dose-0 point and one point per data row (dose in % of
/// `prescribedGy`), and its statistics. A table is differential unless some structure's data
/// rows sum above 103 %; a differential table becomes cumulative, starting at 100 %, never
/// below 0 %. Every row must hold a number for every structure; a last row without a line end
/// is read. Colours and visibility are left to the caller. A structure whose statistics come out
/// beyond a float is refused on line 1 (`BadNumber`), as in every import. On failure `out` is left empty.
ReadResult ParseBrainScanTable(std::string_view text, float prescribedGy, BrainScanUse use,
                               std::vector<DVHDatasetClass>& out);

/// Parses an iPlan table with every structure a column: volumes (cc) from line 2's cells
/// after their unit, doses in "[%]" of `prescribedGy` or in "[Gy]", volumes in %. Cumulative
/// unless every structure's points but the last sum to 103 % or less. On failure `out` is left empty.
ReadResult ParseIPlanTable(std::string_view text, float prescribedGy, std::vector<DVHDatasetClass>& out);

/// Parses one copied iPlan curve into `out`: its name (line 1 after "Dose" and one separator,
/// without a trailing TAB), its reference dose R (line 2's first cell after "[%]"; 100 for
/// "[Gy]" curves, whose % and Gy values are equal and whose reference is unknown), its volume
/// (line 2's second cell after its four-character unit, "[%] 25.500" or "[cc] 25.5") and one
/// point per row "dose TAB volume TAB". A minimum dose that never falls below 100 % is -99 in
/// % and Gy alike. `BadRow` for a row without its second TAB; `BadNumber` for a number that
/// does not convert, or statistics beyond a float (line 1); `BadPrescribedDose` for R not above 0.
ReadResult ParseIPlanCurve(std::string_view text, DVHDatasetClass& out);

/// The name a copied curve carries in line 1 ("" when line 1 is shorter).
std::string IPlanCurveName(std::string_view text);
