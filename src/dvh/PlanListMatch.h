// Which plan list a newly opened plan belongs to, decided from its names alone.
#pragma once

#include "dvh/Records.h"

#include <string_view>
#include <vector>

/// The plan list a new plan is linked to: the one list whose `Name` occurs, as a
/// case-sensitive substring, in `planName` or, failing that, in `planID`. An empty list name
/// occurs nowhere. Returns the list's index, or -1 when no list or more than one list matches.
int MatchPlanList(const std::vector<PlanListNameClass>& lists, std::string_view planName,
                  std::string_view planID);

/// The last plan list whose `Name` equals `folderName` exactly (letter case counting), or -1.
/// The saved-DVH store keeps one sub-folder per plan list, named like it.
int PlanListNamedLike(const std::vector<PlanListNameClass>& lists, std::string_view folderName);
