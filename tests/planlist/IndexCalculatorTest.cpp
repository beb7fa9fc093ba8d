// The index calculator against hand-computed values.
#include "planlist/IndexCalculator.h"

#include "PlanFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

struct Vector {
    const char* what;
    int kind;
    float value;
    float expected;
    int ciReference = 0;
    float ciValue = 0;
};

// Every expected value below is derived by hand from the example structure
// (Gy, %) = (0,100) (10,100) (20,80) (30,40) (40,0), 50 Gy prescribed, 50 cc, and its body
// (Gy, cc) = (0,1000) (10,600) (20,300) (30,100) (40,10) (50,0).
const Vector kExampleVectors[] = {
    // Dose at a volume.
    {"D50% in Gy: 20 + 10 x (50-80)/(40-80)", 1, 50, 27.5f},
    {"D50% in %: the same dose as % of 50 Gy", 0, 50, 55},
    {"D100% ends the flat start: first segment 100->100 does not qualify", 1, 100, 10},
    {"D0%: no volume falls below 0, so 0 not the maximum", 1, 0, 0},
    {"D101%: above the first point's volume", 1, 101, 0},
    {"D20cc = 40%: qualifies at the start of 30->40", 3, 20, 30},
    {"D25cc = 50% in Gy", 3, 25, 27.5f},
    {"D25cc = 50% in %", 2, 25, 55},
    {"D90%: 10 + 10 x (90-100)/(80-100)", 1, 90, 15},
    // Volume at a dose.
    {"V20Gy exactly on a point gives that point's volume", 6, 20, 80},
    {"V25Gy in %: 80 + (40-80) x 0.5", 6, 25, 60},
    {"V25Gy in cc", 7, 25, 30},
    {"V40Gy, the last point's dose: right end must lie above", 6, 40, 0},
    {"V45Gy beyond the curve", 6, 45, 0},
    {"V50% (25 Gy) in %", 4, 50, 60},
    {"V50% (25 Gy) in cc", 5, 50, 30},
    {"V below the first point's dose %", 4, -5, 0},
    {"V0Gy: the first point qualifies (0 <= 0 < 10)", 6, 0, 100},
    // Stored statistics, returned unchanged.
    {"mean %", 8, 0, 50}, {"mean Gy", 9, 0, 25}, {"max %", 10, 0, 80},
    {"max Gy", 11, 0, 40}, {"min %", 12, 0, 40}, {"min Gy", 13, 0, 20},
    {"volume", 14, 0, 50},
    {"homogeneity: 40 / 20", 15, 0, 2},
    // Conformity index: body volume at the reference dose over 50 cc.
    {"CI at 25 Gy: 100 + (300-100) x (30-25)/(30-20) = 200 cc", 16, 0, 4, 6, 25},
    {"CI at 10 Gy, on a point: 600 cc", 16, 0, 12, 6, 10},
    {"CI in the body's last segment (40-50 Gy): 0 + 10 x 5/10 = 5 cc", 16, 0, 0.1f, 6, 45},
    {"CI at the body's last dose", 16, 0, -1, 6, 50},
    {"CI beyond the body", 16, 0, -1, 6, 60},
    {"CI below the body's first dose", 16, 0, -1, 6, -5},
    {"CI min dose 20 Gy: 300 cc", 16, 0, 6, 0, 0},
    {"CI max dose 40 Gy: 10 cc", 16, 0, 0.2f, 1, 0},
    {"CI mean dose 25 Gy", 16, 0, 4, 2, 0},
    {"CI prescribed 50 Gy: the body's last dose", 16, 0, -1, 3, 0},
    {"CI at D50% = 27.5 Gy: 100 + 200 x 2.5/10 = 150 cc", 16, 0, 3, 4, 50},
    {"CI at D25cc = 27.5 Gy", 16, 0, 3, 5, 25},
    {"CI at D0%: never crosses, 0 Gy: the whole body", 16, 0, 20, 4, 0},
    {"CI at 50 % of 50 Gy", 16, 0, 4, 7, 50},
    {"CI with an unknown reference", 16, 0, -1, 8, 25},
    {"CI of a cleared row's reference", 16, 0, -1, -1, 25},
    // Kinds outside 0-16.
    {"cleared kind", -1, 0, -1},
    {"kind 17", 17, 0, -1},
};

TEST(IndexCalculator, WorkedExampleVectors) {
    const PDatasetClass plan = fixtures::ExamplePlan();
    for (const Vector& v : kExampleVectors) {
        SCOPED_TRACE(v.what);
        EXPECT_NEAR(CalcPlanIndex(plan, 0, v.kind, v.value, v.ciReference, v.ciValue), v.expected,
                    1e-5);
    }
}

TEST(IndexCalculator, ResultIsTheSinglePrecisionRoundingOfTheDoubleInterpolation) {
    // 1/3 of the way through a segment: computed in double, returned as the nearest float.
    PDatasetClass plan;
    plan.DVHDataset = {fixtures::Structure("S", 60, 30, {{0.1f, 100}, {0.7f, 40}})};
    const float got = CalcPlanIndex(plan, 0, 1, 80, 0, 0);
    const double want = 0.1f + (0.7f - static_cast<double>(0.1f)) * (80.0 - 100.0) / (40.0 - 100.0);
    EXPECT_EQ(got, static_cast<float>(want));
}

TEST(IndexCalculator, StructuresWithoutASegmentOrWithoutVolume) {
    PDatasetClass plan;
    plan.DVHDataset = {fixtures::Structure("one", 50, 10, {{5, 100}}),
                       fixtures::Structure("none", 50, 10, {}),
                       fixtures::Structure("novolume", 50, 0, {{0, 100}, {10, 0}})};
    for (int s : {0, 1}) {
        SCOPED_TRACE(s);
        for (int kind = 0; kind <= 7; ++kind) EXPECT_EQ(CalcPlanIndex(plan, s, kind, 50, 0, 0), 0);
    }
    // Volume 0: the cc and volume-at-dose kinds have no value, the % dose kinds still work.
    for (int kind = 2; kind <= 7; ++kind) EXPECT_EQ(CalcPlanIndex(plan, 2, kind, 5, 0, 0), -1);
    EXPECT_FLOAT_EQ(CalcPlanIndex(plan, 2, 1, 50, 0, 0), 5);
    EXPECT_FLOAT_EQ(CalcPlanIndex(plan, 2, 0, 50, 0, 0), 10);
    EXPECT_EQ(CalcPlanIndex(plan, 2, 16, 0, 6, 5), -1);  // no body either
}

TEST(IndexCalculator, LaterCrossingWinsOnRisingSegments) {
    PDatasetClass plan;
    // Volume rises again between 10 and 20 Gy: 60 % is crossed in 0-10 (at 8 Gy) and in 20-30.
    plan.DVHDataset = {fixtures::Structure("S", 50, 100,
                                           {{0, 100}, {10, 50}, {20, 70}, {30, 20}, {40, 0}})};
    EXPECT_FLOAT_EQ(CalcPlanIndex(plan, 0, 1, 60, 0, 0), 22);  // 20 + 10 x (60-70)/(20-70)
    // Dose goes back from 10 to 5 Gy: 7 Gy is crossed twice, the later segment 5-15 wins.
    PDatasetClass back;
    back.DVHDataset = {fixtures::Structure("S", 50, 100, {{0, 100}, {10, 80}, {5, 90}, {15, 50}})};
    EXPECT_FLOAT_EQ(CalcPlanIndex(back, 0, 6, 7, 0, 0), 82);  // 90 + (50-90) x 2/10
}

TEST(IndexCalculator, FlatRunsNeverQualify) {
    PDatasetClass plan;
    // A flat run of volume at 60 % between 10 and 20 Gy and a flat dose step at 30 Gy.
    plan.DVHDataset = {fixtures::Structure(
        "S", 50, 100, {{0, 100}, {10, 60}, {20, 60}, {30, 40}, {30, 20}, {40, 0}})};
    // 60 %: 0-10 does not reach below 60, 10-20 stays at 60, 20-30 leaves it: its start, 20 Gy.
    EXPECT_FLOAT_EQ(CalcPlanIndex(plan, 0, 1, 60, 0, 0), 20);
    // 30 %: the vertical step at 30 Gy qualifies in volume and gives 30 Gy.
    EXPECT_FLOAT_EQ(CalcPlanIndex(plan, 0, 1, 30, 0, 0), 30);
    // At 30 Gy the vertical step (30 -> 30) cannot qualify in dose: the next segment 30-40 does.
    EXPECT_FLOAT_EQ(CalcPlanIndex(plan, 0, 6, 30, 0, 0), 20);
}

TEST(IndexCalculator, NegativeInterpolationsBecomeZero) {
    PDatasetClass plan;
    plan.DVHDataset = {fixtures::Structure("S", 50, 100, {{-10, 100}, {-5, 0}})};
    EXPECT_EQ(CalcPlanIndex(plan, 0, 1, 50, 0, 0), 0);  // -7.5 Gy
    // Stored statistics stay as stored, negative too.
    plan.DVHDataset[0].MeanDoseGy = -3;
    EXPECT_EQ(CalcPlanIndex(plan, 0, 9, 0, 0, 0), -3);
}

TEST(IndexCalculator, MendedCasesHaveNoValue) {
    PDatasetClass plan = fixtures::ExamplePlan();
    DVHDatasetClass& s = plan.DVHDataset[0];
    // Homogeneity with a minimum dose of 0: no value, not infinity.
    s.MinDoseGy = 0;
    EXPECT_EQ(CalcPlanIndex(plan, 0, 15, 0, 0, 0), -1);
    // Homogeneity that overflows a float.
    s.MaxDoseGy = 1e30f;
    s.MinDoseGy = 1e-30f;
    EXPECT_EQ(CalcPlanIndex(plan, 0, 15, 0, 0, 0), -1);
    // Non-finite stored statistics.
    s.MeanDoseGy = std::numeric_limits<float>::infinity();
    s.MaxDosePercent = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(CalcPlanIndex(plan, 0, 9, 0, 0, 0), -1);
    EXPECT_EQ(CalcPlanIndex(plan, 0, 10, 0, 0, 0), -1);
    // Structure and body indexes outside the plan.
    EXPECT_EQ(CalcPlanIndex(plan, 2, 1, 50, 0, 0), -1);
    EXPECT_EQ(CalcPlanIndex(plan, -1, 14, 0, 0, 0), -1);
    plan.BodyIndex = 5;
    EXPECT_EQ(CalcPlanIndex(plan, 0, 16, 0, 6, 25), -1);
    plan.BodyIndex = -1;
    EXPECT_EQ(CalcPlanIndex(plan, 0, 16, 0, 6, 25), -1);
}

TEST(IndexCalculator, ConformityNeedsAPositiveStructureVolume) {
    PDatasetClass plan = fixtures::ExamplePlan();
    plan.DVHDataset[0].Volume = -1;
    EXPECT_EQ(CalcPlanIndex(plan, 0, 16, 0, 6, 25), -1);
}

TEST(IndexCalculator, PercentAndCcAgreeOnAGeneratedCurve) {
    // D at a % volume equals D at the same volume in cc; V in % times the structure volume
    // equals V in cc.
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> step(0.0f, 1.5f);
    DVHDatasetClass s;
    s.PrescribedDose = 60;
    s.Volume = 73.4f;
    float vol = 100;
    for (int i = 0; i < 400; ++i) {
        DVsetClass p;
        p.DoseGy = i * 0.2f;
        p.DosePercent = p.DoseGy / 60 * 100;
        p.VolumePercent = vol;
        p.VolumeCc = vol * s.Volume / 100;
        s.DVset.push_back(p);
        vol = std::max(0.0f, vol - step(rng));
    }
    PDatasetClass plan;
    plan.DVHDataset = {s};
    for (float pct : {99.5f, 80.0f, 50.0f, 12.5f, 1.0f}) {
        SCOPED_TRACE(pct);
        EXPECT_NEAR(CalcPlanIndex(plan, 0, 1, pct, 0, 0),
                    CalcPlanIndex(plan, 0, 3, pct * s.Volume / 100, 0, 0), 1e-3);
        EXPECT_NEAR(CalcPlanIndex(plan, 0, 0, pct, 0, 0),
                    CalcPlanIndex(plan, 0, 1, pct, 0, 0) / 60 * 100, 1e-3);
    }
    for (float gy : {0.5f, 10.1f, 33.3f, 70.0f}) {
        SCOPED_TRACE(gy);
        EXPECT_NEAR(CalcPlanIndex(plan, 0, 6, gy, 0, 0) * s.Volume / 100,
                    CalcPlanIndex(plan, 0, 7, gy, 0, 0), 1e-3);
    }
}

// The calculator scans backwards for speed; a forward scan that keeps overwriting is the rule.
float ForwardDoseAtVolume(const std::vector<DVsetClass>& p, double w) {
    float r = -1;
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        if (p[i].VolumePercent >= w && p[i + 1].VolumePercent < w)
            r = static_cast<float>(p[i].DoseGy + (static_cast<double>(p[i + 1].DoseGy) - p[i].DoseGy) *
                                                     (w - p[i].VolumePercent) /
                                                     (static_cast<double>(p[i + 1].VolumePercent) - p[i].VolumePercent));
    return r < 0 ? 0 : r;
}

float ForwardVolumeAtDose(const std::vector<DVsetClass>& p, double d) {
    float r = -1;
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        if (p[i].DoseGy <= d && p[i + 1].DoseGy > d)
            r = static_cast<float>(p[i].VolumePercent +
                                   (static_cast<double>(p[i + 1].VolumePercent) - p[i].VolumePercent) *
                                       (d - p[i].DoseGy) /
                                       (static_cast<double>(p[i + 1].DoseGy) - p[i].DoseGy));
    return r < 0 ? 0 : r;
}

TEST(IndexCalculator, MatchesTheForwardRuleOnUnorderedCurves) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coarse(0, 10);  // coarse values: many ties and flats
    std::uniform_int_distribution<int> length(0, 140);  // short curves and many blocks
    for (int trial = 0; trial < 300; ++trial) {
        PDatasetClass plan;
        DVHDatasetClass s;
        s.Volume = 3;  // cc levels of kind 3 are then no floats: the double path
        const int n = trial % 2 ? coarse(rng) + 1 : length(rng);
        for (int i = 0; i < n; ++i) {
            DVsetClass p;
            p.DoseGy = static_cast<float>(coarse(rng));
            p.VolumePercent = static_cast<float>(coarse(rng) * 10);
            s.DVset.push_back(p);
        }
        plan.DVHDataset = {s};
        for (int level = -1; level <= 11; ++level) {
            SCOPED_TRACE(testing::Message() << "trial " << trial << " level " << level);
            EXPECT_EQ(CalcPlanIndex(plan, 0, 1, level * 10.0f + 5, 0, 0),
                      ForwardDoseAtVolume(s.DVset, level * 10.0 + 5));
            EXPECT_EQ(CalcPlanIndex(plan, 0, 1, level * 10.0f, 0, 0),
                      ForwardDoseAtVolume(s.DVset, level * 10.0));
            EXPECT_EQ(CalcPlanIndex(plan, 0, 6, level + 0.5f, 0, 0),
                      ForwardVolumeAtDose(s.DVset, level + 0.5));
            EXPECT_EQ(CalcPlanIndex(plan, 0, 6, static_cast<float>(level), 0, 0),
                      ForwardVolumeAtDose(s.DVset, level));
            EXPECT_EQ(CalcPlanIndex(plan, 0, 3, level * 0.3f + 0.1f, 0, 0),
                      ForwardDoseAtVolume(s.DVset, (level * 0.3f + 0.1f) * 100.0 / 3));
        }
    }
}

TEST(IndexCalculator, PrimitivesTellNoCrossingApartFromZero) {
    const DVHDatasetClass s = fixtures::ExampleStructure();
    EXPECT_FALSE(DoseAtVolume(s, 0, VolumeUnit::Percent, DoseUnit::Gy).has_value());
    EXPECT_FALSE(VolumeAtDose(s, 40, DoseUnit::Gy, VolumeUnit::Cc).has_value());
    ASSERT_TRUE(VolumeAtDose(s, 0, DoseUnit::Gy, VolumeUnit::Cc).has_value());
    EXPECT_FLOAT_EQ(*VolumeAtDose(s, 0, DoseUnit::Gy, VolumeUnit::Cc), 50);
    DVHDatasetClass empty = s;
    empty.Volume = 0;
    EXPECT_FALSE(DoseAtVolume(empty, 10, VolumeUnit::Cc, DoseUnit::Gy).has_value());
}

TEST(IndexCalculator, DatasetEntryKindsAndClamping) {
    const PDatasetClass plan = fixtures::ExamplePlan();
    EXPECT_FLOAT_EQ(CalcDatasetIndex(plan, 0, 0, 25), 60);    // % at 25 Gy
    EXPECT_FLOAT_EQ(CalcDatasetIndex(plan, 0, 1, 50), 60);    // % at 50 %
    EXPECT_FLOAT_EQ(CalcDatasetIndex(plan, 0, 2, 50), 55);    // dose % at 50 %
    EXPECT_FLOAT_EQ(CalcDatasetIndex(plan, 0, 3, 50), 27.5f); // Gy at 50 %
    // No pair encloses the level: 0, as the index kinds, not -1.
    EXPECT_EQ(CalcDatasetIndex(plan, 0, 0, 45), 0);
    EXPECT_EQ(CalcDatasetIndex(plan, 0, 3, 0), 0);
    // Unknown kinds and structures outside the plan have no value.
    EXPECT_EQ(CalcDatasetIndex(plan, 0, 4, 10), -1);
    EXPECT_EQ(CalcDatasetIndex(plan, 0, -1, 10), -1);
    EXPECT_EQ(CalcDatasetIndex(plan, 7, 0, 10), -1);
}

}  // namespace
