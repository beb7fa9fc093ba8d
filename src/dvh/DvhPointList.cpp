// Deciding a curve's order once, when its points are set.
#include "dvh/DvhPointList.h"

DvhPointOrder DvhPointOrder::Of(const std::vector<DVsetClass>& points) {
    // Flags are and-ed without branches so the pass stays a fraction of reading the points.
    bool gy = true, pct = true, vol = true;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const DVsetClass& a = points[i - 1];
        const DVsetClass& b = points[i];
        gy &= b.DoseGy >= a.DoseGy;
        pct &= b.DosePercent >= a.DosePercent;
        vol &= b.VolumePercent <= a.VolumePercent;
    }
    return {gy, pct, vol};
}
