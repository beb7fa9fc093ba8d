// Name comparisons shared by readers, index rows, imports and the comparison.
#include "dvh/NameCompare.h"

#include "dvh/TextEncoding.h"

namespace {

unsigned char FoldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

bool IsAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

/// The characters of `s` with their letter case folded.
std::u32string Folded(std::string_view s) {
    std::u32string text = DecodeText(s);
    for (char32_t& c : text) c = FoldLetterCase(c);
    return text;
}

}  // namespace

bool StructureNamesEqual(std::string_view a, std::string_view b, bool caseSensitive) {
    if (caseSensitive) return a == b;
    // Names are nearly always ASCII: compare their bytes without decoding them.
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }
    return Folded(a) == Folded(b);
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        const std::size_t n = a.size() < b.size() ? a.size() : b.size();
        for (std::size_t i = 0; i < n; ++i) {
            const int ca = FoldAscii(static_cast<unsigned char>(a[i]));
            const int cb = FoldAscii(static_cast<unsigned char>(b[i]));
            if (ca != cb) return ca - cb;
        }
        return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
    }
    const std::u32string fa = Folded(a), fb = Folded(b);
    const int order = fa.compare(fb);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}
