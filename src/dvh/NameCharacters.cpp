// Filtering characters that cannot stand in a file name.
#include "dvh/NameCharacters.h"

bool IsForbiddenNameCharacter(char c) {
    switch (c) {
    case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return true;
    default:
        return false;
    }
}

std::string WithoutForbiddenNameCharacters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!IsForbiddenNameCharacter(c)) out += c;
    return out;
}
