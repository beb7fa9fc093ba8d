// Deciding a curve's order once, when its points are set; versions of point lists.
#include "dvh/DvhPointList.h"

#include <atomic>

std::uint64_t DvhPointList::NextVersion() {
    // Plans may be read on several threads at once; every list still gets a number of its own.
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

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
