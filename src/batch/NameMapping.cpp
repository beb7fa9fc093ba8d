// Common names, the substitution table and resolving a common name in a plan.
#include "batch/NameMapping.h"

#include <algorithm>

std::vector<std::string> CommonNamesOf(const PlanListNameClass& list) {
    std::vector<std::string> names;
    for (const IndexDataClass& row : list.IndexData)
        if (!row.Name.empty() && std::find(names.begin(), names.end(), row.Name) == names.end())
            names.push_back(row.Name);
    return names;
}

std::vector<batchpro> NewSubstitutionTable(const std::vector<std::string>& commonNames) {
    std::vector<batchpro> table(commonNames.size());
    for (std::size_t k = 0; k < commonNames.size(); ++k) table[k].CommonName = commonNames[k];
    return table;
}

namespace {

int LastStructureNamed(const PDatasetClass& plan, const std::string& name) {
    for (int s = plan.DVHDatasetCount() - 1; s >= 0; --s)
        if (plan.DVHDataset[s].Name == name) return s;
    return kNoBatchStructure;
}

}  // namespace

int ResolveCommonName(const PDatasetClass& plan, const batchpro& entry, std::string* matchedName) {
    if (matchedName) matchedName->clear();
    int s = LastStructureNamed(plan, entry.CommonName);
    if (s != kNoBatchStructure) {
        if (matchedName) *matchedName = entry.CommonName;
        return s;
    }
    for (const std::string& alias : entry.AliasName) {
        s = LastStructureNamed(plan, alias);
        if (s != kNoBatchStructure) {
            if (matchedName) *matchedName = alias;
            return s;
        }
    }
    return kNoBatchStructure;
}

bool AddAlias(batchpro& entry, const std::string& alias) {
    if (alias.empty() || std::find(entry.AliasName.begin(), entry.AliasName.end(), alias) != entry.AliasName.end())
        return false;
    entry.AliasName.push_back(alias);
    return true;
}
