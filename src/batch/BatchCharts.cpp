// The histogram of a result row and the curve ends of the overlaid curves.
#include "batch/BatchCharts.h"

#include <algorithm>
#include <cmath>

int BatchHistogram::LargestCount() const {
    return Counts.empty() ? 0 : *std::max_element(Counts.begin(), Counts.end());
}

namespace {

/// The bin width ladder: 1, 2, 5, 10, 20, 50, 100, 200, 500, ...
double NextWidth(double w) {
    const double decade = std::pow(10.0, std::floor(std::log10(w) + 1e-9));
    const double mantissa = w / decade;
    if (mantissa < 1.5) return 2 * decade;
    if (mantissa < 3.5) return 5 * decade;
    return 10 * decade;
}

double WidthForRange(double range) {
    if (range < 19) return 1;
    if (range < 39) return 2;
    if (range < 99) return 5;
    if (range < 199) return 10;
    return 20;
}

}  // namespace

BatchHistogram MakeBatchHistogram(const std::vector<float>& values) {
    BatchHistogram h;
    bool any = false;
    for (float v : values) {
        if (!std::isfinite(v) || v < 0) continue;
        if (!any) h.MinValue = h.MaxValue = v;
        h.MinValue = std::min<double>(h.MinValue, v);
        h.MaxValue = std::max<double>(h.MaxValue, v);
        any = true;
    }
    if (!any) return h;

    double w = WidthForRange(h.MaxValue - h.MinValue);
    // Bins from the bar below the smallest value (never below 0) to the largest value's.
    auto firstBin = [&](double width) { return std::max(0.0, std::trunc(h.MinValue / width - 1)); };
    auto lastBin = [&](double width) { return std::trunc(h.MaxValue / width); };
    while (lastBin(w) - firstBin(w) + 1 > kMaxHistogramBars) w = NextWidth(w);

    h.BinWidth = w;
    h.FirstBin = static_cast<int>(firstBin(w));
    h.Counts.assign(static_cast<std::size_t>(lastBin(w) - firstBin(w) + 1), 0);
    for (float v : values) {
        if (!std::isfinite(v) || v < 0) continue;
        const auto bin = static_cast<long long>(std::trunc(v / w)) - h.FirstBin;
        if (bin >= 0 && bin < static_cast<long long>(h.Counts.size())) ++h.Counts[static_cast<std::size_t>(bin)];
    }
    return h;
}

const DVHDatasetClass* BatchStructure(const std::vector<PDatasetClass>& plans, const std::vector<int>& planDatasetIndex,
                                      const std::vector<int>& structureIndex, std::size_t i) {
    if (i >= planDatasetIndex.size() || i >= structureIndex.size()) return nullptr;
    const int p = planDatasetIndex[i], s = structureIndex[i];
    if (p < 0 || p >= static_cast<int>(plans.size())) return nullptr;
    if (s < 0 || s >= plans[p].DVHDatasetCount()) return nullptr;
    return &plans[p].DVHDataset[s];
}

CurveEnds BatchCurveEnds(const std::vector<PDatasetClass>& plans, const std::vector<int>& planDatasetIndex,
                         const std::vector<int>& structureIndex) {
    CurveEnds ends;
    for (std::size_t i = 0; i < planDatasetIndex.size(); ++i) {
        const DVHDatasetClass* s = BatchStructure(plans, planDatasetIndex, structureIndex, i);
        if (!s || s->DVset.empty()) continue;
        const DVsetClass& end = s->DVset.size() >= 2 ? s->DVset[s->DVset.size() - 2] : s->DVset.front();
        ends.DoseGy = std::max(ends.DoseGy, end.DoseGy);
        ends.DosePercent = std::max(ends.DosePercent, end.DosePercent);
    }
    return ends;
}
