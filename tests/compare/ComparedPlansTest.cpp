// The compared plans: choice, order, colours by position, the plan commands and vanished plans.
#include "compare/ComparablePlans.h"
#include "compare/ComparedPlans.h"
#include "dvh/DvhExportRecogniser.h"

#include "../platform/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::vector<PDatasetClass> Plans(int n) {
    std::vector<PDatasetClass> plans(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        plans[static_cast<std::size_t>(i)].PlanID = "P" + std::to_string(i);
        plans[static_cast<std::size_t>(i)].Key = "K" + std::to_string(i);
    }
    return plans;
}

std::vector<int> Order(const ComparedPlans& c) {
    std::vector<int> order;
    for (const PlanCompClass& p : c.PlanComp) order.push_back(p.DatasetIndex);
    return order;
}

}  // namespace

TEST(ComparedPlans, ChoosingAgainRestoresLoadOrderAndColoursStayWithPositions) {
    const std::vector<PDatasetClass> plans = Plans(12);
    ComparedPlans c;
    c.Choose({0, 1, 2}, plans);
    c.SetPositionColor(0, 0x123456);
    c.PlanGridRow = 1;
    ASSERT_TRUE(c.MoveDown());
    EXPECT_EQ(Order(c), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(c.PlanGridRow, 2);                 // the selection follows the plan
    EXPECT_EQ(c.PositionColor(0), 0x123456);     // the moved plan left its colour behind
    c.Choose({0, 1, 2}, plans);
    EXPECT_EQ(Order(c), (std::vector<int>{0, 1, 2}));

    std::vector<int> all;
    for (int i = 0; i < 12; ++i) all.push_back(i);
    c.Choose(all, plans);
    EXPECT_EQ(c.PlanCompCount, 12);
    EXPECT_EQ(c.PositionColor(1), 0x00FF00);
    EXPECT_EQ(c.PositionColor(9), 0x800080);
    EXPECT_EQ(c.PositionColor(10), 0x0000FF);
    EXPECT_EQ(c.PositionColor(11), 0x0000FF);
}

TEST(ComparedPlans, ArrowsAndRemoveAtTheEnds) {
    const std::vector<PDatasetClass> plans = Plans(3);
    ComparedPlans c;
    c.Choose({0, 1, 2}, plans);
    c.PlanGridRow = 1;
    EXPECT_FALSE(c.MoveUp());
    c.PlanGridRow = 3;
    EXPECT_FALSE(c.MoveDown());
    EXPECT_TRUE(c.MoveUp());
    EXPECT_EQ(Order(c), (std::vector<int>{0, 2, 1}));
    c.PlanGridRow = 3;
    EXPECT_TRUE(c.RemoveSelected());
    EXPECT_EQ(c.PlanGridRow, 3);  // the row stays selected, now without a plan
    EXPECT_FALSE(c.RemoveSelected());
    EXPECT_FALSE(c.MoveUp());
    EXPECT_FALSE(c.MoveDown());
    EXPECT_EQ(Order(c), (std::vector<int>{0, 2}));
}

TEST(ComparedPlans, PlansThatGoAreDroppedAndMovedOnesFoundByKey) {
    std::vector<PDatasetClass> plans = Plans(4);
    ComparedPlans c;
    c.Choose({3, 1}, plans);
    EXPECT_FALSE(c.Reconcile(plans));
    plans.erase(plans.begin());  // every plan after the first moves down one index
    EXPECT_TRUE(c.Reconcile(plans));
    EXPECT_EQ(Order(c), (std::vector<int>{2, 0}));
    EXPECT_EQ(c.Plan(0, plans)->PlanID, "P3");
    plans.clear();  // the main window's list reset
    EXPECT_TRUE(c.Reconcile(plans));
    EXPECT_TRUE(c.Empty());
    EXPECT_EQ(c.Plan(0, plans), nullptr);
}

TEST(ComparedPlans, NameUnionTakesNamesNotDisplayNamesInFirstSeenOrder) {
    PDatasetClass a, b;
    a.DVHDataset.resize(2);
    a.DVHDataset[0].Name = "PTV";
    a.DVHDataset[1].Name = "Rectum";
    a.DVHDataset[1].ModifiedName = "Rectum wall";
    b.DVHDataset.resize(2);
    b.DVHDataset[0].Name = "Bladder";
    b.DVHDataset[1].Name = "PTV";
    EXPECT_EQ(StructureNameUnion({&a, nullptr, &b}),
              (std::vector<std::string>{"PTV", "Rectum", "Bladder"}));
}

TEST(ComparablePlans, FileMustStillHoldThePlanUnlessItIsATableImport) {
    std::ifstream in(std::string(TESSARAY_EXAMPLES) + "/Prostate_OnePlan.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ASSERT_FALSE(text.str().empty());
    TempFolder dir;
    const std::string path = dir.Write("plan.txt", text.str());
    const DvhHeader header = RecogniseDvhHeaderFile(path);
    PDatasetClass plan;
    plan.FilePath = path;
    plan.FileType = header.FileType;
    plan.PatientID = header.fields.PatientID;
    plan.Date = header.fields.Date;
    plan.Time = header.fields.Time;
    EXPECT_TRUE(IsComparablePlan(plan));

    std::string changed = text.str();
    changed.replace(changed.find("09:41:27"), 8, "09:41:28");  // another export of the patient
    dir.Write("plan.txt", changed);
    EXPECT_FALSE(IsComparablePlan(plan));
    std::filesystem::remove(path);
    EXPECT_FALSE(IsComparablePlan(plan));
    plan.FileType = FileTypeBrainScan;  // a plan built from the clipboard has no file
    EXPECT_TRUE(IsComparablePlan(plan));
    EXPECT_EQ(ComparablePlanIndices({PDatasetClass{}, plan}), (std::vector<int>{1}));
}
