// A large plan held in memory for the drawing benchmarks: 0.01 Gy bins, sigmoid curves.
#pragma once

#include "dvh/Records.h"

#include <cmath>
#include <string>
#include <vector>

/// A plan like a large head-and-neck export: dose in 0.01 Gy bins, sigmoid curves.
inline PDatasetClass LargePlan(int structures, int points) {
    PDatasetClass plan;
    plan.PatientName = "Bench";
    for (int k = 0; k < structures; ++k) {
        DVHDatasetClass s;
        s.Name = "Structure " + std::to_string(k);
        s.PrescribedDose = 70;
        s.Volume = 10.0f + static_cast<float>(k);
        s.Color = RgbColor(37 * k, 91 * k, 53 * k);
        const float mid = 5.0f + 0.2f * static_cast<float>(k);
        std::vector<DVsetClass> curve(static_cast<std::size_t>(points));
        for (int j = 0; j < points; ++j) {
            DVsetClass& p = curve[static_cast<std::size_t>(j)];
            p.DoseGy = 0.01f * static_cast<float>(j);
            p.DosePercent = p.DoseGy / s.PrescribedDose * 100;
            p.VolumePercent = 100.0f / (1.0f + std::exp((p.DoseGy - mid) / 1.5f));
            p.VolumeCc = p.VolumePercent * s.Volume / 100;
        }
        s.SetPoints(std::move(curve));
        plan.DVHDataset.push_back(std::move(s));
    }
    return plan;
}
