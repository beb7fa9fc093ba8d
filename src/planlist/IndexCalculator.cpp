// The index calculator: interpolation on the cumulative curve and the dispatch over kinds 0-16.
#include "planlist/IndexCalculator.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

using Column = float DVsetClass::*;

Column DoseColumn(DoseUnit u) { return u == DoseUnit::Gy ? &DVsetClass::DoseGy : &DVsetClass::DosePercent; }
Column VolumeColumn(VolumeUnit u) {
    return u == VolumeUnit::Cc ? &DVsetClass::VolumeCc : &DVsetClass::VolumePercent;
}

// The last segment in point order wins, so the scan runs backwards and stops at the first
// segment that qualifies: same answer as a forward scan that keeps overwriting, without
// visiting the points before the crossing.

// Last segment with pts[i].*key >= level > pts[i+1].*key (a falling crossing of `level`).
std::optional<float> InterpolateFalling(const std::vector<DVsetClass>& pts, double level,
                                        Column key, Column out) {
    for (std::size_t i = pts.size(); i-- > 1;) {
        const double k0 = pts[i - 1].*key, k1 = pts[i].*key;
        if (k0 >= level && k1 < level) {
            const double o0 = pts[i - 1].*out, o1 = pts[i].*out;
            return static_cast<float>(o0 + (o1 - o0) * (level - k0) / (k1 - k0));
        }
    }
    return std::nullopt;
}

// Last segment with pts[i].*key <= level < pts[i+1].*key (a rising crossing of `level`).
std::optional<float> InterpolateRising(const std::vector<DVsetClass>& pts, double level,
                                       Column key, Column out) {
    for (std::size_t i = pts.size(); i-- > 1;) {
        const double k0 = pts[i - 1].*key, k1 = pts[i].*key;
        if (k0 <= level && k1 > level) {
            const double o0 = pts[i - 1].*out, o1 = pts[i].*out;
            return static_cast<float>(o0 + (o1 - o0) * (level - k0) / (k1 - k0));
        }
    }
    return std::nullopt;
}

// The calculator's convention for kinds 0-7: no crossing and a negative result both read 0.
float ZeroWhenNone(std::optional<float> r) { return (!r || *r < 0) ? 0.0f : *r; }

float FiniteOrNone(float r) { return std::isfinite(r) ? r : -1.0f; }

bool ValidStructure(const PDatasetClass& plan, int index) {
    return index >= 0 && index < plan.DVHDatasetCount();
}

// Body volume (cc) receiving at least `referenceGy`, over the structure's volume.
float Conformity(const DVHDatasetClass& s, const DVHDatasetClass& body, double referenceGy) {
    const std::vector<DVsetClass>& b = body.DVset;
    // Every segment of the body curve is scanned, the last one included.
    for (std::size_t i = b.size(); i-- > 1;) {
        const double d0 = b[i - 1].DoseGy, d1 = b[i].DoseGy;
        if (d0 <= referenceGy && d1 > referenceGy) {
            const double v0 = b[i - 1].VolumeCc, v1 = b[i].VolumeCc;
            const float v = static_cast<float>(v1 + (v0 - v1) * (d1 - referenceGy) / (d1 - d0));
            const float r = v / s.Volume;
            return r < 0 ? 0.0f : r;
        }
    }
    return -1.0f;
}

std::optional<double> ReferenceDose(const PDatasetClass& plan, int structureIndex,
                                    int ciReference, float ciValue) {
    const DVHDatasetClass& s = plan.DVHDataset[structureIndex];
    switch (ciReference) {
    case CiMinDose: return s.MinDoseGy;
    case CiMaxDose: return s.MaxDoseGy;
    case CiMeanDose: return s.MeanDoseGy;
    case CiPrescribedDose: return s.PrescribedDose;
    case CiDoseAtVolumePct:
    case CiDoseAtVolumeCc: {
        // A reference that does not cross reads 0 Gy, as the nested index does.
        const float d = CalcPlanIndex(plan, structureIndex,
                                      ciReference == CiDoseAtVolumePct ? KindDoseGyAtVolumePct
                                                                       : KindDoseGyAtVolumeCc,
                                      ciValue, 0, 0);
        if (d == -1.0f) return std::nullopt;
        return d;
    }
    case CiDoseGy: return ciValue;
    case CiDosePct: return static_cast<double>(ciValue) * s.PrescribedDose * 0.01;
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<float> DoseAtVolume(const DVHDatasetClass& s, float volume, VolumeUnit volumeUnit,
                                  DoseUnit doseUnit) {
    double level = volume;
    if (volumeUnit == VolumeUnit::Cc) {
        if (s.Volume == 0) return std::nullopt;
        level = static_cast<double>(volume) * 100.0 / s.Volume;
    }
    return InterpolateFalling(s.DVset, level, &DVsetClass::VolumePercent, DoseColumn(doseUnit));
}

std::optional<float> VolumeAtDose(const DVHDatasetClass& s, float dose, DoseUnit doseUnit,
                                  VolumeUnit volumeUnit) {
    return InterpolateRising(s.DVset, dose, DoseColumn(doseUnit), VolumeColumn(volumeUnit));
}

float CalcPlanIndex(const PDatasetClass& plan, int structureIndex, int kind, float value,
                    int ciReference, float ciValue) {
    if (!ValidStructure(plan, structureIndex)) return -1.0f;
    const DVHDatasetClass& s = plan.DVHDataset[structureIndex];
    float r = -1.0f;
    switch (kind) {
    case KindDosePctAtVolumePct:
    case KindDoseGyAtVolumePct:
    case KindDosePctAtVolumeCc:
    case KindDoseGyAtVolumeCc: {
        const bool cc = kind >= KindDosePctAtVolumeCc;
        if (cc && s.Volume == 0) return -1.0f;
        const DoseUnit unit = (kind == KindDoseGyAtVolumePct || kind == KindDoseGyAtVolumeCc)
                                  ? DoseUnit::Gy
                                  : DoseUnit::Percent;
        r = ZeroWhenNone(DoseAtVolume(s, value, cc ? VolumeUnit::Cc : VolumeUnit::Percent, unit));
        break;
    }
    case KindVolumePctAtDosePct:
    case KindVolumeCcAtDosePct:
    case KindVolumePctAtDoseGy:
    case KindVolumeCcAtDoseGy: {
        if (s.Volume == 0) return -1.0f;
        const DoseUnit dose = kind >= KindVolumePctAtDoseGy ? DoseUnit::Gy : DoseUnit::Percent;
        const VolumeUnit vol = (kind == KindVolumeCcAtDosePct || kind == KindVolumeCcAtDoseGy)
                                   ? VolumeUnit::Cc
                                   : VolumeUnit::Percent;
        r = ZeroWhenNone(VolumeAtDose(s, value, dose, vol));
        break;
    }
    case KindMeanDosePct: r = s.MeanDosePercent; break;
    case KindMeanDoseGy: r = s.MeanDoseGy; break;
    case KindMaxDosePct: r = s.MaxDosePercent; break;
    case KindMaxDoseGy: r = s.MaxDoseGy; break;
    case KindMinDosePct: r = s.MinDosePercent; break;
    case KindMinDoseGy: r = s.MinDoseGy; break;
    case KindVolume: r = s.Volume; break;
    case KindHomogeneity:
        // A minimum dose of 0 has no homogeneity index rather than an infinite one.
        if (s.MinDoseGy == 0) return -1.0f;
        r = s.MaxDoseGy / s.MinDoseGy;
        break;
    case KindConformity: {
        if (plan.BodyIndex < 0 || !ValidStructure(plan, plan.BodyIndex)) return -1.0f;
        if (!(s.Volume > 0)) return -1.0f;
        const std::optional<double> reference =
            ReferenceDose(plan, structureIndex, ciReference, ciValue);
        if (!reference) return -1.0f;
        r = Conformity(s, plan.DVHDataset[plan.BodyIndex], *reference);
        break;
    }
    default: return -1.0f;
    }
    return FiniteOrNone(r);
}

float CalcDatasetIndex(const PDatasetClass& plan, int structureIndex, int kind, float value) {
    if (!ValidStructure(plan, structureIndex)) return -1.0f;
    const DVHDatasetClass& s = plan.DVHDataset[structureIndex];
    std::optional<float> r;
    switch (kind) {
    case 0: r = VolumeAtDose(s, value, DoseUnit::Gy, VolumeUnit::Percent); break;
    case 1: r = VolumeAtDose(s, value, DoseUnit::Percent, VolumeUnit::Percent); break;
    case 2: r = DoseAtVolume(s, value, VolumeUnit::Percent, DoseUnit::Percent); break;
    case 3: r = DoseAtVolume(s, value, VolumeUnit::Percent, DoseUnit::Gy); break;
    default: return -1.0f;
    }
    return FiniteOrNone(ZeroWhenNone(r));
}
