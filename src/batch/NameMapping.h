// Mapping the plans' structure names to the names a plan list's index rows use.
#pragma once

#include "batch/BatchRecords.h"
#include "dvh/Records.h"

#include <string>
#include <vector>

/// The distinct structure names of the list's index rows (empty names left out), in order of
/// first use: the common names.
std::vector<std::string> CommonNamesOf(const PlanListNameClass& list);

/// A new substitution table: one entry per common name, no alias.
std::vector<batchpro> NewSubstitutionTable(const std::vector<std::string>& commonNames);

/// The structure of `plan` that `entry` stands for: the last structure whose `Name` equals the
/// common name exactly (case and all; `ModifiedName` plays no part), else the first alias, in
/// alias order, that some structure equals (again the last such structure).
/// \return its index, or `kNoBatchStructure`; `matchedName` (may be null) gets the name that
/// matched, "" for none.
int ResolveCommonName(const PDatasetClass& plan, const batchpro& entry, std::string* matchedName = nullptr);

/// Appends `alias` to the entry unless it is "" or already an alias; returns whether it did.
bool AddAlias(batchpro& entry, const std::string& alias);
