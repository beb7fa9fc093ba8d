// Names of plan lists: which names can be files, lookups by name, and the texts of the questions
// and refusals about names.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <string_view>
#include <vector>

/// A name that can become a file name and a register entry: not empty, no character forbidden
/// in file names (IsForbiddenNameCharacter) and no control character, not "." or "..".
bool IsUsablePlanListName(std::string_view name);

/// Position of the last list whose `Name` equals `name` exactly (case counts), -1 for none.
int FindPlanList(const std::vector<PlanListNameClass>& lists, std::string_view name);
/// Whether `name` is taken: by a list in memory other than the one at `except`, or by a file
/// "<name>.lst" in `programFolder` that is not that list's own file. A list must never be given
/// a name whose file it would write over.
bool PlanListNameTaken(const std::vector<PlanListNameClass>& lists, const std::string& programFolder,
                       const std::string& name, int except = -1);
/// `base`, or `base` followed by 1, 2, ... : the first name not taken (for imported lists).
std::string UniquePlanListName(const std::vector<PlanListNameClass>& lists,
                               const std::string& programFolder, const std::string& base);

/// A message box text with its caption.
struct UserMessage {
    std::string text;
    std::string caption;
};

UserMessage ListExistsQuestion(const std::string& name);      // new or copied list: OK tries again
UserMessage RenameRefusedMessage(const std::string& name);    // rename onto a taken name
UserMessage DeleteListQuestion(const std::string& name);
UserMessage SaveOnExitQuestion(const std::string& name);
UserMessage ClearStructureListQuestion();
UserMessage StructureSetExistsMessage(const std::string& title);
UserMessage StructureRegisteredMessage(const std::string& name);  // series editor duplicate
