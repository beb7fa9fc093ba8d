// One rule for the dose fields of the XiO and BrainLAB dialogs: above 90 the number is cGy.
#include "import/PrescribedDoseText.h"

#include "dvh/DvhLineFields.h"

#include <cmath>

namespace {

std::optional<double> Number(std::string_view text) {
    double v;
    if (!dvhtext::ParseNumber(text, v)) return std::nullopt;
    return v;
}

}  // namespace

const char* PrescribedDoseUnit(std::string_view text, const char* shown) {
    if (text.empty()) return "Gy";
    const auto v = Number(text);
    if (!v) return shown;
    return *v > 90.0 ? "cGy" : "Gy";
}

std::optional<float> PrescribedDoseGy(std::string_view text) {
    const auto v = Number(text);
    if (!v || !(*v > 0)) return std::nullopt;
    const float dose = static_cast<float>(*v > 90.0 ? *v * 0.01 : *v);
    if (!std::isfinite(dose) || !(dose > 0)) return std::nullopt;
    return dose;
}

std::string FilterDoseInput(std::string_view current, std::string_view typed) {
    bool point = current.find('.') != std::string_view::npos;
    std::string kept;
    for (char c : typed) {
        if (c >= '0' && c <= '9') {
            kept.push_back(c);
        } else if (c == '.' && !point) {
            point = true;
            kept.push_back(c);
        }
    }
    return kept;
}
