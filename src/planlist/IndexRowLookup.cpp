// Which structure of a plan an index row stands for.
#include "planlist/IndexRowLookup.h"

#include "dvh/NameCompare.h"

int FindIndexRowStructure(const PDatasetClass& plan, std::string_view rowName, bool caseSensitive) {
    for (int j = plan.DVHDatasetCount() - 1; j >= 0; --j)
        if (StructureNamesEqual(rowName, plan.DVHDataset[j].DisplayName(), caseSensitive)) return j;
    return -1;
}
