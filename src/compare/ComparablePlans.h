// Which loaded plans may be compared: their file still holds them, or they have no file.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <vector>

/// A plan is comparable when its file exists and its header (read silently, the main
/// window's header texts untouched) gives the plan's patient ID, date and time exactly; a
/// BrainSCAN or iPlan plan (types 5, 6) always is, whatever its path.
bool IsComparablePlan(const PDatasetClass& plan);
/// The comparable plans of `plans`, as indices in their order.
std::vector<int> ComparablePlanIndices(const std::vector<PDatasetClass>& plans);
/// The plan choice's item: plan ID // patient ID // patient name // time + " " + date.
std::string ComparePlanItemText(const PDatasetClass& plan);
