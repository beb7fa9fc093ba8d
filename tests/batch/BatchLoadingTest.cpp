// OK of the batch plan choice: its checks, the decision per ticked plan and what loading keeps.
#include "batch/BatchLoading.h"

#include "batch/BatchRecords.h"
#include "BatchTestFiles.h"

#include <gtest/gtest.h>

using namespace batchtest;

TEST(BatchLoading, OkChecksInTheirOrder) {
    Workspace ws;
    ws.PlanListName.resize(3);
    ws.PlanListName[0].Name = "Prostate";
    ws.PlanListName[2].Name = "Prostate";
    int list = 0;
    EXPECT_EQ(CheckBatchOk(ws, false, "", 3, list), BatchOkCheck::NoPlan);
    EXPECT_EQ(CheckBatchOk(ws, true, "Prostate", 0, list), BatchOkCheck::NoPlan);
    EXPECT_EQ(CheckBatchOk(ws, true, "Prostate", kBatchPlanLimit + 1, list), BatchOkCheck::TooMany);
    EXPECT_EQ(CheckBatchOk(ws, true, "prostate", 1, list), BatchOkCheck::NoPlanList);
    EXPECT_EQ(CheckBatchOk(ws, true, "Prostate", kBatchPlanLimit, list), BatchOkCheck::Ok);
    EXPECT_EQ(list, 2);  // the last list of the name
}

TEST(BatchLoading, EachTickedPlanIsDecidedBeforeAnythingIsRead) {
    Workspace ws;
    auto entry = [&](const std::string& key, int type) {
        OpenFileClass e;
        e.Key = key;
        e.FileType = type;
        e.FilePath = "/nowhere/" + key;
        ws.OpenFile.push_back(e);
    };
    entry("loaded", FileTypePlan);
    entry("sum", FileTypePlanSum);
    entry("new", FileTypePlan);
    entry("desc", FileTypePlanDescription);
    entry("multi", FileTypeMultiDescription);
    entry("xio", FileTypeXiO);
    entry("after", FileTypePlan);
    ws.PDataset.emplace_back();
    ws.PDataset.back().Key = "loaded";

    const std::vector<BatchDecision> d =
        DecideBatchItems(ws, {"loaded", "sum", "new", "gone", "new", "desc", "multi", "xio", "after"});
    const BatchAction expected[] = {BatchAction::Reuse, BatchAction::Refuse, BatchAction::Read,
                                    BatchAction::Gone,  BatchAction::Reuse,  BatchAction::Read,
                                    BatchAction::Refuse, BatchAction::StopXiO};
    ASSERT_EQ(d.size(), std::size(expected));  // nothing after the XiO export is decided
    for (std::size_t i = 0; i < d.size(); ++i) EXPECT_EQ(d[i].Action, expected[i]) << "item " << i;
    EXPECT_EQ(d[0].PlanIndex, 0);
    EXPECT_EQ(d[2].OpenFileIndex, 2);
    EXPECT_EQ(d[4].PlanIndex, -1);  // the same key, read once by item 2
}

TEST(BatchLoading, PlansAreCommittedInListOrderAndOneLinePlansTeachTheirNames) {
    dvhtest::TempFolder folder("batch-commit");
    Workspace ws;
    ws.PlanListName.resize(1);
    ws.PlanListName[0].SNameDB = {"PTV"};
    const auto keys = ListFiles(ws, {folder.Write("b.txt", OnePlanExport("B", Block("Rect"))),
                                     folder.Write("a.txt", OnePlanExport("A"))});
    const BatchLoadOutcome out = LoadBatchPlans(ws, DecideBatchItems(ws, keys), 0, 2);
    EXPECT_FALSE(out.Failed);
    ASSERT_EQ(ws.PDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[0].PatientID, "B");
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, 0);
    EXPECT_EQ(ws.PDataset[1].PatientExtra, "R0001");
    EXPECT_EQ(ws.PlanListName[0].SNameDB, (std::vector<std::string>{"PTV", "BODY", "Rect"}));
    EXPECT_EQ(out.ShownPlan, -1);  // plans of type 2 are not drawn
}
