// The BrainSCAN and iPlan DVH table file (codes 5 and 6): reading it into a plan and writing one.
#pragma once

#include "dvh/DvhReading.h"
#include "dvh/Records.h"

#include <string>
#include <string_view>

class LineCursor;

/// Reads a BrainSCAN/iPlan table: seven header lines (line 7 from its 24th character: the
/// prescribed dose in cGy, above 0), an empty line, the names line (a TAB before each name),
/// the volumes line (cc), then rows "label TAB volume % ..." whose label is the dose in % of
/// the prescribed dose, up to "EOF", a repeated label, an empty label or the end of the text.
/// Numbers are read with "." or ",". Every structure gets the prescribed dose D in Gy, points
/// with `DoseGy` = label x D x 0.01 and `VolumeCc` = % x volume x 0.01, and its statistics
/// (minimum -99 when the curve never falls below 100 %). `BodyIndex` is the last structure
/// named "Body" or "Expanded" without regard to case. Colours are left to the commit.
/// Refused, with the line: a file that ends before its first row, a row or volumes line
/// with fewer fields than there are structures, a field that is not a number, and a value
/// out of the import range (`importrange`: a negative dose or volume, a prescribed dose
/// outside 1 mGy to 10 kGy, statistics beyond a float, on the names line).
/// On failure `out` is left empty.
ReadResult ParseBrainLabTable(std::string_view text, ParsedPlan& out);
/// The same over lines positioned at the start of the file.
ReadResult ParseBrainLabTable(LineCursor& lines, ParsedPlan& out);

/// The text of a table file for `plan` (code 5 or 6 chooses the kind), CR LF line ends, "."
/// decimals, "EOF" last without a line end. The dose of line 7 is the first structure's (0
/// without structures). A plan whose every point i lies at i % is written point by point;
/// any other plan is resampled to 1 % rows by linear interpolation of each curve (above its
/// last dose a curve gives 0 %, below its first dose its first volume). The date is cut or
/// padded with blanks to ten characters so that the time stays where readers look for it.
std::string BrainLabTableText(const PDatasetClass& plan);

/// Whether every structure's point i lies at i % of the prescribed dose (within the three
/// decimals a table holds), so that the table rows can take the points by position.
bool PointsOnPercentGrid(const PDatasetClass& plan);
