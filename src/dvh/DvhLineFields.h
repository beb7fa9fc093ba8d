// Positions, labelled values and numbers of DVH export lines (character positions count from 1).
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
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

inline constexpr std::uint64_t kPow10Int[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
inline constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// Reads a decimal number that starts at `p`, stopping at the first character that cannot
/// continue it. Plain decimals of up to 15 significant digits with a power of ten within
/// +-22 are converted exactly here (both operands are exact doubles, so the one division or
/// multiplication rounds correctly); anything else goes to `std::from_chars`. Either way the
/// result is the correctly rounded value of the text.
inline bool ReadDecimalScalar(const char* p, const char* end, double& out, const char*& stop) {
    const char* start = p;
    bool negative = false;
    if (p != end && *p == '-') {
        negative = true;
        ++p;
    }
    unsigned long long mantissa = 0;
    int significant = 0, exponent = 0, digits = 0;
    for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p, ++digits) {
        if (mantissa || *p != '0') {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            if (++significant > 15) goto slow;
        }
    }
    if (p != end && *p == '.') {
        for (++p; p != end && static_cast<unsigned>(*p - '0') < 10; ++p, ++digits) {
            --exponent;
            if (mantissa || *p != '0') {
                mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
                if (++significant > 15) goto slow;
            }
        }
    }
    if (digits == 0) goto slow;  // "inf", "nan", junk: let the library decide
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExp = false;
        if (q != end && (*q == '-' || *q == '+')) negativeExp = *q++ == '-';
        if (q == end || static_cast<unsigned>(*q - '0') >= 10) goto done;  // "1e" reads as 1
        int e = 0;
        for (; q != end && static_cast<unsigned>(*q - '0') < 10; ++q)
            if (e < 10000) e = e * 10 + (*q - '0');
        exponent += negativeExp ? -e : e;
        p = q;
    }
done:
    if (exponent < -22 || exponent > 22) goto slow;
    {
        double v = static_cast<double>(mantissa);
        v = exponent < 0 ? v / kPow10[-exponent] : v * kPow10[exponent];
        out = negative ? -v : v;
        stop = p;
        return true;
    }
slow:
    auto [ptr, ec] = std::from_chars(start, end, out);
    stop = ptr;
    return ec == std::errc() && std::isfinite(out);
}

namespace detail {

/// Eight bytes from `p`; bytes at or past `end` read as blanks. Memory up to `readable`
/// (at or after `end`) may be touched, which spares a byte-wise copy inside a line.
inline std::uint64_t Load8(const char* p, const char* end, const char* readable) {
    std::uint64_t w = 0x2020202020202020ull;
    if (readable - p >= 8) {
        std::memcpy(&w, p, 8);
        const std::ptrdiff_t n = end - p;
        if (n < 8) {
            const std::uint64_t keep = n > 0 ? ~0ull >> (64 - 8 * n) : 0;
            w = (w & keep) | (0x2020202020202020ull & ~keep);
        }
    } else if (end > p) {
        std::memcpy(&w, p, static_cast<std::size_t>(end - p < 8 ? end - p : 8));
    }
    return w;
}

// These two run once or twice for every number read: always inlined, also where many sources
// are compiled as one, which would otherwise make them calls.

/// How many of the eight bytes, from the first, are decimal digits.
[[gnu::always_inline]] inline int LeadingDigits(std::uint64_t w) {
    std::uint64_t t = ((w + 0x4646464646464646ull) | (w - 0x3030303030303030ull)) & 0x8080808080808080ull;
    return t ? __builtin_ctzll(t) >> 3 : 8;
}

/// The value of the first `k` (1-8) digit bytes of `w`, all at once.
[[gnu::always_inline]] inline std::uint64_t DigitsValue(std::uint64_t w, int k) {
    w -= 0x3030303030303030ull;
    w <<= (8 - k) * 8;  // the digits move to the top; zeros in front change nothing
    w = w * 10 + (w >> 8);
    return (((w & 0x000000FF000000FFull) * 0x000F424000000064ull) +
            (((w >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull)) >> 32;
}

}  // namespace detail

/// `ReadDecimalScalar`, with the common short forms ("1234", "-0.25", "95.1234") read eight
/// digits at a time. Bytes up to `readable` (at or after `end`) may be read, never used.
[[gnu::always_inline]] inline bool ReadDecimal(const char* p, const char* end, double& out, const char*& stop,
                                               const char* readable = nullptr) {
    if (readable < end) readable = end;
    using namespace detail;
    const char* q = p;
    const bool negative = q != end && *q == '-';
    q += negative;
    const std::uint64_t w = Load8(q, end, readable);
    const int k1 = LeadingDigits(w);
    if (k1 < 8) {
        std::uint64_t mantissa = k1 ? DigitsValue(w, k1) : 0;
        int exponent = 0;
        q += k1;
        bool any = k1 > 0;
        if (q != end && *q == '.') {
            ++q;
            const std::uint64_t f = Load8(q, end, readable);
            const int k2 = LeadingDigits(f);
            if (k2 == 8) return ReadDecimalScalar(p, end, out, stop);
            if (k2) {
                mantissa = mantissa * kPow10Int[k2] + DigitsValue(f, k2);
                exponent = -k2;
                q += k2;
                any = true;
            }
        }
        if (any && q != end && (*q == 'e' || *q == 'E')) {
            // An exponent ("3.53804e-005"): a sign and a few digits.
            const char* e = q + 1;
            const bool negativeExp = e != end && *e == '-';
            e += e != end && (*e == '-' || *e == '+');
            int value = 0, count = 0;
            for (; e != end && static_cast<unsigned>(*e - '0') < 10 && count < 4; ++e, ++count)
                value = value * 10 + (*e - '0');
            if (count == 0 || count == 4) return ReadDecimalScalar(p, end, out, stop);
            exponent += negativeExp ? -value : value;
            q = e;
        }
        if (any && exponent >= -22 && exponent <= 22) {
            // The mantissa is below 10^14 and the power of ten exact, so one division or
            // multiplication gives the correctly rounded value of the text.
            double v = static_cast<double>(mantissa);
            if (exponent < 0)
                v /= kPow10[-exponent];
            else if (exponent > 0)
                v *= kPow10[exponent];
            out = negative ? -v : v;
            stop = q;
            return true;
        }
    }
    return ReadDecimalScalar(p, end, out, stop);
}

/// Reads a whole decimal number ("." as separator, exponent allowed, blanks around ignored).
/// False for an empty text, trailing junk, or a value that is not finite.
/// Bytes up to `readable` (past the text, inside the caller's buffer) may be read, never used.
inline bool ParseNumber(std::string_view s, double& out, const char* readable = nullptr) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const char* end = s.data() + s.size();
    const char* stop;
    return ReadDecimal(s.data(), end, out, stop, readable) && stop == end;
}

/// Reads a fixed-width column whose blanks are removed first ("1 234.5" reads 1234.5).
/// Bytes up to `readable` (past the column, inside the caller's buffer) may be read, never used.
[[gnu::always_inline]] inline bool ParseColumn(std::string_view s, double& out, const char* readable = nullptr) {
    const char* p = s.data();
    const char* end = p + s.size();
    // Columns are mostly padding: pass over blanks eight at a time.
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (std::uint64_t other = word ^ 0x2020202020202020ull) {
            p += __builtin_ctzll(other) >> 3;
            break;
        }
        p += 8;
    }
    while (p != end && IsBlank(*p)) ++p;
    if (p != end && *p != '+') {
        const char* stop;
        if (ReadDecimal(p, end, out, stop, readable)) {
            while (stop != end && IsBlank(*stop)) ++stop;
            if (stop == end) return true;
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
