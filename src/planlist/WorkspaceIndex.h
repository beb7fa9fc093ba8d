// The index calculator over the workspace's plans: the entries that read the current plan, an
// explicit plan, and the structure an index row names.
#pragma once

#include "dvh/Workspace.h"

#include <string_view>

/// One index of structure `structureIndex` of the plan `ws.CurrentPlanIndex` (kinds 0-16;
/// `ciReference`/`ciValue` for kind 16 only). Unrounded; -1 for no value, 0 for a level the
/// curve never crosses. See CalcPlanIndex (planlist/IndexCalculator.h).
float CalcIndex(const Workspace& ws, int structureIndex, int kind, float value, int ciReference, float ciValue);
/// Volume/dose resampling of an explicit plan (kinds 0-3 of its own numbering), leaving
/// `CurrentPlanIndex` alone. See CalcDatasetIndex (planlist/IndexCalculator.h).
float CalcIndexForDataset(const Workspace& ws, int structureIndex, int kind, float value, int planIndex);
/// The structure of `plan` an index row named `rowName` stands for (last display-name match
/// under the live "Case sensitivity" of `ws`), -1 for none.
int IndexRowStructure(const Workspace& ws, const Workspace::PDatasetClass& plan, std::string_view rowName);
