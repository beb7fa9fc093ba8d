// Workspace reading: dispatch by file type, commit on success, colours, progress and status texts.
#include "dvh/Workspace.h"
#include "import/ImportHandOver.h"

#include "DvhTestText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace dvhtest;

namespace {

std::string OnePlanFile(std::string_view firstName, std::string_view secondName, std::string_view badRow = "") {
    std::string t = Lines({L("Patient Name", "Doe, John (12345) (ABCDE)"), L("Patient ID", "12345"),
                           L("Comment", "DVHs for one plan"), L("Date", "24.12.2014  10:30:00"),
                           L("Type", "Cumulative Dose Volume Histogram"), L("Plan", "Plan A - P1"), "", ""});
    for (std::string_view name : {firstName, secondName}) {
        t += Lines({L("Histogram", "P1 - " + std::string(name)), L("Prescribed dose [Gy]", "60.0"), "", "",
                    L("Volume [cm^3]", "10"), L("Min dose [Gy]", "1"), L("Max dose [Gy]", "2"), L("Mean dose [Gy]", "1.5"),
                    "", "", "", "", "Dose [Gy]\tStructure Volume [cm^3]\tRelative dose [%]", "0\t10\t0", "2\t0\t3.33"});
        if (name == secondName && !badRow.empty()) t += std::string(badRow) + "\n";
        t += "\n\n";
    }
    return t;
}

PlanListNameClass ListWithDatabase() {
    PlanListNameClass list;
    list.Name = "Prostate";
    list.StructureDB = {{"PTV", true, 255, 0, 0, true}, {"body", false, 1, 2, 3, true}, {"Body", true, 0, 0, 9, false}};
    list.SNameDB = {"PTV"};
    return list;
}

class WorkspaceReaders : public ::testing::Test {
protected:
    void SetUp() override { ws.SetHost(&host); }
    /// Appends an empty plan of `fileType` as the opener does.
    PDatasetClass& NewPlan(int fileType, int planListIndex = -1) {
        ws.PDataset.emplace_back();
        ws.PDataset.back().FileType = fileType;
        ws.PDataset.back().PlanListIndex = planListIndex;
        return ws.PDataset.back();
    }
    dvhtest::TempFolder folder{"readers"};
    RecordingHost host;
    Workspace ws;
};

bool ChannelsInRange(TColor c) {
    return ColorRed(c) >= 1 && ColorGreen(c) >= 1 && ColorBlue(c) >= 1 && c <= 0xFFFFFF;
}

}  // namespace

TEST_F(WorkspaceReaders, ColoursAndVisibilityFromThePlanListOrRandom) {
    const std::string path = folder.Write("plan.txt", OnePlanFile("PTV", "BODY"));
    ws.PlanListName.push_back(ListWithDatabase());

    NewPlan(2, -1);
    ASSERT_TRUE(ws.ReadDvhFile(path).ok());
    for (const auto& s : ws.PDataset[0].DVHDataset) {
        EXPECT_TRUE(s.Visible);  // no plan list: everything shown
        EXPECT_TRUE(ChannelsInRange(s.Color));
    }

    NewPlan(2, 0);
    ASSERT_TRUE(ws.ReadDvhFile(path).ok());
    const auto& linked = ws.PDataset[1].DVHDataset;
    EXPECT_EQ(linked[0].Color, RgbColor(255, 0, 0));
    EXPECT_TRUE(linked[0].Visible);
    // "BODY" matches "body" and "Body" with case ignored: the last entry wins.
    EXPECT_EQ(linked[1].Color, RgbColor(0, 0, 9));
    EXPECT_FALSE(linked[1].Visible);
    EXPECT_EQ(ws.PDataset[1].BodyIndex, 1);
    // The one-plan reader teaches the list the names it lacks, once.
    EXPECT_EQ(ws.PlanListName[0].SNameDB, (std::vector<std::string>{"PTV", "BODY"}));

    host.caseSensitive = true;  // read live: now no entry equals "BODY"
    NewPlan(2, 0);
    ASSERT_TRUE(ws.ReadDvhFile(path).ok());
    EXPECT_FALSE(ws.PDataset[2].DVHDataset[1].Visible);
    EXPECT_TRUE(ChannelsInRange(ws.PDataset[2].DVHDataset[1].Color));
    EXPECT_EQ(ws.PlanListName[0].SNameDB.size(), 2u);

    // A database entry without a fixed colour gives a random colour and its visibility.
    DVHDatasetClass s;
    s.Name = "body";
    ws.SetStructureColour(s, 0);
    EXPECT_TRUE(s.Visible);
    EXPECT_TRUE(ChannelsInRange(s.Color));
}

TEST_F(WorkspaceReaders, FailedReadLeavesThePlanWholeAndSaysWhereOnTheStatusBar) {
    const std::string good = folder.Write("good.txt", OnePlanFile("PTV", "Rectum"));
    const std::string bad = folder.Write("bad.txt", OnePlanFile("PTV", "Rectum", "3\t1O\t5"));
    ws.PlanListName.push_back(ListWithDatabase());
    NewPlan(2, 0);
    ASSERT_TRUE(ws.ReadDvhFile(good).ok());
    const auto before = ws.PDataset[0].DVHDataset.size();

    ReadResult r = ws.ReadDvhFile(bad);
    EXPECT_EQ(r.status, ReadStatus::BadNumber);
    EXPECT_EQ(r.line, 41);
    EXPECT_EQ(ws.PDataset[0].DVHDataset.size(), before);  // nothing half read, nothing lost
    EXPECT_EQ(ws.PlanListName[0].SNameDB.size(), 2u);       // and no names from the failed read
    ASSERT_EQ(host.status.size(), 1u);
    EXPECT_EQ(host.status[0], "Cannot read bad.txt, line 41: \"1O\" is not a number");
    EXPECT_TRUE(Workspace::ShowPlanAfterRead(2, r));

    EXPECT_EQ(ws.ReadDvhFile(folder.Write("none.txt", "")).status, ReadStatus::NoStructures);
    EXPECT_EQ(ws.ReadDvhFile(good + ".missing").status, ReadStatus::NotFound);
    EXPECT_EQ(ws.PDataset[0].DVHDataset.size(), before);
}

TEST_F(WorkspaceReaders, ProgressRunsToFortyOnceAndAlsoAfterFailure) {
    const std::string path = folder.Write("plan.txt", OnePlanFile("PTV", "Body"));
    for (const std::string& file : {path, folder.Write("bad.txt", "Patient Name\n")}) {
        host.steps.clear();
        NewPlan(2);
        ws.ReadDvhFile(file);
        EXPECT_EQ(host.maximum, 40);
        ASSERT_FALSE(host.steps.empty());
        EXPECT_EQ(host.steps.back(), 40);
        for (std::size_t i = 1; i < host.steps.size(); ++i) EXPECT_EQ(host.steps[i], host.steps[i - 1] + 1);
    }
    EXPECT_EQ(host.begins, 2);
    EXPECT_EQ(host.ends, 2);
}

TEST_F(WorkspaceReaders, DispatchesByFileType) {
    const std::string path = folder.Write("plan.txt", OnePlanFile("PTV", "Body"));
    for (int multi : {4, 14}) {
        NewPlan(multi);
        ReadResult r = ws.ReadDvhFile(path);
        EXPECT_EQ(r.status, ReadStatus::MultiPlan);
        EXPECT_EQ(host.status.back(), "Plan Comparison DVH File cannot read this program.");
        EXPECT_TRUE(ws.PDataset.back().DVHDataset.empty());
        EXPECT_FALSE(Workspace::ShowPlanAfterRead(multi, r));
    }
    EXPECT_EQ(host.begins, 0);  // refused before any progress is shown

    // BrainSCAN, iPlan and XiO are read above the model: a workspace not handed their readers
    // refuses them and counts nothing.
    for (int imported : {5, 6, 7}) {
        NewPlan(imported);
        EXPECT_EQ(ws.ReadDvhFile(path).status, ReadStatus::UnknownFileType);
        EXPECT_TRUE(ws.PDataset.back().DVHDataset.empty());
        EXPECT_FALSE(ws.PendingXiO.Active);
        EXPECT_EQ(ws.ExportStructureCount(path, imported), std::nullopt);
    }

    // A one-plan export handed to the BrainLAB table reader fails on its line 7, naming the file.
    InstallImportReaders(ws);
    for (int brainLab : {5, 6}) {
        NewPlan(brainLab);
        EXPECT_EQ(ws.ReadDvhFile(path).status, ReadStatus::BadNumber);
        EXPECT_NE(host.status.back().find("plan.txt"), std::string::npos);
        EXPECT_TRUE(ws.PDataset.back().DVHDataset.empty());
    }

    // The description reader takes only its own two codes.
    NewPlan(2);
    EXPECT_EQ(ws.ReadDvhTextBlocks(path).status, ReadStatus::UnknownFileType);
    EXPECT_TRUE(ws.PDataset.back().DVHDataset.empty());
    ws.PDataset.clear();
    EXPECT_EQ(ws.ReadDvhFile(path).status, ReadStatus::NoPlan);
}

TEST_F(WorkspaceReaders, HeadlessLoadOfEveryExample) {
    struct Example { const char* file; int code; const char* planID; float dose; } examples[] = {
        {"Prostate_OnePlan.txt", 2, "P1", 0},
        {"Prostate_PlanSum.txt", 3, "PlanSum Prostate+Boost", 78},
        {"Prostate_OnePlan_Description.txt", 12, "ProstateVMAT", 0},
        {"Prostate_PlanSum_Description.txt", 13, "PlanSum_Prostate", 78},
    };
    const std::vector<std::string> names = {"PTV", "CTV", "Rectum", "Bladder", "Femur_L", "Femur_R", "Body"};
    for (const Example& e : examples) {
        SCOPED_TRACE(e.file);
        const std::string path = std::string(TESSARAY_EXAMPLES) + "/" + e.file;
        const int plan = ws.LoadDvhFileHeadless(path, e.dose);
        ASSERT_GE(plan, 0) << ws.LastReadResult.detail << " line " << ws.LastReadResult.line;
        const PDatasetClass& p = ws.PDataset[plan];
        EXPECT_EQ(p.FileType, e.code);
        EXPECT_EQ(p.PlanID, e.planID);
        EXPECT_EQ(p.PatientID, "PR-0042");
        EXPECT_EQ(p.Key, p.PatientID + p.PlanID + p.Date + " " + p.Time);
        ASSERT_EQ(p.DVHDatasetCount(), 7);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(p.DVHDataset[i].Name, names[i]);
        EXPECT_EQ(p.BodyIndex, 6);
        for (const auto& s : p.DVHDataset) {
            EXPECT_NEAR(s.PrescribedDose, 78.0, 1e-4);
            EXPECT_NEAR(s.DVset.front().VolumePercent, 100.0, 1e-3);
            EXPECT_NEAR(s.DVset.back().VolumePercent, 0.0, 1e-3);
            EXPECT_GT(s.MaxDoseGy, s.MeanDoseGy);
        }
        EXPECT_NEAR(p.DVHDataset[0].MeanDoseGy, 79.16, 0.05);  // PTV
    }
    EXPECT_EQ(ws.OpenFileCount(), 4);
    EXPECT_EQ(ws.PDatasetCount(), 4);
}

TEST_F(WorkspaceReaders, HeadlessLoadRemovesThePlanAgainOnFailure) {
    const std::string path = folder.Write("plan.txt", OnePlanFile("PTV", "Body"));
    EXPECT_EQ(ws.LoadDvhFileHeadless(path, 0), 0);
    EXPECT_EQ(ws.LoadDvhFileHeadless(path, 0), 1);  // a second plan, no second list entry
    EXPECT_EQ(ws.OpenFileCount(), 1);

    // The same key as the listed file, but it is this file that is read.
    const std::string bad = folder.Write("bad.txt", OnePlanFile("PTV", "Body", "x\ty\tz"));
    EXPECT_EQ(ws.LoadDvhFileHeadless(bad, 0), -1);
    EXPECT_EQ(ws.PDatasetCount(), 2);
    EXPECT_EQ(ws.LastReadResult.status, ReadStatus::BadNumber);

    std::string sum = OnePlanFile("PTV", "Body");
    sum.replace(sum.find("DVHs for one plan"), 17, "DVHs for a Summed Plan");
    const std::string sumPath = folder.Write("sum.txt", sum);
    EXPECT_EQ(ws.LoadDvhFileHeadless(sumPath, 0), -1);  // a plan sum needs a dose above 0
    EXPECT_EQ(ws.LastReadResult.status, ReadStatus::BadPrescribedDose);
    EXPECT_EQ(ws.PDatasetCount(), 2);
    EXPECT_EQ(ws.LoadDvhFileHeadless(folder.Write("junk.txt", "\x7f" "ELF"), 50), -1);
    EXPECT_EQ(ws.LastHeaderResult.status, ReadStatus::Unrecognised);
}
