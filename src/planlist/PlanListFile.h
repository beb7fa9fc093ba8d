// The plan-list file: one ini file per list, "<program folder><name>.lst", read and written here only.
#pragma once

#include "dvh/Records.h"
#include "platform/AtomicWrite.h"
#include "platform/IniFile.h"

#include <functional>
#include <string>

/// The file of list `name`: `programFolder` (ending in '/') + name + ".lst".
std::string PlanListFilePath(const std::string& programFolder, const std::string& name);

/// Reads a whole list from an ini file: sections "StructureDB", "SNameDB" and "ListIndex",
/// keys numbered from 1, missing keys giving their defaults (text "0", integers 0, floats 0.0,
/// booleans false), colour bytes cut to their low 8 bits. A "Count" of 0 or less means no
/// entries; a larger "Count" than the section has keys is cut to that number of keys, so a
/// count in the file never sizes memory beyond what the file holds. `Modified` is false.
PlanListNameClass ReadPlanListFromIni(const platform::IniFile& ini, const std::string& name);

/// Writes a list into `ini`: erases "StructureDB" and "ListIndex" and writes them anew (in that
/// order, keys in their fixed order); "SNameDB" and every other section stay as they are.
/// Trailing rows without a name are not written, but at least one row is: a list whose rows all
/// lack a name (or that has no row) writes one empty row.
void WritePlanListToIni(platform::IniFile& ini, const PlanListNameClass& list);

enum class PlanListFileStatus { Ok, Missing, Unreadable };

struct PlanListLoadResult {
    PlanListNameClass list;
    PlanListFileStatus status = PlanListFileStatus::Ok;
    std::string message;  // for the user when status is not Ok
};

/// Loads the list file at `path` under the list name `name`. A file that exists but cannot be
/// read gives an empty list marked `Unreadable`, which `SavePlanListFile` refuses to save.
PlanListLoadResult LoadPlanListFile(const std::string& path, const std::string& name);

/// Saves `list` to `path`: keeps the file's "SNameDB" and foreign sections, replaces the rest,
/// writes atomically and leaves the file read-only. Refuses (and changes nothing) when the list
/// was loaded from an unreadable file or the file on disk cannot be read now. On failure the old
/// file stays whole, with the permission it had.
platform::WriteResult SavePlanListFile(const std::string& path, const PlanListNameClass& list);

/// Loads the list file at `path` (an empty ini when there is none), applies `change`, saves it
/// atomically and leaves it read-only. Refuses, changing nothing, when the file exists but cannot
/// be read. On failure the old file stays whole, with the permission it had.
platform::WriteResult UpdatePlanListFile(const std::string& path,
                                         const std::function<void(platform::IniFile&)>& change);
