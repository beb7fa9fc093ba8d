// The fast way through a BrainSCAN/iPlan table row: its numbers read straight from the cursor's
// buffer and its points written in place, each structure's into its own curve.
#pragma once

#include "dvh/DvhLineFields.h"
#include "dvh/DvhReading.h"
#include "dvh/DvhRowScan.h"
#include "import/ImportValueRange.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tablerows {

/// `dvhrows::PlainDecimal` for the numbers of a table, which are written with three decimals
/// ("100.000", "7.125"): one to three digits, the point and three digits are checked and read as
/// one integer of thousandths in a few steps on eight bytes at once. Any other form (a sign, more
/// or fewer digits, an exponent) is left to `PlainDecimal`; what is taken reads as it would (the
/// same integer divided by the same power of ten).
[[gnu::always_inline]] inline bool TableDecimal(const char*& p, double& out) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    // The first point among the eight bytes (a zero byte after the XOR; what a borrow may mark
    // lies only above it).
    const std::uint64_t dots = w ^ 0x2E2E2E2E2E2E2E2Eull;
    const std::uint64_t dot = (dots - 0x0101010101010101ull) & ~dots & 0x8080808080808080ull;
    const int whole = dot ? __builtin_ctzll(dot) >> 3 : 0;
    if (whole == 0 || whole > 3) return dvhrows::PlainDecimal(p, out);
    // The number moved up to end at byte 6, "0"s in front, the byte after it at byte 7; the
    // point, then at byte 3, taken out: six digits, three of them thousandths.
    const int shift = 8 * (3 - whole);
    const std::uint64_t aligned = (w << shift) | (0x3030303030303030ull & ((std::uint64_t(1) << shift) - 1));
    const std::uint64_t digits = (aligned & 0xFFFFFFull) | ((aligned >> 8) & 0xFFFFFF000000ull);
    const bool allDigits =
        (((digits + 0x4646464646464646ull) | (digits - 0x3030303030303030ull)) & 0x0000808080808080ull) == 0;
    const unsigned after = static_cast<unsigned>(aligned >> 56);
    if (!allDigits || after - '0' < 10 || (after | 0x20) == 'e') return dvhrows::PlainDecimal(p, out);
    out = static_cast<double>(dvhtext::detail::DigitsValue(digits, 6)) / dvhtext::kPow10[3];
    p += whole + 4;
    return true;
}

/// The points of one table row, written into the curves: the row's doses once, then each
/// structure's volumes. Remembers whether any value is out of range (`importrange::ValueInRange`).
class RowPoints {
public:
    RowPoints(double dosePercent, double doseGy) {
#if defined(__SSE2__)
        m_doses = _mm_cvtpd_ps(_mm_set_pd(doseGy, dosePercent));
        m_outOfRange = importrange::OutOfRangeLanes(m_doses);
#else
        m_point.DosePercent = static_cast<float>(dosePercent);
        m_point.DoseGy = static_cast<float>(doseGy);
        m_inRange = importrange::ValueInRange(m_point.DosePercent) && importrange::ValueInRange(m_point.DoseGy);
#endif
    }

    /// Writes the point at `at`: the volume `volumePercent` in %, and times `ccPerPercent` in cc.
    [[gnu::always_inline]] void Put(DVsetClass* at, double volumePercent, double ccPerPercent) {
#if defined(__SSE2__)
        static_assert(sizeof(DVsetClass) == 16 && offsetof(DVsetClass, DosePercent) == 0 &&
                      offsetof(DVsetClass, DoseGy) == 4 && offsetof(DVsetClass, VolumePercent) == 8 &&
                      offsetof(DVsetClass, VolumeCc) == 12);
        const __m128 volumes = _mm_cvtpd_ps(_mm_set_pd(volumePercent * ccPerPercent, volumePercent));
        _mm_storeu_ps(&at->DosePercent, _mm_movelh_ps(m_doses, volumes));
        m_outOfRange = _mm_or_si128(m_outOfRange, importrange::OutOfRangeLanes(volumes));
#else
        m_point.VolumePercent = static_cast<float>(volumePercent);
        m_point.VolumeCc = static_cast<float>(volumePercent * ccPerPercent);
        m_inRange &= importrange::PointInRange(m_point);
        *at = m_point;
#endif
    }

    bool InRange() const {
#if defined(__SSE2__)
        return _mm_movemask_epi8(m_outOfRange) == 0;
#else
        return m_inRange;
#endif
    }

private:
#if defined(__SSE2__)
    __m128 m_doses;  // percent and Gy in the two low floats
    __m128i m_outOfRange;
#else
    DVsetClass m_point;
    bool m_inRange;
#endif
};

}  // namespace tablerows
