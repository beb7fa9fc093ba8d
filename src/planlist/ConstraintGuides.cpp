// Where the constraint marks of a plan's index rows sit on the DVH chart, and their shape.
#include "planlist/ConstraintGuides.h"

#include "planlist/IndexCalculator.h"
#include "planlist/IndexRowLookup.h"

#include <cmath>

namespace {

// A dose asked in % of the prescribed dose (`inPercent`) or in Gy, on the chart's dose axis.
bool DoseOnAxis(float dose, bool inPercent, float prescribed, bool axisInGy, float& x) {
    if (inPercent == !axisInGy) {
        x = dose;
        return true;
    }
    if (axisInGy) {
        x = dose * prescribed * 0.01f;
        return true;
    }
    if (prescribed == 0) return false;  // a Gy dose has no place on a % axis without it
    x = dose / prescribed * 100.0f;
    return true;
}

// A volume asked in cc or in % of the structure volume, on the chart's volume axis. A row's
// own cc volume becomes % as v x 100 / V, a cc limit as L / V x 100; in single precision the
// two orders can differ in the last bit, and the marks keep each one's own.
float VolumeOnAxis(float volume, bool inCc, float structureVolume, bool axisInCc, bool isLimit) {
    if (inCc == axisInCc) return volume;
    if (axisInCc) return volume * structureVolume * 0.01f;
    return isLimit ? volume / structureVolume * 100.0f : volume * 100.0f / structureVolume;
}

}  // namespace

bool PlaceGuideMark(const IndexDataClass& row, const DVHDatasetClass& s, GuideAxes axes,
                    GuideMark& mark) {
    if (!row.ConstraintsON || !row.ConstraintsView) return false;
    if (!(s.Volume > 0) || !s.Visible) return false;
    if (row.Constraints == 0) return false;
    const float v = row.Value;
    const float limit = std::fabs(row.Constraints);
    const float p = s.PrescribedDose;
    const float vol = s.Volume;
    float x = 0, y = 0;
    bool placed = true;
    switch (row.Items) {
    case KindDosePctAtVolumePct:
    case KindDoseGyAtVolumePct:
    case KindDosePctAtVolumeCc:
    case KindDoseGyAtVolumeCc: {
        const bool doseInPercent = row.Items == KindDosePctAtVolumePct || row.Items == KindDosePctAtVolumeCc;
        placed = DoseOnAxis(limit, doseInPercent, p, axes.DoseInGy, x);
        y = VolumeOnAxis(v, row.Items >= KindDosePctAtVolumeCc, vol, axes.VolumeInCc, false);
        break;
    }
    case KindVolumePctAtDosePct:
    case KindVolumeCcAtDosePct:
    case KindVolumePctAtDoseGy:
    case KindVolumeCcAtDoseGy: {
        const bool volumeInCc = row.Items == KindVolumeCcAtDosePct || row.Items == KindVolumeCcAtDoseGy;
        placed = DoseOnAxis(v, row.Items < KindVolumePctAtDoseGy, p, axes.DoseInGy, x);
        y = VolumeOnAxis(limit, volumeInCc, vol, axes.VolumeInCc, true);
        break;
    }
    case KindMaxDosePct:
    case KindMaxDoseGy:
        placed = DoseOnAxis(limit, row.Items == KindMaxDosePct, p, axes.DoseInGy, x);
        y = 0;
        break;
    case KindMinDosePct:
    case KindMinDoseGy:
        placed = DoseOnAxis(limit, row.Items == KindMinDosePct, p, axes.DoseInGy, x);
        y = axes.VolumeInCc ? vol : 100.0f;
        break;
    default: return false;
    }
    if (!placed || !std::isfinite(x) || !std::isfinite(y)) return false;
    mark.X = x;
    mark.Y = y;
    mark.Color = s.Color;
    mark.LowerLimit = row.Constraints < 0;
    return true;
}

std::vector<GuideMark> ConstraintGuideMarks(const PDatasetClass& plan, const PlanListNameClass& list,
                                            GuideAxes axes, bool caseSensitive) {
    std::vector<GuideMark> marks;
    for (const IndexDataClass& row : list.IndexData) {
        // Cheap tests first: the name lookup is the costly part.
        if (!row.ConstraintsON || !row.ConstraintsView || row.Constraints == 0) continue;
        const int j = FindIndexRowStructure(plan, row.Name, caseSensitive);
        if (j < 0) continue;
        GuideMark mark;
        if (PlaceGuideMark(row, plan.DVHDataset[j], axes, mark)) marks.push_back(mark);
    }
    return marks;
}

std::vector<PixelLine> GuideArms(int x, int y, bool lowerLimit) {
    if (lowerLimit) return {{x, y, x, y + 9}, {x, y, x - 8, y}};
    return {{x, y, x, y - 9}, {x, y, x + 8, y}};
}
