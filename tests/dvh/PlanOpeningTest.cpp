// Opening plans without windows: taking files, loading by key, the continuations of the
// plan-list choice and the dose prompt, reloading, the scan and the list reset.
#include "dvh/Workspace.h"
#include "platform/FileVersion.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string kData = std::string(TESSARAY_TEST_DATA) + "/opening/";

std::string Fixture(const std::string& name) { return kData + name; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class PlanOpening : public ::testing::Test {
protected:
    void SetUp() override { ws.SetHost(&host); }
    void AddLists(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            PlanListNameClass l;
            l.Name = n;
            ws.PlanListName.push_back(l);
        }
    }
    /// Open of one file, run until it needs the user or has read the plan.
    LoadOrder OpenOne(const std::string& path) {
        const auto taken = ws.TakeFiles({path}, true);
        EXPECT_EQ(taken.Accepted, 1) << path;
        return ws.BeginLoadByKey(taken.LastKey);
    }
    dvhtest::RecordingHost host;
    Workspace ws;
};

TEST_F(PlanOpening, OpenStopsAtAnUnreadableFileAndDropSkipsIt) {
    // Unreadable first: nothing listed.
    auto r = ws.TakeFiles({Fixture("not_a_dvh.txt"), Fixture("head_H1.txt")}, true);
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(ws.OpenFileCount(), 0);
    // Readable first: its entry stays, the command still stops.
    r = ws.TakeFiles({Fixture("head_H1.txt"), Fixture("several_plans.txt"),
                      Fixture("prostate_P2.txt")},
                     true);
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(r.Appended, 1);
    EXPECT_EQ(ws.OpenFileCount(), 1);
    // Drop skips unreadable files and takes the rest; a listed key is not listed again.
    r = ws.TakeFiles({Fixture("not_a_dvh.txt"), Fixture("head_H1.txt"),
                      Fixture("prostate_P2.txt"), Fixture("several_plans.txt")},
                     false);
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(r.Accepted, 2);
    EXPECT_EQ(r.Appended, 1);
    ASSERT_EQ(ws.OpenFileCount(), 2);
    EXPECT_EQ(ws.OpenFile[1].PlanID, "P2");
    // A second file with the key of a listed one adds no entry.
    r = ws.TakeFiles({Fixture("head_H1_copy.txt")}, false);
    EXPECT_EQ(r.Accepted, 1);
    EXPECT_EQ(r.Appended, 0);
    EXPECT_EQ(ws.OpenFileCount(), 2);
    EXPECT_EQ(ws.PDatasetCount(), 0);  // taking files loads nothing
}

TEST_F(PlanOpening, ExactlyOneMatchingListLinksThePlanAndReadsIt) {
    AddLists({"Prostate", "Head"});
    const LoadOrder order = OpenOne(Fixture("head_H1.txt"));
    ASSERT_EQ(order.Step, LoadStep::Read);
    ASSERT_EQ(ws.PDatasetCount(), 1);
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, 1);
    EXPECT_EQ(ws.ReadPendingPlan(), 0);
    EXPECT_EQ(ws.FinishPendingLoad(), 0);
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[0].PatientExtra, "AB123");
    // Opened again: the loaded plan is shown, no second plan.
    const LoadOrder again = OpenOne(Fixture("head_H1.txt"));
    EXPECT_EQ(again.Step, LoadStep::ShowExisting);
    EXPECT_EQ(again.PlanIndex, 0);
    EXPECT_EQ(ws.PDatasetCount(), 1);
}

TEST_F(PlanOpening, NoneOrSeveralMatchingListsAskTheUser) {
    AddLists({"Prostate", "Lung", "Head"});
    // "Prostate Lung" names two lists.
    LoadOrder order = OpenOne(Fixture("prostate_P2.txt"));
    ASSERT_EQ(order.Step, LoadStep::ChoosePlanList);
    EXPECT_EQ(ws.PDataset[order.PlanIndex].PlanListIndex, -1);
    EXPECT_EQ(ws.Pending.OpenFileIndex, 0);
    order = ws.PlanListChosen(1);
    ASSERT_EQ(order.Step, LoadStep::Read);
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, 1);
    ws.ReadPendingPlan();
    ws.FinishPendingLoad();
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 2);
    EXPECT_FALSE(ws.Pending.Active);

    Workspace none;
    none.TakeFiles({Fixture("head_H1.txt")}, true);
    EXPECT_EQ(none.BeginLoadByKey(none.OpenFile[0].Key).Step, LoadStep::ChoosePlanList);
}

TEST_F(PlanOpening, PlanSumReadsOnlyWithTheDoseGivenForIt) {
    AddLists({"Head"});
    const LoadOrder order = OpenOne(Fixture("plansum_S1.txt"));
    ASSERT_EQ(order.Step, LoadStep::AskDose);
    // Without a dose for this load nothing is read, whatever an earlier load left.
    ws.PlanSumPrescribedDose = 55.0f;
    EXPECT_EQ(ws.ReadPendingPlan(), -1);
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 0);
    ASSERT_EQ(ws.DoseEntered(60.0f).Step, LoadStep::Read);
    ASSERT_EQ(ws.ReadPendingPlan(), 0);
    ws.FinishPendingLoad();
    ASSERT_EQ(ws.PDataset[0].DVHDatasetCount(), 2);
    EXPECT_FLOAT_EQ(ws.PDataset[0].DVHDataset[0].PrescribedDose, 60.0f);
}

TEST_F(PlanOpening, CancelRemovesExactlyThePlanThatWaitedForItsDose) {
    AddLists({"Head", "Prostate"});
    OpenOne(Fixture("head_H1.txt"));
    ws.ReadPendingPlan();
    ws.FinishPendingLoad();
    const LoadOrder sum = OpenOne(Fixture("plansum_S1.txt"));
    ASSERT_EQ(sum.Step, LoadStep::AskDose);
    ASSERT_EQ(sum.PlanIndex, 1);
    // Another plan is appended while the prompt waits (a clipboard import, say).
    ws.PDataset.push_back(PDatasetClass{});
    ws.PDataset.back().Key = "other";
    ws.CurrentPlanIndex = 2;
    EXPECT_TRUE(ws.CancelPendingLoad());
    ASSERT_EQ(ws.PDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[0].PlanID, "H1");
    EXPECT_EQ(ws.PDataset[1].Key, "other");
    EXPECT_EQ(ws.CurrentPlanIndex, 1);  // still the same plan
    EXPECT_EQ(ws.OpenFileCount(), 2);   // the file stays listed
    EXPECT_FALSE(ws.Pending.Active);
    EXPECT_FALSE(ws.CancelPendingLoad());  // a second Cancel removes nothing
    EXPECT_EQ(ws.PDatasetCount(), 2);
}

TEST_F(PlanOpening, ASecondLoadNeverReplacesOneThatWaitsForTheUser) {
    AddLists({"Head"});
    ASSERT_EQ(OpenOne(Fixture("plansum_S1.txt")).Step, LoadStep::AskDose);
    ws.TakeFiles({Fixture("prostate_P2.txt")}, true);
    EXPECT_EQ(ws.BeginLoadByKey(ws.OpenFile[1].Key).Step, LoadStep::Nothing);
    EXPECT_EQ(ws.BeginReload(ws.OpenFile[1].Key).Step, LoadStep::Nothing);
    EXPECT_EQ(ws.PDatasetCount(), 1);
    // The waiting plan still gets its own answer.
    ASSERT_EQ(ws.DoseEntered(60.0f).Step, LoadStep::Read);
    EXPECT_EQ(ws.ReadPendingPlan(), 0);
    ws.FinishPendingLoad();
    EXPECT_EQ(ws.PDataset[0].PlanID, "Head Sum");
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 2);
    // Once it is done, the next load goes ahead.
    EXPECT_NE(ws.BeginLoadByKey(ws.OpenFile[1].Key).Step, LoadStep::Nothing);
}

TEST_F(PlanOpening, ReloadFillsItsOwnPlanInPlaceAndCancelKeepsIt) {
    dvhtest::TempFolder folder("reload");
    const std::string a = folder.Write("a.txt", ReadText(Fixture("head_H1.txt")));
    AddLists({"Head", "Prostate"});
    OpenOne(a);
    ws.ReadPendingPlan();
    ws.FinishPendingLoad();
    OpenOne(Fixture("prostate_P2.txt"));  // "Prostate Lung": only "Prostate" is a list here
    ws.ReadPendingPlan();
    ws.FinishPendingLoad();
    ASSERT_EQ(ws.PDatasetCount(), 2);
    ASSERT_EQ(ws.PDataset[1].PlanListIndex, 1);
    EXPECT_EQ(ws.PDataset[0].ExportRead.Digest, platform::ContentDigest(ReadText(a)));

    // The file of plan 0 loses a structure on disk; Reload replaces plan 0's structures.
    std::string text = ReadText(a);
    text = text.substr(0, text.find("Histogram            : S - Rectum"));
    folder.Write("a.txt", text);
    const LoadOrder order = ws.BeginReload(ws.PDataset[0].Key);
    ASSERT_EQ(order.Step, LoadStep::Read);
    EXPECT_EQ(order.PlanIndex, 0);
    EXPECT_EQ(ws.ReadPendingPlan(), 0);
    ws.FinishPendingLoad();
    ASSERT_EQ(ws.PDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 1);
    EXPECT_EQ(ws.PDataset[1].DVHDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[1].PlanID, "P2");
    // Each read keeps the version of the bytes it took.
    EXPECT_EQ(ws.PDataset[0].ExportRead.Digest, platform::ContentDigest(text));
    EXPECT_EQ(ws.PDataset[0].ExportRead.Identity.Size, static_cast<long long>(text.size()));

    // A reload that waits for a plan list and is then cancelled never removes the plan.
    ws.PlanListName.clear();
    ASSERT_EQ(ws.BeginReload(ws.PDataset[0].Key).Step, LoadStep::ChoosePlanList);
    EXPECT_FALSE(ws.CancelPendingLoad());
    EXPECT_EQ(ws.PDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 1);
}

TEST_F(PlanOpening, AReadOfAFileThatNowHoldsAnotherLoadedPlanIsRefused) {
    dvhtest::TempFolder folder("taken-key");
    const std::string a = folder.Write("a.txt", ReadText(Fixture("head_H1.txt")));
    AddLists({"Head", "Prostate"});
    OpenOne(a);
    ws.ReadPendingPlan();
    ws.FinishPendingLoad();
    OpenOne(Fixture("prostate_P2.txt"));
    ws.ReadPendingPlan();
    ws.FinishPendingLoad();
    ASSERT_EQ(ws.PDatasetCount(), 2);
    const int curves = ws.PDataset[0].DVHDatasetCount();
    ASSERT_GT(curves, 0);

    // Another export of the second plan has taken the first plan's file name since.
    folder.Write("a.txt", ReadText(Fixture("prostate_P2.txt")));
    ASSERT_EQ(ws.BeginReload(ws.PDataset[0].Key).Step, LoadStep::Read);
    EXPECT_EQ(ws.ReadPendingPlan(), -1);
    ASSERT_FALSE(host.status.empty());
    EXPECT_EQ(host.status.back(),
              "a.txt now holds the plan Prostate Lung, which is loaded already: it was not read again.");
    EXPECT_FALSE(ws.Pending.Active);
    // Two plans still, of two keys: the first is not the second's twin, and keeps what it read.
    ASSERT_EQ(ws.PDatasetCount(), 2);
    EXPECT_NE(ws.PDataset[0].Key, ws.PDataset[1].Key);
    EXPECT_EQ(ws.PDataset[0].PatientID, "111");
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), curves);
    EXPECT_EQ(ws.PDataset[1].PatientID, "222");
}

TEST_F(PlanOpening, RowCommandsUseTheRowsOwnEntryWhenKeysAreShared) {
    AddLists({"Head"});
    ws.ScanFolder(kData);  // lists both files of the shared key
    int first = -1, second = -1;
    for (int i = 0; i < ws.OpenFileCount(); ++i) {
        if (ws.OpenFile[i].FilePath == Fixture("head_H1.txt")) first = i;
        if (ws.OpenFile[i].FilePath == Fixture("head_H1_copy.txt")) second = i;
    }
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    ASSERT_EQ(ws.OpenFile[first].Key, ws.OpenFile[second].Key);
    const int lastWithKey = std::max(first, second), other = std::min(first, second);
    const LoadOrder order = ws.BeginLoadOfRow(ws.OpenFile[other].Key, other);
    ASSERT_EQ(order.Step, LoadStep::Read);
    EXPECT_EQ(ws.Pending.OpenFileIndex, other);
    EXPECT_EQ(ws.Pending.FilePath, ws.OpenFile[other].FilePath);
    EXPECT_NE(ws.Pending.FilePath, ws.OpenFile[lastWithKey].FilePath);
}

TEST_F(PlanOpening, ScanListsTheFolderAndLoadedPlansWhoseFilesStillHoldThem) {
    dvhtest::TempFolder elsewhere("scan-elsewhere");
    const std::string outside = elsewhere.Write("outside.txt", ReadText(Fixture("prostate_P2.txt")));
    AddLists({"Prostate"});
    OpenOne(outside);
    ws.ReadPendingPlan();
    ws.FinishPendingLoad();
    ws.PDataset.push_back(PDatasetClass{});  // a clipboard-built BrainLAB plan
    ws.PDataset.back().Key = "clip";
    ws.PDataset.back().FilePath = "temp";
    ws.PDataset.back().FileType = FileTypeBrainScan;

    ws.ScanFolder(kData);
    // head_H1, head_H1_copy (same key, both listed), prostate_P2, plansum_S1; then the plan
    // loaded from outside (its key equals prostate_P2's, so it is already listed) and the
    // clipboard plan.
    std::vector<std::string> paths;
    for (const auto& e : ws.OpenFile) paths.push_back(e.FilePath);
    EXPECT_EQ(ws.OpenFileCount(), 5) << ::testing::PrintToString(paths);
    EXPECT_EQ(ws.OpenFile.back().Key, "clip");

    // Only the outside plan has its key: listed while its file still holds it.
    Workspace alone;
    alone.TakeFiles({outside}, true);
    ASSERT_EQ(alone.BeginLoadByKey(alone.OpenFile[0].Key).Step, LoadStep::ChoosePlanList);
    alone.PlanListChosen(-1);
    alone.ReadPendingPlan();
    alone.FinishPendingLoad();
    alone.ScanFolder("/nonexistent-tessaray-folder");
    ASSERT_EQ(alone.OpenFileCount(), 1);
    EXPECT_EQ(alone.OpenFile[0].FilePath, outside);
    std::string changed = ReadText(outside);
    changed.replace(changed.find("Roe, Richard"), 12, "Roe, Rachel ");
    elsewhere.Write("outside.txt", changed);
    alone.ScanFolder("");
    EXPECT_EQ(alone.OpenFileCount(), 0);
}

TEST_F(PlanOpening, ListsAreNotClearedWhileAFileIsRead) {
    AddLists({"Head"});
    OpenOne(Fixture("head_H1.txt"));
    ws.IndexRowColor = {1, 2};
    ws.FileReadDepth = 1;
    EXPECT_FALSE(ws.ResetLists(true));
    EXPECT_EQ(ws.PDatasetCount(), 1);
    EXPECT_EQ(ws.OpenFileCount(), 1);
    ws.FileReadDepth = 0;
    EXPECT_TRUE(ws.ResetLists(false));
    EXPECT_EQ(ws.PDatasetCount(), 0);
    EXPECT_EQ(ws.OpenFileCount(), 0);
    EXPECT_EQ(ws.IndexRowColor.size(), 2u);  // "Clear List" keeps the row colours
    EXPECT_FALSE(ws.Pending.Active);
    EXPECT_EQ(ws.CurrentPlanIndex, -1);
    // The waiting load is gone with its plan: its continuation does nothing.
    EXPECT_EQ(ws.PlanListChosen(0).Step, LoadStep::Nothing);
    ws.IndexRowColor = {1};
    EXPECT_TRUE(ws.ResetLists(true));
    EXPECT_TRUE(ws.IndexRowColor.empty());
}

}  // namespace
