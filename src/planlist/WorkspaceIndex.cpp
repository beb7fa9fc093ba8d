// Workspace's index-calculator members: thin entries over the free functions.
#include "dvh/Workspace.h"
#include "planlist/IndexCalculator.h"
#include "planlist/IndexRowLookup.h"

float Workspace::CalcIndex(int structureIndex, int kind, float value, int ciReference,
                           float ciValue) const {
    if (CurrentPlanIndex < 0 || CurrentPlanIndex >= PDatasetCount()) return -1.0f;
    return CalcPlanIndex(PDataset[CurrentPlanIndex], structureIndex, kind, value, ciReference,
                         ciValue);
}

float Workspace::CalcIndexForDataset(int structureIndex, int kind, float value, int planIndex) const {
    if (planIndex < 0 || planIndex >= PDatasetCount()) return -1.0f;
    return CalcDatasetIndex(PDataset[planIndex], structureIndex, kind, value);
}

int Workspace::IndexRowStructure(const PDatasetClass& plan, std::string_view rowName) const {
    return FindIndexRowStructure(plan, rowName, CaseSensitiveNow());
}
