// XiO exports: the names pass, the cumulative curve of each block, the ends and refusals, the
// dose field rule, and the load from the names pass to the dialog's answer.
#include "import/XiOExport.h"

#include "dvh/Workspace.h"
#include "import/ImportHandOver.h"
#include "import/PrescribedDoseText.h"
#include "import/XiOLoad.h"
#include "dvh/StoreEntry.h"
#include "platform/FileVersion.h"
#include "platform/OpenedFile.h"

#include "../dvh/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace dvhtest;

namespace {

/// One block: title, patient, plan, name, unused, count, date, unused, rows.
std::string Block(const std::string& name, std::initializer_list<const char*> rows, const std::string& count = "") {
    std::string t = "XiO Dose Volume Histogram v4\nP-7\nPlan X\n" + name + "\n-\n" +
                    (count.empty() ? std::to_string(rows.size()) : count) + "\tbins\n2024-01-05\n-\n";
    for (const char* r : rows) t += std::string(r) + "\n";
    return t;
}

}  // namespace

TEST(XiOExport, WorkedExampleCountsEachPointsOwnBin) {
    // D = 60 Gy, bins 0 / 2 / 1 / 0 cc at 0 / 100 / 200 / 300 cGy: T = 3. Point j holds its own
    // bin and every later one: 3, 3, 1, 0 cc = 100, 100, 33.333, 0 %.
    ParsedPlan plan;
    ASSERT_TRUE(ParseXiODvh(Block("PTV", {"0,0", "100,2", "200,1", "300,0"}), 60, plan));
    ASSERT_EQ(plan.DVHDataset.size(), 1u);
    const DVHDatasetClass& s = plan.DVHDataset[0];
    EXPECT_FLOAT_EQ(s.Volume, 3);
    const float cc[] = {3, 3, 1, 0}, pc[] = {100, 100, 33.333f, 0}, gy[] = {0, 1, 2, 3};
    ASSERT_EQ(s.DVset.size(), 4u);
    for (int j = 0; j < 4; ++j) {
        EXPECT_FLOAT_EQ(s.DVset[j].VolumeCc, cc[j]);
        EXPECT_FLOAT_EQ(s.DVset[j].VolumePercent, pc[j]);
        EXPECT_FLOAT_EQ(s.DVset[j].DoseGy, gy[j]);
        EXPECT_NEAR(s.DVset[j].DosePercent, j * 100 / 60.0, 1e-5);
    }
    // Minimum: last point still at 100 % (1.667); maximum: last above 0 % (3.333); mean:
    // (100 - 33.333) x 0.01 x 1.667 + 33.333 x 0.01 x 3.333 = 2.222.
    EXPECT_NEAR(s.MinDosePercent, 1.6667, 1e-3);
    EXPECT_NEAR(s.MaxDosePercent, 3.3333, 1e-3);
    EXPECT_NEAR(s.MeanDosePercent, 2.2222, 1e-3);
    EXPECT_NEAR(s.MeanDoseGy, 1.3333, 1e-3);
    EXPECT_NEAR(s.MinDoseGy, 1.0, 1e-4);

    // Blanks anywhere in a row change nothing; a first bin with volume makes the minimum 0.
    ParsedPlan blanks;
    ASSERT_TRUE(ParseXiODvh(Block("PTV", {" 0 , 1", "1 00,\t2 ", "200 ,0"}), 60, blanks));
    EXPECT_FLOAT_EQ(blanks.DVHDataset[0].DVset[1].DoseGy, 1);
    EXPECT_FLOAT_EQ(blanks.DVHDataset[0].DVset[1].VolumeCc, 2);
    EXPECT_FLOAT_EQ(blanks.DVHDataset[0].MinDosePercent, 0);

    // All bins 0: every value 0, never NaN.
    ParsedPlan empty;
    ASSERT_TRUE(ParseXiODvh(Block("Air", {"0,0", "100,0"}), 60, empty));
    const DVHDatasetClass& air = empty.DVHDataset[0];
    for (float v : {air.Volume, air.DVset[0].VolumePercent, air.MinDosePercent, air.MaxDosePercent, air.MeanDosePercent})
        EXPECT_EQ(v, 0);
}

TEST(XiOExport, BlocksEndAtTheFirstLineThatIsNoTitle) {
    const std::string two = Block("External", {"0,1"}) + Block("body", {"0,1"}) + Block("PTV", {"0,1"});
    std::vector<std::string> names;
    ASSERT_TRUE(ParseXiONames(two, names));
    EXPECT_EQ(names, (std::vector<std::string>{"External", "body", "PTV"}));
    EXPECT_EQ(XiONormalTissueItem(names), 2);
    EXPECT_EQ(XiONormalTissueItem({"Body", "Expanded", "x"}), 2);
    EXPECT_EQ(XiONormalTissueItem({"x"}), 0);

    // A line between two blocks ends the file's blocks: only the first structure.
    const std::string gap = Block("External", {"0,1"}) + "\n" + Block("body", {"0,1"});
    ASSERT_TRUE(ParseXiONames(gap, names));
    EXPECT_EQ(names.size(), 1u);
    ParsedPlan plan;
    ASSERT_TRUE(ParseXiODvh(gap, 50, plan));
    EXPECT_EQ(plan.DVHDataset.size(), 1u);
}

TEST(XiOExport, RefusesBrokenFilesAndLeavesNothing) {
    const std::string whole = Block("PTV", {"0,1", "100,2"});
    struct Case { const char* what; std::string text; ReadStatus status; };
    const Case cases[] = {
        {"no block", "hello\n", ReadStatus::NoStructures},
        {"ends in the header", whole.substr(0, whole.find("-\n")), ReadStatus::Truncated},
        {"ends in the rows", whole.substr(0, whole.size() - 6), ReadStatus::Truncated},
        {"count far beyond the rows", Block("PTV", {"0,1"}, "999999999"), ReadStatus::Truncated},
        {"count no number", Block("PTV", {"0,1"}, "many"), ReadStatus::BadNumber},
        {"negative count", Block("PTV", {"0,1"}, "-1"), ReadStatus::BadNumber},
        {"row without comma", Block("PTV", {"0 1"}), ReadStatus::BadRow},
        {"row with letters", Block("PTV", {"0,x"}), ReadStatus::BadRow},
        {"binary", std::string("XiO Dose Volume Histogram\0\xff\n\n", 29), ReadStatus::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> names{"old"};
        const ReadResult n = ParseXiONames(c.text, names);
        ParsedPlan plan;
        const ReadResult r = ParseXiODvh(c.text, 60, plan);
        EXPECT_EQ(r.status, c.status) << r.detail;
        EXPECT_TRUE(plan.DVHDataset.empty());
        // The names pass does not read rows: it fails the same way except on row content.
        if (c.status != ReadStatus::BadRow) {
            EXPECT_EQ(n.status, c.status);
        }
        if (!n) {
            EXPECT_TRUE(names.empty());
        }
    }
    ParsedPlan plan;
    EXPECT_EQ(ParseXiODvh(whole, 0, plan).status, ReadStatus::BadPrescribedDose);
}

TEST(PrescribedDoseText, AboveNinetyIsCentigray) {
    // Each unit as it follows a field that showed "cGy": a text that is no number keeps it.
    struct Case { const char* text; const char* unit; float gy; };
    const Case cases[] = {{"6000", "cGy", 60}, {"90", "Gy", 90}, {"90.5", "cGy", 0.905f}, {"89.9", "Gy", 89.9f},
                          {"60", "Gy", 60},    {"0", "Gy", -1},  {".", "cGy", -1},         {"", "Gy", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(PrescribedDoseUnit(c.text, "cGy"), c.unit);
        const auto gy = PrescribedDoseGy(c.text);
        if (c.gy < 0)
            EXPECT_FALSE(gy);
        else
            EXPECT_FLOAT_EQ(gy.value_or(-1), c.gy);
    }
    EXPECT_EQ(FilterDoseInput("", "6a0.0.5"), "60.05");
    EXPECT_EQ(FilterDoseInput("60.", "1.5"), "15");
}

TEST(XiOLoad, StorePlanTakesTheCompanionAndCancelOrFailureRemovesOnlyItsPlan) {
    TempFolder folder("xio-load");
    RecordingHost host;
    Workspace ws;
    ws.SetHost(&host);
    InstallImportReaders(ws);
    ws.PlanListName.emplace_back().Name = "Pelvis";
    const std::string path = folder.Write("Pelvis_x.txt", Block("External", {"0,1", "100,1"}) + Block("PTV", {"0,0", "100,2"}));
    folder.Write("Pelvis_x.mod", "Patient Name\tAnn\nPatient ID\tNULL\nPlan Name\tNULL\nPlan ID\tNULL\n"
                                 "Prescribed dose [cGy]\t6000\n0\tSkin\n1\t\n");
    ws.PDataset.emplace_back();  // a plan the user had before: never touched
    ws.PDataset.back().Key = "other";

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        DvhHeader h = RecogniseDvhHeaderFile(path);
        ASSERT_EQ(h.FileType, FileTypeXiO);
        const LoadOrder order = ws.BeginLoadFromStore(path, h.FileType, h.fields, "Pelvis", nullptr);
        ASSERT_EQ(order.Step, LoadStep::Read);
        ASSERT_GE(ws.ReadPendingPlan(), 0);
        const int p = HandOverPendingXiO(ws);
        ASSERT_EQ(p, 1);
        EXPECT_FALSE(ws.Pending.Active);
        EXPECT_EQ(ws.PDataset[p].PatientName, "Ann");
        EXPECT_EQ(ws.PendingXiO.Names, (std::vector<std::string>{"External", "PTV"}));
        EXPECT_EQ(ws.PendingXiO.ModDoseText(), "6000");
        if (round == 0) {
            EXPECT_TRUE(CancelXiOLoad(ws));
            EXPECT_EQ(ws.PDatasetCount(), 1);
            continue;
        }
        XiODialogAnswer answer{"Ann", "P-7", "Plan X", "Plan X", *PrescribedDoseGy(ws.PendingXiO.ModDoseText()), 1, 1};
        if (round == 1) {
            // The file breaks between the passes: the read fails and the load's plan goes.
            folder.Write("Pelvis_x.txt", Block("External", {"0,1", "100"}));
            EXPECT_EQ(FinishXiOLoad(ws, answer).status, ReadStatus::BadRow);
            EXPECT_EQ(ws.PDatasetCount(), 1);
            EXPECT_EQ(ws.PDataset[0].Key, "other");
            folder.Write("Pelvis_x.txt", Block("External", {"0,1", "100,1"}) + Block("PTV", {"0,0", "100,2"}));
            continue;
        }
        ASSERT_TRUE(FinishXiOLoad(ws, answer));
        const PDatasetClass& plan = ws.PDataset[p];
        EXPECT_EQ(plan.PlanListIndex, 0);
        EXPECT_EQ(plan.BodyIndex, 0);
        ASSERT_EQ(plan.DVHDatasetCount(), 2);
        EXPECT_EQ(plan.DVHDataset[0].ModifiedName, "Skin");  // aliases by position
        EXPECT_EQ(plan.DVHDataset[1].ModifiedName, "");
        EXPECT_FLOAT_EQ(plan.DVHDataset[1].PrescribedDose, 60);
        EXPECT_FLOAT_EQ(plan.DVHDataset[1].DVset[1].DosePercent, 100 / 60.0f);
        EXPECT_FALSE(ws.PendingXiO.Active);
        // The version of the bytes the curves were read from.
        std::string read;
        ASSERT_TRUE(platform::ReadWholeFile(path, read));
        EXPECT_EQ(plan.ExportRead.Digest, platform::ContentDigest(read));
        EXPECT_EQ(plan.ExportRead.Identity.Size, static_cast<long long>(read.size()));
    }
    EXPECT_EQ(host.begins, host.ends);  // the progress form closes after a failure too

    // A reload of the plan when another stands after it: read through a copy at the end, it
    // ends in the plan's own place, and no key stands twice.
    const std::string key = ws.PDataset[1].Key;
    ws.PDataset.emplace_back().Key = "later";
    ASSERT_EQ(ws.BeginReload(key, -1).Step, LoadStep::Read);
    ASSERT_GE(ws.ReadPendingPlan(), 0);
    ASSERT_EQ(HandOverPendingXiO(ws), 3);
    XiODialogAnswer again{"Ann", "P-7", "Plan Y", "Plan Y", 60.0f, 1, 2};
    ASSERT_TRUE(FinishXiOLoad(ws, again));
    ASSERT_EQ(ws.PDatasetCount(), 3);
    EXPECT_EQ(ws.FindDatasetByKey(key), 1);
    EXPECT_EQ(ws.PDataset[1].PlanName, "Plan Y");
    EXPECT_EQ(ws.PDataset[1].BodyIndex, 1);
    EXPECT_EQ(ws.PDataset[1].DVHDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[2].Key, "later");
}

TEST(XiOLoad, ASaveWhileTheDialogWaitsChangesNeitherTheCurvesNorTheNamesOfThePlanBeingLoaded) {
    TempFolder folder("xio-held");
    Workspace ws;
    InstallImportReaders(ws);
    ws.PlanListName.emplace_back().Name = "Pelvis";
    const auto saveOf = [](const std::string& first, const std::string& alias) {
        return std::pair{Block(first, {"0,1", "100,1"}) + Block("PTV", {"0,0", "100,2"}),
                         "Patient Name\t" + alias + "\nPatient ID\tNULL\nPlan Name\tNULL\nPlan ID\tNULL\n"
                         "Prescribed dose [cGy]\t6000\n0\t" + alias + "\n1\t\n"};
    };
    const std::string path = folder.Write("Pelvis_x.txt", saveOf("External", "Skin").first);
    folder.Write("Pelvis_x.mod", saveOf("External", "Skin").second);
    DvhHeader h = RecogniseDvhHeaderFile(path);
    ASSERT_EQ(ws.BeginLoadFromStore(path, h.FileType, h.fields, "Pelvis", nullptr).Step, LoadStep::Read);
    ASSERT_GE(ws.ReadPendingPlan(), 0);
    const int p = HandOverPendingXiO(ws);
    ASSERT_EQ(p, 0);

    // While the XiO dialog waits, another instance saves the entry with other names.
    const auto other = saveOf("Body", "Outline");
    const auto links = platform::LinkHandling::Replace;
    const std::vector<std::string> targets = StoreCommitTargets(path);
    ASSERT_TRUE(platform::AtomicWriteFiles({{targets[0], other.second, platform::FileAccess::Keep, links},
                                            {targets[1], other.first, platform::FileAccess::Keep, links}},
                                           StoreCommitOf(path)));
    XiODialogAnswer answer{"Skin", "P-7", "Plan X", "Plan X", 60.0f, 1, 1};
    ASSERT_TRUE(FinishXiOLoad(ws, answer));
    const PDatasetClass& plan = ws.PDataset[p];
    ASSERT_EQ(plan.DVHDatasetCount(), 2);
    EXPECT_EQ(plan.DVHDataset[0].Name, "External");
    EXPECT_EQ(plan.DVHDataset[0].ModifiedName, "Skin");
    // Its save replaces only the companion it read, which the other save has replaced already.
    EXPECT_EQ(plan.CompanionRead.Version.Digest, platform::ContentDigest(saveOf("External", "Skin").second));
}
