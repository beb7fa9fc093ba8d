// A curve's order is known only while nothing could have changed it behind its back.
#include "dvh/Records.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr DvhPointOrder kOrdered{};

TEST(DvhPointList, OrderFollowsEveryWayOfWritingPoints) {
    DVHDatasetClass s;
    s.SetPoints({{0, 0, 100, 10}, {50, 25, 50, 5}, {100, 50, 0, 0}});
    EXPECT_EQ(s.DVset.Order(), kOrdered);

    s.DVset.push_back({100, 50, 0, 0});  // a flat end keeps the order
    EXPECT_EQ(s.DVset.Order(), kOrdered);
    s.DVset.push_back({90, 51, 1, 0});  // % falls, volume rises; Gy still rises
    EXPECT_EQ(s.DVset.Order(), (DvhPointOrder{true, false, false}));

    s.DVset = {{0, 0, 100, 10}, {10, 5, 100, 10}};  // a whole assignment decides afresh
    EXPECT_EQ(s.DVset.Order(), kOrdered);
    s.DVset[1].VolumePercent = 200;  // a mutable element may break anything
    EXPECT_EQ(s.DVset.Order(), DvhPointOrder::Unknown());
    s.DVset.clear();
    EXPECT_EQ(s.DVset.Order(), kOrdered);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    s.SetPoints({{0, 0, 100, 10}, {nan, 5, nan, 5}, {10, 10, 0, 0}});
    EXPECT_EQ(s.DVset.Order(), (DvhPointOrder{true, false, false}));

    const DVHDatasetClass copy = s;  // copies carry the order of the same points
    EXPECT_EQ(copy.DVset.Order(), s.DVset.Order());
}

}  // namespace
