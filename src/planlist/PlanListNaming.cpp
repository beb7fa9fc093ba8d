// Plan-list names: usable names, lookups, unique names and the texts about them.
#include "planlist/PlanListNaming.h"

#include "dvh/NameCharacters.h"
#include "planlist/PlanListFile.h"
#include "platform/Paths.h"

bool IsUsablePlanListName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    // Control characters (a line break above all) cannot stand in a line of the register.
    for (char c : name)
        if (IsForbiddenNameCharacter(c) || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

int FindPlanList(const std::vector<PlanListNameClass>& lists, std::string_view name) {
    for (int i = static_cast<int>(lists.size()) - 1; i >= 0; --i)
        if (lists[static_cast<std::size_t>(i)].Name == name) return i;
    return -1;
}

bool PlanListNameTaken(const std::vector<PlanListNameClass>& lists, const std::string& programFolder,
                       const std::string& name, int except) {
    for (int i = 0; i < static_cast<int>(lists.size()); ++i)
        if (i != except && lists[static_cast<std::size_t>(i)].Name == name) return true;
    // The list's own file may keep its name (a rename to the same name).
    if (except >= 0 && except < static_cast<int>(lists.size()) &&
        lists[static_cast<std::size_t>(except)].Name == name)
        return false;
    // Anything at the path counts, also a link whose target is away for now.
    return platform::PathMayExist(PlanListFilePath(programFolder, name));
}

std::string UniquePlanListName(const std::vector<PlanListNameClass>& lists,
                               const std::string& programFolder, const std::string& base) {
    std::string name = base;
    // Bounded by the lists and files there are: each taken name is one of them.
    for (long n = 1; PlanListNameTaken(lists, programFolder, name); ++n) name = base + std::to_string(n);
    return name;
}

UserMessage ListExistsQuestion(const std::string& name) {
    return {"Plan List (' " + name + " ') already exists.\nDo you want to create another Plan List?",
            "List already exists."};
}

UserMessage RenameRefusedMessage(const std::string& name) {
    return {"The specified list name (' " + name + " ') already exists.",
            "Cannot change the list name."};
}

UserMessage DeleteListQuestion(const std::string& name) {
    return {"Do you really want to delete Plan List ( " + name + " )?", "Delete"};
}

UserMessage SaveOnExitQuestion(const std::string& name) {
    return {"Plan List ('" + name + " ') was modified without a save.\nSave with exit?", "Plan List."};
}

UserMessage ClearStructureListQuestion() {
    return {"Do you want to clear StructureList ?", "Clear StructureList"};
}

UserMessage StructureSetExistsMessage(const std::string& title) {
    return {"The specified name (' " + title + " ') already exists.", "Tessaray"};
}

UserMessage StructureRegisteredMessage(const std::string& name) {
    return {"Structure ( " + name + " ) have already registered.", "Duplication of data."};
}
