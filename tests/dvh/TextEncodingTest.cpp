// Text of files made on Windows or Linux computers: decoding, writing back, and names compared
// without regard to letter case beyond ASCII.
#include "dvh/NameCompare.h"
#include "dvh/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, DecodesUtf8OrWindows1252AndWritesTheSameBytesBack) {
    struct Case { const char* bytes; std::u32string text; } cases[] = {
        {"M\xFC" "ller", U"M\u00FCller"},            // Windows-1252
        {"M\xC3\xBC" "ller", U"M\u00FCller"},        // UTF-8
        {"\x80 \x96 \x9A \x81", U"\u20AC \u2013 \u0161 \u0081"},  // where it differs from Latin-1
        {"\xC3", U"\u00C3"},                          // a cut UTF-8 sequence is no UTF-8
        {"\xED\xA0\x80", U"\u00ED\u00A0\u20AC"},      // nor is an encoded surrogate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(DecodeText(c.bytes), c.text);
        EXPECT_EQ(EncodeText(c.text, c.bytes), c.bytes);
    }
    // Changed text keeps the encoding of the text it replaces, where it can.
    EXPECT_EQ(EncodeText(U"M\u00FCller 2", "M\xFC" "ller"), "M\xFC" "ller 2");
    EXPECT_EQ(EncodeText(U"M\u00FCller \u4E00", "M\xFC" "ller"), "M\xC3\xBC" "ller \xE4\xB8\x80");
    EXPECT_EQ(EncodeText(U"M\u00FCller", ""), "M\xC3\xBC" "ller");
}

TEST(NameCompare, LettersBeyondAsciiFoldInEitherEncoding) {
    struct Case { const char* a; const char* b; bool equal; } cases[] = {
        {"R\xC3\xBC" "ckenmark", "R\xC3\x9C" "CKENMARK", true},  // UTF-8
        {"R\xFC" "ckenmark", "R\xDC" "CKENMARK", true},          // Windows-1252
        {"R\xFC" "ckenmark", "R\xC3\x9C" "CKENMARK", true},      // one of each
        {"\x9A" "tit", "\x8A" "TIT", true},                      // š Š
        {"\xCE\xB1\xCF\x82", "\xCE\x91\xCE\xA3", true},          // ας ΑΣ
        {"\xD0\xBF\xD1\x82\xD0\xB2", "\xD0\x9F\xD0\xA2\xD0\x92", true},  // птв ПТВ
        {"R\xFC" "ckenmark", "Ruckenmark", false},
        {"PTV", "ptv", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(StructureNamesEqual(c.a, c.b, false), c.equal);
        EXPECT_EQ(CompareTextNoCase(c.a, c.b) == 0, c.equal);
        EXPECT_FALSE(StructureNamesEqual(c.a, c.b, true) && std::string(c.a) != c.b);
    }
    EXPECT_LT(CompareTextNoCase("\xC3\xA4pfel", "\xC3\x84PFEL 2"), 0);
}
