// The index editor's rules: what its fields show for a row, and how OK writes them back.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <string_view>

enum class ConstraintChoice { None, Upper, Lower };

/// The index editor's fields as plain values: texts as typed, item indexes of the choices.
struct IndexEdit {
    std::string Structure;        // structure name, as typed (not trimmed)
    int Kind = -1;                // index kind 0-16, -1 none chosen
    std::string ValueText;        // parameter of kinds 0-7; "" leaves the value as it was
    int CIReference = -1;         // conformity-index reference 0-7 (kind 16), -1 none
    std::string ValueCIText;      // parameter of references 4-7
    ConstraintChoice Constraint = ConstraintChoice::None;
    std::string ConstraintText;   // absolute value of the limit; "" leaves it as it was
    bool ConstraintView = false;  // draw the constraint on the chart
    TColor FontColor = 0;         // font colour of a broken constraint
    bool Print = true;            // row printed in the report
};

enum class IndexEditStatus { Ok, NoRow, BadValue, BadValueCI, BadConstraint };

/// `value` rounded half away from zero to 2 decimals, in its shortest form: 12.3, 95, -0.5.
std::string FormatRounded2(double value, char decimalSeparator = '.');

/// What the editor shows for `row`: the value and colour only for a named row (an empty row
/// opens with an empty value and black), numbers rounded to 2 decimals.
IndexEdit IndexEditFromRow(const IndexDataClass& row, char decimalSeparator = '.');

/// Writes the editor's fields into row `indexRow` of `list`. Every number is checked first: a
/// field that is no number changes nothing at all and is named in the result. Otherwise the row
/// takes the fields (numbers rounded to 2 decimals; an empty value or limit field keeps the old
/// number), the list is marked modified, and when `headsGroup` (the row starts its structure
/// group in the grid) the following rows of the old name up to the first other name take the
/// new name. A locked list or a row outside it gives NoRow.
IndexEditStatus ApplyIndexEdit(PlanListNameClass& list, int indexRow, const IndexEdit& edit,
                               bool headsGroup, char decimalSeparator = '.');
