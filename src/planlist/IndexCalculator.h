// The index calculator: dose-volume indices of one structure, as pure functions over the records.
#pragma once

#include "dvh/Records.h"

#include <optional>

/// Unit of a dose: % of the structure's prescribed dose, or Gy.
enum class DoseUnit { Percent, Gy };
/// Unit of a volume: % of the structure volume, or cc.
enum class VolumeUnit { Percent, Cc };

/// Index kinds (`IndexDataClass::Items`).
enum IndexKind : int {
    KindDosePctAtVolumePct = 0,  // D at a volume in %, result in %
    KindDoseGyAtVolumePct = 1,
    KindDosePctAtVolumeCc = 2,
    KindDoseGyAtVolumeCc = 3,
    KindVolumePctAtDosePct = 4,  // V at a dose in %, result in %
    KindVolumeCcAtDosePct = 5,
    KindVolumePctAtDoseGy = 6,
    KindVolumeCcAtDoseGy = 7,
    KindMeanDosePct = 8,
    KindMeanDoseGy = 9,
    KindMaxDosePct = 10,
    KindMaxDoseGy = 11,
    KindMinDosePct = 12,
    KindMinDoseGy = 13,
    KindVolume = 14,
    KindHomogeneity = 15,
    KindConformity = 16,
    IndexKindCount = 17,
};

/// Conformity-index references (`IndexDataClass::ItemsCI`): where the reference dose comes from.
enum ConformityReference : int {
    CiMinDose = 0,
    CiMaxDose = 1,
    CiMeanDose = 2,
    CiPrescribedDose = 3,
    CiDoseAtVolumePct = 4,  // D at `ValueCI` % of the structure, Gy
    CiDoseAtVolumeCc = 5,   // D at `ValueCI` cc, Gy
    CiDoseGy = 6,           // `ValueCI` Gy
    CiDosePct = 7,          // `ValueCI` % of the prescribed dose
    ConformityReferenceCount = 8,
};

/// The dose where the cumulative curve falls through a volume level. `volume` is in
/// `volumeUnit`; cc is first turned into % of the structure's `Volume`. A segment P[i]-P[i+1]
/// crosses the level w when P[i].VolumePercent >= w > P[i+1].VolumePercent; the last such
/// segment in point order wins, interpolated linearly in double precision.
/// \return the dose in `doseUnit` (Gy or % of the prescribed dose), unclamped; nullopt when no
/// segment crosses the level, or a cc level is asked of a structure whose `Volume` is 0.
std::optional<float> DoseAtVolume(const DVHDatasetClass& s, float volume, VolumeUnit volumeUnit,
                                  DoseUnit doseUnit);

/// The volume that receives at least a dose. `dose` is in `doseUnit` and compared with the
/// points' own dose column; a segment crosses it when X[i] <= dose < X[i+1]; the last such
/// segment wins. \return the volume in `volumeUnit` (% of the structure or cc), unclamped;
/// nullopt when no segment crosses the dose.
std::optional<float> VolumeAtDose(const DVHDatasetClass& s, float dose, DoseUnit doseUnit,
                                  VolumeUnit volumeUnit);

/// One index of structure `structureIndex` of `plan`: dispatches on `kind` (0-16) with its
/// parameter `value`; `ciReference` and `ciValue` are read for kind 16 only.
/// \return the unrounded value in the kind's unit. Kinds 0-7 give 0 for a level the curve never
/// crosses (and for a negative interpolation). -1 means no value: a kind outside 0-16, a
/// structure or body index outside the plan, `Volume` 0 for kinds 2-7, a minimum dose of 0 for
/// the homogeneity index, no body / no positive volume / unknown reference / reference outside
/// the body curve for the conformity index, and any result that is not a finite number.
float CalcPlanIndex(const PDatasetClass& plan, int structureIndex, int kind, float value,
                    int ciReference, float ciValue);

/// The resampling entry of the batch export, on an explicit plan. Kinds of its own numbering:
/// 0 volume in % at a dose in Gy, 1 volume in % at a dose in %, 2 dose in % at a volume in %,
/// 3 dose in Gy at a volume in %. \return 0 where the curve never crosses `value` (or the
/// interpolation is negative); -1 for any other kind, a structure outside the plan or a
/// result that is not finite.
float CalcDatasetIndex(const PDatasetClass& plan, int structureIndex, int kind, float value);
