// Comparing structure names with or without regard to letter case.
#pragma once

#include <string_view>

/// Exact when `caseSensitive`, else with ASCII letters folded.
bool StructureNamesEqual(std::string_view a, std::string_view b, bool caseSensitive);
/// ASCII case-insensitive three-way comparison (letters folded, then byte values).
int CompareTextNoCase(std::string_view a, std::string_view b);
