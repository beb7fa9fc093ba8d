// Rules of the plan view: curve titles, dose label, curve units, export size, linked list.
#include "dvh/FileNames.h"
#include "dvh/NumberText.h"
#include "dvh/PlanView.h"
#include "dvh/Workspace.h"

#include <gtest/gtest.h>

TEST(CurveTitle, CutsBeforeTheFirstBracketUnlessItLeads) {
    const struct {
        const char* name;
        const char* title;
    } cases[] = {
        {"PTV [1]", "PTV "},            // the blank before the bracket stays
        {"PTV[1]", "PTV"},
        {"[x] Rectum", "[x] Rectum"},   // a leading bracket keeps the whole name
        {"Bladder", "Bladder"},
        {"A [1] [2]", "A "},            // the first bracket decides
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CurveTitle(c.name), c.title) << c.name;
}

TEST(PrescribedDoseText, RoundsToTwoDecimalsInShortestFormAndNeedsAStructure) {
    PDatasetClass plan;
    EXPECT_EQ(PrescribedDoseText(plan), "");  // no structure 0 to read
    plan.DVHDataset.resize(2);
    plan.DVHDataset[1].PrescribedDose = 99;  // only the first structure counts
    const struct {
        float dose;
        const char* text;
    } cases[] = {{70.0f, "70 [Gy]"}, {12.345f, "12.35 [Gy]"}, {50.4f, "50.4 [Gy]"},
                 {0.004f, "0 [Gy]"}, {1.005f, "1 [Gy]"}};
    // 12.345f is stored as 12.3450002670288, above the half: 12.35. 1.005f lies just below it.
    for (const auto& c : cases) {
        plan.DVHDataset[0].PrescribedDose = c.dose;
        EXPECT_EQ(PrescribedDoseText(plan), c.text) << c.dose;
    }
}

TEST(CurvePoints, PicksTheUnitOfEachAxisAndKeepsStoredOrder) {
    DVHDatasetClass s;
    s.DVset = {{10, 5, 100, 40}, {20, 10, 50, 20}, {15, 7.5f, 75, 30}};  // not sorted by dose
    std::vector<double> x, y;
    CurvePoints(s, true, true, x, y);
    EXPECT_EQ(x, (std::vector<double>{10, 20, 15}));
    EXPECT_EQ(y, (std::vector<double>{100, 50, 75}));
    CurvePoints(s, false, false, x, y);
    EXPECT_EQ(x, (std::vector<double>{5, 10, 7.5}));
    EXPECT_EQ(y, (std::vector<double>{40, 20, 30}));
    CurvePoints(s, false, true, x, y);
    EXPECT_EQ(x, (std::vector<double>{5, 10, 7.5}));
    EXPECT_EQ(y, (std::vector<double>{100, 50, 75}));
    CurvePoints(DVHDatasetClass{}, true, false, x, y);  // earlier content does not survive
    EXPECT_TRUE(x.empty());
    EXPECT_TRUE(y.empty());
}

TEST(ChartExportSize, WidthFromHeightThenHeightFromWidth) {
    const PixelSize portrait = ChartExportSize({655, 385});
    EXPECT_EQ(portrait.width, 577);   // 1.5 x 385 = 577.5
    EXPECT_EQ(portrait.height, 865);  // 1.5 x 577 = 865.5
    const PixelSize even = ChartExportSize({100, 200});
    EXPECT_EQ(even.width, 300);
    EXPECT_EQ(even.height, 450);
}

TEST(PlanListOfPlan, AStaleOrMissingIndexCountsAsNone) {
    Workspace w;
    w.PlanListName.resize(2);
    w.PlanListName[0].Name = "Prostate";
    w.PlanListName[1].Name = "Head";
    w.PDataset.resize(1);
    EXPECT_EQ(PlanListOfPlan(w, 0), nullptr);  // PlanListIndex -1
    w.PDataset[0].PlanListIndex = 1;
    ASSERT_NE(PlanListOfPlan(w, 0), nullptr);
    EXPECT_EQ(PlanListOfPlan(w, 0)->Name, "Head");
    w.PlanListName.pop_back();  // the list was deleted since the plan was linked
    EXPECT_EQ(PlanListOfPlan(w, 0), nullptr);
    EXPECT_EQ(PlanListOfPlan(w, 1), nullptr);
    EXPECT_EQ(PlanListOfPlan(w, -1), nullptr);
}

TEST(ChangeFileExt, ReplacesOnlyTheLastComponentsExtension) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"/a/chart.png", "/a/chart.bmp"},   {"/a/chart", "/a/chart.bmp"},
                 {"/a.b/chart", "/a.b/chart.bmp"},   {"/a/x.tar.gz", "/a/x.tar.bmp"},
                 {"/a/chart.bmp", "/a/chart.bmp"},   {"chart.", "chart.bmp"}};
    for (const auto& c : cases) EXPECT_EQ(ChangeFileExt(c.in, ".bmp"), c.out) << c.in;
}

TEST(NumberText, GeneralIsShortestAndFixedHasExactDecimals) {
    EXPECT_EQ(FormatGeneral(27.5), "27.5");
    EXPECT_EQ(FormatGeneral(30), "30");
    EXPECT_EQ(FormatGeneral(-0.0), "0");
    EXPECT_EQ(FormatGeneral(0.1), "0.1");
    EXPECT_EQ(FormatGeneral(123456.78), "123456.78");
    EXPECT_EQ(FormatFixed(5, 2), "5.00");
    EXPECT_EQ(FormatFixed(12.35, 2), "12.35");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");  // a rounded zero has no sign
    EXPECT_EQ(FormatFixed(-1.5, 1), "-1.5");
}
