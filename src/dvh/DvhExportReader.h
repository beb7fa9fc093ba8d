// Reader of plan DVH exports with a "Plan" header line: one plan (code 2) and plan sum (code 3).
#pragma once

#include "dvh/DvhReading.h"

class LineCursor;

/// Reads the structures of a code 2 or 3 export into `out`. Doses become Gy (a block whose
/// prescribed-dose line names cGy is scaled by 0.01), volumes cc, relative values %.
/// On failure `out` is left empty and the result names the line. What the machine throws (no
/// memory) leaves `out` empty too, for the read's guard (`GuardedRead`) to make its failure.
ReadResult ParseDvhFile(std::string_view text, const DvhReadOptions& options, ParsedPlan& out);
/// The same over lines positioned at the start of the file.
ReadResult ParseDvhFile(LineCursor& lines, const DvhReadOptions& options, ParsedPlan& out);
