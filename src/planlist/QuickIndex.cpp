// The quick-index panel's rules: one ad-hoc index query on the current plan.
#include "planlist/QuickIndex.h"

#include "dvh/RoundToDigits.h"
#include "planlist/IndexCalculator.h"
#include "planlist/IndexTexts.h"

#include <charconv>
#include <cmath>

std::optional<float> ParseQuickValue(std::string_view text) {
    if (text.empty()) return std::nullopt;
    double x = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, x, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(x)) return std::nullopt;
    const float f = static_cast<float>(x);
    if (!std::isfinite(f)) return std::nullopt;
    return f;
}

float CalcQuickIndexValue(const PDatasetClass* plan, const QuickIndexQuery& query) {
    if (!plan || query.StructureIndex < 0 || query.StructureIndex >= plan->DVHDatasetCount())
        return -1.0f;
    if (query.Kind < 0 || query.Kind >= IndexKindCount) return -1.0f;
    float value = 0;
    if (QuickKindTakesValue(query.Kind)) {
        const std::optional<float> typed = ParseQuickValue(query.ValueText);
        if (!typed) return -1.0f;
        value = *typed;
    }
    if (plan->DVHDataset[query.StructureIndex].LastDVsetIndex() <= 0) return -1.0f;
    return CalcPlanIndex(*plan, query.StructureIndex, query.Kind, value, 0, 0);
}

std::string QuickIndexResultText(float result, int digits) {
    if (!(result >= 0)) return "";
    return FormatGeneral(RoundToDigits(result, digits));
}

bool QuickValueKeyAccepted(std::string_view text, char key) {
    if (key >= '0' && key <= '9') return true;
    const auto code = static_cast<unsigned char>(key);
    if (code < 0x20 || code == 0x7F) return true;
    if (key == '.') return text.find('.') == std::string_view::npos;
    return false;
}
