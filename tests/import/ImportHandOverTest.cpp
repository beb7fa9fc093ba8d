// Reading BrainSCAN/iPlan files into the workspace's last plan: colours under the live case
// setting, and a failed file leaving the plan without structures.
#include "import/ImportHandOver.h"

#include "../dvh/TestSupport.h"

#include <gtest/gtest.h>

using namespace dvhtest;

namespace {

const char* const kTable =
    "Patient Name         : Doe\nPatient ID           : 12\nComment              : iPlan DVHs\n"
    "Date                 : 2024/01/05  10:30:00\nType                 : Cumulative Dose Volume Histogram\n"
    "Plan                 : Head - H1\nPrescribed dose [cGy]: 5000\n\n\tptv\tBODY\tOther\n\t1\t2\t3\n"
    "  0\t100\t100\t100\n  1\t0\t50\t0\nEOF";

}  // namespace

TEST(ImportHandOver, BrainLabColoursFollowTheListUnderTheLiveCaseSetting) {
    TempFolder folder("brainlab-handover");
    const std::string path = folder.Write("plan.txt", kTable);
    RecordingHost host;
    Workspace ws;
    ws.SetHost(&host);
    InstallImportReaders(ws);
    PlanListNameClass list;
    list.Name = "Head";
    list.StructureDB = {{"PTV", true, 10, 20, 30, true}, {"Body", true, 1, 2, 3, false}};
    ws.PlanListName.push_back(list);

    for (bool caseSensitive : {false, true}) {
        SCOPED_TRACE(caseSensitive);
        host.caseSensitive = caseSensitive;
        ws.PDataset.emplace_back();
        ws.PDataset.back().FileType = FileTypeIPlan;
        ws.PDataset.back().PlanListIndex = 0;
        ASSERT_TRUE(ws.ReadDvhFile(path));
        const PDatasetClass& p = ws.PDataset.back();
        ASSERT_EQ(p.DVHDatasetCount(), 3);
        EXPECT_EQ(p.BodyIndex, 1);
        // Ignoring case, "ptv" takes the list's colour and view; comparing exactly, nothing
        // names it and it is hidden with a random colour. "Other" is never listed.
        EXPECT_EQ(p.DVHDataset[0].Visible, !caseSensitive);
        if (!caseSensitive) {
            EXPECT_EQ(p.DVHDataset[0].Color, RgbColor(10, 20, 30));
        }
        EXPECT_FALSE(p.DVHDataset[2].Visible);
        EXPECT_FLOAT_EQ(p.DVHDataset[1].DVset[1].DoseGy, 0.5f);
    }

    // A broken file: the plan keeps no structure and the status bar names the file and line.
    const std::string broken = folder.Write("broken.txt", std::string(kTable).replace(std::string(kTable).find("  1\t0\t50\t0"), 10, "  1\t0\t50"));
    ws.PDataset.back().BodyIndex = 1;
    EXPECT_EQ(ws.ReadDvhFile(broken).status, ReadStatus::BadRow);
    EXPECT_TRUE(ws.PDataset.back().DVHDataset.empty());
    EXPECT_EQ(ws.PDataset.back().BodyIndex, -1);
    EXPECT_NE(host.status.back().find("broken.txt"), std::string::npos);
    EXPECT_NE(host.status.back().find("line 12"), std::string::npos);
}
