// Number reading of export values and columns: the fast path must agree with the library.
#include "dvh/DvhLineFields.h"

#include <gtest/gtest.h>

#include <charconv>
#include <random>

using namespace dvhtext;

TEST(DvhLineFields, NumbersReadExactlyAsTheLibraryWouldOrNotAtAll) {
    struct Case { const char* text; bool ok; double value; } cases[] = {
        {"5500.0", true, 5500.0},        {" 42.7 ", true, 42.7},          {"+3", true, 3.0},
        {"-0.5", true, -0.5},            {"3.53804e-005", true, 3.53804e-5}, {"1E3", true, 1000.0},
        {"0.000486336", true, 0.000486336}, {".5", true, 0.5},             {"5.", true, 5.0},
        {"", false, 0},                  {"   ", false, 0},              {"N/A", false, 0},
        {"12,5", false, 0},              {"1e", false, 0},               {"inf", false, 0},
        {"nan", false, 0},               {"1e999", false, 0},            {"--1", false, 0},
        {"1.2.3", false, 0},             {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double v = -1;
        EXPECT_EQ(ParseNumber(c.text, v), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, c.value);
        }
    }
    // Columns lose their inner blanks first.
    double v = 0;
    EXPECT_TRUE(ParseColumn("   1 234.5  ", v));
    EXPECT_EQ(v, 1234.5);
    EXPECT_TRUE(ParseColumn("                       0.0001", v));
    EXPECT_EQ(v, 0.0001);
    EXPECT_FALSE(ParseColumn("                 ", v));
    EXPECT_FALSE(ParseColumn("  12a.5", v));

    // Random decimals of every length and exponent agree bit for bit with std::from_chars.
    std::mt19937_64 draw(12345);
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        if (draw() % 4 == 0) text += '-';
        const int intDigits = static_cast<int>(draw() % 12), fracDigits = static_cast<int>(draw() % 14);
        for (int k = 0; k < intDigits; ++k) text += static_cast<char>('0' + draw() % 10);
        if (fracDigits || intDigits == 0) text += '.';
        for (int k = 0; k < fracDigits || (intDigits == 0 && k == 0); ++k) text += static_cast<char>('0' + draw() % 10);
        if (draw() % 3 == 0) text += "e" + std::to_string(static_cast<int>(draw() % 61) - 30);
        double expected = 0, got = 0;
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
        const bool libraryOk = ec == std::errc() && ptr == text.data() + text.size() && std::isfinite(expected);
        ASSERT_EQ(ParseNumber(text, got), libraryOk) << text;
        if (libraryOk) {
            ASSERT_EQ(got, expected) << text;
        }
    }
}
