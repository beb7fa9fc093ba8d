// The index calculator: interpolation on the cumulative curve and the dispatch over kinds 0-16.
#include "planlist/IndexCalculator.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

using Column = float DVsetClass::*;

Column DoseColumn(DoseUnit u) {
    return u == DoseUnit::Gy ? &DVsetClass::DoseGy : &DVsetClass::DosePercent;
}
Column VolumeColumn(VolumeUnit u) {
    return u == VolumeUnit::Cc ? &DVsetClass::VolumeCc : &DVsetClass::VolumePercent;
}

// The last segment in point order wins. On a curve whose searched column runs one way (the
// order its points were given, decided when they were set) at most one segment crosses a
// level, right where the column passes it, and a binary search finds that segment with the
// very comparisons of the scan. Any other curve is scanned backwards from its end, stopping
// at the first segment that qualifies: same answer as a forward scan that keeps overwriting,
// without visiting the points before the crossing. Blocks of segments are first tested
// without branches (cheap on the long flat tails of real curves); only the block holding the
// crossing is then scanned one segment at a time.

enum class Crossing { Falling, Rising };

template <Crossing C>
inline bool Qualifies(double k0, double k1, double level) {
    if constexpr (C == Crossing::Falling)
        return (k0 >= level) & (k1 < level);  // key[i] >= level > key[i+1]
    else
        return (k0 <= level) & (k1 > level);  // key[i] <= level < key[i+1]
}

/// Whether the column `Key` runs the way a crossing of kind `C` needs for the binary search:
/// never rising for a falling crossing (volume), never falling for a rising one (dose).
template <Crossing C, Column Key>
bool RunsOneWay(const DvhPointOrder& order) {
    if constexpr (C == Crossing::Falling) {
        static_assert(Key == &DVsetClass::VolumePercent, "falling crossings search the volume in %");
        return order.VolumePercentNeverRises;
    } else if constexpr (Key == &DVsetClass::DoseGy) {
        return order.DoseGyNeverFalls;
    } else {
        static_assert(Key == &DVsetClass::DosePercent, "rising crossings search a dose column");
        return order.DosePercentNeverFalls;
    }
}

/// On a column that runs one way the points that stand on the segment's starting side of the
/// level (key >= level falling, key <= level rising) form a prefix; the only segment that can
/// qualify joins the prefix's last point to the next one.
template <Crossing C, Column Key>
std::optional<std::size_t> CrossingSegmentBySearch(const DvhPointList& pts, double level) {
    const std::vector<DVsetClass>& p = pts.Points();
    const auto first = std::partition_point(p.begin(), p.end(), [level](const DVsetClass& q) {
        const double k = q.*Key;
        if constexpr (C == Crossing::Falling)
            return k >= level;
        else
            return k <= level;
    });
    const std::size_t next = static_cast<std::size_t>(first - p.begin());
    if (next == 0 || next == p.size()) return std::nullopt;
    // The two points differ in order (one passes the test, the other fails it), so the
    // segment's own test holds: checked all the same, as the scan would.
    if (!Qualifies<C>(p[next - 1].*Key, p[next].*Key, level)) return std::nullopt;
    return next - 1;
}

/// The last segment s (points s and s + 1) that crosses `level` in column `Key`.
template <Crossing C, Column Key>
std::optional<std::size_t> LastCrossingSegment(const DvhPointList& list, double level) {
    if (RunsOneWay<C, Key>(list.Order())) return CrossingSegmentBySearch<C, Key>(list, level);
    const std::vector<DVsetClass>& pts = list.Points();
    std::size_t end = pts.empty() ? 0 : pts.size() - 1;  // segments [0, end) still to scan
    const float fl = static_cast<float>(level);
    if (static_cast<double>(fl) == level) {
        // A level that is itself a float compares the same in float: blocks of segments are
        // skipped with branch-free tests on the long tails before the crossing.
        constexpr std::size_t kBlock = 32;
        while (end >= kBlock) {
            unsigned any = 0;
            float prev = pts[end].*Key;
            for (std::size_t s = end; s-- > end - kBlock;) {
                const float cur = pts[s].*Key;
                if constexpr (C == Crossing::Falling)
                    any |= static_cast<unsigned>(cur >= fl) & static_cast<unsigned>(prev < fl);
                else
                    any |= static_cast<unsigned>(cur <= fl) & static_cast<unsigned>(prev > fl);
                prev = cur;
            }
            if (any) break;
            end -= kBlock;
        }
    }
    for (std::size_t s = end; s-- > 0;)
        if (Qualifies<C>(pts[s].*Key, pts[s + 1].*Key, level)) return s;
    return std::nullopt;
}

/// `out` at `level` on the last segment that crosses it in column `Key`, interpolated in
/// double precision from the segment's first point.
template <Crossing C, Column Key>
std::optional<float> LastCrossing(const DvhPointList& pts, double level, Column out) {
    const std::optional<std::size_t> s = LastCrossingSegment<C, Key>(pts, level);
    if (!s) return std::nullopt;
    const double k0 = pts[*s].*Key, k1 = pts[*s + 1].*Key;
    const double o0 = pts[*s].*out, o1 = pts[*s + 1].*out;
    return static_cast<float>(o0 + (o1 - o0) * (level - k0) / (k1 - k0));
}

// The calculator's convention for kinds 0-7: no crossing and a negative result both read 0.
float ZeroWhenNone(std::optional<float> r) { return (!r || *r < 0) ? 0.0f : *r; }

float FiniteOrNone(float r) { return std::isfinite(r) ? r : -1.0f; }

bool ValidStructure(const PDatasetClass& plan, int index) {
    return index >= 0 && index < plan.DVHDatasetCount();
}

// Body volume (cc) receiving at least `referenceGy`, over the structure's volume.
float Conformity(const DVHDatasetClass& s, const DVHDatasetClass& body, double referenceGy) {
    const DvhPointList& b = body.DVset;
    // Every segment of the body curve is searched, the last one included.
    const std::optional<std::size_t> i =
        LastCrossingSegment<Crossing::Rising, &DVsetClass::DoseGy>(b, referenceGy);
    if (!i) return -1.0f;
    // Interpolated from the segment's upper end.
    const double d0 = b[*i].DoseGy, d1 = b[*i + 1].DoseGy;
    const double v0 = b[*i].VolumeCc, v1 = b[*i + 1].VolumeCc;
    const float v = static_cast<float>(v1 + (v0 - v1) * (d1 - referenceGy) / (d1 - d0));
    const float r = v / s.Volume;
    return r < 0 ? 0.0f : r;
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
    return LastCrossing<Crossing::Falling, &DVsetClass::VolumePercent>(s.DVset, level,
                                                                       DoseColumn(doseUnit));
}

std::optional<float> VolumeAtDose(const DVHDatasetClass& s, float dose, DoseUnit doseUnit,
                                  VolumeUnit volumeUnit) {
    const Column out = VolumeColumn(volumeUnit);
    if (doseUnit == DoseUnit::Gy)
        return LastCrossing<Crossing::Rising, &DVsetClass::DoseGy>(s.DVset, dose, out);
    return LastCrossing<Crossing::Rising, &DVsetClass::DosePercent>(s.DVset, dose, out);
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
