// The compared plans: choice, order, removal, colours, and finding them again by key.
#include "compare/ComparedPlans.h"

#include <algorithm>
#include <unordered_set>

std::vector<TColor> InitialPlanColors() {
    return {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x008000,
            0xFFFF00, 0x000080, 0x008080, 0xF0CAA6, 0x800080};
}

TColor ComparedPlans::PositionColor(int position) const {
    if (position >= 0 && position < static_cast<int>(PlanColor.size()))
        return PlanColor[static_cast<std::size_t>(position)];
    return kLaterPositionColor;
}

void ComparedPlans::SetPositionColor(int position, TColor color) {
    if (position < 0) return;
    if (position >= static_cast<int>(PlanColor.size()))
        PlanColor.resize(static_cast<std::size_t>(position) + 1, kLaterPositionColor);
    PlanColor[static_cast<std::size_t>(position)] = color;
}

void ComparedPlans::Choose(const std::vector<int>& datasetIndices,
                           const std::vector<PDatasetClass>& plans) {
    PlanComp.clear();
    for (int index : datasetIndices) {
        if (index < 0 || index >= static_cast<int>(plans.size())) continue;
        PlanCompClass plan;
        plan.DatasetIndex = index;
        plan.Key = plans[static_cast<std::size_t>(index)].Key;
        PlanComp.push_back(std::move(plan));
    }
    PlanCompCount = Count();
    if (static_cast<int>(PlanColor.size()) < PlanCompCount)
        PlanColor.resize(static_cast<std::size_t>(PlanCompCount), kLaterPositionColor);
}

bool ComparedPlans::Contains(int datasetIndex) const {
    return std::any_of(PlanComp.begin(), PlanComp.end(),
                       [&](const PlanCompClass& p) { return p.DatasetIndex == datasetIndex; });
}

bool ComparedPlans::MoveUp() {
    if (Count() < 2 || PlanGridRow <= 1 || PlanGridRow > Count()) return false;
    const auto at = static_cast<std::size_t>(PlanGridRow - 1);
    std::swap(PlanComp[at - 1], PlanComp[at]);
    --PlanGridRow;
    return true;
}

bool ComparedPlans::MoveDown() {
    if (Count() < 2 || PlanGridRow <= 0 || PlanGridRow >= Count()) return false;
    const auto at = static_cast<std::size_t>(PlanGridRow - 1);
    std::swap(PlanComp[at], PlanComp[at + 1]);
    ++PlanGridRow;
    return true;
}

bool ComparedPlans::RemoveSelected() {
    if (PlanGridRow <= 0 || PlanGridRow > Count()) return false;
    PlanComp.erase(PlanComp.begin() + (PlanGridRow - 1));
    return true;
}

bool ComparedPlans::Reconcile(const std::vector<PDatasetClass>& plans) {
    bool changed = false;
    std::vector<PlanCompClass> kept;
    for (PlanCompClass& p : PlanComp) {
        const bool same = p.DatasetIndex >= 0 && p.DatasetIndex < static_cast<int>(plans.size()) &&
                          plans[static_cast<std::size_t>(p.DatasetIndex)].Key == p.Key;
        if (!same) {
            // The last plan of that key, as every lookup by key finds it.
            int found = -1;
            for (int i = static_cast<int>(plans.size()) - 1; i >= 0 && found < 0; --i)
                if (plans[static_cast<std::size_t>(i)].Key == p.Key) found = i;
            changed = true;
            if (found < 0) continue;
            p.DatasetIndex = found;
        }
        kept.push_back(std::move(p));
    }
    PlanComp = std::move(kept);
    return changed;
}

const PDatasetClass* ComparedPlans::Plan(int position,
                                         const std::vector<PDatasetClass>& plans) const {
    if (position < 0 || position >= Count()) return nullptr;
    const int index = PlanComp[static_cast<std::size_t>(position)].DatasetIndex;
    if (index < 0 || index >= static_cast<int>(plans.size())) return nullptr;
    return &plans[static_cast<std::size_t>(index)];
}

std::vector<const PDatasetClass*> ComparedPlans::Plans(
    const std::vector<PDatasetClass>& plans) const {
    std::vector<const PDatasetClass*> result;
    for (int i = 0; i < Count(); ++i) result.push_back(Plan(i, plans));
    return result;
}

std::vector<std::string> StructureNameUnion(const std::vector<const PDatasetClass*>& plans) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const PDatasetClass* plan : plans) {
        if (!plan) continue;
        for (const DVHDatasetClass& s : plan->DVHDataset)
            if (seen.insert(s.Name).second) names.push_back(s.Name);
    }
    return names;
}
