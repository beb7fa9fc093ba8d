// XiO DVH exports (code 7): the structure names of the first pass and the histogram reader.
#pragma once

#include "dvh/DvhReading.h"

#include <string>
#include <string_view>
#include <vector>

class LineCursor;

/// True when `line` begins a block: its first 25 characters are "XiO Dose Volume Histogram".
bool IsXiOBlockStart(std::string_view line);

/// The first pass: the name (block line 4, whole) of every block, in file order. A block is
/// line 1 the title, 2-3 patient and plan, 4 the name, 5 unused, 6 the row count before its
/// first TAB, 7-8 date and unused, then the rows; a line after the rows that is no title ends
/// the blocks. Refused: no block at all, a file that ends inside a block, a count that is no
/// whole number of 0 or more.
ReadResult ParseXiONames(LineCursor& lines, std::vector<std::string>& names);
ReadResult ParseXiONames(std::string_view text, std::vector<std::string>& names);

/// The combo item to preselect as normal tissue: 0 for "---", else 1 + the index of the last
/// name equal to "Body" or "Expanded" without regard to case.
int XiONormalTissueItem(const std::vector<std::string>& names);

/// Reads every block into `out` with the prescribed dose `doseGy`. A row is
/// "dose in cGy, volume of its dose bin in cc", blanks anywhere ignored. Point j of a structure
/// has `DoseGy` = its dose x 0.01, `DosePercent` = its dose / D, and holds its own bin and all
/// later ones: `VolumeCc` = that sum, `VolumePercent` = it in % of the structure's total
/// (`Volume`), both rounded to three decimals; a structure without volume is 0 %, never NaN.
/// Statistics follow (minimum: the last point still at 100 %). `progress` steps once per block.
/// Refused as `ParseXiONames`, for a row that is no "number,number", and for a value out of
/// the import range (`importrange`: a negative dose or bin, a prescribed dose outside 1 mGy to
/// 10 kGy, statistics beyond a float, on the block's name line); `out` then stays empty.
ReadResult ParseXiODvh(LineCursor& lines, float doseGy, ReadProgress* progress, ParsedPlan& out);
ReadResult ParseXiODvh(std::string_view text, float doseGy, ParsedPlan& out);
