// Helpers that write export lines for the tests: fixed 23-character labels and joined lines.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace dvhtest {

/// A fixed-label line: the label, blanks up to the 21st character, ": " and the value.
inline std::string L(std::string_view label, std::string_view value) {
    std::string line(label);
    if (line.size() < 21) line.append(21 - line.size(), ' ');
    return line + ": " + std::string(value);
}

/// Lines joined with `eol` after each.
inline std::string Lines(std::initializer_list<std::string> lines, std::string_view eol = "\n") {
    std::string text;
    for (const auto& l : lines) text += l + std::string(eol);
    return text;
}

/// Replaces every LF by CR LF.
inline std::string ToCrLf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

/// Right-aligns `text` in a field of `width` characters.
inline std::string Right(std::string_view text, std::size_t width) {
    std::string s(text);
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

}  // namespace dvhtest
