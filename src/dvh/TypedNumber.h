// Numbers typed by the user: decimal text with the user's decimal separator.
#pragma once

#include <optional>
#include <string_view>

/// Converts typed text to a number: optional blanks around, optional sign, digits with at
/// most one decimal separator (`decimalSeparator`, and "." always), optional exponent.
/// Returns none for anything else: empty text, letters, hex, "inf" or "nan".
std::optional<double> ParseTypedNumber(std::string_view text, char decimalSeparator);
