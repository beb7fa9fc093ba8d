// Deciding a curve's order once, when its points are set; versions of point lists.
#include "dvh/DvhPointList.h"

#include <atomic>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

DvhPointOrder DvhPointOrder::Of(const std::vector<DVsetClass>& points) {
#if defined(__SSE2__)
    // A point is one vector of four floats: each neighbour pair is compared in every column at
    // once (an ordered compare: NaN never passes), so the pass costs little beside reading.
    static_assert(sizeof(DVsetClass) == 16 && offsetof(DVsetClass, DosePercent) == 0 &&
                  offsetof(DVsetClass, DoseGy) == 4 && offsetof(DVsetClass, VolumePercent) == 8);
    if (points.size() < 2) return {};
    const float* p = &points.front().DosePercent;
    __m128 prev = _mm_loadu_ps(p);
    __m128 neverFalls = _mm_castsi128_ps(_mm_set1_epi32(-1));
    __m128 neverRises = neverFalls;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const __m128 next = _mm_loadu_ps(p + 4 * i);
        neverFalls = _mm_and_ps(neverFalls, _mm_cmpge_ps(next, prev));
        neverRises = _mm_and_ps(neverRises, _mm_cmple_ps(next, prev));
        prev = next;
    }
    const int up = _mm_movemask_ps(neverFalls), down = _mm_movemask_ps(neverRises);
    return {(up & 2) != 0, (up & 1) != 0, (down & 4) != 0};
#else
    bool gy = true, pct = true, vol = true;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const DVsetClass& a = points[i - 1];
        const DVsetClass& b = points[i];
        gy &= b.DoseGy >= a.DoseGy;
        pct &= b.DosePercent >= a.DosePercent;
        vol &= b.VolumePercent <= a.VolumePercent;
    }
    return {gy, pct, vol};
#endif
}

std::uint64_t DvhPointList::NextVersion() {
    // Plans may be read on several threads at once; every list still gets a number of its own.
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}
