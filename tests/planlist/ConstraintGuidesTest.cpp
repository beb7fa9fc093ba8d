// Where constraint marks sit on the chart and what they look like.
#include "planlist/ConstraintGuides.h"

#include "PlanFixtures.h"

#include <gtest/gtest.h>

namespace {

IndexDataClass GuideRow(const std::string& name, int items, float value, float limit) {
    IndexDataClass r;
    r.Name = name;
    r.Items = items;
    r.Value = value;
    r.ConstraintsON = true;
    r.ConstraintsView = true;
    r.Constraints = limit;
    return r;
}

struct Placement {
    int kind;
    float gyX, pctX, ccY, pctY;
};

TEST(ConstraintGuides, PlacementOfEveryKindOnEveryAxisPair) {
    // Structure: 50 Gy prescribed, 200 cc. Row value v = 10, limit L = 40.
    DVHDatasetClass s = fixtures::Structure("S", 50, 200, {{0, 100}, {60, 0}});
    s.Color = RgbColor(10, 20, 30);
    const Placement table[] = {
        {0, 20, 40, 20, 10},   // L % dose; v % volume
        {1, 40, 80, 20, 10},   // L Gy
        {2, 20, 40, 10, 5},    // v cc
        {3, 40, 80, 10, 5},
        {4, 5, 10, 80, 40},    // v % dose; L % volume
        {5, 5, 10, 40, 20},    // L cc
        {6, 10, 20, 80, 40},   // v Gy
        {7, 10, 20, 40, 20},
        {10, 20, 40, 0, 0},    // maximum dose sits on the dose axis
        {11, 40, 80, 0, 0},
        {12, 20, 40, 200, 100},  // minimum dose sits at the whole volume
        {13, 40, 80, 200, 100},
    };
    for (const Placement& p : table) {
        for (bool gy : {false, true}) {
            for (bool cc : {false, true}) {
                SCOPED_TRACE(testing::Message() << "kind " << p.kind << (gy ? " Gy" : " %")
                                                << (cc ? " cc" : " %"));
                GuideMark m;
                ASSERT_TRUE(PlaceGuideMark(GuideRow("S", p.kind, 10, 40), s, {gy, cc}, m));
                EXPECT_FLOAT_EQ(m.X, gy ? p.gyX : p.pctX);
                EXPECT_FLOAT_EQ(m.Y, cc ? p.ccY : p.pctY);
                EXPECT_EQ(m.Color, s.Color);
                EXPECT_FALSE(m.LowerLimit);
            }
        }
    }
}

TEST(ConstraintGuides, VolumesTurnIntoPercentInSinglePrecisionInTheirOwnOrder) {
    // 1 cc of a 3 cc structure. A row's own cc volume (kinds 2, 3) is v x 100 / V: 100 / 3 =
    // 33.3333333, nearest float 33.33333206. A cc limit (kinds 5, 7) is L / V x 100: 1 / 3 is
    // the float 0.333333343, times 100 = 33.3333343, nearest float 33.33333588 (floats there
    // lie 3.8e-6 apart).
    const DVHDatasetClass s = fixtures::Structure("S", 50, 3, {{0, 100}, {60, 0}});
    GuideMark m;
    for (int kind : {2, 3}) {
        ASSERT_TRUE(PlaceGuideMark(GuideRow("S", kind, 1, 40), s, {true, false}, m));
        EXPECT_EQ(m.Y, 33.33333206f) << kind;
    }
    for (int kind : {5, 7}) {
        ASSERT_TRUE(PlaceGuideMark(GuideRow("S", kind, 10, 1), s, {true, false}, m));
        EXPECT_EQ(m.Y, 33.33333588f) << kind;
    }
}

TEST(ConstraintGuides, RowsThatDrawNothing) {
    const DVHDatasetClass s = fixtures::Structure("S", 50, 200, {{0, 100}, {60, 0}});
    const GuideAxes axes{true, false};
    GuideMark m;
    for (int kind : {-1, 8, 9, 14, 15, 16, 17}) {
        SCOPED_TRACE(kind);
        EXPECT_FALSE(PlaceGuideMark(GuideRow("S", kind, 10, 40), s, axes, m));
    }
    IndexDataClass r = GuideRow("S", 0, 10, 40);
    r.ConstraintsON = false;
    EXPECT_FALSE(PlaceGuideMark(r, s, axes, m));
    r = GuideRow("S", 0, 10, 40);
    r.ConstraintsView = false;
    EXPECT_FALSE(PlaceGuideMark(r, s, axes, m));
    EXPECT_FALSE(PlaceGuideMark(GuideRow("S", 0, 10, 0), s, axes, m));
    DVHDatasetClass hidden = s;
    hidden.Visible = false;
    EXPECT_FALSE(PlaceGuideMark(GuideRow("S", 0, 10, 40), hidden, axes, m));
    DVHDatasetClass empty = s;
    empty.Volume = 0;
    EXPECT_FALSE(PlaceGuideMark(GuideRow("S", 0, 10, 40), empty, axes, m));
}

TEST(ConstraintGuides, NoPrescribedDoseMeansNoPlaceOnAPercentAxis) {
    const DVHDatasetClass s = fixtures::Structure("S", 0, 200, {{0, 100}, {60, 0}});
    GuideMark m;
    for (int kind : {1, 3, 6, 7, 11, 13}) {
        SCOPED_TRACE(kind);
        EXPECT_FALSE(PlaceGuideMark(GuideRow("S", kind, 10, 40), s, {false, false}, m));
        EXPECT_TRUE(PlaceGuideMark(GuideRow("S", kind, 10, 40), s, {true, false}, m));
    }
    // Doses already in % need no prescribed dose on a % axis.
    EXPECT_TRUE(PlaceGuideMark(GuideRow("S", 0, 10, 40), s, {false, false}, m));
    EXPECT_FLOAT_EQ(m.X, 40);
}

TEST(ConstraintGuides, WorkedExamples) {
    GuideMark m;
    // D95% at least 95 % with 60 Gy prescribed.
    const DVHDatasetClass ptv = fixtures::Structure("PTV", 60, 80, {{0, 100}, {70, 0}});
    ASSERT_TRUE(PlaceGuideMark(GuideRow("PTV", 0, 95, -95), ptv, {true, false}, m));
    EXPECT_NEAR(m.X, 57, 1e-4);
    EXPECT_FLOAT_EQ(m.Y, 95);
    EXPECT_TRUE(m.LowerLimit);
    ASSERT_TRUE(PlaceGuideMark(GuideRow("PTV", 0, 95, -95), ptv, {false, false}, m));
    EXPECT_FLOAT_EQ(m.X, 95);
    // V20Gy at most 30 % of 200 cc, on a Gy / cc chart.
    const DVHDatasetClass lung = fixtures::Structure("Lung", 60, 200, {{0, 100}, {70, 0}});
    ASSERT_TRUE(PlaceGuideMark(GuideRow("Lung", 6, 20, 30), lung, {true, true}, m));
    EXPECT_FLOAT_EQ(m.X, 20);
    EXPECT_FLOAT_EQ(m.Y, 60);
    EXPECT_FALSE(m.LowerLimit);
}

TEST(ConstraintGuides, MarksOfAPlanFollowTheRowsAndTheNameRule) {
    PDatasetClass plan;
    DVHDatasetClass a = fixtures::Structure("PTV", 50, 100, {{0, 100}, {60, 0}});
    a.Color = 1;
    DVHDatasetClass b = a;
    b.Name = "ptv";
    b.Color = 2;
    plan.DVHDataset = {a, b};
    PlanListNameClass list;
    list.IndexData = {GuideRow("PTV", 11, 0, 55), GuideRow("Missing", 11, 0, 55),
                      GuideRow("PTV", 11, 0, -45)};
    const std::vector<GuideMark> off = ConstraintGuideMarks(plan, list, {true, false}, false);
    ASSERT_EQ(off.size(), 2u);
    EXPECT_EQ(off[0].Color, 2);  // the later of PTV and ptv
    EXPECT_FLOAT_EQ(off[0].X, 55);
    EXPECT_FLOAT_EQ(off[1].X, 45);
    EXPECT_TRUE(off[1].LowerLimit);
    const std::vector<GuideMark> on = ConstraintGuideMarks(plan, list, {true, false}, true);
    ASSERT_EQ(on.size(), 2u);
    EXPECT_EQ(on[0].Color, 1);
    list.IndexData[0].Name = "pTv";
    EXPECT_EQ(ConstraintGuideMarks(plan, list, {true, false}, true).size(), 1u);
}

TEST(ConstraintGuides, ArmsAndPlotRectangle) {
    EXPECT_EQ(GuideArms(100, 50, true),
              (std::vector<PixelLine>{{100, 50, 100, 59}, {100, 50, 92, 50}}));
    EXPECT_EQ(GuideArms(100, 50, false),
              (std::vector<PixelLine>{{100, 50, 100, 41}, {100, 50, 108, 50}}));
    const PixelRect r{10, 20, 110, 220};
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(109, 219));
    EXPECT_FALSE(r.Contains(110, 100));  // right edge is outside
    EXPECT_FALSE(r.Contains(50, 220));   // bottom edge is outside
    EXPECT_FALSE(r.Contains(9, 100));
}

}  // namespace
