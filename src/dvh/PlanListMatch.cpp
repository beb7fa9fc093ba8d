// Matching a plan to a plan list by the plan's names.
#include "dvh/PlanListMatch.h"

int MatchPlanList(const std::vector<PlanListNameClass>& lists, std::string_view planName,
                  std::string_view planID) {
    int found = -1;
    for (int j = 0; j < static_cast<int>(lists.size()); ++j) {
        const std::string& name = lists[j].Name;
        if (name.empty()) continue;
        const bool occurs = planName.find(name) != std::string_view::npos ||
                            planID.find(name) != std::string_view::npos;
        if (!occurs) continue;
        if (found != -1) return -1;  // two lists claim the plan: let the user choose
        found = j;
    }
    return found;
}

int PlanListNamedLike(const std::vector<PlanListNameClass>& lists, std::string_view folderName) {
    int found = -1;
    for (int j = 0; j < static_cast<int>(lists.size()); ++j)
        if (lists[j].Name == folderName) found = j;
    return found;
}
