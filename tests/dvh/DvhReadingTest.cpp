// The checks the plan DVH readers share for every table row.
#include "dvh/DvhReading.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

TEST(DvhReading, FiniteAgreesWithTheLibraryOnEveryField) {
    using L = std::numeric_limits<float>;
    const float special[] = {0.0f,       -0.0f,     1.0f,         -78.5f,      L::max(),       -L::max(),
                             L::min(),   L::denorm_min(), L::infinity(), -L::infinity(), L::quiet_NaN(),
                             -L::quiet_NaN(), std::bit_cast<float>(0x7F800001u), std::bit_cast<float>(0xFF7FFFFFu)};
    auto expected = [](const DVsetClass& p) {
        return std::isfinite(p.DosePercent) && std::isfinite(p.DoseGy) && std::isfinite(p.VolumePercent) &&
               std::isfinite(p.VolumeCc);
    };
    // Each special value in each field, the others ordinary.
    for (int field = 0; field < 4; ++field) {
        for (float x : special) {
            DVsetClass p{12.5f, 3.25f, 99.0f, 140.0f};
            float* f[4] = {&p.DosePercent, &p.DoseGy, &p.VolumePercent, &p.VolumeCc};
            *f[field] = x;
            EXPECT_EQ(dvhread::Finite(p), expected(p)) << "field " << field << " value bits " << std::bit_cast<std::uint32_t>(x);
        }
    }
    // Random bit patterns, with every exponent all ones often enough to matter.
    std::mt19937_64 draw(7);
    for (int i = 0; i < 200000; ++i) {
        std::uint32_t bits[4];
        for (auto& b : bits) {
            b = static_cast<std::uint32_t>(draw());
            if (draw() % 8 == 0) b |= 0x7F800000u;
        }
        const DVsetClass p{std::bit_cast<float>(bits[0]), std::bit_cast<float>(bits[1]), std::bit_cast<float>(bits[2]),
                           std::bit_cast<float>(bits[3])};
        ASSERT_EQ(dvhread::Finite(p), expected(p)) << i;
    }
}
