// Characters a typed list or set name may not hold: those forbidden in file names.
#pragma once

#include <string>
#include <string_view>

/// True for the nine characters that file names cannot hold on the platforms the program's
/// files travel to: \ / : * ? " < > |
bool IsForbiddenNameCharacter(char c);
/// `text` without those characters.
std::string WithoutForbiddenNameCharacters(std::string_view text);
