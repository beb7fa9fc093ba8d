// The index comparison table on two hand-made plans, its clipboard text, value chart and curves.
#include "compare/ComparisonCurves.h"
#include "compare/ComparisonTable.h"

#include "../planlist/PlanFixtures.h"

#include <gtest/gtest.h>

namespace {

IndexDataClass Row(const std::string& name, int items, float value = 0) {
    IndexDataClass row;
    row.Name = name;
    row.Items = items;
    row.Value = value;
    row.ItemsCI = 0;
    return row;
}

IndexDataClass Limit(IndexDataClass row, float constraint) {
    row.ConstraintsON = true;
    row.Constraints = constraint;
    row.ConstraintFontColorR = 255;
    return row;
}

// Plan A: the worked example's PTV (maximum 40 Gy), its body and a later PTV of the same curve
// with maximum 42 Gy. D50% in Gy: 50 % lies between (20 Gy, 80 %) and (30 Gy, 40 %), so
// 20 + 10 x 30 / 40 = 27.5 Gy on either PTV.
// Plan B: "ptv" (maximum 41 Gy), a structure "X" shown as "Rectum" (mean 12.5 Gy), a bladder
// of volume 0, no body.
std::vector<PDatasetClass> TwoPlans() {
    PDatasetClass a = fixtures::ExamplePlan();
    a.PlanID = "A";
    a.DVHDataset.push_back(fixtures::ExampleStructure());
    a.DVHDataset.back().MaxDoseGy = 42;
    PDatasetClass b;
    b.PlanID = "B";
    b.DVHDataset.push_back(fixtures::ExampleStructure("ptv"));
    b.DVHDataset.back().MaxDoseGy = 41;
    b.DVHDataset.push_back(fixtures::ExampleStructure("X"));
    b.DVHDataset.back().ModifiedName = "Rectum";
    b.DVHDataset.back().MeanDoseGy = 12.5f;
    b.DVHDataset.push_back(fixtures::ExampleStructure("Bladder"));
    b.DVHDataset.back().Volume = 0;
    return {a, b};
}

PlanListNameClass List() {
    PlanListNameClass list;
    list.IndexData = {Limit(Row("PTV", 11), 41), Row("PTV", 1, 50), Row("Rectum", 9),
                      Row("Bladder", 11),        Row("", -1),       Limit(Row("PTV", 16), -10)};
    return list;
}

}  // namespace

TEST(ComparisonTable, ValuesColoursAndEmptyCellsUnderBothCaseSettings) {
    const std::vector<PDatasetClass> plans = TwoPlans();
    const PlanListNameClass list = List();
    const ComparisonTable t = BuildComparisonTable(&list, {&plans[0], &plans[1]}, false);
    ASSERT_EQ(t.RowCount(), 7);
    ASSERT_EQ(t.ColumnCount(), 4);
    using Cells = std::vector<std::string>;
    EXPECT_EQ(t.Cells[0], (Cells{"Structure", "Index", "A", "B"}));
    EXPECT_EQ(t.Cells[1], (Cells{"PTV", "Max dose [Gy]", "42.00", "41.00"}));  // later PTV of A
    EXPECT_EQ(t.Cells[2], (Cells{"", "D50% [Gy]", "27.50", "27.50"}));
    EXPECT_EQ(t.Cells[3], (Cells{"Rectum", "Mean dose [Gy]", "", "12.50"}));  // display name
    EXPECT_EQ(t.Cells[4], (Cells{"Bladder", "Max dose [Gy]", "", ""}));       // volume 0
    EXPECT_EQ(t.Cells[5], (Cells{"", "", "", ""}));
    EXPECT_EQ(t.Cells[6][1], "Conformity Index");
    EXPECT_EQ(t.Cells[6][3], "");  // no body: no value, although below the lower limit
    EXPECT_EQ(t.RowColor[0][0], 0x0000FF);  // 42 above 41
    EXPECT_EQ(t.RowColor[1][0], 0);         // 41 is not above 41
    EXPECT_EQ(t.Value[0][1], 41.0);
    EXPECT_FALSE(t.Value[2][0].has_value());

    const ComparisonTable exact = BuildComparisonTable(&list, {&plans[0], &plans[1]}, true);
    EXPECT_EQ(exact.Cells[1][3], "");  // "ptv" is not "PTV"
    EXPECT_EQ(exact.Cells[3][3], "12.50");
}

TEST(ComparisonTable, TitleRowOnlyWithoutListAndOneEmptyColumnWithoutPlans) {
    const std::vector<PDatasetClass> plans = TwoPlans();
    const ComparisonTable titles = BuildComparisonTable(nullptr, {&plans[1], nullptr}, false);
    ASSERT_EQ(titles.RowCount(), 1);
    EXPECT_EQ(titles.Cells[0], (std::vector<std::string>{"Structure", "Index", "B", ""}));
    const PlanListNameClass list = List();
    EXPECT_EQ(BuildComparisonTable(&list, {}, false).ColumnCount(), 3);
}

TEST(ComparisonTable, ClipboardTextAndRowValueChart) {
    const std::vector<PDatasetClass> plans = TwoPlans();
    PlanListNameClass list = List();
    list.IndexData.resize(2);
    const ComparisonTable t = BuildComparisonTable(&list, {&plans[0], &plans[1]}, false);
    EXPECT_EQ(ComparisonClipboardText(t),
              "Structure\tIndex\tA\tB\nPTV\tMax dose [Gy]\t42.00\t41.00\n\tD50% [Gy]\t27.50\t27.50\n");

    const RowValueChart row1 = BuildRowValueChart(t, 1);
    ASSERT_EQ(row1.Points.size(), 2u);
    EXPECT_EQ(row1.Points[1].x, 2);
    EXPECT_DOUBLE_EQ(row1.Points[1].y, 41);
    EXPECT_DOUBLE_EQ(row1.BottomMin, 0.5);
    EXPECT_DOUBLE_EQ(row1.BottomMax, 2.5);
    EXPECT_DOUBLE_EQ(row1.LeftMin, 0.95 * 41);
    EXPECT_DOUBLE_EQ(row1.LeftMax, 1.05 * 42);

    const PlanListNameClass full = List();
    const ComparisonTable three =
        BuildComparisonTable(&full, {&plans[0], &plans[1], &plans[0]}, false);
    const RowValueChart empty = BuildRowValueChart(three, 4);
    EXPECT_TRUE(empty.Points.empty());
    EXPECT_DOUBLE_EQ(empty.BottomMax, 3.5);
    EXPECT_DOUBLE_EQ(empty.LeftMin, 0);
    EXPECT_DOUBLE_EQ(empty.LeftMax, 1.05);
}

TEST(ComparisonCurves, ExactNameLastStructureAndOneSeriesPerPosition) {
    const std::vector<PDatasetClass> plans = TwoPlans();
    ComparedPlans compared;
    compared.Choose({0, 1, 1}, plans);
    const auto ptv = ComparisonCurves(compared, plans, "PTV", false);
    ASSERT_EQ(ptv.size(), 3u);
    EXPECT_EQ(ptv[0].Title, "A");
    EXPECT_EQ(ptv[0].Color, 0x0000FF);
    ASSERT_EQ(ptv[0].Points.size(), 5u);
    EXPECT_DOUBLE_EQ(ptv[0].Points[2].x, 20);  // Gy
    EXPECT_DOUBLE_EQ(ptv[0].Points[2].y, 80);
    EXPECT_TRUE(ptv[1].Points.empty());        // "ptv" is another name here
    EXPECT_EQ(ptv[2].Color, 0xFF0000);
    // A display name draws no curve; the page takes at most its first positions.
    EXPECT_TRUE(ComparisonCurves(compared, plans, "Rectum", true)[1].Points.empty());
    EXPECT_DOUBLE_EQ(ComparisonCurves(compared, plans, "PTV", true, 2)[0].Points[2].x, 40);
    EXPECT_EQ(ComparisonCurves(compared, plans, "PTV", true, 2).size(), 2u);
}

TEST(ComparisonCurves, ReportStylesCycleAndChooseTheirCharts) {
    int style = 1;
    for (int i = 0; i < 5; ++i) style = NextReportStyle(style);
    EXPECT_EQ(style, 1);
    const int used[6] = {0, 4, 2, 2, 1, 0};
    for (int s = 1; s <= 5; ++s) {
        int n = 0;
        for (int c = 0; c < 4; ++c) n += ReportStyleUsesChart(s, c);
        EXPECT_EQ(n, used[s]) << s;
    }
    EXPECT_FALSE(ReportStyleUsesChart(4, 1));
}
