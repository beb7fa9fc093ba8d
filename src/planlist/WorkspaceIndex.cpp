// The index calculator's entries over the workspace: thin entries over the free functions.
#include "planlist/WorkspaceIndex.h"

#include "planlist/IndexCalculator.h"
#include "planlist/IndexRowLookup.h"

float CalcIndex(const Workspace& ws, int structureIndex, int kind, float value, int ciReference, float ciValue) {
    if (ws.CurrentPlanIndex < 0 || ws.CurrentPlanIndex >= ws.PDatasetCount()) return -1.0f;
    return CalcPlanIndex(ws.PDataset[ws.CurrentPlanIndex], structureIndex, kind, value, ciReference, ciValue);
}

float CalcIndexForDataset(const Workspace& ws, int structureIndex, int kind, float value, int planIndex) {
    if (planIndex < 0 || planIndex >= ws.PDatasetCount()) return -1.0f;
    return CalcDatasetIndex(ws.PDataset[planIndex], structureIndex, kind, value);
}

int IndexRowStructure(const Workspace& ws, const Workspace::PDatasetClass& plan, std::string_view rowName) {
    return FindIndexRowStructure(plan, rowName, ws.CaseSensitiveNow());
}
