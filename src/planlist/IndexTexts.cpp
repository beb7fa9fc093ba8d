// Texts of the index machinery: index labels, value texts and the names of kinds and references.
#include "planlist/IndexTexts.h"

#include "dvh/RoundToDigits.h"
#include "planlist/IndexCalculator.h"

#include <array>

std::string IndexValueText(float v) {
    if (v == -1.0f) return "Null";
    return FormatFixed(RoundToDigits(v, 2), 2);
}

namespace {
std::string Parameter(float p) { return FormatGeneral(RoundToDigits(p, 2)); }
}  // namespace

std::string IndexLabel(int items, float value, int itemsCI, float valueCI, IndexLabelStyle style) {
    switch (items) {
    case KindDosePctAtVolumePct: return "D" + Parameter(value) + "% [%]";
    case KindDoseGyAtVolumePct: return "D" + Parameter(value) + "% [Gy]";
    case KindDosePctAtVolumeCc: return "D" + Parameter(value) + "cc [%]";
    case KindDoseGyAtVolumeCc: return "D" + Parameter(value) + "cc [Gy]";
    case KindVolumePctAtDosePct: return "V" + Parameter(value) + "% [%]";
    case KindVolumeCcAtDosePct: return "V" + Parameter(value) + "% [cc]";
    case KindVolumePctAtDoseGy: return "V" + Parameter(value) + "Gy [%]";
    case KindVolumeCcAtDoseGy: return "V" + Parameter(value) + "Gy [cc]";
    case KindMeanDosePct: return "Mean dose [%]";
    case KindMeanDoseGy: return "Mean dose [Gy]";
    case KindMaxDosePct: return "Max dose [%]";
    case KindMaxDoseGy: return "Max dose [Gy]";
    case KindMinDosePct: return "Min dose [%]";
    case KindMinDoseGy: return "Min dose [Gy]";
    case KindVolume: return "Volume [cc]";
    case KindHomogeneity: return "Homogeneity Index";
    case KindConformity:
        if (style == IndexLabelStyle::Comparison) return "Conformity Index";
        switch (itemsCI) {
        case CiMinDose: return "Conformity Index";
        case CiMaxDose: return "CI [Max dose]";
        case CiMeanDose: return "CI [Mean dose]";
        case CiPrescribedDose: return "CI [Prescribed]";
        case CiDoseAtVolumePct: return "CI [D" + Parameter(valueCI) + "%]";
        case CiDoseAtVolumeCc: return "CI [D" + Parameter(valueCI) + "cc]";
        case CiDoseGy: return "CI [Dose " + Parameter(valueCI) + " Gy]";
        case CiDosePct: return "CI [Dose " + Parameter(valueCI) + " %]";
        default: return "";
        }
    default: return "";
    }
}

std::string QuickIndexKindText(int kind) {
    static const std::array<const char*, IndexKindCount> texts = {
        "D**%  ---  [%]",  "D**%  ---  [Gy]", "D**cc  ---  [%]", "D**cc ---  [Gy]",
        "V**%  ---  [%]",  "V**%  ---  [cc]", "V**Gy  ---  [%]", "V**Gy  ---  [cc]",
        "mean dose [%]",   "mean dose [Gy]",  "max dose [%]",    "max dose [Gy]",
        "min dose [%]",    "min dose [Gy]",   "volume [cc]",     "Homogeneity Index",
        "Conformity Index"};
    return kind >= 0 && kind < IndexKindCount ? texts[kind] : "";
}

std::string ConformityReferenceName(int reference) {
    static const std::array<const char*, ConformityReferenceCount> names = {
        "min dose", "max dose", "mean dose", "Prescribed dose",
        "D**%",     "D**cc",    "Dose [Gy]", "Dose [%]"};
    return reference >= 0 && reference < ConformityReferenceCount ? names[reference] : "";
}
