// Which structure of a plan an index row stands for.
#pragma once

#include "dvh/Records.h"

#include <string_view>

/// The structure of `plan` that an index row named `rowName` refers to: every structure's
/// display name (`ModifiedName` when set, else `Name`) is compared, exactly when
/// `caseSensitive`, else with letter case ignored; the last match wins.
/// \return the structure index, -1 when none matches.
int FindIndexRowStructure(const PDatasetClass& plan, std::string_view rowName, bool caseSensitive);
