// Statistics of the curves read from BrainLAB tables and XiO histograms.
#include "import/TableStatistics.h"

namespace {

constexpr float kNone = -99.0f;

}  // namespace

void SetTableStatistics(DVHDatasetClass& s, double prescribedGy, MinimumDoseRule rule) {
    const std::vector<DVsetClass>& p = s.DVset;
    const std::size_t n = p.size();

    float minimum = kNone;
    for (std::size_t j = 0; j < n; ++j) {
        if (p[j].VolumePercent < 100.0f) {
            if (rule == MinimumDoseRule::FirstBelowFull)
                minimum = p[j].DosePercent;
            else
                minimum = j == 0 ? 0.0f : p[j - 1].DosePercent;
            break;
        }
    }
    float maximum = 0;
    for (std::size_t j = n; j-- > 0;) {
        if (p[j].VolumePercent > 0.0f) {
            maximum = p[j].DosePercent;
            break;
        }
    }
    double mean = 0;
    for (std::size_t j = 0; j + 1 < n; ++j)
        mean += (static_cast<double>(p[j].VolumePercent) - p[j + 1].VolumePercent) * 0.01 * p[j].DosePercent;

    const double toGy = prescribedGy * 0.01;
    s.MinDosePercent = minimum;
    // "None" is a mark, not a dose: it is never scaled.
    s.MinDoseGy = minimum == kNone ? kNone : static_cast<float>(minimum * toGy);
    s.MaxDosePercent = maximum;
    s.MaxDoseGy = static_cast<float>(maximum * toGy);
    s.MeanDosePercent = static_cast<float>(mean);
    s.MeanDoseGy = static_cast<float>(mean * toGy);
}
