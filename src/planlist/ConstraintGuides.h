// Where the constraint marks of a plan's index rows sit on the DVH chart, and their shape.
#pragma once

#include "dvh/Records.h"

#include <vector>

/// One constraint mark in the chart's axis units: x on the dose axis, y on the volume axis.
struct GuideMark {
    float X = 0;
    float Y = 0;
    TColor Color = 0;  // the structure's colour
    bool LowerLimit = false;  // arms down and left; an upper limit opens up and right
};

/// The axis units of the chart.
struct GuideAxes {
    bool DoseInGy = false;     // else % of the prescribed dose
    bool VolumeInCc = false;   // else % of the structure volume
};

/// Where the constraint of one index row sits for structure `s`, in the units of `axes`:
/// only rows with `ConstraintsON`, `ConstraintsView`, a non-zero limit and a kind 0-7 or 10-13,
/// of a visible structure with a positive `Volume`. A dose that needs the prescribed dose to
/// reach a % axis is not placed when that dose is 0. \return false when no mark is drawn.
bool PlaceGuideMark(const IndexDataClass& row, const DVHDatasetClass& s, GuideAxes axes,
                    GuideMark& mark);

/// The marks of every row of `list` for `plan`, in row order (later marks draw over earlier
/// ones). Each row's structure is found with the index-row rule under `caseSensitive`.
std::vector<GuideMark> ConstraintGuideMarks(const PDatasetClass& plan, const PlanListNameClass& list,
                                            GuideAxes axes, bool caseSensitive);

/// A pixel rectangle: left and top edges inside, right and bottom edges outside.
struct PixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

/// A line between two pixels (screen y grows downwards).
struct PixelLine {
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    bool operator==(const PixelLine&) const = default;
};

/// The two arms of a mark whose corner is at pixel (x, y): vertical arm 9 pixels, horizontal
/// arm 8 pixels; down and left for a lower limit, up and right for an upper one.
std::vector<PixelLine> GuideArms(int x, int y, bool lowerLimit);
