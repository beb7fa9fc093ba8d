// The index grid's content and its clipboard text.
#include "IndexRowFixtures.h"
#include "planlist/IndexGridModel.h"

#include "PlanFixtures.h"

#include <gtest/gtest.h>

namespace {

IndexDataClass Constrained(IndexDataClass r, float limit, int red, int green, int blue) {
    r.ConstraintsON = true;
    r.Constraints = limit;
    r.ConstraintFontColorR = static_cast<unsigned char>(red);
    r.ConstraintFontColorG = static_cast<unsigned char>(green);
    r.ConstraintFontColorB = static_cast<unsigned char>(blue);
    return r;
}

TEST(IndexGridModel, ValuesGroupsNullAndColours) {
    PDatasetClass plan = fixtures::ExamplePlan();
    plan.DVHDataset.push_back(fixtures::Structure("Rectum", 50, 20, {{0, 100}, {30, 0}}));
    plan.DVHDataset.push_back(fixtures::Structure("Single", 50, 20, {{0, 100}}));
    PlanListNameClass list;
    list.IndexData = {
        Constrained(IndexRow("PTV", 1, 50), -30, 255, 0, 0),  // 27.5 < 30: red
        IndexRow("PTV", 6, 20),                                // 80 %, no constraint
        Constrained(IndexRow("Rectum", 15, 0), 5, 0, 0, 255),  // min dose 0: Null, not coloured
        Constrained(IndexRow("PTV", 16, 0, 9, 0), -1, 0, 128, 0),  // unknown reference: Null, coloured
        IndexRow("", -1, 0),                                   // empty row
        IndexRow("Missing", 9, 0),                             // not in the plan: empty value
        IndexRow("Single", 9, 0),                              // one point: empty value
        IndexRow("PTV", -1, 0),                                // no kind: no label, Null
    };
    const IndexGridContent g = BuildIndexGrid(list, &plan, false);
    ASSERT_EQ(g.RowCount(), 9);
    ASSERT_EQ(g.RowColor.size(), 8u);
    const std::vector<IndexGridContent::Row> want = {
        {"Structure", "Index", "Value"},
        {"PTV", "D50% [Gy]", "27.50"},
        {"", "V20Gy [%]", "80.00"},
        {"Rectum", "Homogeneity Index", "Null"},
        {"PTV", "", "Null"},
        {"", "", ""},
        {"Missing", "Mean dose [Gy]", ""},
        {"Single", "Mean dose [Gy]", ""},
        {"PTV", "", "Null"},
    };
    for (int r = 0; r < 9; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(g.Cells[r], want[r]);
    }
    EXPECT_EQ(g.RowColor[0], RgbColor(255, 0, 0));
    EXPECT_EQ(g.RowColor[1], 0);
    EXPECT_EQ(g.RowColor[2], 0);  // -1 is not above an upper limit
    EXPECT_EQ(g.RowColor[3], RgbColor(0, 128, 0));  // -1 is below a lower limit
    for (int r = 4; r < 8; ++r) EXPECT_EQ(g.RowColor[r], 0);
}

TEST(IndexGridModel, GroupNamesShowOnTheFirstRowOnly) {
    PlanListNameClass list;
    list.IndexData = {IndexRow("A", 9, 0), IndexRow("A", 11, 0), IndexRow("B", 9, 0), IndexRow("A", 9, 0),
                      IndexRow("a", 9, 0)};
    const IndexGridContent g = BuildIndexGrid(list, nullptr, false);
    const char* names[] = {"A", "", "B", "A", "a"};  // group names compare exactly
    for (int r = 0; r < 5; ++r) EXPECT_EQ(g.Cells[r + 1][0], names[r]);
    // No plan: labels, no values and no colours.
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(g.Cells[r][2], "");
    EXPECT_EQ(g.Cells[2][1], "Max dose [Gy]");
}

TEST(IndexGridModel, EmptyListHasTheHeaderOnly) {
    const IndexGridContent g = BuildIndexGrid(PlanListNameClass{}, nullptr, true);
    ASSERT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.Cells[0], IndexGridHeader());
    EXPECT_TRUE(g.RowColor.empty());
}

TEST(IndexGridModel, RowsFindTheLastStructureByDisplayNameUnderTheCaseRule) {
    PDatasetClass plan;
    DVHDatasetClass a = fixtures::Structure("PTV", 50, 10, {{0, 100}, {10, 0}});
    a.MeanDoseGy = 1;
    DVHDatasetClass b = a;
    b.Name = "ptv";
    b.MeanDoseGy = 2;
    DVHDatasetClass c = a;
    c.Name = "Other";
    c.ModifiedName = "Renamed";
    c.MeanDoseGy = 3;
    plan.DVHDataset = {a, b, c};
    PlanListNameClass list;
    list.IndexData = {IndexRow("PTV", 9, 0), IndexRow("Other", 9, 0), IndexRow("renamed", 9, 0)};
    const IndexGridContent off = BuildIndexGrid(list, &plan, false);
    EXPECT_EQ(off.Cells[1][2], "2.00");  // PTV and ptv both match: the later wins
    EXPECT_EQ(off.Cells[2][2], "");      // a modified name hides the original
    EXPECT_EQ(off.Cells[3][2], "3.00");
    const IndexGridContent on = BuildIndexGrid(list, &plan, true);
    EXPECT_EQ(on.Cells[1][2], "1.00");
    EXPECT_EQ(on.Cells[3][2], "");
}

TEST(IndexGridModel, ConstraintTestUsesTheUnroundedValue) {
    IndexDataClass upper = Constrained(IndexRow("S", 9, 0), 50, 1, 2, 3);
    EXPECT_TRUE(BreaksConstraint(upper, 50.004f));  // shows 50.00 but breaks the limit
    EXPECT_FALSE(BreaksConstraint(upper, 50));
    EXPECT_EQ(ConstraintColor(upper, 51), RgbColor(1, 2, 3));
    IndexDataClass lower = Constrained(IndexRow("S", 9, 0), -50, 1, 2, 3);
    EXPECT_TRUE(BreaksConstraint(lower, 49.99f));
    EXPECT_FALSE(BreaksConstraint(lower, 50));
    IndexDataClass none = Constrained(IndexRow("S", 9, 0), 0, 1, 2, 3);
    EXPECT_FALSE(BreaksConstraint(none, -1));
    IndexDataClass off = upper;
    off.ConstraintsON = false;
    EXPECT_EQ(ConstraintColor(off, 99), 0);
}

TEST(IndexGridModel, ClipboardTextByteForByte) {
    PDatasetClass plan;
    plan.PatientName = "N";
    plan.PatientID = "I";
    plan.PlanName = "not this";
    plan.PlanID = "P";
    DVHDatasetClass s = fixtures::Structure("S", 50, 10, {{0, 100}, {10, 0}});
    s.MeanDoseGy = 12.3f;
    plan.DVHDataset = {s};
    PlanListNameClass list;
    list.IndexData = {IndexRow("S", 9, 0), IndexRow("", -1, 0), IndexRow("S", 0, 50)};
    const std::string text = IndexGridClipboardText(plan, BuildIndexGrid(list, &plan, false));
    EXPECT_EQ(text,
              "Patient Name\tN\n"
              "Patient ID\tI\n"
              "Plan\tP\n"
              "\n"
              "Structure\tIndex\tValue\n"
              "S\tMean dose [Gy]\t12.30\n"
              "\t\t\n"
              "S\tD50% [%]\t10.00\n");
    // Cells read back from a widget give the same bytes, whatever the column count.
    EXPECT_EQ(IndexGridClipboardText(plan, {{"a", "b"}, {"c"}}),
              "Patient Name\tN\nPatient ID\tI\nPlan\tP\n\na\tb\nc\n");
}

}  // namespace
