// The index editor's rules: loading a row, checking the fields, writing them and the group name.
#include "planlist/IndexEdit.h"

#include "dvh/RoundToDigits.h"
#include "planlist/IndexRowCommands.h"
#include "IndexRowFixtures.h"

#include <gtest/gtest.h>

namespace {

PlanListNameClass Group(const std::vector<std::string>& names) { return ListOfRows(names, 0, 50); }


}  // namespace

TEST(IndexEdit, NumbersShowRoundedInTheirShortForm) {
    EXPECT_EQ(FormatRounded2(12.3), "12.3");
    EXPECT_EQ(FormatRounded2(95), "95");
    EXPECT_EQ(FormatRounded2(2.125), "2.13");  // half away from zero
    EXPECT_EQ(FormatRounded2(-0.001), "0");
    EXPECT_EQ(FormatRounded2(0.1f), "0.1");
    EXPECT_EQ(FormatRounded2(45.678, ','), "45,68");
}

TEST(IndexEdit, RowLoadsIntoFields) {
    IndexDataClass row = EmptyIndexRow(255, 0, 0);
    IndexEdit empty = IndexEditFromRow(row);
    EXPECT_EQ(empty.ValueText, "");  // an empty row opens with no value and black
    EXPECT_EQ(empty.FontColor, 0);
    EXPECT_EQ(empty.Constraint, ConstraintChoice::None);
    EXPECT_EQ(empty.ConstraintText, "");

    row.Name = "PTV";
    row.Items = 16;
    row.Value = 95.004f;
    row.ItemsCI = 5;
    row.ValueCI = 12.345f;
    row.ConstraintsON = true;
    row.Constraints = -33.333f;
    IndexEdit e = IndexEditFromRow(row);
    EXPECT_EQ(e.ValueText, "95");
    EXPECT_EQ(e.ValueCIText, "12.35");  // 12.345f is stored just above the half
    EXPECT_EQ(e.FontColor, RgbColor(255, 0, 0));
    EXPECT_EQ(e.Constraint, ConstraintChoice::Lower);
    EXPECT_EQ(e.ConstraintText, "33.33");
    row.Constraints = 0;  // switched on with 0: shown as an upper limit of 0
    EXPECT_EQ(IndexEditFromRow(row).Constraint, ConstraintChoice::Upper);
}

TEST(IndexEdit, OkWritesEveryFieldRoundedAndKeepsValuesOfEmptyFields) {
    PlanListNameClass list = Group({"A"});
    list.IndexData[0].Constraints = -20;
    list.IndexData[0].ConstraintsON = true;
    IndexEdit e;
    e.Structure = "Rectum ";
    e.Kind = 5;
    e.ValueText = "70.456";
    e.Constraint = ConstraintChoice::Upper;  // from lower to upper with the field empty
    e.ConstraintView = true;
    e.FontColor = RgbColor(1, 2, 3);
    e.Print = false;
    ASSERT_EQ(ApplyIndexEdit(list, 0, e, true), IndexEditStatus::Ok);
    const IndexDataClass& r = list.IndexData[0];
    EXPECT_EQ(r.Name, "Rectum ");
    EXPECT_EQ(r.Items, 5);
    EXPECT_EQ(r.Value, 70.46f);
    EXPECT_EQ(r.Constraints, -20.0f);  // an empty limit keeps the old (lower) one
    EXPECT_TRUE(r.ConstraintsON);
    EXPECT_EQ(r.ItemsCI, -1);
    EXPECT_EQ(r.ConstraintFontColorB, 3);
    EXPECT_FALSE(r.IndexPrint);
    EXPECT_TRUE(list.Modified);

    // Kinds above 7 have no parameter: the value stays; "None" drops the limit.
    e.Kind = 16;
    e.ValueText.clear();
    e.CIReference = 6;
    e.ValueCIText = "40.005";
    e.Constraint = ConstraintChoice::Lower;
    e.ConstraintText = "5";
    ASSERT_EQ(ApplyIndexEdit(list, 0, e, true), IndexEditStatus::Ok);
    EXPECT_EQ(r.Value, 70.46f);
    EXPECT_EQ(r.ItemsCI, 6);
    EXPECT_EQ(r.ValueCI, static_cast<float>(RoundToDigits(40.005, 2)));
    EXPECT_EQ(r.Constraints, -5.0f);
    e.CIReference = 2;  // references 0-3 carry no value
    e.Constraint = ConstraintChoice::None;
    ASSERT_EQ(ApplyIndexEdit(list, 0, e, true), IndexEditStatus::Ok);
    EXPECT_EQ(r.ValueCI, 0.0f);
    EXPECT_FALSE(r.ConstraintsON);
    EXPECT_EQ(r.Constraints, 0.0f);
    e.Kind = 3;  // leaving kind 16 drops the reference
    ASSERT_EQ(ApplyIndexEdit(list, 0, e, true), IndexEditStatus::Ok);
    EXPECT_EQ(r.ItemsCI, -1);
}

TEST(IndexEdit, ABadNumberChangesNothing) {
    const PlanListNameClass original = Group({"A", "A"});
    struct Case { IndexEditStatus expected; void (*spoil)(IndexEdit&); };
    const Case cases[] = {
        {IndexEditStatus::BadValue, [](IndexEdit& e) { e.ValueText = "."; }},
        {IndexEditStatus::BadConstraint,
         [](IndexEdit& e) { e.Constraint = ConstraintChoice::Upper; e.ConstraintText = "1x"; }},
        {IndexEditStatus::BadValueCI,
         [](IndexEdit& e) { e.Kind = 16; e.CIReference = 4; e.ValueCIText = ""; }},
    };
    for (const Case& c : cases) {
        PlanListNameClass list = original;
        IndexEdit e;
        e.Structure = "New";
        e.Kind = 2;
        e.ValueText = "10";
        c.spoil(e);
        EXPECT_EQ(ApplyIndexEdit(list, 0, e, true), c.expected);
        EXPECT_EQ(RowNames(list), RowNames(original));
        EXPECT_EQ(list.IndexData[0].Items, 0);
        EXPECT_EQ(list.IndexData[0].Value, 50.0f);
        EXPECT_FALSE(list.Modified);
    }
    PlanListNameClass list = original;
    IndexEdit e;
    EXPECT_EQ(ApplyIndexEdit(list, 2, e, true), IndexEditStatus::NoRow);
    list.Lock = true;
    EXPECT_EQ(ApplyIndexEdit(list, 0, e, true), IndexEditStatus::NoRow);
}

TEST(IndexEdit, NewNameCarriesOverTheGroupOnlyFromItsHead) {
    using N = std::vector<std::string>;
    IndexEdit e;
    e.Structure = "C";
    PlanListNameClass list = Group({"A", "A", "A", "B"});
    ASSERT_EQ(ApplyIndexEdit(list, 0, e, true), IndexEditStatus::Ok);
    EXPECT_EQ(RowNames(list), (N{"C", "C", "C", "B"}));

    list = Group({"A", "A", "B", "A"});
    ApplyIndexEdit(list, 0, e, true);
    EXPECT_EQ(RowNames(list), (N{"C", "C", "B", "A"}));  // stops at the first other name

    list = Group({"A", "A", "A"});
    ApplyIndexEdit(list, 1, e, false);  // not the head: that row only
    EXPECT_EQ(RowNames(list), (N{"A", "C", "A"}));
}
