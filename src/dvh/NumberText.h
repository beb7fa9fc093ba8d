// Number texts of the program's labels and grids.
#pragma once

#include <string>

/// The shortest general form with up to 15 significant digits, "." as separator, no trailing
/// zeros: 27.5 as "27.5", 30 as "30".
std::string FormatGeneral(double value);
/// Fixed notation with exactly `digits` decimals: 5 as "5.00" for 2 digits.
std::string FormatFixed(double value, int digits);
