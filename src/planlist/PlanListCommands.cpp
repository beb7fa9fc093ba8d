// Whole-list commands over the workspace's plan lists and the files of the program folder.
#include "planlist/PlanListCommands.h"

#include "dvh/NameCharacters.h"
#include "dvh/SettingsFile.h"
#include "planlist/IndexRowCommands.h"
#include "planlist/PlanListFile.h"
#include "planlist/PlanListNaming.h"
#include "planlist/PlanListRegister.h"
#include "platform/FaultPoint.h"
#include "platform/FileLock.h"
#include "platform/OpenedFile.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

ListCommandResult Status(ListCommandStatus status, int index = -1, std::string message = {}) {
    return {status, index, std::move(message)};
}

bool ValidIndex(const Workspace& ws, int index) {
    return index >= 0 && index < ws.PlanListNameCount();
}

// Renames a file only when the new name is free: never replaces an existing file.
bool RenameWithoutReplacing(const std::string& from, const std::string& to, std::string& error) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) {
        error = std::strerror(errno);
        return false;
    }
#endif
    // A hard link fails when the target exists; file systems without links fall back to a
    // test before the rename.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST || platform::FileExists(to)) {
        error = "a file of that name exists";
        return false;
    }
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    error = std::strerror(errno);
    return false;
}

// Appends `list` and returns its position.
int Append(Workspace& ws, PlanListNameClass list) {
    ws.PlanListName.push_back(std::move(list));
    return ws.PlanListNameCount() - 1;
}

}  // namespace

PlanListNameClass MakeNewPlanList(const std::string& name) {
    PlanListNameClass list;
    list.Name = name;
    list.IndexData.assign(20, EmptyIndexRow(255, 0, 0));
    list.Modified = true;
    return list;
}

ListCommandResult NewPlanList(Workspace& ws, const std::string& programFolder,
                              const std::string& name) {
    if (!IsUsablePlanListName(name)) return Status(ListCommandStatus::InvalidName);
    if (PlanListNameTaken(ws.PlanListName, programFolder, name))
        return Status(ListCommandStatus::Duplicate);
    return Status(ListCommandStatus::Done, Append(ws, MakeNewPlanList(name)));
}

ListCommandResult CopyPlanList(Workspace& ws, const std::string& programFolder,
                               const std::string& sourceName, const std::string& name) {
    const int source = FindPlanList(ws.PlanListName, sourceName);
    if (source < 0 || name.empty()) return Status(ListCommandStatus::NothingToDo);
    if (!IsUsablePlanListName(name)) return Status(ListCommandStatus::InvalidName);
    if (PlanListNameTaken(ws.PlanListName, programFolder, name))
        return Status(ListCommandStatus::Duplicate);
    const PlanListNameClass& from = ws.PlanListName[static_cast<std::size_t>(source)];
    PlanListNameClass copy;
    copy.Name = name;
    copy.IndexData = from.IndexData;
    copy.StructureDB = from.StructureDB;
    copy.Modified = true;
    return Status(ListCommandStatus::Done, Append(ws, std::move(copy)));
}

ListCommandResult RenamePlanList(Workspace& ws, const std::string& programFolder, int listIndex,
                                 const std::string& name) {
    if (!ValidIndex(ws, listIndex)) return Status(ListCommandStatus::NothingToDo);
    if (!IsUsablePlanListName(name)) return Status(ListCommandStatus::InvalidName, listIndex);
    if (PlanListNameTaken(ws.PlanListName, programFolder, name, listIndex))
        return Status(ListCommandStatus::Duplicate, listIndex);
    PlanListNameClass& list = ws.PlanListName[static_cast<std::size_t>(listIndex)];
    const std::string oldName = list.Name;
    const std::string newPath = PlanListFilePath(programFolder, name);
    if (oldName == name) {
        if (platform::FileExists(newPath)) platform::SetReadOnly(newPath, true);
        return Status(ListCommandStatus::Done, listIndex);
    }

    // Without a settings file no register follows the file, so the file keeps its name and
    // content; the list's next save writes the file of its new name.
    std::error_code noSettings;
    if (!std::filesystem::exists(SettingsFilePath(programFolder), noSettings)) {
        list.Name = name;
        return Status(ListCommandStatus::Done, listIndex);
    }
    const std::string oldPath = PlanListFilePath(programFolder, oldName);
    // No other session may change the register between the steps; a rename that cannot take
    // its turn is not made.
    const platform::FileLock lock(SettingsLockPath(SettingsFilePath(programFolder)));
    if (const auto refused = RefusedSettingsTurn(lock))
        return Status(ListCommandStatus::Failed, listIndex, refused->message);
    PlanListRegisterRename registerRename(programFolder, oldName, name);
    if (const platform::WriteResult begun = registerRename.Begin(); !begun.ok)
        return Status(ListCommandStatus::Failed, listIndex, begun.message);
    platform::FaultPoint("rename: new name registered");
    std::string error;
    if (platform::FileExists(oldPath) && !RenameWithoutReplacing(oldPath, newPath, error)) {
        // An entry naming no file is dropped by the next start anyway.
        registerRename.Undo();
        return Status(ListCommandStatus::Failed, listIndex,
                      "Cannot rename \"" + oldPath + "\" to \"" + newPath + "\": " + error);
    }
    platform::FaultPoint("rename: file renamed");
    // A renamed list is a saved list: read-only, whatever the file was before.
    if (platform::FileExists(newPath)) platform::SetReadOnly(newPath, true);
    // From here the list is safe under its new name: an old entry left behind names no file
    // and goes at the next start.
    registerRename.Finish();
    list.Name = name;
    return Status(ListCommandStatus::Done, listIndex);
}

ListCommandResult DeletePlanList(Workspace& ws, const std::string& programFolder, int listIndex) {
    if (!ValidIndex(ws, listIndex)) return Status(ListCommandStatus::NothingToDo);
    const std::string path =
        PlanListFilePath(programFolder, ws.PlanListName[static_cast<std::size_t>(listIndex)].Name);
    if (platform::FileExists(path) && !(ws.Host() && ws.Host()->MoveToTrash(path)))
        return Status(ListCommandStatus::Failed, listIndex,
                      "Cannot move \"" + path + "\" to the trash; the list was kept.");
    ws.PlanListName.erase(ws.PlanListName.begin() + listIndex);
    for (PDatasetClass& plan : ws.PDataset)
        plan.PlanListIndex = PlanListIndexAfterDelete(plan.PlanListIndex, listIndex);
    // A load waiting for a dialog gives its plan this list when it finishes.
    ws.Pending.PlanListIndex = PlanListIndexAfterDelete(ws.Pending.PlanListIndex, listIndex);
    return Status(ListCommandStatus::Done, listIndex);
}

ListCommandResult SavePlanList(Workspace& ws, const std::string& programFolder, int listIndex) {
    if (!ValidIndex(ws, listIndex)) return Status(ListCommandStatus::NothingToDo);
    PlanListNameClass& list = ws.PlanListName[static_cast<std::size_t>(listIndex)];
    if (!IsUsablePlanListName(list.Name))
        return Status(ListCommandStatus::InvalidName, listIndex,
                      "Plan list \"" + list.Name + "\" cannot be saved: its name is no file name.");
    const platform::WriteResult saved =
        SavePlanListFile(PlanListFilePath(programFolder, list.Name), list);
    if (!saved.ok) return Status(ListCommandStatus::Failed, listIndex, saved.message);
    const platform::WriteResult registered = RegisterPlanList(programFolder, list.Name);
    if (!registered.ok)
        return Status(ListCommandStatus::Failed, listIndex,
                      "Plan list \"" + list.Name + "\" was saved but could not be registered: " +
                          registered.message);
    list.Modified = false;
    return Status(ListCommandStatus::Done, listIndex);
}

ListCommandResult TogglePlanListLock(Workspace& ws, const std::string& programFolder,
                                     int listIndex) {
    if (!ValidIndex(ws, listIndex)) return Status(ListCommandStatus::NothingToDo);
    PlanListNameClass& list = ws.PlanListName[static_cast<std::size_t>(listIndex)];
    if (list.Lock) {
        list.Lock = false;
        list.Modified = true;
        return Status(ListCommandStatus::Done, listIndex);
    }
    list.Lock = true;
    ListCommandResult saved = SavePlanList(ws, programFolder, listIndex);
    if (!saved.ok()) ws.PlanListName[static_cast<std::size_t>(listIndex)].Lock = false;
    return saved;
}

ListCommandResult ImportPlanList(Workspace& ws, const std::string& programFolder,
                                 const std::string& path) {
    PlanListLoadResult loaded = LoadPlanListFile(path, {});
    if (loaded.status != PlanListFileStatus::Ok)
        return Status(ListCommandStatus::Failed, -1, loaded.message);
    std::string base = platform::FileNameOf(path);
    if (const auto dot = base.find_last_of('.'); dot != std::string::npos) base.erase(dot);
    base = WithoutForbiddenNameCharacters(base);
    if (!IsUsablePlanListName(base)) base = "Imported";
    loaded.list.Name = UniquePlanListName(ws.PlanListName, programFolder, base);
    loaded.list.Modified = true;
    return Status(ListCommandStatus::Done, Append(ws, std::move(loaded.list)));
}

ListCommandResult ExportPlanList(const std::string& programFolder, const std::string& name,
                                 const std::string& target) {
    const std::string source = PlanListFilePath(programFolder, name);
    if (!platform::FileExists(source))
        return Status(ListCommandStatus::NothingToDo, -1,
                      "Plan list \"" + name + "\" has not been saved yet; save it before exporting.");
    if (platform::FileExists(target) || platform::DirectoryExists(target))
        return Status(ListCommandStatus::Failed, -1,
                      "\"" + target + "\" already exists; it was not overwritten.");
    std::string text;
    if (!platform::ReadWholeFile(source, text))
        return Status(ListCommandStatus::Failed, -1, "Cannot read \"" + source + "\".");
    // Written under a new name only: a file that appears at the target meanwhile is kept.
    const platform::WriteResult written = platform::WriteNewFile(target, text);
    if (!written.ok) return Status(ListCommandStatus::Failed, -1, written.message);
    platform::SetReadOnly(target, false);
    return Status(ListCommandStatus::Done);
}

ListCommandResult ClearStructureNameList(const std::string& programFolder,
                                         const std::string& name) {
    const std::string path = PlanListFilePath(programFolder, name);
    if (!platform::FileExists(path)) return Status(ListCommandStatus::NothingToDo);
    const platform::WriteResult written =
        UpdatePlanListFile(path, [](platform::IniFile& ini) { ini.EraseSection("SNameDB"); });
    return written.ok ? Status(ListCommandStatus::Done)
                      : Status(ListCommandStatus::Failed, -1, written.message);
}

std::vector<int> ModifiedPlanLists(const Workspace& ws) {
    std::vector<int> modified;
    for (int i = 0; i < ws.PlanListNameCount(); ++i)
        if (ws.PlanListName[static_cast<std::size_t>(i)].Modified) modified.push_back(i);
    return modified;
}

int PlanListIndexAfterDelete(int index, int deleted) {
    if (index == deleted) return -1;
    return index > deleted ? index - 1 : index;
}
