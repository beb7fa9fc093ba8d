// Converting typed text to a number, refusing anything that is no plain decimal number.
#include "dvh/TypedNumber.h"

#include "dvh/RoundToDigits.h"

#include <charconv>
#include <cmath>
#include <string>

std::optional<double> ParseTypedNumber(std::string_view text, char decimalSeparator) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;

    // Normalise to what from_chars reads, checking the shape as we go.
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-') {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            plain += c;
        } else if ((c == decimalSeparator || c == '.') && !point) {
            point = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        bool expDigits = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            expDigits = true;
            plain += text[i];
        }
        if (!expDigits) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> ParsePrescribedDose(std::string_view text, char decimalSeparator) {
    const std::optional<double> value = ParseTypedNumber(text, decimalSeparator);
    if (!value) return std::nullopt;
    const float dose = static_cast<float>(RoundToDigits(*value, 3));
    if (!std::isfinite(dose)) return std::nullopt;
    return dose;
}
