// Numbers typed by the user: decimal text with the user's decimal separator.
#pragma once

#include <optional>
#include <string_view>

/// Converts typed text to a number: optional blanks around, optional sign, digits with at
/// most one decimal separator (`decimalSeparator`, and "." always), optional exponent.
/// Returns none for anything else: empty text, letters, hex, "inf" or "nan".
std::optional<double> ParseTypedNumber(std::string_view text, char decimalSeparator);

/// A typed prescribed dose in Gy, rounded half away from zero to 3 decimals, as the 32-bit float
/// the readers use. None for text that is no number and for a value no float can hold (it
/// would become infinite, and every relative dose of the plan 0).
std::optional<float> ParsePrescribedDose(std::string_view text, char decimalSeparator);
/// Whether a plan sum may be read with `doseGy`: only above 0, since every relative dose of
/// the plan is divided by it.
inline bool PrescribedDoseAccepted(float doseGy) { return doseGy > 0; }
