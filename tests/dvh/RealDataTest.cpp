// Real exports made by others, read from the shared folder: header, structures, curves, statistics.
#include "dvh/Workspace.h"
#include "../support/RealData.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kJaneDoe = RealDataFile("cran+RadOnc/Jane_Doe.dvh");

/// Mean dose (Gy) of a cumulative DVH: the area under the relative curve, trapezoids.
double MeanFromCurve(const DVHDatasetClass& s) {
    double area = 0;
    for (std::size_t i = 1; i < s.DVset.size(); ++i)
        area += (s.DVset[i].DoseGy - s.DVset[i - 1].DoseGy) * (s.DVset[i].VolumePercent + s.DVset[i - 1].VolumePercent) / 2;
    return area / 100;
}

}  // namespace

TEST(RealData, JaneDoeReadsAsThePlanningSystemPrintedIt) {
    if (!std::filesystem::exists(kJaneDoe)) GTEST_SKIP() << "no real data at " << kJaneDoe;
    Workspace ws;
    const int plan = ws.LoadDvhFileHeadless(kJaneDoe, 0);
    ASSERT_EQ(plan, 0) << ws.LastReadResult.detail;
    const PDatasetClass& p = ws.PDataset[plan];
    EXPECT_EQ(p.FileType, 12);
    EXPECT_EQ(p.PatientName, "Doe Jane ");
    EXPECT_EQ(p.PatientID, "1111111111");
    EXPECT_EQ(p.PatientExtra, "");
    EXPECT_EQ(p.PlanName, "PLAN_NAME");
    EXPECT_EQ(p.PlanID, "PLAN_NAME");
    EXPECT_EQ(p.Date, "05/24/2013");
    EXPECT_EQ(p.Time, "00:00:00");

    struct Expected { const char* name; float volume; float minCGy, maxCGy, meanCGy; float lastVolumePercent; } expected[] = {
        {"LIVER", 1635.9f, 42.7f, 5634.2f, 707.0f, 0},
        {"LEFT_KIDNEY", 195.7f, 75.8f, 3846.8f, 1020.7f, 0},
        {"STOMACH", 695.2f, 59.0f, 5353.2f, 1279.6f, 0},
        {"DUODENUM", 34.2f, 2707.8f, 5620.1f, 4755.4f, 0},
        {"RIGHT_KIDNEY", 223.9f, 102.4f, 4201.9f, 1511.1f, 0},
        {"CTV", 146.7f, 5168.6f, 5646.9f, 5500.0f, 0},
        {"PTV", 239.4f, 4749.8f, 5664.7f, 5470.9f, 0.00181527f},
        {"SMALL_BOWEL", 232.2f, 59.6f, 4934.1f, 294.2f, 0},
        {"CORD", 64.9f, 0.0f, 3442.8f, 731.5f, 0},
        {"BODY", 25507.5f, 0.0f, 5664.7f, 478.1f, 3.53804e-05f},
    };
    ASSERT_EQ(p.DVHDatasetCount(), 10);
    EXPECT_EQ(p.BodyIndex, 9);
    for (int i = 0; i < 10; ++i) {
        const Expected& e = expected[i];
        const DVHDatasetClass& s = p.DVHDataset[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(s.Name, e.name);
        EXPECT_FLOAT_EQ(s.PrescribedDose, 55.0f);  // 5500 cGy
        EXPECT_FLOAT_EQ(s.Volume, e.volume);
        // Printed with one decimal in cGy: 0.0005 Gy.
        EXPECT_NEAR(s.MinDoseGy, e.minCGy / 100, 5e-4);
        EXPECT_NEAR(s.MaxDoseGy, e.maxCGy / 100, 5e-4);
        EXPECT_NEAR(s.MeanDoseGy, e.meanCGy / 100, 5e-4);
        EXPECT_NEAR(s.MeanDosePercent, e.meanCGy / 55, 1e-3);
        ASSERT_EQ(s.LastDVsetIndex(), 1132);  // 0 to 5660 cGy in 5 cGy steps
        EXPECT_EQ(s.DVset.front().DoseGy, 0.0f);
        EXPECT_FLOAT_EQ(s.DVset.front().VolumePercent, 100.0f);
        EXPECT_FLOAT_EQ(s.DVset.front().VolumeCc, e.volume);
        EXPECT_NEAR(s.DVset.back().DoseGy, 56.6, 1e-4);
        EXPECT_NEAR(s.DVset.back().DosePercent, 102.909, 1e-4);
        EXPECT_NEAR(s.DVset.back().VolumePercent, e.lastVolumePercent, 1e-9);
        // The curve and the printed mean agree (5 cGy bins: within 0.5 %).
        EXPECT_NEAR(MeanFromCurve(s), s.MeanDoseGy, 0.005 * s.MeanDoseGy + 1e-3);
    }
}

TEST(RealData, BrainLabClipboardTableIsNoPlanExport) {
    const std::string path = RealDataFile("victorgabr+pps/dvh_ptv_based.txt");
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no real data at " << path;
    Workspace ws;
    EXPECT_EQ(ws.ReadDvhHeader(path), 0);
    EXPECT_EQ(ws.LastHeaderResult.status, ReadStatus::Unrecognised);
    EXPECT_EQ(ws.LoadDvhFileHeadless(path, 0), -1);
    EXPECT_EQ(ws.PDatasetCount(), 0);
}
