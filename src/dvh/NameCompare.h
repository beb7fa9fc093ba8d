// Comparing structure names with or without regard to letter case.
#pragma once

#include <string_view>

/// Exact bytes when `caseSensitive`; else the names as characters (UTF-8, else Windows-1252)
/// with their letter case folded, so "Rückenmark" equals "RÜCKENMARK" in either encoding.
bool StructureNamesEqual(std::string_view a, std::string_view b, bool caseSensitive);
/// Case-insensitive three-way comparison: characters with their letter case folded, then
/// their code values (byte values for ASCII).
int CompareTextNoCase(std::string_view a, std::string_view b);
