// The histogram of a result row and the curve ends of the drawn curves.
#include "batch/BatchCharts.h"

#include "../planlist/PlanFixtures.h"

#include <gtest/gtest.h>

#include <limits>

TEST(BatchHistogram, BinsAndBarsOfTheValues) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        std::vector<float> values;
        double width;
        int firstBin;
        std::vector<int> counts;
    } cases[] = {
        {"range 22: width 2", {3, 4, 25}, 2, 0, {0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"all equal", {50, 50, 50}, 1, 49, {0, 3}},
        {"markers and infinity do not count", {-99, -1, inf, 50, 51}, 1, 49, {0, 1, 1}},
        {"no bar below bin 0", {0, 0.5f, 10}, 1, 0, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"width 5 stored from the first bar", {300, 340}, 5, 59, std::vector<int>(10, 0)},
        {"only markers", {-99, -1}, 0, 0, {}},
    };
    cases[4].counts[1] = 1;
    cases[4].counts[9] = 1;
    for (const Case& c : cases) {
        const BatchHistogram h = MakeBatchHistogram(c.values);
        EXPECT_EQ(h.BinWidth, c.width) << c.what;
        EXPECT_EQ(h.FirstBin, c.firstBin) << c.what;
        EXPECT_EQ(h.Counts, c.counts) << c.what;
    }
}

TEST(BatchHistogram, TheWidthLadderGoesOnPastTenThousandBars) {
    const BatchHistogram wide = MakeBatchHistogram({0, 199999});  // 20 would give 10,000 bars
    EXPECT_EQ(wide.BinWidth, 20);
    EXPECT_EQ(wide.Counts.size(), 10000u);
    const BatchHistogram wider = MakeBatchHistogram({0, 200000});
    EXPECT_EQ(wider.BinWidth, 50);
    EXPECT_EQ(wider.Counts.size(), 4001u);
    EXPECT_EQ(MakeBatchHistogram({0, 3e9f}).BinWidth, 500000);
    EXPECT_EQ(wider.LargestCount(), 1);
}

TEST(BatchCurveEnds, NextToLastPointOfEachCurveItsOnlyPointOrNothing) {
    std::vector<PDatasetClass> plans(1);
    DVHDatasetClass two = fixtures::Structure("A", 50, 10, {{0, 100}, {30, 50}, {70, 0}});
    DVHDatasetClass one = fixtures::Structure("B", 50, 10, {{40, 100}});
    DVHDatasetClass empty = fixtures::Structure("C", 50, 10, {});
    plans[0].DVHDataset = {two, one, empty};
    CurveEnds ends = BatchCurveEnds(plans, {0, 0, 0, 5}, {0, 1, 2, 0});
    EXPECT_FLOAT_EQ(ends.DoseGy, 40);  // the one-point curve's dose beats 30
    EXPECT_FLOAT_EQ(ends.DosePercent, 80);
    ends = BatchCurveEnds(plans, {0, 0, 0}, {0, 2, -99});
    EXPECT_FLOAT_EQ(ends.DoseGy, 30);
    ends = BatchCurveEnds(plans, {0}, {2});
    EXPECT_FLOAT_EQ(ends.DoseGy, 0);
}
