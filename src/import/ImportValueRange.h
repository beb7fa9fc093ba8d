// The range of the values the import readers take: one rule for the BrainSCAN/iPlan table and
// XiO readers alike, so that a file one of them refuses the other refuses too.
#pragma once

#include "dvh/ReadResult.h"
#include "dvh/Records.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace importrange {

/// Prescribed doses a plan may have, in Gy: 1 mGy to 10 kGy, orders of magnitude beyond any
/// prescription on either side, so that only a broken file (1e-42, 1e37) meets the bounds and
/// every dose derived from it stays well inside a float.
inline constexpr double kMinPrescribedGy = 0.001;
inline constexpr double kMaxPrescribedGy = 10000.0;

/// A dose or volume (Gy, %, cc): finite as a float and not below 0 (-0 is 0).
inline bool ValueInRange(float v) { return std::isfinite(v) && !(v < 0); }

#if defined(__SSE2__)
/// `ValueInRange` for four floats at once: all bits set in each lane that is out of range.
inline __m128i OutOfRangeLanes(__m128 values) {
    const __m128i exponent = _mm_set1_epi32(0x7F800000);
    const __m128i notFinite = _mm_cmpeq_epi32(_mm_and_si128(_mm_castps_si128(values), exponent), exponent);
    return _mm_or_si128(notFinite, _mm_castps_si128(_mm_cmplt_ps(values, _mm_setzero_ps())));
}
#endif

/// Every value of the point is in range (`ValueInRange`).
inline bool PointInRange(const DVsetClass& p) {
#if defined(__SSE2__)
    const __m128 values = _mm_setr_ps(p.DosePercent, p.DoseGy, p.VolumePercent, p.VolumeCc);
    return _mm_movemask_epi8(OutOfRangeLanes(values)) == 0;
#else
    return ValueInRange(p.DosePercent) && ValueInRange(p.DoseGy) && ValueInRange(p.VolumePercent) &&
           ValueInRange(p.VolumeCc);
#endif
}

/// Ok when the volume and every dose statistic (minimum, maximum, mean; Gy and %) of `s` are
/// finite; the refusal on `line`, the structure's own, otherwise. Values in range can still sum
/// or scale beyond a float (a volume of 1e38 % in a row makes the mean dose infinite).
inline ReadResult CheckStatistics(const DVHDatasetClass& s, long line) {
    for (float v : {s.Volume, s.MinDoseGy, s.MinDosePercent, s.MaxDoseGy, s.MaxDosePercent, s.MeanDoseGy,
                    s.MeanDosePercent})
        if (!std::isfinite(v)) return OutOfRangeAt(line);
    return {};
}

/// Ok for a prescribed dose (Gy) that relative doses can be derived from and that lies in
/// range; the refusal, on `line`, otherwise.
inline ReadResult CheckPrescribedDose(float gy, long line) {
    if (std::isfinite(gy) && !(gy > 0))
        return ReadResult::Fail(ReadStatus::BadPrescribedDose, line, "the prescribed dose must be above 0");
    if (!(gy >= kMinPrescribedGy && gy <= kMaxPrescribedGy)) return OutOfRangeAt(line);
    return {};
}

}  // namespace importrange
