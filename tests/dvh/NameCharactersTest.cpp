// The characters a list or set name loses: those no file name may hold.
#include "dvh/NameCharacters.h"

#include <gtest/gtest.h>

namespace {

TEST(NameCharacters, ExactlyTheNineFileNameCharactersAreRemoved) {
    int forbidden = 0;
    for (int c = 0; c < 256; ++c) forbidden += IsForbiddenNameCharacter(static_cast<char>(c));
    EXPECT_EQ(forbidden, 9);
    EXPECT_EQ(WithoutForbiddenNameCharacters("a\\b/c:d*e?f\"g<h>i|j"), "abcdefghij");
    // Blanks, dots, ';' and 8-bit letters stay: they are valid in file names.
    EXPECT_EQ(WithoutForbiddenNameCharacters(" H&N; v1.2 \xE9"), " H&N; v1.2 \xE9");
    EXPECT_EQ(WithoutForbiddenNameCharacters(""), "");
}

}  // namespace
