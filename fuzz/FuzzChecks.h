// Invariants every fuzzed read must keep; a broken one stops the fuzzer with a finding.
#pragma once

#include "dvh/DvhReading.h"
#include "dvh/NameCompare.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace fuzz {

inline void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

/// A failed read leaves nothing; a successful one holds finite numbers and a right Body index
/// (a structure named like one of `bodyNames`, without regard to case; none for an empty list).
inline void CheckPlan(const ReadResult& r, const ParsedPlan& plan,
                      std::initializer_list<const char*> bodyNames = {"Body"}) {
    if (!r.ok()) {
        Require(plan.DVHDataset.empty() && plan.BodyIndex == -1, "a failed read left a plan");
        Require(!r.detail.empty(), "a failure without detail");
        return;
    }
    Require(!plan.DVHDataset.empty(), "success without structures");
    Require(plan.BodyIndex >= -1 && plan.BodyIndex < static_cast<int>(plan.DVHDataset.size()), "Body index");
    if (plan.BodyIndex >= 0) {
        bool named = false;
        for (const char* body : bodyNames) named |= StructureNamesEqual(plan.DVHDataset[plan.BodyIndex].Name, body, false);
        Require(named, "Body index names no Body");
    }
    for (const DVHDatasetClass& s : plan.DVHDataset) {
        const float stats[] = {s.PrescribedDose, s.Volume,         s.MinDoseGy,  s.MinDosePercent,
                               s.MaxDoseGy,      s.MaxDosePercent, s.MeanDoseGy, s.MeanDosePercent};
        for (float v : stats) Require(std::isfinite(v), "a statistic is not finite");
        Require(s.PrescribedDose > 0, "a prescribed dose of 0 or below was accepted");
        for (const DVsetClass& p : s.DVset)
            Require(std::isfinite(p.DoseGy) && std::isfinite(p.DosePercent) && std::isfinite(p.VolumeCc) &&
                        std::isfinite(p.VolumePercent),
                    "a point is not finite");
    }
}

}  // namespace fuzz
