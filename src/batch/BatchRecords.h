// Records of a batch evaluation: the substitution table, the result rows and their markers.
#pragma once

#include <string>
#include <vector>

/// The most plans one batch takes.
constexpr int kBatchPlanLimit = 500;
/// Structure index of a plan that has no structure for a name.
constexpr int kNoBatchStructure = -99;
/// Value of a plan without the structure, or whose structure has no volume.
constexpr float kNoBatchValue = -99.0f;

/// One entry of the substitution table: a name the plan list's index rows use and the
/// structure names of the plans accepted for it, in the order added, without duplicates.
struct batchpro {
    std::string CommonName;
    std::vector<std::string> AliasName;
};

/// One result row, for one index row of the plan list: per batch plan the value rounded to 2
/// decimals (`kNoBatchValue` without a structure) and the matched structure
/// (`kNoBatchStructure` for none). Both are empty for an index row without a name.
struct BVClass {
    std::vector<float> Value;
    std::vector<int> StructureIndex;
};
