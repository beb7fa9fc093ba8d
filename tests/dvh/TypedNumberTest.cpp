// Typed numbers: what the dose prompt accepts and refuses.
#include "dvh/TypedNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedNumber, AcceptsPlainDecimalNumbersOnly) {
    struct Case {
        const char* text;
        char sep;
        std::optional<double> expected;
    } cases[] = {
        {"70", '.', 70.0},
        {"45.6789", '.', 45.6789},
        {"45,6789", ',', 45.6789},
        {"45.5", ',', 45.5},  // "." is taken whatever the user's separator
        {" -2.5 ", '.', -2.5},
        {"+3", '.', 3.0},
        {"1e2", '.', 100.0},
        {"1.5E-1", '.', 0.15},
        {".5", '.', 0.5},
        {"5.", '.', 5.0},
        {"0", '.', 0.0},
        {"", '.', std::nullopt},
        {"   ", '.', std::nullopt},
        {"abc", '.', std::nullopt},
        {"12abc", '.', std::nullopt},
        {"1.2.3", '.', std::nullopt},
        {"45,6", '.', std::nullopt},  // a foreign separator is not a number
        {"-", '.', std::nullopt},
        {".", '.', std::nullopt},
        {"1e", '.', std::nullopt},
        {"0x10", '.', std::nullopt},
        {"inf", '.', std::nullopt},
        {"nan", '.', std::nullopt},
        {"1e999", '.', std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = ParseTypedNumber(c.text, c.sep);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << '"' << c.text << '"';
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.expected) << c.text;
        }
    }
}

}  // namespace
