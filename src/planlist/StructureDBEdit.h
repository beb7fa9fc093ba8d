// Changes to a plan list's structure database (fixed curve colours and visibility).
#pragma once

#include "dvh/Records.h"

#include <string>

// Each returns false and changes nothing when the list is locked or the entry does not exist;
// otherwise it marks the list modified.

/// Appends `name` with `color`, shown and with its colour in use. False when an entry of
/// exactly that name exists (letter case counts).
bool AddStructureDBEntry(PlanListNameClass& list, const std::string& name, TColor color);
/// Gives entry `entry` the colour `color`.
bool SetStructureDBColor(PlanListNameClass& list, int entry, TColor color);
/// Inverts "Show graph" of entry `entry`.
bool ToggleStructureDBView(PlanListNameClass& list, int entry);
/// Removes entry `entry`; the later entries move up one place.
bool DeleteStructureDBEntry(PlanListNameClass& list, int entry);
/// Marks the list modified (a colour dialog cancelled on an entry still counts as an edit).
bool TouchStructureDB(PlanListNameClass& list, int entry);
