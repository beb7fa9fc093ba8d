// A real export with a plan list saved and loaded by the program: grid values and clipboard text.
#include "IndexRowFixtures.h"
#include "dvh/Workspace.h"
#include "planlist/IndexGridModel.h"
#include "planlist/PlanListFile.h"

#include "PlanListTestSupport.h"
#include "../support/RealData.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

IndexDataClass LimitedRow(const std::string& name, int items, float value, int itemsCI = 0,
                   float valueCI = 0, float limit = 0) {
    IndexDataClass r = IndexRow(name, items, value, itemsCI, valueCI);
    r.ConstraintsON = limit != 0;
    r.Constraints = limit;
    r.ConstraintFontColorR = 255;
    return r;
}

// Every expected value of expected.tsv is interpolated by hand from the export's own lines, e.g.
// PTV D95%: 5275 cGy at 95.0298 %, 5280 cGy at 94.784 % -> 52.75 + 0.05 x 0.0298 / 0.2458 Gy;
// CORD D1cc: 1 cc = 1.5408 % of 64.9 cc, between 2840 (1.54878 %) and 2845 cGy (1.5228 %);
// CI [Dose 52.25 Gy]: body 0.960688 % of 25507.5 cc at 5225 cGy over PTV's 239.4 cc.
TEST(IndexRealData, JaneDoeGridWithASavedPlanList) {
    const std::string exportPath = RealDataFile("cran+RadOnc/Jane_Doe.dvh");
    if (!std::filesystem::exists(exportPath)) GTEST_SKIP() << "no real data at " << exportPath;
    Workspace ws;
    const int planIndex = ws.LoadDvhFileHeadless(exportPath, 0);
    ASSERT_EQ(planIndex, 0);

    PlanListNameClass made;
    made.Name = "Pancreas";
    made.IndexData = {
        LimitedRow("PTV", 1, 95, 0, 0, -52.25f), LimitedRow("PTV", 0, 95), LimitedRow("PTV", 6, 50, 0, 0, -99.9f),
        LimitedRow("PTV", 7, 50), LimitedRow("PTV", 11, 0), LimitedRow("PTV", 13, 0), LimitedRow("PTV", 8, 0),
        LimitedRow("PTV", 14, 0), LimitedRow("PTV", 15, 0), LimitedRow("PTV", 16, 0, 6, 52.25f), LimitedRow("PTV", 16, 0, 3),
        LimitedRow("CORD", 2, 1), LimitedRow("CORD", 3, 1), LimitedRow("CORD", 11, 0, 0, 0, 30), LimitedRow("cord", 11, 0),
        LimitedRow("LIVER", 4, 50), LimitedRow("LIVER", 5, 50), LimitedRow("", -1, 0), LimitedRow("Missing", 9, 0)};
    const TempFolder folder;
    const std::string listPath = PlanListFilePath(folder.Path(), made.Name);
    ASSERT_TRUE(SavePlanListFile(listPath, made).ok);
    const PlanListLoadResult loaded = LoadPlanListFile(listPath, made.Name);
    ASSERT_EQ(loaded.status, PlanListFileStatus::Ok);

    const IndexGridContent grid = BuildIndexGrid(loaded.list, &ws.PDataset[planIndex], false);
    EXPECT_EQ(IndexGridClipboardText(ws.PDataset[planIndex], grid),
              ReadFileText(std::string(TESSARAY_TEST_DATA) + "/index/jane_doe/expected.tsv"));
    // Only the broken constraints are coloured: V50Gy below 99.9 % and a cord maximum above 30 Gy.
    std::vector<TColor> colours(made.IndexData.size(), 0);
    colours[2] = colours[13] = RgbColor(255, 0, 0);
    EXPECT_EQ(grid.RowColor, colours);
}

}  // namespace
