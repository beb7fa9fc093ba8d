// Reading and writing the numbers of the import formats independently of the locale.
#include "import/TableNumber.h"

#include "dvh/DvhLineFields.h"
#include "dvh/RoundToDigits.h"

#include <charconv>

bool ParseTableNumber(std::string_view field, double& out) {
    if (dvhtext::ParseNumber(field, out)) return true;
    const std::size_t comma = field.find(',');
    if (comma == std::string_view::npos || field.find(',', comma + 1) != std::string_view::npos) return false;
    std::string dotted(field);
    dotted[comma] = '.';
    return dvhtext::ParseNumber(dotted, out);
}

std::string FixedText(double value, int digits) {
    const double rounded = RoundToDigits(value, digits);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded,
                                      std::chars_format::fixed, digits);
    return std::string(buffer, result.ptr);
}
