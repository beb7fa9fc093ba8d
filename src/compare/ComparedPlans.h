// The plans of a comparison: their order, the colour of each position and the plan commands.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <vector>

/// One compared plan.
struct PlanCompClass {
    /// Index of the plan in the loaded plans.
    int DatasetIndex = -1;
    /// Constraint font colour of this plan's value in each index row of the table's plan
    /// list, 0 for none.
    std::vector<TColor> IndexRowColor;
    /// The plan's key when it was taken: finds the plan again after the main window's plans
    /// change, and tells a plan that has gone.
    std::string Key;
};

/// The ten colours of positions 1 to 10 (red, lime, blue, fuchsia, green, aqua, maroon, olive,
/// sky blue, purple); later positions are red.
std::vector<TColor> InitialPlanColors();
/// The colour of positions beyond those stored.
inline constexpr TColor kLaterPositionColor = 0x0000FF;

/// The compared plans in display order (position i is grid row i + 1, table column i + 2 and
/// series i of every chart), with the colours that belong to positions, not to plans.
class ComparedPlans {
public:
    std::vector<PlanCompClass> PlanComp;
    /// The number of plans counted by the last choice.
    int PlanCompCount = 0;
    std::vector<TColor> PlanColor = InitialPlanColors();
    /// The selected cell of the plan grid (row 1 = first plan), -1 for none.
    int PlanGridCol = -1;
    int PlanGridRow = -1;

    int Count() const { return static_cast<int>(PlanComp.size()); }
    bool Empty() const { return PlanComp.empty(); }

    /// The colour of position `position` (from 0).
    TColor PositionColor(int position) const;
    /// A colour chosen by the user for a position; it stays with the position.
    void SetPositionColor(int position, TColor color);

    /// The plans `datasetIndices` of `plans` in that order become the comparison (the plan
    /// choice's OK and "Add ALL"); indices outside `plans` are skipped. Stored colours are kept.
    void Choose(const std::vector<int>& datasetIndices, const std::vector<PDatasetClass>& plans);
    /// Whether the plan of `datasetIndex` is compared.
    bool Contains(int datasetIndex) const;
    /// `BUp`: the selected plan moves up one position and the selection follows it.
    /// False (nothing changed) on the first row or without a plan in the selected row.
    bool MoveUp();
    /// `BDown`: the same downwards; false on the last row.
    bool MoveDown();
    /// "Remove": the plan of the selected row goes; later plans move up. The selection stays.
    /// False when the row holds no plan.
    bool RemoveSelected();
    /// "Clear".
    void Clear() { PlanComp.clear(); }

    /// After the main window's plans changed: a plan is found again by its key (its index
    /// may have moved); plans that no longer exist are dropped. True when anything changed.
    bool Reconcile(const std::vector<PDatasetClass>& plans);
    /// The plan of `position` in `plans`, nullptr when the position or its index is not valid.
    const PDatasetClass* Plan(int position, const std::vector<PDatasetClass>& plans) const;
    /// Every compared plan in order (nullptr where a position names no loaded plan).
    std::vector<const PDatasetClass*> Plans(const std::vector<PDatasetClass>& plans) const;
};

/// The structure-name union of charts A-D: every compared plan's structure `Name` (not the
/// display name) once, exact comparison, in first-seen order.
std::vector<std::string> StructureNameUnion(const std::vector<const PDatasetClass*>& plans);
