// Writing the plan information dialog's edits back: only into the plan it was filled from.
#include "dvh/PlanInformation.h"

#include <gtest/gtest.h>

namespace {

PDatasetClass Plan(const std::string& key, int structures) {
    PDatasetClass p;
    p.Key = key;
    p.PlanName = "old";
    for (int i = 0; i < structures; ++i) p.DVHDataset.push_back(DVHDatasetClass{});
    return p;
}

TEST(PlanInformation, WritesOnlyIntoThePlanItWasFilledFrom) {
    std::vector<PDatasetClass> plans = {Plan("A", 3), Plan("B", 1)};
    PlanInformation info = PlanInformationOf(plans[0]);
    info.PlanName = "new";
    info.ModifiedNames = {"x", "y", "z"};

    // Plan 0 was replaced by another plan with another key: nothing is written anywhere.
    std::vector<PDatasetClass> changed = {Plan("C", 3), Plan("B", 1)};
    EXPECT_FALSE(ApplyPlanInformation(changed, 0, "A", info));
    EXPECT_EQ(changed[0].PlanName, "old");
    EXPECT_EQ(changed[0].DVHDataset[0].ModifiedName, "");
    // The plan is gone altogether.
    EXPECT_FALSE(ApplyPlanInformation(changed, 5, "A", info));
    EXPECT_FALSE(ApplyPlanInformation(changed, -1, "A", info));

    ASSERT_TRUE(ApplyPlanInformation(plans, 0, "A", info));
    EXPECT_EQ(plans[0].PlanName, "new");
    EXPECT_EQ(plans[0].DVHDataset[2].ModifiedName, "z");
    EXPECT_EQ(plans[1].PlanName, "old");
}

TEST(PlanInformation, AliasesNeverRunPastThePlansStructures) {
    std::vector<PDatasetClass> plans = {Plan("A", 2)};
    PlanInformation info;
    info.ModifiedNames = {"a", "b", "c", "d"};  // filled from a plan with more structures
    ASSERT_TRUE(ApplyPlanInformation(plans, 0, "A", info));
    ASSERT_EQ(plans[0].DVHDataset.size(), 2u);
    EXPECT_EQ(plans[0].DVHDataset[1].ModifiedName, "b");

    info.ModifiedNames = {"only"};  // fewer: the rest keep their alias
    plans[0].DVHDataset[1].ModifiedName = "kept";
    ASSERT_TRUE(ApplyPlanInformation(plans, 0, "A", info));
    EXPECT_EQ(plans[0].DVHDataset[0].ModifiedName, "only");
    EXPECT_EQ(plans[0].DVHDataset[1].ModifiedName, "kept");
}

TEST(PlanInformation, DistinctNamesKeepFirstAppearanceAndCase) {
    EXPECT_EQ(DistinctNames({"PTV", "", "Rectum", "PTV", "ptv", ""}),
              (std::vector<std::string>{"PTV", "Rectum", "ptv"}));
    EXPECT_TRUE(DistinctNames({"", ""}).empty());
}

}  // namespace
