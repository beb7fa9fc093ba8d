// Lookups on ordered curves (binary search) give the very bits of the point-by-point scan.
#include "planlist/IndexCalculator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <vector>

namespace {

struct Curve {
    const char* what;
    std::vector<DVsetClass> points;
};

DVsetClass Point(float gy, float pct, float prescribed, float volume) {
    return {gy / prescribed * 100.0f, gy, pct, pct * volume / 100.0f};
}

std::vector<DVsetClass> FromPairs(std::initializer_list<std::pair<float, float>> gyPct) {
    std::vector<DVsetClass> p;
    for (auto [gy, pct] : gyPct) p.push_back(Point(gy, pct, 50, 40));
    return p;
}

// A smooth curve in 0.01 Gy bins; coarse = volumes rounded to whole %, so long flat runs.
std::vector<DVsetClass> Smooth(int n, bool coarse) {
    std::vector<DVsetClass> p;
    for (int i = 0; i < n; ++i) {
        float pct = 100.0f / (1.0f + std::exp((0.01f * i - 0.3f) / 0.05f));
        if (coarse) pct = std::round(pct);
        p.push_back(Point(0.01f * i, pct, 0.7f, 12.5f));
    }
    return p;
}

// Random ordered curves of few distinct values: ties in both columns everywhere.
std::vector<DVsetClass> RandomOrdered(std::mt19937& rng) {
    std::uniform_int_distribution<int> step(0, 2), len(0, 40);
    std::vector<DVsetClass> p;
    int gy = 0, pct = 100;
    for (int i = len(rng); i > 0; --i) {
        p.push_back(Point(static_cast<float>(gy), static_cast<float>(pct), 50, 40));
        gy += step(rng);
        pct = std::max(0, pct - 10 * step(rng));
    }
    return p;
}

std::vector<DVsetClass> RandomUnordered(std::mt19937& rng) {
    std::uniform_int_distribution<int> value(0, 10), len(2, 40);
    std::vector<DVsetClass> p;
    for (int i = len(rng); i > 0; --i)
        p.push_back(Point(static_cast<float>(value(rng)), value(rng) * 10.0f, 50, 40));
    return p;
}

// Every value of the curve's columns, just beside them and beyond both ends.
std::vector<float> Levels(const std::vector<DVsetClass>& p) {
    std::set<float> v{-1.0f, 0.0f, 1e9f, std::numeric_limits<float>::quiet_NaN()};
    for (const DVsetClass& q : p)
        for (float x : {q.DoseGy, q.DosePercent, q.VolumePercent, q.VolumeCc}) {
            v.insert(x);
            v.insert(std::nextafter(x, -1e30f));
            v.insert(std::nextafter(x, 1e30f));
            v.insert(x + 0.5f);
        }
    return {v.begin(), v.end()};
}

std::uint32_t Bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// `searched` holds the curve as its reader sets it; `scanned` the same points with the order
// dropped by a mutable access, so that every lookup on it scans point by point.
void ExpectSameBits(const std::vector<DVsetClass>& points, bool ordered) {
    PDatasetClass searched, scanned;
    DVHDatasetClass s;
    s.Name = "Body";
    s.PrescribedDose = 50;
    s.Volume = 40;
    s.SetPoints(points);
    ASSERT_EQ(s.DVset.Order().VolumePercentNeverRises && s.DVset.Order().DoseGyNeverFalls &&
                  s.DVset.Order().DosePercentNeverFalls,
              ordered);
    searched.DVHDataset = {s};
    searched.BodyIndex = 0;
    scanned = searched;
    scanned.DVHDataset[0].DVset.resize(points.size());
    ASSERT_EQ(scanned.DVHDataset[0].DVset.Order(), DvhPointOrder::Unknown());

    for (float level : Levels(points)) {
        SCOPED_TRACE(testing::Message() << "level " << level);
        for (int kind = 0; kind <= 7; ++kind)
            ASSERT_EQ(Bits(CalcPlanIndex(searched, 0, kind, level, 0, 0)),
                      Bits(CalcPlanIndex(scanned, 0, kind, level, 0, 0)))
                << "kind " << kind;
        for (int kind = 0; kind <= 3; ++kind)
            ASSERT_EQ(Bits(CalcDatasetIndex(searched, 0, kind, level)), Bits(CalcDatasetIndex(scanned, 0, kind, level)))
                << "dataset kind " << kind;
        for (int reference : {4, 5, 6, 7})  // the body lookup, at a dose and at a nested dose
            ASSERT_EQ(Bits(CalcPlanIndex(searched, 0, 16, 0, reference, level)),
                      Bits(CalcPlanIndex(scanned, 0, 16, 0, reference, level)))
                << "conformity reference " << reference;
    }
}

TEST(IndexSearch, OrderedCurvesGiveTheScansBits) {
    const Curve curves[] = {
        {"worked example", FromPairs({{0, 100}, {10, 100}, {20, 80}, {30, 40}, {40, 0}})},
        {"plateaus at the levels", FromPairs({{0, 100}, {5, 100}, {10, 100}, {20, 60}, {30, 60}, {40, 60}, {50, 0}})},
        {"equal neighbouring doses", FromPairs({{0, 100}, {10, 90}, {10, 70}, {20, 70}, {20, 0}})},
        {"flat at zero to the end", FromPairs({{0, 100}, {10, 0}, {20, 0}, {30, 0}})},
        {"two points", FromPairs({{0, 100}, {1, 0}})},
        {"one point", FromPairs({{3, 50}})},
        {"no point", {}},
        {"fine bins", Smooth(1000, false)},
        {"fine bins, whole percents", Smooth(1000, true)},
    };
    for (const Curve& c : curves) {
        SCOPED_TRACE(c.what);
        ExpectSameBits(c.points, true);
    }
    std::mt19937 rng(13);
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(testing::Message() << "random ordered " << trial);
        ExpectSameBits(RandomOrdered(rng), true);
    }
}

TEST(IndexSearch, UnorderedCurvesAreScanned) {
    ExpectSameBits(FromPairs({{0, 100}, {10, 40}, {20, 60}, {30, 0}}), false);  // a rise in volume
    ExpectSameBits(FromPairs({{0, 100}, {20, 60}, {10, 40}, {30, 0}}), false);  // a fall in dose
    std::mt19937 rng(17);
    for (int trial = 0; trial < 100; ++trial) {
        SCOPED_TRACE(testing::Message() << "random unordered " << trial);
        std::vector<DVsetClass> p = RandomUnordered(rng);
        const DvhPointOrder o = DvhPointOrder::Of(p);
        ExpectSameBits(p, o.DoseGyNeverFalls && o.DosePercentNeverFalls && o.VolumePercentNeverRises);
    }
}

}  // namespace
