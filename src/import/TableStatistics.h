// Minimum, maximum and mean dose of a cumulative DVH given in rows, as the import readers take them.
#pragma once

#include "dvh/Records.h"

/// How a reader finds the minimum dose of a curve.
enum class MinimumDoseRule {
    /// The dose of the first point whose volume is below 100 % (BrainSCAN and iPlan tables).
    FirstBelowFull,
    /// The dose of the last point still at 100 % before the first one below it; 0 when the
    /// first point is already below (XiO histograms, whose point j holds its own bin).
    LastAtFull,
};

/// Sets `MinDose...`, `MaxDose...` and `MeanDose...` of `s` from its points (file order):
/// - minimum by `rule`; -99 (% and Gy alike) when no point falls below 100 %: -99 means "none";
/// - maximum: the dose of the last point above 0 %, 0 when none is;
/// - mean: sum of (V[j] - V[j+1]) x 0.01 x dose[j] in %, 0 below two points.
/// The Gy values are the % values x `prescribedGy` x 0.01.
void SetTableStatistics(DVHDatasetClass& s, double prescribedGy, MinimumDoseRule rule);
