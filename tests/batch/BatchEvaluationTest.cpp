// Resolving common names through the substitution table, and the evaluation over plans.
#include "batch/BatchEvaluation.h"
#include "batch/NameMapping.h"

#include "../planlist/PlanFixtures.h"

#include <gtest/gtest.h>

namespace {

PDatasetClass PlanOf(std::initializer_list<const char*> names) {
    PDatasetClass p;
    for (const char* n : names) p.DVHDataset.push_back(fixtures::ExampleStructure(n));
    return p;
}

}  // namespace

TEST(NameMapping, CommonNameBeforeAliasesThenAliasOrderLastStructureExactCase) {
    batchpro entry{"Rectum", {"A", "B"}};
    struct Case {
        const char* what;
        PDatasetClass plan;
        int structure;
        const char* matched;
    } cases[] = {
        {"common name first", PlanOf({"A", "Rectum"}), 1, "Rectum"},
        {"later duplicate wins", PlanOf({"Rectum", "X", "Rectum"}), 2, "Rectum"},
        {"only the second alias", PlanOf({"B", "X"}), 0, "B"},
        {"first alias in alias order", PlanOf({"B", "A", "A"}), 2, "A"},
        {"case counts", PlanOf({"rectum", "a"}), kNoBatchStructure, ""},
        {"nothing", PlanOf({}), kNoBatchStructure, ""},
    };
    for (Case& c : cases) {
        std::string matched = "stale";
        EXPECT_EQ(ResolveCommonName(c.plan, entry, &matched), c.structure) << c.what;
        EXPECT_EQ(matched, c.matched) << c.what;
    }
    PDatasetClass renamed = PlanOf({"X"});
    renamed.DVHDataset[0].ModifiedName = "Rectum";  // display names play no part
    EXPECT_EQ(ResolveCommonName(renamed, entry), kNoBatchStructure);

    EXPECT_FALSE(AddAlias(entry, "A"));
    EXPECT_FALSE(AddAlias(entry, ""));
    EXPECT_TRUE(AddAlias(entry, "Rect"));
    EXPECT_EQ(entry.AliasName, (std::vector<std::string>{"A", "B", "Rect"}));
}

TEST(BatchEvaluation, ValuesOfTwoPlansWithMissingStructuresVolumeZeroAndEmptyRows) {
    PlanListNameClass list;
    auto row = [&](const char* name, int items, float value) {
        IndexDataClass r;
        r.Name = name;
        r.Items = items;
        r.Value = value;
        list.IndexData.push_back(r);
    };
    row("PTV", 1, 50);       // D50% [Gy]: 27.5 Gy on the worked example's curve
    row("PTV", 6, 25);       // V25Gy [%]: 60 %
    row("", 0, 0);           // an empty row is not evaluated
    row("Rectum", 9, 0);     // mean dose [Gy]
    EXPECT_EQ(CommonNamesOf(list), (std::vector<std::string>{"PTV", "Rectum"}));
    std::vector<batchpro> table = NewSubstitutionTable(CommonNamesOf(list));
    table[1].AliasName = {"Rect"};

    std::vector<PDatasetClass> plans = {fixtures::ExamplePlan(), PlanOf({"Rect", "PTV"})};
    plans[1].DVHDataset[1].Volume = 0;  // a structure without volume counts as none
    // Batch order differs from dataset order; index 7 is a plan gone meanwhile.
    const std::vector<int> order = {1, 0, 7};
    for (int threads : {1, 3}) {
        const std::vector<BVClass> bv = EvaluateBatch(plans, order, list, table, threads);
        ASSERT_EQ(bv.size(), 4u);
        EXPECT_EQ(bv[0].StructureIndex, (std::vector<int>{1, 0, kNoBatchStructure}));
        EXPECT_EQ(bv[0].Value, (std::vector<float>{kNoBatchValue, 27.5f, kNoBatchValue}));
        EXPECT_EQ(bv[1].Value, (std::vector<float>{kNoBatchValue, 60.0f, kNoBatchValue}));
        EXPECT_TRUE(bv[2].Value.empty());
        EXPECT_TRUE(bv[2].StructureIndex.empty());
        EXPECT_EQ(bv[3].StructureIndex, (std::vector<int>{0, kNoBatchStructure, kNoBatchStructure}));
        EXPECT_EQ(bv[3].Value, (std::vector<float>{25.0f, kNoBatchValue, kNoBatchValue}));
    }
}
