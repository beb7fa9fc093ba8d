// OK of the batch plan choice: its checks, the decision per ticked plan and what loading keeps.
#include "batch/BatchLoading.h"

#include "batch/BatchRecords.h"
#include "BatchTestFiles.h"
#include "import/BrainLabTable.h"
#include "import/SaveDvh.h"
#include "platform/AtomicWrite.h"
#include "platform/FileVersion.h"

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

TEST(BatchLoading, TablesAndDescriptionExportsAreReadAndTheLastOneIsShown) {
    dvhtest::TempFolder folder("batch-kinds");
    PDatasetClass table;
    table.FileType = FileTypeBrainScan;
    table.PatientID = "T1";
    table.Date = "2024/01/05";
    table.Time = "10:30:00";
    table.PlanName = "Head";
    table.PlanID = "H1";
    DVHDatasetClass tumour;
    tumour.Name = "GTV";
    tumour.Volume = 4;
    tumour.PrescribedDose = 60;
    tumour.DVset = {{0, 0, 100, 4}, {1, 0.6f, 50, 2}, {2, 1.2f, 0, 0}};
    table.DVHDataset = {tumour};
    Workspace ws;
    const auto keys = ListFiles(ws, {std::string(TESSARAY_EXAMPLES) + "/Prostate_OnePlan_Description.txt",
                                     folder.Write("table.txt", BrainLabTableText(table)),
                                     folder.Write("plan.txt", OnePlanExport("A"))});
    ASSERT_EQ(ws.OpenFile[1].FileType, FileTypeBrainScan);
    const BatchLoadOutcome out = LoadBatchPlans(ws, DecideBatchItems(ws, keys), -1, 3);
    EXPECT_FALSE(out.Failed) << out.Failure.detail;
    ASSERT_EQ(ws.PDatasetCount(), 3);
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 7);
    ASSERT_EQ(ws.PDataset[1].DVHDatasetCount(), 1);
    EXPECT_FLOAT_EQ(ws.PDataset[1].DVHDataset[0].DVset[1].VolumePercent, 50);
    EXPECT_EQ(out.ShownPlan, 1);  // the table, read after the "Description" export
}

namespace {

/// Answers every question with OK and keeps what the save said.
struct AgreeingDialogs : SaveDvhDialogs {
    std::vector<std::string> errors, information;
    void AskOkCancel(const std::string&, const std::string&, std::function<void(bool)> answer) override {
        answer(true);
    }
    void ShowDirectoriesSettings() override {}
    void ShowError(const std::string& text, const std::string&) override { errors.push_back(text); }
    void ShowInformation(const std::string& text, const std::string&) override { information.push_back(text); }
};

}  // namespace

TEST(BatchLoading, APlanReadHereHasTheNamesAndVersionOfItsReadAndIsSavedBackOverNoCompanionItDidNotRead) {
    dvhtest::TempFolder store("batch-store");
    std::filesystem::create_directory(store.Path() + "/Prostate");
    Workspace ws;
    ws.SaveFolder = store.Path();
    ws.PlanListName.resize(1);
    ws.PlanListName[0].Name = "Prostate";
    const std::string path = store.Write("Prostate/A_P1.txt", OnePlanExport("A"));
    const std::string companion =
        store.Write("Prostate/A_P1.mod", "Patient Name\tDoe\r\nPatient ID\tA\r\nPlan Name\tPlan A\r\n"
                                         "Plan ID\tP1\r\nPrescribed dose [cGy]\t6000\r\n0\tTarget\r\n1\t\r\n");
    const auto keys = ListFiles(ws, {path});
    // Written over after it was listed: the plan is that of the file as it is read.
    std::string later = OnePlanExport("A");
    later.replace(later.find("Plan A - P1"), 11, "Plan B - P1");
    ASSERT_TRUE(platform::AtomicWriteFile(path, later));
    const BatchLoadOutcome out = LoadBatchPlans(ws, DecideBatchItems(ws, keys), 0, 1);
    ASSERT_FALSE(out.Failed) << out.Failure.detail;
    ASSERT_EQ(ws.PDatasetCount(), 1);
    EXPECT_EQ(ws.PDataset[0].PlanName, "Plan B");
    EXPECT_EQ(ws.OpenFile[0].PlanName, "Plan B");
    EXPECT_EQ(ws.PDataset[0].ExportRead.Digest, platform::ContentDigest(later));
    EXPECT_EQ(ws.PDataset[0].ExportRead.Identity.Size, static_cast<long long>(later.size()));

    // Saved back into its entry: the batch read no aliases, so the companion there, whose
    // aliases the save would empty, is not replaced.
    ws.CurrentPlanIndex = 0;
    AgreeingDialogs dialogs;
    SaveDvh(ws, "Prostate", true, dialogs);
    EXPECT_EQ(dialogs.errors,
              std::vector<std::string>{"An error occurred while saving data.\nA_P1.txt was loaded without its "
                                       "companion A_P1.mod; nothing was written. Press Reload to read both, then save "
                                       "again. Reload drops the names changed here since the plan was read or saved: "
                                       "note them first."});
    std::string text, mod;
    ASSERT_TRUE(platform::ReadWholeFile(companion, mod));
    EXPECT_NE(mod.find("0\tTarget\r\n"), std::string::npos) << mod;

    // Without a companion there, the export stays and the companion is the plan's, saved again
    // by its user as often as they like.
    std::filesystem::remove(companion);
    for (int save = 0; save < 2; ++save) {
        SaveDvh(ws, "Prostate", true, dialogs);
        EXPECT_EQ(dialogs.errors.size(), 1u);
    }
    EXPECT_EQ(dialogs.information.size(), 2u);
    ASSERT_TRUE(platform::ReadWholeFile(path, text));
    ASSERT_TRUE(platform::ReadWholeFile(companion, mod));
    EXPECT_EQ(text, later);
    EXPECT_NE(mod.find("Plan Name\tPlan B\r\n"), std::string::npos) << mod;
}
