// The quick-index panel's rules: one ad-hoc index query on the current plan.
#pragma once

#include "dvh/Records.h"

#include <optional>
#include <string>
#include <string_view>

/// What the panel's three inputs hold: the structure item (= structure index of the plan, -1
/// none), the kind item (0-16, -1 none) and the typed value.
struct QuickIndexQuery {
    int StructureIndex = -1;
    int Kind = -1;
    std::string ValueText;
};

/// A typed decimal number ("12", "2.5", ".5"); nullopt for anything else ("", ".", "1e3x").
std::optional<float> ParseQuickValue(std::string_view text);

/// The query's value: the calculator's result for the structure (kinds 0-7 with the typed
/// value, kinds 8-16 with none and conformity reference 0). -1 when the query is incomplete
/// (no plan, structure or kind; no readable value for kinds 0-7), when the structure has
/// fewer than two points, or when the index has no value.
float CalcQuickIndexValue(const PDatasetClass* plan, const QuickIndexQuery& query);

/// The result field's text: a result of 0 or more rounded to `digits` decimals in its
/// shortest form ("27.5", "30"); "" for a negative result.
std::string QuickIndexResultText(float result, int digits);

/// Whether a value field lets a key's character through: digits, "." while the text holds
/// none, and the control characters of keys that type nothing (backspace, Tab, Enter,
/// Escape, Delete), which keep their usual work.
bool QuickValueKeyAccepted(std::string_view text, char key);

/// Kinds 0-7 take a value; kinds 8-16 do not.
inline bool QuickKindTakesValue(int kind) { return kind >= 0 && kind < 8; }
