// Typed numbers: what the dose prompt accepts and refuses.
#include "dvh/TypedNumber.h"

#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"

#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(TypedNumber, ADoseNoFloatHoldsIsRefusedWhereTypedAndByEveryPlanSumReader) {
    EXPECT_FLOAT_EQ(*ParsePrescribedDose("45.6789", '.'), 45.679f);
    EXPECT_FALSE(ParsePrescribedDose("1e39", '.'));  // finite as a double, infinite as a float
    EXPECT_FALSE(ParsePrescribedDose("1e309", '.'));
    // A dose that reached a reader anyway gives no plan whose relative doses are all 0.
    const float infinite = std::numeric_limits<float>::infinity();
    ParsedPlan plan;
    EXPECT_EQ(ParseDvhFile("", {3, infinite}, plan).status, ReadStatus::BadPrescribedDose);
    EXPECT_EQ(ParseDvhTextBlocks("", {13, infinite}, plan).status, ReadStatus::BadPrescribedDose);
}

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
