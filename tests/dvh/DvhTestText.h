// Helpers for the reader tests: export lines with fixed 23-character labels, joined lines, point checks.
#pragma once

#include "dvh/Records.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace dvhtest {

/// A fixed-label line: the label, blanks up to the 21st character, ": " and the value.
inline std::string L(std::string_view label, std::string_view value) {
    std::string line(label);
    if (line.size() < 21) line.append(21 - line.size(), ' ');
    return line + ": " + std::string(value);
}

/// Lines joined with `eol` after each.
inline std::string Lines(std::initializer_list<std::string> lines, std::string_view eol = "\n") {
    std::string text;
    for (const auto& l : lines) text += l + std::string(eol);
    return text;
}

/// Replaces every LF by CR LF.
inline std::string ToCrLf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

/// Right-aligns `text` in a field of `width` characters.
inline std::string Right(std::string_view text, std::size_t width) {
    std::string s(text);
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

/// Checks the four values of a point; doses and percentages to 1e-4, cc to 1e-3.
inline void ExpectPoint(const DVsetClass& p, double doseGy, double dosePercent, double volumeCc,
                        double volumePercent) {
    EXPECT_NEAR(p.DoseGy, doseGy, 1e-4);
    EXPECT_NEAR(p.DosePercent, dosePercent, 1e-4);
    EXPECT_NEAR(p.VolumeCc, volumeCc, 1e-3);
    EXPECT_NEAR(p.VolumePercent, volumePercent, 1e-4);
}

}  // namespace dvhtest
