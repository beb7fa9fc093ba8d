// Numbers in the import formats, written with "." by this program and with "," by some systems.
#pragma once

#include <string>
#include <string_view>

/// Reads a whole number field: blanks around ignored, "." or "," as the decimal separator,
/// exponent allowed. False for an empty field, junk, or a value that is not finite.
bool ParseTableNumber(std::string_view field, double& out);

/// `value` rounded half away from zero to `digits` decimals and written with exactly that
/// many, "." as separator whatever the locale; a rounded zero has no sign.
std::string FixedText(double value, int digits);
