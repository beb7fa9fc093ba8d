// Decoding and encoding of 8-bit text, and letter-case folding beyond ASCII.
#include "dvh/TextEncoding.h"

namespace {

// Windows-1252 bytes 0x80-0x9F; the unassigned ones keep their own value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

/// Decodes one UTF-8 sequence at `i`; false when it is malformed (overlong, surrogate, cut).
bool NextUtf8(std::string_view s, std::size_t& i, char32_t& out) {
    const unsigned char b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        out = b0;
        ++i;
        return true;
    }
    int extra;
    char32_t c, minimum;
    if ((b0 & 0xE0) == 0xC0) { extra = 1; c = b0 & 0x1F; minimum = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { extra = 2; c = b0 & 0x0F; minimum = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { extra = 3; c = b0 & 0x07; minimum = 0x10000; }
    else return false;
    if (i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return false;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    out = c;
    i += extra + 1;
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

/// The Windows-1252 byte of `c`, or -1 when it has none.
int Windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int k = 0; k < 32; ++k)
        if (kWindows1252High[k] == c) return 0x80 + k;
    return -1;
}

}  // namespace

bool IsUtf8(std::string_view text) {
    char32_t c;
    for (std::size_t i = 0; i < text.size();)
        if (!NextUtf8(text, i, c)) return false;
    return true;
}

std::u32string DecodeText(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    if (IsUtf8(text)) {
        char32_t c;
        for (std::size_t i = 0; i < text.size();) {
            NextUtf8(text, i, c);
            out += c;
        }
        return out;
    }
    for (const char ch : text) {
        const unsigned char b = static_cast<unsigned char>(ch);
        out += b >= 0x80 && b < 0xA0 ? static_cast<char32_t>(kWindows1252High[b - 0x80]) : char32_t{b};
    }
    return out;
}

std::string EncodeText(std::u32string_view text, std::string_view original) {
    if (DecodeText(original) == text) return std::string(original);
    std::string out;
    if (!IsUtf8(original)) {
        bool representable = true;
        for (const char32_t c : text) {
            const int b = Windows1252Byte(c);
            if (b < 0) {
                representable = false;
                break;
            }
            out += static_cast<char>(b);
        }
        if (representable) return out;
        out.clear();
    }
    for (const char32_t c : text) AppendUtf8(out, c);
    return out;
}

char32_t FoldLetterCase(char32_t c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1 à-þ
    if (c == 0xFF) return 0x178;                                 // ÿ
    if (c >= 0x100 && c <= 0x17F) {                              // Latin Extended-A
        if (c == 0x131) return 'I';                              // dotless i
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 0 ? c - 1 : c;
        if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x178 || c == 0x17F) return c;
        return c % 2 == 1 ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 0x20;  // Greek α-ω, final ς
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                       // Cyrillic а-я
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;                       // Cyrillic ѐ-џ
    return c;
}
