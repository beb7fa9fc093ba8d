// Commands on whole plan lists: new, copy, rename, delete, save, lock, import, export, clearing
// the structure-name store. The main window's handlers ask the user and call these.
#pragma once

#include "dvh/Workspace.h"

#include <string>
#include <vector>

enum class ListCommandStatus {
    Done,
    NothingToDo,  // no such list, nothing to copy, no file: silently nothing
    Duplicate,    // the name is taken by a list or by a file of that name
    InvalidName,  // empty, or not usable as a file name
    Failed,       // a file operation failed; `message` says which, nothing was lost
};

struct ListCommandResult {
    ListCommandStatus status = ListCommandStatus::Done;
    int index = -1;       // the list made or acted on, in `PlanListName`
    std::string message;  // for the user when status is Failed
    bool ok() const { return status == ListCommandStatus::Done; }
};

/// A new, unsaved list: 20 empty rows (red font), no structure entries, unlocked, modified.
PlanListNameClass MakeNewPlanList(const std::string& name);

/// Appends a new list named `name`. Duplicate when the name is taken (see PlanListNameTaken).
ListCommandResult NewPlanList(Workspace& ws, const std::string& programFolder,
                              const std::string& name);
/// Appends a copy of the last list named `sourceName`: rows and structure entries copied,
/// structure-name store empty, unlocked, modified. NothingToDo without such a list or with an
/// empty name.
ListCommandResult CopyPlanList(Workspace& ws, const std::string& programFolder,
                               const std::string& sourceName, const std::string& name);
/// Renames the list at `listIndex`, its file (never over an existing file) and its register
/// entries, in an order that a crash at any point leaves the list found at the next start.
/// When the file cannot be renamed or the register not read, nothing changes.
/// Without a settings file only the list in memory is renamed; its file keeps its name.
ListCommandResult RenamePlanList(Workspace& ws, const std::string& programFolder, int listIndex,
                                 const std::string& name);
/// Removes the list at `listIndex`; its file goes to the trash. Plans (and a waiting load)
/// linked to it lose their link; those linked to later lists follow them. When the file cannot be moved to the trash
/// the list stays.
ListCommandResult DeletePlanList(Workspace& ws, const std::string& programFolder, int listIndex);
/// Saves the list at `listIndex` to its file and registers it; clears `Modified` only when both
/// succeeded.
ListCommandResult SavePlanList(Workspace& ws, const std::string& programFolder, int listIndex);
/// Locks and saves an unlocked list (unlocked again if the save fails), or unlocks a locked one
/// and marks it modified.
ListCommandResult TogglePlanListLock(Workspace& ws, const std::string& programFolder,
                                     int listIndex);
/// Reads the list file at `path` into a new, modified list named after the file (made unique
/// with 1, 2, ...). A file that is missing or unreadable is refused.
ListCommandResult ImportPlanList(Workspace& ws, const std::string& programFolder,
                                 const std::string& path);
/// Copies the saved file of list `name` to `target`, writable. Never overwrites `target`.
ListCommandResult ExportPlanList(const std::string& programFolder, const std::string& name,
                                 const std::string& target);
/// Erases section "SNameDB" from the saved file of list `name` (memory is not changed).
/// NothingToDo when the list has no file.
ListCommandResult ClearStructureNameList(const std::string& programFolder,
                                         const std::string& name);

/// Positions of the lists with `Modified` set, in list order: the lists to offer at exit.
std::vector<int> ModifiedPlanLists(const Workspace& ws);
/// Where a reference to list `index` points after list `deleted` was removed: -1 when it was
/// that list, one less when it came after it.
int PlanListIndexAfterDelete(int index, int deleted);
