// Rules of the plan view: curve titles, the dose label, curve points, export size, plan list.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <string_view>
#include <vector>

class Workspace;

/// The title of a structure's curve: its display name cut before the first "[" when the name
/// has text before it ("PTV [1]" gives "PTV "); a name without "[" or starting with it stays whole.
std::string CurveTitle(std::string_view displayName);

/// The prescribed-dose label of a plan: the first structure's `PrescribedDose` (Gy) rounded
/// to 2 decimals in the shortest general form, then " [Gy]". "" for a plan without structures.
std::string PrescribedDoseText(const PDatasetClass& plan);

/// A point's dose in the chart's unit: % of the prescribed dose or Gy.
inline double CurveX(const DVsetClass& p, bool dosePercent) { return dosePercent ? p.DosePercent : p.DoseGy; }
/// A point's volume in the chart's unit: % of the structure volume or cc.
inline double CurveY(const DVsetClass& p, bool volumePercent) { return volumePercent ? p.VolumePercent : p.VolumeCc; }

/// The curve of one structure in the chart's units, in stored point order: x is dose in % of
/// the prescribed dose (`dosePercent`) or Gy, y volume in % (`volumePercent`) or cc.
void CurvePoints(const DVHDatasetClass& structure, bool dosePercent, bool volumePercent,
                 std::vector<double>& x, std::vector<double>& y);

struct PixelSize {
    int width = 0;
    int height = 0;
};

/// Size of the chart picture saved by "Graph": the width becomes 1.5 x the chart's height,
/// then the height 1.5 x that new width (integer parts), so 655 x 385 gives 577 x 865.
PixelSize ChartExportSize(PixelSize chart);

/// The plan list linked to plan `planIndex`, or nullptr when the plan does not exist, has no
/// list, or its `PlanListIndex` no longer names a list (a list deleted since).
const PlanListNameClass* PlanListOfPlan(const Workspace& workspace, int planIndex);
