// The prescribed-dose fields of the import dialogs: what may be typed, the unit shown, the dose.
#pragma once

#include <optional>
#include <string>
#include <string_view>

/// The unit a dose field shows for its text: "cGy" when the text is a number above 90.0,
/// "Gy" for an empty text or a number up to 90.0 (90 itself), and `shown`, the unit shown
/// before, for a text that is no number yet (a lone ".").
const char* PrescribedDoseUnit(std::string_view text, const char* shown);

/// The dose in Gy that a field's text gives: the number, times 0.01 when its unit is "cGy".
/// None unless the text is a number above 0.
std::optional<float> PrescribedDoseGy(std::string_view text);

/// What a dose field keeps of typed or pasted text: digits and the first point; everything
/// else, and any later point, is dropped. `current` is the text already in the field.
std::string FilterDoseInput(std::string_view current, std::string_view typed);
