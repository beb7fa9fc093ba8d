// Reader of plan DVH exports with a "Description" header: one plan (code 12), plan sum (code 13).
#pragma once

#include "dvh/DvhReading.h"

class LineCursor;

/// Reads the structures of a code 12 or 13 export into `out`: "Label: value" statistics found
/// by searching, tables in fixed columns. Doses become Gy, volumes cc, relative values %.
/// Code 12 takes its prescribed dose and unit from the file's "Prescribed dose" line; code 13
/// takes the dose from `options.PlanSumDoseGy` and each block's unit from its own table header.
/// On failure `out` is left empty and the result names the line. What the machine throws (no
/// memory) leaves `out` empty too, for the read's guard (`GuardedRead`) to make its failure.
ReadResult ParseDvhTextBlocks(std::string_view text, const DvhReadOptions& options, ParsedPlan& out);
/// The same over lines positioned at the start of the file.
ReadResult ParseDvhTextBlocks(LineCursor& lines, const DvhReadOptions& options, ParsedPlan& out);
