// Small hand-made plans for the index tests.
#pragma once

#include "dvh/Records.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace fixtures {

/// A structure from (Gy, volume %) points: dose % = Gy / prescribed x 100, cc = % x volume / 100.
inline DVHDatasetClass Structure(const std::string& name, float prescribedGy, float volumeCc,
                                 std::initializer_list<std::pair<float, float>> gyPercent) {
    DVHDatasetClass s;
    s.Name = name;
    s.PrescribedDose = prescribedGy;
    s.Volume = volumeCc;
    for (const auto& [gy, pct] : gyPercent) {
        DVsetClass p;
        p.DoseGy = gy;
        p.DosePercent = prescribedGy != 0 ? gy / prescribedGy * 100.0f : 0.0f;
        p.VolumePercent = pct;
        p.VolumeCc = pct * volumeCc / 100.0f;
        s.DVset.push_back(p);
    }
    return s;
}

/// The worked example: 50 Gy prescribed, 50 cc, dose % = 2 x Gy, cc = % / 2.
inline DVHDatasetClass ExampleStructure(const std::string& name = "PTV") {
    DVHDatasetClass s =
        Structure(name, 50, 50, {{0, 100}, {10, 100}, {20, 80}, {30, 40}, {40, 0}});
    s.MinDoseGy = 20;
    s.MinDosePercent = 40;
    s.MaxDoseGy = 40;
    s.MaxDosePercent = 80;
    s.MeanDoseGy = 25;
    s.MeanDosePercent = 50;
    return s;
}

/// The worked example's body: (Gy, cc) = (0, 1000) ... (50, 0).
inline DVHDatasetClass ExampleBody() {
    DVHDatasetClass b = Structure("Body", 50, 1000,
                                  {{0, 100}, {10, 60}, {20, 30}, {30, 10}, {40, 1}, {50, 0}});
    b.MinDoseGy = 0;
    b.MaxDoseGy = 50;
    return b;
}

/// A plan holding the example structure (0) and its body (1).
inline PDatasetClass ExamplePlan() {
    PDatasetClass plan;
    plan.PatientName = "Doe^Jane";
    plan.PatientID = "P-001";
    plan.PlanID = "Prostate1";
    plan.PlanName = "Prostate plan";
    plan.DVHDataset = {ExampleStructure(), ExampleBody()};
    plan.BodyIndex = 1;
    return plan;
}

}  // namespace fixtures
