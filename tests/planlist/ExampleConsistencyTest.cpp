// The example exports are plans a physicist can believe: the Body holds every structure, and
// the target is covered conformally and homogeneously.
#include "dvh/Workspace.h"
#include "planlist/IndexCalculator.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

/// Cumulative volume in cc at `doseGy`, read off the curve's points by linear interpolation;
/// 0 past the last point.
double CcAt(const DVHDatasetClass& s, double doseGy) {
    const std::vector<DVsetClass>& p = s.DVset;
    if (p.empty() || doseGy > p.back().DoseGy) return 0;
    if (doseGy <= p.front().DoseGy) return p.front().VolumeCc;
    for (std::size_t j = 1; j < p.size(); ++j) {
        if (doseGy <= p[j].DoseGy) {
            const double t = (doseGy - p[j - 1].DoseGy) / (p[j].DoseGy - p[j - 1].DoseGy);
            return p[j - 1].VolumeCc + t * (p[j].VolumeCc - p[j - 1].VolumeCc);
        }
    }
    return 0;
}

}  // namespace

TEST(ExampleExports, BodyHoldsEveryStructureAndTheTargetIsConformalAndHomogeneous) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TESSARAY_EXAMPLES)) {
        Workspace ws;
        // Plan sums are given the example protocol's prescription.
        const int index = ws.LoadDvhFileHeadless(entry.path().string(), 78);
        if (index < 0) continue;  // the plan list, the README
        if (ws.PDataset[index].DVHDataset.empty()) continue;  // XiO: read once its dialog is answered
        const PDatasetClass& plan = ws.PDataset[index];
        SCOPED_TRACE(entry.path().filename().string());
        ++checked;
        ASSERT_GE(plan.BodyIndex, 0);
        const DVHDatasetClass& body = plan.DVHDataset[plan.BodyIndex];
        // Volumes are printed to 4 decimals of a per cent of the Body at worst.
        const double tolerance = 1e-6 * body.Volume;
        for (const DVHDatasetClass& s : plan.DVHDataset) {
            SCOPED_TRACE(s.Name);
            EXPECT_GE(body.MaxDoseGy, s.MaxDoseGy);
            EXPECT_GE(body.Volume, s.Volume);
            for (const DVsetClass& point : s.DVset)
                EXPECT_GE(CcAt(body, point.DoseGy) + tolerance, point.VolumeCc) << point.DoseGy << " Gy";
        }
        for (int k = 0; k < plan.DVHDatasetCount(); ++k) {
            if (plan.DVHDataset[k].Name != "PTV") continue;
            const float homogeneity = CalcPlanIndex(plan, k, KindHomogeneity, 0, 0, 0);
            const float conformity = CalcPlanIndex(plan, k, KindConformity, 0, CiPrescribedDose, 0);
            EXPECT_NEAR(homogeneity, 1.05, 0.03);
            EXPECT_NEAR(conformity, 1.0, 0.1);
        }
    }
    EXPECT_GE(checked, 7);
}
