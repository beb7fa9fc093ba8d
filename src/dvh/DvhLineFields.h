// Positions, labelled values and numbers of DVH export lines (character positions count from 1).
#pragma once

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace dvhtext {

/// True when `line` begins with `prefix` (a shorter line never matches).
inline bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() && line.compare(0, prefix.size(), prefix) == 0;
}

inline bool Contains(std::string_view text, std::string_view needle) {
    return text.find(needle) != std::string_view::npos;
}

/// 1-based position of the first `needle` in `text`, 0 when absent.
inline std::size_t Position(std::string_view text, std::string_view needle) {
    std::size_t p = text.find(needle);
    return p == std::string_view::npos ? 0 : p + 1;
}

/// Characters `from`..`to` (1-based, inclusive), as far as the line reaches.
inline std::string_view Columns(std::string_view line, std::size_t from, std::size_t to) {
    if (from < 1 || from > line.size() || to < from) return {};
    return line.substr(from - 1, to - from + 1);
}

/// The text from character `from` (1-based) to the end of the line.
inline std::string_view FromColumn(std::string_view line, std::size_t from) {
    return from >= 1 && from <= line.size() ? line.substr(from - 1) : std::string_view{};
}

/// Character `pos` (1-based), or NUL past the end of the line.
inline char CharAt(std::string_view line, std::size_t pos) {
    return pos >= 1 && pos <= line.size() ? line[pos - 1] : '\0';
}

/// The value of a fixed-label line: the text from the 24th character on.
inline std::string_view LabelValue(std::string_view line) { return FromColumn(line, 24); }

/// The value of a "Label: value" line: the text from the second character after the first
/// colon; empty when the line holds no colon.
inline std::string_view ValueAfterColon(std::string_view line) {
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return {};
    return colon + 2 <= line.size() ? line.substr(colon + 2) : std::string_view{};
}

/// The line names cGy: "cGy" stands somewhere after its first character.
inline bool NamesCentigray(std::string_view line) { return line.find("cGy", 1) != std::string_view::npos; }

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

inline std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

/// Reads a whole decimal number ("." as separator, exponent allowed, blanks around ignored).
/// False for an empty text, trailing junk, or a value that is not finite.
inline bool ParseNumber(std::string_view s, double& out) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

/// Reads a fixed-width column whose blanks are removed first ("1 234.5" reads 1234.5).
inline bool ParseColumn(std::string_view s, double& out) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    const char* begin = s.data() + i;
    const char* end = s.data() + s.size();
    if (begin != end && *begin != '+') {
        auto [ptr, ec] = std::from_chars(begin, end, out);
        if (ec == std::errc() && std::isfinite(out)) {
            while (ptr != end && IsBlank(*ptr)) ++ptr;
            if (ptr == end) return true;
        }
    }
    // Rare: blanks inside the number. Parse its characters without them.
    std::string packed;
    packed.reserve(s.size());
    for (char c : s)
        if (!IsBlank(c)) packed.push_back(c);
    return ParseNumber(packed, out);
}

/// A short, printable quote of a line's text for an error detail.
inline std::string Quote(std::string_view s) {
    std::string q = "\"";
    for (std::size_t i = 0; i < s.size() && i < 40; ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        q.push_back(c >= 32 && c != 127 ? static_cast<char>(c) : '?');
    }
    if (s.size() > 40) q += "...";
    return q + "\"";
}

}  // namespace dvhtext
