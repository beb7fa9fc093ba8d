// Number texts of the program's labels and grids.
#include "dvh/NumberText.h"

#include <cstdio>

std::string FormatGeneral(double value) {
    if (value == 0) return "0";  // also -0
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

std::string FormatFixed(double value, int digits) {
    if (digits < 0) digits = 0;
    if (digits > 30) digits = 30;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, value);
    std::string text = buffer;
    // "-0.00" is a rounded zero: show it without the sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}
