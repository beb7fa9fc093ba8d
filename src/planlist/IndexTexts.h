// Texts of the index machinery: index labels, value texts and the names of kinds and references.
#pragma once

#include "dvh/NumberText.h"

#include <string>

/// An index value as the grid shows it: rounded to 2 decimals, always two decimals
/// ("12.00"); exactly -1 (no value) shows "Null".
std::string IndexValueText(float v);

/// How a label names the conformity index: the index grid names its reference
/// ("CI [Max dose]"), the comparison table and the batch results say "Conformity Index" for
/// every reference.
enum class IndexLabelStyle { Grid, Comparison };

/// The label of an index row ("D95% [%]", "V20Gy [cc]", "CI [Dose 25 Gy]"...). The
/// parameters are rounded to 2 decimals and written in the shortest form. "" for a kind
/// outside 0-16, and in the grid style for a conformity reference outside 0-7 (a cleared row).
std::string IndexLabel(int items, float value, int itemsCI, float valueCI,
                       IndexLabelStyle style = IndexLabelStyle::Grid);

/// The quick-index panel's text of kind 0-16 ("D**%  ---  [%]"...), "" outside.
std::string QuickIndexKindText(int kind);

/// The index editor's name of conformity reference 0-7 ("min dose"...), "" outside.
std::string ConformityReferenceName(int reference);
